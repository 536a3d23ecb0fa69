// Puts the process-wide scene and timer values back to their start-up state,
// so that each test begins from a fresh process's view.
#pragma once

#include <cstdint>

void ResetSceneState(int32_t seed = 1);

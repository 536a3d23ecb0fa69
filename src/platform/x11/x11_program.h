// The Linux program on an X server: the about box, or the saver.
#pragma once

#include "platform/linux/command_options.h"

// The process exit code of the run that `options` asks for (About or Save).
int RunX11Program(const CommandOptions& options);

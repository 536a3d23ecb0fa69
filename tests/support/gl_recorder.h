// A recording stand-in for the few OpenGL entry points that the model's
// compile step and a flyer's drawing use. Linked instead of the real library
// into the display-list test, so that the command sequence can be read back
// exactly as it was issued.
#pragma once

#include <string>
#include <vector>

struct GlCall {
    std::string name;
    std::vector<unsigned> ints;  // enums and names
    std::vector<float> floats;   // values
};

extern std::vector<GlCall> RecordedGlCalls;
// The name that the next glGenLists hands out.
extern unsigned NextListName;

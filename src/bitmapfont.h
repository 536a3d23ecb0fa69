// A system font turned into OpenGL display lists, one bitmap glyph per
// printable character (codes 32 to 127), so that text could be drawn into the
// scene by calling lists.
#pragma once

#include "platform/wintypes.h"

class CBitmapFont {
public:
    CBitmapFont();
    // Releases nothing: Close() does that while the context is still current.
    ~CBitmapFont();

    // hdc has an OpenGL context current on this thread.
    void Init(HDC hdc, int point_size);
    void Close();

    unsigned int CharDisplayList;  // list of character 32; 0 means none
    HDC DeviceContext;
    HFONT FontHandle;
};

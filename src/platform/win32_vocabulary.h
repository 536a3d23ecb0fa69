// The few Win32 names that the shared code is written in, for the builds
// that have no <windows.h>: the scene and its utilities, the saver's run
// time and the framework's rules, which every host runs. Values are the
// Win32 ones; handles are opaque pointers (a Linux device context carries
// its display and drawable).
#pragma once

#include <cstddef>  // NULL, as <windows.h> brings it
#include <cstdint>

#define WINAPI
#define CALLBACK
#define APIENTRY

typedef int BOOL;
typedef unsigned char BYTE;
typedef unsigned short WORD;
typedef uint32_t DWORD;
typedef int32_t LONG;
typedef unsigned int UINT;
typedef char CHAR;
typedef CHAR* LPSTR;
typedef const CHAR* LPCSTR;

#ifndef TRUE
#define TRUE 1
#endif
#ifndef FALSE
#define FALSE 0
#endif

#define DECLARE_OPAQUE_HANDLE(name) \
    struct name##__ {               \
        int unused;                 \
    };                              \
    typedef struct name##__* name

DECLARE_OPAQUE_HANDLE(HDC);
DECLARE_OPAQUE_HANDLE(HFONT);
DECLARE_OPAQUE_HANDLE(HGDIOBJ);

typedef union _LARGE_INTEGER {
    struct {
        DWORD LowPart;
        LONG HighPart;
    } u;
    int64_t QuadPart;
} LARGE_INTEGER;

typedef struct tagPOINT {
    LONG x;
    LONG y;
} POINT;

typedef struct tagRECT {
    LONG left;
    LONG top;
    LONG right;
    LONG bottom;
} RECT;

// The warning sound of a failed assertion.
#define MB_ICONEXCLAMATION 0x00000030L

// GDI: the bitmap font's device caps and font request.
#define LOGPIXELSY 90
#define FW_NORMAL 400
#define FW_BOLD 700
#define ANSI_CHARSET 0
#define OUT_TT_PRECIS 4
#define CLIP_DEFAULT_PRECIS 0
#define ANTIALIASED_QUALITY 4
#define DEFAULT_PITCH 0
#define FF_DONTCARE 0

// Linux stand-ins for the Win32 types and constants that the shared code uses.
// Values are the Win32 ones; handles are opaque pointers whose meaning the X11
// host defines (a window handle carries an X window id).
#pragma once

#include <cstdint>

#define WINAPI
#define CALLBACK
#define APIENTRY

typedef int BOOL;
typedef unsigned char BYTE;
typedef unsigned short WORD;
typedef uint32_t DWORD;
typedef int32_t LONG;
typedef uint32_t ULONG;
typedef unsigned int UINT;
typedef char CHAR;
typedef CHAR* LPSTR;
typedef const CHAR* LPCSTR;
typedef uintptr_t WPARAM;
typedef intptr_t LPARAM;
typedef intptr_t LRESULT;
typedef intptr_t INT_PTR;
typedef uintptr_t UINT_PTR;
typedef LONG HRESULT;
typedef void* LPVOID;
typedef void* HANDLE;

#ifndef TRUE
#define TRUE 1
#endif
#ifndef FALSE
#define FALSE 0
#endif

#define DECLARE_LINUX_HANDLE(name) \
    struct name##__ { int unused; };   \
    typedef struct name##__* name

DECLARE_LINUX_HANDLE(HWND);
DECLARE_LINUX_HANDLE(HINSTANCE);
DECLARE_LINUX_HANDLE(HDC);
DECLARE_LINUX_HANDLE(HGLRC);
DECLARE_LINUX_HANDLE(HFONT);
DECLARE_LINUX_HANDLE(HCURSOR);
DECLARE_LINUX_HANDLE(HKEY);
DECLARE_LINUX_HANDLE(HBRUSH);
DECLARE_LINUX_HANDLE(HICON);
DECLARE_LINUX_HANDLE(HGDIOBJ);
typedef HINSTANCE HMODULE;

typedef intptr_t(WINAPI* FARPROC)();

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

typedef struct tagMSG {
    HWND hwnd;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    DWORD time;
    POINT pt;
} MSG;

#define LOWORD(l) ((WORD)(((uintptr_t)(l)) & 0xffff))
#define HIWORD(l) ((WORD)((((uintptr_t)(l)) >> 16) & 0xffff))

// Message-box and beep flags.
#define MB_OK 0x00000000L
#define MB_ICONERROR 0x00000010L
#define MB_ICONEXCLAMATION 0x00000030L
#define MB_APPLMODAL 0x00000000L

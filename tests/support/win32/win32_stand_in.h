// The rest of <windows.h> that the Windows-only code needs to compile
// natively for its tests: the framework's entry, saver window, close and
// password handling, and the program's window procedures. Values are the
// Win32 ones; handles are opaque pointers. Natively no system reads the
// records, so they carry only the fields that the code sets or reads (the
// version record keeps its size, which the entry checks).
#pragma once

#include "platform/wintypes.h"

typedef uintptr_t WPARAM;
typedef intptr_t LPARAM;
typedef intptr_t LRESULT;
typedef intptr_t INT_PTR;
typedef void* LPVOID;

DECLARE_OPAQUE_HANDLE(HWND);
DECLARE_OPAQUE_HANDLE(HINSTANCE);
DECLARE_OPAQUE_HANDLE(HGLRC);
DECLARE_OPAQUE_HANDLE(HCURSOR);
DECLARE_OPAQUE_HANDLE(HKEY);
DECLARE_OPAQUE_HANDLE(HBRUSH);
DECLARE_OPAQUE_HANDLE(HICON);
typedef HINSTANCE HMODULE;

typedef intptr_t(WINAPI* FARPROC)();

typedef struct tagMSG {
    HWND hwnd;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
} MSG;

#define LOWORD(l) ((WORD)(((uintptr_t)(l)) & 0xffff))
#define HIWORD(l) ((WORD)((((uintptr_t)(l)) >> 16) & 0xffff))

// Message-box and beep flags.
#define MB_OK 0x00000000L
#define MB_ICONERROR 0x00000010L
#define MB_APPLMODAL 0x00000000L

// Screen-saver framework: entry, close rules and password hooks.
typedef DWORD* LPDWORD;
typedef BYTE* LPBYTE;
typedef HKEY* PHKEY;
typedef void* PVOID;
typedef INT_PTR(CALLBACK* DLGPROC)(HWND, UINT, WPARAM, LPARAM);

#define MAKEINTRESOURCEA(i) ((LPSTR)((uintptr_t)((WORD)(i))))

typedef struct _OSVERSIONINFOA {
    DWORD dwOSVersionInfoSize;
    DWORD dwMajorVersion;
    DWORD dwMinorVersion;
    DWORD dwBuildNumber;
    DWORD dwPlatformId;
    CHAR szCSDVersion[128];
} OSVERSIONINFOA, *LPOSVERSIONINFOA;

#define VER_PLATFORM_WIN32_WINDOWS 1
#define VER_PLATFORM_WIN32_NT 2

// Faults: the host has no structured exceptions, so the record stays opaque.
typedef struct _EXCEPTION_POINTERS EXCEPTION_POINTERS;
typedef LONG(WINAPI* LPTOP_LEVEL_EXCEPTION_FILTER)(EXCEPTION_POINTERS* info);
#define EXCEPTION_CONTINUE_SEARCH 0

#define HKEY_CURRENT_USER ((HKEY)(uintptr_t)0x80000001)
#define ERROR_SUCCESS 0L
#define ERROR_MORE_DATA 234L

#define SPI_SCREENSAVERRUNNING 97

#define WM_SHOWWINDOW 0x0018
#define WM_CLOSE 0x0010
#define WM_ACTIVATEAPP 0x001C
#define WM_SETCURSOR 0x0020
#define WM_POWER 0x0048
#define WM_KEYDOWN 0x0100
#define WM_SYSKEYDOWN 0x0104
#define WM_TIMER 0x0113
#define WM_MOUSEMOVE 0x0200
#define WM_LBUTTONDOWN 0x0201
#define WM_RBUTTONDOWN 0x0204
#define WM_MBUTTONDOWN 0x0207
#define WM_POWERBROADCAST 0x0218
#define WM_APP 0x8000
#define PWR_CRITICALRESUME 3
#define PM_REMOVE 0x0001
#define PM_NOYIELD 0x0002

// Saver window and message loop.
typedef LRESULT(CALLBACK* WNDPROC)(HWND, UINT, WPARAM, LPARAM);
DECLARE_OPAQUE_HANDLE(HIMC);
DECLARE_OPAQUE_HANDLE(HMENU);
typedef struct tagWNDCLASSA {
    UINT style;
    WNDPROC lpfnWndProc;
    HINSTANCE hInstance;
    HICON hIcon;
    HBRUSH hbrBackground;
    LPCSTR lpszClassName;
} WNDCLASSA;
typedef WORD ATOM;

#define CS_VREDRAW 0x0001
#define CS_HREDRAW 0x0002
#define CS_DBLCLKS 0x0008
#define CS_OWNDC 0x0020
#define WS_POPUP 0x80000000L
#define WS_CHILD 0x40000000L
#define WS_VISIBLE 0x10000000L
#define WS_CLIPSIBLINGS 0x04000000L
#define WS_CLIPCHILDREN 0x02000000L
#define WS_EX_TOPMOST 0x00000008L
#define BLACK_BRUSH 4

#define WM_CREATE 0x0001
#define WM_DESTROY 0x0002
#define WM_SIZE 0x0005
#define WM_SETTEXT 0x000C
#define WM_PAINT 0x000F
#define WM_HELP 0x0053
#define WM_CONTEXTMENU 0x007B
#define WM_SYSCOMMAND 0x0112
#define SC_NEXTWINDOW 0xF040
#define SC_PREVWINDOW 0xF050
#define SC_CLOSE 0xF060
#define SC_SCREENSAVE 0xF140

// The program's own windows: pixel format, painting and display mode.
typedef struct tagPIXELFORMATDESCRIPTOR {
    WORD nSize;
    WORD nVersion;
    DWORD dwFlags;
    BYTE iPixelType;
    BYTE cColorBits;
    BYTE cDepthBits;
    BYTE iLayerType;
} PIXELFORMATDESCRIPTOR;

#define PFD_DOUBLEBUFFER 0x00000001
#define PFD_DRAW_TO_WINDOW 0x00000004
#define PFD_SUPPORT_OPENGL 0x00000020
#define PFD_GENERIC_ACCELERATED 0x00001000
#define PFD_TYPE_RGBA 0
#define PFD_MAIN_PLANE 0

typedef struct tagPAINTSTRUCT {
    HDC hdc;
} PAINTSTRUCT;

// Only ever passed as null: "restore the registry's display mode".
typedef struct _devicemodeA DEVMODEA;

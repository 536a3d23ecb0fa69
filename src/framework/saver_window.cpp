#include "framework/saver_window.h"

#include "framework/close_rules.h"
#include "framework/entry.h"
#include "framework/password_hooks.h"
#include "framework/routine.h"
#include "platform/saver_window.h"

HWND SaverWindow = nullptr;
HMODULE ImeModule = nullptr;
FARPROC ImeAssociateFn = nullptr;
HIMC SavedInputContext = nullptr;

const char SAVER_WINDOW_CLASS[] = "WindowsScreenSaverClass";
const char FULL_SCREEN_TITLE[] = "Screen Saver";
const char PREVIEW_TITLE[] = "Preview";

namespace {
typedef HIMC(WINAPI* ImmAssociateContextRoutine)(HWND window, HIMC context);

constexpr UINT SAVER_CLASS_STYLE = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS | CS_OWNDC;
constexpr DWORD FULL_SCREEN_STYLE = WS_POPUP | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
constexpr DWORD PREVIEW_STYLE = WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN;
constexpr WORD SAVER_ICON_ID = 100;
// The result of a run whose window could not be made: the code of every
// other fatal failure of the program.
constexpr int NO_SAVER_WINDOW = 1;

struct WindowPlan {
    DWORD ex_style;
    const char* title;
    DWORD style;
    RECT rect;
    HWND parent;
};

RECT ScreenRect()
{
    RECT rect = {0, 0, 0, 0};
    const HDC screen = SaverWindowOps.GetDC(nullptr);
    SaverWindowOps.GetClipBox(screen, &rect);
    SaverWindowOps.ReleaseDC(nullptr, screen);
    return rect;
}

bool FullScreenSaverRuns()
{
    const HWND running = SaverWindowOps.FindWindowA(SAVER_WINDOW_CLASS, FULL_SCREEN_TITLE);
    if (running == nullptr || !SaverWindowOps.IsWindow(running)) return false;
    SaverWindowOps.SetForegroundWindow(running);
    return true;
}

void HideCursorInFullScreen()
{
    if (!PreviewMode) SaverWindowOps.SetCursor(nullptr);
}

LRESULT PassOn(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return SaverWindowOps.ScreenSaverProc(window, message, wParam, lParam);
}

// The input method would otherwise show its own windows over the saver.
void DetachInputMethod(HWND window)
{
    ImeModule = SaverWindowOps.GetModuleHandleA("IMM32.DLL");
    if (ImeModule == nullptr) return;
    ImeAssociateFn = SaverWindowOps.GetProcAddress(ImeModule, "ImmAssociateContext");
    if (ImeAssociateFn != nullptr)
        SavedInputContext =
            RoutineFrom<ImmAssociateContextRoutine>(ImeAssociateFn)(window, nullptr);
}

void RestoreInputMethod(HWND window)
{
    if (ImeModule != nullptr && ImeAssociateFn != nullptr && SavedInputContext != nullptr)
        RoutineFrom<ImmAssociateContextRoutine>(ImeAssociateFn)(window, SavedInputContext);
}

bool IsWindowSwitchCommand(WPARAM command)
{
    return command == SC_NEXTWINDOW || command == SC_PREVWINDOW || command == SC_SCREENSAVE;
}
}  // namespace

int RunSaver(HWND parent)
{
    WNDCLASSA saver_class = {};
    saver_class.hIcon = SaverWindowOps.LoadIconA(SaverInstance, MAKEINTRESOURCEA(SAVER_ICON_ID));
    saver_class.style = SAVER_CLASS_STYLE;
    saver_class.lpfnWndProc = SaverWindowProc;
    saver_class.hInstance = SaverInstance;
    saver_class.hbrBackground =
        reinterpret_cast<HBRUSH>(SaverWindowOps.GetStockObject(BLACK_BRUSH));
    saver_class.lpszClassName = SAVER_WINDOW_CLASS;

    WindowPlan plan;
    if (parent != nullptr) {
        RECT host = {0, 0, 0, 0};
        SaverWindowOps.GetClientRect(parent, &host);
        PreviewMode = TRUE;
        plan = {0, PREVIEW_TITLE, PREVIEW_STYLE, {0, 0, host.right, host.bottom}, parent};
    } else {
        plan = {WS_EX_TOPMOST, FULL_SCREEN_TITLE, FULL_SCREEN_STYLE, ScreenRect(), nullptr};
        if (FullScreenSaverRuns()) return 0;
        LoadPasswordHook();
    }
    AutoPlayMessage =
        Win9xFamily ? SaverWindowOps.RegisterWindowMessageA("QueryCancelAutoPlay") : 0;

    if (SaverWindowOps.RegisterClassA(&saver_class) != 0) {
        SaverWindow = SaverWindowOps.CreateWindowExA(
            plan.ex_style, SAVER_WINDOW_CLASS, plan.title, plan.style, plan.rect.left,
            plan.rect.top, plan.rect.right - plan.rect.left, plan.rect.bottom - plan.rect.top,
            plan.parent, nullptr, SaverInstance, nullptr);
    }

    int result = NO_SAVER_WINDOW;
    if (SaverWindow != nullptr) {
        if (!PreviewMode) SaverWindowOps.SetForegroundWindow(SaverWindow);
        MSG message = {};
        while (SaverWindowOps.GetMessageA(&message, nullptr, 0, 0)) {
            SaverWindowOps.TranslateMessage(&message);
            SaverWindowOps.DispatchMessageA(&message);
        }
        result = static_cast<int>(message.wParam);
    }
    UnloadPasswordHook();
    return result;
}

LRESULT CALLBACK SaverWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        DetachInputMethod(window);
        SaverWindowOps.GetCursorPos(&LastCursorPos);
        HideCursorInFullScreen();
        break;
    case WM_DESTROY:
        RestoreInputMethod(window);
        SaverWindowOps.PostQuitMessage(0);
        break;
    case WM_SETTEXT:
        return 0;
    case WM_PAINT:
        if (CloseGranted) return SaverWindowOps.DefWindowProcA(window, message, wParam, lParam);
        HideCursorInFullScreen();
        break;
    case WM_HELP:
    case WM_CONTEXTMENU:
        if (PreviewMode) {
            // Help belongs to the settings dialog that hosts the preview.
            const HWND host = SaverWindowOps.GetParent(window);
            if (host != nullptr && SaverWindowOps.IsWindow(host))
                SaverWindowOps.PostMessageA(host, message, reinterpret_cast<WPARAM>(host), lParam);
            return 1;
        }
        break;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
        if (CloseGranted) return SaverWindowOps.DefWindowProcA(window, message, wParam, lParam);
        break;
    case WM_SYSCOMMAND:
        // Full-screen saving keeps the system from switching away or
        // starting another saver.
        if (!PreviewMode && IsWindowSwitchCommand(wParam)) return 0;
        break;
    case WM_TIMER:
        if (CloseGranted) return 0;
        SaverWindowOps.Sleep(0);
        break;
    default:
        break;
    }
    return PassOn(window, message, wParam, lParam);
}

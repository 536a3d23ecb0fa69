#include "support/fake_saver_platform.h"

#include <cstdio>
#include <cstring>
#include <tuple>

#include "platform/render_window.h"
#include "resources/resource.h"
#include "support/framework_state.h"


namespace {
FakeSaverPlatform* F = nullptr;
const HKEY DESKTOP = reinterpret_cast<HKEY>(uintptr_t(0x2000));

std::string N(const void* handle) { return std::to_string(reinterpret_cast<uintptr_t>(handle)); }
bool Is(LPCSTR a, const char* b) { return std::strcmp(a, b) == 0; }
template <typename R> FARPROC AsRoutine(R routine) { return reinterpret_cast<FARPROC>(reinterpret_cast<void (*)()>(routine)); }

DWORD WINAPI ChangePassword(LPCSTR key, HWND owner, DWORD a, DWORD b)
{
    return F->mode = (Is(key, "SCRSAVE") && a == 0 && b == 0 ? "pwd " : "bad ") + N(owner), 0;
}
BOOL WINAPI Verifier(HWND) { return ++F->prompts, F->duringPrompt ? F->duringPrompt() : void(), F->verdict; }
HIMC WINAPI Associate(HWND, HIMC context) { return std::swap(F->imeContext, reinterpret_cast<uintptr_t&>(context)), context; }
INT_PTR CALLBACK ConfigureDialog(HWND, UINT, WPARAM, LPARAM) { return 0; }
// A library's handle is its name's entry in `loaded`.
HMODULE WINAPI Load(LPCSTR name)
{
    return F->found.count(name) ? HMODULE((++F->loaded[name], F->loaded.find(name)->first.c_str())) : nullptr;
}
FARPROC WINAPI Find(HMODULE library, LPCSTR name)
{
    const char* in = reinterpret_cast<const char*>(library);
    if (F->found.count(name) && Is(name, "PwdChangePasswordA") && Is(in, "MPR.DLL")) return AsRoutine(ChangePassword);
    return F->found.count(name) && Is(name, "VerifyScreenSavePwd") && Is(in, "PASSWORD.CPL") ? AsRoutine(Verifier) : nullptr;
}
BOOL WINAPI Free(HMODULE library)
{
    const char* name = reinterpret_cast<const char*>(library);
    return --F->loaded[name] == 0 ? F->loaded.erase(name) : 0, TRUE;
}
BOOL WINAPI Post(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    char text[80];
    std::snprintf(text, sizeof text, "%s %u %lu %ld", N(window).c_str(), message, (unsigned long)wParam, (long)lParam);
    return F->posts.push_back(text), TRUE;
}
LRESULT WINAPI Default(HWND, UINT, WPARAM, LPARAM) { return DEFAULT_RESULT; }
HCURSOR WINAPI Cursor(HCURSOR cursor) { return F->hides += cursor == nullptr, nullptr; }
BOOL WINAPI Exists(HWND w) { return w && (w == Hwnd(1234) || w == Hwnd(F->parent) || w == Hwnd(F->runningSaver)) && w != Hwnd(0xDEAD); }

// The framework's process-wide values, kept from before the double and put back after it.
auto State()
{
    return std::tie(SaverInstance, Win9xFamily, PreviewMode, CloseGranted, CheckInProgress, AutoPlayMessage, LastCheckTick,
                    LastCursorPos, PasswordModule, VerifyPasswordFn, SaverWindow, ImeModule, ImeAssociateFn, SavedInputContext);
}
template <typename... T> std::tuple<T...> Values(const std::tuple<T&...>&);
decltype(Values(State())) saved;
}  // namespace

FakeSaverPlatform::FakeSaverPlatform()
{
    F = this;
    Entry = {
        .GetCommandLineA = []() WINAPI { return &F->commandLine[0]; },
        .CharNextA = [](LPCSTR s) WINAPI { return const_cast<LPSTR>(*s ? s + 1 : s); },
        .GetModuleHandleA = [](LPCSTR name) WINAPI {
            return name == nullptr ? reinterpret_cast<HMODULE>(0x400000) : nullptr;
        },
        .GetVersionExA = [](LPOSVERSIONINFOA v) WINAPI {
            if (!F->found.count("version") || v->dwOSVersionInfoSize != sizeof *v) return FALSE;
            v->dwPlatformId = F->platformId;
            return TRUE;
        },
        .IsWindow = Exists,
        .GetForegroundWindow = []() WINAPI { return Hwnd(99); },
        .DialogBoxParamA = [](HINSTANCE instance, LPCSTR dialog, HWND owner, DLGPROC procedure,
                              LPARAM parameter) WINAPI {
            const bool ok = instance == SaverInstance &&
                            dialog == MAKEINTRESOURCEA(IDD_CONFIGURE) &&
                            procedure == ConfigureDialog;
            F->mode = (ok && parameter == 0 ? "box " : "bad ") + N(owner);
            return INT_PTR(F->found.count("dialog") ? 5 : -1);
        },
        .LoadLibraryA = Load,
        .GetProcAddress = Find,
        .FreeLibrary = Free,
        .SetUnhandledExceptionFilter = [](LPTOP_LEVEL_EXCEPTION_FILTER filter) WINAPI {
            std::swap(filter, F->filter);
            return filter;
        },
        .ExitProcess = [](UINT code) WINAPI { F->exitCode = code; },
        .RunSaver = [](HWND parent) {
            F->mode = "run " + N(parent);
            if (F->duringRun) F->duringRun();
            return F->runResult;
        },
        .RegisterSaverDialogClasses = [](HINSTANCE instance) {
            return BOOL(instance == SaverInstance && F->found.count("classes"));
        },
        .ScreenSaverConfigureDialog = ConfigureDialog,
    };
    CloseRules = {
        .PostMessageA = Post,
        .GetCursorPos = [](POINT* p) WINAPI {
            if (!F->cursorOk) return FALSE;
            *p = F->cursor;
            return TRUE;
        },
        .SetCursor = Cursor,
        .GetTickCount = []() WINAPI { return F->tick; },
        .PeekMessageA = [](MSG* message, HWND window, UINT first, UINT last, UINT remove) WINAPI {
            if (F->timers == 0 || first > WM_TIMER || last < WM_TIMER || !(remove & PM_REMOVE))
                return FALSE;
            --F->timers;
            *message = MSG{window, WM_TIMER, 0, 0, 0, {0, 0}};
            return TRUE;
        },
        // A sent message runs through the window's procedure, which ends in the
        // framework's handling.
        .SendMessageA = [](HWND w, UINT m, WPARAM wParam, LPARAM lParam) WINAPI {
            return DefaultSaverHandling(w, m, wParam, lParam);
        },
        .DefWindowProcA = Default,
    };
    PasswordHooks = {
        .RegOpenKeyA = [](HKEY root, LPCSTR subkey, PHKEY key) WINAPI {
            if (!F->keyExists || root != HKEY_CURRENT_USER || !Is(subkey, "Control Panel\\Desktop"))
                return LONG(ERROR_FILE_NOT_FOUND);
            ++F->openKeys;
            *key = DESKTOP;
            return LONG(ERROR_SUCCESS);
        },
        .RegQueryValueExA = [](HKEY key, LPCSTR name, LPDWORD reserved, LPDWORD, LPBYTE data,
                               LPDWORD size) WINAPI {
            if (key != DESKTOP || reserved || !Is(name, "ScreenSaveUsePassword") ||
                F->setting.empty())
                return LONG(ERROR_FILE_NOT_FOUND);
            if (F->setting.size() > *size) return LONG(ERROR_MORE_DATA);
            *size = DWORD(F->setting.size());
            std::memcpy(data, F->setting.data(), *size);
            return LONG(ERROR_SUCCESS);
        },
        .RegCloseKey = [](HKEY key) WINAPI {
            F->openKeys -= key == DESKTOP;
            return LONG(ERROR_SUCCESS);
        },
        .LoadLibraryA = Load,
        .GetProcAddress = Find,
        .FreeLibrary = Free,
        .SystemParametersInfoA = [](UINT action, UINT on, PVOID, UINT ini) WINAPI {
            if (action == SPI_SCREENSAVERRUNNING && !ini) F->running = on;
            return TRUE;
        },
    };
    SaverWindowOps = {
        .LoadIconA = [](HINSTANCE instance, LPCSTR name) WINAPI {
            return instance == SaverInstance && name == MAKEINTRESOURCEA(100) ? HICON(1) : HICON(0);
        },
        .GetStockObject = [](int object) WINAPI {
            return reinterpret_cast<HGDIOBJ>(uintptr_t(0xB000 + object));
        },
        .RegisterClassA = [](const WNDCLASSA* window_class) WINAPI {
            F->registered = *window_class;
            return F->atom;
        },
        .CreateWindowExA = [](DWORD ex, LPCSTR name, LPCSTR title, DWORD style, int x, int y, int w,
                              int h, HWND parent, HMENU, HINSTANCE instance, LPVOID) WINAPI {
            char text[160];
            std::snprintf(text, sizeof text, "%lx %s %lx %d,%d %dx%d %s", (unsigned long)ex, title,
                          (unsigned long)style, x, y, w, h, N(parent).c_str());
            const bool ok = Is(name, F->registered.lpszClassName) && instance == SaverInstance;
            F->window = ok ? text : "bad";
            return Hwnd(F->created);
        },
        .GetClientRect = [](HWND window, RECT* rect) WINAPI {
            *rect = RECT{0, 0, 152, 112};
            return BOOL(window == Hwnd(F->parent));
        },
        .GetDC = [](HWND) WINAPI {
            ++F->dcs;
            return HDC(0xDC);
        },
        .GetClipBox = [](HDC, RECT* rect) WINAPI {
            *rect = RECT{-10, -20, 1270, 1004};
            return 1;
        },
        .ReleaseDC = [](HWND, HDC dc) WINAPI {
            F->dcs -= dc == HDC(0xDC);
            return 1;
        },
        .FindWindowA = [](LPCSTR name, LPCSTR title) WINAPI {
            const bool saver = Is(name, SAVER_WINDOW_CLASS) && Is(title, "Screen Saver");
            return Hwnd(saver ? F->runningSaver : 0);
        },
        .IsWindow = Exists,
        .SetForegroundWindow = [](HWND window) WINAPI {
            F->front = reinterpret_cast<uintptr_t>(window);
            return TRUE;
        },
        .RegisterWindowMessageA = [](LPCSTR name) WINAPI {
            return Is(name, "QueryCancelAutoPlay") ? UINT(0xC123) : UINT(0);
        },
        .GetMessageA = [](MSG* message, HWND window, UINT first, UINT last) WINAPI {
            // A loop for one window only, or one range of messages, would miss
            // messages: it ends at once, failing.
            const bool all = !window && !first && !last;
            if (F->queue.empty() || !all) {
                *message = MSG{nullptr, WM_QUIT, WPARAM(all ? F->quitCode : 99), 0, 0, {0, 0}};
                return FALSE;
            }
            *message = F->queue.front();
            F->queue.pop_front();
            return TRUE;
        },
        .TranslateMessage = [](const MSG*) WINAPI {
            ++F->translated;
            return FALSE;
        },
        .DispatchMessageA = [](const MSG* m) WINAPI {
            return SaverWindowProc(m->hwnd, m->message, m->wParam, m->lParam);
        },
        .PostQuitMessage = [](int code) WINAPI { F->quit = code; },
        .GetModuleHandleA = [](LPCSTR name) WINAPI {
            const bool loaded = F->ime && Is(name, "IMM32.DLL");
            return reinterpret_cast<HMODULE>(uintptr_t(loaded ? 0x1DE : 0));
        },
        .GetProcAddress = [](HMODULE, LPCSTR name) WINAPI {
            return Is(name, "ImmAssociateContext") ? AsRoutine(Associate) : nullptr;
        },
        .GetCursorPos = [](POINT* position) WINAPI {
            *position = F->cursor;
            return TRUE;
        },
        .SetCursor = Cursor,
        .GetParent = [](HWND) WINAPI { return Hwnd(F->parent); },
        .PostMessageA = Post,
        .Sleep = [](DWORD ms) WINAPI { F->sleeps += ms == 0; },
        .DefWindowProcA = Default,
        .ScreenSaverProc = [](HWND, UINT message, WPARAM, LPARAM) CALLBACK {
            if (F->duringRun) F->duringRun();
            F->passed.push_back(message);
            return PROGRAM_RESULT;
        },
    };
    ResetFrameworkState();
    saved = State();
}

FakeSaverPlatform::~FakeSaverPlatform()
{
    State() = saved;
    Entry = entry_, CloseRules = rules_, PasswordHooks = hooks_, SaverWindowOps = window_;
}

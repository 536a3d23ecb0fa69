#include "support/fake_saver_platform.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "framework/close_rules.h"
#include "framework/entry.h"
#include "framework/password_hooks.h"

namespace {
FakeSaverPlatform* current = nullptr;

// Library handles are small made-up numbers, one per name in this list.
const char* const LIBRARY_NAMES[] = {"MPR.DLL", "PASSWORD.CPL"};
constexpr uintptr_t FIRST_LIBRARY = 0x1000;


const char* LibraryName(HMODULE library)
{
    const uintptr_t index = reinterpret_cast<uintptr_t>(library) - FIRST_LIBRARY;
    return index < sizeof LIBRARY_NAMES / sizeof *LIBRARY_NAMES ? LIBRARY_NAMES[index] : "?";
}

// Entry.
LPSTR WINAPI FakeGetCommandLineA() { return &current->commandLine[0]; }

LPSTR WINAPI FakeCharNextA(LPCSTR text) { return const_cast<LPSTR>(*text != '\0' ? text + 1 : text); }

HMODULE WINAPI FakeGetModuleHandleA(LPCSTR name)
{
    current->Log("GetModuleHandleA(%s)", name != nullptr ? name : "null");
    return current->module;
}

BOOL WINAPI FakeGetVersionExA(LPOSVERSIONINFOA version)
{
    current->Log("GetVersionExA(%lu)", static_cast<unsigned long>(version->dwOSVersionInfoSize));
    // A failing call leaves the record as it found it, platform id included.
    if (!current->versionSucceeds) return FALSE;
    version->dwPlatformId = current->platformId;
    return TRUE;
}

BOOL WINAPI FakeIsWindow(HWND window)
{
    current->Log("IsWindow(%lu)", Number(window));
    return current->windows.count(reinterpret_cast<uintptr_t>(window)) != 0;
}

HWND WINAPI FakeGetForegroundWindow()
{
    current->Log("GetForegroundWindow");
    return Window(current->foreground);
}

INT_PTR CALLBACK FakeConfigureDialog(HWND, UINT, WPARAM, LPARAM) { return 0; }

INT_PTR WINAPI FakeDialogBoxParamA(HINSTANCE instance, LPCSTR dialog, HWND owner, DLGPROC procedure,
                                   LPARAM parameter)
{
    current->Log("DialogBoxParamA(%lu, %lu, %lu, %s, %ld)", Number(instance), Number(dialog), Number(owner),
           procedure == FakeConfigureDialog ? "ScreenSaverConfigureDialog" : "?", static_cast<long>(parameter));
    return current->dialogResult;
}

HMODULE WINAPI FakeLoadLibraryA(LPCSTR name)
{
    current->Log("LoadLibraryA(%s)", name);
    if (current->libraries.count(name) == 0) return nullptr;
    for (uintptr_t i = 0; i < sizeof LIBRARY_NAMES / sizeof *LIBRARY_NAMES; ++i)
        if (std::strcmp(LIBRARY_NAMES[i], name) == 0) return reinterpret_cast<HMODULE>(FIRST_LIBRARY + i);
    return nullptr;
}

DWORD WINAPI FakePwdChangePasswordA(LPCSTR registryKey, HWND owner, DWORD reserved1, DWORD reserved2)
{
    current->Log("PwdChangePasswordA(%s, %lu, %lu, %lu)", registryKey, Number(owner),
           static_cast<unsigned long>(reserved1), static_cast<unsigned long>(reserved2));
    return 0;
}

BOOL WINAPI FakeVerifyScreenSavePwd(HWND window)
{
    current->Log("VerifyScreenSavePwd(%lu)", Number(window));
    if (current->duringPrompt) current->duringPrompt();
    return current->verdict;
}

template <typename Routine>
FARPROC AsRoutine(Routine routine)
{
    return reinterpret_cast<FARPROC>(reinterpret_cast<void (*)()>(routine));
}

FARPROC WINAPI FakeGetProcAddress(HMODULE library, LPCSTR name)
{
    current->Log("GetProcAddress(%s, %s)", LibraryName(library), name);
    if (current->routines.count(name) == 0) return nullptr;
    if (std::strcmp(name, "PwdChangePasswordA") == 0) return AsRoutine(FakePwdChangePasswordA);
    if (std::strcmp(name, "VerifyScreenSavePwd") == 0) return AsRoutine(FakeVerifyScreenSavePwd);
    return nullptr;
}

BOOL WINAPI FakeFreeLibrary(HMODULE library)
{
    current->Log("FreeLibrary(%s)", LibraryName(library));
    return TRUE;
}

LPTOP_LEVEL_EXCEPTION_FILTER WINAPI FakeSetUnhandledExceptionFilter(LPTOP_LEVEL_EXCEPTION_FILTER filter)
{
    current->Log("SetUnhandledExceptionFilter(%s)", filter == nullptr ? "null" : "filter");
    const LPTOP_LEVEL_EXCEPTION_FILTER previous = current->installedFilter;
    current->installedFilter = filter;
    return previous;
}

void WINAPI FakeExitProcess(UINT code) { current->Log("ExitProcess(%u)", code); }

int FakeRunSaver(HWND parent)
{
    current->Log("RunSaver(%lu)", Number(parent));
    if (current->duringRun) current->duringRun();
    return current->runSaverResult;
}

BOOL FakeRegisterSaverDialogClasses(HINSTANCE instance)
{
    current->Log("RegisterSaverDialogClasses(%lu)", Number(instance));
    return current->dialogClassesRegistered;
}

// Close rules.
BOOL WINAPI FakePostMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    current->Log("PostMessageA(%lu, 0x%X, %lu, %ld)", Number(window), message, static_cast<unsigned long>(wParam),
           static_cast<long>(lParam));
    return TRUE;
}

BOOL WINAPI FakeGetCursorPos(POINT* position)
{
    current->Log("GetCursorPos");
    if (!current->cursorReadable) return FALSE;
    *position = current->cursor;
    return TRUE;
}

HCURSOR WINAPI FakeSetCursor(HCURSOR cursor)
{
    current->Log("SetCursor(%lu)", Number(cursor));
    return nullptr;
}

DWORD WINAPI FakeGetTickCount() { return current->tick; }

BOOL WINAPI FakePeekMessageA(MSG* message, HWND window, UINT first, UINT last, UINT remove)
{
    current->Log("PeekMessageA(%lu, 0x%X, 0x%X, %u)", Number(window), first, last, remove);
    if (current->pendingTimers == 0) return FALSE;
    --current->pendingTimers;
    *message = MSG{};
    message->hwnd = window;
    message->message = WM_TIMER;
    return TRUE;
}

// A sent message runs through the window's procedure, which ends in the
// framework's default handling.
LRESULT WINAPI FakeSendMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    current->Log("SendMessageA(%lu, 0x%X)", Number(window), message);
    return DefaultSaverHandling(window, message, wParam, lParam);
}

LRESULT WINAPI FakeDefWindowProcA(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    current->Log("DefWindowProcA(%lu, 0x%X, %lu, %ld)", Number(window), message, static_cast<unsigned long>(wParam),
           static_cast<long>(lParam));
    return current->defaultResult;
}

// Password hooks.
const HKEY DESKTOP_KEY = reinterpret_cast<HKEY>(uintptr_t(0x2000));

LONG WINAPI FakeRegOpenKeyA(HKEY root, LPCSTR subkey, PHKEY key)
{
    current->Log("RegOpenKeyA(%s, %s)", root == HKEY_CURRENT_USER ? "HKEY_CURRENT_USER" : "?", subkey);
    if (current->openResult == ERROR_SUCCESS) *key = DESKTOP_KEY;
    return current->openResult;
}

LONG WINAPI FakeRegQueryValueExA(HKEY key, LPCSTR name, LPDWORD reserved, LPDWORD type, LPBYTE data,
                                 LPDWORD size)
{
    current->Log("RegQueryValueExA(%s, %s, %s, %s, %lu)", key == DESKTOP_KEY ? "desktop" : "?", name,
           reserved == nullptr ? "null" : "reserved", type == nullptr ? "null" : "type",
           static_cast<unsigned long>(*size));
    if (*size >= sizeof(DWORD)) std::memcpy(&current->wordBeforeQuery, data, sizeof(DWORD));
    if (current->queryResult != ERROR_SUCCESS) return current->queryResult;
    if (current->storedValue.size() > *size) return ERROR_MORE_DATA;
    std::memcpy(data, current->storedValue.data(), current->storedValue.size());
    *size = DWORD(current->storedValue.size());
    return ERROR_SUCCESS;
}

LONG WINAPI FakeRegCloseKey(HKEY key)
{
    current->Log("RegCloseKey(%s)", key == DESKTOP_KEY ? "desktop" : "?");
    return ERROR_SUCCESS;
}

BOOL WINAPI FakeSystemParametersInfoA(UINT action, UINT uiParam, PVOID pvParam, UINT fWinIni)
{
    current->Log("SystemParametersInfoA(%u, %u, %s, %u)", action, uiParam, pvParam == nullptr ? "null" : "word",
           fWinIni);
    if (action == SPI_SCREENSAVERRUNNING) {
        if (pvParam != nullptr) *static_cast<DWORD*>(pvParam) = current->runningFlag;
        current->runningFlag = uiParam != 0;
    }
    return TRUE;
}

void ResetFrameworkState()
{
    SaverInstance = nullptr;
    Win9xFamily = FALSE;
    PreviewMode = FALSE;
    AutoPlayMessage = 0;
    CloseGranted = FALSE;
    CheckInProgress = FALSE;
    LastCheckTick = NO_CHECK_TICK;
    LastCursorPos = POINT{0, 0};
    PasswordModule = nullptr;
    VerifyPasswordFn = nullptr;
}
}  // namespace

FakeSaverPlatform::FakeSaverPlatform()
    : savedEntry_(Entry), savedCloseRules_(CloseRules), savedPasswordHooks_(PasswordHooks)
{
    current = this;
    Entry = {FakeGetCommandLineA, FakeCharNextA,       FakeGetModuleHandleA,            FakeGetVersionExA,
             FakeIsWindow,        FakeGetForegroundWindow,                              FakeDialogBoxParamA,
             FakeLoadLibraryA,    FakeGetProcAddress,  FakeFreeLibrary,                 FakeSetUnhandledExceptionFilter,
             FakeExitProcess,     FakeRunSaver,        FakeRegisterSaverDialogClasses,  FakeConfigureDialog};
    CloseRules = {FakePostMessageA,  FakeGetCursorPos,  FakeSetCursor,     FakeGetTickCount,
                  FakePeekMessageA, FakeSendMessageA, FakeDefWindowProcA};
    PasswordHooks = {FakeRegOpenKeyA,  FakeRegQueryValueExA, FakeRegCloseKey,          FakeLoadLibraryA,
                     FakeGetProcAddress, FakeFreeLibrary,    FakeSystemParametersInfoA};
    ResetFrameworkState();
}

FakeSaverPlatform::~FakeSaverPlatform()
{
    ResetFrameworkState();
    Entry = savedEntry_;
    CloseRules = savedCloseRules_;
    PasswordHooks = savedPasswordHooks_;
    current = nullptr;
}

void FakeSaverPlatform::Log(const char* format, ...)
{
    char text[256];
    va_list arguments;
    va_start(arguments, format);
    std::vsnprintf(text, sizeof text, format, arguments);
    va_end(arguments);
    calls.emplace_back(text);
}

void FakeSaverPlatform::UseEntryWorld(bool win9x)
{
    windows = {1234};
    foreground = 99;
    runSaverResult = FAKE_RUN_RESULT;
    dialogResult = FAKE_DIALOG_RESULT;
    libraries = {"MPR.DLL"};
    routines = {"PwdChangePasswordA"};
    platformId = win9x ? VER_PLATFORM_WIN32_WINDOWS : VER_PLATFORM_WIN32_NT;
}

std::vector<std::string> FakeSaverPlatform::CallsTo(const std::string& prefix) const
{
    std::vector<std::string> matching;
    for (const std::string& call : calls)
        if (call.compare(0, prefix.size(), prefix) == 0) matching.push_back(call);
    return matching;
}

// The whole command line down to the run mode, its window and the exit
// code: the program's name, the mode's letter and handle, the owner
// fallbacks, the platform family and the password change.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "platform/entry.h"
#include "support/framework_state.h"

namespace {
const HWND HOST = HandleFromNumber(1029);  // window 4321 has gone
const HWND FRONT = HandleFromNumber(99);   // the foreground window
const HMODULE MPR = reinterpret_cast<HMODULE>(uintptr_t(0x3930));
constexpr int SAVED = 7;
constexpr int BOXED = 5;
constexpr int CHANGED = 0;
constexpr int NO_RUN_MODE = -1;
enum class Shown { NOTHING, SAVER, BOX, PASSWORD };
using enum Shown;
using Filter = LPTOP_LEVEL_EXCEPTION_FILTER;

// The entry's table for a fresh process with a command line on a platform
// family, where one window exists. It records the mode shown, for which
// window, and the exit code; a password change asked under another key shows
// nothing.
struct EntryWorld {
    EntryWorld(const char* command_line, DWORD family) : line(command_line), family(family)
    {
        ResetFrameworkState();
        current = this;
        Entry = {
            .GetCommandLineA = []() WINAPI { return current->line.data(); },
            .CharNextA = [](LPCSTR text) WINAPI { return const_cast<LPSTR>(text + (*text != 0)); },
            .GetModuleHandleA = [](LPCSTR) WINAPI { return HMODULE(nullptr); },
            .GetVersionExA = ReadVersion,
            .IsWindow = [](HWND window) WINAPI { return BOOL(window == HOST); },
            .GetForegroundWindow = []() WINAPI { return FRONT; },
            .DialogBoxParamA = [](HINSTANCE, LPCSTR, HWND owner, DLGPROC, LPARAM)
                                   WINAPI { return INT_PTR(Show(BOX, owner, BOXED)); },
            .LoadLibraryA = [](LPCSTR name)
                                WINAPI { return std::strcmp(name, "MPR.DLL") ? nullptr : MPR; },
            .GetProcAddress = [](HMODULE library, LPCSTR)
                                  WINAPI { return library == MPR ? CHANGE : nullptr; },
            .FreeLibrary = [](HMODULE) WINAPI { return TRUE; },
            .SetUnhandledExceptionFilter = [](Filter) WINAPI { return Filter{}; },
            .ExitProcess = [](UINT code) WINAPI { current->exit_code = code; },
            .RunSaver = [](HWND parent) { return Show(SAVER, parent, SAVED); },
            .RegisterSaverDialogClasses = [](HINSTANCE) { return TRUE; },
            .ScreenSaverConfigureDialog = nullptr,
        };
    }
    ~EntryWorld() { Entry = saved; }
    static int Show(Shown what, HWND window, int result)
    {
        current->shown = what;
        current->window = window;
        return result;
    }
    static BOOL WINAPI ReadVersion(LPOSVERSIONINFOA version)
    {
        version->dwPlatformId = current->family;
        return TRUE;
    }
    static DWORD WINAPI ChangePassword(LPCSTR key, HWND owner, DWORD, DWORD)
    {
        return std::strcmp(key, "SCRSAVE") ? 0 : Show(PASSWORD, owner, 0);
    }

    std::string line;
    DWORD family;
    Shown shown = NOTHING;
    HWND window = nullptr;
    UINT exit_code = 0xDEAD;
    EntryPlatform saved = Entry;
    static inline EntryWorld* current = nullptr;
    static inline const FARPROC CHANGE =
        reinterpret_cast<FARPROC>(reinterpret_cast<void (*)()>(&ChangePassword));
};

TEST(SaverEntryTest, TheCommandLineSelectsTheModeItsWindowAndTheExitCode)
{
    constexpr DWORD WIN9X = VER_PLATFORM_WIN32_WINDOWS;
    constexpr DWORD NT = VER_PLATFORM_WIN32_NT;
    const struct {
        const char* name;
        const char* line;
        DWORD family;
        Shown shown;
        HWND window;
        int exit_code;
    } cases[] = {
        {"no_arguments", "x.scr", NT, BOX, nullptr, BOXED},
        {"save_upper_rest_ignored", "x.scr -S /p 1029", NT, SAVER, nullptr, SAVED},
        {"preview", "x.scr /p 1029", NT, SAVER, HOST, SAVED},
        {"preview_upper_spaced", "x.scr /P   1029", NT, SAVER, HOST, SAVED},
        {"preview_l_unspaced", "x.scr -l1029 /s", NT, SAVER, HOST, SAVED},
        {"preview_of_gone_host", "x.scr /p 4321", NT, NOTHING, nullptr, NO_RUN_MODE},
        {"configure", "x.scr /c:1029", NT, BOX, HOST, BOXED},
        {"configure_upper", "x.scr -C:1029", NT, BOX, HOST, BOXED},
        {"configure_without_colon", "x.scr /c 1029", NT, BOX, FRONT, BOXED},
        {"configure_gone_owner", "x.scr /c:4321", NT, BOX, FRONT, BOXED},
        {"password", "x.scr /a 1029", WIN9X, PASSWORD, HOST, CHANGED},
        {"password_upper", "x.scr -A1029", WIN9X, PASSWORD, HOST, CHANGED},
        {"password_gone_owner", "x.scr /a 4321", WIN9X, PASSWORD, FRONT, CHANGED},
        {"password_outside_9x", "x.scr /a 1029", NT, NOTHING, nullptr, NO_RUN_MODE},
        {"quoted_name", "\"C:\\My Savers\\x.scr\" /s", NT, SAVER, nullptr, SAVED},
        {"empty_quoted_name", "\"\" /L 1029", NT, SAVER, HOST, SAVED},
        {"high_bytes_in_name", "C:\\sav\xe9r s\\x.scr /p 1029", NT, SAVER, nullptr, SAVED},
        {"controls_after_name", "x.scr\t\x01\x1f/s", NT, SAVER, nullptr, SAVED},
    };
    for (const auto& row : cases) {
        SCOPED_TRACE(row.name);
        EntryWorld world(row.line, row.family);
        SaverEntry();
        EXPECT_EQ(world.shown, row.shown);
        EXPECT_EQ(world.window, row.window);
        EXPECT_EQ(world.exit_code, UINT(row.exit_code));
    }
}

}  // namespace

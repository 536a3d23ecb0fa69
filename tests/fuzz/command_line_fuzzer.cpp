// Arbitrary command tails, and whole command lines through the entry's
// skipping of the program name, run through the dispatch over doubles. Every
// input must end in one of the defined results with at most one mode run, and
// a mode may only ever see a window that exists or the foreground window.
// The same bytes, cut at NULs into arguments, go through the Linux program's
// command line, which must refuse or give a usable request.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>
#include <algorithm>

#include "framework/entry.h"
#include "platform/x11/command_options.h"
#include "support/fake_saver_platform.h"

namespace {
constexpr int RUN_RESULT = FAKE_RUN_RESULT;
constexpr int DIALOG_RESULT = FAKE_DIALOG_RESULT;

void Require(bool condition)
{
    if (!condition) std::abort();
}

bool OnlySeparators(const std::string& text)
{
    return text.find_first_not_of(" -/") == std::string::npos;
}

// What one run did, from the doubles' log.
struct Outcome {
    int modes = 0;
    std::string mode;
};

Outcome Observe(const FakeSaverPlatform& fake)
{
    Outcome outcome;
    for (const std::string& call : fake.calls) {
        if (call.rfind("RunSaver", 0) == 0 || call.rfind("DialogBoxParamA", 0) == 0 ||
            call.rfind("PwdChangePasswordA", 0) == 0) {
            ++outcome.modes;
            outcome.mode = call;
        }
    }
    return outcome;
}

void CheckOutcome(const FakeSaverPlatform& fake, int result, bool win9x, const std::string& tail)
{
    const Outcome outcome = Observe(fake);
    Require(outcome.modes <= 1);
    if (outcome.modes == 0) {
        Require(result == -1);
        return;
    }
    const std::string& mode = outcome.mode;
    if (mode.rfind("RunSaver", 0) == 0) {
        Require(result == RUN_RESULT);
        Require(mode == "RunSaver(0)" || mode == "RunSaver(1234)");
    } else if (mode.rfind("DialogBoxParamA", 0) == 0) {
        Require(result == DIALOG_RESULT);
        const bool noOwner = mode == "DialogBoxParamA(4194304, 2003, 0, ScreenSaverConfigureDialog, 0)";
        Require(noOwner == OnlySeparators(tail));
        Require(noOwner || mode == "DialogBoxParamA(4194304, 2003, 1234, ScreenSaverConfigureDialog, 0)" ||
                mode == "DialogBoxParamA(4194304, 2003, 99, ScreenSaverConfigureDialog, 0)");
    } else {
        Require(win9x);
        Require(result == 0);
        Require(mode == "PwdChangePasswordA(SCRSAVE, 1234, 0, 0)" || mode == "PwdChangePasswordA(SCRSAVE, 99, 0, 0)");
    }
}
void CheckLinuxOptions(const std::string& text)
{
    std::vector<std::string> arguments;
    for (size_t start = 0; start <= text.size();) {
        const size_t end = std::min(text.find('\0', start), text.size());
        arguments.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    // The last argument doubles as $XSCREENSAVER_WINDOW.
    const CommandOptions options = ParseCommandOptions(arguments, arguments.back().c_str());
    using Action = CommandOptions::Action;
    Require(options.message.empty() == (options.action != Action::Refuse));
    Require(options.max_fps >= 0 && options.max_fps <= HIGHEST_MAX_FPS);
    if (options.action == Action::Save && options.target == CommandOptions::Target::HostWindow)
        // The Windows grammar's handles wrap at 32 bits; the X options take X ids.
        Require(options.window != 0 && (options.window_from_tail || options.window <= 0x1FFFFFFF));
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // The text ends at the first NUL, as a command line does.
    const std::string text(reinterpret_cast<const char*>(data), size);
    const std::string line = text.substr(0, text.find('\0'));

    for (const bool win9x : {false, true}) {
        // The input as the command tail.
        {
            FakeSaverPlatform fake;
            fake.UseEntryWorld(win9x);
            const int result = SaverMain(fake.module, line.c_str());
            CheckOutcome(fake, result, win9x, line);
            Require(fake.installedFilter == nullptr);
        }
        // The input as the whole command line: the run must end in exactly
        // one process exit with the dispatch's result.
        {
            FakeSaverPlatform fake;
            fake.UseEntryWorld(win9x);
            fake.commandLine = line;
            SaverEntry();
            Require(!fake.calls.empty() && fake.calls.back().rfind("ExitProcess(", 0) == 0);
            Require(fake.CallsTo("ExitProcess").size() == 1);
            Require(Observe(fake).modes <= 1);
        }
    }
    CheckLinuxOptions(text);
    return 0;
}

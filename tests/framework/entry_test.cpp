// The command line's grammar from the whole line down to the run mode, the
// owner fallbacks, the platform family, the password-change call and the
// fault guard, all over doubles of the platform.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/entry.h"
#include "support/fake_saver_platform.h"

namespace {
using Calls = std::vector<std::string>;

constexpr int RUN_RESULT = FAKE_RUN_RESULT;
constexpr int DIALOG_RESULT = FAKE_DIALOG_RESULT;
const std::string MODULE = "4194304";  // the fake module handle, 0x400000

std::string Configure(const std::string& owner)
{
    return "DialogBoxParamA(" + MODULE + ", 2003, " + owner + ", ScreenSaverConfigureDialog, 0)";
}

// The logged calls that `keep` picks, in order.
template <typename Keep>
Calls Only(const FakeSaverPlatform& fake, Keep keep)
{
    Calls kept;
    for (const std::string& call : fake.calls)
        if (keep(call)) kept.push_back(call);
    return kept;
}

bool StartsWith(const std::string& text, const char* prefix) { return text.rfind(prefix, 0) == 0; }

// The calls that show which mode ran and with which window.
Calls ModeCalls(const FakeSaverPlatform& fake)
{
    return Only(fake, [](const std::string& c) {
        return StartsWith(c, "RunSaver") || StartsWith(c, "DialogBoxParamA") || StartsWith(c, "PwdChangePasswordA");
    });
}

class SaverEntryTest : public testing::Test {
protected:
    void SetUp() override { fake.UseEntryWorld(false); }
    void OnWin9x() { fake.platformId = VER_PLATFORM_WIN32_WINDOWS; }

    FakeSaverPlatform fake;
};

struct TailCase {
    const char* tail;
    bool win9x;
    int result;
    Calls modes;
};

TEST_F(SaverEntryTest, EveryTailEndsInItsModeAndResult)
{
    const std::string run0 = "RunSaver(0)", run1234 = "RunSaver(1234)";
    const std::string change1234 = "PwdChangePasswordA(SCRSAVE, 1234, 0, 0)";
    const std::string change99 = "PwdChangePasswordA(SCRSAVE, 99, 0, 0)";
    const TailCase cases[] = {
        // Nothing but separators: the configuration box without an owner.
        {"", false, DIALOG_RESULT, {Configure("0")}},
        {"/", false, DIALOG_RESULT, {Configure("0")}},
        {" - ", false, DIALOG_RESULT, {Configure("0")}},
        {"/-/ -- //", false, DIALOG_RESULT, {Configure("0")}},
        // Full-screen saving; whatever follows the letter is ignored.
        {"/s", false, RUN_RESULT, {run0}},
        {"-S", false, RUN_RESULT, {run0}},
        {"s", false, RUN_RESULT, {run0}},
        {"/ - s", false, RUN_RESULT, {run0}},
        {"/save", false, RUN_RESULT, {run0}},
        {"/s /p 1234", false, RUN_RESULT, {run0}},
        {"--//S", true, RUN_RESULT, {run0}},
        // Preview in an existing window, spaces (only) before the handle.
        {"/p 1234", false, RUN_RESULT, {run1234}},
        {"/p1234", false, RUN_RESULT, {run1234}},
        {"/P    1234", false, RUN_RESULT, {run1234}},
        {"/l 1234", false, RUN_RESULT, {run1234}},
        {"-L1234 /s", false, RUN_RESULT, {run1234}},
        {"/p 4294968530", false, RUN_RESULT, {run1234}},  // 2^32 + 1234 wraps
        // Preview without a window: nothing runs.
        {"/p 4321", false, -1, {}},
        {"/p", false, -1, {}},
        {"/p 0", false, -1, {}},
        {"/p:1234", false, -1, {}},
        {"/p\t1234", false, -1, {}},
        {"/p -1234", false, -1, {}},
        // Configuration box: the owner after ":" when it is a window, else the
        // foreground window.
        {"/c:1234", false, DIALOG_RESULT, {Configure("1234")}},
        {"-C:1234", false, DIALOG_RESULT, {Configure("1234")}},
        {"/c 1234", false, DIALOG_RESULT, {Configure("99")}},
        {"/c", false, DIALOG_RESULT, {Configure("99")}},
        {"/c:abc", false, DIALOG_RESULT, {Configure("99")}},
        {"/c:4321", false, DIALOG_RESULT, {Configure("99")}},
        {"/c:0", false, DIALOG_RESULT, {Configure("99")}},
        {"/c: 1234", false, DIALOG_RESULT, {Configure("99")}},
        // Password change: only on the Windows 95/98 family.
        {"/a 1234", true, 0, {change1234}},
        {"-A1234", true, 0, {change1234}},
        {"/a 4321", true, 0, {change99}},
        {"/a", true, 0, {change99}},
        {"/a 1234", false, -1, {}},
        {"/A", false, -1, {}},
        // Anything else at the switch selects no mode.
        {"/x", false, -1, {}},
        {"/1", false, -1, {}},
        {"/\t/s", false, -1, {}},
        {"\t/s", true, -1, {}},
        {"/\x80s", false, -1, {}},
        {"/\xf3", true, -1, {}},
        {"\xff", false, -1, {}},
        {"?", false, -1, {}},
        {":c", false, -1, {}},
    };
    for (const TailCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "tail \"" << c.tail << "\" win9x " << c.win9x);
        fake.ClearCalls();
        fake.platformId = c.win9x ? VER_PLATFORM_WIN32_WINDOWS : VER_PLATFORM_WIN32_NT;
        EXPECT_EQ(SaverMain(fake.module, c.tail), c.result);
        EXPECT_EQ(ModeCalls(fake), c.modes);
    }
}

TEST_F(SaverEntryTest, WholeCommandLineSkipsTheProgramName)
{
    const struct {
        const char* line;
        UINT exitCode;
        Calls modes;
    } cases[] = {
        {"\"C:\\Program Files\\My Savers\\Lumenfall.scr\" /s", RUN_RESULT, {"RunSaver(0)"}},
        {"\"C:\\Program Files\\Lumenfall.scr\"/p 1234", RUN_RESULT, {"RunSaver(1234)"}},
        {"\"C:\\a b\\c.scr\"   \t /c:1234", DIALOG_RESULT, {Configure("1234")}},
        {"C:\\SAVERS\\LUMENF~1.SCR /s", RUN_RESULT, {"RunSaver(0)"}},
        {"C:\\sav\xe9r s\\x.scr /p 1234", RUN_RESULT, {"RunSaver(0)"}},  // byte 233 is part of the name
        {"saver.scr\t\x01\x1f/s", RUN_RESULT, {"RunSaver(0)"}},
        {"saver.scr/s", DIALOG_RESULT, {Configure("0")}},  // "/s" belongs to the name
        {"saver.scr", DIALOG_RESULT, {Configure("0")}},
        {" /s", RUN_RESULT, {"RunSaver(0)"}},            // no name: only the blank is skipped
        {"\"C:\\unterminated /s", DIALOG_RESULT, {Configure("0")}},  // the name runs to the end
        {"\"\" /l 1234", RUN_RESULT, {"RunSaver(1234)"}},
        {"x.scr /x", UINT(-1), {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "line \"" << c.line << "\"");
        fake.ClearCalls();
        fake.commandLine = c.line;
        SaverEntry();
        EXPECT_EQ(ModeCalls(fake), c.modes);
        ASSERT_FALSE(fake.calls.empty());
        EXPECT_EQ(fake.calls.front(), "GetModuleHandleA(null)");
        EXPECT_EQ(fake.calls.back(), "ExitProcess(" + std::to_string(c.exitCode) + ")");
        EXPECT_EQ(SaverInstance, fake.module);
    }
}

TEST(ParseHandleTest, LeadingDigitsWrapModulo2To32)
{
    const struct {
        const char* text;
        DWORD value;
    } cases[] = {
        {"", 0},
        {"0", 0},
        {"1234", 1234},
        {"001234", 1234},
        {"12ab34", 12},
        {"1234 5", 1234},
        {"4294967295", 4294967295u},
        {"4294967296", 0},
        {"4294967297", 1},
        {"12345678901", 3755744309u},  // 12345678901 - 2 * 2^32
        {"99999999999999999999", 1661992959u},
        {"+12", 0},
        {"-12", 0},
        {" 12", 0},
        {":1234", 0},
    };
    for (const auto& c : cases) EXPECT_EQ(ParseHandle(c.text), c.value) << "text \"" << c.text << "\"";
}

TEST_F(SaverEntryTest, PlatformFamilyComesFromTheVersionQuery)
{
    const struct {
        bool succeeds;
        DWORD platform;
        BOOL win9x;
    } cases[] = {
        {true, VER_PLATFORM_WIN32_WINDOWS, TRUE},
        {true, VER_PLATFORM_WIN32_NT, FALSE},
        {true, VER_PLATFORM_WIN32s, FALSE},
        {false, VER_PLATFORM_WIN32_WINDOWS, FALSE},
    };
    for (const auto& c : cases) {
        fake.ClearCalls();
        fake.versionSucceeds = c.succeeds;
        fake.platformId = c.platform;
        SaverMain(fake.module, "/x");
        EXPECT_EQ(Win9xFamily, c.win9x) << "succeeds " << c.succeeds << " platform " << c.platform;
        EXPECT_EQ(fake.CallsTo("GetVersionExA"), Calls{"GetVersionExA(148)"});
    }
}

TEST_F(SaverEntryTest, ConfigureBoxAnswersForItsDialog)
{
    // Dialog classes refused: no dialog, result 0.
    fake.dialogClassesRegistered = FALSE;
    EXPECT_EQ(SaverMain(fake.module, "/c:1234"), 0);
    EXPECT_EQ(fake.CallsTo("RegisterSaverDialogClasses"), Calls{"RegisterSaverDialogClasses(" + MODULE + ")"});
    EXPECT_TRUE(ModeCalls(fake).empty());

    // A dialog that cannot be created passes its -1 on.
    fake.ClearCalls();
    fake.dialogClassesRegistered = TRUE;
    fake.dialogResult = -1;
    EXPECT_EQ(SaverMain(fake.module, ""), -1);
    EXPECT_EQ(ModeCalls(fake), Calls{Configure("0")});
}

TEST_F(SaverEntryTest, PasswordChangeReachesTheSystemDialogByName)
{
    OnWin9x();
    const struct {
        std::set<std::string> libraries, routines;
        Calls calls;
    } cases[] = {
        {{}, {}, {"LoadLibraryA(MPR.DLL)"}},
        {{"MPR.DLL"},
         {},
         {"LoadLibraryA(MPR.DLL)", "GetProcAddress(MPR.DLL, PwdChangePasswordA)", "FreeLibrary(MPR.DLL)"}},
        {{"MPR.DLL"},
         {"PwdChangePasswordA"},
         {"LoadLibraryA(MPR.DLL)", "GetProcAddress(MPR.DLL, PwdChangePasswordA)",
          "PwdChangePasswordA(SCRSAVE, 1234, 0, 0)", "FreeLibrary(MPR.DLL)"}},
    };
    for (const auto& c : cases) {
        fake.ClearCalls();
        fake.libraries = c.libraries;
        fake.routines = c.routines;
        EXPECT_EQ(SaverMain(fake.module, "/a 1234"), 0);
        EXPECT_EQ(Only(fake, [](const std::string& call) {
                      return call.find("MPR.DLL") != std::string::npos || StartsWith(call, "Pwd");
                  }),
                  c.calls);
    }
}

// The guard stands around the run mode only, and a fault that the system
// passes to it switches the running flag off on the Windows 95/98 family.
TEST_F(SaverEntryTest, FaultGuardSwitchesTheRunningFlagOff)
{
    for (const bool win9x : {true, false}) {
        SCOPED_TRACE(win9x ? "Windows 95/98" : "other platform");
        fake.ClearCalls();
        fake.platformId = win9x ? VER_PLATFORM_WIN32_WINDOWS : VER_PLATFORM_WIN32_NT;
        fake.runningFlag = true;
        fake.installedFilter = nullptr;
        LONG answer = -7;
        fake.duringRun = [&] {
            ASSERT_NE(fake.installedFilter, nullptr);
            answer = fake.installedFilter(nullptr);
        };
        EXPECT_EQ(SaverMain(fake.module, "/s"), RUN_RESULT);
        // The system then reports the fault and ends the process its own way.
        EXPECT_EQ(answer, EXCEPTION_CONTINUE_SEARCH);
        Calls expected = {"SetUnhandledExceptionFilter(filter)", "RunSaver(0)"};
        if (win9x) expected.push_back("SystemParametersInfoA(97, 0, word, 0)");
        expected.push_back("SetUnhandledExceptionFilter(null)");
        EXPECT_EQ(Only(fake, [](const std::string& call) { return !StartsWith(call, "GetVersionExA"); }), expected);
        EXPECT_EQ(fake.runningFlag, !win9x);
        EXPECT_EQ(fake.installedFilter, nullptr);
    }
}
}  // namespace

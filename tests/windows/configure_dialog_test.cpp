// The about box, shown modally from its own resources and driven from inside
// its modal loop: closing rules, link colours and fonts, the hand cursor and
// the opening of links (through a recording double, never the real shell).
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "main.h"
#include "platform/configure_dialog.h"
#include "utility/diagnostics.h"

namespace {

struct ShellCall {
    HWND owner;
    bool has_verb, has_parameters, has_directory;
    std::string file;
    INT show;
};

// Stands in for the dialog's calls while it lives: records shell calls,
// counts the fonts made and deleted (forwarding to GDI), and on request
// refuses every cursor or reports a Windows directory of a given length
// (recording and refusing library loads).
class RecordingDialogCalls {
public:
    RecordingDialogCalls() : saved_(ConfigureDialog)
    {
        current_ = this;
        ConfigureDialog.ShellExecuteA = [](HWND owner, LPCSTR verb, LPCSTR file, LPCSTR parameters,
                                           LPCSTR directory, INT show) WINAPI {
            current_->shell_calls.push_back({owner, verb != NULL, parameters != NULL, directory != NULL, file, show});
            return reinterpret_cast<HINSTANCE>(current_->shell_result);
        };
        ConfigureDialog.CreateFontIndirectA = [](const LOGFONTA* font) WINAPI {
            const HFONT made = CreateFontIndirectA(font);
            current_->fonts_created += made != NULL;
            return made;
        };
        ConfigureDialog.DeleteObject = [](HGDIOBJ object) WINAPI {
            const bool font = GetObjectType(object) == OBJ_FONT;
            const BOOL deleted = DeleteObject(object);
            current_->fonts_deleted += font && deleted;
            return deleted;
        };
    }
    ~RecordingDialogCalls() { ConfigureDialog = saved_; }
    RecordingDialogCalls(const RecordingDialogCalls&) = delete;
    RecordingDialogCalls& operator=(const RecordingDialogCalls&) = delete;

    void RefuseCursors()
    {
        ConfigureDialog.LoadCursorA = [](HINSTANCE, LPCSTR) WINAPI { return HCURSOR(NULL); };
    }
    void UseWindowsDirectoryOfLength(UINT length)
    {
        directory_length = length;
        ConfigureDialog.GetWindowsDirectoryA = [](LPSTR buffer, UINT size) WINAPI {
            const UINT n = current_->directory_length;
            if (n == 0 || n + 1 > size) return n == 0 ? 0u : n + 1;  // failed, or the size it needs
            std::memcpy(buffer, ("C:\\" + std::string(n - 3, 'w')).c_str(), n + 1);
            return n;
        };
        ConfigureDialog.LoadLibraryA = [](LPCSTR name) WINAPI {
            current_->libraries_loaded.push_back(name);
            return HMODULE(NULL);
        };
    }

    std::vector<ShellCall> shell_calls;
    INT_PTR shell_result = 42;
    int fonts_created = 0, fonts_deleted = 0;
    UINT directory_length = 0;
    std::vector<std::string> libraries_loaded;

private:
    ConfigureDialogPlatform saved_;
    static inline RecordingDialogCalls* current_ = nullptr;
};

// The trace channel, captured.
std::string Traced;

int Occurrences(const std::string& text, const std::string& part)
{
    int count = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
    return count;
}

// --- Driving the modal dialog ---------------------------------------------

using Step = std::function<void(HWND dialog)>;

// What the dialog returns when a script ran out without closing it.
constexpr INT_PTR LEFT_OPEN = -77;

std::vector<Step>* Script = nullptr;
size_t NextStep = 0;

// Runs on the dialog's thread, from inside its modal loop; posted messages
// (keys, commands) and paints are handled before the next tick. The modal
// loop shows the dialog only once its queue first runs empty, which may be
// after the first tick: the script starts on a dialog that is on screen.
void CALLBACK RunNextStep(HWND, UINT, UINT_PTR, DWORD)
{
    const HWND dialog = FindWindowA("#32770", "Lumenfall");
    if (dialog == NULL || Script == nullptr || (NextStep == 0 && !IsWindowVisible(dialog))) return;
    if (NextStep < Script->size()) {
        const size_t step = NextStep++;
        (*Script)[step](dialog);
    } else {
        EndDialog(dialog, LEFT_OPEN);
    }
}

// Shows the about box as the framework does and plays `steps` into it, one
// per timer tick; returns the dialog's result.
INT_PTR RunDialog(std::vector<Step> steps)
{
    Script = &steps;
    NextStep = 0;
    const UINT_PTR timer = SetTimer(NULL, 0, 20, RunNextStep);
    const INT_PTR result = DialogBoxParamA(GetModuleHandleA(NULL), MAKEINTRESOURCEA(IDD_CONFIGURE), NULL,
                                           ScreenSaverConfigureDialog, 0);
    KillTimer(NULL, timer);
    Script = nullptr;
    return result;
}

void PressOk(HWND dialog)
{
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), LPARAM(GetDlgItem(dialog, IDOK)));
}

HWND AboutText(HWND dialog)
{
    for (HWND child = GetWindow(dialog, GW_CHILD); child != NULL; child = GetWindow(child, GW_HWNDNEXT)) {
        const int id = GetDlgCtrlID(child);
        if (id == -1 || id == 0xFFFF) return child;
    }
    return NULL;
}

std::string ControlText(HWND dialog, int id)
{
    char text[256] = {};
    GetDlgItemTextA(dialog, id, text, sizeof text);
    return text;
}

class ConfigureDialogTest : public testing::Test {
protected:
    void SetUp() override
    {
        saved_diagnostics_ = Diagnostics;
        Diagnostics.WriteTrace = [](const char* text) { Traced += text; };
        Traced.clear();
    }
    void TearDown() override { Diagnostics = saved_diagnostics_; }

    RecordingDialogCalls calls_;

private:
    DiagnosticsPlatform saved_diagnostics_;
};

// --- Tests -------------------------------------------------------------------

TEST_F(ConfigureDialogTest, OnlyOkEndsTheDialog)
{
    struct Case {
        const char* name;
        Step action;
        bool closes;
    };
    const Case cases[] = {
        {"Enter key", [](HWND) { PostMessageA(GetFocus(), WM_KEYDOWN, VK_RETURN, 0); }, true},
        {"OK button clicked", [](HWND d) { SendMessageA(GetDlgItem(d, IDOK), BM_CLICK, 0, 0); }, true},
        {"IDOK from an accelerator", [](HWND d) { SendMessageA(d, WM_COMMAND, MAKEWPARAM(IDOK, 1), 0); }, true},
        {"Escape key", [](HWND) { PostMessageA(GetFocus(), WM_KEYDOWN, VK_ESCAPE, 0); }, false},
        {"close request", [](HWND d) { PostMessageA(d, WM_CLOSE, 0, 0); }, false},
        {"system close command", [](HWND d) { PostMessageA(d, WM_SYSCOMMAND, SC_CLOSE, 0); }, false},
        {"IDCANCEL", [](HWND d) { SendMessageA(d, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0); }, false},
    };
    // Each case acts on a freshly opened dialog with the focus on OK; the
    // next tick sees whether it is still there (a closed one is gone before
    // that tick) and closes it with OK.
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        bool focus_on_ok = false, open_after_action = false;
        Traced.clear();
        const INT_PTR result = RunDialog({
            [&](HWND d) {
                focus_on_ok = GetFocus() == GetDlgItem(d, IDOK);
                c.action(d);
            },
            [&](HWND d) {
                open_after_action = IsWindowVisible(d) != FALSE;
                PressOk(d);
            },
        });
        EXPECT_TRUE(focus_on_ok);
        EXPECT_EQ(result, 1);
        EXPECT_EQ(open_after_action, !c.closes);
        EXPECT_EQ(Traced.rfind("ScreenSaverConfigureDialog:WM_INITDIALOG\n", 0), 0u) << Traced;
        EXPECT_EQ(Occurrences(Traced, "ScreenSaverConfigureDialog:IDOK\n"), 1) << Traced;
    }
    EXPECT_TRUE(calls_.shell_calls.empty());
}

// Links are blue and underlined in the dialog's own font, on the menu
// colour; the about text keeps the default colours.
TEST_F(ConfigureDialogTest, OnlyLinksAreColoured)
{
    RunDialog({[](HWND dialog) {
        const HFONT dialog_font = reinterpret_cast<HFONT>(SendMessageA(dialog, WM_GETFONT, 0, 0));
        LOGFONTA expected_font = {};
        ASSERT_EQ(GetObjectA(dialog_font, sizeof expected_font, &expected_font), int(sizeof expected_font));
        const struct {
            const char* name;
            HWND control;
            bool link;
        } cases[] = {
            {"web link", GetDlgItem(dialog, IDC_WEBLINK), true},
            {"e-mail link", GetDlgItem(dialog, IDC_MAILLINK), true},
            {"about text", AboutText(dialog), false},
        };
        for (const auto& c : cases) {
            SCOPED_TRACE(c.name);
            ASSERT_NE(c.control, nullptr);
            // Prepared as a static control prepares its device context.
            const HDC dc = CreateCompatibleDC(NULL);
            const HGDIOBJ original_font = SelectObject(dc, dialog_font);
            SetTextColor(dc, RGB(1, 2, 3));
            SetBkMode(dc, OPAQUE);
            Traced.clear();

            const INT_PTR brush = ScreenSaverConfigureDialog(dialog, WM_CTLCOLORSTATIC, WPARAM(dc), LPARAM(c.control));

            EXPECT_EQ(Traced, "ScreenSaverConfigureDialog:WM_CTLCOLORSTATIC\n");
            LOGFONTA drawn = {};
            GetObjectA(GetCurrentObject(dc, OBJ_FONT), sizeof drawn, &drawn);
            EXPECT_EQ(brush, c.link ? INT_PTR(GetSysColorBrush(COLOR_MENU)) : FALSE);
            EXPECT_EQ(GetTextColor(dc), c.link ? RGB(0, 0, 255) : RGB(1, 2, 3));
            EXPECT_EQ(GetBkMode(dc), c.link ? TRANSPARENT : OPAQUE);
            EXPECT_EQ(drawn.lfUnderline, c.link ? 1 : 0);
            EXPECT_STREQ(drawn.lfFaceName, expected_font.lfFaceName);
            EXPECT_EQ(drawn.lfHeight, expected_font.lfHeight);
            EXPECT_EQ(drawn.lfWeight, expected_font.lfWeight);
            // The font the control itself selects to draw with.
            LOGFONTA own = {};
            const HFONT own_font = reinterpret_cast<HFONT>(SendMessageA(c.control, WM_GETFONT, 0, 0));
            ASSERT_EQ(GetObjectA(own_font, sizeof own, &own), int(sizeof own));
            EXPECT_EQ(own.lfUnderline, c.link ? 1 : 0);
            EXPECT_STREQ(own.lfFaceName, expected_font.lfFaceName);
            EXPECT_EQ(own.lfHeight, expected_font.lfHeight);
            SelectObject(dc, original_font);
            DeleteDC(dc);
        }
        PressOk(dialog);
    }});
}

// A thousand repaints of the links leave no fonts behind: while the dialog
// lives, the links' own font and at most one from the colour requests are
// alive, none after it.
TEST_F(ConfigureDialogTest, LinkFontsDoNotAccumulate)
{
    const DWORD gdi_before = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    int live_after_first_paint = -1, live_after_repaints = -1, created_by_repaints = 0;
    DWORD gdi_after_first_paint = 0, gdi_after_repaints = 0;
    const INT_PTR result = RunDialog({[&](HWND dialog) {
        const HWND links[] = {GetDlgItem(dialog, IDC_WEBLINK), GetDlgItem(dialog, IDC_MAILLINK)};
        const auto repaint = [](HWND w) { RedrawWindow(w, NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW); };
        for (HWND link : links) repaint(link);
        live_after_first_paint = calls_.fonts_created - calls_.fonts_deleted;
        gdi_after_first_paint = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
        const int created_before = calls_.fonts_created;
        for (int i = 0; i < 1000; ++i) repaint(links[i % 2]);
        created_by_repaints = calls_.fonts_created - created_before;
        live_after_repaints = calls_.fonts_created - calls_.fonts_deleted;
        gdi_after_repaints = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
        PressOk(dialog);
    }});
    ASSERT_EQ(result, 1);
    // Each repaint asked for the link colours: a throwaway and an underlined
    // font apiece.
    EXPECT_GE(created_by_repaints, 2000);
    EXPECT_EQ(live_after_first_paint, 2);
    EXPECT_EQ(live_after_repaints, 2);
    EXPECT_EQ(calls_.fonts_created, calls_.fonts_deleted);
    // Where the system counts GDI objects per process, it agrees. (Wine
    // answers 0 for every process, so there only the counts above speak.)
    if (gdi_before != 0) {
        EXPECT_EQ(gdi_after_repaints, gdi_after_first_paint);
        EXPECT_EQ(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS), gdi_before);
    }
}

TEST_F(ConfigureDialogTest, HandCursorOverTheWholeLinkRectangles)
{
    HCURSOR hand = NULL;
    RunDialog({[&](HWND dialog) {
        hand = HandCursor;
        ASSERT_NE(hand, nullptr);
        // The program's own copy, never the shared system cursor it came from.
        EXPECT_NE(hand, LoadCursorA(NULL, IDC_HAND));
        RECT web, mail, about;
        GetWindowRect(GetDlgItem(dialog, IDC_WEBLINK), &web);
        GetWindowRect(GetDlgItem(dialog, IDC_MAILLINK), &mail);
        GetWindowRect(AboutText(dialog), &about);
        const struct {
            const char* name;
            POINT at;
            bool hand;
        } cases[] = {
            // The link texts are centred: the corners lie away from them.
            {"web link, bottom right corner", {web.right - 1, web.bottom - 1}, true},
            {"e-mail link, top left corner", {mail.left, mail.top}, true},
            {"just right of the web link", {web.right, web.top + 2}, false},
            {"just below the e-mail link", {mail.left + 2, mail.bottom}, false},
            {"about text above the links", {about.left + 4, about.top + 4}, false},
        };
        const HCURSOR arrow = LoadCursorA(NULL, IDC_ARROW);
        for (const auto& c : cases) {
            SCOPED_TRACE(c.name);
            SetCursorPos(c.at.x, c.at.y);
            POINT now;
            GetCursorPos(&now);
            ASSERT_TRUE(now.x == c.at.x && now.y == c.at.y) << "the pointer did not move there";
            SetCursor(arrow);
            SetWindowLongPtrA(dialog, DWLP_MSGRESULT, 0);
            // Named for the dialog itself: the position alone decides.
            const INT_PTR handled = ScreenSaverConfigureDialog(dialog, WM_SETCURSOR, WPARAM(dialog),
                                                               MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
            EXPECT_EQ(handled, c.hand ? TRUE : FALSE);
            EXPECT_EQ(GetWindowLongPtrA(dialog, DWLP_MSGRESULT), c.hand ? TRUE : 0);
            EXPECT_EQ(GetCursor(), c.hand ? hand : arrow);
        }
        PressOk(dialog);
    }});
    // Destroyed with the dialog.
    EXPECT_EQ(HandCursor, nullptr);
    ICONINFO info;
    EXPECT_FALSE(GetIconInfo(hand, &info));
}

// Without any hand cursor the links keep the arrow but still open; the
// warning comes once per opening.
TEST_F(ConfigureDialogTest, MissingHandCursorLeavesWorkingLinks)
{
    calls_.RefuseCursors();
    const std::string warning = "WARNING: ScreenSaverConfigureDialog:WM_INITDIALOG: unable to create hand cursor.\n";
    for (int opening = 1; opening <= 2; ++opening) {
        SCOPED_TRACE(opening);
        RunDialog({[&](HWND dialog) {
            EXPECT_EQ(HandCursor, nullptr);
            RECT web;
            GetWindowRect(GetDlgItem(dialog, IDC_WEBLINK), &web);
            SetCursorPos(web.left + 2, web.top + 2);
            EXPECT_EQ(ScreenSaverConfigureDialog(dialog, WM_SETCURSOR, WPARAM(dialog), MAKELPARAM(HTCLIENT, 0)), FALSE);
            SendMessageA(GetDlgItem(dialog, IDC_WEBLINK), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
            SendMessageA(GetDlgItem(dialog, IDC_WEBLINK), WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
            PressOk(dialog);
        }});
        EXPECT_EQ(Occurrences(Traced, warning), opening);
        EXPECT_EQ(calls_.shell_calls.size(), size_t(opening));
    }
}

// A click on a link, through the real static control's notification, opens
// the address that the control shows; the dialog stays open. All cases run
// in one opening, each checked on the tick after its action.
TEST_F(ConfigureDialogTest, ClicksOpenTheShownAddressOnce)
{
    const auto mouse = [](std::vector<UINT> messages, int id) {
        return [messages, id](HWND dialog) {
            const HWND control = id == -1 ? AboutText(dialog) : GetDlgItem(dialog, id);
            ASSERT_NE(control, nullptr);
            for (UINT m : messages) SendMessageA(control, m, m == WM_LBUTTONUP ? 0 : MK_LBUTTON, MAKELPARAM(3, 3));
        };
    };
    const std::vector<UINT> click = {WM_LBUTTONDOWN, WM_LBUTTONUP};
    const std::vector<UINT> double_click = {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP};
    const struct Case {
        const char* name;
        Step action;
        int opened;  // the link opened, or 0 for none
    } cases[] = {
        {"click on the e-mail link", mouse(click, IDC_MAILLINK), IDC_MAILLINK},
        {"click on the web link", mouse(click, IDC_WEBLINK), IDC_WEBLINK},
        {"double click on the web link", mouse(double_click, IDC_WEBLINK), IDC_WEBLINK},
        {"double-click notification alone",
         [](HWND d) {
             EXPECT_EQ(ScreenSaverConfigureDialog(d, WM_COMMAND, MAKEWPARAM(IDC_WEBLINK, STN_DBLCLK),
                                                  LPARAM(GetDlgItem(d, IDC_WEBLINK))),
                       TRUE);
         },
         0},
        {"click on the about text", mouse(click, -1), 0},
    };
    std::vector<Step> steps;
    int checked = 0;
    for (const Case& c : cases) {
        steps.push_back([&](HWND d) {
            calls_.shell_calls.clear();
            c.action(d);
        });
        steps.push_back([&](HWND d) {
            SCOPED_TRACE(c.name);
            ++checked;
            EXPECT_TRUE(IsWindowVisible(d));
            if (c.opened == 0) {
                EXPECT_TRUE(calls_.shell_calls.empty());
                return;
            }
            const std::string expected_url = c.opened == IDC_MAILLINK
                                                 ? "mailto:" + ControlText(d, IDC_MAILLINK)
                                                 : "http://" + ControlText(d, IDC_WEBLINK) + "/";
            ASSERT_EQ(calls_.shell_calls.size(), 1u);
            const ShellCall& call = calls_.shell_calls[0];
            EXPECT_EQ(call.file, expected_url);
            // No owner, verb, parameters nor directory: the default action.
            EXPECT_TRUE(call.owner == NULL && !call.has_verb && !call.has_parameters && !call.has_directory);
            EXPECT_EQ(call.show, SW_SHOWNORMAL);
        });
    }
    steps.push_back(PressOk);
    EXPECT_EQ(RunDialog(steps), 1);
    EXPECT_EQ(checked, int(std::size(cases)));
}

// The shell's codes of 32 and below are failures: traced, never shown.
TEST_F(ConfigureDialogTest, FailedLinkIsOnlyTraced)
{
    const struct {
        INT_PTR result;
        const char* trace;
    } cases[] = {
        {2, "::ShellExecute failed with error code 2.\n"},
        {32, "::ShellExecute failed with error code 32.\n"},
        {33, nullptr},
    };
    RunDialog({[&](HWND dialog) {
        for (const auto& c : cases) {
            SCOPED_TRACE(c.result);
            calls_.shell_result = c.result;
            Traced.clear();
            EXPECT_EQ(ScreenSaverConfigureDialog(dialog, WM_COMMAND, MAKEWPARAM(IDC_MAILLINK, STN_CLICKED),
                                                 LPARAM(GetDlgItem(dialog, IDC_MAILLINK))),
                      FALSE);
            EXPECT_EQ(Traced, c.trace != nullptr ? c.trace : "");
            EXPECT_TRUE(IsWindowVisible(dialog));
        }
        PressOk(dialog);
    }});
    EXPECT_EQ(calls_.shell_calls.size(), std::size(cases));
}

// The help viewer's path is built in a fixed buffer: a Windows directory
// that leaves no room for it is skipped, and the system's hand stands in.
TEST_F(ConfigureDialogTest, HelpViewerPathNeverOverrunsItsBuffer)
{
    const struct {
        UINT directory_length;
        bool viewer_tried;
    } cases[] = {
        {3, true},
        {346, true},  // 346 + "\winhlp32.exe" + NUL fills the 360 bytes exactly
        {347, false},
        {400, false},  // larger than the buffer: the call reports the size it needs
        {0, false},    // the call failed
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.directory_length);
        calls_.UseWindowsDirectoryOfLength(c.directory_length);
        calls_.libraries_loaded.clear();
        LoadHandCursor();
        if (c.viewer_tried) {
            ASSERT_EQ(calls_.libraries_loaded.size(), 1u);
            const std::string& path = calls_.libraries_loaded[0];
            EXPECT_EQ(path.size(), c.directory_length + 13);
            EXPECT_EQ(path.substr(c.directory_length), "\\winhlp32.exe");
        } else {
            EXPECT_TRUE(calls_.libraries_loaded.empty());
        }
        ASSERT_NE(HandCursor, nullptr);
        DestroyCursor(HandCursor);
        HandCursor = NULL;
    }
}

}  // namespace

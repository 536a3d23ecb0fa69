// The about box's procedure, called directly over a dialog of the test's own
// with the two links and a plain static, while the fixture stands in for its
// shell and font calls and for the trace channel.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "main.h"
#include "platform/configure_dialog.h"
#include "utility/diagnostics.h"

namespace {

// A popup dialog with a font (the links' underlined font is copied from it)
// and no controls yet.
struct DialogTemplate {
    DLGTEMPLATE dialog = {WS_POPUP | DS_SETFONT, 0, 0, 0, 0, 0, 0};
    WORD menu_class_title[3] = {};
    WORD point_size = 8;
    WCHAR font[14] = L"MS Sans Serif";
} const TEMPLATE;
// The dialog's place on the screen, and its controls' in its client area.
constexpr POINT ORIGIN = {100, 100};
constexpr RECT WEB_AT = {20, 20, 140, 40};
constexpr RECT MAIL_AT = {20, 60, 140, 80};
constexpr RECT PLAIN_AT = {20, 100, 140, 120};
constexpr int ABOUT_TEXT_ID = -1;
// The shell's results: above 32 means opened.
constexpr INT_PTR HIGHEST_FAILURE = 32;
constexpr INT_PTR LOWEST_SUCCESS = 33;

// Records the links opened, the fonts made through the table and not yet
// deleted, and the trace written.
struct AboutBox : testing::Test {
    static inline AboutBox* current = nullptr;
    ConfigureDialogPlatform saved_calls = ConfigureDialog;
    DiagnosticsPlatform saved_diagnostics = Diagnostics;
    INT_PTR shell_result = LOWEST_SUCCESS;
    std::vector<std::string> opened;
    std::vector<std::string> trace;
    std::set<HGDIOBJ> live_fonts;
    HWND dialog = CreateDialogIndirectParamA(nullptr, &TEMPLATE.dialog, nullptr, nullptr, 0);
    HWND web = Static(IDC_WEBLINK, WEB_AT);
    HWND mail = Static(IDC_MAILLINK, MAIL_AT);
    HWND plain = Static(ABOUT_TEXT_ID, PLAIN_AT);

    AboutBox()
    {
        current = this;
        ConfigureDialog.ShellExecuteA = [](HWND, LPCSTR, LPCSTR file, LPCSTR, LPCSTR, INT) WINAPI {
            current->opened.push_back(file);
            return reinterpret_cast<HINSTANCE>(current->shell_result);
        };
        ConfigureDialog.CreateFontIndirectA = [](const LOGFONTA* font) WINAPI {
            const HFONT made = CreateFontIndirectA(font);
            current->live_fonts.insert(made);
            return made;
        };
        ConfigureDialog.DeleteObject = [](HGDIOBJ object) WINAPI {
            current->live_fonts.erase(object);
            return DeleteObject(object);
        };
        Diagnostics.WriteTrace = [](const char* text) { current->trace.push_back(text); };
        SetWindowPos(dialog, nullptr, ORIGIN.x, ORIGIN.y, 300, 200, SWP_NOZORDER);
        Send(WM_INITDIALOG, 0, 0);
    }
    ~AboutBox() override
    {
        Send(WM_DESTROY, 0, 0);
        DestroyWindow(dialog);
        ConfigureDialog = saved_calls;
        Diagnostics = saved_diagnostics;
    }

    HWND Static(int id, RECT at)
    {
        return CreateWindowExA(0, "STATIC", "text", WS_CHILD | SS_NOTIFY, at.left, at.top,
                               at.right - at.left, at.bottom - at.top, dialog,
                               reinterpret_cast<HMENU>(id), nullptr, nullptr);
    }
    INT_PTR Send(UINT message, WPARAM w, LPARAM l)
    {
        return ScreenSaverConfigureDialog(dialog, message, w, l);
    }
    // As a static control paints: its own font selected, then the colour
    // request to the dialog.
    INT_PTR AskColours(HWND control, HDC dc)
    {
        SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0)));
        return Send(WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                    reinterpret_cast<LPARAM>(control));
    }
};

bool Underlined(HGDIOBJ font)
{
    LOGFONTA described = {};
    return GetObjectA(font, sizeof described, &described) != 0 && described.lfUnderline;
}

// Points in the dialog's client area; a rectangle's right and bottom edges
// lie outside it.
struct CursorRow {
    const char* name;
    POINT at;
    bool hand;
};
const CursorRow CURSOR_ROWS[] = {
    {.name = "web link's last pixel", .at = {139, 39}, .hand = true},
    {.name = "right of the web link", .at = {140, 30}, .hand = false},
    {.name = "mail link's middle", .at = {80, 70}, .hand = true},
    {.name = "below the mail link", .at = {80, 80}, .hand = false},
};

TEST_F(AboutBox, HandOnlyOverALink)
{
    for (const CursorRow& row : CURSOR_ROWS) {
        SCOPED_TRACE(row.name);
        ASSERT_TRUE(SetCursorPos(ORIGIN.x + row.at.x, ORIGIN.y + row.at.y));
        SetCursor(LoadCursorA(nullptr, IDC_ARROW));
        SetWindowLongPtrA(dialog, DWLP_MSGRESULT, FALSE);
        const LPARAM hit = MAKELPARAM(HTCLIENT, WM_MOUSEMOVE);
        EXPECT_EQ(Send(WM_SETCURSOR, reinterpret_cast<WPARAM>(dialog), hit), row.hand);
        EXPECT_EQ(GetWindowLongPtrA(dialog, DWLP_MSGRESULT), row.hand);
        EXPECT_EQ(GetCursor() == HandCursor, row.hand);
    }
}

// Links get blue underlined text on the menu's colour; other statics are left
// to the system.
TEST_F(AboutBox, LinksBlueAndUnderlinedOnTheMenuColour)
{
    const INT_PTR MENU_BRUSH = reinterpret_cast<INT_PTR>(GetSysColorBrush(COLOR_MENU));
    const struct {
        const char* name;
        HWND control;
        INT_PTR brush;
        COLORREF text;
    } rows[] = {
        {.name = "web link", .control = web, .brush = MENU_BRUSH, .text = RGB(0, 0, 255)},
        {.name = "mail link", .control = mail, .brush = MENU_BRUSH, .text = RGB(0, 0, 255)},
        {.name = "plain text", .control = plain, .brush = FALSE, .text = RGB(0, 0, 0)},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const bool link = row.brush != FALSE;
        const HDC dc = GetDC(row.control);
        EXPECT_EQ(AskColours(row.control, dc), row.brush);
        EXPECT_EQ(GetTextColor(dc), row.text);
        EXPECT_EQ(Underlined(GetCurrentObject(dc, OBJ_FONT)), link) << "drawn with";
        ReleaseDC(row.control, dc);
        // Also given to keep, for systems that select it after the request.
        const LRESULT given = SendMessageA(row.control, WM_GETFONT, 0, 0);
        EXPECT_EQ(Underlined(reinterpret_cast<HGDIOBJ>(given)), link) << "given";
    }
}

// The links' own font and the copy kept from the newest colour request; the
// end of the dialog deletes both, and the hand cursor.
TEST_F(AboutBox, LinkFontsStayBoundedOverRepaintsAndGoAtTheEnd)
{
    constexpr int REPAINTS = 100;
    constexpr size_t MOST_LIVE_FONTS = 2;
    for (int paint = 0; paint < REPAINTS; ++paint) {
        const HWND link = paint % 2 == 0 ? web : mail;
        const HDC dc = GetDC(link);
        AskColours(link, dc);
        ReleaseDC(link, dc);
        ASSERT_LE(live_fonts.size(), MOST_LIVE_FONTS) << "after repaint " << paint;
    }
    Send(WM_DESTROY, 0, 0);
    EXPECT_THAT(live_fonts, testing::IsEmpty());
    EXPECT_EQ(HandCursor, nullptr);
}

// A click on a link opens it; a failure (a result up to 32) is only traced,
// and the box stays as it is.
TEST_F(AboutBox, ALinkThatCannotBeOpenedIsTraced)
{
    const auto failure_trace = testing::HasSubstr("ShellExecute failed");
    Send(WM_COMMAND, MAKEWPARAM(IDC_WEBLINK, STN_CLICKED), reinterpret_cast<LPARAM>(web));
    EXPECT_THAT(trace, testing::Not(testing::Contains(failure_trace)));
    shell_result = HIGHEST_FAILURE;
    Send(WM_COMMAND, MAKEWPARAM(IDC_MAILLINK, STN_CLICKED), reinterpret_cast<LPARAM>(mail));
    EXPECT_THAT(trace, testing::Contains("::ShellExecute failed with error code 32.\n"));
    // Only the first click of a double click opens its link.
    Send(WM_COMMAND, MAKEWPARAM(IDC_WEBLINK, STN_DBLCLK), reinterpret_cast<LPARAM>(web));
    EXPECT_THAT(opened, testing::ElementsAre(LUMENFALL_WEB_URL, LUMENFALL_MAIL_URL));
}

}  // namespace

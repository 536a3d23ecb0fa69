// The about box's procedure, called directly over a dialog of the test's own
// with the two links and a plain static, while the fixture stands in for its
// shell and font calls and for the trace channel.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
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
constexpr INT_PTR OPENED = 42;  // any of the shell's results above 32

// Records the links opened, the fonts made through the table and not yet
// deleted, and the trace written.
struct AboutBox : testing::Test {
    static inline AboutBox* current = nullptr;
    ConfigureDialogPlatform saved_calls = ConfigureDialog;
    DiagnosticsPlatform saved_diagnostics = Diagnostics;
    INT_PTR shell_result = OPENED;
    std::vector<std::string> opened, trace;
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

template <class Row>
struct AboutBoxRows : AboutBox, testing::WithParamInterface<Row> {
};
const auto ROW_NAME = [](const auto& info) { return std::string(info.param.name); };

// Points in the dialog's client area; a rectangle's right and bottom edges
// lie outside it.
struct CursorRow {
    const char* name;
    POINT at;
    bool hand;
};
const CursorRow CURSOR_ROWS[] = {
    {.name = "WebLinkCorner", .at = {20, 20}, .hand = true},
    {.name = "WebLinkLastPixel", .at = {139, 39}, .hand = true},
    {.name = "RightOfWebLink", .at = {140, 30}, .hand = false},
    {.name = "MailLinkMiddle", .at = {80, 70}, .hand = true},
    {.name = "BelowMailLink", .at = {80, 80}, .hand = false},
};
using AboutBoxCursor = AboutBoxRows<CursorRow>;

TEST_P(AboutBoxCursor, HandOnlyOverALink)
{
    const CursorRow& row = GetParam();
    ASSERT_NE(HandCursor, nullptr);
    ASSERT_TRUE(SetCursorPos(ORIGIN.x + row.at.x, ORIGIN.y + row.at.y));
    SetCursor(LoadCursorA(nullptr, IDC_ARROW));
    const LPARAM hit = MAKELPARAM(HTCLIENT, WM_MOUSEMOVE);
    EXPECT_EQ(Send(WM_SETCURSOR, reinterpret_cast<WPARAM>(dialog), hit), row.hand);
    EXPECT_EQ(GetWindowLongPtrA(dialog, DWLP_MSGRESULT), row.hand);
    EXPECT_EQ(GetCursor() == HandCursor, row.hand);
}
INSTANTIATE_TEST_SUITE_P(Points, AboutBoxCursor, testing::ValuesIn(CURSOR_ROWS), ROW_NAME);

struct ColourRow {
    const char* name;
    HWND AboutBox::*control;
    bool link;
};
const ColourRow COLOUR_ROWS[] = {
    {.name = "WebLink", .control = &AboutBox::web, .link = true},
    {.name = "MailLink", .control = &AboutBox::mail, .link = true},
    {.name = "PlainText", .control = &AboutBox::plain, .link = false},
};
using AboutBoxColours = AboutBoxRows<ColourRow>;

// Links get blue underlined text on the menu's colour; other statics are left
// to the system.
TEST_P(AboutBoxColours, LinksBlueAndUnderlined)
{
    const ColourRow& row = GetParam();
    const HWND control = this->*row.control;
    const HDC dc = GetDC(control);
    const INT_PTR brush = AskColours(control, dc);
    LOGFONTA font = {};
    GetObjectA(GetCurrentObject(dc, OBJ_FONT), sizeof font, &font);
    EXPECT_EQ(brush, row.link ? reinterpret_cast<INT_PTR>(GetSysColorBrush(COLOR_MENU)) : FALSE);
    EXPECT_EQ(GetTextColor(dc), row.link ? RGB(0, 0, 255) : RGB(0, 0, 0));
    EXPECT_EQ(font.lfUnderline, row.link);
    ReleaseDC(control, dc);
}
INSTANTIATE_TEST_SUITE_P(Controls, AboutBoxColours, testing::ValuesIn(COLOUR_ROWS), ROW_NAME);

// The links' own font and the copy kept from the newest colour request; the
// end of the dialog deletes both, and the hand cursor.
TEST_F(AboutBox, LinkFontsStayBoundedOverRepaintsAndGoAtTheEnd)
{
    constexpr size_t MOST_LIVE_FONTS = 2;
    for (int paint = 0; paint < 100; ++paint) {
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

// A click on a link opens it; a failure (a result up to 32) is only traced.
struct ClickRow {
    const char* name;
    WORD id;
    WORD code;
    INT_PTR shell_result;
    std::vector<std::string> opens;
    bool traced;
};
const ClickRow CLICK_ROWS[] = {
    {"WebLink", IDC_WEBLINK, STN_CLICKED, OPENED, {LUMENFALL_WEB_URL}, false},
    {"MailLink", IDC_MAILLINK, STN_CLICKED, OPENED, {LUMENFALL_MAIL_URL}, false},
    {"SecondClickOfADoubleClick", IDC_WEBLINK, STN_DBLCLK, OPENED, {}, false},
    {"FileNotFound", IDC_MAILLINK, STN_CLICKED, SE_ERR_FNF, {LUMENFALL_MAIL_URL}, true},
    {"HighestError", IDC_WEBLINK, STN_CLICKED, 32, {LUMENFALL_WEB_URL}, true},
    {"LowestSuccess", IDC_WEBLINK, STN_CLICKED, 33, {LUMENFALL_WEB_URL}, false},
};
using AboutBoxClicks = AboutBoxRows<ClickRow>;

TEST_P(AboutBoxClicks, OpenTheLinkOnceAndTraceFailures)
{
    const ClickRow& row = GetParam();
    shell_result = row.shell_result;
    const LPARAM control = reinterpret_cast<LPARAM>(GetDlgItem(dialog, row.id));
    Send(WM_COMMAND, MAKEWPARAM(row.id, row.code), control);
    const std::string failure =
        "::ShellExecute failed with error code " + std::to_string(row.shell_result) + ".\n";
    EXPECT_EQ(opened, row.opens);
    EXPECT_EQ(std::ranges::count(trace, failure), row.traced);
}
INSTANTIATE_TEST_SUITE_P(Links, AboutBoxClicks, testing::ValuesIn(CLICK_ROWS), ROW_NAME);

}  // namespace

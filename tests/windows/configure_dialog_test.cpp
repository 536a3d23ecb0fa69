// The about box shown from its own resources and driven from inside its modal
// loop, one step per timer tick, with the shell replaced by a recorder.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "main.h"
#include "platform/configure_dialog.h"

namespace {
using Step = std::function<void(HWND dialog)>;
std::vector<Step> Steps;
size_t NextStep;
std::vector<std::string> Opened;
int LiveFonts;

// Steps start once the box is on screen; a box still open after them ends with -1.
void CALLBACK RunNextStep(HWND, UINT, UINT_PTR, DWORD)
{
    const HWND dialog = FindWindowA("#32770", "Lumenfall");
    if (dialog && IsWindowVisible(dialog)) NextStep < Steps.size() ? Steps[NextStep++](dialog) : void(EndDialog(dialog, -1));
}

INT_PTR RunDialog(std::vector<Step> steps)
{
    Steps = std::move(steps);
    NextStep = 0;
    const UINT_PTR timer = SetTimer(NULL, 0, 20, RunNextStep);
    const INT_PTR result = DialogBoxParamA(NULL, MAKEINTRESOURCEA(IDD_CONFIGURE), NULL, ScreenSaverConfigureDialog, 0);
    KillTimer(NULL, timer);
    return result;
}

TEST(ConfigureDialog, LinksHandAndClosing)
{
    ConfigureDialog.ShellExecuteA = [](HWND owner, LPCSTR verb, LPCSTR file, LPCSTR parameters, LPCSTR directory, INT show)
        WINAPI { Opened.push_back(owner || verb || parameters || directory || show != SW_SHOWNORMAL ? "?" : file); return HINSTANCE(42); };
    ConfigureDialog.CreateFontIndirectA = [](const LOGFONTA* font) WINAPI { return ++LiveFonts, CreateFontIndirectA(font); };
    ConfigureDialog.DeleteObject = [](HGDIOBJ font) WINAPI { return --LiveFonts, DeleteObject(font); };
    const auto text = [](HWND dialog, int id) { char s[128] = ""; return GetDlgItemTextA(dialog, id, s, sizeof s), std::string(s); };
    const auto send = [](std::vector<UINT> messages, int id) {
        return [=](HWND dialog) { for (UINT m : messages) SendDlgItemMessageA(dialog, id, m, MK_LBUTTON, MAKELPARAM(3, 3)); };
    };
    const struct { Step act; int opens; } clicks[] = {
        {send({WM_LBUTTONDOWN, WM_LBUTTONUP}, IDC_MAILLINK), IDC_MAILLINK},
        {send({WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP}, IDC_WEBLINK), IDC_WEBLINK},
        {[](HWND d) { SendMessageA(d, WM_COMMAND, MAKEWPARAM(IDC_WEBLINK, STN_DBLCLK), LPARAM(GetDlgItem(d, IDC_WEBLINK))); }, 0},
        {[](HWND d) { SendMessageA(d, WM_COMMAND, IDCANCEL, 0); }, 0},
    };
    std::vector<Step> steps;
    for (const auto& click : clicks) {
        steps.push_back([&](HWND dialog) { Opened.clear(), click.act(dialog); });
        steps.push_back([&](HWND dialog) {
            const std::string url = click.opens == IDC_MAILLINK ? "mailto:" + text(dialog, IDC_MAILLINK) : "http://" + text(dialog, IDC_WEBLINK) + "/";
            EXPECT_EQ(Opened, click.opens ? std::vector<std::string>{url} : std::vector<std::string>{});
            EXPECT_TRUE(IsWindowVisible(dialog));
        });
    }
    steps.push_back([](HWND dialog) {
        RECT web, mail, about;
        GetWindowRect(GetDlgItem(dialog, IDC_WEBLINK), &web);
        GetWindowRect(GetDlgItem(dialog, IDC_MAILLINK), &mail);
        GetWindowRect(GetDlgItem(dialog, -1), &about);
        const struct { POINT at; bool hand; } points[] = {
            {{web.right - 1, web.bottom - 1}, true}, {{mail.left, mail.top}, true},
            {{web.right, web.top + 2}, false}, {{mail.left + 2, mail.bottom}, false}, {{about.left + 4, about.top + 4}, false},
        };
        for (const auto& p : points) {
            SetCursorPos(p.at.x, p.at.y);
            SetCursor(LoadCursorA(NULL, IDC_ARROW));
            EXPECT_EQ(ScreenSaverConfigureDialog(dialog, WM_SETCURSOR, WPARAM(dialog), HTCLIENT), p.hand) << p.at.x << "," << p.at.y;
            EXPECT_EQ(GetCursor() == HandCursor, p.hand);
        }
        // The links' own font, and at most one from their colour requests.
        for (int i = 0; i < 100; ++i) RedrawWindow(GetDlgItem(dialog, IDC_WEBLINK), NULL, NULL, RDW_INVALIDATE | RDW_UPDATENOW);
        EXPECT_EQ(LiveFonts, 2);
        SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, 1), 0);  // as from an accelerator
    });
    EXPECT_EQ(RunDialog(steps), 1);
    EXPECT_EQ(LiveFonts, 0);
    EXPECT_EQ(HandCursor, nullptr);
}
}  // namespace

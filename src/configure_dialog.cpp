// The about box: product name, version and date, with a web link and an
// e-mail link drawn as blue underlined text under a pointing hand.
#include <cstring>

#include "main.h"
#include "platform/configure_dialog.h"
#include "utility/diagnostics.h"

HCURSOR HandCursor = NULL;

namespace {

// The underlined copy of the dialog's font that the two links are given to
// draw with, from the dialog's opening to its end.
HFONT LinkControlFont = NULL;

// The system help viewer carries the classic pointing hand as cursor 106.
constexpr WORD HELP_VIEWER_HAND_CURSOR = 106;
constexpr UINT WINDOWS_DIRECTORY_SIZE = 360;
constexpr int LINK_IDS[] = {IDC_WEBLINK, IDC_MAILLINK};

bool IsLink(HWND dialog, HWND control)
{
    return control != NULL && (control == GetDlgItem(dialog, IDC_WEBLINK) ||
                               control == GetDlgItem(dialog, IDC_MAILLINK));
}

// The whole control rectangle counts, not only the text, and whichever window
// the request names: the about text lies beneath the links.
bool IsMouseOverLink(HWND dialog)
{
    POINT mouse;
    if (!GetCursorPos(&mouse)) return false;
    for (int id : LINK_IDS) {
        RECT area;
        const HWND link = GetDlgItem(dialog, id);
        if (link != NULL && GetWindowRect(link, &area) && PtInRect(&area, mouse)) return true;
    }
    return false;
}

// The underlined font must outlive WM_CTLCOLORSTATIC, since the control draws
// its text with it after the message returns. So the dialog keeps the newest
// one (in DWLP_USER) and deletes it at the next colour request, by which time
// that paint has finished (painting is synchronous on this one thread and the
// control puts its own font back afterwards), or when the dialog is
// destroyed. At most one link font exists at any time, however often the
// links repaint.
void KeepLinkFont(HWND dialog, HFONT font)
{
    const HFONT previous = reinterpret_cast<HFONT>(
        SetWindowLongPtrA(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(font)));
    if (previous != NULL) ConfigureDialog.DeleteObject(previous);
}

HBRUSH ColourLink(HWND dialog, HDC dc)
{
    SetTextColor(dc, RGB(0, 0, 255));
    SetBkMode(dc, TRANSPARENT);

    // Selecting a throwaway font hands back the one the control chose for its
    // text (the underlined font it was given, where the control selects it
    // before asking for colours), which is then copied with an underline.
    LOGFONTA blank = {};
    const HFONT temporary = ConfigureDialog.CreateFontIndirectA(&blank);
    const HGDIOBJ control_font = SelectObject(dc, temporary);
    LOGFONTA underlined = {};
    HFONT link_font = NULL;
    if (control_font != NULL &&
        GetObjectA(control_font, sizeof underlined, &underlined) == sizeof underlined) {
        underlined.lfUnderline = 1;
        link_font = ConfigureDialog.CreateFontIndirectA(&underlined);
    }
    // Without an underlined font the link still reads in blue, in the
    // control's own font.
    SelectObject(dc, link_font != NULL ? link_font : control_font);
    if (temporary != NULL) ConfigureDialog.DeleteObject(temporary);
    if (link_font != NULL) KeepLinkFont(dialog, link_font);

    return GetSysColorBrush(COLOR_MENU);
}

// A static control selects the font it was given into its device context
// itself, on some systems after the colour request (where a font selected in
// ColourLink would not be the one that draws): so each link is also given the
// underlined font to keep.
void GiveLinksUnderlinedFont(HWND dialog)
{
    const HFONT dialog_font = reinterpret_cast<HFONT>(SendMessageA(dialog, WM_GETFONT, 0, 0));
    LOGFONTA underlined = {};
    if (dialog_font == NULL ||
        GetObjectA(dialog_font, sizeof underlined, &underlined) != sizeof underlined)
        return;
    underlined.lfUnderline = 1;
    LinkControlFont = ConfigureDialog.CreateFontIndirectA(&underlined);
    if (LinkControlFont == NULL) return;
    for (int id : LINK_IDS)
        SendDlgItemMessageA(dialog, id, WM_SETFONT, reinterpret_cast<WPARAM>(LinkControlFont),
                            FALSE);
}

// The controls only borrow the font, and draw no more once the dialog ends.
void DeleteLinkControlFont()
{
    if (LinkControlFont == NULL) return;
    ConfigureDialog.DeleteObject(LinkControlFont);
    LinkControlFont = NULL;
}

// The user is not told when a link fails to open; the box stays as it is.
void OpenLink(LPCSTR url)
{
    const HINSTANCE result =
        ConfigureDialog.ShellExecuteA(NULL, NULL, url, NULL, NULL, SW_SHOWNORMAL);
    const int code = static_cast<int>(reinterpret_cast<INT_PTR>(result));
    if (code <= 32) Trace("::ShellExecute failed with error code %d.\n", code);
}

// Copies the cursor so that it stays valid after its source module is freed,
// and so that DestroyCursor never touches a shared system cursor.
HCURSOR CopyOf(HCURSOR cursor)
{
    return cursor != NULL ? static_cast<HCURSOR>(CopyIcon(cursor)) : NULL;
}

}  // namespace

void LoadHandCursor()
{
    char path[WINDOWS_DIRECTORY_SIZE];
    static const char VIEWER[] = "\\winhlp32.exe";
    const UINT length = ConfigureDialog.GetWindowsDirectoryA(path, sizeof path);
    // A directory that does not leave room for the viewer's name (and its
    // NUL) is skipped, never overrun.
    if (length != 0 && length + sizeof VIEWER <= sizeof path) {
        std::memcpy(path + length, VIEWER, sizeof VIEWER);
        const HMODULE viewer = ConfigureDialog.LoadLibraryA(path);
        if (viewer != NULL) {
            HandCursor = CopyOf(
                ConfigureDialog.LoadCursorA(viewer, MAKEINTRESOURCEA(HELP_VIEWER_HAND_CURSOR)));
            FreeLibrary(viewer);
        }
    }
    // Systems without the help viewer (or without its cursor) mostly have a
    // pointing hand of their own.
    if (HandCursor == NULL) HandCursor = CopyOf(ConfigureDialog.LoadCursorA(NULL, IDC_HAND));
    if (HandCursor == NULL)
        Trace("WARNING: ScreenSaverConfigureDialog:WM_INITDIALOG: unable to create hand cursor.\n");
}

BOOL RegisterSaverDialogClasses(HINSTANCE) { return TRUE; }

INT_PTR CALLBACK ScreenSaverConfigureDialog(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        Trace("ScreenSaverConfigureDialog:WM_INITDIALOG\n");
        LoadHandCursor();
        GiveLinksUnderlinedFont(hwnd);
        return TRUE;

    case WM_SETCURSOR:
        if (HandCursor != NULL && IsMouseOverLink(hwnd)) {
            SetCursor(HandCursor);
            SetWindowLongPtrA(hwnd, DWLP_MSGRESULT, TRUE);
            return TRUE;
        }
        return FALSE;

    case WM_CTLCOLORSTATIC:
        Trace("ScreenSaverConfigureDialog:WM_CTLCOLORSTATIC\n");
        if (IsLink(hwnd, reinterpret_cast<HWND>(lParam))) {
            return reinterpret_cast<INT_PTR>(ColourLink(hwnd, reinterpret_cast<HDC>(wParam)));
        }
        return FALSE;

    case WM_COMMAND: {
        const WORD id = LOWORD(wParam);
        if (id == IDOK) {
            Trace("ScreenSaverConfigureDialog:IDOK\n");
            EndDialog(hwnd, 1);
            return FALSE;
        }
        if (id == IDC_WEBLINK || id == IDC_MAILLINK) {
            // Only the first click of a double click opens the link.
            if (HIWORD(wParam) != STN_CLICKED) return TRUE;
            OpenLink(id == IDC_WEBLINK ? LUMENFALL_WEB_URL : LUMENFALL_MAIL_URL);
            return FALSE;
        }
        // IDCANCEL (Escape, a close request) included: OK is the only way out.
        return TRUE;
    }

    case WM_DESTROY:
        KeepLinkFont(hwnd, NULL);
        DeleteLinkControlFont();
        if (HandCursor != NULL) {
            DestroyCursor(HandCursor);
            HandCursor = NULL;
        }
        return TRUE;
    }
    return FALSE;
}

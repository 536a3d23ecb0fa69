#include <gtk/gtk.h>

#include <cstdio>

#include "platform/x11/message_box.h"

int WINAPI GtkMessageBoxA(HWND, LPCSTR text, LPCSTR caption, UINT type)
{
    if (text == nullptr) text = "";
    if (caption == nullptr) caption = "Error";
    if (!gtk_init_check(nullptr, nullptr)) {
        std::fprintf(stderr, "%s: %s\n", caption, text);
        return 0;
    }
    const GtkMessageType kind = (type & MB_ICONMASK) == MB_ICONERROR ? GTK_MESSAGE_ERROR
                                : (type & MB_ICONMASK) != 0           ? GTK_MESSAGE_WARNING
                                                                      : GTK_MESSAGE_OTHER;
    GtkWidget* box = gtk_message_dialog_new(nullptr, GTK_DIALOG_MODAL, kind, GTK_BUTTONS_OK, "%s", text);
    gtk_window_set_title(GTK_WINDOW(box), caption);
    gtk_window_set_position(GTK_WINDOW(box), GTK_WIN_POS_CENTER);
    gtk_window_set_keep_above(GTK_WINDOW(box), TRUE);
    if ((type & MB_ICONMASK) != 0) gdk_display_beep(gdk_display_get_default());
    gtk_dialog_run(GTK_DIALOG(box));
    gtk_widget_destroy(box);
    while (gtk_events_pending()) gtk_main_iteration();
    return IDOK;
}

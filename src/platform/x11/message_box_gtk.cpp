#include <gtk/gtk.h>

#include <cstdio>

#include "platform/x11/gtk_dialogs.h"
#include "saver_identity.h"

void ShowErrorBox(const char* text)
{
    if (!gtk_init_check(nullptr, nullptr)) {
        std::fprintf(stderr, "Lumenfall: %s\n", text);
        return;
    }
    GtkWidget* box = gtk_message_dialog_new(nullptr, GTK_DIALOG_MODAL, GTK_MESSAGE_ERROR,
                                            GTK_BUTTONS_OK, "%s", text);
    gtk_window_set_title(GTK_WINDOW(box), PRODUCT_NAME);
    gtk_window_set_position(GTK_WINDOW(box), GTK_WIN_POS_CENTER);
    gtk_window_set_keep_above(GTK_WINDOW(box), TRUE);
    gdk_display_beep(gdk_display_get_default());
    gtk_dialog_run(GTK_DIALOG(box));
    gtk_widget_destroy(box);
    while (gtk_events_pending()) gtk_main_iteration();
}

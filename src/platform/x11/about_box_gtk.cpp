// The about box on the X11 host: a modal GTK window laid out from the same
// template as the Windows dialog, its dialog units scaled by the dialog
// font's metrics. OK (or Enter) closes it with 1; Escape and the window
// manager's close do nothing. A link opens through the desktop's URL handler,
// started directly with the URL as its one argument, never through a shell.
#include <gdk/gdkx.h>
#include <gtk/gtk.h>

#include <cstdlib>

#include "platform/x11/dialog_layout.h"
#include "platform/x11/gtk_dialogs.h"
#include "resources/resource.h"
#include "saver_identity.h"
#include "utility/diagnostics.h"

namespace {
// The dialog's font, "MS Sans Serif" at 8 points, or the desktop's sans face
// where that is missing.
const char DIALOG_FONT[] = "MS Sans Serif, Sans 8";
const char ALPHABET[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
// Tests point this at a recorder; a desktop has xdg-open.
const char URL_HANDLER_VARIABLE[] = "LUMENFALL_URL_HANDLER";
const char DEFAULT_URL_HANDLER[] = "xdg-open";

struct AboutBox {
    GMainLoop* loop = nullptr;
    GtkWidget* ok = nullptr;
    int result = 0;
    guint32 last_click[2] = {0, 0};  // per link, for telling double clicks
};

struct Link {
    AboutBox* box;
    int index;
    const char* url;
};

DialogBaseUnits MeasureBaseUnits(GtkWidget* widget, const PangoFontDescription* font)
{
    PangoLayout* layout = gtk_widget_create_pango_layout(widget, ALPHABET);
    pango_layout_set_font_description(layout, font);
    int width = 0, height = 0;
    pango_layout_get_pixel_size(layout, &width, &height);
    PangoFontMetrics* metrics =
        pango_context_get_metrics(pango_layout_get_context(layout), font, nullptr);
    const int font_height = PANGO_PIXELS(pango_font_metrics_get_ascent(metrics) +
                                         pango_font_metrics_get_descent(metrics));
    pango_font_metrics_unref(metrics);
    g_object_unref(layout);
    return BaseUnitsOf(width, font_height > 0 ? font_height : height);
}

void Place(GtkFixed* fixed, GtkWidget* widget, const RECT& units, DialogBaseUnits base)
{
    const RECT pixels = DialogUnitsToPixels(units, base);
    gtk_widget_set_size_request(widget, pixels.right, pixels.bottom);
    gtk_fixed_put(fixed, widget, pixels.left, pixels.top);
}

GtkWidget* Label(const char* text, const PangoFontDescription* font, bool link)
{
    GtkWidget* label = gtk_label_new(text);
    PangoAttrList* attributes = pango_attr_list_new();
    pango_attr_list_insert(attributes, pango_attr_font_desc_new(font));
    if (link) {
        pango_attr_list_insert(attributes, pango_attr_foreground_new(0, 0, 0xFFFF));
        pango_attr_list_insert(attributes, pango_attr_underline_new(PANGO_UNDERLINE_SINGLE));
    }
    gtk_label_set_attributes(GTK_LABEL(label), attributes);
    pango_attr_list_unref(attributes);
    gtk_label_set_justify(GTK_LABEL(label), GTK_JUSTIFY_CENTER);
    gtk_label_set_xalign(GTK_LABEL(label), 0.5f);
    gtk_label_set_yalign(GTK_LABEL(label), 0.0f);
    return label;
}

// Keeps the theme from growing a control past its template size.
void Tighten(GtkWidget* widget)
{
    GtkCssProvider* css = gtk_css_provider_new();
    gtk_css_provider_load_from_data(css, "* { min-height: 0; min-width: 0; padding: 0; }", -1,
                                    nullptr);
    gtk_style_context_add_provider(gtk_widget_get_style_context(widget), GTK_STYLE_PROVIDER(css),
                                   GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
    g_object_unref(css);
}

void OpenLink(const char* url)
{
    const char* handler = std::getenv(URL_HANDLER_VARIABLE);
    if (handler == nullptr || *handler == '\0') handler = DEFAULT_URL_HANDLER;
    gchar* argv[] = {const_cast<gchar*>(handler), const_cast<gchar*>(url), nullptr};
    GError* error = nullptr;
    if (!g_spawn_async(nullptr, argv, nullptr, G_SPAWN_SEARCH_PATH, nullptr, nullptr, nullptr,
                       &error)) {
        // As with a link the shell cannot open on Windows: traced, not shown.
        Trace("Opening %s with %s failed: %s\n", url, handler,
              error != nullptr ? error->message : "");
        if (error != nullptr) g_error_free(error);
    }
}

gboolean LinkPressed(GtkWidget* widget, GdkEventButton* event, gpointer data)
{
    Link* link = static_cast<Link*>(data);
    if (event->type != GDK_BUTTON_PRESS || event->button != 1) return TRUE;
    // The second press of a double click is no click of its own: the link
    // opens once.
    gint double_click_ms = 400;
    g_object_get(gtk_widget_get_settings(widget), "gtk-double-click-time", &double_click_ms,
                 nullptr);
    guint32& last = link->box->last_click[link->index];
    const bool second_of_double = last != 0 && event->time - last < guint32(double_click_ms);
    last = event->time;
    if (!second_of_double) OpenLink(link->url);
    return TRUE;
}

void ShowPointingHand(GtkWidget* widget, gpointer)
{
    GdkDisplay* display = gtk_widget_get_display(widget);
    GdkCursor* hand = gdk_cursor_new_from_name(display, "pointer");
    if (hand == nullptr) hand = gdk_cursor_new_for_display(display, GDK_HAND2);
    if (hand == nullptr) {
        Trace("WARNING: ScreenSaverConfigureDialog:WM_INITDIALOG: unable to create hand cursor.\n");
        return;
    }
    gdk_window_set_cursor(gtk_widget_get_window(widget), hand);
    g_object_unref(hand);
}

GtkWidget* LinkControl(Link* link, const char* text, const PangoFontDescription* font,
                       float text_yalign)
{
    GtkWidget* area = gtk_event_box_new();
    gtk_event_box_set_above_child(GTK_EVENT_BOX(area), TRUE);
    GtkWidget* label = Label(text, font, true);
    gtk_label_set_yalign(GTK_LABEL(label), text_yalign);
    gtk_container_add(GTK_CONTAINER(area), label);
    g_signal_connect(area, "button-press-event", G_CALLBACK(LinkPressed), link);
    g_signal_connect(area, "realize", G_CALLBACK(ShowPointingHand), nullptr);
    return area;
}

void OkClicked(GtkButton*, gpointer data)
{
    AboutBox* box = static_cast<AboutBox*>(data);
    Trace("ScreenSaverConfigureDialog:IDOK\n");
    box->result = 1;
    g_main_loop_quit(box->loop);
}

gboolean KeyPressed(GtkWidget*, GdkEventKey* event, gpointer data)
{
    AboutBox* box = static_cast<AboutBox*>(data);
    switch (event->keyval) {
    case GDK_KEY_Return:
    case GDK_KEY_KP_Enter:
    case GDK_KEY_ISO_Enter:
        gtk_button_clicked(GTK_BUTTON(box->ok));
        return TRUE;
    case GDK_KEY_Escape:
        return TRUE;  // consumed: OK is the only way out
    default:
        return FALSE;
    }
}

gboolean RefuseClose(GtkWidget*, GdkEvent*, gpointer) { return TRUE; }

void BelongTo(GtkWidget* window, Window owner)
{
    if (owner == None) return;
    GdkDisplay* display = gtk_widget_get_display(window);
    if (!GDK_IS_X11_DISPLAY(display)) return;
    gdk_x11_display_error_trap_push(display);
    GdkWindow* foreign = gdk_x11_window_foreign_new_for_display(display, owner);
    gdk_x11_display_error_trap_pop_ignored(display);
    if (foreign == nullptr) return;
    gdk_window_set_transient_for(gtk_widget_get_window(window), foreign);
    g_object_unref(foreign);
}
}  // namespace

int ShowAboutBox(Window owner)
{
    if (!gtk_init_check(nullptr, nullptr)) return -1;
    AboutBox box;
    GtkWidget* window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
    gtk_window_set_title(GTK_WINDOW(window), PRODUCT_NAME);
    gtk_window_set_modal(GTK_WINDOW(window), TRUE);
    gtk_window_set_resizable(GTK_WINDOW(window), FALSE);
    gtk_window_set_deletable(GTK_WINDOW(window), FALSE);
    gtk_window_set_type_hint(GTK_WINDOW(window), GDK_WINDOW_TYPE_HINT_DIALOG);
    gtk_window_set_position(GTK_WINDOW(window), GTK_WIN_POS_CENTER);

    PangoFontDescription* font = pango_font_description_from_string(DIALOG_FONT);
    const DialogBaseUnits base = MeasureBaseUnits(window, font);
    GtkWidget* fixed = gtk_fixed_new();
    const RECT client = DialogUnitsToPixels(ABOUT_BOX_UNITS, base);
    gtk_widget_set_size_request(fixed, client.right, client.bottom);
    gtk_container_add(GTK_CONTAINER(window), fixed);

    GtkWidget* frame = gtk_frame_new(nullptr);
    gtk_frame_set_shadow_type(GTK_FRAME(frame), GTK_SHADOW_IN);
    gtk_container_add(GTK_CONTAINER(frame), Label(LUMENFALL_ABOUT_TEXT, font, false));
    Place(GTK_FIXED(fixed), frame, ABOUT_TEXT_UNITS, base);

    Link mail = {&box, 0, LUMENFALL_MAIL_URL};
    Link web = {&box, 1, LUMENFALL_WEB_URL};
    Place(GTK_FIXED(fixed), LinkControl(&mail, LUMENFALL_MAIL_ADDRESS, font, 0.5f), MAIL_LINK_UNITS,
          base);
    Place(GTK_FIXED(fixed), LinkControl(&web, LUMENFALL_WEB_HOST, font, 0.0f), WEB_LINK_UNITS,
          base);

    box.ok = gtk_button_new_with_label("OK");
    GtkWidget* ok_label = gtk_bin_get_child(GTK_BIN(box.ok));
    PangoAttrList* attributes = pango_attr_list_new();
    pango_attr_list_insert(attributes, pango_attr_font_desc_new(font));
    gtk_label_set_attributes(GTK_LABEL(ok_label), attributes);
    pango_attr_list_unref(attributes);
    Tighten(box.ok);
    gtk_widget_set_can_default(box.ok, TRUE);
    Place(GTK_FIXED(fixed), box.ok, OK_BUTTON_UNITS, base);
    pango_font_description_free(font);

    g_signal_connect(box.ok, "clicked", G_CALLBACK(OkClicked), &box);
    g_signal_connect(window, "key-press-event", G_CALLBACK(KeyPressed), &box);
    g_signal_connect(window, "delete-event", G_CALLBACK(RefuseClose), nullptr);

    Trace("ScreenSaverConfigureDialog:WM_INITDIALOG\n");
    gtk_widget_realize(window);
    BelongTo(window, owner);
    gtk_window_set_default(GTK_WINDOW(window), box.ok);
    gtk_widget_show_all(window);
    gtk_widget_grab_focus(box.ok);

    box.loop = g_main_loop_new(nullptr, FALSE);
    g_main_loop_run(box.loop);
    g_main_loop_unref(box.loop);
    gtk_widget_destroy(window);
    while (gtk_events_pending()) gtk_main_iteration();
    return box.result;
}

// The names by which the saver is known, the same on every host: to the
// system's screen-saver host, to another instance looking for a running
// saver, and to the user in its error box.
#pragma once

#include <cstddef>
#include <cstdio>

// The render window's class and title, and the error box's caption.
inline constexpr char PRODUCT_NAME[] = "Lumenfall";
// The saver window's class, and its titles in full-screen saving and in
// preview. A full-screen start that finds a window of this class with the
// full-screen title leaves the screen to it.
inline constexpr char SAVER_WINDOW_CLASS[] = "WindowsScreenSaverClass";
inline constexpr char FULL_SCREEN_TITLE[] = "Screen Saver";
inline constexpr char PREVIEW_TITLE[] = "Preview";

// The error box's text for a call that the saver cannot do without,
// "<function_name> failed.", cut short rather than overrunning `text`.
inline void FormatFailure(char* text, size_t size, const char* function_name)
{
    std::snprintf(text, size, "%s failed.", function_name);
}

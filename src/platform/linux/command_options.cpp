#include "platform/linux/command_options.h"

#include <cerrno>
#include <cstdlib>

#include "framework/command_line.h"

const char USAGE_TEXT[] =
    "Usage: lumenfall [OPTION]...\n"
    "A field of copies of one lit 3-D model drifting across a black screen.\n"
    "\n"
    "Run modes, as the Windows screen saver takes them:\n"
    "  (none), /c, /c:ID   the about box (owned by window ID)\n"
    "  /s                  full screen until a key, a click or the mouse moves\n"
    "  /p ID, /l ID        inside window ID (decimal), ignoring input\n"
    "As X11 screen-saver daemons start a saver program:\n"
    "  -root, --root       inside the window that $XSCREENSAVER_WINDOW names,\n"
    "                      or on the root window when it is unset\n"
    "  -window-id ID, --window-id ID\n"
    "                      inside window ID (decimal or 0x hexadecimal); it wins\n"
    "                      over --root, which settings tools' previews append it to\n"
    "Display server:\n"
    "  --wayland, --x11    the one to draw on; by default Wayland when\n"
    "                      $WAYLAND_DISPLAY is set and no X window is named\n"
    "  --output NAME       on Wayland, the output the scene is drawn on (by\n"
    "                      default the compositor's choice); the others go black\n"
    "Drawing:\n"
    "  --fps               show the frame rate in the lower left corner\n"
    "  --max-fps N         at most N frames a second (default 60; 0: no limit)\n"
    "  --help, --version   this text, or the version, and exit\n"
    "With only these options (--fps, --max-fps, --wayland, --x11, --output) the\n"
    "saver runs full screen.\n"
    "SIGTERM, SIGINT and SIGHUP end the saver; so does the host window's end.\n";

namespace {
// X window ids are 29-bit numbers.
constexpr unsigned long LARGEST_WINDOW_ID = 0x1FFFFFFF;

CommandOptions Refused(const std::string& message)
{
    CommandOptions options;
    options.action = CommandOptions::Action::Refuse;
    options.message = message;
    return options;
}

// "--name", "-name" or "--name=value"; the name without its dashes.
bool SplitOption(const std::string& argument, std::string* name, std::string* value,
                 bool* has_value)
{
    if (argument.size() < 2 || argument[0] != '-') return false;
    const size_t dashes = argument[1] == '-' ? 2 : 1;
    const size_t equals = argument.find('=');
    *has_value = equals != std::string::npos;
    *name = argument.substr(dashes, *has_value ? equals - dashes : std::string::npos);
    *value = *has_value ? argument.substr(equals + 1) : std::string();
    return true;
}

bool IsSaverOption(const std::string& name)
{
    return name == "root" || name == "window-id" || name == "fps" || name == "max-fps" ||
           name == "help" || name == "version" || name == "wayland" || name == "x11" ||
           name == "output";
}

bool TakesValue(const std::string& name)
{
    return name == "window-id" || name == "max-fps" || name == "output";
}

CommandOptions FromTail(const std::string& tail)
{
    const RunRequest request = ParseCommandTail(tail.c_str());
    CommandOptions options;
    switch (request.mode) {
    case RunMode::ConfigureUnowned:
        options.action = CommandOptions::Action::About;
        return options;
    case RunMode::Configure:
        options.action = CommandOptions::Action::About;
        options.window = request.handle;
        options.window_from_tail = true;
        options.owner_or_focus = true;
        return options;
    case RunMode::FullScreen:
        options.action = CommandOptions::Action::Save;
        return options;
    case RunMode::Preview:
        if (request.handle == 0)
            return Refused("\"" + tail + "\" names no window: give its id in decimal");
        options.action = CommandOptions::Action::Save;
        options.target = CommandOptions::Target::HostWindow;
        options.window = request.handle;
        options.window_from_tail = true;
        return options;
    case RunMode::ChangePassword:
        return Refused("the password change (/a) exists only on Windows 95 and 98");
    case RunMode::None:
        break;
    }
    return Refused("\"" + tail + "\" selects no run mode");
}
}  // namespace

bool ParseUnsigned(const std::string& text, unsigned long largest, unsigned long* value)
{
    const bool hexadecimal =
        text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
    const std::string digits = hexadecimal ? text.substr(2) : text;
    if (digits.empty()) return false;
    for (char c : digits) {
        const bool digit = (c >= '0' && c <= '9') ||
                           (hexadecimal && ((c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F')));
        if (!digit) return false;
    }
    errno = 0;
    const unsigned long long number = std::strtoull(digits.c_str(), nullptr, hexadecimal ? 16 : 10);
    if (errno == ERANGE || number > largest) return false;
    *value = static_cast<unsigned long>(number);
    return true;
}

CommandOptions ParseCommandOptions(const std::vector<std::string>& arguments,
                                   const char* xscreensaver_window)
{
    bool root = false, window_id = false, help = false, version = false, fps = false,
         cap_given = false;
    unsigned long window = 0, cap = DEFAULT_MAX_FPS;
    CommandOptions::Host host = CommandOptions::Host::Any;
    std::string tail, output;
    for (size_t i = 0; i < arguments.size(); ++i) {
        std::string name, value;
        bool has_value = false;
        if (!SplitOption(arguments[i], &name, &value, &has_value) || !IsSaverOption(name)) {
            // Everything else is the Windows grammar's, read as one tail.
            if (!tail.empty()) tail += ' ';
            tail += arguments[i];
            continue;
        }
        if (TakesValue(name) && !has_value) {
            if (i + 1 == arguments.size()) return Refused("--" + name + " needs a value");
            value = arguments[++i];
        } else if (!TakesValue(name) && has_value) {
            return Refused("--" + name + " takes no value");
        }
        if (name == "root") {
            root = true;
        } else if (name == "window-id") {
            if (!ParseUnsigned(value, LARGEST_WINDOW_ID, &window) || window == 0)
                return Refused(
                    "--window-id wants an X window id, decimal or 0x hexadecimal, not \"" + value +
                    "\"");
            window_id = true;
        } else if (name == "max-fps") {
            if (!ParseUnsigned(value, HIGHEST_MAX_FPS, &cap))
                return Refused("--max-fps wants a whole number from 0 to " +
                               std::to_string(HIGHEST_MAX_FPS) + ", not \"" + value + "\"");
            cap_given = true;
        } else if (name == "wayland" || name == "x11") {
            const auto asked =
                name == "wayland" ? CommandOptions::Host::Wayland : CommandOptions::Host::X11;
            if (host != CommandOptions::Host::Any && host != asked)
                return Refused("--wayland and --x11 exclude each other");
            host = asked;
        } else if (name == "output") {
            if (value.empty()) return Refused("--output wants the name of an output");
            output = value;
        } else if (name == "fps") {
            fps = true;
        } else if (name == "help") {
            help = true;
        } else {
            version = true;
        }
    }

    CommandOptions options;
    if (help || version) {
        options.action = help ? CommandOptions::Action::Help : CommandOptions::Action::Version;
        return options;
    }
    if ((root || window_id) && !tail.empty())
        return Refused("\"" + tail + "\" cannot go with --root or --window-id");

    if (root || window_id) {
        options.action = CommandOptions::Action::Save;
        options.target = CommandOptions::Target::HostWindow;
        options.window = window;
        // A settings tool's preview appends --window-id to the saver's usual
        // --root: the window it names is the one meant.
        if (root && !window_id) {
            const std::string host = xscreensaver_window != nullptr ? xscreensaver_window : "";
            if (host.empty()) {
                options.target = CommandOptions::Target::RootWindow;
            } else if (!ParseUnsigned(host, LARGEST_WINDOW_ID, &options.window) ||
                       options.window == 0) {
                return Refused("XSCREENSAVER_WINDOW holds \"" + host +
                               "\", which is no X window id");
            }
        }
    } else if (tail.empty() &&
               (fps || cap_given || host != CommandOptions::Host::Any || !output.empty())) {
        options.action = CommandOptions::Action::Save;
    } else {
        options = FromTail(tail);
    }
    options.show_fps = fps;
    options.max_fps = int(cap);
    options.host = host;
    options.output = output;
    return options;
}

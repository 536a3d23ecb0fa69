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
    "  -window, --window   in an ordinary window, until it is closed or Escape\n"
    "  -geometry WxH+X+Y   that window's size and place\n"
    "Display server:\n"
    "  --wayland, --x11    the one to draw on; by default Wayland when\n"
    "                      $WAYLAND_DISPLAY is set and no X window is named\n"
    "  --output NAME       on Wayland, the output the scene is drawn on (by\n"
    "                      default the compositor's choice); the others go black\n"
    "Drawing:\n"
    "  -fps, --fps         show the frame rate in the lower left corner\n"
    "  -no-fps             do not (the default)\n"
    "  --max-fps N         at most N frames a second (default 60; 0: no limit)\n"
    "  -delay N            at least N microseconds a frame (0: no limit)\n"
    "  --help, --version   this text, or the version, and exit\n"
    "With only drawing or display-server options the saver runs full screen.\n"
    "After a dash, a word of more than one letter is one of these options,\n"
    "never a run mode.\n"
    "SIGTERM, SIGINT and SIGHUP end the saver, which then dies by that signal;\n"
    "the host window's end ends it with 0.\n";

namespace {
// X window ids are 29-bit numbers.
constexpr unsigned long LARGEST_WINDOW_ID = 0x1FFFFFFF;
constexpr unsigned long MICROSECONDS_PER_SECOND = 1'000'000;

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

bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

// Two letters make a word: "-s", "-c:5" and "-p123" stay the screen saver's
// switches, while "-sync" is never read by its first letter. The options
// themselves ("-x11" among them) are known by name first.
bool IsWord(const std::string& name)
{
    return name.size() > 1 && IsLetter(name[0]) && IsLetter(name[1]);
}

struct WordOption {
    const char* name;
    bool takes_value;
};

const WordOption WORD_OPTIONS[] = {
    {"root", false},   {"window-id", true}, {"window", false},  {"geometry", true}, {"fps", false},
    {"no-fps", false}, {"max-fps", true},   {"delay", true},    {"wayland", false}, {"x11", false},
    {"output", true},  {"help", false},     {"version", false},
};

const WordOption* FindWordOption(const std::string& name)
{
    for (const WordOption& option : WORD_OPTIONS)
        if (name == option.name) return &option;
    return nullptr;
}

// What the arguments name, before it is judged as a whole.
struct Named {
    bool root = false, window_id = false, top_level = false, geometry = false;
    bool help = false, version = false, fps = false;
    // A drawing or display-server option: alone, they ask for full-screen saving.
    bool drawing = false;
    CommandOptions::Host host = CommandOptions::Host::Any;
    std::string output;
    unsigned long window = 0, max_fps = DEFAULT_MAX_FPS;
    WindowGeometry window_geometry;
    std::string tail;  // everything else, for the screen saver's own grammar
};

// The frames a second that a pause of `delay_us` between them allows.
unsigned long CapOfDelay(unsigned long delay_us)
{
    if (delay_us == 0) return 0;
    const unsigned long cap = MICROSECONDS_PER_SECOND / delay_us;
    return cap < 1 ? 1 : cap > HIGHEST_MAX_FPS ? HIGHEST_MAX_FPS : cap;
}

// Takes one option's value into `named`; a message when the value is refused.
std::string TakeOption(const std::string& name, const std::string& value, Named* named)
{
    if (name == "root") {
        named->root = true;
    } else if (name == "window-id") {
        if (!ParseUnsigned(value, LARGEST_WINDOW_ID, &named->window) || named->window == 0)
            return "--window-id wants an X window id, decimal or 0x hexadecimal, not \"" + value +
                   "\"";
        named->window_id = true;
    } else if (name == "window") {
        named->top_level = true;
    } else if (name == "geometry") {
        if (!ParseGeometry(value, &named->window_geometry))
            return "--geometry wants WIDTHxHEIGHT, with +X+Y if you like, not \"" + value + "\"";
        named->geometry = true;
    } else if (name == "max-fps") {
        if (!ParseUnsigned(value, HIGHEST_MAX_FPS, &named->max_fps))
            return "--max-fps wants a whole number from 0 to " + std::to_string(HIGHEST_MAX_FPS) +
                   ", not \"" + value + "\"";
        named->drawing = true;
    } else if (name == "delay") {
        unsigned long delay_us = 0;
        if (!ParseUnsigned(value, LONGEST_DELAY_US, &delay_us))
            return "--delay wants microseconds from 0 to " + std::to_string(LONGEST_DELAY_US) +
                   ", not \"" + value + "\"";
        named->max_fps = CapOfDelay(delay_us);
        named->drawing = true;
    } else if (name == "fps" || name == "no-fps") {
        named->fps = name == "fps";
        named->drawing = true;
    } else if (name == "wayland" || name == "x11") {
        const auto asked =
            name == "wayland" ? CommandOptions::Host::Wayland : CommandOptions::Host::X11;
        if (named->host != CommandOptions::Host::Any && named->host != asked)
            return "--wayland and --x11 exclude each other";
        named->host = asked;
        named->drawing = true;
    } else if (name == "output") {
        if (value.empty()) return "--output wants the name of an output";
        named->output = value;
        named->drawing = true;
    } else if (name == "help") {
        named->help = true;
    } else {
        named->version = true;
    }
    return "";
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

bool ParseGeometry(const std::string& text, WindowGeometry* geometry)
{
    size_t at = !text.empty() && text[0] == '=' ? 1 : 0;
    const auto number = [&text, &at](unsigned long* value) {
        const size_t start = at;
        while (at < text.size() && text[at] >= '0' && text[at] <= '9') ++at;
        return at > start && at - start <= 5 &&
               ParseUnsigned(text.substr(start, at - start), 99999, value);
    };
    unsigned long width = 0, height = 0, x = 0, y = 0;
    if (!number(&width) || at == text.size() || (text[at] != 'x' && text[at] != 'X')) return false;
    ++at;
    if (!number(&height) || width == 0 || height == 0) return false;
    WindowGeometry read;
    read.width = unsigned(width);
    read.height = unsigned(height);
    if (at < text.size()) {
        read.positioned = true;
        read.from_right = text[at] == '-';
        if (text[at] != '+' && text[at] != '-') return false;
        ++at;
        if (!number(&x) || at == text.size() || (text[at] != '+' && text[at] != '-')) return false;
        read.from_bottom = text[at] == '-';
        ++at;
        if (!number(&y) || at != text.size()) return false;
        read.x = int(x);
        read.y = int(y);
    }
    *geometry = read;
    return true;
}

CommandOptions ParseCommandOptions(const std::vector<std::string>& arguments,
                                   const char* xscreensaver_window)
{
    Named named;
    for (size_t i = 0; i < arguments.size(); ++i) {
        std::string name, value;
        bool has_value = false;
        const bool dashed = SplitOption(arguments[i], &name, &value, &has_value);
        const WordOption* option = dashed ? FindWordOption(name) : nullptr;
        if (option == nullptr && (!dashed || !IsWord(name))) {
            // Everything else is the Windows grammar's, read as one tail.
            if (!named.tail.empty()) named.tail += ' ';
            named.tail += arguments[i];
            continue;
        }
        if (option == nullptr)
            return Refused("unknown option " + arguments[i].substr(0, arguments[i].find('=')));
        if (option->takes_value && !has_value) {
            if (i + 1 == arguments.size()) return Refused("--" + name + " needs a value");
            value = arguments[++i];
        } else if (!option->takes_value && has_value) {
            return Refused("--" + name + " takes no value");
        }
        const std::string refusal = TakeOption(name, value, &named);
        if (!refusal.empty()) return Refused(refusal);
    }

    CommandOptions options;
    if (named.help || named.version) {
        options.action =
            named.help ? CommandOptions::Action::Help : CommandOptions::Action::Version;
        return options;
    }
    const bool in_a_window = named.root || named.window_id || named.top_level;
    if (in_a_window && !named.tail.empty())
        return Refused("\"" + named.tail + "\" cannot go with --root, --window-id or --window");
    if (named.top_level && (named.root || named.window_id))
        return Refused("--window cannot go with --root or --window-id");
    if (named.geometry && !named.top_level) return Refused("--geometry goes with --window");

    if (named.root || named.window_id) {
        options.action = CommandOptions::Action::Save;
        options.target = CommandOptions::Target::HostWindow;
        options.window = named.window;
        // A settings tool's preview appends --window-id to the saver's usual
        // --root: the window it names is the one meant.
        if (named.root && !named.window_id) {
            const std::string host = xscreensaver_window != nullptr ? xscreensaver_window : "";
            if (host.empty()) {
                options.target = CommandOptions::Target::RootWindow;
            } else if (!ParseUnsigned(host, LARGEST_WINDOW_ID, &options.window) ||
                       options.window == 0) {
                return Refused("XSCREENSAVER_WINDOW holds \"" + host +
                               "\", which is no X window id");
            }
        }
    } else if (named.top_level) {
        options.action = CommandOptions::Action::Save;
        options.target = CommandOptions::Target::TopLevel;
        options.geometry = named.window_geometry;
    } else if (named.tail.empty() && named.drawing) {
        options.action = CommandOptions::Action::Save;
    } else {
        options = FromTail(named.tail);
    }
    options.show_fps = named.fps;
    options.max_fps = int(named.max_fps);
    options.host = named.host;
    options.output = named.output;
    return options;
}

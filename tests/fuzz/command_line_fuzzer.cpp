// Arbitrary bytes, cut at NULs into arguments, through the Linux program's
// options and the screen saver's own grammar that reads the rest. Neither may
// read out of bounds (the sanitizers watch), and the answer must be one that
// the program can act on.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/linux/command_options.h"

static void Require(bool condition)
{
    if (!condition) std::abort();
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    std::vector<std::string> arguments;
    for (size_t start = 0; start <= text.size();) {
        const size_t end = std::min(text.find('\0', start), text.size());
        arguments.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    // The last argument doubles as $XSCREENSAVER_WINDOW.
    const CommandOptions options = ParseCommandOptions(arguments, arguments.back().c_str());
    using Action = CommandOptions::Action;
    Require(options.message.empty() == (options.action != Action::Refuse));
    Require(options.max_fps >= 0 && options.max_fps <= HIGHEST_MAX_FPS);
    if (options.action == Action::Save && options.target == CommandOptions::Target::HostWindow)
        // The Windows grammar's handles wrap at 32 bits; the X options take X ids.
        Require(options.window != 0 && (options.window_from_tail || options.window <= 0x1FFFFFFF));
    return 0;
}

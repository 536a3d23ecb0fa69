// Arbitrary bytes through both command-line grammars: the screen saver's own
// tail and, cut at NULs into arguments, the Linux program's options. Neither
// may read out of bounds (the sanitizers watch), and each answer must be one
// that its caller can act on.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "framework/command_line.h"
#include "platform/linux/command_options.h"

static void Require(bool condition)
{
    if (!condition) std::abort();
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    const std::string tail = text.substr(0, text.find('\0'));
    const RunRequest request = ParseCommandTail(tail.c_str());
    Require(request.mode >= RunMode::ConfigureUnowned && request.mode <= RunMode::None);
    const bool only_separators = tail.find_first_not_of(" -/") == std::string::npos;
    Require((request.mode == RunMode::ConfigureUnowned) == only_separators);
    Require(request.handle == 0 || request.mode != RunMode::FullScreen);

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

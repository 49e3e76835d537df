// The window program's command line: the site options, --help, --version, and the options that
// drive one scripted session (used by the screenshot script and the tests).
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace lq {

struct CommandLine {
    std::optional<std::string> site;  // UTF-8, as typed
    std::optional<std::string> newsSite;
    bool help = false;
    bool version = false;
    // Scripted session.
    std::optional<std::string> search;      // keyword to search for once the window is shown
    std::optional<int> page;                // tab page to show (0 to 2)
    std::optional<std::string> screenshot;  // image file written when the search has ended
    std::optional<int> quitAfterMs;         // close the window this long after it is shown
    std::string error;                      // one line; non-empty when the arguments are bad
};

// arguments without the program name.
CommandLine ParseCommandLine(const std::vector<std::string>& arguments);
std::string UsageText();

}  // namespace lq

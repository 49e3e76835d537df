#include "app/commandline.h"

#include <charconv>

namespace lq {
namespace {

std::optional<int> ParseCount(const std::string& text, int maximum) {
    int value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, fault] = std::from_chars(text.data(), end, value);
    if (fault != std::errc() || stop != end || value < 0 || value > maximum) return std::nullopt;
    return value;
}

}  // namespace

CommandLine ParseCommandLine(const std::vector<std::string>& arguments) {
    CommandLine line;
    for (size_t i = 0; i < arguments.size() && line.error.empty(); ++i) {
        const std::string& option = arguments[i];
        auto value = [&]() -> std::optional<std::string> {
            if (i + 1 >= arguments.size()) {
                line.error = option + " needs a value";
                return std::nullopt;
            }
            return arguments[++i];
        };
        if (option == "--help" || option == "-h") {
            line.help = true;
        } else if (option == "--version") {
            line.version = true;
        } else if (option == "--site") {
            line.site = value();
        } else if (option == "--news-site") {
            line.newsSite = value();
        } else if (option == "--search") {
            line.search = value();
        } else if (option == "--screenshot") {
            line.screenshot = value();
        } else if (option == "--page") {
            if (const auto text = value()) {
                line.page = ParseCount(*text, 2);
                if (!line.page) line.error = "--page takes 0, 1 or 2";
            }
        } else if (option == "--quit-after-ms") {
            if (const auto text = value()) {
                line.quitAfterMs = ParseCount(*text, 24 * 60 * 60 * 1000);
                if (!line.quitAfterMs)
                    line.error = "--quit-after-ms takes a number of milliseconds";
            }
        } else {
            line.error = "unknown argument '" + option + "'";
        }
    }
    if (line.error.empty() &&
        ((line.site && line.site->empty()) || (line.newsSite && line.newsSite->empty()))) {
        line.error = "--site and --news-site take a non-empty address";
    }
    return line;
}

std::string UsageText() {
    return "Usage: lumaquest [--site BASE] [--news-site BASE]\n"
           "Finds publicly shared cloud-storage files through a share-search site.\n"
           "\n"
           "  --site BASE        use this share-search site (scheme and host, e.g.\n"
           "                     http://127.0.0.1:8080) instead of the built-in one\n"
           "  --news-site BASE   read the notice from this site instead of the built-in one\n"
           "  --help             show this text and exit\n"
           "  --version          show the version and exit\n"
           "\n"
           "For scripted sessions (screenshots, tests):\n"
           "  --search KEYWORD   once the window is shown, search for KEYWORD as if typed\n"
           "                     and \"搜索\" pressed\n"
           "  --page N           show tab page N (0 results, 1 hot searches, 2 about)\n"
           "  --screenshot FILE  when the search has ended (or at once without --search),\n"
           "                     save an image of the window to FILE and close it\n"
           "  --quit-after-ms MS close the window MS milliseconds after it is shown\n";
}

}  // namespace lq

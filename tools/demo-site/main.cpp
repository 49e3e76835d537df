// lumaquest-demo-site: serves the demo share-search site until SIGINT or SIGTERM, then prints
// how many requests and connections it served.
#include <csignal>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>

#include "tools/demo-site/demosite.h"

namespace {

constexpr std::string_view kUsage =
    "usage: lumaquest-demo-site [--port N] [--delay-ms N] [--log]\n"
    "  --port N      port on 127.0.0.1 (0, the default: any free port)\n"
    "  --delay-ms N  wait N milliseconds before every response\n"
    "  --log         one line per request on stderr\n"
    "The first line on stdout names the address: listening on http://127.0.0.1:PORT\n"
    "GET /stats gives the counters; they are printed again on SIGINT or SIGTERM.\n";

bool ParseCount(const char* text, int maximum, int& value) {
    const std::string digits(text);
    if (digits.empty() || digits.size() > 9 ||
        digits.find_first_not_of("0123456789") != std::string::npos) {
        return false;
    }
    value = std::stoi(digits);
    return value <= maximum;
}

int UsageError(const std::string& message) {
    std::fprintf(stderr, "lumaquest-demo-site: %s (see --help)\n", message.c_str());
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    lq::demosite::DemoSiteOptions options;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        int value = 0;
        if (arg == "--help" || arg == "-h") {
            std::fputs(kUsage.data(), stdout);
            return 0;
        }
        if (arg == "--log") {
            options.logRequests = true;
        } else if (arg == "--port" || arg == "--delay-ms") {
            if (i + 1 >= argc) return UsageError(std::string(arg) + " needs a number");
            const int maximum = arg == "--port" ? 65535 : 600000;
            if (!ParseCount(argv[++i], maximum, value)) {
                return UsageError(std::string(arg) + " needs a number from 0 to " +
                                  std::to_string(maximum));
            }
            if (arg == "--port") {
                options.port = value;
            } else {
                options.delay = std::chrono::milliseconds(value);
            }
        } else {
            return UsageError("unknown argument " + std::string(arg));
        }
    }

    // Block the stop signals before any thread starts, so every thread inherits the mask and
    // only sigwait below receives them.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

    lq::demosite::DemoSite site(options);
    if (!site.Start()) {
        std::fprintf(stderr, "lumaquest-demo-site: cannot listen on 127.0.0.1:%d\n", options.port);
        return 1;
    }
    std::printf("listening on %s\n", site.BaseAddress().c_str());
    std::fflush(stdout);

    int received = 0;
    sigwait(&stopSignals, &received);
    site.Stop();
    std::fputs(lq::demosite::StatsText(site.Stats()).c_str(), stdout);
    std::fflush(stdout);
    return 0;
}

// lumaquest-startup-probe: builds and starts the window exactly as lumaquest's main does (the
// site options, the hidden window, the two start-up requests, showing it centred) and prints
// how long after process start the window was shown, as soon as the event loop is first idle
// after the show. The launcher passes its clock reading (CLOCK_REALTIME, ns) taken just before
// it started this process in LQ_STARTUP_T0_NS, so the figure includes exec and library loading.
//   lumaquest-startup-probe [--site BASE] [--news-site BASE]
// Output: "shown_ms X" (from the launcher's clock; "main_ms" and "created_ms" split it up;
// "first_conversion_ms" is the process's first Utf8ToGbk call, which builds the tables).
#include <QApplication>
#include <QIcon>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <optional>
#include <string>
#include <string_view>

#include "app/mainwindow.h"
#include "search/settings.h"
#include "text/codepage.h"

namespace {

long long NowNs() {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    return static_cast<long long>(now.tv_sec) * 1'000'000'000LL + now.tv_nsec;
}

double MsSince(long long t0, long long t) { return static_cast<double>(t - t0) / 1e6; }

}  // namespace

int main(int argc, char* argv[]) {
    const long long atMain = NowNs();
    const char* t0Text = std::getenv("LQ_STARTUP_T0_NS");
    const long long t0 = t0Text ? std::atoll(t0Text) : atMain;

    std::optional<std::string> site;
    std::optional<std::string> newsSite;
    // The process's first code-page conversion also builds the conversion tables: timed apart.
    const long long beforeFirstConversion = NowNs();
    const std::string probeText = lq::Utf8ToGbk("\xE6\x90\x9C\xE7\xB4\xA2");  // 搜索
    const long long afterFirstConversion = NowNs();
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string_view option = argv[i];
        if (option == "--site") site = lq::Utf8ToGbk(argv[i + 1]);
        if (option == "--news-site") newsSite = lq::Utf8ToGbk(argv[i + 1]);
    }
    lq::OverrideSites(site, newsSite);

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("lumaquest"));
    QApplication::setDesktopFileName(QStringLiteral("lumaquest"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/lumaquest.png")));
    int status = 0;
    {
        lq::MainWindow window;
        window.RaiseCreated();
        const long long created = NowNs();
        window.ShowCentred();
        QTimer::singleShot(0, &window, [&] {
            const long long shown = NowNs();
            std::printf(
                "shown_ms %.2f\nmain_ms %.2f\ncreated_ms %.2f\nfirst_conversion_ms %.2f\n"
                "visible %d\n",
                MsSince(t0, shown), MsSince(t0, atMain), MsSince(t0, created),
                MsSince(beforeFirstConversion, afterFirstConversion),
                window.isVisible() && probeText.size() == 4 ? 1 : 0);
            std::fflush(stdout);
            window.close();
        });
        status = QApplication::exec();
        window.Shutdown();
    }
    return status;
}

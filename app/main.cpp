// lumaquest: the window program. Reads its options, builds the window hidden, runs the
// start-up work, shows the window centred and, once it is closed, stops and joins the runs.
#include <QApplication>
#include <QIcon>
#include <cstdio>
#include <string>
#include <vector>

#include "app/commandline.h"
#include "app/mainwindow.h"
#include "app/scriptedsession.h"
#include "search/settings.h"
#include "text/codepage.h"

namespace {

std::optional<std::string> AsGbk(const std::optional<std::string>& utf8) {
    if (!utf8) return std::nullopt;
    return lq::Utf8ToGbk(*utf8);
}

}  // namespace

int main(int argc, char* argv[]) {
    const lq::CommandLine line =
        lq::ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
    if (!line.error.empty()) {
        std::fprintf(stderr, "lumaquest: %s (try --help)\n", line.error.c_str());
        return 2;
    }
    if (line.help) {
        std::fputs(lq::UsageText().c_str(), stdout);
        return 0;
    }
    if (line.version) {
        std::puts("lumaquest " LUMAQUEST_VERSION);
        return 0;
    }
    // Before anything reads the settings or starts a thread.
    lq::OverrideSites(AsGbk(line.site), AsGbk(line.newsSite));

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("lumaquest"));
    QApplication::setApplicationVersion(QStringLiteral(LUMAQUEST_VERSION));
    QApplication::setDesktopFileName(QStringLiteral("lumaquest"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/lumaquest.png")));

    int status = 0;
    {
        lq::MainWindow window;  // the runs, the gate and every control; hidden
        window.RaiseCreated();  // hot searches, then the notice: two blocking requests
        window.ShowCentred();
        lq::ScriptedSession session(window, line);
        session.Begin();
        status = QApplication::exec();
        window.Shutdown();  // stop the runs, close the gate, release and join them
    }
    return status;
}

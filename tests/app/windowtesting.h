// Helpers shared by the window tests: finding controls by name and waiting while the GUI
// thread keeps serving events.
#pragma once

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QString>
#include <QWidget>
#include <string>

#include "app/mainwindow.h"
#include "search/searchrun.h"

namespace lq::test {

class FixtureSite;
// The site every test in this program talks to (the settings point at it once, at start).
FixtureSite& SharedSite();

template <typename Widget = QWidget>
Widget* Find(const MainWindow& window, const char* utf8Name) {
    return window.findChild<Widget*>(QString::fromUtf8(utf8Name));
}

// Serves events until done() holds or the time is up; returns done().
template <typename Predicate>
bool WaitUntil(Predicate done, int timeoutMs = 10'000) {
    QElapsedTimer timer;
    timer.start();
    while (!done() && !timer.hasExpired(timeoutMs)) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return done();
}

inline bool WaitForRunsToEnd(MainWindow& window, int timeoutMs = 10'000) {
    return WaitUntil([&window] { return !window.Runs().AnyRunning(); }, timeoutMs);
}

inline QString Qs(const std::string& utf8) { return QString::fromStdString(utf8); }

}  // namespace lq::test

#include "app/scriptedsession.h"

#include <QCoreApplication>
#include <QPixmap>
#include <cstdio>

#include "app/mainwindow.h"
#include "search/searchrun.h"

namespace lq {
namespace {

constexpr int kPollMs = 100;
constexpr int kLongestSearchMs = 60'000;  // screenshot anyway after this long

}  // namespace

ScriptedSession::ScriptedSession(MainWindow& window, const CommandLine& line)
    : window_(window), line_(line) {
    poll_.setInterval(kPollMs);
    connect(&poll_, &QTimer::timeout, this, &ScriptedSession::Poll);
}

void ScriptedSession::Begin() {
    if (line_.quitAfterMs) {
        QTimer::singleShot(*line_.quitAfterMs, &window_, [this] { window_.close(); });
    }
    if (line_.search) {
        window_.SetKeywordText(QString::fromStdString(*line_.search));
        window_.Runs().StartSearch();
    }
    if (line_.page) window_.SelectPage(*line_.page);
    if (line_.screenshot) {
        pollsLeft_ = kLongestSearchMs / kPollMs;
        poll_.start();
    }
}

void ScriptedSession::Poll() {
    if (window_.Runs().AnyRunning() && --pollsLeft_ > 0) return;
    poll_.stop();
    // One more round of events so the last rows are painted.
    QTimer::singleShot(200, this, &ScriptedSession::TakeScreenshot);
}

void ScriptedSession::TakeScreenshot() {
    const QString file = QString::fromStdString(*line_.screenshot);
    if (!window_.grab().save(file)) {
        std::fprintf(stderr, "lumaquest: cannot write the screenshot to %s\n",
                     line_.screenshot->c_str());
        QCoreApplication::exit(1);
        return;
    }
    window_.close();
}

}  // namespace lq

// One scripted session of the window, driven by command-line options: search for a keyword,
// show a page, save a screenshot once the search has ended, close after a while. Used by the
// screenshot script and by tests that run the real program.
#pragma once

#include <QObject>
#include <QTimer>

#include "app/commandline.h"

namespace lq {

class MainWindow;

class ScriptedSession : public QObject {
    Q_OBJECT

public:
    ScriptedSession(MainWindow& window, const CommandLine& line);
    void Begin();  // after the window is shown

private:
    void Poll();
    void TakeScreenshot();

    MainWindow& window_;
    CommandLine line_;
    QTimer poll_;
    int pollsLeft_ = 0;
};

}  // namespace lq

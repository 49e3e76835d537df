// The program's command line, and the real program run as a child process: --help, --version,
// bad arguments, and closing the window while a slow search is under way.
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QImage>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

#include "app/commandline.h"
#include "tests/support/fixturesite.h"

namespace lq::test {
namespace {

TEST(CommandLine, ParsesOptionsAndRejectsBadOnes) {
    struct Case {
        std::vector<std::string> arguments;
        bool ok;
        std::optional<std::string> site, newsSite;
    };
    const Case cases[] = {
        {{}, true, {}, {}},
        {{"--site", "http://127.0.0.1:8080"}, true, "http://127.0.0.1:8080", {}},
        {{"--news-site", "http://n.example", "--site", "http://s.example/"},
         true,
         "http://s.example/",
         "http://n.example"},
        {{"--site"}, false, {}, {}},
        {{"--site", ""}, false, {}, {}},
        {{"--bogus"}, false, {}, {}},
        {{"stray"}, false, {}, {}},
        {{"--page", "3"}, false, {}, {}},
        {{"--page", "x"}, false, {}, {}},
        {{"--quit-after-ms", "-1"}, false, {}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments.empty() ? "(none)" : c.arguments.front());
        const CommandLine line = ParseCommandLine(c.arguments);
        EXPECT_EQ(line.error.empty(), c.ok) << line.error;
        if (!c.ok) {
            EXPECT_EQ(line.error.find('\n'), std::string::npos);
            continue;
        }
        EXPECT_EQ(line.site, c.site);
        EXPECT_EQ(line.newsSite, c.newsSite);
    }
    const CommandLine scripted = ParseCommandLine(
        {"--search", "电影", "--page", "1", "--screenshot", "a.png", "--quit-after-ms", "250"});
    ASSERT_TRUE(scripted.error.empty());
    EXPECT_EQ(scripted.search, "电影");
    EXPECT_EQ(scripted.page, 1);
    EXPECT_EQ(scripted.screenshot, "a.png");
    EXPECT_EQ(scripted.quitAfterMs, 250);
}

struct Outcome {
    bool finished = false;
    int exitCode = -1;
    QProcess::ExitStatus status = QProcess::CrashExit;
    QString out, err;
    qint64 elapsedMs = 0;
};

Outcome RunProgram(const QStringList& arguments, int timeoutMs = 15'000) {
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    process.setProcessEnvironment(environment);
    QElapsedTimer timer;
    timer.start();
    process.start(QStringLiteral(LUMAQUEST_BINARY), arguments);
    Outcome outcome;
    outcome.finished = process.waitForFinished(timeoutMs);
    outcome.elapsedMs = timer.elapsed();
    if (!outcome.finished) {
        process.kill();
        process.waitForFinished();
    }
    outcome.exitCode = process.exitCode();
    outcome.status = process.exitStatus();
    outcome.out = QString::fromUtf8(process.readAllStandardOutput());
    outcome.err = QString::fromUtf8(process.readAllStandardError());
    return outcome;
}

TEST(Program, HelpVersionAndBadArguments) {
    const Outcome help = RunProgram({QStringLiteral("--help")});
    ASSERT_TRUE(help.finished);
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(help.out.contains(QStringLiteral("--site BASE")));
    EXPECT_TRUE(help.out.contains(QStringLiteral("--news-site BASE")));

    const Outcome version = RunProgram({QStringLiteral("--version")});
    ASSERT_TRUE(version.finished);
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.out, QStringLiteral("lumaquest 0.2.0\n"));

    for (const QStringList& bad :
         {QStringList{QStringLiteral("--nope")}, QStringList{QStringLiteral("--site")}}) {
        const Outcome outcome = RunProgram(bad);
        ASSERT_TRUE(outcome.finished);
        EXPECT_EQ(outcome.exitCode, 2);
        EXPECT_EQ(outcome.err.count(QLatin1Char('\n')), 1) << outcome.err.toStdString();
        EXPECT_TRUE(outcome.out.isEmpty());
    }
}

TEST(Program, ClosingTheWindowDuringASlowSearchEndsTheProcessPromptly) {
    FixtureSite slowSite(FixtureSite::Unserved::DemoPages);  // its own site: result pages take 30 s
    slowSite.SetSearchDelay(std::chrono::seconds(30));
    const QString base = QString::fromStdString(slowSite.Base());
    constexpr int kQuitAfterMs = 1500;
    const Outcome outcome =
        RunProgram({QStringLiteral("--site"), base, QStringLiteral("--news-site"), base,
                    QStringLiteral("--search"), QStringLiteral("slow"),
                    QStringLiteral("--quit-after-ms"), QString::number(kQuitAfterMs)});
    ASSERT_TRUE(outcome.finished) << "still running after 15 s";
    EXPECT_EQ(outcome.status, QProcess::NormalExit);
    EXPECT_EQ(outcome.exitCode, 0) << outcome.err.toStdString();
    ASSERT_FALSE(slowSite.SearchedKeywords().empty());  // the run was waiting on the site
    // Start-up plus the wait before closing plus a generous second or two for the shutdown;
    // a hang would last the site's 30 s.
    EXPECT_LT(outcome.elapsedMs, kQuitAfterMs + 4000);
}

TEST(Program, WithoutNetworkTheWindowStillAppears) {
    std::string closedBase;
    {
        FixtureSite gone;  // bound, then closed again: connections to its port are refused
        closedBase = gone.Base();
    }
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString image = dir.filePath(QStringLiteral("window.png"));
    const QString base = QString::fromStdString(closedBase);
    const Outcome outcome = RunProgram(
        {QStringLiteral("--site"), base, QStringLiteral("--news-site"), base,
         QStringLiteral("--page"), QStringLiteral("1"), QStringLiteral("--screenshot"), image});
    ASSERT_TRUE(outcome.finished);
    EXPECT_EQ(outcome.exitCode, 0) << outcome.err.toStdString();
    // The image is taken of the shown window, so the window did appear.
    const QImage shot(image);
    ASSERT_FALSE(shot.isNull());
    EXPECT_EQ(shot.size(), QSize(603, 468));
}

}  // namespace
}  // namespace lq::test

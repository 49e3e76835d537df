// The window tests' runner: one QApplication for the whole program, the settings pointed at
// the fixture site once before any window or run exists, then GoogleTest.
#include <gtest/gtest.h>

#include <QApplication>

#include "search/settings.h"
#include "tests/support/fixturesite.h"

namespace lq::test {

FixtureSite& SharedSite() {
    static FixtureSite site(FixtureSite::Unserved::DemoPages);
    return site;
}

}  // namespace lq::test

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    const std::string base = lq::test::SharedSite().Base();
    lq::OverrideSites(base, base);
    return RUN_ALL_TESTS();
}

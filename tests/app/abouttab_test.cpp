// The about tab: the link and donation buttons open the program's own fixed addresses, the
// group link follows its rule, and a click in the account box copies exactly the account.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include "app/superbutton.h"
#include "search/settings.h"
#include "tests/app/windowtesting.h"
#include "text/codepage.h"

namespace lq::test {
namespace {

QString Utf8(const std::string& gbk) { return Qs(GbkToUtf8(gbk)); }

class AboutTab : public testing::Test {
protected:
    void SetUp() override {
        window.SetOpener([this](const QString& address) { opened.push_back(address); });
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
        window.SelectPage(2);
    }

    MainWindow window;
    std::vector<QString> opened;
};

TEST_F(AboutTab, ButtonsOpenTheirFixedAddresses) {
    const Settings& settings = CurrentSettings();
    const struct {
        const char* control;
        std::string address;
    } cases[] = {
        {"超级按钮3", settings.officialSiteAddress},
        {"超级按钮2", settings.newsSiteAddress},
        {"按钮3", settings.donationPageAddress},
        {"按钮2", settings.groupJoinLink},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.control);
        opened.clear();
        auto* button = Find<QAbstractButton>(window, c.control);
        ASSERT_NE(button, nullptr);
        // Near the right edge of the caption: any point of the button opens the bare address.
        QTest::mouseClick(button, Qt::LeftButton, {},
                          QPoint(button->width() - 3, button->height() / 2));
        ASSERT_EQ(opened.size(), 1u);
        EXPECT_EQ(opened[0], Utf8(c.address));
        QTest::mouseClick(button, Qt::LeftButton);
        EXPECT_EQ(opened.size(), 2u);
    }
}

TEST(GroupJoinLink, IsTheHexOfTheGroupObjectAfterTheFixedPrefix) {
    const Settings& settings = CurrentSettings();
    const std::string prefix = "tencent://groupwpa/?subcmd=all&param=";
    const std::string json =
        "{\"groupUin\":" + settings.groupNumber + ",\"timeStamp\":1377235389}\n";
    std::string hex;
    for (unsigned char byte : json) {
        static constexpr char kDigits[] = "0123456789ABCDEF";
        hex += kDigits[byte >> 4];
        hex += kDigits[byte & 15];
    }
    ASSERT_FALSE(settings.groupNumber.empty());
    for (char digit : settings.groupNumber) EXPECT_TRUE(digit >= '0' && digit <= '9');
    EXPECT_EQ(settings.groupJoinLink, prefix + hex);
    EXPECT_EQ(hex.size(), 2 * (37 + settings.groupNumber.size()));
}

class CopyAccount : public AboutTab {
protected:
    // Releases the left button over the account box; the message box it raises is read and
    // dismissed from a timer, as a user would press OK.
    void ReleaseOverAccountBox(QPoint at) {
        QTimer::singleShot(0, [this] {
            WaitUntil([] { return QApplication::activeModalWidget() != nullptr; }, 5000);
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (box == nullptr) return;
            ++boxes;
            title = box->windowTitle();
            text = box->text();
            icon = box->icon();
            buttonCount = static_cast<int>(box->buttons().size());
            box->button(QMessageBox::Ok)->click();
        });
        QTest::mouseRelease(accountBox(), Qt::LeftButton, {}, at);
    }

    QLineEdit* accountBox() { return Find<QLineEdit>(window, "编辑框2"); }

    int boxes = 0;
    QString title, text;
    QMessageBox::Icon icon = QMessageBox::Information;
    int buttonCount = 0;
};

TEST_F(CopyAccount, PutsExactlyTheAccountOnTheClipboardAndSaysSo) {
    const QString account = Utf8(CurrentSettings().donationAccount);
    QGuiApplication::clipboard()->setText(QStringLiteral("something else"));
    QTest::mousePress(accountBox(), Qt::LeftButton, {}, QPoint(5, 10));
    ReleaseOverAccountBox(QPoint(5, 10));
    EXPECT_EQ(QGuiApplication::clipboard()->text(), account);
    EXPECT_EQ(boxes, 1);
    EXPECT_EQ(title, QStringLiteral("信息："));
    EXPECT_EQ(text, QStringLiteral("账号已复制"));
    EXPECT_EQ(icon, QMessageBox::NoIcon);
    EXPECT_EQ(buttonCount, 1);

    // Every release copies again, the whole setting even when part of the box is selected or
    // the box's text differs from it.
    QGuiApplication::clipboard()->setText(QStringLiteral("changed"));
    accountBox()->setSelection(1, 3);
    ReleaseOverAccountBox(QPoint(40, 10));
    EXPECT_EQ(QGuiApplication::clipboard()->text(), account);
    EXPECT_EQ(boxes, 2);
}

TEST_F(CopyAccount, OtherButtonsAndReleasesOutsideTheBoxCopyNothing) {
    QGuiApplication::clipboard()->setText(QStringLiteral("untouched"));
    bool boxShown = false;
    QTimer guard;  // a box that should not be there must not hang the test
    QObject::connect(&guard, &QTimer::timeout, [&boxShown] {
        if (QWidget* box = QApplication::activeModalWidget()) {
            boxShown = true;
            box->close();
        }
    });
    guard.start(100);
    QTest::mouseRelease(accountBox(), Qt::RightButton, {}, QPoint(5, 10));
    QTest::mouseRelease(accountBox(), Qt::LeftButton, {}, QPoint(-20, 10));
    QTest::qWait(20);
    EXPECT_FALSE(boxShown);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("untouched"));
}

}  // namespace
}  // namespace lq::test

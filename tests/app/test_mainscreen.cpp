#include "app/EnterKey.h"
#include "app/MainScreen.h"
#include "app/PictureBox.h"
#include "app/StartUp.h"
#include "data/Text.h"
#include "draw/DrawCycle.h"
#include "draw/TierChooser.h"
#include "tests/support/TestEvent.h"

#include <QDir>
#include <QLineEdit>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

using namespace pd;
using namespace pd::test;

namespace {
QString u8(const char* s)
{
    return QString::fromUtf8(s);
}
} // namespace

class TestMainScreen : public QObject
{
    Q_OBJECT
private slots:
    void init()
    {
        m_cwd = std::make_unique<QTemporaryDir>();
        QDir::setCurrent(m_cwd->path());
    }

    void elementsAtTheirDesignPlaces_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("place");
        QTest::newRow("main title") << u8("透明标签_主标题") << QRect(32, 32, 976, 61);
        QTest::newRow("subtitle") << u8("透明标签_副标题") << QRect(8, 128, 1024, 40);
        QTest::newRow("photo frame") << u8("图片框_照片") << QRect(696, -16, 500, 400);
        QTest::newRow("winner") << u8("透明标签_中奖人") << QRect(68, 344, 920, 80);
        QTest::newRow("announcement") << u8("透明标签_恭喜") << QRect(-8, 440, 976, 48);
        QTest::newRow("prize name") << u8("透明标签_奖品名称") << QRect(728, 400, 272, 32);
        QTest::newRow("prize picture") << u8("图片框_奖品") << QRect(728, 440, 272, 224);
        QTest::newRow("left bar") << u8("分隔条_左") << QRect(712, 416, 1, 232);
        QTest::newRow("right bar") << u8("分隔条_右") << QRect(968, 408, 1, 224);
        QTest::newRow("top bar") << u8("分隔条_上") << QRect(720, 408, 240, 1);
        QTest::newRow("bottom bar") << u8("分隔条_下") << QRect(736, 632, 224, 1);
        QTest::newRow("button") << u8("超级按钮") << QRect(416, 584, 200, 70);
        QTest::newRow("button handle") << u8("透明标签_移动按钮") << QRect(616, 584, 48, 72);
        QTest::newRow("tier caption") << u8("透明标签_奖项等级") << QRect(51, 697, 125, 40);
        QTest::newRow("tier chooser") << u8("组合框1") << QRect(180, 704, 108, 27);
        QTest::newRow("progress") << u8("透明标签_抽取进度") << QRect(296, 704, 80, 40);
    }
    void elementsAtTheirDesignPlaces()
    {
        QFETCH(QString, name);
        QFETCH(QRect, place);
        TestEvent event;
        MainScreen& screen = event.shell().screen();
        auto* element = screen.findChild<QWidget*>(name);
        QVERIFY(element);
        QCOMPARE(element->geometry(), place);
    }

    void designLook()
    {
        TestEvent event;
        MainScreen& s = event.shell().screen();
        QCOMPARE(s.geometry(), QRect(50, 50, 1000, 760));
        QCOMPARE(s.超级按钮->text(), u8("开始抽奖"));
        QCOMPARE(s.超级按钮->toolTip(), u8("点击开始抽奖（或按空格键开始）"));
        QCOMPARE(s.透明标签_奖项等级->text(), u8("选择奖项等级："));
        // 64 px at 96 dots per inch is 48 points; the title is bold and white.
        QCOMPARE(s.透明标签_主标题->font().pointSize(), 48);
        QVERIFY(s.透明标签_主标题->font().bold());
        QCOMPARE(s.透明标签_中奖人->palette().color(QPalette::WindowText), QColor(255, 255, 0));
        QCOMPARE(s.透明标签_抽取进度->palette().color(QPalette::WindowText), QColor(255, 128, 0));
        for (QAction* a : {s.窗口, s.全屏, s.启用背景音乐, s.禁用背景音乐})
            QVERIFY(a->isCheckable() && !a->isChecked());
    }

    void modeSwitches()
    {
        TestEvent event;
        Shell& shell = event.shell();
        shell.start();
        MainScreen& s = shell.screen();
        QCOMPARE(s.geometry(), QRect(0, 0, 1366, 768));
        QVERIFY(s.windowFlags() & Qt::FramelessWindowHint);

        s.setWindowMode();
        QVERIFY(!(s.windowFlags() & Qt::FramelessWindowHint));
        QCOMPARE(s.geometry().topLeft(), QPoint(0, 0));
        QCOMPARE(s.geometry().size(), QSize(1366, 768));
        QVERIFY(s.窗口->isChecked() && !s.全屏->isChecked());
        QCOMPARE(shell.session().settings.readKey(u"zbt", u"界面大小"), u8("窗口"));

        // Resizing the window moves no element; full-screen puts it back at screen size.
        const QPoint button = s.超级按钮->pos();
        s.setGeometry(100, 100, 800, 600);
        QCOMPARE(s.超级按钮->pos(), button);
        s.setFullScreenMode();
        s.setFullScreenMode();
        QCOMPARE(s.geometry(), QRect(0, 0, 1366, 768));
        QVERIFY(!s.窗口->isChecked() && s.全屏->isChecked());
        QCOMPARE(event.readFile(u8("peizhi.a")).count(toLocal8(u8("界面大小"))), 1);
        QCOMPARE(shell.session().settings.readKey(u"zbt", u"界面大小"), u8("全屏"));
    }

    void closingAsksFirst_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("exits");
        QTest::newRow("cancel") << int(MessageAnswer::Cancel) << false;
        QTest::newRow("ok") << int(MessageAnswer::Ok) << true;
    }
    void closingAsksFirst()
    {
        QFETCH(int, answer);
        QFETCH(bool, exits);
        TestEvent event;
        Shell& shell = event.shell();
        shell.start();
        event.dialogs.messageAnswers.push_back(MessageAnswer(answer));
        // Esc, like the close box, goes through the confirmation.
        QTest::keyClick(&shell.screen(), Qt::Key_Escape);
        QCOMPARE(event.dialogs.messages.size(), 1);
        QCOMPARE(event.dialogs.messages[0].caption, u8("确定退出吗？"));
        QCOMPARE(event.dialogs.messages[0].text,
                 u8("程序退出后再运行，将是完全重新抽奖！再次抽奖时，上次抽奖结果将被覆盖，"
                    "请注意另存！确定退出程序吗？"));
        QCOMPARE(event.dialogs.messages[0].style, MessageStyle::OkCancel);
        QCOMPARE(event.desktop.exitCode, exits ? 0 : -1);
        QCOMPARE(shell.screen().isVisible(), !exits);
    }

    // Enter runs the draw while the main window is active, once per press however long the
    // key is held, and not at all during the cool-down after a Stop.
    void enterKeyStartsAndStops()
    {
        TestEvent event;
        event.addPhotos({u8("甲"), u8("乙"), u8("丙")});
        event.writeSettings({{u8("zbt"), {{u8("特等奖"), u8("一等奖")}, {u8("特等奖人数"), u8("2")}}}});
        Shell& shell = event.shell();
        shell.start();
        MainScreen& s = shell.screen();
        s.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&s));
        QVERIFY(shell.enterKey().hotKeyId() != 0);
        s.组合框1->setEditText(u8("一等奖"));
        shell.tierChooser().chooseTier(true);

        QTest::keyClick(s.组合框1->lineEdit(), Qt::Key_Return);
        QCOMPARE(shell.drawCycle().phase(), DrawCycle::Phase::Rolling);
        QTest::keyEvent(QTest::Press, s.超级按钮, Qt::Key_Enter, Qt::KeypadModifier);
        QCOMPARE(shell.drawCycle().phase(), DrawCycle::Phase::Cooling);
        // During the cool-down Enter does nothing: the same pick is never recorded twice.
        QTest::keyClick(&s, Qt::Key_Return);
        QCOMPARE(shell.session().results.pickLog().count(u8("\r\n")), 1);
        shell.drawCycle().reenableTick();
        // A held key repeats; the repeats are swallowed.
        QKeyEvent repeat(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QString(), true);
        QApplication::sendEvent(s.超级按钮, &repeat);
        QCOMPARE(shell.drawCycle().phase(), DrawCycle::Phase::Idle);

        shell.enterKey().releaseEnterHotKey();
        QTest::keyClick(s.超级按钮, Qt::Key_Return);
        QCOMPARE(shell.drawCycle().phase(), DrawCycle::Phase::Idle);
    }

    // A modal box gets its own Return, not the draw.
    void modalBoxKeepsItsReturn()
    {
        TestEvent event;
        Shell& shell = event.shell();
        shell.start();
        shell.screen().activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&shell.screen()));
        int presses = 0;
        EnterKey probe(&shell.screen(), [&presses] { ++presses; });
        probe.registerEnterHotKey();
        QMessageBox box(QMessageBox::NoIcon, u8("信息："), u8("测试"), QMessageBox::Ok,
                        &shell.screen());
        box.setDefaultButton(QMessageBox::Ok);
        QTimer::singleShot(50, &box, [&box] { QTest::keyClick(&box, Qt::Key_Return); });
        // Should the key go astray, the box closes as cancelled instead of waiting forever.
        QTimer::singleShot(5000, &box, &QDialog::reject);
        QCOMPARE(box.exec(), int(QMessageBox::Ok));
        QCOMPARE(presses, 0);
    }

private:
    std::unique_ptr<QTemporaryDir> m_cwd;
};

QTEST_MAIN(TestMainScreen)
#include "test_mainscreen.moc"

#include "screen/ContextMenu.h"

#include "app/MainScreen.h"
#include "app/PictureBox.h"
#include "app/StartUp.h"
#include "settings/SettingsPanel.h"
#include "tests/support/TestEvent.h"

#include <QApplication>
#include <QDir>
#include <QMenu>
#include <QTest>
#include <QTimer>

using namespace pd;
using namespace pd::test;

namespace {
QString u8(const char* s)
{
    return QString::fromUtf8(s);
}

struct Shown
{
    bool opened = false;
    QPoint place;
};

// Answers the popup that the next right press opens: notes where it stood and picks the item
// at the given path, or closes it when the path is empty.
void answerNextPopup(Shown& shown, const QStringList& path = {})
{
    QTimer::singleShot(0, [&shown, path] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (!menu)
            return;
        // The chooser's text box has its own edit menu; only "更换" counts.
        shown.opened = menu->title() == u"更换";
        shown.place = menu->pos();
        if (path.isEmpty()) {
            menu->close();
            return;
        }
        QMenu* level = menu;
        for (const QString& text : path) {
            for (QAction* action : level->actions()) {
                if (action->text() != text)
                    continue;
                if (action->menu())
                    level = action->menu();
                else
                    action->trigger();
                break;
            }
        }
        menu->close();
    });
}
} // namespace

class TestContextMenu : public QObject
{
    Q_OBJECT
private slots:
    void init()
    {
        m_cwd = std::make_unique<QTemporaryDir>();
        QDir::setCurrent(m_cwd->path());
    }

    void treeHasElevenEntriesInOrderWithFourBranches()
    {
        TestEvent event;
        Shell& shell = event.shell();
        shell.startUp().startUp();
        const std::unique_ptr<QMenu> menu = shell.contextMenu().buildMenu();

        QStringList top;
        QStringList branches;
        for (QAction* action : menu->actions()) {
            QVERIFY(!action->isSeparator());
            QVERIFY(action->isEnabled());
            top << action->text();
            if (action->menu())
                branches << action->text();
        }
        QCOMPARE(top, (QStringList{u8("更换主标题"), u8("更换副标题"), u8("奖项设置"),
                                   u8("设置抽奖照片数据"), u8("查看抽奖结果"), u8("背景图控制"),
                                   u8("背景音乐控制"), u8("字体颜色设置"), u8("界面大小"),
                                   u8("放弃当前中奖人"), u8("退出")}));
        QCOMPARE(branches, (QStringList{u8("背景图控制"), u8("背景音乐控制"), u8("字体颜色设置"),
                                        u8("界面大小")}));

        const QList<std::pair<int, QStringList>> children = {
            {5, {u8("更换背景图"), u8("取消背景图")}},
            {6, {u8("更换背景音乐"), u8("启用背景音乐"), u8("禁用背景音乐")}},
            {7, {u8("主标题"), u8("副标题"), u8("抽奖结果")}},
            {8, {u8("窗口"), u8("全屏")}},
        };
        for (const auto& [index, texts] : children) {
            QStringList seen;
            for (QAction* action : menu->actions().at(index)->menu()->actions())
                seen << action->text();
            QCOMPARE(seen, texts);
        }
        // Exactly the four mode and music items are checkable, and they are the screen's own.
        QVERIFY(menu->actions().at(6)->menu()->actions().at(1) == shell.screen().启用背景音乐);
        QVERIFY(menu->actions().at(8)->menu()->actions().at(1) == shell.screen().全屏);
    }

    void checkMarksFollowTheChosenItems()
    {
        TestEvent event;
        Shell& shell = event.shell();
        shell.start();
        MainScreen& s = shell.screen();
        QCursor::setPos(100, 100);

        Shown shown;
        answerNextPopup(shown, {u8("界面大小"), u8("窗口")});
        QTest::mousePress(s.透明标签_主标题, Qt::RightButton);
        QVERIFY(shown.opened);
        QVERIFY(s.窗口->isChecked());
        QVERIFY(!s.全屏->isChecked());

        for (const QStringList& path : {QStringList{u8("界面大小"), u8("全屏")},
                                        QStringList{u8("背景音乐控制"), u8("启用背景音乐")},
                                        QStringList{u8("背景音乐控制"), u8("禁用背景音乐")}}) {
            answerNextPopup(shown, path);
            QTest::mousePress(s.透明标签_主标题, Qt::RightButton);
        }
        // A fresh menu shows the marks as they now stand.
        const std::unique_ptr<QMenu> menu = shell.contextMenu().buildMenu();
        const QList<QAction*> mode = menu->actions().at(8)->menu()->actions();
        const QList<QAction*> music = menu->actions().at(6)->menu()->actions();
        QVERIFY(!mode.at(0)->isChecked());
        QVERIFY(mode.at(1)->isChecked());
        QVERIFY(!music.at(0)->isCheckable());
        QVERIFY(!music.at(1)->isChecked());
        QVERIFY(music.at(2)->isChecked());
        QCOMPARE(shell.session().settings.readKey(u"zbt", u"界面大小"), u8("全屏"));
        QCOMPARE(shell.session().settings.readKey(u"zbt", u"背景音乐"), u8("假"));
    }

    void rightPressOpensTheMenuOnlyOnTheListedElements_data()
    {
        QTest::addColumn<QString>("element");
        QTest::addColumn<bool>("opens");
        QTest::newRow("window") << u8("MainScreen") << true;
        QTest::newRow("photo frame") << u8("图片框_照片") << true;
        QTest::newRow("prize picture") << u8("图片框_奖品") << true;
        QTest::newRow("progress") << u8("透明标签_抽取进度") << true;
        QTest::newRow("tier chooser") << u8("组合框1") << false;
        QTest::newRow("tier caption") << u8("透明标签_奖项等级") << false;
        QTest::newRow("button") << u8("超级按钮") << false;
        QTest::newRow("button handle") << u8("透明标签_移动按钮") << false;
        QTest::newRow("frame bar") << u8("分隔条_下") << false;
        QTest::newRow("settings panel") << u8("外形框1") << false;
        QTest::newRow("settings group") << u8("分组框1") << false;
    }

    void rightPressOpensTheMenuOnlyOnTheListedElements()
    {
        QFETCH(QString, element);
        QFETCH(bool, opens);
        TestEvent event;
        Shell& shell = event.shell();
        shell.start();
        MainScreen& s = shell.screen();
        // Hidden after start-up; shown here so that they can be pressed.
        s.图片框_照片->show();
        s.图片框_奖品->show();
        s.分隔条_下->show();
        if (element == u"外形框1" || element == u"分组框1")
            shell.settingsPanel().show();
        QWidget* target = element == u"MainScreen" ? &s : s.findChild<QWidget*>(element);
        QVERIFY(target);
        QCursor::setPos(200, 150);

        Shown shown;
        answerNextPopup(shown);
        // A spot of the window that no element covers.
        QTest::mousePress(target, Qt::RightButton, {},
                          target == &s ? QPoint(5, 300) : QPoint(5, qMin(target->height() / 2, 5)));
        QCoreApplication::processEvents();
        QCOMPARE(shown.opened, opens);
        if (opens)
            QCOMPARE(shown.place, QPoint(203, 153));
    }

    void chosenCommandRunsOnceAndDismissingRunsNothing()
    {
        TestEvent event;
        Shell& shell = event.shell();
        shell.start();
        QCursor::setPos(100, 100);
        Shown shown;
        answerNextPopup(shown);
        QTest::mousePress(shell.screen().透明标签_副标题, Qt::RightButton);
        QVERIFY(shown.opened);
        QVERIFY(event.desktop.opened.isEmpty());

        answerNextPopup(shown, {u8("查看抽奖结果")});
        QTest::mousePress(shell.screen().透明标签_副标题, Qt::RightButton);
        QCOMPARE(event.desktop.opened.size(), 1);
        QVERIFY(event.desktop.opened.first().endsWith(u8("抽奖结果.txt")));
    }

private:
    std::unique_ptr<QTemporaryDir> m_cwd;
};

QTEST_MAIN(TestContextMenu)
#include "test_contextmenu.moc"

#include "screen/ElementDrag.h"

#include "app/MainScreen.h"
#include "app/PictureBox.h"
#include "app/StartUp.h"
#include "draw/DrawCycle.h"
#include "screen/FrameBars.h"
#include "settings/SettingsPanel.h"
#include "tests/support/TestEvent.h"

#include <QDir>
#include <QGroupBox>
#include <QLineEdit>
#include <QTest>

using namespace pd;
using namespace pd::test;

namespace {
QString u8(const char* s)
{
    return QString::fromUtf8(s);
}

// Press at a point of the widget, move the mouse by delta in two steps, release there. The
// events go to the pressed widget, as the mouse grab of a real press would send them.
void dragBy(QWidget* pressed, QPoint delta, QPoint at = {2, 2})
{
    const QPoint start = pressed->mapToGlobal(at);
    QTest::mousePress(pressed, Qt::LeftButton, {}, at);
    QTest::mouseMove(pressed, pressed->mapFromGlobal(start + delta / 2));
    QTest::mouseMove(pressed, pressed->mapFromGlobal(start + delta));
    QTest::mouseRelease(pressed, Qt::LeftButton, {}, pressed->mapFromGlobal(start + delta));
}

QString zweizhi(Shell& shell, const QString& key)
{
    return shell.session().settings.readKeyOr(u"zweizhi", key, u8("<none>"));
}
} // namespace

class TestElementDrag : public QObject
{
    Q_OBJECT
private slots:
    void init()
    {
        m_cwd = std::make_unique<QTemporaryDir>();
        QDir::setCurrent(m_cwd->path());
    }

    void dragStoresThePlace_data()
    {
        QTest::addColumn<QString>("pressed");
        QTest::addColumn<QString>("moved");
        QTest::addColumn<QString>("prefix");
        QTest::addColumn<QPoint>("delta");
        QTest::newRow("photo frame")
            << u8("图片框_照片") << u8("图片框_照片") << u8("图片框_照片") << QPoint(30, 20);
        // Start-up puts the main title at x = 32: a drag 40 left stores -8.
        QTest::newRow("main title off the left edge")
            << u8("透明标签_主标题") << u8("透明标签_主标题") << u8("标签1") << QPoint(-40, -35);
        QTest::newRow("subtitle") << u8("透明标签_副标题") << u8("透明标签_副标题") << u8("标签2")
                                  << QPoint(15, 7);
        QTest::newRow("winner") << u8("透明标签_中奖人") << u8("透明标签_中奖人")
                                << u8("标签_中奖人") << QPoint(0, -50);
        QTest::newRow("announcement")
            << u8("透明标签_恭喜") << u8("透明标签_恭喜") << u8("透明标签_恭喜") << QPoint(-3, 11);
        QTest::newRow("progress") << u8("透明标签_抽取进度") << u8("透明标签_抽取进度")
                                  << u8("透明标签_抽取进度") << QPoint(100, -100);
        QTest::newRow("tier caption") << u8("透明标签_奖项等级") << u8("透明标签_奖项等级")
                                      << u8("透明标签_奖项等级") << QPoint(12, -4);
        QTest::newRow("button by its handle")
            << u8("透明标签_移动按钮") << u8("超级按钮") << u8("超级按钮") << QPoint(-200, -300);
        QTest::newRow("prize picture")
            << u8("图片框_奖品") << u8("图片框_奖品") << u8("图片框_奖品") << QPoint(-500, 60);
        QTest::newRow("tier chooser")
            << u8("组合框1") << u8("组合框1") << u8("组合框1") << QPoint(40, -90);
    }

    void dragStoresThePlace()
    {
        QFETCH(QString, pressed);
        QFETCH(QString, moved);
        QFETCH(QString, prefix);
        QFETCH(QPoint, delta);
        TestEvent event;
        Shell& shell = event.shell();
        shell.start();
        MainScreen& s = shell.screen();
        QWidget* pressedWidget = s.findChild<QWidget*>(pressed);
        QWidget* movedWidget = s.findChild<QWidget*>(moved);
        if (pressedWidget == s.组合框1)
            pressedWidget = s.组合框1->lineEdit();
        const QPoint origin = movedWidget->pos();

        dragBy(pressedWidget, delta);

        QCOMPARE(movedWidget->pos(), origin + delta);
        QCOMPARE(zweizhi(shell, prefix + u8("左边")), QString::number(origin.x() + delta.x()));
        QCOMPARE(zweizhi(shell, prefix + u8("顶边")), QString::number(origin.y() + delta.y()));
        QVERIFY(!shell.elementDrag().isDragging());
        // Start-up puts the element back where it was dropped.
        movedWidget->move(0, 0);
        shell.startUp().startUp();
        QCOMPARE(movedWidget->pos(), origin + delta);
    }

    void followUpsOfTheDrag()
    {
        TestEvent event;
        Shell& shell = event.shell();
        shell.start();
        MainScreen& s = shell.screen();
        QGroupBox* group = shell.settingsPanel().分组框1;

        dragBy(s.图片框_奖品, {-300, -100});
        const QRect p = s.图片框_奖品->geometry();
        const QRect name = s.透明标签_奖品名称->geometry();
        QCOMPARE(name.x(), p.x());
        QCOMPARE(name.width(), p.width());
        QCOMPARE(name.y() + name.height(), p.y() - 1);
        QCOMPARE(s.分隔条_左->geometry(), QRect(p.x(), p.y(), 1, p.height()));
        QCOMPARE(s.分隔条_上->geometry(), QRect(p.x(), p.y(), p.width(), 1));
        QCOMPARE(s.分隔条_右->geometry(), QRect(p.x() + p.width(), p.y(), 1, p.height()));
        QCOMPARE(s.分隔条_下->geometry(), QRect(p.x(), p.y() + p.height(), p.width(), 1));

        dragBy(s.透明标签_移动按钮, {-100, -50});
        QCOMPARE(s.透明标签_移动按钮->pos(),
                 QPoint(s.超级按钮->x() + s.超级按钮->width(), s.超级按钮->y()));

        for (QLabel* title : {s.透明标签_主标题, s.透明标签_副标题, s.透明标签_恭喜}) {
            group->lower();
            QVERIFY(group->parentWidget()->children().constLast() != group);
            dragBy(title, {1, 1});
            QCOMPARE(group->parentWidget()->children().constLast(), group);
        }
        group->lower();
        dragBy(s.透明标签_中奖人, {1, 1});
        QVERIFY(group->parentWidget()->children().constLast() != group);
    }

    void chooserStaysUsable()
    {
        TestEvent event;
        event.writeSettings(
            {{u8("zbt"), {{u8("特等奖"), u8("VIP")}, {u8("特等奖人数"), u8("2")}}}});
        Shell& shell = event.shell();
        shell.start();
        MainScreen& s = shell.screen();
        QLineEdit* edit = s.组合框1->lineEdit();
        const QPoint origin = s.组合框1->pos();

        // A press without a move (or with a jitter below the drag distance) writes the keys
        // with unchanged values and leaves the chooser in place.
        dragBy(edit, {1, 1});
        QCOMPARE(s.组合框1->pos(), origin);
        QCOMPARE(zweizhi(shell, u8("组合框1左边")), QString::number(origin.x()));
        QCOMPARE(zweizhi(shell, u8("组合框1顶边")), QString::number(origin.y()));

        // Typing still chooses the tier.
        QTest::keyClicks(edit, "VIP");
        QCOMPARE(s.chooserText(), u8("VIP"));
        QCOMPARE(shell.session().state.tierLimit, 3);
    }

    void buttonClickStillRunsTheDraw()
    {
        TestEvent event;
        Shell& shell = event.shell();
        shell.start();
        MainScreen& s = shell.screen();
        const QPoint origin = s.超级按钮->pos();

        QTest::mouseClick(s.超级按钮, Qt::LeftButton);

        QCOMPARE(s.超级按钮->pos(), origin);
        QCOMPARE(zweizhi(shell, u8("超级按钮左边")), u8("<none>"));
        // No tiers set up: the draw's own answer shows that the click reached it.
        QCOMPARE(event.dialogs.messages.size(), 1);
        QCOMPARE(event.dialogs.messages.first().text, u8("没有本奖项或本奖项已经抽取完毕！"));
    }

    void barDragResizesThePicture_data()
    {
        QTest::addColumn<QString>("bar");
        QTest::addColumn<int>("d");
        QTest::addColumn<QRect>("change"); // added to the picture's left, top, width, height
        QTest::newRow("bottom 30 down") << u8("分隔条_下") << 30 << QRect(0, 0, 0, 30);
        QTest::newRow("top 10 up") << u8("分隔条_上") << -10 << QRect(0, -10, 0, 10);
        QTest::newRow("left 20 right") << u8("分隔条_左") << 20 << QRect(20, 0, -20, 0);
        QTest::newRow("right 15 left") << u8("分隔条_右") << -15 << QRect(0, 0, -15, 0);
    }

    void barDragResizesThePicture()
    {
        QFETCH(QString, bar);
        QFETCH(int, d);
        QFETCH(QRect, change);
        TestEvent event;
        Shell& shell = event.shell();
        shell.start();
        MainScreen& s = shell.screen();
        QWidget* barWidget = s.findChild<QWidget*>(bar);
        const bool vertical = barWidget->width() == 1;
        const QRect before = s.图片框_奖品->geometry();
        const QRect nameBefore = s.透明标签_奖品名称->geometry();

        // The cross-axis part of the mouse move is ignored: a bar moves along its axis only.
        dragBy(barWidget, vertical ? QPoint(d, 7) : QPoint(7, d), {0, 0});

        const QRect p = s.图片框_奖品->geometry();
        QCOMPARE(p.x(), before.x() + change.x());
        QCOMPARE(p.y(), before.y() + change.y());
        QCOMPARE(p.width(), before.width() + change.width());
        QCOMPARE(p.height(), before.height() + change.height());
        QCOMPARE(s.透明标签_奖品名称->geometry(), nameBefore);
        // Reframed: left and top bars one pixel outside the picture.
        QCOMPARE(s.分隔条_左->geometry(), QRect(p.x() - 1, p.y(), 1, p.height()));
        QCOMPARE(s.分隔条_上->geometry(), QRect(p.x(), p.y() - 1, p.width(), 1));
        QCOMPARE(s.分隔条_右->geometry(), QRect(p.x() + p.width(), p.y(), 1, p.height()));
        QCOMPARE(s.分隔条_下->geometry(), QRect(p.x(), p.y() + p.height(), p.width(), 1));
        // The edge opposite the dragged bar stays.
        if (bar == u"分隔条_左")
            QCOMPARE(p.x() + p.width(), before.x() + before.width());
        if (bar == u"分隔条_上")
            QCOMPARE(p.y() + p.height(), before.y() + before.height());
        // Nothing of the resize is stored.
        QCOMPARE(zweizhi(shell, u8("图片框_奖品左边")), u8("<none>"));
    }

private:
    std::unique_ptr<QTemporaryDir> m_cwd;
};

QTEST_MAIN(TestElementDrag)
#include "test_elementdrag.moc"

#include "draw/Abandon.h"

#include "app/MainScreen.h"
#include "app/PictureBox.h"
#include "data/Text.h"
#include "draw/DrawCycle.h"
#include "draw/TierChooser.h"
#include "tests/support/TestEvent.h"

#include <QDir>
#include <QTest>

using namespace pd;
using namespace pd::test;

namespace {
QString u8(const char* s)
{
    return QString::fromUtf8(s);
}

const QString kAbandonLine = QString(24, u' ') + u8("(上一个中奖人放弃)\r\n");

// An event of one tier "一等奖" of three winners and five participants, the tier chosen.
struct ThreeWinnerTier
{
    ThreeWinnerTier()
    {
        event.writeSettings(
            {{u8("zbt"), {{u8("特等奖"), u8("一等奖")}, {u8("特等奖人数"), u8("3")}}}});
        event.addPhotos({u8("张三"), u8("李四"), u8("王五"), u8("赵六"), u8("钱七")});
        shell.start();
        shell.screen().组合框1->setCurrentIndex(0);
        shell.tierChooser().chooseTier(true);
    }

    void drawOne()
    {
        shell.drawCycle().startStop();
        shell.drawCycle().startStop();
        shell.drawCycle().reenableTick();
    }

    void abandon() { abandonWinner(shell.screen(), shell.session(), shell.drawCycle()); }

    QString progress() const { return shell.screen().透明标签_抽取进度->text(); }

    TestEvent event;
    Shell& shell = event.shell();
};
} // namespace

class TestAbandon : public QObject
{
    Q_OBJECT
private slots:
    void init()
    {
        m_cwd = std::make_unique<QTemporaryDir>();
        QDir::setCurrent(m_cwd->path());
    }

    void abandonGivesThePlaceBack()
    {
        ThreeWinnerTier t;
        t.drawOne();
        t.drawOne();
        QCOMPARE(t.progress(), u8("一等奖 已抽取2名"));
        t.event.dialogs.messages.clear();

        t.abandon();

        QCOMPARE(t.event.dialogs.messages.size(), 1);
        QCOMPARE(t.event.dialogs.messages.first().text, u8("确定放弃当前中奖人的奖项吗？"));
        QCOMPARE(t.event.dialogs.messages.first().caption, u8("确定放弃当前奖项？"));
        QCOMPARE(t.event.dialogs.messages.first().style, MessageStyle::OkCancel);
        MainScreen& s = t.shell.screen();
        QCOMPARE(t.shell.session().state.nextOrdinal, 2);
        QCOMPARE(t.progress(), u8("一等奖 已抽取1名"));
        QCOMPARE(t.shell.session().state.completedCount[0], 1);
        QVERIFY(!s.图片框_照片->hasPicture());
        QCOMPARE(s.透明标签_恭喜->text(), QString());
        // The abandoned winner's name stays; the results keep the line and get the note.
        QVERIFY(!s.透明标签_中奖人->text().isEmpty());
        QVERIFY(t.shell.session().results.results().endsWith(kAbandonLine));
        QVERIFY(t.event.readFile(u8("抽奖结果.txt")).endsWith(toLocal8(kAbandonLine)));

        // The replacement takes the same place.
        t.drawOne();
        QCOMPARE(t.progress(), u8("一等奖 已抽取2名"));
    }

    void abandonReopensAClosedTier()
    {
        ThreeWinnerTier t;
        for (int i = 0; i < 3; ++i)
            t.drawOne();
        t.shell.drawCycle().startStop();
        QCOMPARE(t.event.dialogs.messages.last().text, u8("本奖项抽取完毕"));
        QCOMPARE(t.shell.session().state.completedCount[0], 3);

        t.abandon();

        QCOMPARE(t.shell.session().state.completedCount[0], 2);
        t.shell.drawCycle().startStop();
        QCOMPARE(t.shell.drawCycle().phase(), DrawCycle::Phase::Rolling);
        t.shell.drawCycle().startStop();
        QCOMPARE(t.progress(), u8("一等奖 已抽取3名"));
    }

    void cancelChangesNothing()
    {
        ThreeWinnerTier t;
        t.drawOne();
        const QString results = t.shell.session().results.results();
        t.event.dialogs.messageAnswers.push_back(MessageAnswer::Cancel);

        t.abandon();

        QCOMPARE(t.shell.session().state.nextOrdinal, 2);
        QCOMPARE(t.progress(), u8("一等奖 已抽取1名"));
        QCOMPARE(t.shell.session().results.results(), results);
        QVERIFY(t.shell.screen().图片框_照片->hasPicture());
    }

    void withoutAWinnerInTheChosenTierNothingHappens()
    {
        ThreeWinnerTier t;
        t.drawOne();
        // Choosing the tier again restarts its ordinals.
        t.shell.tierChooser().chooseTier(true);
        t.event.dialogs.messages.clear();
        const QString progress = t.progress();

        t.abandon();
        t.abandon();

        QVERIFY(t.event.dialogs.messages.isEmpty());
        QCOMPARE(t.shell.session().state.nextOrdinal, 1);
        QCOMPARE(t.progress(), progress);
        QVERIFY(!t.shell.session().results.results().contains(kAbandonLine));
    }

private:
    std::unique_ptr<QTemporaryDir> m_cwd;
};

QTEST_MAIN(TestAbandon)
#include "test_abandon.moc"

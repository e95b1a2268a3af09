#include "draw/DrawCycle.h"

#include "app/EnterKey.h"
#include "app/MainScreen.h"
#include "app/PictureBox.h"
#include "app/StartUp.h"
#include "data/Text.h"
#include "draw/TierChooser.h"
#include "media/Celebration.h"
#include "tests/support/TestEvent.h"

#include <QDir>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

using namespace pd;
using namespace pd::test;

namespace {
QString u8(const char* s)
{
    return QString::fromUtf8(s);
}

const QString kClosed = u8("没有本奖项或本奖项已经抽取完毕！");
const QString kNoTier = u8("您没有选择任何奖项，请选择！");
const QString kTierDone = u8("本奖项抽取完毕");
const QString kEmptyPool = u8("信息提示：\r\n\r\n1、可能是提供的照片数量已经抽完\r\n\r\n"
                              "2、可能是PHOTO文件夹下没有照片");

class CountingCelebration final : public Celebration
{
public:
    void OpenOverlay() override
    {
        ++opened;
        open = true;
    }
    void CloseOverlay() override
    {
        if (open)
            ++closed;
        open = false;
    }
    bool IsOverlayOpen() const override { return open; }
    int opened = 0;
    int closed = 0;
    bool open = false;
};

QStringList lines(const QByteArray& bytes)
{
    return fromLocal8(bytes).split(u8("\r\n"), Qt::SkipEmptyParts);
}
} // namespace

class TestDrawCycle : public QObject
{
    Q_OBJECT
private:
    // An event with the given tiers (name, count) in rows 1.., photos, started up.
    Shell& startEvent(TestEvent& event, const QList<std::pair<QString, QString>>& tiers,
                      const QStringList& photos, Keys extra = {})
    {
        event.addPhotos(photos);
        Keys keys = extra;
        for (int i = 0; i < tiers.size(); ++i) {
            keys << std::pair{tierDesignName(i + 1), tiers[i].first}
                 << std::pair{tierDesignName(i + 1) + u8("人数"), tiers[i].second};
        }
        // Fill the unused rows so that no empty tier name matches an empty chooser.
        for (int i = tiers.size(); i < 8; ++i)
            keys << std::pair{tierDesignName(i + 1), u8("未用%1").arg(i + 1)}
                 << std::pair{tierDesignName(i + 1) + u8("人数"), u8("1")};
        event.writeSettings({{u8("zbt"), keys}});
        Shell& shell = event.shell();
        shell.startUp().startUp();
        return shell;
    }

    // A key press carrying a Chinese character, as an input method delivers it.
    static void typeInto(QWidget* edit, const QString& text)
    {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, text);
        QCoreApplication::sendEvent(edit, &press);
    }

    void choose(Shell& shell, const QString& tier)
    {
        shell.screen().组合框1->setEditText(tier);
        shell.tierChooser().chooseTier(true);
    }

    // One Start and one Stop with a few ticks between.
    void drawOnce(Shell& shell, int ticks = 3)
    {
        shell.drawCycle().startStop();
        QCOMPARE(shell.drawCycle().phase(), DrawCycle::Phase::Rolling);
        for (int i = 0; i < ticks; ++i)
            shell.drawCycle().pickerTick();
        shell.drawCycle().startStop();
        QCOMPARE(shell.drawCycle().phase(), DrawCycle::Phase::Cooling);
        shell.drawCycle().reenableTick();
        QCOMPARE(shell.drawCycle().phase(), DrawCycle::Phase::Idle);
    }

private slots:
    void init()
    {
        m_cwd = std::make_unique<QTemporaryDir>();
        QDir::setCurrent(m_cwd->path());
    }

    void checksInFrontOfADraw_data()
    {
        QTest::addColumn<bool>("emptyTierRow");
        QTest::addColumn<bool>("photos");
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<int>("style");
        QTest::newRow("no tier chosen") << false << true << QString() << kNoTier << u8("信息提示") << 0;
        QTest::newRow("empty tier row matches the empty chooser")
            << true << true << QString() << kClosed << u8("信息：") << 0;
        QTest::newRow("empty photo folder") << false << false << u8("一等奖") << kEmptyPool << u8("提示") << 16;
        QTest::newRow("count of zero is closed") << false << true << u8("零") << kClosed << u8("信息：") << 0;
    }
    void checksInFrontOfADraw()
    {
        QFETCH(bool, emptyTierRow);
        QFETCH(bool, photos);
        QFETCH(QString, chosen);
        QFETCH(QString, text);
        QFETCH(QString, caption);
        QFETCH(int, style);
        TestEvent event;
        Keys extra;
        if (emptyTierRow)
            extra << std::pair{tierDesignName(8), QString()} << std::pair{tierDesignName(8) + u8("人数"), QString()};
        Shell& shell = startEvent(event, {{u8("一等奖"), u8("2")}, {u8("零"), u8("0")}},
                                  photos ? QStringList{u8("甲"), u8("乙")} : QStringList{}, extra);
        if (emptyTierRow) {
            shell.session().store.setName(8, QString());
            shell.session().store.setWinnerCount(8, QString());
        }
        choose(shell, chosen);
        event.dialogs.messages.clear();
        shell.drawCycle().startStop();
        QCOMPARE(event.dialogs.messages.size(), 1);
        QCOMPARE(event.dialogs.messages[0].text, text);
        QCOMPARE(event.dialogs.messages[0].caption, caption);
        QCOMPARE(int(event.dialogs.messages[0].style), style);
        QCOMPARE(shell.drawCycle().phase(), DrawCycle::Phase::Idle);
        QVERIFY(event.readFile(u8("抽奖结果.txt")).isEmpty());
    }

    // A tier of 3: three winners, then "本奖项抽取完毕" closes it, then it reports closed.
    void tierOfThreeRunsToItsEnd()
    {
        TestEvent event;
        event.writeFile(u8("zj.txt"), QByteArray());
        const QStringList people{u8("甲"), u8("乙"), u8("丙"), u8("丁"), u8("戊")};
        Shell& shell = startEvent(event, {{u8("二等奖"), u8("3")}}, people);
        choose(shell, u8("二等奖"));
        for (int i = 0; i < 3; ++i)
            drawOnce(shell);

        const QStringList results = lines(event.readFile(u8("抽奖结果.txt")));
        QCOMPARE(results.size(), 3);
        QSet<QString> winners;
        for (const QString& line : results) {
            QVERIFY(line.endsWith(u8("  ------  二等奖")));
            winners.insert(line.section(u8("  ------  "), 0, 0));
        }
        QCOMPARE(winners.size(), 3);
        QVERIFY(QSet<QString>(people.begin(), people.end()).contains(winners));
        // The pick file gets the random picks; nobody is left twice in the pool.
        QStringList picks = results;
        picks.replaceInStrings(u8("  ------  二等奖"), QString());
        QCOMPARE(lines(event.readFile(u8("zj.txt"))), picks);
        QCOMPARE(shell.session().poolText.count(u8("\r\n")), 2);
        MainScreen& s = shell.screen();
        QCOMPARE(s.透明标签_抽取进度->text(), u8("二等奖 已抽取3名"));
        QCOMPARE(s.透明标签_抽取进度->width(), 176);
        QVERIFY(s.透明标签_恭喜->text().startsWith(u8("恭喜您： ")));
        QVERIFY(s.透明标签_恭喜->text().endsWith(u8("  二等奖")));
        QVERIFY(s.图片框_照片->hasPicture());
        QCOMPARE(event.sound.calls.count(u8("once:") + QString::number(285184 + 44)), 3);

        event.dialogs.messages.clear();
        shell.drawCycle().startStop();
        shell.drawCycle().startStop();
        QCOMPARE(event.dialogs.messages.size(), 2);
        QCOMPARE(event.dialogs.messages[0].text, kTierDone);
        QCOMPARE(event.dialogs.messages[1].text, kClosed);
        QCOMPARE(shell.session().state.completedCount[0], 3);
    }

    // Designated winners take the last draws of their tier; the pick file keeps the random
    // picks, and the designated names never come up at random.
    void designatedWinnersTakeTheLastDraws()
    {
        TestEvent event;
        event.writeFile(u8("zj.txt"), QByteArray("old content that is longer than the picks"));
        Shell& shell = startEvent(event, {{u8("一等奖"), u8("2")}},
                                  {u8("甲"), u8("乙"), u8("丙"), u8("丁"), u8("戊")});
        TierStore& store = shell.session().store;
        store.setDesignated(1, 1, u8("丁"));
        store.setDesignated(1, 2, u8("丙"));
        store.setDesignated(1, 3, u8("甲")); // a tier of 2 never reaches slot 3
        choose(shell, u8("一等奖"));
        drawOnce(shell);
        drawOnce(shell);

        // Slot 2 takes the second-last draw and slot 1 the last, byte for byte in the file.
        QCOMPARE(event.readFile(u8("抽奖结果.txt")),
                 toLocal8(u8("丙  ------  一等奖\r\n丁  ------  一等奖\r\n")));
        // 甲, 丙 and 丁 left the pool at Start, so only 乙 and 戊 rolled: the pick file holds
        // them, each once, and nothing of its older, longer content.
        QStringList picks = lines(event.readFile(u8("zj.txt")));
        picks.sort();
        QCOMPARE(picks, QStringList({u8("乙"), u8("戊")}));
        QCOMPARE(event.readFile(u8("zj.txt")).size(), 8);
        QVERIFY(shell.session().poolText.isEmpty());
    }

    void stopBeforeTheFirstTickPicksFromThisRoll()
    {
        TestEvent event;
        const QStringList people{u8("甲"), u8("乙"), u8("丙")};
        Shell& shell = startEvent(event, {{u8("一等奖"), u8("1")}}, people);
        choose(shell, u8("一等奖"));
        shell.session().state.pickIndex = 99; // left over from an earlier, larger roll
        shell.drawCycle().startStop();
        shell.drawCycle().startStop();
        QVERIFY(people.contains(shell.drawCycle().lastPick()));
        QCOMPARE(lines(event.readFile(u8("抽奖结果.txt"))).size(), 1);
    }

    void designatedNamesEmptyingThePoolKeepTheButtonReady()
    {
        TestEvent event;
        Shell& shell = startEvent(event, {{u8("一等奖"), u8("1")}}, {u8("甲")});
        shell.session().store.setDesignated(1, 1, u8("甲"));
        shell.screen().setMusicSwitch(true);
        choose(shell, u8("一等奖"));
        shell.drawCycle().startStop();
        QCOMPARE(shell.drawCycle().phase(), DrawCycle::Phase::Idle);
        QCOMPARE(event.dialogs.messages.size(), 1);
        QCOMPARE(event.dialogs.messages[0].text, kEmptyPool);
        QCOMPARE(event.sound.calls.last(), u8("stop"));
        QVERIFY(!shell.drawCycle().时钟_取随机->isActive());
    }

    void musicPlaysOnlyWhenSwitchedOn_data()
    {
        QTest::addColumn<bool>("on");
        QTest::newRow("on") << true;
        QTest::newRow("off") << false;
    }
    void musicPlaysOnlyWhenSwitchedOn()
    {
        QFETCH(bool, on);
        TestEvent event;
        Shell& shell = startEvent(event, {{u8("一等奖"), u8("1")}}, {u8("甲"), u8("乙")});
        shell.screen().setMusicSwitch(on);
        choose(shell, u8("一等奖"));
        shell.drawCycle().startStop();
        const QString loop = u8("loop:") + event.dir() + u8("/wav/bjyy.mp3");
        QCOMPARE(event.sound.calls.contains(loop), on);
        QCOMPARE(shell.drawCycle().时钟_取随机->interval(), 30);
        shell.drawCycle().startStop();
        QVERIFY(event.sound.calls.contains(u8("stop")));
    }

    // With effects on, the overlay opens after the winner and closes after its wait; a press
    // during the wait closes it at once, and that wait then leaves the next overlay alone.
    void celebrationOpensAndCloses()
    {
        TestEvent event;
        Shell& shell = startEvent(event, {{u8("一等奖"), u8("3")}},
                                  {u8("甲"), u8("乙"), u8("丙"), u8("丁")});
        CountingCelebration fireworks;
        shell.setCelebration(&fireworks);
        choose(shell, u8("一等奖"));
        drawOnce(shell);
        QCOMPARE(fireworks.opened, 1);
        QCOMPARE(fireworks.closed, 1);
        QCOMPARE(event.desktop.waits, QList<int>{4000});

        // During the next wait, a press starts the third roll and stops it: the first wait
        // must not close the overlay of the third winner.
        shell.drawCycle().startStop();
        int openAfterNested = -1;
        QTimer::singleShot(0, &shell.screen(), [&] {
            shell.drawCycle().reenableTick();
            shell.drawCycle().startStop(); // closes the overlay, starts a roll
            event.desktop.waitOverrideMs = 0;
            shell.drawCycle().startStop(); // stops: opens the third overlay and waits
            openAfterNested = fireworks.opened;
        });
        event.desktop.waitOverrideMs = 50;
        shell.drawCycle().startStop();
        QCOMPARE(openAfterNested, 3);
        QCOMPARE(lines(event.readFile(u8("抽奖结果.txt"))).size(), 3);

        shell.session().store.setDisableEffects(true);
        choose(shell, u8("一等奖"));
        shell.drawCycle().reenableTick();
        const int waits = event.desktop.waits.size();
        drawOnce(shell);
        QCOMPARE(fireworks.opened, 3);
        QCOMPARE(event.desktop.waits.size(), waits);
    }

    void choosingATierShowsItsPrizeAndRestartsOrdinals()
    {
        TestEvent event;
        Shell& shell = startEvent(event, {{u8("一等奖"), u8("3")}, {u8("二等奖"), u8("2")}},
                                  {u8("甲"), u8("乙")});
        shell.session().state.nextOrdinal = 3;
        QLineEdit* edit = shell.screen().组合框1->lineEdit();
        edit->setFocus();
        // Typed character by character: only the whole name chooses the tier.
        typeInto(edit, u8("一"));
        typeInto(edit, u8("等"));
        QCOMPARE(shell.session().state.nextOrdinal, 1);
        QCOMPARE(shell.screen().透明标签_奖品名称->text(), u8("一等"));
        QCOMPARE(shell.session().state.tierLimit, 0);
        typeInto(edit, u8("奖"));
        QCOMPARE(shell.session().state.tierLimit, 4);
        QCOMPARE(shell.screen().透明标签_奖品名称->text(), u8("一等奖"));

        // Re-choosing a closed tier warns once and still takes effect.
        shell.session().state.completedCount[1] = 2;
        event.dialogs.messages.clear();
        shell.screen().组合框1->setCurrentIndex(1);
        emit shell.screen().组合框1->activated(1);
        QCOMPARE(event.dialogs.messages.size(), 1);
        QCOMPARE(event.dialogs.messages[0].text, kClosed);
        QCOMPARE(shell.session().state.tierLimit, 3);
    }

private:
    std::unique_ptr<QTemporaryDir> m_cwd;
};

QTEST_MAIN(TestDrawCycle)
#include "test_drawcycle.moc"

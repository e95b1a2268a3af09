#include "draw/ResultsLog.h"

#include "data/FileIo.h"
#include "data/Text.h"
#include "draw/DrawState.h"
#include "draw/TierStore.h"
#include "draw/WinnerSelection.h"
#include "platform/FakePlatform.h"
#include "platform/Random.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const QString kAbandon = QString(24, u' ') + u"(上一个中奖人放弃)\r\n"_s;

void makeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

void setReadOnly(const QString& path, bool readOnly)
{
    const auto read = QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther;
    QVERIFY(QFile::setPermissions(path, readOnly ? read : read | QFileDevice::WriteOwner));
}

} // namespace

class TestResultsLog : public QObject
{
    Q_OBJECT
private slots:
    void resultsFile_data()
    {
        // Each step is "name|tier" for an announcement or "-" for an abandon.
        QTest::addColumn<QByteArray>("olderFile");
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QString>("expected");
        QTest::newRow("two winners and an abandon")
            << QByteArray() << QStringList{u"张三|一等奖"_s, u"李四|一等奖"_s, u"-"_s}
            << u"张三  ------  一等奖\r\n李四  ------  一等奖\r\n"_s + kAbandon;
        QTest::newRow("first announcement replaces an older run's file")
            << pd::toLocal8(u"旧名单  ------  特等奖\r\n赵六  ------  特等奖\r\n")
            << QStringList{u"王五|二等奖"_s} << u"王五  ------  二等奖\r\n"_s;
        QTest::newRow("free-typed tier text")
            << QByteArray() << QStringList{u"Zoe|幸运 奖!|x"_s} << u"Zoe  ------  幸运 奖!|x\r\n"_s;
        QTest::newRow("abandon first") << QByteArray() << QStringList{u"-"_s} << kAbandon;
    }
    void resultsFile()
    {
        QFETCH(QByteArray, olderFile);
        QFETCH(QStringList, steps);
        QFETCH(QString, expected);
        QTemporaryDir run;
        const QString path = run.filePath(u"抽奖结果.txt"_s);
        if (!olderFile.isEmpty())
            makeFile(path, olderFile);
        pd::FakeDialogs dialogs;
        pd::ResultsLog log(run.path(), run.filePath(u"work"_s), &dialogs);
        for (const QString& step : steps) {
            if (step == u"-")
                log.appendAbandonLine();
            else
                log.appendResultLine(step.section(u'|', 0, 0), step.section(u'|', 1));
            // The file equals the buffer after every change.
            QCOMPARE(pd::readWholeFile(path), pd::toLocal8(log.results()));
        }
        QCOMPARE(log.results(), expected);
        QCOMPARE(pd::readWholeFile(path), pd::toLocal8(expected));
        QVERIFY(dialogs.messages.isEmpty());
        QVERIFY(!QFileInfo::exists(log.fallbackPath()));
    }

    void fileIsGbkWithCrLf()
    {
        QTemporaryDir run;
        pd::ResultsLog log(run.path(), QString());
        log.appendResultLine(u"张三"_s, u"一等奖"_s);
        QCOMPARE(pd::readWholeFile(log.resultsPath()),
                 QByteArray("\xD5\xC5\xC8\xFD  ------  \xD2\xBB\xB5\xC8\xBD\xB1\r\n"));
    }

    void labelTexts_data()
    {
        QTest::addColumn<QString>("tier");
        QTest::addColumn<int>("count");
        QTest::addColumn<QString>("progress");
        QTest::addColumn<int>("width");
        QTest::newRow("third winner") << u"二等奖"_s << 3 << u"二等奖 已抽取3名"_s << 176;
        QTest::newRow("after an abandon") << u"一等奖"_s << 1 << u"一等奖 已抽取1名"_s << 176;
        QTest::newRow("two digits") << u"特等奖"_s << 12 << u"特等奖 已抽取12名"_s << 187;
        QTest::newRow("negative count") << u"Gold"_s << -1 << u"Gold 已抽取-1名"_s << 165;
        QTest::newRow("empty tier") << QString() << 0 << u" 已抽取0名"_s << 110;
    }
    void labelTexts()
    {
        QFETCH(QString, tier);
        QFETCH(int, count);
        QFETCH(QString, progress);
        QFETCH(int, width);
        const QString text = pd::ResultsLog::progressText(tier, count);
        QCOMPARE(text, progress);
        QCOMPARE(pd::ResultsLog::progressWidth(text), width);
        QCOMPARE(pd::ResultsLog::announcementText(u"张三"_s, tier),
                 u"恭喜您\uFF1A 张三  "_s + tier);
    }

    void pickFile_data()
    {
        QTest::addColumn<bool>("present");
        QTest::addColumn<QByteArray>("older");
        QTest::addColumn<QStringList>("picks");
        QTest::newRow("absent: never created")
            << false << QByteArray() << QStringList{u"甲"_s, u"乙"_s};
        QTest::newRow("empty file") << true << QByteArray() << QStringList{u"甲"_s, u"乙"_s};
        QTest::newRow("older, longer file is cut")
            << true << QByteArray("a much longer list of an earlier event\r\nmore\r\n")
            << QStringList{u"甲"_s, u"Bob"_s};
    }
    void pickFile()
    {
        QFETCH(bool, present);
        QFETCH(QByteArray, older);
        QFETCH(QStringList, picks);
        QTemporaryDir run;
        pd::ResultsLog log(run.path(), QString());
        if (present)
            makeFile(log.pickFilePath(), older);
        QString expected;
        for (const QString& pick : picks) {
            log.recordPick(pick);
            expected += pick + u"\r\n"_s;
            QCOMPARE(log.pickLog(), expected);
            if (present)
                QCOMPARE(pd::readWholeFile(log.pickFilePath()), pd::toLocal8(expected));
        }
        QCOMPARE(QFileInfo::exists(log.pickFilePath()), present);
        // The pick log is a record of its own; the results file is untouched by picks.
        QVERIFY(!QFileInfo::exists(log.resultsPath()));
    }

    void designatedDraw()
    {
        // A tier of one winner whose last draw is designated: the random pick goes to the
        // pick log and zj.txt, the designated winner to the results.
        QTemporaryDir run;
        pd::TierStore tiers;
        tiers.setWinnerCount(2, u"1"_s);
        tiers.setDesignated(2, 1, u"指定人"_s);
        QString poolText = u"甲\r\n乙\r\n丙\r\n指定人\r\n"_s;
        pd::DrawState state;
        pd::chooseTierLimit(state, tiers, u"一等奖");
        pd::preparePool(state, poolText, tiers);
        QCOMPARE(state.pool, (QStringList{u"甲"_s, u"乙"_s, u"丙"_s}));

        pd::Random rng;
        state.pickIndex = pd::pickRandomIndex(state, rng); // 1 + 41 mod 3 = 3
        pd::ResultsLog log(run.path(), QString());
        makeFile(log.pickFilePath(), {});
        const QString picked = pd::takeWinner(state, poolText, tiers);
        QCOMPARE(picked, u"丙"_s);
        log.recordPick(picked);

        const pd::PrizeTier tier = tiers.tier(2);
        QString announced = picked;
        const auto slot =
            pd::designatedSlotToApply(state.nextOrdinal, state.tierLimit, tier.designated);
        QCOMPARE(slot, std::optional<int>(1));
        announced = tier.designated[*slot - 1];
        log.appendResultLine(announced, u"一等奖"_s);

        QCOMPARE(pd::readWholeFile(log.resultsPath()), pd::toLocal8(u"指定人  ------  一等奖\r\n"));
        QCOMPARE(pd::readWholeFile(log.pickFilePath()), pd::toLocal8(u"丙\r\n"));
        QCOMPARE(poolText, u"甲\r\n乙\r\n"_s);
    }

    void unwritableResultsGoToTheWorkFolder_data()
    {
        QTest::addColumn<bool>("workUsable");
        QTest::newRow("copy saved") << true;
        QTest::newRow("copy impossible too") << false;
    }
    void unwritableResultsGoToTheWorkFolder()
    {
        QFETCH(bool, workUsable);
        QTemporaryDir run;
        QTemporaryDir home;
        // A work folder that does not exist yet is created; one whose parent is a file
        // cannot be.
        const QString blocker = home.filePath(u"blocker"_s);
        makeFile(blocker, "x");
        const QString work =
            workUsable ? home.filePath(u"cache/prizedraw"_s) : blocker + u"/prizedraw"_s;
        pd::FakeDialogs dialogs;
        pd::FakeDesktop desktop;
        pd::ResultsLog log(run.path(), work, &dialogs);

        const QByteArray older = pd::toLocal8(u"上次活动的结果\r\n");
        makeFile(log.resultsPath(), older);
        setReadOnly(log.resultsPath(), true);

        log.appendResultLine(u"张三"_s, u"一等奖"_s);
        log.appendAbandonLine();
        QCOMPARE(pd::readWholeFile(log.resultsPath()), older);
        if (workUsable)
            QCOMPARE(pd::readWholeFile(log.fallbackPath()), pd::toLocal8(log.results()));
        else
            QVERIFY(!QFileInfo::exists(log.fallbackPath()));

        // One message for the run, naming both places.
        QCOMPARE(dialogs.messages.size(), 1);
        const pd::ShownMessage shown = dialogs.messages.first();
        QVERIFY(shown.text.contains(log.resultsPath()));
        QVERIFY(shown.text.contains(log.fallbackPath()));
        QCOMPARE(shown.text.contains(u"已另存到"_s), workUsable);
        QCOMPARE(shown.style, pd::MessageStyle::OkError);

        log.viewResults(desktop);
        QCOMPARE(desktop.opened.last(), workUsable ? log.fallbackPath() : log.resultsPath());

        // Once the file may be written again, the whole run's results go back to it.
        setReadOnly(log.resultsPath(), false);
        log.appendResultLine(u"李四"_s, u"一等奖"_s);
        QCOMPARE(
            pd::readWholeFile(log.resultsPath()),
            pd::toLocal8(u"张三  ------  一等奖\r\n"_s + kAbandon + u"李四  ------  一等奖\r\n"_s));
        log.viewResults(desktop);
        QCOMPARE(desktop.opened.last(), log.resultsPath());

        setReadOnly(log.resultsPath(), true);
        log.appendAbandonLine();
        QCOMPARE(dialogs.messages.size(), 1);
    }

    void noDialogsStillKeepsACopy()
    {
        QTemporaryDir run;
        QTemporaryDir work;
        pd::ResultsLog log(run.path(), work.path());
        makeFile(log.resultsPath(), {});
        setReadOnly(log.resultsPath(), true);
        log.appendResultLine(u"Ann"_s, u"Gold"_s);
        QCOMPARE(pd::readWholeFile(log.fallbackPath()), QByteArray("Ann  ------  Gold\r\n"));
    }
};

QTEST_GUILESS_MAIN(TestResultsLog)
#include "test_resultslog.moc"

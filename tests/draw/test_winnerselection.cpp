#include "draw/WinnerSelection.h"

#include "draw/DrawState.h"
#include "draw/TierStore.h"
#include "platform/Random.h"

#include <QTest>

using namespace Qt::StringLiterals;

using Names = std::array<QString, pd::kDesignatedSlots>;
Q_DECLARE_METATYPE(Names)

class TestWinnerSelection : public QObject
{
    Q_OBJECT
private slots:
    void removeEntry_data()
    {
        QTest::addColumn<QString>("pool");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("left");
        QTest::newRow("middle") << u"X\r\nY\r\nZ\r\n"_s << u"Y"_s << u"X\r\nZ\r\n"_s;
        QTest::newRow("first") << u"X\r\nY\r\nZ\r\n"_s << u"X"_s << u"Y\r\nZ\r\n"_s;
        QTest::newRow("last") << u"X\r\nY\r\nZ\r\n"_s << u"Z"_s << u"X\r\nY\r\n"_s;
        QTest::newRow("only") << u"X\r\n"_s << u"X"_s << QString();
        QTest::newRow("Ann leaves, Anna stays")
            << u"Anna\r\nAnn\r\n"_s << u"Ann"_s << u"Anna\r\n"_s;
        QTest::newRow("Ann leaves before Anna")
            << u"Ann\r\nAnna\r\n"_s << u"Ann"_s << u"Anna\r\n"_s;
        QTest::newRow("tail of an entry") << u"Anna\r\n"_s << u"nn"_s << u"Anna\r\n"_s;
        QTest::newRow("head of an entry") << u"Anna\r\n"_s << u"Ann"_s << u"Anna\r\n"_s;
        QTest::newRow("first of two equal entries")
            << u"王五\r\n李四\r\n王五\r\n"_s << u"王五"_s << u"李四\r\n王五\r\n"_s;
        QTest::newRow("letter case counts") << u"ann\r\n"_s << u"Ann"_s << u"ann\r\n"_s;
        QTest::newRow("empty entry") << u"A\r\n\r\nB\r\n"_s << QString() << u"A\r\nB\r\n"_s;
        QTest::newRow("no empty entry") << u"A\r\nB\r\n"_s << QString() << u"A\r\nB\r\n"_s;
        QTest::newRow("last entry without line end") << u"A\r\nB"_s << u"B"_s << u"A\r\n"_s;
        QTest::newRow("empty pool") << QString() << u"A"_s << QString();
    }
    void removeEntry()
    {
        QFETCH(QString, pool);
        QFETCH(QString, name);
        QFETCH(QString, left);
        const bool shouldRemove = pool != left;
        QCOMPARE(pd::removePoolEntry(pool, name), shouldRemove);
        QCOMPARE(pool, left);
    }

    void designatedNamesLeaveThePool()
    {
        pd::TierStore store;
        QString everyone;
        for (int tier = 1; tier <= pd::kTierCount; ++tier) {
            for (int slot = 1; slot <= pd::kDesignatedSlots; ++slot) {
                const QString name = u"D%1-%2"_s.arg(tier).arg(slot);
                store.setDesignated(tier, slot, name);
                everyone += name + u"\r\n"_s;
            }
        }
        // The same name set in two tiers: the first removal takes the entry, the second
        // finds nothing.
        store.setDesignated(8, 3, u"Twin"_s);
        store.setDesignated(2, 2, u"Twin"_s);
        const QString pool = u"Anna\r\n"_s + everyone + u"Twin\r\nBob\r\n"_s;

        QString text = pool;
        store.setAllowRepeats(true);
        pd::removeDesignatedNames(text, store);
        QCOMPARE(text, pool);

        store.setAllowRepeats(false);
        pd::DrawState state;
        pd::preparePool(state, text, store);
        QCOMPARE(text, u"Anna\r\nD2-2\r\nD8-3\r\nBob\r\n"_s);
        QCOMPARE(state.pool, (QStringList{u"Anna"_s, u"D2-2"_s, u"D8-3"_s, u"Bob"_s}));
    }

    void splitPool_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("pool");
        QTest::newRow("empty") << QString() << QStringList();
        QTest::newRow("entries") << u"A\r\nB\r\n"_s << QStringList{u"A"_s, u"B"_s};
        QTest::newRow("empty stretch between line ends")
            << u"A\r\n\r\nB\r\n"_s << QStringList{u"A"_s, QString(), u"B"_s};
        QTest::newRow("line end only") << u"\r\n"_s << QStringList{QString()};
        QTest::newRow("text after the last line end") << u"A\r\nB"_s << QStringList{u"A"_s, u"B"_s};
        QTest::newRow("bare CR and LF are part of a name")
            << u"A\rB\r\nC\nD\r\n"_s << QStringList{u"A\rB"_s, u"C\nD"_s};
    }
    void splitPool()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, pool);
        QCOMPARE(pd::splitPool(text), pool);
    }

    void pickRandomIndex_data()
    {
        QTest::addColumn<int>("members");
        QTest::addColumn<QList<int>>("picks");
        QTest::addColumn<bool>("draws");
        // From state 1 the generator gives 41, 18467, 6334, 26500.
        QTest::newRow("empty pool draws nothing") << 0 << QList<int>{0, 0, 0, 0} << false;
        QTest::newRow("one member draws nothing") << 1 << QList<int>{1, 1, 1, 1} << false;
        QTest::newRow("two") << 2 << QList<int>{2, 2, 1, 1} << true;
        QTest::newRow("ten") << 10 << QList<int>{2, 8, 5, 1} << true;
        QTest::newRow("more than 32768") << 40000 << QList<int>{42, 18468, 6335, 26501} << true;
    }
    void pickRandomIndex()
    {
        QFETCH(int, members);
        QFETCH(QList<int>, picks);
        QFETCH(bool, draws);
        pd::DrawState state;
        for (int i = 0; i < members; ++i)
            state.pool.append(QString::number(i));
        pd::Random rng;
        QList<int> seen;
        for (int i = 0; i < picks.size(); ++i)
            seen.append(pd::pickRandomIndex(state, rng));
        QCOMPARE(seen, picks);
        QCOMPARE(rng.state() != 1u, draws);
    }

    void takeWinner_data()
    {
        QTest::addColumn<int>("pickIndex");
        QTest::addColumn<bool>("repeats");
        QTest::addColumn<QString>("winner");
        QTest::addColumn<QString>("left");
        const QString all = u"X\r\nY\r\nZ\r\n"_s;
        QTest::newRow("first") << 1 << false << u"X"_s << u"Y\r\nZ\r\n"_s;
        QTest::newRow("last") << 3 << false << u"Z"_s << u"X\r\nY\r\n"_s;
        QTest::newRow("repeats allowed") << 2 << true << u"Y"_s << all;
        QTest::newRow("no pick yet") << 0 << false << QString() << all;
        QTest::newRow("pick beyond the pool") << 4 << false << QString() << all;
        QTest::newRow("negative pick") << -1 << false << QString() << all;
    }
    void takeWinner()
    {
        QFETCH(int, pickIndex);
        QFETCH(bool, repeats);
        QFETCH(QString, winner);
        QFETCH(QString, left);
        pd::TierStore store;
        store.setAllowRepeats(repeats);
        QString text = u"X\r\nY\r\nZ\r\n"_s;
        pd::DrawState state;
        pd::preparePool(state, text, store);
        state.pickIndex = pickIndex;
        QCOMPARE(pd::takeWinner(state, text, store), winner);
        QCOMPARE(text, left);
        // The snapshot of the roll keeps the winner until the next Start.
        QCOMPARE(state.pool.size(), 3);
    }

    void designatedSlotToApply_data()
    {
        QTest::addColumn<int>("winners");
        QTest::addColumn<Names>("names");
        QTest::addColumn<QList<int>>("expectedSlots"); // per ordinal 1..winners, 0 for none
        const Names all{u"S1"_s, u"S2"_s, u"S3"_s};
        QTest::newRow("five winners") << 5 << all << QList<int>{0, 0, 3, 2, 1};
        QTest::newRow("three winners") << 3 << all << QList<int>{3, 2, 1};
        QTest::newRow("two winners skip slot 3") << 2 << all << QList<int>{2, 1};
        QTest::newRow("one winner") << 1 << all << QList<int>{1};
        QTest::newRow("empty slot 2 stays random")
            << 3 << Names{u"S1"_s, QString(), u"S3"_s} << QList<int>{3, 0, 1};
        QTest::newRow("none set") << 3 << Names{} << QList<int>{0, 0, 0};
    }
    void designatedSlotToApply()
    {
        QFETCH(int, winners);
        QFETCH(Names, names);
        QFETCH(QList<int>, expectedSlots);
        const int tierLimit = winners + 1;
        QList<int> seen;
        for (int ordinal = 1; ordinal <= winners; ++ordinal)
            seen.append(pd::designatedSlotToApply(ordinal, tierLimit, names).value_or(0));
        QCOMPARE(seen, expectedSlots);
    }
};

QTEST_GUILESS_MAIN(TestWinnerSelection)
#include "test_winnerselection.moc"

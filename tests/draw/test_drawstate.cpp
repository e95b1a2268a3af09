#include "draw/DrawState.h"

#include "draw/TierStore.h"

#include <QTest>

using namespace Qt::StringLiterals;

using OptionalInt = std::optional<int>;
Q_DECLARE_METATYPE(OptionalInt)

class TestDrawState : public QObject
{
    Q_OBJECT
private slots:
    void findTierByName_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<OptionalInt>("tier");
        QTest::newRow("design name") << u"三等奖"_s << OptionalInt(4);
        QTest::newRow("duplicate name finds the lower tier") << u"Gold"_s << OptionalInt(2);
        QTest::newRow("letter case counts") << u"gold"_s << OptionalInt();
        QTest::newRow("trailing blank counts") << u"三等奖 "_s << OptionalInt();
        QTest::newRow("free-typed text") << u"幸运奖"_s << OptionalInt();
        QTest::newRow("empty text finds an empty name") << QString() << OptionalInt(7);
    }
    void findTierByName()
    {
        QFETCH(QString, text);
        QFETCH(OptionalInt, tier);
        pd::TierStore store;
        store.setName(2, u"Gold"_s);
        store.setName(5, u"Gold"_s);
        store.setName(7, QString());
        store.setName(8, QString());
        QCOMPARE(pd::findTierByName(store, text), tier);
    }

    void closedWhenCompletedEqualsCount_data()
    {
        QTest::addColumn<int>("completed");
        QTest::addColumn<QString>("count");
        QTest::addColumn<bool>("closed");
        QTest::newRow("empty count, nothing drawn") << 0 << QString() << true;
        QTest::newRow("zero count") << 0 << u"0"_s << true;
        QTest::newRow("not a number") << 0 << u"abc"_s << true;
        QTest::newRow("all drawn") << 3 << u"3"_s << true;
        QTest::newRow("one short") << 2 << u"3"_s << false;
        QTest::newRow("full-width count") << 3 << u"３"_s << true;
        QTest::newRow("within the tolerance") << 3 << u"3.00000005"_s << true;
        QTest::newRow("beyond the tolerance") << 3 << u"3.000001"_s << false;
        QTest::newRow("fraction never closes") << 2 << u"2.5"_s << false;
        QTest::newRow("raised count re-opens") << 3 << u"4"_s << false;
    }
    void closedWhenCompletedEqualsCount()
    {
        QFETCH(int, completed);
        QFETCH(QString, count);
        QFETCH(bool, closed);
        pd::TierStore store;
        store.setWinnerCount(3, count);
        pd::DrawState state;
        state.completedCount[2] = completed;
        QCOMPARE(pd::isTierClosed(state, store, 3), closed);
    }

    void anyTierOfTheNameClosed()
    {
        // The check in front of a press looks at every tier of the name: the higher of two
        // tiers called "Gold" closes the name although it can never be chosen.
        pd::TierStore store;
        store.setName(2, u"Gold"_s);
        store.setWinnerCount(2, u"5"_s);
        store.setName(6, u"Gold"_s);
        store.setWinnerCount(6, u"2"_s);
        pd::DrawState state;
        QVERIFY(!pd::isAnyTierNamedClosed(state, store, u"Gold"));
        state.completedCount[5] = 2;
        QVERIFY(pd::isAnyTierNamedClosed(state, store, u"Gold"));
        QVERIFY(!pd::isAnyTierNamedClosed(state, store, u"Silver"));
        // An empty tier name with an empty count matches an empty chooser text.
        store.setName(8, QString());
        QVERIFY(pd::isAnyTierNamedClosed(state, store, QString()));
    }

    void tierLimitFromCount_data()
    {
        QTest::addColumn<QString>("count");
        QTest::addColumn<int>("limit");
        QTest::addColumn<int>("draws");
        QTest::newRow("three winners") << u"3"_s << 4 << 3;
        QTest::newRow("one winner") << u"1"_s << 2 << 1;
        QTest::newRow("empty") << QString() << 1 << 0;
        QTest::newRow("fraction") << u"2.5"_s << 3 << 2;
        QTest::newRow("negative") << u"-3"_s << -2 << 0;
        QTest::newRow("full-width") << u"１２"_s << 13 << 12;
    }
    void tierLimitFromCount()
    {
        QFETCH(QString, count);
        QFETCH(int, limit);
        QFETCH(int, draws);
        pd::TierStore store;
        store.setWinnerCount(2, count);
        pd::DrawState state;
        pd::chooseTierLimit(state, store, u"一等奖");
        QCOMPARE(state.tierLimit, limit);
        int allowed = 0;
        for (state.nextOrdinal = 1; pd::isDrawAllowed(state); ++state.nextOrdinal)
            ++allowed;
        QCOMPARE(allowed, draws);
    }

    void textNamingNoTierKeepsTheLimit()
    {
        pd::TierStore store;
        store.setWinnerCount(1, u"4"_s);
        pd::DrawState state;
        pd::chooseTierLimit(state, store, u"特等奖");
        pd::chooseTierLimit(state, store, u"幸运奖");
        QCOMPARE(state.tierLimit, 5);
        state.nextOrdinal = 3;
        pd::closeTier(state, store, u"幸运奖");
        QCOMPARE(state.completedCount, (std::array<int, pd::kTierCount>{}));
    }

    void closingAndReopening()
    {
        pd::TierStore store;
        store.setName(2, u"Gold"_s);
        store.setName(5, u"Gold"_s);
        store.setWinnerCount(2, u"2"_s);
        pd::DrawState state;
        pd::chooseTierLimit(state, store, u"Gold");
        QVERIFY(!pd::isTierClosed(state, store, 2));
        // Two winners announced; the third press finds no draw left and closes the tier.
        state.nextOrdinal = 3;
        QVERIFY(!pd::isDrawAllowed(state));
        pd::closeTier(state, store, u"Gold");
        QCOMPARE(state.completedCount[1], 2);
        QCOMPARE(state.completedCount[4], 0);
        QVERIFY(pd::isTierClosed(state, store, 2));
        // An abandon corrects the count to the new ordinal - 1 and re-opens the tier.
        state.nextOrdinal = 2;
        pd::closeTier(state, store, u"Gold");
        QVERIFY(!pd::isTierClosed(state, store, 2));
        // So does raising the winner count of a closed tier.
        state.nextOrdinal = 3;
        pd::closeTier(state, store, u"Gold");
        store.setWinnerCount(2, u"3"_s);
        QVERIFY(!pd::isTierClosed(state, store, 2));
        // A new name keeps the count, which belongs to the tier number.
        store.setWinnerCount(2, u"2"_s);
        store.setName(2, u"Platinum"_s);
        QVERIFY(pd::isTierClosed(state, store, 2));
    }

    void designatedSlotsOfATier_data()
    {
        QTest::addColumn<int>("winners");
        QTest::addColumn<QList<int>>(
            "expectedSlots"); // per ordinal 1..winners, 0 for a random draw
        QTest::newRow("one winner") << 1 << QList<int>{1};
        QTest::newRow("two winners") << 2 << QList<int>{2, 1};
        QTest::newRow("three winners") << 3 << QList<int>{3, 2, 1};
        QTest::newRow("five winners") << 5 << QList<int>{0, 0, 3, 2, 1};
    }
    void designatedSlotsOfATier()
    {
        QFETCH(int, winners);
        QFETCH(QList<int>, expectedSlots);
        pd::TierStore store;
        store.setWinnerCount(1, QString::number(winners));
        pd::DrawState state;
        pd::chooseTierLimit(state, store, u"特等奖");
        QList<int> seen;
        for (int ordinal = 1; ordinal <= winners; ++ordinal)
            seen.append(pd::designatedSlotFor(state, ordinal).value_or(0));
        QCOMPARE(seen, expectedSlots);
    }

    void rollPeriod_data()
    {
        QTest::addColumn<QString>("speed");
        QTest::addColumn<int>("period");
        QTest::newRow("empty") << QString() << 30;
        QTest::newRow("number") << u"45"_s << 45;
        QTest::newRow("fraction") << u"12.9"_s << 12;
        QTest::newRow("not a number stops the picker") << u"fast"_s << 0;
    }
    void rollPeriod()
    {
        QFETCH(QString, speed);
        QFETCH(int, period);
        QCOMPARE(pd::rollPeriodOf(speed), period);
    }
};

QTEST_GUILESS_MAIN(TestDrawState)
#include "test_drawstate.moc"

#include "draw/TierStore.h"

#include <QSignalSpy>
#include <QTest>

using namespace Qt::StringLiterals;

class TestTierStore : public QObject
{
    Q_OBJECT
private slots:
    void initialTextsFollowThePanelDesign()
    {
        const pd::TierStore store;
        const QStringList words{u"特等奖"_s, u"一等奖"_s, u"二等奖"_s, u"三等奖"_s,
                                u"四等奖"_s, u"五等奖"_s, u"六等奖"_s, u"七等奖"_s};
        for (int n = 1; n <= pd::kTierCount; ++n) {
            const pd::PrizeTier tier = store.tier(n);
            QCOMPARE(tier.name, words[n - 1]);
            QCOMPARE(tier.picturePath, words[n - 1]);
            QVERIFY(tier.winnerCount.isEmpty());
            for (const QString& name : tier.designated)
                QVERIFY(name.isEmpty());
        }
        QCOMPARE(store.rollSpeed(), u"30"_s);
        QCOMPARE(store.photoWidth(), u"500"_s);
        QCOMPARE(store.photoHeight(), u"400"_s);
        QVERIFY(!store.allowRepeats());
        QVERIFY(!store.disableEffects());
    }

    void tierGathersItsFields()
    {
        pd::TierStore store;
        store.setName(4, u"纪念奖"_s);
        store.setWinnerCount(4, u"12"_s);
        store.setPicturePath(4, u"/event/prize4.jpg"_s);
        store.setDesignated(4, 1, u"甲"_s);
        store.setDesignated(4, 2, u"乙"_s);
        store.setDesignated(4, 3, u"丙"_s);
        const pd::PrizeTier tier = store.tier(4);
        QCOMPARE(tier.name, u"纪念奖"_s);
        QCOMPARE(tier.winnerCount, u"12"_s);
        QCOMPARE(tier.picturePath, u"/event/prize4.jpg"_s);
        QCOMPARE(tier.designated[0], u"甲"_s);
        QCOMPARE(tier.designated[1], u"乙"_s);
        QCOMPARE(tier.designated[2], u"丙"_s);
        // Neighbouring tiers keep their own fields.
        QCOMPARE(store.tier(3).name, u"二等奖"_s);
        QVERIFY(store.tier(5).designated[0].isEmpty());
    }

    void numbersOutsideTheRangeAreIgnored()
    {
        pd::TierStore store;
        QSignalSpy changed(&store, &pd::TierStore::changed);
        store.setName(0, u"x"_s);
        store.setName(9, u"x"_s);
        store.setDesignated(1, 0, u"x"_s);
        store.setDesignated(1, 4, u"x"_s);
        QCOMPARE(changed.size(), 0);
        QVERIFY(store.name(9).isEmpty());
        QVERIFY(store.designated(1, 4).isEmpty());
        QVERIFY(store.tier(0).name.isEmpty());
    }

    void changedOnlyWhenAValueChanges()
    {
        pd::TierStore store;
        QSignalSpy changed(&store, &pd::TierStore::changed);
        QSignalSpy effects(&store, &pd::TierStore::disableEffectsChanged);

        store.setRollSpeed(u"30"_s);
        store.setName(1, u"特等奖"_s);
        store.setAllowRepeats(false);
        store.setDisableEffects(false);
        QCOMPARE(changed.size(), 0);

        store.setRollSpeed(u"50"_s);
        store.setWinnerCount(2, u"3"_s);
        store.setAllowRepeats(true);
        QCOMPARE(changed.size(), 3);
        QCOMPARE(effects.size(), 0);

        store.setDisableEffects(true);
        QCOMPARE(changed.size(), 4);
        QCOMPARE(effects.size(), 1);
        QCOMPARE(effects.at(0).at(0).toBool(), true);
        store.setDisableEffects(false);
        QCOMPARE(effects.size(), 2);
        QCOMPARE(effects.at(1).at(0).toBool(), false);
    }
};

QTEST_GUILESS_MAIN(TestTierStore)
#include "test_tierstore.moc"

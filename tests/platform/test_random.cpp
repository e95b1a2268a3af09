#include "platform/Random.h"

#include <QTest>

class TestRandom : public QObject
{
    Q_OBJECT
private slots:
    void firstValuesFromStateOne()
    {
        pd::Random r;
        // state 1 -> 1*214013+2531011 = 2745024 -> >>16 = 41
        QCOMPARE(r.next(), 41);
        QCOMPARE(r.next(), 18467);
        QCOMPARE(r.next(), 6334);
        QCOMPARE(r.next(), 26500);
    }
    void betweenWithEqualBoundsDrawsNothing()
    {
        pd::Random r;
        QCOMPARE(r.between(5, 5), 5);
        QCOMPARE(r.state(), 1u);
        QCOMPARE(r.between(1, 7), 1 + 41 % 7);
    }
};

QTEST_GUILESS_MAIN(TestRandom)
#include "test_random.moc"

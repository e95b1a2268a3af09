#include "settings/TextScrambler.h"

#include "data/Text.h"
#include "platform/Random.h"

#include <QTest>

#include <algorithm>

using pd::kDefaultAlphabet;

namespace {

// A clock that moves on by one millisecond at every reading, so each byte gets its own r.
std::function<qint64()> tickingClock(qint64 start)
{
    return [now = start]() mutable { return now++; };
}

std::function<qint64()> fixedClock(qint64 at)
{
    return [at] { return at; };
}

} // namespace

class TestTextScrambler : public QObject
{
    Q_OBJECT
private slots:
    void workedExample()
    {
        // Seed 1 gives the value 41 first, so r = 41 mod 6 = 5: byte 97 becomes x = 100,
        // letters at positions 38 and 8 * 1 + 5 = 13.
        pd::Random rng;
        rng.seed(12345);
        const QByteArray out = pd::scramble("a", rng, fixedClock(1));
        QCOMPARE(out, QByteArray() + kDefaultAlphabet[38] + kDefaultAlphabet[13]);
        QCOMPARE(pd::descramble(out), QByteArray("a"));
        // The shared generator is left where the scramble's draw put it.
        QCOMPARE(rng.state(), 1u * 214013u + 2531011u);
    }

    void reseedsBeforeEveryByte()
    {
        pd::Random rng;
        int readings = 0;
        const auto clock = [&readings] { return qint64(++readings); };
        QCOMPARE(pd::scramble("abc", rng, clock).size(), 6);
        QCOMPARE(readings, 3);
        QVERIFY(pd::scramble("", rng, clock).isEmpty());
        QCOMPARE(readings, 3);
    }

    void descrambleOddInput_data()
    {
        QTest::addColumn<QByteArray>("scrambled");
        QTest::addColumn<QByteArray>("plain");
        QTest::newRow("empty") << QByteArray() << QByteArray();
        QTest::newRow("worked example") << QByteArray("Of") << QByteArray("a");
        QTest::newRow("zero pair first ends the text") << QByteArray("QQOf") << QByteArray();
        QTest::newRow("zero pair second keeps the first byte")
            << QByteArray("OfQQOf") << QByteArray("a");
        QTest::newRow("single letter is its position") << QByteArray("x") << QByteArray("-");
        QTest::newRow("odd tail after a pair") << QByteArray("OfF") << QByteArray("a2");
        QTest::newRow("first letter outside") << QByteArray("!1") << QByteArray("<");
        QTest::newRow("second letter outside") << QByteArray("Q!") << QByteArray("\xFE");
        QTest::newRow("both letters outside end the text") << QByteArray("!!Of") << QByteArray();
        QTest::newRow("r of 7 accepted") << QByteArray("QJ") << QByteArray("9");
        QTest::newRow("high second letter wraps to a byte")
            << QByteArray("Ql") << QByteArray("\xB7");
        QTest::newRow("letter case matters") << QByteArray("oF") << QByteArray("\xAB");
    }
    void descrambleOddInput()
    {
        QFETCH(QByteArray, scrambled);
        QFETCH(QByteArray, plain);
        QCOMPARE(pd::descramble(scrambled), plain);
    }

    void roundTrip_data()
    {
        QTest::addColumn<QByteArray>("plain");
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("password") << QByteArray("Secret-2024!");
        QTest::newRow("GBK name") << pd::toLocal8(u"张三丰");
        QTest::newRow("mixed") << pd::toLocal8(u"王小明 Wang");
        QByteArray everyByte;
        for (int b = 1; b < 256; ++b)
            everyByte.append(static_cast<char>(b));
        QTest::newRow("every non-zero byte") << everyByte;
    }
    void roundTrip()
    {
        QFETCH(QByteArray, plain);
        pd::Random rng;
        const QByteArray out = pd::scramble(plain, rng, tickingClock(1000));
        QCOMPARE(out.size(), plain.size() * 2);
        for (qsizetype i = 0; i < out.size(); i += 2) {
            QVERIFY(kDefaultAlphabet.contains(out[i]));
            // The second letter carries (x div 62, r): positions 0 to 37 only.
            const qsizetype second = kDefaultAlphabet.indexOf(out[i + 1]);
            QVERIFY(second >= 0 && second <= 37);
        }
        QCOMPARE(pd::descramble(out), plain);
    }

    void gbkCharacterIsFourLetters()
    {
        const QByteArray plain = pd::toLocal8(u"奖");
        QCOMPARE(plain.size(), 2);
        pd::Random rng;
        const QByteArray out = pd::scramble(plain, rng, fixedClock(7));
        QCOMPARE(out.size(), 4);
        QCOMPARE(pd::fromLocal8(pd::descramble(out)), QStringLiteral("奖"));
    }

    void differentClocksDifferButBothDescramble()
    {
        // Seed 0 draws 38 (r = 2), seed 1 draws 41 (r = 5).
        const QByteArray plain = pd::toLocal8(u"李四 admin");
        pd::Random rng;
        const QByteArray first = pd::scramble(plain, rng, fixedClock(0));
        const QByteArray second = pd::scramble(plain, rng, fixedClock(1));
        QVERIFY(first != second);
        QCOMPARE(pd::descramble(first), plain);
        QCOMPARE(pd::descramble(second), plain);
    }

    void otherAlphabets()
    {
        QByteArray reversed = kDefaultAlphabet.toByteArray();
        std::reverse(reversed.begin(), reversed.end());
        pd::Random rng;
        const QByteArray plain = pd::toLocal8(u"赵六");
        const QByteArray out = pd::scramble(plain, rng, tickingClock(5), reversed);
        QCOMPARE(pd::descramble(out, reversed), plain);
        QVERIFY(pd::descramble(out) != plain);

        // Ten letters: x = 100 gives the first letter at 100 mod 10 = 0; the second would sit
        // at 8 * 10 + 5 = 85, beyond the alphabet, and is left out.
        QCOMPARE(pd::scramble("a", rng, fixedClock(1), "0123456789"), QByteArray("0"));
        QVERIFY(pd::scramble("abc", rng, fixedClock(1), "").isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestTextScrambler)
#include "test_textscrambler.moc"

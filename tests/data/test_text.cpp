#include "data/Text.h"

#include <QTest>

class TestText : public QObject
{
    Q_OBJECT
private slots:
    void numberRule_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("number");
        QTest::addColumn<int>("whole");
        QTest::newRow("empty") << "" << 0.0 << 0;
        QTest::newRow("plain") << "30" << 30.0 << 30;
        QTest::newRow("full-width") << "３０" << 30.0 << 30;
        QTest::newRow("full-width sign") << "－１２" << -12.0 << -12;
        QTest::newRow("blank then junk") << " 45abc" << 45.0 << 45;
        QTest::newRow("fraction") << "45.9" << 45.9 << 45;
        QTest::newRow("negative fraction") << "-2.5" << -2.5 << -2;
        QTest::newRow("exponent") << "1e3x" << 1000.0 << 1000;
        QTest::newRow("dangling exponent") << "7e" << 7.0 << 7;
        QTest::newRow("letters") << "abc" << 0.0 << 0;
        QTest::newRow("point only") << "." << 0.0 << 0;
        QTest::newRow("leading point") << ".5" << 0.5 << 0;
        QTest::newRow("huge") << "1e400" << 1.7976931348623157e308 << 2147483647;
    }
    void numberRule()
    {
        QFETCH(QString, text);
        QFETCH(double, number);
        QFETCH(int, whole);
        QVERIFY(pd::numbersEqual(pd::numberOf(text), number));
        QCOMPARE(pd::wholeNumberOf(text), whole);
    }
    void numbersEqualWithinTolerance()
    {
        QVERIFY(pd::numbersEqual(1.0, 1.00000005));
        QVERIFY(!pd::numbersEqual(1.0, 1.000001));
    }
    void truthTexts()
    {
        QVERIFY(pd::truthOf(u"真"));
        QVERIFY(!pd::truthOf(u"假"));
        QVERIFY(!pd::truthOf(u"是"));
        QVERIFY(!pd::truthOf(u"true"));
        QCOMPARE(pd::truthText(true), QStringLiteral("真"));
        QCOMPARE(pd::truthText(false), QStringLiteral("假"));
    }
    void colourNumbers()
    {
        QCOMPARE(pd::colourNumber(255, 0, 0), 255);
        QCOMPARE(pd::colourNumber(255, 128, 0), 33023);
        QCOMPARE(pd::redOf(33023), 255);
        QCOMPARE(pd::greenOf(33023), 128);
        QCOMPARE(pd::blueOf(0xFF0000), 255);
    }
    void gb18030RoundTrip_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("text");
        QTest::newRow("gbk") << QByteArray("\xd5\xc5\xc8\xfd") << QStringLiteral("张三");
        QTest::newRow("euro alone") << QByteArray("a\x80" "b") << QStringLiteral("a€b");
        QTest::newRow("0x80 as trail byte") << QByteArray("\x81\x80") << QString(QChar(0x4E90));
        QTest::newRow("four-byte") << QByteArray("\x81\x30\x81\x30") << QString(QChar(0x80));
        QTest::newRow("outside bmp") << QByteArray("\x90\x30\x81\x30")
                                     << QString::fromUcs4(U"\U00010000", 1);
    }
    void gb18030RoundTrip()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, text);
        QCOMPARE(pd::fromLocal8(bytes), text);
        QCOMPARE(pd::toLocal8(text), bytes);
    }
    void everyTwoByteGbkCodeRoundTrips()
    {
        int checked = 0;
        for (int lead = 0x81; lead <= 0xFE; ++lead) {
            for (int trail = 0x40; trail <= 0xFE; ++trail) {
                if (trail == 0x7F)
                    continue;
                QByteArray bytes;
                bytes.append(char(lead)).append(char(trail));
                const QString text = pd::fromLocal8(bytes);
                if (text.isEmpty()) qWarning() << Qt::hex << lead << trail;
                QVERIFY(!text.isEmpty());
                QCOMPARE(pd::toLocal8(text), bytes);
                ++checked;
            }
        }
        QCOMPARE(checked, 126 * 190);
    }
    void byteLength()
    {
        QCOMPARE(pd::local8Length(u"二等奖 已抽取3名"), qsizetype(16));
    }
};

QTEST_GUILESS_MAIN(TestText)
#include "test_text.moc"

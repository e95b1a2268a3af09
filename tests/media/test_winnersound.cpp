#include "media/WinnerSound.h"

#include <QTest>
#include <QtEndian>

#include <cmath>

namespace {

constexpr int kHeaderBytes = 44;

qint16 sampleAt(const QByteArray& wav, qsizetype frame, int channel)
{
    return qFromLittleEndian<qint16>(wav.constData() + kHeaderBytes + frame * 4 + channel * 2);
}

// Root mean square of both channels over [first, last) frames, as a fraction of full scale.
double loudness(const QByteArray& wav, qsizetype first, qsizetype last)
{
    double sum = 0;
    for (qsizetype f = first; f < last; ++f)
        for (int c = 0; c < 2; ++c)
            sum += double(sampleAt(wav, f, c)) * sampleAt(wav, f, c);
    return std::sqrt(sum / double(2 * (last - first))) / 32768.0;
}

} // namespace

class TestWinnerSound : public QObject
{
    Q_OBJECT
private slots:
    void headerFields_data()
    {
        QTest::addColumn<int>("offset");
        QTest::addColumn<int>("width"); // 4 = four-letter tag or 32-bit value, 2 = 16-bit value
        QTest::addColumn<QByteArray>("tag");
        QTest::addColumn<qint64>("value");

        QTest::newRow("RIFF") << 0 << 4 << QByteArray("RIFF") << qint64(-1);
        QTest::newRow("RIFF size") << 4 << 4 << QByteArray() << qint64(36 + 285184);
        QTest::newRow("WAVE") << 8 << 4 << QByteArray("WAVE") << qint64(-1);
        QTest::newRow("fmt chunk") << 12 << 4 << QByteArray("fmt ") << qint64(-1);
        QTest::newRow("fmt size") << 16 << 4 << QByteArray() << qint64(16);
        QTest::newRow("PCM") << 20 << 2 << QByteArray() << qint64(1);
        QTest::newRow("channels") << 22 << 2 << QByteArray() << qint64(2);
        QTest::newRow("sample rate") << 24 << 4 << QByteArray() << qint64(44100);
        QTest::newRow("byte rate") << 28 << 4 << QByteArray() << qint64(44100 * 4);
        QTest::newRow("block align") << 32 << 2 << QByteArray() << qint64(4);
        QTest::newRow("bits per sample") << 34 << 2 << QByteArray() << qint64(16);
        QTest::newRow("data chunk") << 36 << 4 << QByteArray("data") << qint64(-1);
        QTest::newRow("data size") << 40 << 4 << QByteArray() << qint64(285184);
    }
    void headerFields()
    {
        QFETCH(int, offset);
        QFETCH(int, width);
        QFETCH(QByteArray, tag);
        QFETCH(qint64, value);
        const QByteArray wav = pd::winnerSoundWav();
        QVERIFY(wav.size() >= kHeaderBytes);
        if (!tag.isEmpty())
            QCOMPARE(wav.mid(offset, 4), tag);
        else if (width == 4)
            QCOMPARE(qint64(qFromLittleEndian<quint32>(wav.constData() + offset)), value);
        else
            QCOMPARE(qint64(qFromLittleEndian<quint16>(wav.constData() + offset)), value);
    }

    void holdsExactlyItsDataChunk()
    {
        QCOMPARE(pd::winnerSoundWav().size(), kHeaderBytes + 285184);
    }

    void soundsLikeACelebrationClip()
    {
        const QByteArray wav = pd::winnerSoundWav();
        QVERIFY(wav.size() > kHeaderBytes);
        const qsizetype frames = (wav.size() - kHeaderBytes) / 4;

        int peak = 0;
        for (qsizetype f = 0; f < frames; ++f)
            for (int c = 0; c < 2; ++c)
                peak = qMax(peak, qAbs(int(sampleAt(wav, f, c))));
        // Loud enough to be heard over a room, with headroom so that it never clips.
        QVERIFY2(peak > 16000 && peak < 32000, qPrintable(QString::number(peak)));

        // No click at either end, and a soft decay: the last tenth of a second is far quieter
        // than the first half second.
        for (int c = 0; c < 2; ++c) {
            QVERIFY(qAbs(sampleAt(wav, 0, c)) < 200);
            QVERIFY(qAbs(sampleAt(wav, frames - 1, c)) < 200);
        }
        const double opening = loudness(wav, 0, 22050);
        const double ending = loudness(wav, frames - 4410, frames);
        QVERIFY2(ending < opening / 4,
                 qPrintable(QStringLiteral("%1 %2").arg(opening).arg(ending)));

        // Stereo: the channels differ (the glints are panned).
        QVERIFY(loudness(wav, 0, frames) > 0.02);
        bool channelsDiffer = false;
        for (qsizetype f = 0; f < frames && !channelsDiffer; ++f)
            channelsDiffer = sampleAt(wav, f, 0) != sampleAt(wav, f, 1);
        QVERIFY(channelsDiffer);
    }
};

QTEST_GUILESS_MAIN(TestWinnerSound)
#include "test_winnersound.moc"

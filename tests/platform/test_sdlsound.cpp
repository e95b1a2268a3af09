#include "media/WinnerSound.h"
#include "platform/SdlSound.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

// SDL reads the audio driver from the environment each time its audio starts, and each
// SdlSound starts and ends it, so each case picks its own driver.
class TestSdlSound : public QObject
{
    Q_OBJECT
private:
    static qint64 loudSamples(const QByteArray& pcm)
    {
        qint64 loud = 0;
        const auto* s = reinterpret_cast<const qint16*>(pcm.constData());
        for (qsizetype i = 0; i < pcm.size() / 2; ++i)
            loud += std::abs(s[i]) > 64;
        return loud;
    }

private slots:
    // Without a usable device every call is silent and returns at once.
    void noDeviceMeansSilence()
    {
        qputenv("SDL_AUDIODRIVER", "no-such-driver");
        pd::SdlSound sound;
        QVERIFY(!sound.isOpen());
        sound.playLooped(QStringLiteral("/nonexistent.mp3"));
        sound.playOnce(pd::winnerSoundWav());
        sound.stopAll();
    }

    // The disk driver writes the mix to a file: the winner sound is heard, and after a stop
    // only silence follows.
    void winnerSoundIsHeardAndStops()
    {
        QTemporaryDir dir;
        const QString out = dir.filePath(QStringLiteral("mix.raw"));
        qputenv("SDL_AUDIODRIVER", "disk");
        qputenv("SDL_DISKAUDIOFILE", out.toUtf8());
        qputenv("SDL_DISKAUDIODELAY", "5");
        pd::SdlSound sound;
        QVERIFY(sound.isOpen());
        sound.playLooped(dir.filePath(QStringLiteral("missing.mp3"))); // silent, no crash
        sound.playOnce(pd::winnerSoundWav());
        QTest::qWait(400);
        sound.stopAll();
        QFile file(out);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const qint64 heardUpTo = file.size();
        QVERIFY(loudSamples(file.readAll()) > 1000);
        QTest::qWait(300);
        file.seek(heardUpTo + 4 * 2048 * 2); // past what the mixer had already queued
        const QByteArray after = file.readAll();
        QVERIFY(after.size() > 4 * 1024);
        QCOMPARE(loudSamples(after), 0);
    }
};

QTEST_GUILESS_MAIN(TestSdlSound)
#include "test_sdlsound.moc"

#include "media/MovieFormat.h"

#include <QRandomGenerator>
#include <QTest>

namespace {

pd::Movie sampleMovie()
{
    pd::Movie movie;
    movie.width = 1920;
    movie.height = 1080;
    movie.frameRate = 30;
    movie.frameCount = 120;
    movie.background = {0, 0, 0};
    movie.gravity = 160;
    pd::FireworkShell a;
    a.launchFrame = 3;
    a.riseFrames = 20;
    a.x = 500;
    a.y = 300;
    a.type = pd::BurstType::Willow;
    a.first = {255, 190, 70};
    a.second = {10, 20, 30};
    a.particles = 200;
    a.speed = 380;
    a.lifeFrames = 70;
    a.seed = 0xDEADBEEF;
    pd::FireworkShell b = a;
    b.launchFrame = 119;
    b.x = 1920;
    b.y = 1080;
    b.type = pd::BurstType::Crackle;
    b.particles = 600;
    b.seed = 7;
    movie.shells = {a, b};
    return movie;
}

// Offsets in the byte layout: header fields, then the first shell record at 18.
constexpr int kShell = 18;

} // namespace

class TestMovieFormat : public QObject
{
    Q_OBJECT
private slots:
    void readsWhatWasWritten()
    {
        const pd::Movie movie = sampleMovie();
        const QByteArray bytes = pd::writeMovie(movie);
        QCOMPARE(bytes.size(), 18 + 2 * 23);
        const std::optional<pd::Movie> read = pd::readMovie(bytes);
        QVERIFY(read.has_value());
        QVERIFY(*read == movie);
    }

    void rejectsBadBytes_data()
    {
        QTest::addColumn<int>("offset");
        QTest::addColumn<int>("value");   // the byte written at offset; -1 truncates there,
        QTest::addColumn<bool>("append"); // or a byte appended
        QTest::newRow("empty") << 0 << -1 << false;
        QTest::newRow("header cut") << 17 << -1 << false;
        QTest::newRow("shell cut") << kShell + 22 << -1 << false;
        QTest::newRow("trailing byte") << 0 << 0 << true;
        QTest::newRow("magic") << 0 << int('X') << false;
        QTest::newRow("version") << 4 << 2 << false;
        QTest::newRow("width 0") << 5 << 0 << false; // 1920 = 0x0780; low byte 0, high 7 kept
        QTest::newRow("width too large") << 6 << 0x20 << false;
        QTest::newRow("frame rate 0") << 9 << 0 << false;
        QTest::newRow("frame rate 61") << 9 << 61 << false;
        QTest::newRow("more shells than bytes") << 17 << 3 << false;
        QTest::newRow("launch after the end") << kShell << 120 << false;
        QTest::newRow("burst right of the frame") << kShell + 4 << 0x08 << false;
        QTest::newRow("unknown burst type") << kShell + 7 << 7 << false;
        QTest::newRow("no particles") << kShell + 14 << 0 << false;
        QTest::newRow("too many particles") << kShell + 15 << 3 << false;
        QTest::newRow("no life") << kShell + 18 << 0 << false;
    }
    void rejectsBadBytes()
    {
        QFETCH(int, offset);
        QFETCH(int, value);
        QFETCH(bool, append);
        QByteArray bytes = pd::writeMovie(sampleMovie());
        if (append) {
            bytes.append(char(value));
        } else if (value < 0) {
            bytes.truncate(offset);
        } else {
            if (offset == 5) // width 0: both bytes
                bytes[6] = 0;
            bytes[offset] = char(value);
        }
        QVERIFY(!pd::readMovie(bytes).has_value());
    }

    // What a fuzzer would do: mutate, cut and grow a valid movie. Whatever is accepted stays
    // inside the limits that keep drawing cheap.
    void anyBytesStayWithinLimits()
    {
        const QByteArray valid = pd::writeMovie(sampleMovie());
        QRandomGenerator random(20240611);
        int accepted = 0;
        for (int round = 0; round < 20000; ++round) {
            QByteArray bytes = valid;
            const int edits = 1 + int(random.bounded(4));
            for (int e = 0; e < edits; ++e)
                bytes[int(random.bounded(bytes.size()))] = char(random.bounded(256));
            if (random.bounded(8) == 0)
                bytes.truncate(int(random.bounded(bytes.size() + 1)));
            const std::optional<pd::Movie> movie = pd::readMovie(bytes);
            if (!movie)
                continue;
            ++accepted;
            QVERIFY(movie->width >= 1 && movie->width <= pd::kMaxMovieSide);
            QVERIFY(movie->frameRate >= 1 && movie->frameRate <= pd::kMaxFrameRate);
            QVERIFY(movie->shells.size() <= pd::kMaxShells);
            for (const pd::FireworkShell& shell : movie->shells) {
                QVERIFY(shell.particles >= 1 && shell.particles <= pd::kMaxParticles);
                QVERIFY(shell.launchFrame < movie->frameCount);
            }
        }
        // Some mutations only touch colours and seeds, so a share must be accepted.
        QVERIFY(accepted > 0);
    }
};

QTEST_GUILESS_MAIN(TestMovieFormat)
#include "test_movieformat.moc"

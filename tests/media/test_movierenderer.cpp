#include "media/FireworksMovies.h"
#include "media/MovieRenderer.h"

#include <QRandomGenerator>
#include <QTest>

#include <algorithm>

namespace {

pd::MovieRenderer rendererOf(int number)
{
    const std::optional<pd::Movie> movie = pd::readMovie(pd::fireworksMovie(number));
    if (!movie)
        qFatal("movie %d does not read", number);
    return pd::MovieRenderer(*movie);
}

int litPixels(const QImage& image)
{
    int lit = 0;
    for (int y = 0; y < image.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x)
            lit += (line[x] & 0x00FFFFFF) != 0;
    }
    return lit;
}

// Share of pixels brighter than half of full luminance in a part of the frame.
double brightShare(const QImage& image, const QRect& area)
{
    int bright = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = area.left(); x <= area.right(); ++x) {
            const QRgb p = line[x];
            const double luminance =
                (0.2126 * qRed(p) + 0.7152 * qGreen(p) + 0.0722 * qBlue(p)) / 255.0;
            bright += luminance >= 0.5;
        }
    }
    return double(bright) / double(area.width() * area.height());
}

// The most flashes in any one-second window, over the whole frame and each quarter of it.
// A transition is a rise or fall of the bright share by at least a tenth of the area from
// the last turning point; two opposing transitions make one flash.
int maxFlashesPerSecond(const QList<QImage>& frames, int frameRate)
{
    if (frames.isEmpty())
        return 0;
    const QRect whole = frames.first().rect();
    const int w = whole.width() / 2;
    const int h = whole.height() / 2;
    const QList<QRect> areas = {whole, QRect(0, 0, w, h), QRect(w, 0, w, h), QRect(0, h, w, h),
                                QRect(w, h, w, h)};
    int worst = 0;
    for (const QRect& area : areas) {
        QList<int> transitions;
        double extreme = brightShare(frames.first(), area);
        int direction = 0;
        for (qsizetype f = 1; f < frames.size(); ++f) {
            const double share = brightShare(frames[f], area);
            // Follow the current rise or fall to its turning point.
            if ((direction > 0 && share > extreme) || (direction < 0 && share < extreme))
                extreme = share;
            if (std::abs(share - extreme) >= 0.1) {
                direction = share > extreme ? 1 : -1;
                transitions.append(int(f));
                extreme = share;
            }
        }
        for (int start = 0; start < frames.size(); ++start) {
            const auto inWindow = std::count_if(transitions.begin(), transitions.end(), [&](int f) {
                return f >= start && f < start + frameRate;
            });
            worst = std::max(worst, int(inWindow / 2));
        }
    }
    return worst;
}

QList<QImage> strobe(int period, int count)
{
    QList<QImage> frames;
    for (int f = 0; f < count; ++f) {
        QImage image(64, 36, QImage::Format_ARGB32_Premultiplied);
        image.fill((f / period) % 2 ? Qt::white : Qt::black);
        frames.append(image);
    }
    return frames;
}

} // namespace

class TestMovieRenderer : public QObject
{
    Q_OBJECT
private slots:
    void movieTable()
    {
        QVERIFY(pd::fireworksMovie(0).isEmpty());
        QVERIFY(pd::fireworksMovie(8).isEmpty());
        for (int number = 1; number <= pd::kFireworksMovieCount; ++number)
            QVERIFY2(pd::readMovie(pd::fireworksMovie(number)).has_value(),
                     qPrintable(QString::number(number)));
    }

    void eachMovie_data()
    {
        QTest::addColumn<int>("number");
        for (int number = 1; number <= pd::kFireworksMovieCount; ++number)
            QTest::addRow("movie %d", number) << number;
    }

    // About four seconds on pure black, with sparks once the first shell has burst.
    void eachMovie()
    {
        QFETCH(int, number);
        const pd::MovieRenderer renderer = rendererOf(number);
        const pd::Movie& movie = renderer.movie();
        QVERIFY(movie.background == pd::MovieColour{});
        const double seconds = double(movie.frameCount) / movie.frameRate;
        QVERIFY2(seconds >= 3.5 && seconds <= 4.5, qPrintable(QString::number(seconds)));

        const QSize size(480, 270);
        const QImage first = renderer.renderFrame(0, size);
        QCOMPARE(first.pixel(0, 0), qRgb(0, 0, 0));
        QVERIFY(litPixels(first) < size.width() * size.height() / 100);

        const pd::FireworkShell& shell = movie.shells.first();
        const int afterBurst = shell.launchFrame + shell.riseFrames + 8;
        const QImage burst = renderer.renderFrame(afterBurst, size);
        QVERIFY2(litPixels(burst) > 300, qPrintable(QString::number(litPixels(burst))));
        // Most of the sky stays black.
        QVERIFY(litPixels(burst) < size.width() * size.height() / 4);
    }

    void sameFrameGivesSameImage()
    {
        const pd::MovieRenderer renderer = rendererOf(7);
        const QSize size(320, 180);
        const QImage first = renderer.renderFrame(50, size);
        for (int frame : {90, 3, 49, 51})
            renderer.renderFrame(frame, size);
        QCOMPARE(renderer.renderFrame(50, size), first);
        QCOMPARE(rendererOf(7).renderFrame(50, size), first);
        QVERIFY(renderer.renderFrame(51, size) != first);
    }

    // Cut to its shape, the window shows exactly the drawn stars and nothing dark.
    void shapeIsExactlyTheDrawnPixels_data()
    {
        QTest::addColumn<int>("number");
        QTest::addColumn<int>("frame");
        QTest::newRow("willow") << 2 << 60;
        QTest::newRow("crossette") << 5 << 50;
        QTest::newRow("finale") << 7 << 70;
    }
    void shapeIsExactlyTheDrawnPixels()
    {
        QFETCH(int, number);
        QFETCH(int, frame);
        const pd::MovieRenderer renderer = rendererOf(number);
        QImage image(640, 360, QImage::Format_ARGB32_Premultiplied);
        const QRegion shape = renderer.renderWithShape(image, frame, false);
        QVERIFY(!shape.isEmpty());
        QCOMPARE(renderer.frameShape(frame, image.size()), shape);
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                QCOMPARE(shape.contains(QPoint(x, y)), (image.pixel(x, y) & 0xFFFFFF) != 0);
    }

    void regionEqualsUnionOfRects()
    {
        QRandomGenerator random(99);
        const QSize bounds(300, 200);
        for (int round = 0; round < 50; ++round) {
            std::vector<QRect> rects;
            QRegion expected;
            const int count = int(random.bounded(200));
            for (int i = 0; i < count; ++i) {
                const QRect r(int(random.bounded(-20, 320)), int(random.bounded(-20, 220)),
                              1 + int(random.bounded(12)), 1 + int(random.bounded(12)));
                rects.push_back(r);
                expected |= r & QRect(QPoint(0, 0), bounds);
            }
            const QRegion built = pd::regionOfRects(rects, bounds);
            QVERIFY((built ^ expected).isEmpty());
        }
    }

    void flashCounterCatchesStrobes()
    {
        QCOMPARE(maxFlashesPerSecond(strobe(3, 60), 30), 5);
        QCOMPARE(maxFlashesPerSecond(strobe(15, 60), 30), 1);
        QCOMPARE(maxFlashesPerSecond(strobe(100, 60), 30), 0);
    }

    // People sensitive to flashing light may be in the room: no more than three flashes of a
    // large area in any second.
    void noMovieFlashes_data() { eachMovie_data(); }
    void noMovieFlashes()
    {
        QFETCH(int, number);
        const pd::MovieRenderer renderer = rendererOf(number);
        QList<QImage> frames;
        for (int frame = 0; frame < renderer.movie().frameCount; ++frame)
            frames.append(renderer.renderFrame(frame, QSize(192, 108)));
        QVERIFY(maxFlashesPerSecond(frames, renderer.movie().frameRate) <= 3);
    }
};

QTEST_MAIN(TestMovieRenderer)
#include "test_movierenderer.moc"

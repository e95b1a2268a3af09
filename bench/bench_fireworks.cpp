// bench_fireworks: the cost of one fireworks frame at 1920 x 1080 (the stars simulated and
// drawn, plus the shape mask built for a display without a compositor), over every frame
// of the seven movies, and the time to open the overlay. Prints one line per measure:
// "bench <name> <value> ms". Run it with QT_QPA_PLATFORM=offscreen where there is no display.
#include "bench/BenchFigures.h"
#include "media/FireworksMovies.h"
#include "media/FireworksOverlay.h"
#include "media/MovieRenderer.h"
#include "platform/Platform.h"
#include "platform/Random.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTextStream>
#include <QWidget>

#include <algorithm>
#include <vector>

namespace {

// Only the screen and the work folder matter to the overlay.
class BenchDesktop final : public pd::Desktop
{
public:
    QSize screenSize() const override { return screen; }
    double dotsPerInch() const override { return 96.0; }
    void openPath(const QString&) override {}
    QString programFolder() const override { return work; }
    QString workFolder() const override { return work; }
    qint64 clockMs() const override { return 0; }
    void waitProcessingEvents(int) override {}
    void exitProcess(int) override {}

    QSize screen;
    QString work;
};

void print(const char* name, double value)
{
    bench::print(name, value, "ms", 2);
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    const QSize size(1920, 1080);

    std::vector<double> frameMs;
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    QElapsedTimer clock;
    for (int number = 1; number <= pd::kFireworksMovieCount; ++number) {
        const auto movie = pd::readMovie(pd::fireworksMovie(number));
        if (!movie) {
            QTextStream(stderr) << "movie " << number << " does not read\n";
            return 1;
        }
        const pd::MovieRenderer renderer(*movie);
        std::vector<double> own;
        for (int frame = 0; frame < movie->frameCount; ++frame) {
            clock.start();
            renderer.renderInto(image, frame, pd::FadeStyle::Darken, true);
            const QRegion shape = renderer.frameShape(frame, size);
            own.push_back(static_cast<double>(clock.nsecsElapsed()) / 1e6);
            Q_UNUSED(shape);
        }
        QTextStream(stdout) << "movie " << number << " median "
                            << QString::number(bench::percentile(own, 0.5), 'f', 2) << " ms, max "
                            << QString::number(*std::max_element(own.begin(), own.end()), 'f', 2)
                            << " ms\n";
        frameMs.insert(frameMs.end(), own.begin(), own.end());
    }
    print("fireworks_frame_median", bench::percentile(frameMs, 0.5));
    print("fireworks_frame_p99", bench::percentile(frameMs, 0.99));

    QTemporaryDir work;
    BenchDesktop desktop;
    desktop.screen = size;
    desktop.work = work.path() + QStringLiteral("/cache");
    pd::Random random;
    QWidget mainWindow;
    mainWindow.resize(size);
    mainWindow.show();
    pd::FireworksOverlay overlay(&mainWindow, random, desktop);
    std::vector<double> openMs;
    for (int i = 0; i < 21; ++i) {
        clock.start();
        overlay.OpenOverlay();
        openMs.push_back(static_cast<double>(clock.nsecsElapsed()) / 1e6);
        QApplication::processEvents();
        overlay.CloseOverlay();
        QApplication::processEvents();
    }
    print("overlay_open", bench::percentile(openMs, 0.5));
    return 0;
}

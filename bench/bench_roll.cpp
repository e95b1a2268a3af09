// bench_roll: the cost of one roll tick (read the head of a photo, find its embedded preview,
// decode it, scale it into the photo frame) and of the whole-file fallback for photos that
// carry no preview. Prints one line per measure: "bench <name> <value> <unit>".
//
//   bench_roll                 generates its own photo sets (12 MP with and without preview,
//                              demo-size photos) in a temporary folder
//   bench_roll --photos DIR    measures the *.jpg photos of DIR instead
#include "bench/BenchFigures.h"
#include "data/FileIo.h"
#include "media/PictureDecoder.h"
#include "tools/photogen/PhotoGenerator.h"

#include <QCommandLineParser>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <QTextStream>

#include <vector>

namespace {

QSize g_frame(500, 400);

QImage intoFrame(const QImage& picture)
{
    return picture.isNull()
               ? picture
               : picture.scaled(g_frame, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

// What the picker timer does for one photo.
QImage rollTick(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray head = file.read(pd::kPreviewSearchBytes);
    file.close();
    const QByteArrayView preview = pd::embeddedPreviewOf(head);
    if (!preview.isEmpty())
        return intoFrame(pd::decodePicture(preview, g_frame));
    return intoFrame(pd::decodePicture(pd::readWholeFile(path), g_frame));
}

// The fallback without help from the decoder's scaling, for comparison.
QImage fullDecode(const QString& path)
{
    return intoFrame(pd::decodePicture(pd::readWholeFile(path)));
}

struct Measure
{
    double median = 0;
    double p99 = 0;
    int failures = 0;
};

template <typename Step> Measure measure(const QStringList& paths, int rounds, Step step)
{
    std::vector<double> ms;
    Measure result;
    for (const QString& path : paths) // warm the page cache as a running draw would
        step(path);
    for (int round = 0; round < rounds; ++round) {
        for (const QString& path : paths) {
            QElapsedTimer timer;
            timer.start();
            const QImage image = step(path);
            ms.push_back(double(timer.nsecsElapsed()) / 1e6);
            if (image.size() != g_frame)
                ++result.failures;
        }
    }
    result.median = bench::percentile(ms, 0.5);
    result.p99 = bench::percentile(ms, 0.99);
    return result;
}

void print(const char* name, const Measure& m)
{
    bench::print(QByteArray(name) + "_median", m.median, "ms");
    bench::print(QByteArray(name) + "_p99", m.p99, "ms");
    if (m.failures > 0)
        bench::print(QByteArray(name) + "_undecoded", m.failures, "ticks", 0);
}

} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Measures the roll tick and its fallback."));
    parser.addHelpOption();
    const QCommandLineOption photos(
        QStringLiteral("photos"), QStringLiteral("Folder of *.jpg photos."), QStringLiteral("dir"));
    const QCommandLineOption count(QStringLiteral("count"),
                                   QStringLiteral("Photos per generated set (default 8)."),
                                   QStringLiteral("n"), QStringLiteral("8"));
    const QCommandLineOption rounds(QStringLiteral("rounds"),
                                    QStringLiteral("Passes over each set (default 25)."),
                                    QStringLiteral("n"), QStringLiteral("25"));
    parser.addOptions({photos, count, rounds});
    parser.process(app);
    const int passes = qMax(1, parser.value(rounds).toInt());
    bench::note(
        QStringLiteral("frame %1 x %2, times per tick").arg(g_frame.width()).arg(g_frame.height()));

    if (parser.isSet(photos)) {
        QStringList withPreview;
        QStringList withoutPreview;
        for (const QString& path : bench::photosIn(parser.value(photos))) {
            const QByteArray head = pd::readWholeFile(path, pd::kPreviewSearchBytes);
            (pd::embeddedPreviewOf(head).isEmpty() ? withoutPreview : withPreview).append(path);
        }
        bench::note(QStringLiteral("%1 photos with preview, %2 without")
                        .arg(withPreview.size())
                        .arg(withoutPreview.size()));
        if (!withPreview.isEmpty())
            print("roll_tick_preview", measure(withPreview, passes, rollTick));
        if (!withoutPreview.isEmpty())
            print("roll_tick_fallback", measure(withoutPreview, passes, rollTick));
        return withPreview.isEmpty() && withoutPreview.isEmpty() ? 1 : 0;
    }

    QTemporaryDir dir;
    if (!dir.isValid())
        return 1;
    const int n = qBound(1, parser.value(count).toInt(), 200);
    pd::PhotoOptions big;
    big.size = QSize(4000, 3000);
    big.grain = 10;
    const QStringList bigPreview =
        pd::writePhotos(dir.filePath(QStringLiteral("big_preview")), n, 101, big);
    big.preview = false;
    const QStringList bigPlain =
        pd::writePhotos(dir.filePath(QStringLiteral("big_plain")), n, 202, big);
    const QStringList small =
        pd::writePhotos(dir.filePath(QStringLiteral("small")), n, 303, pd::PhotoOptions{});
    if (bigPreview.isEmpty() || bigPlain.isEmpty() || small.isEmpty()) {
        QTextStream(stderr) << "bench_roll: could not write the photo sets\n";
        return 1;
    }
    bench::print("photo_12mp_mean_file", bench::meanFileKiB(bigPlain), "KiB", 0);
    bench::print("photo_400x500_mean_file", bench::meanFileKiB(small), "KiB", 0);
    print("roll_tick_12mp_preview", measure(bigPreview, passes, rollTick));
    print("roll_tick_400x500_preview", measure(small, passes, rollTick));
    // Fallback ticks take tens of milliseconds: fewer passes give the same picture.
    const int slowPasses = qMax(1, passes / 5);
    print("roll_tick_12mp_fallback", measure(bigPlain, slowPasses, rollTick));
    print("full_decode_12mp", measure(bigPlain, slowPasses, fullDecode));
    return 0;
}

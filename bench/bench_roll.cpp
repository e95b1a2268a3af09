// bench_roll: the cost of one roll tick (read the head of a photo, find its embedded preview,
// decode it, scale it into the photo frame) and of the whole-file fallback for photos that
// carry no preview. Prints one line per measure: "bench <name> <value> <unit>".
//
//   bench_roll                 generates its own photo sets (12 MP with and without preview,
//                              demo-size photos) in a temporary folder
//   bench_roll --photos DIR    measures the *.jpg photos of DIR instead
#include "data/FileIo.h"
#include "media/PictureDecoder.h"
#include "tools/photogen/PhotoGenerator.h"

#include <QCommandLineParser>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>
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
    if (ms.empty())
        return result;
    std::sort(ms.begin(), ms.end());
    result.median = ms[ms.size() / 2];
    result.p99 = ms[std::min(ms.size() - 1, size_t(double(ms.size()) * 0.99))];
    return result;
}

void print(QTextStream& out, const QString& name, const Measure& m)
{
    out << "bench " << name << "_median " << QString::number(m.median, 'f', 3) << " ms\n";
    out << "bench " << name << "_p99 " << QString::number(m.p99, 'f', 3) << " ms\n";
    if (m.failures > 0)
        out << "bench " << name << "_undecoded " << m.failures << " ticks\n";
    out.flush();
}

void printMeanSize(QTextStream& out, const QString& name, const QStringList& paths)
{
    qint64 total = 0;
    for (const QString& path : paths)
        total += QFileInfo(path).size();
    out << "bench " << name << "_mean_file " << (paths.isEmpty() ? 0 : total / paths.size() / 1024)
        << " KiB\n";
}

QStringList photosIn(const QString& folder)
{
    QStringList paths;
    const QDir dir(folder);
    for (const QString& name : dir.entryList({QStringLiteral("*.jpg")}, QDir::Files, QDir::Name))
        paths.append(dir.absoluteFilePath(name));
    return paths;
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
    QTextStream out(stdout);
    out << "# frame " << g_frame.width() << " x " << g_frame.height() << ", times per tick\n";

    if (parser.isSet(photos)) {
        QStringList withPreview;
        QStringList withoutPreview;
        for (const QString& path : photosIn(parser.value(photos))) {
            const QByteArray head = pd::readWholeFile(path, pd::kPreviewSearchBytes);
            (pd::embeddedPreviewOf(head).isEmpty() ? withoutPreview : withPreview).append(path);
        }
        out << "# " << withPreview.size() << " photos with preview, " << withoutPreview.size()
            << " without\n";
        if (!withPreview.isEmpty())
            print(out, QStringLiteral("roll_tick_preview"), measure(withPreview, passes, rollTick));
        if (!withoutPreview.isEmpty())
            print(out, QStringLiteral("roll_tick_fallback"),
                  measure(withoutPreview, passes, rollTick));
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
    printMeanSize(out, QStringLiteral("photo_12mp"), bigPlain);
    printMeanSize(out, QStringLiteral("photo_400x500"), small);
    print(out, QStringLiteral("roll_tick_12mp_preview"), measure(bigPreview, passes, rollTick));
    print(out, QStringLiteral("roll_tick_400x500_preview"), measure(small, passes, rollTick));
    // Fallback ticks take tens of milliseconds: fewer passes give the same picture.
    const int slowPasses = qMax(1, passes / 5);
    print(out, QStringLiteral("roll_tick_12mp_fallback"), measure(bigPlain, slowPasses, rollTick));
    print(out, QStringLiteral("full_decode_12mp"), measure(bigPlain, slowPasses, fullDecode));
    return 0;
}

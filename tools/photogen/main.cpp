// photogen: writes demo participant photos, big test photos or a whole demo event folder.
#include "tools/photogen/PhotoGenerator.h"

#include <QCommandLineParser>
#include <QDir>
#include <QGuiApplication>
#include <QTextStream>

int main(int argc, char* argv[])
{
    // Drawing names needs fonts, not a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("photogen"));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Writes portrait-like JPEG photos named after participants."));
    parser.addHelpOption();
    const QCommandLineOption out({QStringLiteral("o"), QStringLiteral("out")},
                                 QStringLiteral("Output folder."), QStringLiteral("dir"),
                                 QStringLiteral("."));
    const QCommandLineOption count({QStringLiteral("n"), QStringLiteral("count")},
                                   QStringLiteral("Number of photos."), QStringLiteral("n"),
                                   QStringLiteral("10"));
    const QCommandLineOption size(QStringLiteral("size"), QStringLiteral("Photo size WxH."),
                                  QStringLiteral("WxH"), QStringLiteral("400x500"));
    const QCommandLineOption big(QStringLiteral("big"),
                                 QStringLiteral("12-megapixel photos (4000x3000)."));
    const QCommandLineOption noPreview(QStringLiteral("no-preview"),
                                       QStringLiteral("Write no embedded preview."));
    const QCommandLineOption seed(QStringLiteral("seed"),
                                  QStringLiteral("Seed of names and looks."), QStringLiteral("n"),
                                  QStringLiteral("1"));
    const QCommandLineOption grain(QStringLiteral("grain"), QStringLiteral("Film grain 0..40."),
                                   QStringLiteral("n"), QStringLiteral("6"));
    const QCommandLineOption demo(QStringLiteral("demo"),
                                  QStringLiteral("Prepare a whole demo event folder."),
                                  QStringLiteral("dir"));
    parser.addOptions({out, count, size, big, noPreview, seed, grain, demo});
    parser.process(app);

    QTextStream err(stderr);
    bool seedOk = false;
    const quint32 seedValue = parser.value(seed).toUInt(&seedOk);
    if (!seedOk) {
        err << "photogen: --seed needs a whole number\n";
        return 2;
    }

    if (parser.isSet(demo)) {
        const QString folder = parser.value(demo);
        if (!pd::makeDemoEvent(folder, seedValue)) {
            err << "photogen: could not write the demo event into " << folder << "\n";
            return 1;
        }
        QTextStream(stdout) << "demo event written to " << QDir(folder).absolutePath() << "\n";
        return 0;
    }

    pd::PhotoOptions options;
    if (parser.isSet(big)) {
        options.size = QSize(4000, 3000);
    } else {
        const QStringList parts = parser.value(size).split(QLatin1Char('x'));
        const int w = parts.size() == 2 ? parts[0].toInt() : 0;
        const int h = parts.size() == 2 ? parts[1].toInt() : 0;
        if (w < 16 || h < 16 || w > 20000 || h > 20000) {
            err << "photogen: --size must be WxH, each from 16 to 20000\n";
            return 2;
        }
        options.size = QSize(w, h);
    }
    options.preview = !parser.isSet(noPreview);
    options.grain = qBound(0, parser.value(grain).toInt(), 40);
    const int n = parser.value(count).toInt();
    if (n < 1 || n > 10000) {
        err << "photogen: --count must be from 1 to 10000\n";
        return 2;
    }
    const QStringList written = pd::writePhotos(parser.value(out), n, seedValue, options);
    if (written.isEmpty()) {
        err << "photogen: could not write into " << parser.value(out) << "\n";
        return 1;
    }
    QTextStream(stdout) << written.size() << " photos written to "
                        << QDir(parser.value(out)).absolutePath() << "\n";
    return 0;
}

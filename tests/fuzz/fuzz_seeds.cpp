// Writes the seed corpora of the fuzz targets into <out>/<target>/: settings files as the
// program and the demo event write them, scrambled names, photos with and without an
// embedded preview (and damaged ones), awkward file names, and the seven fireworks movies
// with a small movie of our own. Usage: fuzz_seeds <out folder> <movies folder>
#include "data/Text.h"
#include "media/MovieFormat.h"
#include "platform/Random.h"
#include "settings/TextScrambler.h"
#include "tools/photogen/PhotoGenerator.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>

#include <cstdio>

using namespace pd;

namespace {

bool g_ok = true;

void put(const QString& folder, const QString& name, const QByteArray& bytes)
{
    QDir().mkpath(folder);
    QFile file(QDir(folder).filePath(name));
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(file.fileName()));
        g_ok = false;
    }
}

// The profile target's input: three length bytes, section, key, value, then the file.
QByteArray profileInput(const QByteArray& section, const QByteArray& key, const QByteArray& value,
                        const QByteArray& content)
{
    QByteArray input;
    input.append(char(section.size())).append(char(key.size())).append(char(value.size()));
    return input + section + key + value + content;
}

void profileSeeds(const QString& folder)
{
    const QByteArray demo = demoSettings(QStringLiteral("/event/prizes"));
    const QByteArray speed = toLocal8(QStringLiteral("滚动速度"));
    put(folder, "demo", profileInput("zbt", speed, "45", demo));
    put(folder, "newsection",
        profileInput("zweizhi", toLocal8(QStringLiteral("标签1左边")), "120", demo));
    put(folder, "lfonly",
        profileInput("ZBT", "fbt", " sub ", QByteArray(demo).replace("\r\n", "\n")));
    put(folder, "bom",
        profileInput("yanse", toLocal8(QStringLiteral("主标题字体颜色")), "255",
                     "\xEF\xBB\xBF[yanse]\r\nx=1\r\n[zbt]\r\nzbt=t"));
    put(folder, "empty", profileInput("zbt", "password", "Qm4Z", {}));
    put(folder, "longvalue",
        profileInput("zbt", "zbt", "t", "[zbt]\r\nzbt=" + QByteArray(12000, 'x') + "\r\n"));
}

void descrambleSeeds(const QString& folder)
{
    Random random;
    qint64 clock = 1;
    const auto tick = [&clock] { return clock++; };
    put(folder, "name", scramble(toLocal8(QStringLiteral("张三")), random, tick));
    put(folder, "password", scramble("secret-123", random, tick));
    put(folder, "outside", "!!Qm~~zz");
    put(folder, "odd", "Qm4");
    put(folder, "alphabet", QByteArray("\x3E") + kDefaultAlphabet.toByteArray() + "Kb1X");
}

QByteArray pngOf(const QImage& image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

void pictureSeeds(const QString& folder)
{
    PhotoOptions options;
    options.size = QSize(96, 120);
    options.grain = 0;
    options.quality = 60;
    const QByteArray withPreview = makePhoto(QStringLiteral("张三"), 1, options);
    options.preview = false;
    const QByteArray plain = makePhoto(QStringLiteral("李四"), 2, options);
    put(folder, "preview.jpg", withPreview);
    put(folder, "plain.jpg", plain);
    put(folder, "truncated.jpg", withPreview.first(withPreview.size() / 2));
    QByteArray badPreview = withPreview;
    const qsizetype inner = badPreview.indexOf("\xFF\xD8", 3);
    if (inner > 0)
        badPreview.replace(inner + 2, 40, QByteArray(40, '\x5A'));
    put(folder, "badpreview.jpg", badPreview);
    put(folder, "png.jpg", pngOf(portraitImage(QStringLiteral("王五"), 3, QSize(40, 50))));
    put(folder, "text.jpg", "not a photo\r\n");
}

void nameSeeds(const QString& folder)
{
    // The first byte of each input picks the extension's letter case.
    put(folder, "utf8", "\x00" + QStringLiteral("张三").toUtf8());
    put(folder, "gbk", "\x07" + toLocal8(QStringLiteral("李四")));
    put(folder, "dots", QByteArray("\x02") + "a.b.c");
    put(folder, "dotfirst", QByteArray("\x00", 1) + ".hidden");
    put(folder, "emoji", "\x01" + QStringLiteral("王😀五 한").toUtf8());
    put(folder, "long", "\x00" + QString(60, QChar(0x5F20)).toUtf8());
    put(folder, "backslash", QByteArray("\x04") + "c:\\photo\\x");
    put(folder, "euro", QByteArray("\x00") + "\x80\x81\x40");
}

void movieSeeds(const QString& folder, const QString& movies)
{
    const QDir source(movies);
    const QStringList files = source.entryList({QStringLiteral("*.pdfw")}, QDir::Files);
    if (files.isEmpty()) {
        std::fprintf(stderr, "no movies in %s\n", qPrintable(movies));
        g_ok = false;
    }
    for (const QString& name : files) {
        QFile file(source.filePath(name));
        if (file.open(QIODevice::ReadOnly))
            put(folder, name, file.readAll());
    }
    Movie movie;
    movie.width = 64;
    movie.height = 48;
    movie.frameRate = 10;
    movie.frameCount = 20;
    movie.gravity = 100;
    FireworkShell shell;
    shell.launchFrame = 2;
    shell.riseFrames = 3;
    shell.x = 30;
    shell.y = 20;
    shell.type = BurstType::Crossette;
    shell.first = {255, 200, 0};
    shell.second = {0, 100, 255};
    shell.particles = 12;
    shell.speed = 50;
    shell.lifeFrames = 8;
    shell.seed = 7;
    movie.shells = {shell};
    put(folder, "small.pdfw", writeMovie(movie));
}

} // namespace

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: fuzz_seeds <out folder> <movies folder>\n");
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    profileSeeds(out.filePath(QStringLiteral("profile")));
    descrambleSeeds(out.filePath(QStringLiteral("descramble")));
    pictureSeeds(out.filePath(QStringLiteral("rollpicture")));
    nameSeeds(out.filePath(QStringLiteral("photonames")));
    movieSeeds(out.filePath(QStringLiteral("movie")), QString::fromLocal8Bit(argv[2]));
    return g_ok ? 0 : 1;
}

#include "tools/photogen/PhotoGenerator.h"

#include "data/FileIo.h"
#include "data/Text.h"

#include <QBuffer>
#include <QDir>
#include <QImageWriter>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QSet>

#include <array>
#include <cstdint>

namespace pd {

namespace {

// A small generator of our own so that a seed gives the same photo on every machine.
class SeededRandom final
{
public:
    explicit SeededRandom(quint64 seed)
        : m_state(seed * 0x9E3779B97F4A7C15ull + 0x632BE59BD9B4E019ull)
    {
    }
    quint64 next()
    {
        quint64 z = (m_state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    int below(int bound) { return bound <= 0 ? 0 : int(next() % quint64(bound)); }
    double unit() { return double(next() >> 11) / double(1ull << 53); }

private:
    quint64 m_state = 0;
};

constexpr std::array kSurnames{
    u"王", u"李", u"张", u"刘", u"陈", u"杨", u"黄", u"赵", u"吴", u"周", u"徐", u"孙",   u"马",
    u"朱", u"胡", u"郭", u"何", u"高", u"林", u"罗", u"郑", u"梁", u"谢", u"宋", u"唐",   u"许",
    u"韩", u"冯", u"邓", u"曹", u"彭", u"曾", u"肖", u"田", u"董", u"袁", u"潘", u"于",   u"蒋",
    u"蔡", u"余", u"杜", u"叶", u"程", u"苏", u"魏", u"吕", u"丁", u"任", u"沈", u"欧阳", u"司马"};

constexpr std::array kGivenNames{
    u"伟",   u"芳",   u"娜",   u"秀英", u"敏",   u"静",   u"丽",   u"强",   u"磊",   u"军",
    u"洋",   u"勇",   u"艳",   u"杰",   u"娟",   u"涛",   u"明",   u"超",   u"秀兰", u"霞",
    u"平",   u"刚",   u"桂英", u"建华", u"文",   u"华",   u"红",   u"志强", u"晓东", u"婷",
    u"鹏",   u"辉",   u"玲",   u"宇",   u"浩然", u"欣怡", u"子涵", u"梓轩", u"雨桐", u"俊杰",
    u"思远", u"佳琪", u"嘉怡", u"一鸣", u"晨曦", u"子豪", u"诗涵", u"博文", u"雅琴", u"海燕",
    u"国庆", u"建国", u"丽娟", u"春梅", u"志明", u"晓燕", u"天佑", u"梦瑶", u"慧敏", u"家豪"};

QFont cjkFont(int pixelSize, bool bold)
{
    QFont font;
    font.setFamilies({QStringLiteral("WenQuanYi Micro Hei"), QStringLiteral("Noto Sans CJK SC"),
                      QStringLiteral("AR PL UMing CN"), QStringLiteral("Droid Sans Fallback")});
    font.setPixelSize(qMax(1, pixelSize));
    font.setBold(bold);
    return font;
}

void addGrain(QImage& image, int grain, quint64 seed)
{
    if (grain <= 0)
        return;
    quint32 state = quint32(seed * 2654435761u) | 1u;
    const int span = 2 * grain + 1;
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            state ^= state << 13;
            state ^= state >> 17;
            state ^= state << 5;
            const int delta = int(state % quint32(span)) - grain;
            const QRgb p = line[x];
            line[x] = qRgb(qBound(0, qRed(p) + delta, 255), qBound(0, qGreen(p) + delta, 255),
                           qBound(0, qBlue(p) + delta, 255));
        }
    }
}

void appendLe16(QByteArray& out, quint16 value)
{
    out.append(char(value & 0xFF));
    out.append(char(value >> 8));
}

void appendLe32(QByteArray& out, quint32 value)
{
    for (int shift = 0; shift < 32; shift += 8)
        out.append(char((value >> shift) & 0xFF));
}

void appendIfdEntry(QByteArray& out, quint16 tag, quint16 type, quint32 value)
{
    appendLe16(out, tag);
    appendLe16(out, type);
    appendLe32(out, 1);
    if (type == 3) { // SHORT: the value sits left-aligned in the four value bytes
        appendLe16(out, quint16(value));
        appendLe16(out, 0);
    } else {
        appendLe32(out, value);
    }
}

void appendSegment(QByteArray& out, char marker, const QByteArray& payload)
{
    const int length = int(payload.size()) + 2;
    out.append(char(0xFF));
    out.append(marker);
    out.append(char((length >> 8) & 0xFF));
    out.append(char(length & 0xFF));
    out.append(payload);
}

} // namespace

QString chineseNameFor(quint32 seed)
{
    SeededRandom random(seed);
    const auto surname = kSurnames[size_t(random.below(int(kSurnames.size())))];
    const auto given = kGivenNames[size_t(random.below(int(kGivenNames.size())))];
    return QString::fromUtf16(surname) + QString::fromUtf16(given);
}

QStringList chineseNames(int count, quint32 seed)
{
    QStringList names;
    QSet<QString> seen;
    SeededRandom random(seed);
    int attempts = 0;
    while (names.size() < count) {
        QString name = chineseNameFor(quint32(random.next()));
        // The name list has about 3 000 combinations; beyond that, number the duplicates.
        if (seen.contains(name) && ++attempts > 50)
            name += QString::number(names.size() + 1);
        if (seen.contains(name))
            continue;
        attempts = 0;
        seen.insert(name);
        names.append(name);
    }
    return names;
}

QImage portraitImage(const QString& name, quint32 seed, QSize size, int grain)
{
    QImage image(size, QImage::Format_RGB32);
    if (image.isNull())
        return image;
    SeededRandom random(seed);
    const double w = size.width();
    const double h = size.height();
    const double u = qMin(w, h);

    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);

    const QColor backdrop =
        QColor::fromHsv(random.below(360), 60 + random.below(90), 170 + random.below(70));
    QLinearGradient background(0, 0, 0, h);
    background.setColorAt(0, backdrop.lighter(130));
    background.setColorAt(1, backdrop.darker(140));
    painter.fillRect(QRectF(0, 0, w, h), background);

    static const std::array<QColor, 5> skins{QColor(0xF3, 0xD2, 0xB3), QColor(0xE8, 0xC0, 0x9A),
                                             QColor(0xD9, 0xA8, 0x80), QColor(0xF6, 0xDC, 0xC4),
                                             QColor(0xC8, 0x96, 0x6E)};
    static const std::array<QColor, 4> hairs{QColor(0x1E, 0x18, 0x14), QColor(0x3A, 0x28, 0x1E),
                                             QColor(0x55, 0x3A, 0x28), QColor(0x2B, 0x2B, 0x30)};
    const QColor skin = skins[size_t(random.below(int(skins.size())))];
    const QColor hair = hairs[size_t(random.below(int(hairs.size())))];
    const QColor shirt =
        QColor::fromHsv(random.below(360), 80 + random.below(150), 60 + random.below(150));
    const bool longHair = random.below(2) == 1;
    const bool glasses = random.below(4) == 0;

    const QPointF head(w / 2 + (random.unit() - 0.5) * 0.04 * u, h * 0.40);
    const double rx = u * (0.15 + 0.03 * random.unit());
    const double ry = u * (0.20 + 0.03 * random.unit());

    if (longHair) {
        painter.setBrush(hair);
        painter.drawRoundedRect(
            QRectF(head.x() - rx * 1.25, head.y() - ry * 1.05, rx * 2.5, ry * 2.6), rx * 0.6,
            rx * 0.6);
    }

    // Shoulders, then the neck and the head in front of them.
    QRadialGradient cloth(QPointF(w / 2, h * 1.05), u * 0.6);
    cloth.setColorAt(0, shirt.lighter(120));
    cloth.setColorAt(1, shirt.darker(130));
    painter.setBrush(cloth);
    painter.drawEllipse(QRectF(w / 2 - u * 0.46, head.y() + ry * 1.35, u * 0.92, u * 0.75));
    painter.setBrush(skin.darker(108));
    painter.drawRect(QRectF(head.x() - rx * 0.38, head.y() + ry * 0.6, rx * 0.76, ry * 0.9));
    painter.setBrush(hair);
    painter.drawEllipse(QRectF(head.x() - rx * 1.08, head.y() - ry * 1.12, rx * 2.16, ry * 1.5));
    QRadialGradient face(head - QPointF(rx * 0.3, ry * 0.3), ry * 1.4);
    face.setColorAt(0, skin.lighter(108));
    face.setColorAt(1, skin.darker(115));
    painter.setBrush(face);
    painter.drawEllipse(QRectF(head.x() - rx, head.y() - ry * 0.82, rx * 2, ry * 1.8));
    // Fringe over the forehead.
    painter.setBrush(hair);
    painter.drawChord(QRectF(head.x() - rx * 1.02, head.y() - ry * 0.9, rx * 2.04, ry * 0.9), 0,
                      180 * 16);

    const double eyeY = head.y() + ry * 0.05;
    painter.setBrush(QColor(0x20, 0x18, 0x14));
    for (const double side : {-1.0, 1.0})
        painter.drawEllipse(QPointF(head.x() + side * rx * 0.4, eyeY), rx * 0.09, ry * 0.06);
    QPen line(QColor(0x8A, 0x3B, 0x32), qMax(1.0, u * 0.012), Qt::SolidLine, Qt::RoundCap);
    painter.setPen(line);
    painter.setBrush(Qt::NoBrush);
    const double smile = 0.25 + 0.2 * random.unit();
    painter.drawArc(QRectF(head.x() - rx * 0.35, head.y() + ry * 0.25, rx * 0.7, ry * smile),
                    200 * 16, 140 * 16);
    if (glasses) {
        painter.setPen(QPen(QColor(0x30, 0x30, 0x30), qMax(1.0, u * 0.01)));
        for (const double side : {-1.0, 1.0})
            painter.drawEllipse(QPointF(head.x() + side * rx * 0.4, eyeY), rx * 0.28, ry * 0.17);
        painter.drawLine(QPointF(head.x() - rx * 0.12, eyeY), QPointF(head.x() + rx * 0.12, eyeY));
    }

    // The name on a dark band at the bottom, as on a staff badge photo.
    const QRectF band(0, h * 0.85, w, h * 0.15);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0, 0, 0, 120));
    painter.drawRect(band);
    painter.setPen(Qt::white);
    painter.setFont(cjkFont(int(h * 0.09), true));
    painter.drawText(band, Qt::AlignCenter, name);
    painter.end();

    addGrain(image, grain, seed);
    return image;
}

QImage prizeImage(const QString& tierName, quint32 seed, QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    if (image.isNull())
        return image;
    SeededRandom random(seed);
    const double w = size.width();
    const double h = size.height();
    const double u = qMin(w, h);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);

    QRadialGradient glow(QPointF(w / 2, h / 2), u * 0.8);
    glow.setColorAt(0, QColor(0xFF, 0xF1, 0xB8));
    glow.setColorAt(1, QColor(0xD8, 0x9A, 0x2A));
    painter.fillRect(QRectF(0, 0, w, h), glow);

    const QColor wrap = QColor::fromHsv(random.below(360), 170, 210);
    const QRectF box(w / 2 - u * 0.3, h * 0.42, u * 0.6, u * 0.45);
    const QRectF lid(box.left() - u * 0.03, box.top() - u * 0.1, box.width() + u * 0.06, u * 0.12);
    painter.setBrush(wrap);
    painter.drawRect(box);
    painter.setBrush(wrap.lighter(115));
    painter.drawRect(lid);
    painter.setBrush(QColor(0xFF, 0xD7, 0x00));
    painter.drawRect(QRectF(w / 2 - u * 0.04, lid.top(), u * 0.08, box.bottom() - lid.top()));
    for (const double side : {-1.0, 1.0}) {
        QPainterPath bow;
        bow.moveTo(w / 2, lid.top());
        bow.cubicTo(w / 2 + side * u * 0.2, lid.top() - u * 0.2, w / 2 + side * u * 0.22,
                    lid.top() + u * 0.02, w / 2, lid.top());
        painter.drawPath(bow);
    }
    painter.setPen(QColor(0xA0, 0x10, 0x10));
    painter.setFont(cjkFont(int(u * 0.16), true));
    painter.drawText(QRectF(0, h * 0.04, w, h * 0.22), Qt::AlignCenter, tierName);
    return image;
}

QSize previewSizeFor(QSize photoSize)
{
    const QSize box = photoSize.width() >= photoSize.height() ? QSize(160, 120) : QSize(120, 160);
    return photoSize.scaled(box, Qt::KeepAspectRatio).expandedTo(QSize(1, 1));
}

QByteArray withDeclaredSize(QByteArray jpeg, int width, int height, qsizetype from)
{
    const qsizetype sof = jpeg.indexOf(QByteArrayView("\xFF\xC0", 2), from);
    if (sof < 0 || sof + 8 >= jpeg.size())
        return {};
    jpeg[sof + 5] = char(height >> 8);
    jpeg[sof + 6] = char(height & 0xFF);
    jpeg[sof + 7] = char(width >> 8);
    jpeg[sof + 8] = char(width & 0xFF);
    return jpeg;
}

QByteArray withEmbeddedPreview(const QByteArray& jpeg, const QByteArray& previewJpeg,
                               int paddingBefore)
{
    if (jpeg.size() < 4 || quint8(jpeg[0]) != 0xFF || quint8(jpeg[1]) != 0xD8)
        return jpeg;

    // TIFF header (little endian), IFD0 with one entry, IFD1 naming the thumbnail. With the
    // preview's length below 0xD800 no pair FF D8 can occur in this block, so the first start
    // marker after the file's own is the preview's.
    if (previewJpeg.size() >= 0xD800)
        return jpeg;
    constexpr quint32 ifd0Offset = 8;
    constexpr quint32 ifd1Offset = ifd0Offset + 2 + 12 * 1 + 4;
    constexpr quint32 thumbnailOffset = ifd1Offset + 2 + 12 * 3 + 4;
    QByteArray tiff("II\x2A\x00", 4);
    appendLe32(tiff, ifd0Offset);
    appendLe16(tiff, 1);
    appendIfdEntry(tiff, 0x0112, 3, 1); // orientation: as stored
    appendLe32(tiff, ifd1Offset);
    appendLe16(tiff, 3);
    appendIfdEntry(tiff, 0x0103, 3, 6); // compression: JPEG
    appendIfdEntry(tiff, 0x0201, 4, thumbnailOffset);
    appendIfdEntry(tiff, 0x0202, 4, quint32(previewJpeg.size()));
    appendLe32(tiff, 0);
    Q_ASSERT(quint32(tiff.size()) == thumbnailOffset);
    tiff.append(previewJpeg);

    QByteArray exif("Exif\0\0", 6);
    exif.append(tiff);
    if (exif.size() + 2 > 0xFFFF)
        return jpeg;

    QByteArray out = jpeg.left(2);
    while (paddingBefore > 0) {
        const int chunk = qMin(paddingBefore, 0xFFFD);
        appendSegment(out, char(0xFE), QByteArray(chunk, ' '));
        paddingBefore -= chunk;
    }
    appendSegment(out, char(0xE1), exif);
    out.append(jpeg.mid(2));
    return out;
}

QByteArray makePhoto(const QString& name, quint32 seed, const PhotoOptions& options)
{
    const QImage portrait = portraitImage(name, seed, options.size, options.grain);
    const QByteArray jpeg = encodeJpeg(portrait, options.quality);
    if (!options.preview || jpeg.isEmpty())
        return jpeg;
    const QImage small = portrait.scaled(previewSizeFor(options.size), Qt::IgnoreAspectRatio,
                                         Qt::SmoothTransformation);
    return withEmbeddedPreview(jpeg, encodeJpeg(small, 75));
}

QStringList writePhotos(const QString& folder, int count, quint32 seed, const PhotoOptions& options,
                        const QList<int>& withoutPreview)
{
    if (!QDir().mkpath(folder))
        return {};
    const QDir dir(folder);
    const QStringList names = chineseNames(count, seed);
    QStringList paths;
    for (int i = 0; i < names.size(); ++i) {
        PhotoOptions photo = options;
        photo.preview = options.preview && !withoutPreview.contains(i);
        const QString path = dir.absoluteFilePath(names[i] + QStringLiteral(".jpg"));
        if (!writeWholeFile(path, makePhoto(names[i], seed + quint32(i) * 7919u, photo)))
            return {};
        paths.append(path);
    }
    return paths;
}

QByteArray demoSettings(const QString& prizeFolder)
{
    const QDir prizes(prizeFolder);
    // Row keys carry the design names of the rows; the values are the tiers drawn in order.
    const QList<std::pair<QString, QString>> lines{
        {QStringLiteral("特等奖"), QStringLiteral("三等奖")},
        {QStringLiteral("特等奖人数"), QStringLiteral("5")},
        {QStringLiteral("一等奖"), QStringLiteral("二等奖")},
        {QStringLiteral("一等奖人数"), QStringLiteral("3")},
        {QStringLiteral("二等奖"), QStringLiteral("一等奖")},
        {QStringLiteral("二等奖人数"), QStringLiteral("1")},
        {QStringLiteral("奖项1图片"), prizes.absoluteFilePath(QStringLiteral("三等奖.jpg"))},
        {QStringLiteral("奖项2图片"), prizes.absoluteFilePath(QStringLiteral("二等奖.jpg"))},
        {QStringLiteral("奖项3图片"), prizes.absoluteFilePath(QStringLiteral("一等奖.jpg"))},
        {QStringLiteral("zbt"), QStringLiteral("启明星科技年度盛典抽奖")},
        {QStringLiteral("fbt"), QStringLiteral("感谢每一位同事一年的付出")},
        {QStringLiteral("滚动速度"), QStringLiteral("30")},
        {QStringLiteral("照片图片宽"), QStringLiteral("300")},
        {QStringLiteral("照片图片高"), QStringLiteral("380")},
        {QStringLiteral("界面大小"), QStringLiteral("全屏")},
    };
    QByteArray bytes("[zbt]\r\n");
    for (const auto& [key, value] : lines)
        bytes += toLocal8(key) + '=' + toLocal8(value) + "\r\n";
    return bytes;
}

bool makeDemoEvent(const QString& folder, quint32 seed)
{
    const QDir dir(folder);
    constexpr int participants = 60;
    const QList<int> withoutPreview{7, 23, 41, 55};
    if (writePhotos(dir.absoluteFilePath(QStringLiteral("photo")), participants, seed,
                    PhotoOptions{}, withoutPreview)
            .size() != participants)
        return false;

    const QString prizeFolder = dir.absoluteFilePath(QStringLiteral("prizes"));
    if (!QDir().mkpath(prizeFolder))
        return false;
    const QStringList tiers{QStringLiteral("一等奖"), QStringLiteral("二等奖"),
                            QStringLiteral("三等奖")};
    for (int i = 0; i < tiers.size(); ++i) {
        const QByteArray jpeg =
            encodeJpeg(prizeImage(tiers[i], seed + quint32(i), QSize(480, 360)), 88);
        if (!writeWholeFile(QDir(prizeFolder).absoluteFilePath(tiers[i] + QStringLiteral(".jpg")),
                            jpeg))
            return false;
    }
    return writeWholeFile(dir.absoluteFilePath(QStringLiteral("peizhi.a")),
                          demoSettings(prizeFolder));
}

} // namespace pd

#include "media/PictureDecoder.h"

#include <QBuffer>
#include <QImageReader>
#include <QImageWriter>

namespace pd {

namespace {

qsizetype indexOfPair(QByteArrayView bytes, char first, char second, qsizetype from)
{
    const char pair[2] = {first, second};
    return bytes.indexOf(QByteArrayView(pair, 2), from);
}

} // namespace

QImage decodePicture(QByteArrayView bytes, QSize shownSize)
{
    if (bytes.isEmpty())
        return {};
    // QBuffer needs a QByteArray; fromRawData borrows the bytes without copying them.
    const QByteArray data = QByteArray::fromRawData(bytes.data(), bytes.size());
    QBuffer buffer;
    buffer.setData(data);
    if (!buffer.open(QIODevice::ReadOnly))
        return {};
    QImageReader reader(&buffer);
    reader.setAutoTransform(false);

    const QSize declared = reader.size();
    if (!declared.isValid() || declared.isEmpty())
        return {};
    if (qint64(declared.width()) * declared.height() > kMaxDeclaredPixels)
        return {};

    if (shownSize.isValid() && !shownSize.isEmpty() &&
        (declared.width() > shownSize.width() || declared.height() > shownSize.height())) {
        reader.setScaledSize(
            declared.scaled(shownSize, Qt::KeepAspectRatio).expandedTo(QSize(1, 1)));
    }
    QImage image;
    if (!reader.read(&image))
        return {};
    return image;
}

QByteArrayView embeddedPreviewOf(QByteArrayView head)
{
    head = head.first(qMin(head.size(), kPreviewSearchBytes));
    const qsizetype start = indexOfPair(head, char(0xFF), char(0xD8), 3);
    if (start < 0)
        return {};
    const qsizetype end = indexOfPair(head, char(0xFF), char(0xD9), start);
    if (end < 0)
        return {};
    return head.sliced(start, end - start);
}

} // namespace pd

namespace pd {

QByteArray encodeJpeg(const QImage& image, int quality)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    writer.setQuality(quality);
    writer.setOptimizedWrite(true);
    return writer.write(image) ? bytes : QByteArray();
}

} // namespace pd

#include "media/PictureDecoder.h"

#include <QBuffer>
#include <QImageReader>
#include <QImageWriter>

#include <algorithm>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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

namespace {

// Blends two pixels of four 8-bit channels, w/256 of b.
inline quint32 blend(quint32 a, quint32 b, quint32 w)
{
    const quint32 v = 256 - w;
    const quint32 rb = (((a & 0xFF00FF) * v + (b & 0xFF00FF) * w) >> 8) & 0xFF00FF;
    const quint32 ag = (((a >> 8) & 0xFF00FF) * v + ((b >> 8) & 0xFF00FF) * w) & 0xFF00FF00;
    return rb | ag;
}

#if defined(__SSE2__)
// Four pixels of a blended with b: each channel a*(256-w) + b*w over 256, in 16-bit lanes
// (below 65536). wLow and wHigh hold the weight of b for pixels 0-1 and 2-3, four lanes each.
inline __m128i blend4(__m128i a, __m128i b, __m128i wLow, __m128i wHigh)
{
    const __m128i zero = _mm_setzero_si128();
    const __m128i full = _mm_set1_epi16(256);
    const __m128i lo = _mm_srli_epi16(
        _mm_add_epi16(_mm_mullo_epi16(_mm_unpacklo_epi8(a, zero), _mm_sub_epi16(full, wLow)),
                      _mm_mullo_epi16(_mm_unpacklo_epi8(b, zero), wLow)),
        8);
    const __m128i hi = _mm_srli_epi16(
        _mm_add_epi16(_mm_mullo_epi16(_mm_unpackhi_epi8(a, zero), _mm_sub_epi16(full, wHigh)),
                      _mm_mullo_epi16(_mm_unpackhi_epi8(b, zero), wHigh)),
        8);
    return _mm_packus_epi16(lo, hi);
}
#endif

// Most of an enlargement's time is spent in the two loops below, so on x86 four pixels are
// blended at once (SSE2 is part of every x86-64); the results are the same to the bit.

// out = top blended with w/256 of bottom, for count pixels.
void blendRows(const quint32* top, const quint32* bottom, quint32 w, quint32* out, int count)
{
    int x = 0;
#if defined(__SSE2__)
    const __m128i weight = _mm_set1_epi16(short(w));
    for (; x + 4 <= count; x += 4) {
        const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(top + x));
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bottom + x));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + x), blend4(a, b, weight, weight));
    }
#endif
    for (; x < count; ++x)
        out[x] = blend(top[x], bottom[x], w);
}

// One source row widened: out[x] blends in[first[x]] with weight[x]/256 of the pixel after it
// (the row's last pixel has none after it and stands for itself).
void widenRow(const quint32* in, int last, const int* first, const quint32* weight, quint32* out,
              int count)
{
    const auto next = [&](int x) { return in[std::min(first[x] + 1, last)]; };
    int x = 0;
#if defined(__SSE2__)
    const auto lanes = [&](int i) {
        return _mm_set_epi16(short(weight[i + 1]), short(weight[i + 1]), short(weight[i + 1]),
                             short(weight[i + 1]), short(weight[i]), short(weight[i]),
                             short(weight[i]), short(weight[i]));
    };
    for (; x + 4 <= count; x += 4) {
        const __m128i a = _mm_set_epi32(int(in[first[x + 3]]), int(in[first[x + 2]]),
                                        int(in[first[x + 1]]), int(in[first[x]]));
        const __m128i b =
            _mm_set_epi32(int(next(x + 3)), int(next(x + 2)), int(next(x + 1)), int(next(x)));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + x), blend4(a, b, lanes(x), lanes(x + 2)));
    }
#endif
    for (; x < count; ++x)
        out[x] = blend(in[first[x]], next(x), weight[x]);
}

// For each of count destination positions over a source of length from: the first source
// position and the weight (of 256) of the next, sampling at pixel centres.
void samplePositions(int from, int count, std::vector<int>& first, std::vector<quint32>& weight)
{
    first.resize(size_t(count));
    weight.resize(size_t(count));
    for (int i = 0; i < count; ++i) {
        const qint64 centre = ((2 * qint64(i) + 1) * from * 256) / (2 * qint64(count)) - 128;
        if (centre <= 0) {
            first[size_t(i)] = 0;
            weight[size_t(i)] = 0;
        } else if (centre >= qint64(from - 1) * 256) {
            first[size_t(i)] = from - 1;
            weight[size_t(i)] = 0;
        } else {
            first[size_t(i)] = int(centre >> 8);
            weight[size_t(i)] = quint32(centre & 255);
        }
    }
}

} // namespace

bool enlargePictureInto(const QImage& picture, QSize size, QImage& canvas)
{
    if (picture.isNull() || size.isEmpty())
        return false;
    const QImage::Format format =
        picture.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32;
    const QImage source = picture.convertToFormat(format);
    if (canvas.format() != format || canvas.width() < size.width() ||
        canvas.height() < size.height() || !canvas.isDetached()) {
        canvas = QImage(size, format);
        if (canvas.isNull())
            return false;
    }
    std::vector<int> x0;
    std::vector<quint32> xw;
    std::vector<int> y0;
    std::vector<quint32> yw;
    samplePositions(source.width(), size.width(), x0, xw);
    samplePositions(source.height(), size.height(), y0, yw);
    // Each source row is widened once into one of two row buffers; each result row is then a
    // blend of two widened rows.
    const int width = size.width();
    const int lastX = source.width() - 1;
    const int lastY = source.height() - 1;
    std::vector<quint32> rows[2] = {std::vector<quint32>(size_t(width)),
                                    std::vector<quint32>(size_t(width))};
    int rowHeld[2] = {-1, -1};
    const auto widened = [&](int sourceRow) -> const quint32* {
        for (int i = 0; i < 2; ++i)
            if (rowHeld[i] == sourceRow)
                return rows[i].data();
        // Replace the buffer not holding the row just below: rows are asked for in order.
        const int slot = rowHeld[0] == sourceRow - 1 ? 1 : 0;
        quint32* out = rows[slot].data();
        widenRow(reinterpret_cast<const quint32*>(source.constScanLine(sourceRow)), lastX,
                 x0.data(), xw.data(), out, width);
        rowHeld[slot] = sourceRow;
        return out;
    };
    for (int y = 0; y < size.height(); ++y) {
        const int first = y0[size_t(y)];
        const quint32* top = widened(first);
        const quint32* bottom = widened(std::min(first + 1, lastY));
        const quint32 wy = yw[size_t(y)];
        blendRows(top, bottom, wy, reinterpret_cast<quint32*>(canvas.scanLine(y)), width);
    }
    return true;
}

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

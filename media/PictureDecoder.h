// Pictures decoded at the size they are shown. JPEG scaling inside the decoder (1/2, 1/4,
// 1/8) is several times faster than a full decode and keeps a 48-megapixel photo from
// needing more memory than the image allocator allows.
#pragma once

#include <QByteArrayView>
#include <QImage>
#include <QSize>

namespace pd {

// Pictures declaring more pixels than this are refused before any pixel is allocated.
inline constexpr qint64 kMaxDeclaredPixels = 200'000'000;
// The roll reads at most this many bytes of a photo to find its embedded preview.
inline constexpr qsizetype kPreviewSearchBytes = 56000;

// Decodes bytes of any format Qt reads. With a valid shownSize the picture is decoded to fit
// within it (aspect ratio kept, never enlarged); without one it is decoded whole. Bytes that
// do not decode, and pictures of absurd declared size, give a null image.
QImage decodePicture(QByteArrayView bytes, QSize shownSize = {});

// The embedded preview of a photo, found in its first bytes (at most kPreviewSearchBytes of
// head are searched): from the first FF D8 at or after the fourth byte up to, not including,
// the first FF D9 after it. Empty when either marker is missing; the caller then shows the
// whole file. The result points into head.
QByteArrayView embeddedPreviewOf(QByteArrayView head);

// The picture enlarged to exactly size with bilinear filtering, all on the calling thread
// (Qt's own smooth scaling hands the rows of a large result to a pool of threads, and waking
// them costs more than enlarging a roll preview), written into the top-left corner of canvas.
// The canvas is made anew only when it is too small, of another format or shared: a picture
// box enlarging a new preview every tick then allocates nothing. Returns false, leaving
// canvas alone, for a null picture or an empty size.
bool enlargePictureInto(const QImage& picture, QSize size, QImage& canvas);

// A picture as JPEG bytes (optimised Huffman tables, so small previews stay small); empty on
// failure.
QByteArray encodeJpeg(const QImage& image, int quality);

} // namespace pd

// Demo photos of participants, drawn by the program itself: a face-like figure with
// shoulders on a coloured background, the participant's name written on it. Everything is
// deterministic by seed so that tests and benchmarks get the same bytes every time.
#pragma once

#include "media/PictureDecoder.h"

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>
#include <QStringList>

namespace pd {

struct PhotoOptions
{
    QSize size{400, 500};
    // Most camera photos carry a small preview in their Exif segment; the roll shows it.
    bool preview = true;
    // Film grain (0 = none): photographs with grain compress and decode like real ones.
    int grain = 6;
    int quality = 85;
};

// A common Chinese name (surname and given name), the same for the same seed.
QString chineseNameFor(quint32 seed);
// Distinct names for count participants, deterministic by seed.
QStringList chineseNames(int count, quint32 seed);

// The portrait picture of a participant.
QImage portraitImage(const QString& name, quint32 seed, QSize size, int grain = 0);
// A picture of a prize (a wrapped gift) labelled with the tier's name.
QImage prizeImage(const QString& tierName, quint32 seed, QSize size);

// The size of the embedded preview of a photo of the given size (about 160 x 120, aspect
// kept).
QSize previewSizeFor(QSize photoSize);
// Inserts an APP1 "Exif" segment after the start marker of jpeg: a minimal little-endian
// TIFF whose IFD1 names previewJpeg as its JPEG thumbnail. paddingBefore > 0 first inserts
// a comment segment of that many filler bytes (to push the preview far into the file).
// Returns the input unchanged when it is not a JPEG or the preview does not fit a segment.
QByteArray withEmbeddedPreview(const QByteArray& jpeg, const QByteArray& previewJpeg,
                               int paddingBefore = 0);

// The JPEG with the size its first frame header (SOF0) at or after byte from declares set to
// width x height, its pixels unchanged: a photo that lies about its size, so that tests see
// the readers look at the claim before allocating. Empty when there is no such header.
QByteArray withDeclaredSize(QByteArray jpeg, int width, int height, qsizetype from = 0);

// The bytes of one participant's photo.
QByteArray makePhoto(const QString& name, quint32 seed, const PhotoOptions& options);
// Writes count photos "<name>.jpg" into folder (created when missing). Photos whose index
// is in withoutPreview carry no preview whatever options.preview says. Returns the paths
// written, or an empty list when a file could not be written.
QStringList writePhotos(const QString& folder, int count, quint32 seed, const PhotoOptions& options,
                        const QList<int>& withoutPreview = {});

// Prepares a whole demo event folder: photo/ with about 60 participants (a few without
// preview), prizes/ with three prize pictures and the settings file peizhi.a. Returns false
// when something could not be written.
bool makeDemoEvent(const QString& folder, quint32 seed);
// The settings file bytes of the demo event (GB18030, CR LF lines).
QByteArray demoSettings(const QString& prizeFolder);

} // namespace pd

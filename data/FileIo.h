// Whole-file reads and writes shared by every part that keeps a file in the event folder.
#pragma once

#include <QByteArray>
#include <QString>

namespace pd {

// All bytes of a file (at most maxBytes when given); empty when it cannot be read.
QByteArray readWholeFile(const QString& path, qint64 maxBytes = -1);

// Creates or replaces a file with exactly these bytes. The bytes go to a temporary file
// beside it that is then renamed over the old one (keeping its permissions), so a crash or a
// full disk never leaves a half-written file. A file marked read-only is not replaced, as on
// Windows; when only the folder refuses new files, the file is written in place.
// Returns whether the file now holds the bytes.
bool writeWholeFile(const QString& path, QByteArrayView bytes);

// A file that nobody may write to (no write permission bit at all), which is how a file
// set read-only by hand looks here. Root passes every permission check, so the bits are
// tested rather than access().
bool isMarkedReadOnly(const QString& path);

} // namespace pd

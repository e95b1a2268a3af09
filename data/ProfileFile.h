// Profile files ("[section]" lines and "key=value" lines) read and written byte by byte, the
// way settings files made on Windows hold them: 8-bit names and values, section and key
// names compared without ASCII letter case, blanks around names and values ignored.
#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace pd {

// The longest value a read returns; a longer value is cut there.
inline constexpr qsizetype kProfileValueCap = 10239;

// The value of a key in the bytes of a profile file, at most kProfileValueCap bytes (a
// two-byte character that would straddle the cut is dropped whole). Nothing when the
// section or the key is missing. The first section and key of that name win.
std::optional<QByteArray> profileValue(QByteArrayView content, QByteArrayView section,
                                       QByteArrayView key);

// The bytes of a profile file after storing a value: an existing key line is replaced in
// place, a new key goes after the last key line of its section, a new section goes to the
// end. Every other line keeps its bytes; written lines end with CR LF. Line breaks inside
// the value become blanks, so a value can never add lines of its own.
QByteArray withProfileValue(QByteArrayView content, QByteArrayView section, QByteArrayView key,
                            QByteArrayView value);

// Reads one key of the file at path. Leading bytes 1..32 of the path, the section and the
// key are skipped; when one of them is then empty the value is empty. Nothing when the
// file (or it cannot be read), the section or the key is missing.
std::optional<QByteArray> readProfileValue(const QString& path, QByteArrayView section,
                                           QByteArrayView key);

// Stores one key in the file at path, creating the file when it is missing. Refused (false)
// when the path, section or key is empty after the skipped leading bytes, when a name would
// break the line structure, when the file exists but cannot be read, or when it cannot be
// written (a read-only file); the old contents then stay as they were.
bool writeProfileValue(const QString& path, QByteArrayView section, QByteArrayView key,
                       QByteArrayView value);

} // namespace pd

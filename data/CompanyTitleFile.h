// The company title file "cjini.txt": the main title as raw 8-bit text, no line break and no
// terminator. The program never creates it; it exists only if someone put it there.
#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace pd {

// Nothing when the file cannot be opened; empty when it is 0 bytes long; otherwise its bytes
// up to the first zero byte or byte 26 (the old end-of-text mark), if any.
std::optional<QByteArray> readCompanyTitle(const QString& path);

// Replaces the whole contents of an existing file by the title. A missing file is not
// created; a folder or a read-only file is left alone. Returns whether the file now holds
// exactly the title.
bool replaceCompanyTitle(const QString& path, QByteArrayView title);

} // namespace pd

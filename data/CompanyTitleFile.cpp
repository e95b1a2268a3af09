#include "data/CompanyTitleFile.h"

#include "data/FileIo.h"

#include <QFile>
#include <QFileInfo>

namespace pd {

std::optional<QByteArray> readCompanyTitle(const QString& path)
{
    if (QFileInfo(path).isDir())
        return std::nullopt;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray bytes = file.readAll();
    qsizetype end = 0;
    while (end < bytes.size() && bytes[end] != '\0' && bytes[end] != '\x1A')
        ++end;
    return bytes.first(end);
}

bool replaceCompanyTitle(const QString& path, QByteArrayView title)
{
    if (!QFileInfo(path).isFile())
        return false;
    return writeWholeFile(path, title);
}

} // namespace pd

#include "data/FileIo.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace pd {

QByteArray readWholeFile(const QString& path, qint64 maxBytes)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return maxBytes >= 0 ? file.read(maxBytes) : file.readAll();
}

bool isMarkedReadOnly(const QString& path)
{
    const QFileInfo info(path);
    if (!info.exists())
        return false;
    constexpr auto anyWrite = QFileDevice::WriteOwner | QFileDevice::WriteGroup
                              | QFileDevice::WriteOther;
    return (info.permissions() & anyWrite) == 0;
}

bool writeWholeFile(const QString& path, QByteArrayView bytes)
{
    if (isMarkedReadOnly(path))
        return false;
    QSaveFile file(path);
    file.setDirectWriteFallback(true);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (file.write(bytes.data(), bytes.size()) != bytes.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

} // namespace pd

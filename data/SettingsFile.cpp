#include "data/SettingsFile.h"

#include "data/ProfileFile.h"
#include "data/Text.h"

#include <QFile>
#include <QFileInfo>

#include <utility>

namespace pd {

SettingsFile::SettingsFile(QString runDir) : m_runDir(std::move(runDir)) {}

QString SettingsFile::path() const
{
    return m_runDir + QStringLiteral("/peizhi.a");
}

QString SettingsFile::readKey(QStringView section, QStringView key) const
{
    return readKeyOr(section, key, QString());
}

QString SettingsFile::readKeyOr(QStringView section, QStringView key, const QString& fallback) const
{
    const std::optional<QByteArray> value =
        readProfileValue(path(), toLocal8(section), toLocal8(key));
    return value ? fromLocal8(*value) : fallback;
}

bool SettingsFile::writeKey(QStringView section, QStringView key, QStringView value) const
{
    return writeProfileValue(path(), toLocal8(section), toLocal8(key), toLocal8(value));
}

void SettingsFile::hideSettingsFile() const
{
    const QString file = path();
    const QFileInfo info(file);
    if (!info.exists() || info.isDir())
        return;
    QFile::setPermissions(file, info.permissions() | QFileDevice::WriteOwner);
}

} // namespace pd

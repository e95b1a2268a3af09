#include "tests/support/TestEvent.h"

#include "data/Text.h"
#include "tools/photogen/PhotoGenerator.h"

#include <QDir>
#include <QFile>

namespace pd::test {

QByteArray settingsBytes(const QList<std::pair<QString, Keys>>& sections)
{
    QByteArray bytes;
    for (const auto& [section, keys] : sections) {
        bytes += "[" + toLocal8(section) + "]\r\n";
        for (const auto& [key, value] : keys)
            bytes += toLocal8(key) + '=' + toLocal8(value) + "\r\n";
    }
    return bytes;
}

TestEvent::TestEvent()
{
    desktop.runDir = m_dir.path();
    desktop.work = m_dir.filePath(QStringLiteral("work"));
    desktop.screen = QSize(1366, 768);
    // Waits stand for the four seconds of fireworks; tests do not sit through them.
    desktop.waitOverrideMs = 0;
}

void TestEvent::writeSettings(const QList<std::pair<QString, Keys>>& sections)
{
    writeFile(QStringLiteral("peizhi.a"), settingsBytes(sections));
}

void TestEvent::writeFile(const QString& name, const QByteArray& bytes)
{
    QFile file(path(name));
    QDir().mkpath(QFileInfo(file).absolutePath());
    if (file.open(QIODevice::WriteOnly))
        file.write(bytes);
}

QByteArray TestEvent::readFile(const QString& name) const
{
    QFile file(path(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void TestEvent::addPhotos(const QStringList& names)
{
    PhotoOptions options;
    options.size = QSize(120, 150);
    options.grain = 0;
    quint32 seed = 1;
    for (const QString& name : names)
        writeFile(QStringLiteral("photo/") + name + QStringLiteral(".jpg"),
                  makePhoto(name, seed++, options));
}

Shell& TestEvent::shell()
{
    if (!m_shell)
        m_shell = std::make_unique<Shell>(dialogs, desktop, sound, random);
    return *m_shell;
}

} // namespace pd::test

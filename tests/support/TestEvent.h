// A temporary event folder for tests: a settings file written as a Windows-made one would be
// (GB18030, CR LF), a few generated photos, and a Shell over the scripted platform.
#pragma once

#include "app/Shell.h"
#include "platform/FakePlatform.h"
#include "platform/Random.h"

#include <QTemporaryDir>

#include <memory>
#include <utility>

namespace pd::test {

using Keys = QList<std::pair<QString, QString>>;

// The bytes of a settings file with one section per entry, in order.
QByteArray settingsBytes(const QList<std::pair<QString, Keys>>& sections);

class TestEvent
{
public:
    TestEvent();
    QString dir() const { return m_dir.path(); }
    QString path(const QString& name) const { return m_dir.filePath(name); }

    void writeSettings(const QList<std::pair<QString, Keys>>& sections);
    void writeFile(const QString& name, const QByteArray& bytes);
    QByteArray readFile(const QString& name) const;
    // Small photos "<name>.jpg" with embedded previews in photo/.
    void addPhotos(const QStringList& names);

    // A shell over the fakes; the screen is 1366 x 768 unless set before.
    Shell& shell();

    FakeDialogs dialogs;
    FakeDesktop desktop;
    FakeSound sound;
    Random random;

private:
    QTemporaryDir m_dir;
    std::unique_ptr<Shell> m_shell;
};

} // namespace pd::test

#include "screen/BackgroundCommands.h"

#include "app/MainScreen.h"
#include "data/FileIo.h"
#include "data/SettingsFile.h"
#include "data/Text.h"
#include "media/PictureDecoder.h"

#include <QDir>
#include <QFile>

namespace pd {

namespace {
// Byte for byte. A source that cannot be read leaves the old copy in place rather than
// replacing it by nothing.
void copyOver(const QString& source, const QString& target)
{
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly))
        return;
    const QByteArray bytes = in.readAll();
    if (in.error() != QFileDevice::NoError)
        return;
    writeWholeFile(target, bytes);
}

void showBackground(MainScreen& screen, const QString& runDir)
{
    screen.setBackgroundPicture(
        decodePicture(readWholeFile(backgroundPicturePath(runDir)), screen.size()));
}
} // namespace

QString backgroundPicturePath(const QString& runDir)
{
    return runDir + QStringLiteral("/底图.jpg");
}

QString backgroundMusicPath(const QString& runDir)
{
    return runDir + QStringLiteral("/wav/bjyy.mp3");
}

void changeBackgroundPicture(MainScreen& screen, Dialogs& dialogs, const QString& runDir)
{
    const std::optional<QString> chosen = dialogs.openFile(QStringLiteral("图形文件(*.jpg)|*.jpg"));
    if (!chosen)
        return;
    copyOver(*chosen, backgroundPicturePath(runDir));
    showBackground(screen, runDir);
}

void removeBackgroundPicture(MainScreen& screen, const QString& runDir)
{
    QFile::remove(backgroundPicturePath(runDir));
    showBackground(screen, runDir);
}

void changeBackgroundMusic(Dialogs& dialogs, const QString& runDir)
{
    QDir(runDir).mkpath(QStringLiteral("wav"));
    const std::optional<QString> chosen = dialogs.openFile(QStringLiteral("音乐文件(*.mp3)|*.mp3"));
    if (!chosen)
        return;
    copyOver(*chosen, backgroundMusicPath(runDir));
}

void switchBackgroundMusic(MainScreen& screen, const SettingsFile& settings, bool on)
{
    screen.setMusicSwitch(on);
    settings.writeKey(u"zbt", u"背景音乐", truthText(on));
}

} // namespace pd

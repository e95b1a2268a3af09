// The background picture and music commands. Both media are files at fixed places in the
// event folder: the operator's choice is copied there and read back from there, so it
// survives a restart with no other record.
#pragma once

#include <QString>

namespace pd {

class Dialogs;
class MainScreen;
class SettingsFile;

QString backgroundPicturePath(const QString& runDir);
QString backgroundMusicPath(const QString& runDir);

// Copies a chosen picture to "<run dir>/底图.jpg" and shows it stretched over the window.
void changeBackgroundPicture(MainScreen& screen, Dialogs& dialogs, const QString& runDir);
// Deletes "<run dir>/底图.jpg"; the window shows its background colour again.
void removeBackgroundPicture(MainScreen& screen, const QString& runDir);
// Creates "<run dir>/wav" (also when the operator then cancels) and copies a chosen MP3 file
// to "<run dir>/wav/bjyy.mp3". Music that plays goes on; the next Start plays the new file.
void changeBackgroundMusic(Dialogs& dialogs, const QString& runDir);
// Ticks one of the two music items and stores "背景音乐"; takes effect at the next Start.
void switchBackgroundMusic(MainScreen& screen, const SettingsFile& settings, bool on);

} // namespace pd

// The photo folder as the name pool: every *.jpg file in "<run dir>/photo" is one
// participant, named by the file name's text before its first ".".
#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>

namespace pd {

class Dialogs;
class Desktop;

class PhotoCatalogue final
{
public:
    explicit PhotoCatalogue(QString runDir);

    // Appends name + CR LF for every photo file, in the folder's own order, then writes the
    // whole pool text to "<run dir>/title.txt" (a failed write is silent). Also remembers
    // where each name's photo is on disk.
    void buildPool(QString& poolText);

    // The text of a file name before its first "." (after any folder part).
    static QString nameOfPhotoFile(QStringView fileName);

    // The path of a name's photo: the file found for the name by the last build when Qt can
    // open it by that path, otherwise "<run dir>/photo/" + name + ".jpg" in the letter case
    // found on disk. readPhoto finds photos whose file names are not valid UTF-8 as well.
    QString photoPathOf(QStringView name) const;

    // The bytes of a name's photo, at most maxBytes when given; empty when there is no such
    // file, it cannot be read or it is not a regular file.
    QByteArray readPhoto(QStringView name, qint64 maxBytes = -1) const;

    // The handler of the menu item that opens the photo folder for the operator.
    void openPhotoFolder(Dialogs& dialogs, Desktop& desktop) const;

private:
    QString photoFolder() const;
    QList<QByteArray> candidatePaths(QStringView name) const;

    QString m_runDir;
    // The raw path (file system bytes) of the first photo file of each name.
    QHash<QString, QByteArray> m_rawPaths;
};

} // namespace pd

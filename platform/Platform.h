// Everything the program takes from the desktop: dialogs and message boxes, the screen,
// the desktop shell, sound, the clock and the process. Widgets and controllers receive
// these interfaces as pointers; tests pass FakePlatform instead of the Qt implementation.
#pragma once

#include <QByteArray>
#include <QSize>
#include <QString>

#include <optional>

namespace pd {

// Message box styles, numbered as the design numbers them.
enum class MessageStyle { Ok = 0, OkCancel = 1, OkError = 16 };
enum class MessageAnswer { Ok, Cancel };

// What the font dialog returns: face, size in points, styles and the text colour as a
// blue-green-red number (red in the low byte).
struct FontChoice
{
    QString face;
    int pointSize = 0;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    int colour = 0;
    bool operator==(const FontChoice&) const = default;
};

class Dialogs
{
public:
    virtual ~Dialogs() = default;
    // A modal message box. A caption that is empty gets the default caption "信息：".
    virtual MessageAnswer message(const QString& text, const QString& caption,
                                  MessageStyle style = MessageStyle::Ok) = 0;
    // The input box: the entered text on OK, nothing on Cancel.
    virtual std::optional<QString> input(const QString& caption, const QString& prompt,
                                         const QString& initial) = 0;
    // The open-file dialog. The filter is "label|pattern" and matches without letter case.
    virtual std::optional<QString> openFile(const QString& filter) = 0;
    // The font-and-colour dialog; it opens on the last confirmed choice.
    virtual std::optional<FontChoice> chooseFont() = 0;
};

class Desktop
{
public:
    virtual ~Desktop() = default;
    // Size of the whole primary screen in device-independent pixels.
    virtual QSize screenSize() const = 0;
    // Logical dots per inch of the primary screen (pixel heights to points).
    virtual double dotsPerInch() const = 0;
    // Opens a document or folder with the desktop's associated program; does not wait.
    virtual void openPath(const QString& path) = 0;
    // The folder of the program file, without a trailing separator.
    virtual QString programFolder() const = 0;
    // The per-user work folder (movies, previews, fallback copies), without a trailing separator.
    virtual QString workFolder() const = 0;
    // Milliseconds since some fixed point; used to seed the generator when scrambling.
    virtual qint64 clockMs() const = 0;
    // Waits the given time while processing events, so handlers run inside the wait.
    virtual void waitProcessingEvents(int ms) = 0;
    // Ends the process at once; nothing runs after it.
    virtual void exitProcess(int code) = 0;
};

class Sound
{
public:
    virtual ~Sound() = default;
    // Plays an MP3 file in an endless loop, stopping any music that plays. A missing or
    // unreadable file plays nothing.
    virtual void playLooped(const QString& path) = 0;
    // Stops every sound the program plays.
    virtual void stopAll() = 0;
    // Plays a WAV clip once without waiting.
    virtual void playOnce(const QByteArray& wav) = 0;
};

} // namespace pd

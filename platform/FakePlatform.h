// A scripted platform for tests: modal boxes are answered from queues instead of waiting
// for a person, the screen size is whatever the test sets, and every call is recorded.
#pragma once

#include "platform/Platform.h"

#include <QList>
#include <QStringList>

#include <deque>

namespace pd {

struct ShownMessage
{
    QString text;
    QString caption;
    MessageStyle style;
};

class FakeDialogs final : public Dialogs
{
public:
    MessageAnswer message(const QString& text, const QString& caption,
                          MessageStyle style) override;
    std::optional<QString> input(const QString& caption, const QString& prompt,
                                 const QString& initial) override;
    std::optional<QString> openFile(const QString& filter) override;
    std::optional<FontChoice> chooseFont() override;

    // Answers given in order; when a queue is empty, message boxes answer OK and the
    // other dialogs are cancelled.
    std::deque<MessageAnswer> messageAnswers;
    std::deque<std::optional<QString>> inputAnswers;
    std::deque<std::optional<QString>> fileAnswers;
    std::deque<std::optional<FontChoice>> fontAnswers;

    QList<ShownMessage> messages;
    QStringList inputCaptions;
    QStringList inputInitials;
    QStringList fileFilters;
    int fontDialogsShown = 0;
};

class FakeDesktop final : public Desktop
{
public:
    QSize screenSize() const override { return screen; }
    double dotsPerInch() const override { return dpi; }
    void openPath(const QString& path) override { opened.append(path); }
    QString programFolder() const override { return runDir; }
    QString workFolder() const override { return work; }
    qint64 clockMs() const override { return clock; }
    void waitProcessingEvents(int ms) override;
    void exitProcess(int code) override { exitCode = code; }

    QSize screen{1366, 768};
    double dpi = 96.0;
    QString runDir;
    QString work;
    qint64 clock = 0;
    QStringList opened;
    QList<int> waits;
    int exitCode = -1;
    // When set, waits process events for this long instead of the requested time.
    int waitOverrideMs = -1;
};

class FakeSound final : public Sound
{
public:
    void playLooped(const QString& path) override { calls.append("loop:" + path); }
    void stopAll() override { calls.append("stop"); }
    void playOnce(const QByteArray& wav) override
    {
        calls.append("once:" + QString::number(wav.size()));
    }
    QStringList calls;
};

} // namespace pd

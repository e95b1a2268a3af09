// The real platform: Qt's message boxes and dialogs, the primary screen, the desktop shell.
#pragma once

#include "platform/Platform.h"

#include <QPointer>
#include <QWidget>

namespace pd {

class QtDialogs final : public Dialogs
{
public:
    // Boxes are modal to this window (the main screen) once it exists.
    void setParentWindow(QWidget* parent) { m_parent = parent; }

    MessageAnswer message(const QString& text, const QString& caption,
                          MessageStyle style) override;
    std::optional<QString> input(const QString& caption, const QString& prompt,
                                 const QString& initial) override;
    std::optional<QString> openFile(const QString& filter) override;
    std::optional<FontChoice> chooseFont() override;

    // "label|pattern" into a Qt name filter that matches the pattern in any letter case.
    static QString qtFilterOf(const QString& filter);

private:
    QPointer<QWidget> m_parent;
    std::optional<FontChoice> m_lastFont;
};

class QtDesktop final : public Desktop
{
public:
    QSize screenSize() const override;
    double dotsPerInch() const override;
    void openPath(const QString& path) override;
    QString programFolder() const override;
    QString workFolder() const override;
    qint64 clockMs() const override;
    void waitProcessingEvents(int ms) override;
    [[noreturn]] void exitProcess(int code) override;
};

} // namespace pd

// The celebration after a winner: a frameless window over the whole screen that plays one
// of the seven fireworks movies, with everything but the fireworks showing the main screen
// beneath. It never takes the focus or the mouse, so the operator's next Start/Stop press
// still reaches the main window.
#pragma once

#include "media/Celebration.h"

#include <QPointer>
#include <QWidget>

namespace pd {

class Desktop;
class Random;

// The overlay's window. Esc closes it when it has the keyboard.
class OverlayWindow final : public QWidget
{
    Q_OBJECT
public:
    explicit OverlayWindow(QWidget* owner);
    bool isClosing() const { return m_closing; }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    bool m_closing = false;
};

class FireworksOverlay final : public Celebration
{
public:
    FireworksOverlay(QWidget* mainWindow, Random& random, Desktop& desktop);
    ~FireworksOverlay() override;
    FireworksOverlay(const FireworksOverlay&) = delete;
    FireworksOverlay& operator=(const FireworksOverlay&) = delete;

    void OpenOverlay() override;
    void CloseOverlay() override;
    bool IsOverlayOpen() const override;

    // The open overlay's window, or null.
    QWidget* overlayWindow() const;
    // The number (1 to 7) of the movie the last overlay played; 0 before the first.
    int lastMovie() const { return m_lastMovie; }

private:
    QPointer<QWidget> m_mainWindow;
    Random& m_random;
    Desktop& m_desktop;
    QPointer<OverlayWindow> m_window;
    int m_lastMovie = 0;
};

} // namespace pd

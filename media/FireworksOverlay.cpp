#include "media/FireworksOverlay.h"

#include "media/FireworksMovies.h"
#include "media/MovieHost.h"
#include "platform/Platform.h"
#include "platform/Random.h"

#include <QCloseEvent>
#include <QKeyEvent>

namespace pd {

OverlayWindow::OverlayWindow(QWidget* owner)
    : QWidget(owner, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus |
                         Qt::WindowTransparentForInput)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFocusPolicy(Qt::NoFocus);
    setWindowTitle(QString());
}

void OverlayWindow::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

void OverlayWindow::closeEvent(QCloseEvent* event)
{
    m_closing = true;
    QWidget::closeEvent(event);
}

FireworksOverlay::FireworksOverlay(QWidget* mainWindow, Random& random, Desktop& desktop)
    : m_mainWindow(mainWindow), m_random(random), m_desktop(desktop)
{
}

FireworksOverlay::~FireworksOverlay()
{
    CloseOverlay();
}

void FireworksOverlay::OpenOverlay()
{
    CloseOverlay();
    auto* window = new OverlayWindow(m_mainWindow);
    m_window = window;
    window->setGeometry(QRect(QPoint(0, 0), m_desktop.screenSize()));

    m_lastMovie = 1 + m_random.next() % kFireworksMovieCount;
    MovieHost host(m_desktop);
    host.PlayMovie(window, fireworksMovie(m_lastMovie), 0);
    host.Release();

    if (m_window)
        m_window->show();
}

void FireworksOverlay::CloseOverlay()
{
    if (!IsOverlayOpen())
        return;
    // Closed at once: hidden now (the movie stops), deleted when control returns.
    QPointer<OverlayWindow> window = m_window;
    m_window = nullptr;
    window->close();
}

bool FireworksOverlay::IsOverlayOpen() const
{
    return m_window && !m_window->isClosing();
}

QWidget* FireworksOverlay::overlayWindow() const
{
    return IsOverlayOpen() ? m_window.data() : nullptr;
}

} // namespace pd

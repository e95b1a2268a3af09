#include "media/MovieHost.h"

#include "data/FileIo.h"
#include "data/Text.h"
#include "platform/Platform.h"

#include <QDir>
#include <QEvent>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QObject>

#include <cstdlib>

#ifdef PRIZEDRAW_WITH_XCB
#include <QtGui/qguiapplication_platform.h>
#include <xcb/xcb.h>
#endif

namespace pd {

namespace {

// The page our player reads: the movie beside it, its size and its background colour.
constexpr QStringView kPageTemplate = u"prizedraw-movie-page 1\r\n"
                                      u"movie=名字.pdfw\r\n"
                                      u"width=宽度\r\n"
                                      u"height=高度\r\n"
                                      u"background=颜色\r\n";

// Swallows right clicks before the player or its window can turn them into a menu.
class RightClickBlocker final : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        switch (event->type()) {
        case QEvent::ContextMenu:
            return true;
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
            if (static_cast<QMouseEvent*>(event)->button() == Qt::RightButton)
                return true;
            break;
        default:
            break;
        }
        return QObject::eventFilter(watched, event);
    }
};

#ifdef PRIZEDRAW_WITH_XCB
bool x11CompositorRuns()
{
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t* connection = x11 ? x11->connection() : nullptr;
    if (!connection)
        return false;
    static constexpr char kSelection[] = "_NET_WM_CM_S0";
    xcb_intern_atom_reply_t* atom = xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, 1, sizeof kSelection - 1, kSelection), nullptr);
    if (!atom)
        return false;
    const xcb_atom_t selection = atom->atom;
    std::free(atom);
    if (selection == XCB_ATOM_NONE)
        return false;
    xcb_get_selection_owner_reply_t* owner = xcb_get_selection_owner_reply(
        connection, xcb_get_selection_owner(connection, selection), nullptr);
    if (!owner)
        return false;
    const bool owned = owner->owner != XCB_WINDOW_NONE;
    std::free(owner);
    return owned;
}
#endif

} // namespace

MovieHost::MovieHost(Desktop& desktop) : m_desktop(desktop) {}

void MovieHost::Release()
{
    m_browserWindow = nullptr;
    m_pageText.clear();
    m_pagePath.clear();
}

MoviePlayer* MovieHost::CreateBrowser(QWidget* parent, const QString& address, int x, int y,
                                      std::optional<QSize> size, bool blockContextMenu)
{
    if (!parent)
        return nullptr;
    auto* player = new MoviePlayer(parent);
    player->move(x, y);
    player->resize(size.value_or(parent->frameGeometry().size()));
    if (!address.isEmpty())
        player->openPage(address);
    player->show();
    m_browserWindow = player;
    if (blockContextMenu)
        BlockContextMenu();
    return player;
}

void MovieHost::SetKeyColour(QWidget* window, int colour)
{
    if (!window)
        return;
    const QColor key(redOf(colour), greenOf(colour), blueOf(colour));
    MoviePlayer::setWindowKeying(
        window, hasCompositingManager() ? KeyMode::Translucent : KeyMode::ShapeMask, key);
}

void MovieHost::BlockContextMenu()
{
    // Our player exists as soon as it is created, so there is nothing to wait for: no
    // events run here, and nothing can close the window in the middle of PlayMovie.
    if (!m_browserWindow)
        return;
    m_browserWindow->setContextMenuPolicy(Qt::PreventContextMenu);
    m_browserWindow->installEventFilter(new RightClickBlocker(m_browserWindow));
}

MoviePlayer* MovieHost::PlayMovie(QWidget* parent, const QByteArray& movie, int keyColour)
{
    if (!parent)
        return nullptr;
    m_parentWindow = parent;
    SetKeyColour(parent, keyColour);
    m_backColour = keyColour;

    const QString folder = m_desktop.workFolder();
    QDir().mkpath(folder);
    const QString stem = fileStem(parent);
    m_pagePath = QDir(folder).filePath(stem + QStringLiteral(".cn"));
    const bool movieWritten =
        writeWholeFile(QDir(folder).filePath(stem + QStringLiteral(".pdfw")), movie);

    const QSize outer = parent->frameGeometry().size();
    m_width = outer.width();
    m_height = outer.height();
    const bool pageWritten =
        writeWholeFile(m_pagePath, BuildPage(parent, m_width, m_height, m_backColour));

    MoviePlayer* player = CreateBrowser(
        parent, movieWritten && pageWritten ? m_pagePath : QString(), 0, 0, std::nullopt, true);
    if (player && !player->isPlaying())
        player->playMovie(movie, QSize(m_width, m_height),
                          QColor(redOf(keyColour), greenOf(keyColour), blueOf(keyColour)));
    return player;
}

QByteArray MovieHost::BuildPage(QWidget* parent, int width, int height, int colour)
{
    QString page = kPageTemplate.toString();
    page.replace(QStringLiteral("名字"), fileStem(parent));
    page.replace(QStringLiteral("宽度"), QString::number(width));
    page.replace(QStringLiteral("高度"), QString::number(height));
    page.replace(QStringLiteral("颜色"), colourText(colour));
    m_pageText = page;
    return page.toUtf8();
}

QString MovieHost::colourText(int colour)
{
    return QStringLiteral("#%1%2%3")
        .arg(redOf(colour), 2, 16, QLatin1Char('0'))
        .arg(greenOf(colour), 2, 16, QLatin1Char('0'))
        .arg(blueOf(colour), 2, 16, QLatin1Char('0'))
        .toUpper();
}

QString MovieHost::fileStem(QWidget* window)
{
    return QStringLiteral("kvtr-") + QString::number(window ? window->winId() : 0);
}

bool MovieHost::hasCompositingManager()
{
    const QString platform = QGuiApplication::platformName();
    if (platform == u"wayland")
        return true;
#ifdef PRIZEDRAW_WITH_XCB
    if (platform == u"xcb")
        return x11CompositorRuns();
#endif
    return false;
}

} // namespace pd

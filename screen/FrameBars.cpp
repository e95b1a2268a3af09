#include "screen/FrameBars.h"

#include "app/MainScreen.h"
#include "app/PictureBox.h"

#include <QMouseEvent>

namespace pd {

FrameBars::FrameBars(MainScreen& screen, QObject* parent) : QObject(parent), m_screen(screen)
{
    for (QWidget* bar :
         {m_screen.分隔条_左, m_screen.分隔条_右, m_screen.分隔条_上, m_screen.分隔条_下})
        bar->installEventFilter(this);
}

bool FrameBars::isVertical(const QWidget* bar) const
{
    return bar == m_screen.分隔条_左 || bar == m_screen.分隔条_右;
}

int FrameBars::placeOf(const QWidget* bar) const
{
    return isVertical(bar) ? bar->x() : bar->y();
}

bool FrameBars::eventFilter(QObject* watched, QEvent* event)
{
    auto* bar = qobject_cast<QWidget*>(watched);
    const QEvent::Type type = event->type();
    if (!bar || (type != QEvent::MouseButtonPress && type != QEvent::MouseMove &&
                 type != QEvent::MouseButtonRelease))
        return QObject::eventFilter(watched, event);

    auto* mouse = static_cast<QMouseEvent*>(event);
    const QPoint global = mouse->globalPosition().toPoint();
    const int along = isVertical(bar) ? global.x() : global.y();
    if (type == QEvent::MouseButtonPress) {
        if (mouse->button() != Qt::LeftButton)
            return true;
        m_bar = bar;
        m_pressAlong = along;
        m_oldPlace = placeOf(bar);
        return true;
    }
    if (m_bar != bar)
        return true;
    const int place = m_oldPlace + along - m_pressAlong;
    if (isVertical(bar))
        bar->move(place, bar->y());
    else
        bar->move(bar->x(), place);
    if (type == QEvent::MouseButtonRelease && mouse->button() == Qt::LeftButton) {
        m_bar = nullptr;
        barDragged(bar, m_oldPlace, place);
    }
    return true;
}

void FrameBars::barDragged(QWidget* bar, int oldPlace, int newPlace)
{
    QWidget* picture = m_screen.图片框_奖品;
    const int d = newPlace - oldPlace;
    const QRect g = picture->geometry();
    // A bar dragged past the opposite one gives a size below zero, which Qt holds as zero.
    int left = g.x();
    int top = g.y();
    int width = g.width();
    int height = g.height();
    if (bar == m_screen.分隔条_上) {
        height -= d;
        top += d;
    } else if (bar == m_screen.分隔条_下) {
        height += d;
    } else if (bar == m_screen.分隔条_左) {
        width -= d;
        left += d;
    } else if (bar == m_screen.分隔条_右) {
        width += d;
    } else {
        return;
    }
    picture->setGeometry(left, top, width, height);
    reframe();
}

void FrameBars::reframe()
{
    const QRect p = m_screen.图片框_奖品->geometry();
    const int l = p.x();
    const int t = p.y();
    const int w = p.width();
    const int h = p.height();
    m_screen.分隔条_左->setGeometry(l - 1, t, 1, h);
    m_screen.分隔条_右->setGeometry(l + w, t, 1, h);
    m_screen.分隔条_上->setGeometry(l, t - 1, w, 1);
    m_screen.分隔条_下->setGeometry(l, t + h, w, 1);
}

} // namespace pd

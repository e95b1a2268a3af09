#include "app/EnterKey.h"

#include <QApplication>
#include <QKeyEvent>

namespace pd {

EnterKey::EnterKey(QWidget* mainWindow, std::function<void()> press, QObject* parent)
    : QObject(parent), m_mainWindow(mainWindow), m_press(std::move(press))
{
    qApp->installEventFilter(this);
}

EnterKey::~EnterKey()
{
    qApp->removeEventFilter(this);
}

void EnterKey::registerEnterHotKey()
{
    m_hotKeyId = m_nextId++;
}

void EnterKey::releaseEnterHotKey()
{
    m_hotKeyId = 0;
}

bool EnterKey::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return QObject::eventFilter(watched, event);
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter)
        return QObject::eventFilter(watched, event);
    if (m_hotKeyId == 0 || !m_mainWindow || !m_mainWindow->isActiveWindow()
        || QApplication::activeModalWidget() || QApplication::activePopupWidget())
        return QObject::eventFilter(watched, event);
    auto* target = qobject_cast<QWidget*>(watched);
    if (!target || target->window() != m_mainWindow)
        return QObject::eventFilter(watched, event);
    // A held key repeats: one press is one Start or Stop, never a burst of them.
    if (!key->isAutoRepeat() && m_press)
        m_press();
    return true;
}

} // namespace pd

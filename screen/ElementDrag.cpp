#include "screen/ElementDrag.h"

#include "app/MainScreen.h"
#include "app/PictureBox.h"
#include "app/PrizeFrame.h"
#include "data/SettingsFile.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QMouseEvent>

namespace pd {

namespace {
const QString kZweizhi = QStringLiteral("zweizhi");

struct PlaceKeys
{
    QString left;
    QString top;
};
} // namespace

ElementDrag::ElementDrag(MainScreen& screen, const SettingsFile& settings, QObject* parent)
    : QObject(parent), m_screen(screen), m_settings(settings)
{
    connect(&m_screen, &MainScreen::dragRequested, this, &ElementDrag::begin);
}

void ElementDrag::begin(QWidget* pressed, const QPoint& globalPos)
{
    if (!pressed)
        return;
    // A new press while a drag is open means its release never reached us: start afresh.
    qApp->removeEventFilter(this);
    m_element = pressed == m_screen.透明标签_移动按钮 ? m_screen.超级按钮 : pressed;
    m_pressGlobal = globalPos;
    m_origin = m_element->pos();
    m_moving = m_element != m_screen.组合框1;
    qApp->installEventFilter(this);
}

bool ElementDrag::eventFilter(QObject* watched, QEvent* event)
{
    if (!isDragging())
        return QObject::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::MouseMove: {
        auto* move = static_cast<QMouseEvent*>(event);
        if (!(move->buttons() & Qt::LeftButton))
            break;
        follow(move->globalPosition().toPoint());
        // Once the chooser moves, its text selection must not follow the mouse as well.
        return m_moving && m_element == m_screen.组合框1;
    }
    case QEvent::MouseButtonRelease:
        if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
            follow(static_cast<QMouseEvent*>(event)->globalPosition().toPoint());
            finish();
        }
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

void ElementDrag::follow(const QPoint& globalPos)
{
    const QPoint delta = globalPos - m_pressGlobal;
    if (!m_moving) {
        // The chooser's own list is open: the press was a choice, not a drag.
        if (m_screen.组合框1->view()->isVisible())
            return;
        if (delta.manhattanLength() < QApplication::startDragDistance())
            return;
        m_moving = true;
    }
    m_element->move(m_origin + delta);
    if (m_element == m_screen.超级按钮)
        m_screen.透明标签_移动按钮->move(m_element->x() + m_element->width(), m_element->y());
}

void ElementDrag::finish()
{
    qApp->removeEventFilter(this);
    QWidget* element = m_element;
    m_element = nullptr;
    MainScreen& s = m_screen;

    static const QHash<QString, PlaceKeys> keys = {
        {QStringLiteral("图片框_照片"),
         {QStringLiteral("图片框_照片左边"), QStringLiteral("图片框_照片顶边")}},
        {QStringLiteral("透明标签_主标题"),
         {QStringLiteral("标签1左边"), QStringLiteral("标签1顶边")}},
        {QStringLiteral("透明标签_副标题"),
         {QStringLiteral("标签2左边"), QStringLiteral("标签2顶边")}},
        {QStringLiteral("透明标签_恭喜"),
         {QStringLiteral("透明标签_恭喜左边"), QStringLiteral("透明标签_恭喜顶边")}},
        {QStringLiteral("透明标签_中奖人"),
         {QStringLiteral("标签_中奖人左边"), QStringLiteral("标签_中奖人顶边")}},
        {QStringLiteral("透明标签_抽取进度"),
         {QStringLiteral("透明标签_抽取进度左边"), QStringLiteral("透明标签_抽取进度顶边")}},
        {QStringLiteral("透明标签_奖项等级"),
         {QStringLiteral("透明标签_奖项等级左边"), QStringLiteral("透明标签_奖项等级顶边")}},
        {QStringLiteral("组合框1"), {QStringLiteral("组合框1左边"), QStringLiteral("组合框1顶边")}},
        {QStringLiteral("超级按钮"),
         {QStringLiteral("超级按钮左边"), QStringLiteral("超级按钮顶边")}},
        {QStringLiteral("图片框_奖品"),
         {QStringLiteral("图片框_奖品左边"), QStringLiteral("图片框_奖品顶边")}},
    };
    const auto found = keys.constFind(element->objectName());
    if (found == keys.constEnd())
        return;
    const PlaceKeys& place = *found;

    if (element == s.图片框_奖品) {
        // One empty pixel row between the name and the picture, as wide as the picture.
        const QRect p = element->geometry();
        s.透明标签_奖品名称->setGeometry(p.x(), p.y() - s.透明标签_奖品名称->height() - 1,
                                         p.width(), s.透明标签_奖品名称->height());
    }
    // Written even when the element did not move, and negative places as they are.
    m_settings.writeKey(kZweizhi, place.left, QString::number(element->x()));
    m_settings.writeKey(kZweizhi, place.top, QString::number(element->y()));

    if (element == s.透明标签_主标题 || element == s.透明标签_副标题 ||
        element == s.透明标签_恭喜) {
        if (m_settingsGroup)
            m_settingsGroup->raise();
    } else if (element == s.超级按钮) {
        s.透明标签_移动按钮->move(s.超级按钮->x() + s.超级按钮->width(), s.超级按钮->y());
    } else if (element == s.图片框_奖品) {
        placeFrameBarsOnPicture(s);
    }
}

} // namespace pd

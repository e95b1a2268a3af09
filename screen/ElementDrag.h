// Dragging the elements of the main screen with the mouse. A left press on a movable element
// starts a drag; the element follows the mouse until the button is released, and then its
// place is stored in section "zweizhi" so that start-up puts it back there.
#pragma once

#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QWidget>

namespace pd {

class MainScreen;
class SettingsFile;

class ElementDrag final : public QObject
{
    Q_OBJECT
public:
    ElementDrag(MainScreen& screen, const SettingsFile& settings, QObject* parent = nullptr);

    // The settings panel's group, raised after a title or the announcement line was dragged.
    void setSettingsGroup(QWidget* group) { m_settingsGroup = group; }

    // A left press on a movable element (the button handle stands for the Start/Stop
    // button). The release that ends it stores the place.
    void begin(QWidget* pressed, const QPoint& globalPos);
    bool isDragging() const { return !m_element.isNull(); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void follow(const QPoint& globalPos);
    void finish();

    MainScreen& m_screen;
    const SettingsFile& m_settings;
    QPointer<QWidget> m_settingsGroup;
    QPointer<QWidget> m_element;
    QPoint m_pressGlobal;
    QPoint m_origin;
    // The chooser keeps its list and text editing: it moves only once the mouse has gone
    // a few pixels with the button down.
    bool m_moving = false;
};

} // namespace pd

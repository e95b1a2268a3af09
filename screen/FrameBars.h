// The four one-pixel bars around the prize picture are its resize handles: dragging a bar
// along its axis moves that side of the picture, and the frame is then put around the new
// bounds. The size is not stored; it lasts for the run.
#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>

namespace pd {

class MainScreen;

class FrameBars final : public QObject
{
    Q_OBJECT
public:
    explicit FrameBars(MainScreen& screen, QObject* parent = nullptr);

    // A completed drag of one bar from old to new (its place along its axis of movement).
    void barDragged(QWidget* bar, int oldPlace, int newPlace);
    // The bars around the picture after a resize: the left and top bars one pixel outside
    // it, the right and bottom bars on the first column and row beyond it.
    void reframe();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool isVertical(const QWidget* bar) const;
    int placeOf(const QWidget* bar) const;

    MainScreen& m_screen;
    QPointer<QWidget> m_bar;
    int m_pressAlong = 0;
    int m_oldPlace = 0;
};

} // namespace pd

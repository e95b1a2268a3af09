// The Enter key as a second Start/Stop button: while it is held (the main window is active),
// Return and Enter anywhere in the main window run the draw and are swallowed. A modal box
// or a popup keeps its own Return.
#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>

#include <functional>

namespace pd {

class EnterKey final : public QObject
{
    Q_OBJECT
public:
    EnterKey(QWidget* mainWindow, std::function<void()> press, QObject* parent = nullptr);
    ~EnterKey() override;

    void registerEnterHotKey();
    void releaseEnterHotKey();
    // Non-zero while the key is held.
    int hotKeyId() const { return m_hotKeyId; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPointer<QWidget> m_mainWindow;
    std::function<void()> m_press;
    int m_hotKeyId = 0;
    int m_nextId = 1;
};

} // namespace pd

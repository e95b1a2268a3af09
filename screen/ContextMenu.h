// The operator's one context menu "更换": every command except Start/Stop, the tier chooser
// and the settings panel's own controls. It is built anew at every right press, so the
// check marks it shows are always those of the main screen's four mode and music actions.
#pragma once

#include <QObject>
#include <QPoint>

#include <functional>
#include <memory>

class QMenu;

namespace pd {

class MainScreen;

// The handlers of the menu's commands. The four checkable items (窗口, 全屏, 启用背景音乐,
// 禁用背景音乐) are the main screen's own actions and carry their handlers themselves.
struct MenuCommands
{
    std::function<void()> changeMainTitle;
    std::function<void()> changeSubtitle;
    std::function<void()> prizeSettings;
    std::function<void()> photoData;
    std::function<void()> viewResults;
    std::function<void()> changeBackground;
    std::function<void()> removeBackground;
    std::function<void()> changeMusic;
    std::function<void()> mainTitleFont;
    std::function<void()> subtitleFont;
    std::function<void()> announcementFont;
    std::function<void()> abandonWinner;
    std::function<void()> exit;
};

class ContextMenu final : public QObject
{
    Q_OBJECT
public:
    ContextMenu(MainScreen& screen, MenuCommands commands, QObject* parent = nullptr);

    // The whole tree under the invisible root, owned by the caller.
    std::unique_ptr<QMenu> buildMenu();

    // Shows a fresh menu 3 pixels right of and below the mouse cursor and returns when it
    // closes; a chosen item has then run its command once.
    void popUp();

private:
    void requested(const QPoint& globalPos);

    MainScreen& m_screen;
    MenuCommands m_commands;
};

} // namespace pd

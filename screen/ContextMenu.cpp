#include "screen/ContextMenu.h"

#include "app/MainScreen.h"

#include <QCursor>
#include <QMenu>

namespace pd {

namespace {
void addCommand(QMenu* menu, const QString& text, const std::function<void()>& command)
{
    QAction* action = menu->addAction(text);
    if (command)
        QObject::connect(action, &QAction::triggered, menu, [command] { command(); });
}
} // namespace

ContextMenu::ContextMenu(MainScreen& screen, MenuCommands commands, QObject* parent)
    : QObject(parent), m_screen(screen), m_commands(std::move(commands))
{
    connect(&m_screen, &MainScreen::contextMenuRequested, this, &ContextMenu::requested);
}

void ContextMenu::requested(const QPoint& globalPos)
{
    // A right press that an element did not take reaches the window as its own; only the
    // window's bare background and the listed elements open the menu.
    QWidget* element = m_screen.childAt(m_screen.mapFromGlobal(globalPos));
    while (element && element->parentWidget() != &m_screen)
        element = element->parentWidget();
    if (element && !m_screen.menuElements().contains(element))
        return;
    popUp();
}

std::unique_ptr<QMenu> ContextMenu::buildMenu()
{
    auto menu = std::make_unique<QMenu>(&m_screen);
    menu->setTitle(QStringLiteral("更换"));
    QMenu* root = menu.get();
    const MenuCommands& c = m_commands;

    addCommand(root, QStringLiteral("更换主标题"), c.changeMainTitle);
    addCommand(root, QStringLiteral("更换副标题"), c.changeSubtitle);
    addCommand(root, QStringLiteral("奖项设置"), c.prizeSettings);
    addCommand(root, QStringLiteral("设置抽奖照片数据"), c.photoData);
    addCommand(root, QStringLiteral("查看抽奖结果"), c.viewResults);

    QMenu* background = root->addMenu(QStringLiteral("背景图控制"));
    addCommand(background, QStringLiteral("更换背景图"), c.changeBackground);
    addCommand(background, QStringLiteral("取消背景图"), c.removeBackground);

    QMenu* music = root->addMenu(QStringLiteral("背景音乐控制"));
    addCommand(music, QStringLiteral("更换背景音乐"), c.changeMusic);
    music->addAction(m_screen.启用背景音乐);
    music->addAction(m_screen.禁用背景音乐);

    QMenu* fonts = root->addMenu(QStringLiteral("字体颜色设置"));
    addCommand(fonts, QStringLiteral("主标题"), c.mainTitleFont);
    addCommand(fonts, QStringLiteral("副标题"), c.subtitleFont);
    addCommand(fonts, QStringLiteral("抽奖结果"), c.announcementFont);

    QMenu* mode = root->addMenu(QStringLiteral("界面大小"));
    mode->addAction(m_screen.窗口);
    mode->addAction(m_screen.全屏);

    addCommand(root, QStringLiteral("放弃当前中奖人"), c.abandonWinner);
    addCommand(root, QStringLiteral("退出"), c.exit);
    return menu;
}

void ContextMenu::popUp()
{
    const std::unique_ptr<QMenu> menu = buildMenu();
    menu->exec(QCursor::pos() + QPoint(3, 3));
}

} // namespace pd

#include "app/Shell.h"

#include "app/EnterKey.h"
#include "app/ExitGuard.h"
#include "app/MainScreen.h"
#include "app/StartUp.h"
#include "draw/Abandon.h"
#include "draw/DrawCycle.h"
#include "draw/TierChooser.h"
#include "media/Celebration.h"
#include "screen/BackgroundCommands.h"
#include "screen/ContextMenu.h"
#include "screen/ElementDrag.h"
#include "screen/FrameBars.h"
#include "screen/TitleCommands.h"
#include "settings/PasswordGate.h"
#include "settings/SettingsPanel.h"

#include <QGroupBox>

namespace pd {

Shell::Shell(Dialogs& dialogs, Desktop& desktop, Sound& sound, Random& random)
    : m_session(std::make_unique<Session>(dialogs, desktop, sound, random))
{
    m_screen = std::make_unique<MainScreen>(dialogs, desktop, m_session->settings);
    m_startUp = std::make_unique<StartUp>(*m_screen, *m_session);
    m_drawCycle = std::make_unique<DrawCycle>(*m_screen, *m_session, nullptr);
    m_tierChooser = std::make_unique<TierChooser>(*m_screen, *m_session);

    DrawCycle* cycle = m_drawCycle.get();
    MainScreen* screen = m_screen.get();
    // Enter runs the draw like the button, but not during the cool-down after a Stop: the
    // same pick must never be recorded twice.
    m_enterKey = std::make_unique<EnterKey>(screen, [cycle, screen] {
        if (screen->超级按钮->isEnabled())
            cycle->startStop();
    });
    QObject::connect(screen, &MainScreen::activated, m_enterKey.get(),
                     &EnterKey::registerEnterHotKey);
    QObject::connect(screen, &MainScreen::deactivated, m_enterKey.get(),
                     &EnterKey::releaseEnterHotKey);
    screen->canClose = [&dialogs, &desktop] { return confirmExit(dialogs, desktop); };

    Session* session = m_session.get();
    m_settingsPanel = new SettingsPanel(session->store, session->settings, dialogs, screen);
    m_settingsPanel->refreshTierChooser = [screen, session] {
        StartUp::refreshTierChooser(*screen, *session);
    };
    m_settingsPanel->runStartUp = [this] { m_startUp->startUp(); };
    m_elementDrag = std::make_unique<ElementDrag>(*screen, session->settings);
    m_elementDrag->setSettingsGroup(m_settingsPanel->分组框1);
    m_frameBars = std::make_unique<FrameBars>(*screen);
    QObject::connect(screen->启用背景音乐, &QAction::triggered, screen, [screen, session] {
        switchBackgroundMusic(*screen, session->settings, true);
    });
    QObject::connect(screen->禁用背景音乐, &QAction::triggered, screen, [screen, session] {
        switchBackgroundMusic(*screen, session->settings, false);
    });
    m_contextMenu = std::make_unique<ContextMenu>(*screen, menuCommands());
}

MenuCommands Shell::menuCommands()
{
    MainScreen* screen = m_screen.get();
    Session* session = m_session.get();
    const SettingsFile& settings = session->settings;
    Dialogs& dialogs = session->dialogs;
    Desktop& desktop = session->desktop;
    const QString runDir = desktop.programFolder();
    MenuCommands c;
    c.changeMainTitle = [=, &settings, &dialogs] { changeMainTitle(*screen, settings, dialogs); };
    c.changeSubtitle = [=, &settings, &dialogs] { changeSubtitle(*screen, settings, dialogs); };
    c.prizeSettings = [this, session, screen] {
        PasswordGate gate(session->settings, session->dialogs, session->desktop, session->random,
                          m_settingsPanel, screen);
        gate.exec();
    };
    c.photoData = [session] {
        session->photos.openPhotoFolder(session->dialogs, session->desktop);
    };
    c.viewResults = [session] { session->results.viewResults(session->desktop); };
    c.changeBackground = [=, &dialogs] { changeBackgroundPicture(*screen, dialogs, runDir); };
    c.removeBackground = [=] { removeBackgroundPicture(*screen, runDir); };
    c.changeMusic = [=, &dialogs] { changeBackgroundMusic(dialogs, runDir); };
    c.mainTitleFont = [=, &settings, &dialogs] {
        changeLabelFont(*screen, settings, dialogs, FontTarget::MainTitle);
    };
    c.subtitleFont = [=, &settings, &dialogs] {
        changeLabelFont(*screen, settings, dialogs, FontTarget::Subtitle);
    };
    c.announcementFont = [=, &settings, &dialogs] {
        changeLabelFont(*screen, settings, dialogs, FontTarget::Announcement);
    };
    c.abandonWinner = [this, screen, session] { abandonWinner(*screen, *session, *m_drawCycle); };
    // The answer does not matter here: OK ends the process, Cancel leaves everything as it was.
    c.exit = [&dialogs, &desktop] { confirmExit(dialogs, desktop); };
    return c;
}

Shell::~Shell() = default;

void Shell::setCelebration(Celebration* celebration)
{
    m_drawCycle->setCelebration(celebration);
    m_settingsPanel->setCelebration(celebration);
}

void Shell::start()
{
    m_startUp->startUp();
    m_screen->show();
    m_screen->activateWindow();
    m_screen->超级按钮->setFocus();
}

} // namespace pd

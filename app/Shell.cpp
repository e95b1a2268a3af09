#include "app/Shell.h"

#include "app/EnterKey.h"
#include "app/ExitGuard.h"
#include "app/MainScreen.h"
#include "app/StartUp.h"
#include "draw/DrawCycle.h"
#include "draw/TierChooser.h"

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
}

Shell::~Shell() = default;

void Shell::setCelebration(Celebration* celebration)
{
    m_drawCycle->setCelebration(celebration);
}

void Shell::start()
{
    m_startUp->startUp();
    m_screen->show();
    m_screen->activateWindow();
    m_screen->超级按钮->setFocus();
}

} // namespace pd

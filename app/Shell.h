// The program's objects wired together: the session, the main screen, start-up, the draw
// cycle, the tier chooser, the Enter key and the exit confirmation. main() builds one over
// the real platform; tests build one over FakePlatform.
#pragma once

#include "app/Session.h"

#include <memory>

namespace pd {

class Celebration;
class ContextMenu;
class DrawCycle;
class ElementDrag;
class EnterKey;
class FrameBars;
class MainScreen;
class SettingsPanel;
class StartUp;
class TierChooser;
struct MenuCommands;

class Shell final
{
public:
    Shell(Dialogs& dialogs, Desktop& desktop, Sound& sound, Random& random);
    ~Shell();
    Shell(const Shell&) = delete;
    Shell& operator=(const Shell&) = delete;

    // The fireworks are made once the main window exists, since it owns them.
    void setCelebration(Celebration* celebration);

    // Runs start-up and shows the main window.
    void start();

    Session& session() { return *m_session; }
    MainScreen& screen() { return *m_screen; }
    StartUp& startUp() { return *m_startUp; }
    DrawCycle& drawCycle() { return *m_drawCycle; }
    TierChooser& tierChooser() { return *m_tierChooser; }
    EnterKey& enterKey() { return *m_enterKey; }
    SettingsPanel& settingsPanel() { return *m_settingsPanel; }
    ContextMenu& contextMenu() { return *m_contextMenu; }
    ElementDrag& elementDrag() { return *m_elementDrag; }
    FrameBars& frameBars() { return *m_frameBars; }

private:
    MenuCommands menuCommands();

    std::unique_ptr<Session> m_session;
    std::unique_ptr<MainScreen> m_screen;
    std::unique_ptr<StartUp> m_startUp;
    std::unique_ptr<DrawCycle> m_drawCycle;
    std::unique_ptr<TierChooser> m_tierChooser;
    std::unique_ptr<EnterKey> m_enterKey;
    QMetaObject::Connection m_celebrationLink;
    SettingsPanel* m_settingsPanel = nullptr; // a child of the main window
    std::unique_ptr<ElementDrag> m_elementDrag;
    std::unique_ptr<FrameBars> m_frameBars;
    std::unique_ptr<ContextMenu> m_contextMenu;
};

} // namespace pd

// The start-up sequence: turns the designed main screen into the screen of this event from
// the settings file, the photo folder and the screen size. It runs when the main window is
// created and again after every Save of the settings panel, so every step is safe to repeat.
#pragma once

class QLabel;
class QWidget;

namespace pd {

class MainScreen;
struct Session;

class StartUp final
{
public:
    StartUp(MainScreen& screen, Session& session) : m_screen(screen), m_session(session) {}

    void startUp();

    // Shared with the tier chooser and the settings panel: fills the chooser with the
    // non-empty tier names and loads the prize picture of a tier whose name equals the
    // (now empty) chooser text.
    static void refreshTierChooser(MainScreen& screen, Session& session);

private:
    void applyFontGroup(const char* prefix, QLabel* label);
    void applyStoredPlace(QWidget* element, const char* testKey, const char* leftKey,
                          const char* topKey);

    MainScreen& m_screen;
    Session& m_session;
};

} // namespace pd

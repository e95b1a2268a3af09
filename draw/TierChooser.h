// The tier chooser: picking a tier from the list or typing its name shows the tier's prize
// picture and name and restarts its ordinals.
#pragma once

#include <QObject>

namespace pd {

class MainScreen;
struct Session;

class TierChooser final : public QObject
{
    Q_OBJECT
public:
    TierChooser(MainScreen& screen, Session& session, QObject* parent = nullptr);

    // Runs once per keystroke of the operator and once per item chosen from the list;
    // changes the program makes to the chooser run nothing.
    void chooseTier(bool itemChosen = false);

private:
    MainScreen& m_screen;
    Session& m_session;
};

} // namespace pd

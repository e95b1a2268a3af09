// The Start/Stop cycle: the checks in front of a draw, the roll driven by the picker timer,
// the Stop that fixes, announces and records a winner, and the cool-down before the button
// reads "开始抽奖" again. The phase lives in the button's caption and enabled state and in
// the two timers, as the operator sees it.
#pragma once

#include <QObject>
#include <QString>

#include <array>

class QTimer;

namespace pd {

class Celebration;
class MainScreen;
struct Session;

class DrawCycle final : public QObject
{
    Q_OBJECT
public:
    enum class Phase { Idle, Rolling, Cooling };

    // celebration may be null: then no overlay opens and nothing waits.
    DrawCycle(MainScreen& screen, Session& session, Celebration* celebration,
              QObject* parent = nullptr);

    void setCelebration(Celebration* celebration) { m_celebration = celebration; }

    void startStop();
    void pickerTick();
    void reenableTick();

    // Writes the tier's progress into the progress label; with relayout, also its width and
    // the subtitle's text colour.
    void updateProgress(int count, bool relayout);

    Phase phase() const;
    // The name the latest Stop fixed (the random pick, before a designated winner).
    QString lastPick() const { return m_lastPick; }

    QTimer* 时钟_取随机 = nullptr;
    QTimer* 时钟_开始 = nullptr;

private:
    void start();
    void stop(const std::array<QString, 3>& designated);
    void showPhotoOf(const QString& name);
    void showRollPicture(const QString& name);

    MainScreen& m_screen;
    Session& m_session;
    Celebration* m_celebration = nullptr;
    QString m_lastPick;
    int m_picksThisRoll = 0;
    // Each overlay gets a number, so that a wait only closes the overlay it opened.
    int m_overlayGeneration = 0;
};

} // namespace pd

// The real program run in the X server of the test command, and the tools that drive it.
#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

namespace pd::test {

// Runs a command and returns its trimmed standard output; empty on a time-out.
QString runTool(const QString& program, const QStringList& args, int timeoutMs = 10000);
QString xdotool(const QStringList& args);
// Copies the built program into a folder, which makes it an event folder.
bool copyProgramInto(const QString& folder);

// The program started in an event folder (its working folder), killed when this goes.
class ProgramUnderX
{
public:
    explicit ProgramUnderX(const QString& folder);
    ~ProgramUnderX();
    ProgramUnderX(const ProgramUnderX&) = delete;
    ProgramUnderX& operator=(const ProgramUnderX&) = delete;

    // The id of the first visible window of this program whose name holds the text; empty
    // after the time-out.
    QString waitForWindow(const QString& name, int timeoutMs = 15000) const;

    QProcess process;
};

} // namespace pd::test

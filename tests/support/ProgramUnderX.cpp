#include "tests/support/ProgramUnderX.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QTest>

namespace pd::test {

QString runTool(const QString& program, const QStringList& args, int timeoutMs)
{
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(timeoutMs)) {
        p.kill();
        p.waitForFinished();
        return {};
    }
    return QString::fromUtf8(p.readAllStandardOutput()).trimmed();
}

QString xdotool(const QStringList& args)
{
    return runTool(QStringLiteral("xdotool"), args);
}

bool copyProgramInto(const QString& folder)
{
    return QFile::copy(QStringLiteral(PRIZEDRAW_EXE), folder + QStringLiteral("/prizedraw"));
}

ProgramUnderX::ProgramUnderX(const QString& folder)
{
    process.setWorkingDirectory(folder);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    env.insert(QStringLiteral("SDL_AUDIODRIVER"), QStringLiteral("dummy"));
    env.insert(QStringLiteral("XDG_CACHE_HOME"), folder + QStringLiteral("/cache"));
    process.setProcessEnvironment(env);
    process.start(folder + QStringLiteral("/prizedraw"), {});
}

ProgramUnderX::~ProgramUnderX()
{
    process.kill();
    process.waitForFinished();
}

QString ProgramUnderX::waitForWindow(const QString& name, int timeoutMs) const
{
    QDeadlineTimer deadline(timeoutMs);
    while (!deadline.hasExpired()) {
        const QString found =
            xdotool({QStringLiteral("search"), QStringLiteral("--all"),
                     QStringLiteral("--onlyvisible"), QStringLiteral("--pid"),
                     QString::number(process.processId()), QStringLiteral("--name"), name});
        if (!found.isEmpty())
            return found.section(QLatin1Char('\n'), 0, 0);
        QTest::qWait(200);
    }
    return {};
}

} // namespace pd::test

#include "tests/reliability/ReliabilityEvent.h"

#include "app/MainScreen.h"
#include "app/StartUp.h"
#include "data/Text.h"
#include "draw/DrawCycle.h"
#include "draw/PrizeTier.h"
#include "draw/TierChooser.h"

#include <QComboBox>
#include <QFile>

namespace pd::test {

Shell& startDrawEvent(TestEvent& event, const QStringList& photos, int count, const Keys& extraKeys)
{
    event.addPhotos(photos);
    Keys keys = extraKeys;
    keys << std::pair{tierDesignName(1), QStringLiteral("一等奖")}
         << std::pair{tierDesignName(1) + QStringLiteral("人数"), QString::number(count)};
    for (int i = 2; i <= 8; ++i)
        keys << std::pair{tierDesignName(i), QStringLiteral("未用%1").arg(i)}
             << std::pair{tierDesignName(i) + QStringLiteral("人数"), QStringLiteral("0")};
    event.writeSettings({{QStringLiteral("zbt"), keys}});
    Shell& shell = event.shell();
    shell.startUp().startUp();
    shell.screen().组合框1->setEditText(QStringLiteral("一等奖"));
    shell.tierChooser().chooseTier(true);
    return shell;
}

void drawOnce(Shell& shell, int ticks)
{
    shell.drawCycle().startStop();
    for (int i = 0; i < ticks; ++i)
        shell.drawCycle().pickerTick();
    shell.drawCycle().startStop();
    shell.drawCycle().reenableTick();
}

QStringList resultLines(const QByteArray& bytes)
{
    return fromLocal8(bytes).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
}

QString winnerOf(const QString& line)
{
    return line.section(QStringLiteral("  ------  "), 0, 0);
}

qint64 peakResidentKb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toLongLong();
    }
    return -1;
}

} // namespace pd::test

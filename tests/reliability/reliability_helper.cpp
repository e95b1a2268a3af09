// A process for the fault tests to run as another user or to kill at any moment.
//   reliability_helper results-loop <folder>   rewrites the results file, one winner more
//                                              each time, until it is killed
//   reliability_helper settings-loop <folder>  stores one settings key more each time
//   reliability_helper draw <event> <work> <n> runs n draws of tier 1 over the scripted
//                                              platform and prints the messages shown
#include "app/MainScreen.h"
#include "app/Shell.h"
#include "app/StartUp.h"
#include "data/SettingsFile.h"
#include "draw/DrawCycle.h"
#include "draw/ResultsLog.h"
#include "draw/TierChooser.h"
#include "platform/FakePlatform.h"
#include "platform/Random.h"

#include <QApplication>
#include <QComboBox>

#include <cstdio>

using namespace pd;

namespace {

int resultsLoop(const QString& folder)
{
    ResultsLog log(folder, QString());
    for (int i = 1;; ++i)
        log.appendResultLine(QStringLiteral("获奖者%1").arg(i), QStringLiteral("一等奖"));
}

int settingsLoop(const QString& folder)
{
    const SettingsFile settings(folder);
    for (int i = 1;; ++i) {
        settings.writeKey(u"zbt", QStringLiteral("键%1").arg(i), QStringLiteral("值%1").arg(i));
        settings.writeKey(u"zbt", u"计数", QString::number(i));
    }
}

int draws(int argc, char* argv[])
{
    QApplication app(argc, argv);
    FakeDialogs dialogs;
    FakeDesktop desktop;
    FakeSound sound;
    Random random;
    desktop.runDir = QString::fromLocal8Bit(argv[2]);
    desktop.work = QString::fromLocal8Bit(argv[3]);
    desktop.waitOverrideMs = 0;
    const int count = QByteArray(argv[4]).toInt();
    Shell shell(dialogs, desktop, sound, random);
    shell.startUp().startUp();
    shell.screen().组合框1->setEditText(QStringLiteral("一等奖"));
    shell.tierChooser().chooseTier(true);
    for (int i = 0; i < count; ++i) {
        shell.drawCycle().startStop();
        shell.drawCycle().pickerTick();
        shell.drawCycle().startStop();
        shell.drawCycle().reenableTick();
    }
    for (const ShownMessage& shown : dialogs.messages) {
        const QString text =
            QString(shown.text).replace(QStringLiteral("\r\n"), QStringLiteral("|"));
        std::printf("message\t%d\t%s\t%s\n", int(shown.style), qPrintable(shown.caption),
                    qPrintable(text));
    }
    std::printf("results\t%s\n",
                qPrintable(QString(shell.session().results.results())
                               .replace(QStringLiteral("\r\n"), QStringLiteral("|"))));
    return 0;
}

} // namespace

int main(int argc, char* argv[])
{
    const QByteArray mode = argc > 1 ? QByteArray(argv[1]) : QByteArray();
    if (mode == "results-loop" && argc == 3)
        return resultsLoop(QString::fromLocal8Bit(argv[2]));
    if (mode == "settings-loop" && argc == 3)
        return settingsLoop(QString::fromLocal8Bit(argv[2]));
    if (mode == "draw" && argc == 5)
        return draws(argc, argv);
    std::fprintf(stderr, "usage: reliability_helper results-loop|settings-loop <folder>\n"
                         "       reliability_helper draw <event> <work> <draws>\n");
    return 2;
}

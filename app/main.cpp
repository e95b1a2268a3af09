#include "app/MainScreen.h"
#include "app/Shell.h"
#include "media/FireworksOverlay.h"
#include "platform/QtPlatform.h"
#include "platform/Random.h"
#include "platform/SdlSound.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("prizedraw"));

    pd::QtDialogs dialogs;
    pd::QtDesktop desktop;
    pd::SdlSound sound;
    pd::Random random;
    pd::Shell shell(dialogs, desktop, sound, random);
    dialogs.setParentWindow(&shell.screen());
    pd::FireworksOverlay fireworks(&shell.screen(), random, desktop);
    shell.setCelebration(&fireworks);
    shell.start();
    return app.exec();
}

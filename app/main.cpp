#include "app/MainScreen.h"
#include "app/Shell.h"
#include "media/FireworksOverlay.h"
#include "platform/QtPlatform.h"
#include "platform/Random.h"
#include "platform/SdlSound.h"

#include <QApplication>
#include <QIcon>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("prizedraw"));
    // Under Wayland a window carries no icon of its own: the compositor finds it through the
    // desktop file of this name (prizedraw.desktop beside the program, or the menu entry
    // made by add-to-menu.sh).
    QGuiApplication::setDesktopFileName(QStringLiteral("prizedraw"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/app/prizedraw.png")));

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

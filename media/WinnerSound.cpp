#include "media/WinnerSound.h"

#include <QFile>

// The resource lives in a static library: without this call the linker would drop it.
static void initSoundsResource()
{
    Q_INIT_RESOURCE(sounds);
}

namespace pd {

QByteArray winnerSoundWav()
{
    static const QByteArray wav = [] {
        initSoundsResource();
        QFile file(QStringLiteral(":/sounds/winner.wav"));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }();
    return wav;
}

} // namespace pd

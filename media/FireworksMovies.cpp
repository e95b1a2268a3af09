#include "media/FireworksMovies.h"

#include <QFile>

// Resources of a static library are registered by hand before first use.
static void registerFireworksResources()
{
    Q_INIT_RESOURCE(fireworks);
}

namespace pd {

QByteArray fireworksMovie(int number)
{
    if (number < 1 || number > kFireworksMovieCount)
        return {};
    static const bool registered = (registerFireworksResources(), true);
    Q_UNUSED(registered);
    QFile file(QStringLiteral(":/fireworks/fireworks%1.pdfw").arg(number));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

} // namespace pd

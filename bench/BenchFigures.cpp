#include "bench/BenchFigures.h"

#include <QDir>
#include <QFileInfo>
#include <QTextStream>

#include <algorithm>

namespace bench {

namespace {

QTextStream& out()
{
    static QTextStream stream(stdout);
    return stream;
}

} // namespace

void print(const QByteArray& name, double value, const char* unit, int decimals)
{
    out() << "bench " << name << ' ' << QString::number(value, 'f', decimals) << ' ' << unit
          << '\n';
    out().flush();
}

void note(const QString& text)
{
    out() << "# " << text << '\n';
    out().flush();
}

double percentile(std::vector<double> values, double share)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    return values[std::min(values.size() - 1, size_t(double(values.size()) * share))];
}

QStringList photosIn(const QString& folder)
{
    QStringList paths;
    const QDir dir(folder);
    for (const QString& name : dir.entryList({QStringLiteral("*.jpg")}, QDir::Files, QDir::Name))
        paths.append(dir.absoluteFilePath(name));
    return paths;
}

double meanFileKiB(const QStringList& paths)
{
    qint64 total = 0;
    for (const QString& path : paths)
        total += QFileInfo(path).size();
    return paths.isEmpty() ? 0 : double(total) / 1024.0 / double(paths.size());
}

} // namespace bench

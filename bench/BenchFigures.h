// What every benchmark prints, and how: one line per measure, "bench <name> <value> <unit>",
// and notes as "# <text>".
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <vector>

namespace bench {

void print(const QByteArray& name, double value, const char* unit, int decimals = 3);
void note(const QString& text);

// The value below which the given share of the values lie (0.5: the median; 1: the largest);
// 0 for no values.
double percentile(std::vector<double> values, double share);

// The *.jpg files of a folder, by name.
QStringList photosIn(const QString& folder);
// The mean size of the files, in KiB.
double meanFileKiB(const QStringList& paths);

} // namespace bench

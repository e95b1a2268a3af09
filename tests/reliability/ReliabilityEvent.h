// An event folder with one open tier, started up over the scripted platform, and the draw
// steps the reliability tests drive: what a Shell needs to run draws without an operator.
#pragma once

#include "tests/support/TestEvent.h"

#include <QStringList>

namespace pd::test {

// Writes tier 1 as `tier` with `count` winners (the other rows are named and closed, so no
// empty row matches), adds the photos, starts up and chooses the tier.
Shell& startDrawEvent(TestEvent& event, const QStringList& photos, int count,
                      const Keys& extraKeys = {});

// Start, `ticks` picker ticks, Stop and the re-enable tick: one whole draw.
void drawOnce(Shell& shell, int ticks = 3);

// The lines of a results file (GB18030, CR LF).
QStringList resultLines(const QByteArray& bytes);

// The winner's name of a results line.
QString winnerOf(const QString& line);

// Peak resident memory of this process in kB (VmHWM), or -1.
qint64 peakResidentKb();

} // namespace pd::test

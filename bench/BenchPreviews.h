// What the benchmarks ask of the roll previews of a running program.
#pragma once

#include <QtGlobal>

namespace pd {
struct Session;
}

namespace bench {

// Every photo of the pool has been looked at.
bool previewsIdle(pd::Session& session);
// Bytes of preview held in memory.
qint64 previewMemory(pd::Session& session);
// Photos decoded whole to make previews.
int previewDecodes(pd::Session& session);

} // namespace bench

#include "bench/BenchPreviews.h"

#include "app/Session.h"

namespace bench {

bool previewsIdle(pd::Session& session)
{
    return session.previews.isIdle();
}

qint64 previewMemory(pd::Session& session)
{
    return session.previews.memoryBytes();
}

int previewDecodes(pd::Session& session)
{
    return session.previews.decodeCount();
}

} // namespace bench

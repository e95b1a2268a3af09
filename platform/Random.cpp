#include "platform/Random.h"

namespace pd {

int Random::next()
{
    m_state = m_state * 214013u + 2531011u;
    return static_cast<int>((m_state >> 16) & 0x7FFFu);
}

int Random::between(int low, int high)
{
    if (low == high)
        return low;
    const long long span = static_cast<long long>(high) - low + 1;
    return static_cast<int>(low + next() % span);
}

} // namespace pd

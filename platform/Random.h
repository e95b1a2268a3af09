#pragma once

#include <cstdint>

namespace pd {

// The program's one pseudo-random generator. Winner selection, the fireworks overlay and
// the password scrambler all draw from the same instance, so their draws interleave.
class Random final
{
public:
    // One draw: a value from 0 to 32767.
    int next();
    // low + (value mod (high - low + 1)); equal bounds give low and draw nothing.
    int between(int low, int high);
    void seed(std::uint32_t state) { m_state = state; }
    std::uint32_t state() const { return m_state; }

private:
    std::uint32_t m_state = 1;
};

} // namespace pd

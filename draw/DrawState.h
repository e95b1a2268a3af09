// The run-time state of the draw and the rules that count, close and re-open tiers. The
// state lives in memory for one run; the tier data are read from the TierStore at the
// moment of each check.
#pragma once

#include "draw/PrizeTier.h"

#include <QStringList>

#include <array>
#include <optional>

namespace pd {

class TierStore;

struct DrawState
{
    // Winners of each tier (index 0 is tier 1) when it was last closed or corrected by an
    // abandon; not the running count of the current tier.
    std::array<int, kTierCount> completedCount{};
    // Winner count of the chosen tier plus 1, cut toward zero.
    int tierLimit = 0;
    // Ordinal within the chosen tier of the next winner to be announced.
    int nextOrdinal = 1;
    // Candidates of the current roll, taken from the name pool text at Start.
    QStringList pool;
    int rollPeriodMs = 30;
    // 1-based index into pool of the latest random pick; 0 before the first.
    int pickIndex = 0;
};

// The first tier 1..8 whose name equals the text exactly; an empty text matches an empty name.
std::optional<int> findTierByName(const TierStore& tiers, QStringView text);

// The tier's completed count equals its winner count read as a number (with the tolerance).
bool isTierClosed(const DrawState& state, const TierStore& tiers, int tier);

// Whether any tier with this exact name is closed: the check in front of every press, which
// looks at every tier of the name, not only the first.
bool isAnyTierNamedClosed(const DrawState& state, const TierStore& tiers, QStringView text);

bool isDrawAllowed(const DrawState& state);

// Slot k (1..3) belongs to the draw whose ordinal is tierLimit - k.
std::optional<int> designatedSlotFor(const DrawState& state, int ordinal);

// When the chooser text names a tier: its completed count becomes nextOrdinal - 1.
void closeTier(DrawState& state, const TierStore& tiers, QStringView chooserText);

// Choosing a tier: when the chooser text names a tier, tierLimit = its winner count + 1, cut
// toward zero; otherwise tierLimit keeps the value of the last tier chosen.
void chooseTierLimit(DrawState& state, const TierStore& tiers, QStringView chooserText);

// The picker period from the roll speed text: its number cut toward zero, 30 when empty.
int rollPeriodOf(QStringView speedText);

} // namespace pd

#include "draw/DrawState.h"

#include "data/Text.h"
#include "draw/TierStore.h"

#include <algorithm>
#include <limits>

namespace pd {

namespace {

int clampToInt(qint64 value)
{
    return static_cast<int>(std::clamp<qint64>(value, std::numeric_limits<int>::min(),
                                               std::numeric_limits<int>::max()));
}

} // namespace

std::optional<int> findTierByName(const TierStore& tiers, QStringView text)
{
    for (int n = 1; n <= kTierCount; ++n) {
        if (tiers.name(n) == text)
            return n;
    }
    return std::nullopt;
}

bool isTierClosed(const DrawState& state, const TierStore& tiers, int tier)
{
    if (tier < 1 || tier > kTierCount)
        return false;
    return numbersEqual(state.completedCount[tier - 1], numberOf(tiers.winnerCount(tier)));
}

bool isAnyTierNamedClosed(const DrawState& state, const TierStore& tiers, QStringView text)
{
    for (int n = 1; n <= kTierCount; ++n) {
        if (tiers.name(n) == text && isTierClosed(state, tiers, n))
            return true;
    }
    return false;
}

bool isDrawAllowed(const DrawState& state)
{
    return state.tierLimit > state.nextOrdinal;
}

std::optional<int> designatedSlotFor(const DrawState& state, int ordinal)
{
    for (int slot = 1; slot <= kDesignatedSlots; ++slot) {
        if (qint64(ordinal) == qint64(state.tierLimit) - slot)
            return slot;
    }
    return std::nullopt;
}

void closeTier(DrawState& state, const TierStore& tiers, QStringView chooserText)
{
    if (const auto tier = findTierByName(tiers, chooserText))
        state.completedCount[*tier - 1] = clampToInt(qint64(state.nextOrdinal) - 1);
}

void chooseTierLimit(DrawState& state, const TierStore& tiers, QStringView chooserText)
{
    if (const auto tier = findTierByName(tiers, chooserText))
        state.tierLimit = truncateToInt(numberOf(tiers.winnerCount(*tier)) + 1);
}

int rollPeriodOf(QStringView speedText)
{
    return speedText.isEmpty() ? 30 : wholeNumberOf(speedText);
}

} // namespace pd

// One prize tier as the settings panel holds it: every field is the text of a panel field.
#pragma once

#include <QString>

#include <array>

namespace pd {

inline constexpr int kTierCount = 8;
inline constexpr int kDesignatedSlots = 3;

struct PrizeTier
{
    QString name;
    // Typed text, read as a number where it is used (empty reads as 0).
    QString winnerCount;
    QString picturePath;
    // designated[0] is slot 1 (the last draw of the tier), [1] slot 2, [2] slot 3.
    std::array<QString, kDesignatedSlots> designated;
};

// The design name of tier 1..8 ("特等奖", "一等奖" … "七等奖"): the initial name and picture
// text, and the word the settings keys of that tier number are made of. Empty outside 1..8.
QString tierDesignName(int tier);

} // namespace pd

// Who wins a draw: the candidates of a roll, the random pick of each tick, the winner at
// Stop, and the designated winner that replaces the announced name in a tier's last draws.
// The name pool text holds one entry per participant: the name followed by CR LF.
#pragma once

#include "draw/PrizeTier.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace pd {

struct DrawState;
class Random;
class TierStore;

// Removes the first entry of the pool text equal to name, with its CR LF. Only a whole entry
// matches: removing "Ann" leaves "Anna". Returns whether an entry was removed.
bool removePoolEntry(QString& poolText, QStringView name);

// Start, part one: unless repeats are allowed, takes the 24 designated names of all tiers out
// of the pool text (slot 1 of tiers 1..8, then slot 2, then slot 3), so that none of them can
// come up at random.
void removeDesignatedNames(QString& poolText, const TierStore& tiers);

// Start, part two: the pool text split at every CR LF. An empty stretch between two CR LF
// pairs is an (empty) member; the text after the last CR LF only when it is not empty.
QStringList splitPool(QStringView poolText);

// Both parts of the preparation at Start; state.pool is replaced.
void preparePool(DrawState& state, QString& poolText, const TierStore& tiers);

// One random index 1..N into state.pool: 1 + value mod N. A one-member pool gives 1 and
// draws nothing from the generator; an empty pool gives 0 (no index) and draws nothing.
int pickRandomIndex(const DrawState& state, Random& rng);

// The winner at Stop: pool[pickIndex], taken out of the pool text unless repeats are
// allowed. A pick index outside the pool gives the empty text and changes nothing.
QString takeWinner(const DrawState& state, QString& poolText, const TierStore& tiers);

// The designated slot (1..3) whose name replaces the announced winner of the draw with this
// ordinal under this tier limit, or none: slot 3 for the third-last draw, slot 2 for the
// second-last, slot 1 for the last, each only when its name is not empty.
std::optional<int> designatedSlotToApply(int ordinal, int tierLimit,
                                         const std::array<QString, kDesignatedSlots>& names);

} // namespace pd

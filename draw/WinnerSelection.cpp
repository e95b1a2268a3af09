#include "draw/WinnerSelection.h"

#include "draw/DrawState.h"
#include "draw/TierStore.h"
#include "platform/Random.h"

namespace pd {

namespace {

constexpr QStringView kLineEnd = u"\r\n";

} // namespace

bool removePoolEntry(QString& poolText, QStringView name)
{
    qsizetype start = 0;
    while (start < poolText.size()) {
        const qsizetype end = poolText.indexOf(kLineEnd, start);
        const qsizetype entryEnd = end < 0 ? poolText.size() : end;
        if (QStringView(poolText).sliced(start, entryEnd - start) == name) {
            // A last entry without its CR LF is still an entry; only an empty stretch
            // after the last CR LF is not.
            if (end >= 0)
                poolText.remove(start, entryEnd - start + kLineEnd.size());
            else if (entryEnd > start)
                poolText.remove(start, entryEnd - start);
            else
                return false;
            return true;
        }
        if (end < 0)
            break;
        start = end + kLineEnd.size();
    }
    return false;
}

void removeDesignatedNames(QString& poolText, const TierStore& tiers)
{
    if (tiers.allowRepeats())
        return;
    for (int slot = 1; slot <= kDesignatedSlots; ++slot) {
        for (int tier = 1; tier <= kTierCount; ++tier) {
            const QString name = tiers.designated(tier, slot);
            if (!name.isEmpty())
                removePoolEntry(poolText, name);
        }
    }
}

QStringList splitPool(QStringView poolText)
{
    QStringList members;
    qsizetype start = 0;
    for (;;) {
        const qsizetype end = poolText.indexOf(kLineEnd, start);
        if (end < 0)
            break;
        members.append(poolText.sliced(start, end - start).toString());
        start = end + kLineEnd.size();
    }
    if (start < poolText.size())
        members.append(poolText.sliced(start).toString());
    return members;
}

void preparePool(DrawState& state, QString& poolText, const TierStore& tiers)
{
    removeDesignatedNames(poolText, tiers);
    state.pool = splitPool(poolText);
}

int pickRandomIndex(const DrawState& state, Random& rng)
{
    const qsizetype members = state.pool.size();
    if (members <= 1)
        return static_cast<int>(members);
    return static_cast<int>(1 + rng.next() % members);
}

QString takeWinner(const DrawState& state, QString& poolText, const TierStore& tiers)
{
    if (state.pickIndex < 1 || state.pickIndex > state.pool.size())
        return {};
    const QString name = state.pool.at(state.pickIndex - 1);
    if (!tiers.allowRepeats())
        removePoolEntry(poolText, name);
    return name;
}

std::optional<int> designatedSlotToApply(int ordinal, int tierLimit,
                                         const std::array<QString, kDesignatedSlots>& names)
{
    for (int slot = 1; slot <= kDesignatedSlots; ++slot) {
        if (qint64(ordinal) == qint64(tierLimit) - slot)
            return names[slot - 1].isEmpty() ? std::nullopt : std::optional<int>(slot);
    }
    return std::nullopt;
}

} // namespace pd

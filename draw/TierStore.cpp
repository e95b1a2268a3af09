#include "draw/TierStore.h"

namespace pd {

TierStore::TierStore(QObject* parent) : QObject(parent)
{
    for (int n = 1; n <= kTierCount; ++n) {
        m_tiers[n - 1].name = tierDesignName(n);
        m_tiers[n - 1].picturePath = tierDesignName(n);
    }
}

PrizeTier* TierStore::tierAt(int tier)
{
    return tier >= 1 && tier <= kTierCount ? &m_tiers[tier - 1] : nullptr;
}

const PrizeTier* TierStore::tierAt(int tier) const
{
    return tier >= 1 && tier <= kTierCount ? &m_tiers[tier - 1] : nullptr;
}

void TierStore::assign(QString& field, const QString& text)
{
    if (field == text)
        return;
    field = text;
    emit changed();
}

QString TierStore::name(int tier) const
{
    const PrizeTier* t = tierAt(tier);
    return t ? t->name : QString();
}

void TierStore::setName(int tier, const QString& text)
{
    if (PrizeTier* t = tierAt(tier))
        assign(t->name, text);
}

QString TierStore::winnerCount(int tier) const
{
    const PrizeTier* t = tierAt(tier);
    return t ? t->winnerCount : QString();
}

void TierStore::setWinnerCount(int tier, const QString& text)
{
    if (PrizeTier* t = tierAt(tier))
        assign(t->winnerCount, text);
}

QString TierStore::picturePath(int tier) const
{
    const PrizeTier* t = tierAt(tier);
    return t ? t->picturePath : QString();
}

void TierStore::setPicturePath(int tier, const QString& text)
{
    if (PrizeTier* t = tierAt(tier))
        assign(t->picturePath, text);
}

QString TierStore::designated(int tier, int slot) const
{
    const PrizeTier* t = tierAt(tier);
    if (!t || slot < 1 || slot > kDesignatedSlots)
        return {};
    return t->designated[slot - 1];
}

void TierStore::setDesignated(int tier, int slot, const QString& text)
{
    PrizeTier* t = tierAt(tier);
    if (t && slot >= 1 && slot <= kDesignatedSlots)
        assign(t->designated[slot - 1], text);
}

PrizeTier TierStore::tier(int tier) const
{
    const PrizeTier* t = tierAt(tier);
    return t ? *t : PrizeTier{};
}

void TierStore::setRollSpeed(const QString& text)
{
    assign(m_rollSpeed, text);
}

void TierStore::setPhotoWidth(const QString& text)
{
    assign(m_photoWidth, text);
}

void TierStore::setPhotoHeight(const QString& text)
{
    assign(m_photoHeight, text);
}

void TierStore::setAllowRepeats(bool on)
{
    if (m_allowRepeats == on)
        return;
    m_allowRepeats = on;
    emit changed();
}

void TierStore::setDisableEffects(bool on)
{
    if (m_disableEffects == on)
        return;
    m_disableEffects = on;
    emit changed();
    emit disableEffectsChanged(on);
}

} // namespace pd

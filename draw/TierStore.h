// The settings panel's fields: the only store of tier data during a run. The draw reads them
// at the moment of use, so an edit in the open panel counts at once, before it is saved.
// Widgets of the panel bind to this object; start-up fills it from the settings file.
#pragma once

#include "draw/PrizeTier.h"

#include <QObject>

namespace pd {

class TierStore final : public QObject
{
    Q_OBJECT
public:
    explicit TierStore(QObject* parent = nullptr);

    // Tiers are numbered 1..8 and slots 1..3; other numbers read as empty and set nothing.
    QString name(int tier) const;
    void setName(int tier, const QString& text);
    QString winnerCount(int tier) const;
    void setWinnerCount(int tier, const QString& text);
    QString picturePath(int tier) const;
    void setPicturePath(int tier, const QString& text);
    QString designated(int tier, int slot) const;
    void setDesignated(int tier, int slot, const QString& text);
    PrizeTier tier(int tier) const;

    QString rollSpeed() const { return m_rollSpeed; }
    void setRollSpeed(const QString& text);
    QString photoWidth() const { return m_photoWidth; }
    void setPhotoWidth(const QString& text);
    QString photoHeight() const { return m_photoHeight; }
    void setPhotoHeight(const QString& text);
    bool allowRepeats() const { return m_allowRepeats; }
    void setAllowRepeats(bool on);
    bool disableEffects() const { return m_disableEffects; }
    void setDisableEffects(bool on);

signals:
    // Any field took a new value.
    void changed();
    void disableEffectsChanged(bool disabled);

private:
    PrizeTier* tierAt(int tier);
    const PrizeTier* tierAt(int tier) const;
    void assign(QString& field, const QString& text);

    std::array<PrizeTier, kTierCount> m_tiers;
    QString m_rollSpeed = QStringLiteral("30");
    QString m_photoWidth = QStringLiteral("500");
    QString m_photoHeight = QStringLiteral("400");
    bool m_allowRepeats = false;
    bool m_disableEffects = false;
};

} // namespace pd

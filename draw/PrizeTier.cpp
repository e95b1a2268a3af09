#include "draw/PrizeTier.h"

namespace pd {

QString tierDesignName(int tier)
{
    static const std::array<const char16_t*, kTierCount> names{
        u"特等奖", u"一等奖", u"二等奖", u"三等奖", u"四等奖", u"五等奖", u"六等奖", u"七等奖"};
    if (tier < 1 || tier > kTierCount)
        return {};
    return QString::fromUtf16(names[tier - 1]);
}

} // namespace pd

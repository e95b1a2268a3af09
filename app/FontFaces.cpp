#include "app/FontFaces.h"

#include <QFontDatabase>
#include <QWidget>

#include <cmath>

namespace pd {

namespace {
const char* const kFaceProperty = "pdFaceName";

QString firstInstalled(std::initializer_list<const char*> candidates)
{
    const QStringList families = QFontDatabase::families();
    for (const char* c : candidates) {
        const QString name = QString::fromUtf8(c);
        if (families.contains(name, Qt::CaseInsensitive))
            return name;
    }
    return {};
}

QString anyCjkFamily()
{
    static const QString family = [] {
        const QString preferred = firstInstalled(
            {"WenQuanYi Micro Hei", "Noto Sans CJK SC", "Droid Sans Fallback", "AR PL UMing CN"});
        if (!preferred.isEmpty())
            return preferred;
        const QStringList cjk = QFontDatabase::families(QFontDatabase::SimplifiedChinese);
        return cjk.isEmpty() ? QString() : cjk.first();
    }();
    return family;
}
} // namespace

QString installedFamilyFor(const QString& faceName)
{
    QString mapped;
    // The titles are set in bold 宋体: the serif face must have a bold of its own, since a
    // face without one (AR PL UMing) is drawn thin on a projector however bold it is asked.
    if (faceName == u"宋体" || faceName == u"新宋体" ||
        faceName.compare(u"SimSun", Qt::CaseInsensitive) == 0)
        mapped = firstInstalled({"Noto Serif CJK SC", "AR PL UMing CN", "AR PL SungtiL GB"});
    else if (faceName == u"隶书" || faceName == u"楷体" ||
             faceName.compare(u"LiSu", Qt::CaseInsensitive) == 0)
        mapped = firstInstalled({"AR PL UKai CN", "AR PL KaitiM GB"});
    else if (faceName == u"幼圆" || faceName == u"黑体" || faceName == u"微软雅黑")
        mapped = firstInstalled({"Noto Sans CJK SC", "WenQuanYi Micro Hei"});
    else if (!faceName.isEmpty() && QFontDatabase::families().contains(faceName))
        mapped = faceName;
    return mapped.isEmpty() ? anyCjkFamily() : mapped;
}

QFont designFont(const QString& faceName, int heightPx, bool bold, double dpi)
{
    QFont font(installedFamilyFor(faceName));
    font.setPointSize(qMax(1, int(std::lround(heightPx * 72.0 / dpi))));
    font.setBold(bold);
    return font;
}

QString faceNameOf(const QWidget* widget)
{
    const QVariant v = widget->property(kFaceProperty);
    return v.isValid() ? v.toString() : widget->font().family();
}

int pointSizeOf(const QWidget* widget)
{
    const QVariant v = widget->property("pdPointSize");
    return v.isValid() ? v.toInt() : widget->font().pointSize();
}

void setLabelFont(QWidget* widget, const QString& faceName, int pointSize, bool bold, bool italic,
                  bool underline, bool strikeOut)
{
    QFont font(installedFamilyFor(faceName));
    // Qt refuses sizes below 1; the stored size is still what the operator chose.
    font.setPointSize(qMax(1, pointSize));
    font.setBold(bold);
    font.setItalic(italic);
    font.setUnderline(underline);
    font.setStrikeOut(strikeOut);
    widget->setFont(font);
    widget->setProperty(kFaceProperty, faceName);
    widget->setProperty("pdPointSize", pointSize);
}

} // namespace pd

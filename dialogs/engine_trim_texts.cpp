#include "dialogs/engine_trim_texts.h"

#include "colour/luminance_units.h"

#include <QCoreApplication>

#include <cstdlib>

namespace {

const char *const kContext = "kq_visual_trim_kqe_dialog";

QString tr(const char *text, const char *comment = nullptr)
{
    return QCoreApplication::translate(kContext, text, comment);
}

const char *const kLuminanceComment = "text for maximum luminance";

QString sign_of(int distance)
{
    return distance >= 0 ? QStringLiteral("+") : QStringLiteral("-");
}

} // namespace

QString luminance_scale::text(int value) const
{
    if (maximum <= 0 || minimum == maximum)
        return QString();
    if (candela)
        return tr("%L1 %2", kLuminanceComment).arg(value).arg(candela_unit_text());
    return tr("%L1%", kLuminanceComment).arg(percent(value), 0, 'f', 1);
}

double luminance_scale::percent(int value) const
{
    return maximum == minimum ? 0.0 : (value - minimum) * 100.0 / (maximum - minimum);
}

warning_text reduced_uniformity_warning(const luminance_scale &scale, int limit, int luminance)
{
    if (limit == 0 || limit >= luminance)
        return {};
    return {tr("<img src=\":/images/Resources/alerts_yellow_icon_20.png\">&nbsp;Reduced Uniformity correction",
               kLuminanceComment),
            tr("<html>The level of Uniformity correction was reduced from the selected level to achieve the current "
               "Luminance setting value. Lower the Luminance setting to below %1 for the current Uniformity "
               "correction level to be fully applied.",
               kLuminanceComment)
                .arg(scale.text(limit))};
}

warning_text luminance_warning(const luminance_scale &scale, int held, int luminance, int limit)
{
    if (held + 5 < luminance) {
        const QString icon = QStringLiteral("<img src=\":/images/Resources/alerts_yellow_icon_20.png\">&nbsp;");
        const QString maximum = scale.candela ? tr("%L1 %2 maximum", kLuminanceComment).arg(held).arg(candela_unit_text())
                                              : tr("%L1% maximum", kLuminanceComment).arg(scale.percent(held), 0, 'f', 1);
        return {icon + maximum,
                tr("<html>The backlight is currently at maximum output and cannot reach the selected Luminance "
                   "value. The maximum value will depend on the white point setting and other factors.",
                   kLuminanceComment)};
    }
    return reduced_uniformity_warning(scale, limit, luminance);
}

QString uniformity_level_text(int level)
{
    return level == 0 ? tr("Off") : QString::number(level);
}

QString corner_offset_text(const CornerUniformityEntry &entry)
{
    if (entry.first_span == 0)
        return QStringLiteral("-");
    if (entry.first_offset == entry.first_span / 2 && entry.second_offset == entry.second_span / 2)
        return tr("Offset: None");
    const int first = entry.first_offset - entry.first_span / 2;
    const int second = entry.second_offset - entry.second_span / 2;
    return tr("Offset: x=%1%2 y=%3%4").arg(sign_of(first)).arg(std::abs(first)).arg(sign_of(second)).arg(std::abs(second));
}

QStringList corner_names(bool portrait)
{
    if (portrait)
        return {tr("Top-Right"), tr("Bottom-Right"), tr("Top-Left"), tr("Bottom-Left")};
    return {tr("Top-Left"), tr("Top-Right"), tr("Bottom-Left"), tr("Bottom-Right")};
}

#include "app/window/icc_profile_command.h"

#include "app/controller/display_layout_item.h"
#include "app/services/string_resource.h"
#include "colour/CAdjustValue.h"
#include "colour/CTargetValue.h"

namespace {

constexpr int kIccExtensionId = 17; // ".icm"
constexpr double kDefaultGamma = 2.2;

QString display_name(const display_layout_item &item)
{
    return item.model_name + QLatin1Char(' ') + item.serial_number;
}

} // namespace

QString proposed_icc_profile_path(const QString &folder, const display_layout_item &item)
{
    return folder + QLatin1Char('/') + display_name(item) + string_resource(kIccExtensionId);
}

QString icc_profile_path(const QString &chosen)
{
    if (chosen.endsWith(QLatin1String(".icc"), Qt::CaseInsensitive)
        || chosen.endsWith(QLatin1String(".icm"), Qt::CaseInsensitive))
        return chosen;
    return chosen + string_resource(kIccExtensionId);
}

IccDisplayProfileRequest icc_profile_request(const QString &path, const display_layout_item &item,
                                             const CAdjustValue &record, const CTargetValue &target)
{
    IccDisplayProfileRequest request;
    request.file_path = path;
    request.description = display_name(item);
    const CColorValue &measured = record.measurements;
    request.white_xy = measured.corrected.white.ToCIExy();
    request.luminance = measured.corrected.white.Y;
    request.red_xy = measured.uncorrected.red.ToCIExy();
    request.green_xy = measured.uncorrected.green.ToCIExy();
    request.blue_xy = measured.uncorrected.blue.ToCIExy();
    request.model_id = 0;
    switch (target.GetGammaType()) {
    case CTargetValue::kGammaPower:
        request.gamma = target.GetGamma();
        break;
    case CTargetValue::kGammaCurve:
        request.red_curve = request.green_curve = request.blue_curve = target.GetCurve();
        request.use_curves = true;
        break;
    default:
        request.gamma = kDefaultGamma;
        break;
    }
    return request;
}

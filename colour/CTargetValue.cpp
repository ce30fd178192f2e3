#include "colour/CTargetValue.h"

#include "colour/luminance_units.h"
#include "colour/stream_record.h"

namespace {

struct TextRow
{
    int value;
    const char *text;
    const char *plainText; // nullptr: same as text
};

// Fixed gamma texts by gamma type; the power gamma and the curve names are built apart.
constexpr TextRow kGammaTypeTexts[] = {
    {CTargetValue::kGammaNative, QT_TRANSLATE_NOOP("CTargetValue", "Native"), nullptr},
    {CTargetValue::kGammaDicom, QT_TRANSLATE_NOOP("CTargetValue", "DICOM"), nullptr},
    {CTargetValue::kGammaBt1886, QT_TRANSLATE_NOOP("CTargetValue", "BT.1886"), nullptr},
};

constexpr TextRow kCurveSelectionTexts[] = {
    {CTargetValue::kCurveNone, QT_TRANSLATE_NOOP("CTargetValue", "None"), nullptr},
    {CTargetValue::kCurveSrgb, QT_TRANSLATE_NOOP("CTargetValue", "sRGB"), nullptr},
    {CTargetValue::kCurveNtscSmpte170m, QT_TRANSLATE_NOOP("CTargetValue", "NTSC/SMPTE-170M"),
     QT_TRANSLATE_NOOP("CTargetValue", "NTSC SMPTE-170M")},
    {CTargetValue::kCurveSmpte240m, QT_TRANSLATE_NOOP("CTargetValue", "SMPTE-240M"), nullptr},
    {CTargetValue::kCurveLstar, QT_TRANSLATE_NOOP("CTargetValue", "L*"),
     QT_TRANSLATE_NOOP("CTargetValue", "Lstar")},
    {CTargetValue::kCurveCustom, QT_TRANSLATE_NOOP("CTargetValue", "Custom Curve"), nullptr},
};

template <size_t N>
const TextRow *find_row(const TextRow (&rows)[N], int value)
{
    for (const TextRow &row : rows) {
        if (row.value == value)
            return &row;
    }
    return nullptr;
}

bool valid_channel(int channel)
{
    return channel >= CTargetValue::kRed && channel <= CTargetValue::kBlue;
}

} // namespace

CTargetValue::CTargetValue()
    : m_name(QStringLiteral("blank"))
{
    m_curve.Init(CSpline::kCatmullRom, 256, 0.0, 1.0);
    m_curve.SetValid(true);
}

CTargetValue::CTargetValue(const CTargetValue &other)
{
    *this = other;
}

CTargetValue &CTargetValue::operator=(const CTargetValue &other)
{
    if (this == &other)
        return *this;
    AssignAllButCurve(other);
    m_curve = other.m_curve;
    return *this;
}

void CTargetValue::AssignAllButCurve(const CTargetValue &other)
{
    m_contrastRatio = other.m_contrastRatio;
    m_whitePoint = other.m_whitePoint;
    m_specifiedLuminance = other.m_specifiedLuminance;
    m_valueA = other.m_valueA;
    m_gamma = other.m_gamma;
    m_dicomScalingFactor = other.m_dicomScalingFactor;
    m_dicomScaling = other.m_dicomScaling;
    m_flagB = other.m_flagB;
    m_intensityMode = other.m_intensityMode;
    m_valueC = other.m_valueC;
    m_valueD = other.m_valueD;
    m_gammaType = other.m_gammaType;
    m_name = other.m_name;
    m_curveSelection = other.m_curveSelection;
    m_gamutKind = other.m_gamutKind;
    for (int channel = kRed; channel <= kBlue; ++channel)
        m_primaries[channel] = other.m_primaries[channel];
    m_valueE = other.m_valueE;
    m_valueF = other.m_valueF;
    m_maxMatchingLuminance = other.m_maxMatchingLuminance;
    m_valueG = other.m_valueG;
}

bool CTargetValue::IntensityDiffers(const CTargetValue &other) const
{
    if (m_intensityMode != other.m_intensityMode)
        return true;
    if (m_intensityMode == kIntensitySpecified)
        return m_specifiedLuminance != other.m_specifiedLuminance;
    if (m_intensityMode == kIntensityMaximumMatching)
        return m_maxMatchingLuminance != other.m_maxMatchingLuminance || m_valueD != other.m_valueD;
    return false;
}

bool CTargetValue::GamutDiffers(const CTargetValue &other) const
{
    if (m_gamutKind != kGamutCustomPrimaries)
        return m_gamutKind != other.m_gamutKind;
    for (int channel = kRed; channel <= kBlue; ++channel) {
        if (m_primaries[channel].DiffersFrom(other.m_primaries[channel]))
            return true;
    }
    return false;
}

bool CTargetValue::operator!=(const CTargetValue &other) const
{
    if (m_whitePoint != other.m_whitePoint || IntensityDiffers(other))
        return true;
    if (m_gammaType != other.m_gammaType)
        return true;
    if (m_gammaType == kGammaPower && m_gamma != other.m_gamma)
        return true;
    if (m_gammaType == kGammaDicom
        && (m_dicomScaling != other.m_dicomScaling
            || (m_dicomScaling && m_dicomScalingFactor != other.m_dicomScalingFactor)))
        return true;
    if (m_gammaType == kGammaCurve
        && (m_curveSelection != other.m_curveSelection || m_curve != other.m_curve))
        return true;
    if (m_gammaType != kGammaNative && m_contrastRatio != other.m_contrastRatio)
        return true;
    return GamutDiffers(other);
}

bool CTargetValue::MatchesExceptCurve(const CTargetValue &other) const
{
    return m_whitePoint == other.m_whitePoint && !IntensityDiffers(other) && !GamutDiffers(other)
        && (m_gammaType == kGammaNative) == (other.m_gammaType == kGammaNative);
}

double CTargetValue::GetIntensity() const
{
    return m_intensityMode == kIntensityMaximumMatching ? m_maxMatchingLuminance
                                                        : m_specifiedLuminance;
}

void CTargetValue::SetIntensity(double luminance)
{
    if (m_intensityMode == kIntensityMaximumMatching)
        m_maxMatchingLuminance = luminance;
    else
        m_specifiedLuminance = luminance;
}

QString CTargetValue::GetContrastRatioText() const
{
    if (m_contrastRatio == 0 || m_gammaType == kGammaNative)
        return tr("Monitor Default", "native contrast ratio text");
    return QStringLiteral("%L1:1").arg(m_contrastRatio);
}

QString CTargetValue::CurveSelectionText(bool plain) const
{
    const TextRow *row = find_row(kCurveSelectionTexts, m_curveSelection);
    if (!row)
        return QString();
    return tr(plain && row->plainText ? row->plainText : row->text);
}

QString CTargetValue::GetGammaText(bool plain) const
{
    if (m_gammaType == kGammaPower)
        return QStringLiteral("%L1").arg(m_gamma, 0, 'f', 2);
    if (m_gammaType == kGammaCurve)
        return CurveSelectionText(plain);
    const TextRow *row = find_row(kGammaTypeTexts, m_gammaType);
    return row ? tr(row->text) : QString();
}

QString CTargetValue::GetIntensityText(bool withUnit) const
{
    switch (m_intensityMode) {
    case kIntensityMaximumPossible:
        return tr("Maximum Possible", "target intensity maximum");
    case kIntensityMaximumMatching:
        if (m_maxMatchingLuminance > 0.0)
            return tr("%1 (Maximum Matching)", "target intensity Maximum Matching")
                .arg(to_display_luminance_text(m_maxMatchingLuminance, 1, withUnit));
        return tr("- (Maximum Matching)", "target intensity Maximum Matching currently invalid");
    case kIntensitySpecified:
        return to_display_luminance_text(m_specifiedLuminance, 1, withUnit);
    default:
        return QString();
    }
}

QString CTargetValue::GetWhitePointText() const
{
    return m_whitePoint.ToString();
}

CCIEXYZ CTargetValue::GetCustomPrimary(int channel) const
{
    return valid_channel(channel) ? m_primaries[channel] : CCIEXYZ();
}

void CTargetValue::SetCustomPrimary(int channel, const CCIEXYZ &primary)
{
    if (valid_channel(channel))
        m_primaries[channel] = primary;
}

void CTargetValue::SetName(const QString &name)
{
    m_name = name.isNull() ? QStringLiteral("") : name;
}

int CTargetValue::Read(QDataStream &stream)
{
    int code = stream_record::read_header(stream, kMagic, kVersion, kVersion);
    if (code != stream_record::kOk)
        return code;
    CTargetValue value(*this);
    CSpline curve;
    if ((code = value.m_whitePoint.Read(stream)) != stream_record::kOk)
        return code;
    stream >> value.m_specifiedLuminance >> value.m_valueA >> value.m_gamma >> value.m_intensityMode
        >> value.m_valueC >> value.m_valueD >> value.m_gammaType;
    const bool hasCurve = value.m_gammaType == kGammaCurve;
    if (hasCurve) {
        stream >> value.m_curveSelection;
        if ((code = curve.Read(stream)) != stream_record::kOk)
            return code;
    }
    QString name;
    stream >> value.m_dicomScalingFactor >> value.m_dicomScaling >> value.m_flagB >> name
        >> value.m_contrastRatio >> value.m_gamutKind;
    for (int channel = kRed; channel <= kBlue; ++channel) {
        if ((code = value.m_primaries[channel].Read(stream)) != stream_record::kOk)
            return code;
    }
    stream >> value.m_valueE >> value.m_valueF >> value.m_maxMatchingLuminance >> value.m_valueG;
    if ((code = stream_record::read_status(stream)) != stream_record::kOk)
        return code;
    value.SetName(name);
    AssignAllButCurve(value);
    // Swapped rather than assigned, so that the kind stays as stored.
    if (hasCurve)
        m_curve.swap(curve);
    return stream_record::kOk;
}

int CTargetValue::Write(QDataStream &stream) const
{
    int code = stream_record::write_header(stream, kMagic, kVersion);
    if (code != stream_record::kOk)
        return code;
    if ((code = m_whitePoint.Write(stream)) != stream_record::kOk)
        return code;
    stream << m_specifiedLuminance << m_valueA << m_gamma << m_intensityMode << m_valueC << m_valueD
           << m_gammaType;
    if (m_gammaType == kGammaCurve) {
        stream << m_curveSelection;
        if ((code = m_curve.Write(stream)) != stream_record::kOk)
            return code;
    }
    stream << m_dicomScalingFactor << m_dicomScaling << m_flagB << m_name << m_contrastRatio
           << m_gamutKind;
    for (const CCIEXYZ &primary : m_primaries) {
        if ((code = primary.Write(stream)) != stream_record::kOk)
            return code;
    }
    stream << m_valueE << m_valueF << m_maxMatchingLuminance << m_valueG;
    return stream_record::write_status(stream);
}

#include "colour/CColorValue.h"

#include "colour/CTargetValue.h"
#include "colour/CXYZ2RGBTransform.h"
#include "colour/stream_record.h"

#include <algorithm>
#include <cmath>

namespace {

// Greyscale entries darker than this keep their luminance but take the
// chromaticity of the first brighter entry: sensors are noisy near black.
constexpr double kDarkLuminance = 3.0;
// Far more grey steps than any calibration measures; bounds damaged counts.
constexpr qint32 kMaxGreyscaleEntries = 65536;
constexpr qint64 kXYZStreamBytes = 24;

using RGB = std::array<double, 3>;

RGB to_rgb(const CXYZ2RGBTransform &transform, const CCIEXYZ &xyz)
{
    const RGBTriple rgb = transform.XYZToRGB(xyz);
    return {rgb.R, rgb.G, rgb.B};
}

bool all_finite(const RGB &rgb)
{
    return std::all_of(rgb.begin(), rgb.end(), [](double v) { return std::isfinite(v); });
}

// The greyscale in drive levels, with the bottom each channel is measured
// from and the range up to its top.
struct ChannelLevels
{
    QVector<RGB> rgb;
    RGB bottom{};
    RGB range{};
};

// False when the levels cannot give curves: a single level has no spacing, a
// channel whose top does not rise above its bottom has no range, and values
// that are not finite would spread into every curve.
bool measure_channel_levels(const CXYZ2RGBTransform &transform,
                            const QVector<CCIEXYZ> &greyscale, bool commonBlack,
                            ChannelLevels &levels)
{
    for (const CCIEXYZ &entry : greyscale)
        levels.rgb.append(to_rgb(transform, entry));
    levels.bottom = levels.rgb.first();
    if (commonBlack) {
        const RGB &b = levels.bottom;
        levels.bottom.fill(std::max({0.0, b[0], b[1], b[2]}));
    }
    bool usable = levels.rgb.size() >= 2;
    for (int c = 0; c < 3; ++c) {
        levels.range[c] = levels.rgb.last()[c] - levels.bottom[c];
        usable = usable && std::isfinite(levels.range[c]) && levels.range[c] > 0.0;
    }
    return usable && std::all_of(levels.rgb.cbegin(), levels.rgb.cend(), all_finite);
}

void replace_dark_chromaticities(QVector<CCIEXYZ> &greyscale)
{
    auto reference = std::find_if(greyscale.cbegin(), greyscale.cend(),
                                  [](const CCIEXYZ &e) { return e.Y > kDarkLuminance; });
    if (reference == greyscale.cend())
        reference = greyscale.cend() - 1;
    const CCIEYxy chromaticity = reference->ToYxy();
    for (CCIEXYZ &entry : greyscale) {
        if (entry.Y < kDarkLuminance)
            entry = CCIEYxy(entry.Y, chromaticity.x, chromaticity.y).ToXYZ();
    }
}

// Reads or writes every part that follows the header, in stream order, and
// stops at the first failing part.
template <class IO, class Value>
int transfer_parts(IO &io, Value &value)
{
    int result = 0;
    const auto part = [&](auto &field) {
        if (result == 0)
            result = io.part(field);
    };
    part(value.corrected);
    part(value.corrected_greyscale);
    part(value.uncorrected_greyscale);
    part(value.uncorrected);
    part(value.native);
    part(value.measurement_date_time);
    for (auto *group : {&value.response_curves, &value.inverse_response_curves,
                        &value.further_curves, &value.correction_curves}) {
        for (auto &curve : *group)
            part(curve);
    }
    part(value.adjusted_white);
    part(value.adjusted_black);
    part(value.further_value);
    part(value.target_curve);
    return result;
}

struct PartWriter
{
    QDataStream &stream;

    template <class Record>
    int part(const Record &record) { return record.Write(stream); }

    int part(const QVector<CCIEXYZ> &greyscale)
    {
        stream << qint32(greyscale.size());
        int result = stream_record::write_status(stream);
        for (int i = 0; result == 0 && i < greyscale.size(); ++i)
            result = greyscale[i].Write(stream);
        return result;
    }

    int part(const QDateTime &dateTime)
    {
        stream << dateTime;
        return stream_record::write_status(stream);
    }
};

struct PartReader
{
    QDataStream &stream;

    template <class Record>
    int part(Record &record) { return record.Read(stream); }

    int part(QVector<CCIEXYZ> &greyscale)
    {
        greyscale.clear();
        qint32 count = 0;
        if (!stream_record::read_count(stream, &count, kMaxGreyscaleEntries, kXYZStreamBytes))
            return stream_record::kErrRead;
        for (qint32 i = 0; i < count; ++i) {
            CCIEXYZ entry;
            if (const int result = entry.Read(stream))
                return result;
            greyscale.append(entry);
        }
        return 0;
    }

    int part(QDateTime &dateTime)
    {
        stream >> dateTime;
        return stream_record::read_status(stream);
    }
};

template <class Patches, class Op>
int each_patch(Patches &patches, Op op)
{
    for (auto *value : {&patches.red, &patches.green, &patches.blue, &patches.white,
                        &patches.black}) {
        if (const int result = op(*value))
            return result;
    }
    return 0;
}

} // namespace

int CColorValue::Patches::Read(QDataStream &stream)
{
    return each_patch(*this, [&](CCIEXYZ &value) { return value.Read(stream); });
}

int CColorValue::Patches::Write(QDataStream &stream) const
{
    return each_patch(*this, [&](const CCIEXYZ &value) { return value.Write(stream); });
}

CColorValue &CColorValue::operator=(const CColorValue &other)
{
    if (this == &other)
        return *this;
    native = other.native;
    measurement_date_time = other.measurement_date_time;
    uncorrected = other.uncorrected;
    corrected = other.corrected;
    corrected_greyscale = other.corrected_greyscale;
    uncorrected_greyscale = other.uncorrected_greyscale;
    for (int c = 0; c < kChannelCount; ++c) {
        response_curves[c] = other.response_curves[c];
        inverse_response_curves[c] = other.inverse_response_curves[c];
        further_curves[c] = other.further_curves[c];
        correction_curves[c] = other.correction_curves[c];
    }
    target_curve = other.target_curve;
    adjusted_white = other.adjusted_white;
    adjusted_black = other.adjusted_black;
    further_value = other.further_value;
    further_integer_b = other.further_integer_b;
    return *this;
}

void CColorValue::SetMeasuredCurvesValid(bool valid)
{
    for (int c = 0; c < kChannelCount; ++c) {
        response_curves[c].SetValid(valid);
        inverse_response_curves[c].SetValid(valid);
    }
}

int CColorValue::BuildMeasuredChannelCurves(bool commonBlack)
{
    const int n = uncorrected_greyscale.size();
    if (n < 1)
        return kErrGreyscaleUnusable;

    CXYZ2RGBTransform transform;
    if (const int result = transform.SetPrimaries(uncorrected.red, uncorrected.green,
                                                  uncorrected.blue))
        return result;

    replace_dark_chromaticities(uncorrected_greyscale);

    ChannelLevels levels;
    if (!measure_channel_levels(transform, uncorrected_greyscale, commonBlack, levels)) {
        SetMeasuredCurvesValid(false);
        return kErrGreyscaleUnusable;
    }
    for (int c = 0; c < kChannelCount; ++c) {
        response_curves[c].Init(CSpline::kCatmullRom, n, 0.0, 1.0);
        inverse_response_curves[c].Init(CSpline::kCatmullRom, n, 0.0, 1.0);
    }
    for (int i = 0; i < n; ++i) {
        const double drive = double(i) / (n - 1);
        for (int c = 0; c < kChannelCount; ++c) {
            const double output = (levels.rgb[i][c] - levels.bottom[c]) / levels.range[c];
            response_curves[c].SetPoint(i, drive, output);
            inverse_response_curves[c].SetPoint(i, output, drive);
        }
    }
    SetMeasuredCurvesValid(true);
    return 0;
}

int CColorValue::BuildCorrectionCurves(const CTargetValue &target)
{
    for (CSpline &curve : correction_curves)
        curve.SetValid(false);
    const int n = inverse_response_curves[kRed].GetSize();
    const bool present = std::all_of(inverse_response_curves.cbegin(),
                                     inverse_response_curves.cend(),
                                     [](const CSpline &c) { return c.IsValid(); });
    // Fewer than two points give no spacing for the correction's inputs.
    if (!present || n < 2)
        return kErrCurveMissing;

    // Lift the target's black to the fraction white / N of the uncorrected
    // white; a display already darker than that needs no lift.
    double lift = 0.0;
    const quint32 ratio = target.GetContrastRatio();
    if (target.GetGammaType() != CTargetValue::kGammaNative && ratio != 0) {
        const double white = uncorrected.white.Y;
        const double black = uncorrected.black.Y;
        const double targetBlack = white / ratio;
        if (black < targetBlack && white > black)
            lift = (targetBlack - black) / (white - black);
    }

    for (CSpline &curve : correction_curves)
        curve.Init(CSpline::kCatmullRom, n, 0.0, 1.0);
    for (int i = 0; i < n; ++i) {
        const double x = double(i) / (n - 1);
        const double wanted = target_curve.Evaluate(x) * (1.0 - lift) + lift;
        for (int c = 0; c < kChannelCount; ++c)
            correction_curves[c].SetPoint(i, x, inverse_response_curves[c].Evaluate(wanted));
    }
    for (CSpline &curve : correction_curves)
        curve.SetValid(true);
    return 0;
}

int CColorValue::Write(QDataStream &stream) const
{
    if (const int result = stream_record::write_header(stream, kMagic, kVersion))
        return result;
    PartWriter writer{stream};
    return transfer_parts(writer, *this);
}

int CColorValue::Read(QDataStream &stream)
{
    if (const int result = stream_record::read_header(stream, kMagic, kVersion, kVersion))
        return result;
    PartReader reader{stream};
    return transfer_parts(reader, *this);
}

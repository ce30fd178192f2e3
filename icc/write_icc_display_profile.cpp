#include "icc/write_icc_display_profile.h"

#include "app/services/string_resource.h"
#include "icc/chromatic_adaptation.h"
#include "icc/icc_encoding.h"
#include "icc/icc_profile_file.h"
#include "icc/icc_tag_curve.h"
#include "icc/icc_tag_fixed_num.h"
#include "icc/icc_tag_mmod.h"
#include "icc/icc_tag_text.h"
#include "icc/icc_tag_text_description.h"
#include "icc/icc_tag_vcgt.h"
#include "icc/icc_tag_xyz.h"

#include <array>
#include <cmath>
#include <vector>

namespace {

using icc_encoding::signature;

constexpr int kCurveEntries = 256;
constexpr int kVcgtChannels = 3;
constexpr int kVcgtEntries = 256;
const CCIEXYZ kD50(0.964188, 1.0, 0.82489);

// Everything the tags hold, computed before the profile is touched.
struct ProfileContent
{
    QString description;
    QString copyright;
    std::array<CCIEXYZ, 3> primaries; // red, green, blue, adapted to D50
    std::vector<double> adaptation;   // A, row by row
    double luminance = 0.0;
    std::array<std::vector<double>, 3> curves;
    uint32_t modelId = 0;

    // In single precision, as the tags keep them: a pathological white can
    // make the adaptation infinite or NaN, which must not pass as a profile.
    bool IsFinite() const
    {
        std::vector<double> numbers = adaptation;
        for (const CCIEXYZ &p : primaries)
            numbers.insert(numbers.end(), {p.X, p.Y, p.Z});
        for (const std::vector<double> &curve : curves)
            numbers.insert(numbers.end(), curve.begin(), curve.end());
        if (luminance > 0.0)
            numbers.push_back(luminance);
        for (const double number : numbers) {
            if (!std::isfinite(float(number)))
                return false;
        }
        return true;
    }
};

std::vector<double> sampled_curve(const CSpline &curve)
{
    std::vector<double> entries(kCurveEntries);
    for (int i = 0; i < kCurveEntries; ++i)
        entries[i] = curve.Evaluate(double(i) / (kCurveEntries - 1));
    return entries;
}

ProfileContent content_of(const IccDisplayProfileRequest &request)
{
    ProfileContent content;
    content.description = request.description;
    content.copyright = request.copyright.isEmpty() ? string_resource(string_id::kIccProfileCopyrightText) : request.copyright;

    CChromaticAdaptation adaptation;
    adaptation.SetSourceWhite(CCIEXYZ(request.white_xy));
    adaptation.AdaptPrimaries(request.red_xy.x, request.red_xy.y, request.green_xy.x, request.green_xy.y,
                              request.blue_xy.x, request.blue_xy.y, content.primaries[0], content.primaries[1],
                              content.primaries[2]);
    content.adaptation.resize(9);
    adaptation.GetMatrix(content.adaptation.data());

    content.luminance = request.luminance;
    const CSpline *const curves[3] = {&request.red_curve, &request.green_curve, &request.blue_curve};
    for (int channel = 0; channel < 3; ++channel) {
        content.curves[channel] =
            request.use_curves ? sampled_curve(*curves[channel]) : std::vector<double>{request.gamma};
    }
    content.modelId = request.model_id;
    return content;
}

void fill_header(CIccProfile &profile, const QDateTime &dateTime, bool adobeCmm)
{
    profile.InitHeader();
    CIccProfileHeader &header = profile.m_Header;
    const QDate date = dateTime.date();
    const QTime time = dateTime.time();
    header.date = {uint16_t(date.year()), uint16_t(date.month()), uint16_t(date.day()),
                   uint16_t(time.hour()), uint16_t(time.minute()), uint16_t(time.second())};
    header.cmmId = adobeCmm ? signature("ADBE") : signature("MSFT");
    header.deviceClass = signature("mntr");
    header.colorSpace = signature("RGB ");
    header.pcs = signature("XYZ ");
    header.platform = signature("MSFT");
    header.attributes = 1; // transparency
    header.creator = signature("VRKd");
}

CIccTag *xyz_tag(const CCIEXYZ &value)
{
    auto *tag = new CIccTagXYZ;
    tag->SetXYZ(value.X, value.Y, value.Z);
    return tag;
}

CIccTag *curve_tag(const std::vector<double> &entries)
{
    auto *tag = new CIccTagCurve;
    tag->SetEntries(entries);
    return tag;
}

CIccTag *description_tag(const ProfileContent &content)
{
    auto *tag = new CIccTagTextDescription;
    tag->SetText(content.description);
    return tag;
}

CIccTag *copyright_tag(const ProfileContent &content)
{
    auto *tag = new CIccTagText;
    tag->SetText(content.copyright);
    return tag;
}

CIccTag *adaptation_tag(const ProfileContent &content)
{
    auto *tag = new CIccTagFixedNum;
    tag->SetValues(content.adaptation);
    return tag;
}

CIccTag *luminance_tag(const ProfileContent &content)
{
    return content.luminance > 0.0 ? xyz_tag(CCIEXYZ(0.0, content.luminance, 0.0)) : nullptr;
}

// The graphics card's table is left as it is: an identity ramp.
CIccTag *video_card_gamma_tag(const ProfileContent &)
{
    std::vector<uint8_t> ramp(kVcgtChannels * kVcgtEntries);
    for (size_t k = 0; k < ramp.size(); ++k)
        ramp[k] = uint8_t(k % kVcgtEntries);
    auto *tag = new CIccTagvcgt;
    tag->SetTable(kVcgtChannels, kVcgtEntries, 1, ramp.data());
    return tag;
}

// The manufacturer code is stored with its two bytes exchanged.
CIccTag *make_and_model_tag(const ProfileContent &content)
{
    if (content.modelId == 0)
        return nullptr;
    const uint32_t manufacturer = ((content.modelId >> 16) & 0xFF) << 8 | (content.modelId >> 24);
    auto *tag = new CIccTagmmod;
    tag->SetValues(manufacturer, content.modelId & 0xFFFF, 0, 0, 0, 0, 0, 0);
    return tag;
}

struct TagRow
{
    uint32_t signature;
    CIccTag *(*make)(const ProfileContent &); // null: the tag is left out
};

// The tags in the order of the tag table and of the tag data.
const TagRow kTagRows[] = {
    {signature("desc"), description_tag},
    {signature("cprt"), copyright_tag},
    {signature("rXYZ"), [](const ProfileContent &c) { return xyz_tag(c.primaries[0]); }},
    {signature("gXYZ"), [](const ProfileContent &c) { return xyz_tag(c.primaries[1]); }},
    {signature("bXYZ"), [](const ProfileContent &c) { return xyz_tag(c.primaries[2]); }},
    {signature("chad"), adaptation_tag},
    {signature("wtpt"), [](const ProfileContent &) { return xyz_tag(kD50); }},
    {signature("lumi"), luminance_tag},
    {signature("rTRC"), [](const ProfileContent &c) { return curve_tag(c.curves[0]); }},
    {signature("gTRC"), [](const ProfileContent &c) { return curve_tag(c.curves[1]); }},
    {signature("bTRC"), [](const ProfileContent &c) { return curve_tag(c.curves[2]); }},
    {signature("vcgt"), video_card_gamma_tag},
    {signature("mmod"), make_and_model_tag},
};

bool attach_tags(CIccProfile &profile, const ProfileContent &content)
{
    for (const TagRow &row : kTagRows) {
        CIccTag *tag = row.make(content);
        if (tag && !profile.AttachTag(row.signature, tag)) {
            delete tag;
            return false;
        }
    }
    return true;
}

} // namespace

int write_icc_display_profile(CIccProfile &profile, IccDisplayProfileRequest request, bool adobe_cmm)
{
    if (request.file_path.isEmpty() || request.description.isEmpty())
        return kIccProfileEmptyRequest;
    if (!request.date_time.isValid())
        request.date_time = QDateTime::currentDateTime();
    const ProfileContent content = content_of(request);
    if (!content.IsFinite())
        return kIccProfileWriteFailed;
    fill_header(profile, request.date_time, adobe_cmm);
    if (!attach_tags(profile, content))
        return kIccProfileWriteFailed;
    return icc_profile_file::write(profile, request.file_path);
}

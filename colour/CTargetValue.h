#pragma once

#include "colour/CColorTemperature.h"
#include "colour/CSpline.h"
#include "colour/colour_values.h"

#include <QCoreApplication>
#include <QString>

// The calibration target every display of the wall is brought to: white point,
// intensity, tone curve, contrast ratio and gamut, with a name.
class CTargetValue
{
    Q_DECLARE_TR_FUNCTIONS(CTargetValue)

public:
    static constexpr quint32 kMagic = 0x20746774; // " tgt"
    static constexpr qint32 kVersion = 103;

    enum IntensityMode {
        kIntensityMaximumPossible = 1,
        kIntensityMaximumMatching = 2,
        kIntensitySpecified = 3,
    };
    enum GammaType {
        kGammaNative = 1,
        kGammaPower = 2,
        kGammaDicom = 3,
        kGammaCurve = 4,
        kGammaBt1886 = 5,
    };
    enum CurveSelection {
        kCurveNone = 0,
        kCurveSrgb = 1,
        kCurveNtscSmpte170m = 2,
        kCurveSmpte240m = 3,
        kCurveLstar = 4,
        kCurveCustom = 5,
    };
    enum Primary { kRed = 0, kGreen = 1, kBlue = 2 };
    static constexpr int kGamutCustomPrimaries = 9;

    CTargetValue();
    CTargetValue(const CTargetValue &other);
    CTargetValue &operator=(const CTargetValue &other);
    virtual ~CTargetValue() = default;

    // Compares only what matters for the current settings of this target; the
    // custom gamut test is one-sided (CCIEXYZ::DiffersFrom), so a != b need not
    // equal b != a.
    bool operator!=(const CTargetValue &other) const;
    // Same white, intensity and gamut, and both or neither of native gamma.
    bool MatchesExceptCurve(const CTargetValue &other) const;

    // The maximum-matching luminance in mode 2, else the specified luminance.
    double GetIntensity() const;
    void SetIntensity(double luminance);

    QString GetContrastRatioText() const;
    // |plain| gives file-name-safe curve names ("NTSC SMPTE-170M", "Lstar").
    QString GetGammaText(bool plain) const;
    // Luminances as to_display_luminance_text shows them, with the unit when asked.
    QString GetIntensityText(bool withUnit) const;
    QString GetWhitePointText() const;

    CColorTemperature GetWhitePoint() const { return m_whitePoint; }
    void SetWhitePoint(CColorTemperature whitePoint) { m_whitePoint = whitePoint; }
    CSpline GetCurve() const { return m_curve; }
    void SetCurve(const CSpline &curve) { m_curve = curve; }

    quint32 GetContrastRatio() const { return m_contrastRatio; }
    void SetContrastRatio(quint32 ratio) { m_contrastRatio = ratio; }
    double GetSpecifiedLuminance() const { return m_specifiedLuminance; }
    void SetSpecifiedLuminance(double luminance) { m_specifiedLuminance = luminance; }
    double GetMaxMatchingLuminance() const { return m_maxMatchingLuminance; }
    void SetMaxMatchingLuminance(double luminance) { m_maxMatchingLuminance = luminance; }
    int GetIntensityMode() const { return m_intensityMode; }
    void SetIntensityMode(int mode) { m_intensityMode = mode; }
    int GetGammaType() const { return m_gammaType; }
    void SetGammaType(int type) { m_gammaType = type; }
    double GetGamma() const { return m_gamma; }
    void SetGamma(double gamma) { m_gamma = gamma; }
    double GetDicomScalingFactor() const { return m_dicomScalingFactor; }
    void SetDicomScalingFactor(double factor) { m_dicomScalingFactor = factor; }
    bool GetDicomScalingFlag() const { return m_dicomScaling; }
    void SetDicomScalingFlag(bool enabled) { m_dicomScaling = enabled; }
    int GetCurveSelection() const { return m_curveSelection; }
    void SetCurveSelection(int selection) { m_curveSelection = selection; }
    int GetGamutKind() const { return m_gamutKind; }
    void SetGamutKind(int kind) { m_gamutKind = kind; }
    // Channels outside red..blue read as black and are not stored.
    CCIEXYZ GetCustomPrimary(int channel) const;
    void SetCustomPrimary(int channel, const CCIEXYZ &primary);
    // Never null: a null name is held as the empty string.
    QString GetName() const { return m_name; }
    void SetName(const QString &name);

    // Values kept for the target dialogs and the calibration engine.
    double GetValueA() const { return m_valueA; }
    void SetValueA(double value) { m_valueA = value; }
    bool GetFlagB() const { return m_flagB; }
    void SetFlagB(bool flag) { m_flagB = flag; }
    int GetValueC() const { return m_valueC; }
    void SetValueC(int value) { m_valueC = value; }
    int GetValueD() const { return m_valueD; }
    void SetValueD(int value) { m_valueD = value; }
    int GetValueE() const { return m_valueE; }
    void SetValueE(int value) { m_valueE = value; }
    int GetValueF() const { return m_valueF; }
    void SetValueF(int value) { m_valueF = value; }
    double GetValueG() const { return m_valueG; }
    void SetValueG(double value) { m_valueG = value; }

    // The curve and its selection are stored only for gamma type 4; reading
    // another type keeps the ones held. The target is unchanged when reading fails.
    int Read(QDataStream &stream);
    int Write(QDataStream &stream) const;

private:
    void AssignAllButCurve(const CTargetValue &other);
    bool IntensityDiffers(const CTargetValue &other) const;
    bool GamutDiffers(const CTargetValue &other) const;
    QString CurveSelectionText(bool plain) const;

    quint32 m_contrastRatio = 0;
    CColorTemperature m_whitePoint;
    double m_specifiedLuminance = 300.0;
    double m_valueA = 0.3;
    double m_gamma = 0.0;
    double m_dicomScalingFactor = 1.0;
    bool m_dicomScaling = false;
    bool m_flagB = false;
    qint32 m_intensityMode = kIntensityMaximumMatching;
    qint32 m_valueC = 2;
    qint32 m_valueD = 0;
    qint32 m_gammaType = kGammaPower;
    QString m_name;
    CSpline m_curve;
    qint32 m_curveSelection = kCurveNone;
    qint32 m_gamutKind = 0;
    CCIEXYZ m_primaries[3];
    qint32 m_valueE = 0;
    qint32 m_valueF = 0;
    double m_maxMatchingLuminance = -1.0;
    double m_valueG = 0.0;
};

Q_DECLARE_METATYPE(CTargetValue)

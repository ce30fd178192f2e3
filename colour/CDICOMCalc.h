#pragma once

// The greyscale standard display function of DICOM PS3.14: equal steps of
// just-noticeable differences between a black and a white luminance. Computed
// in single precision with the standard's published (rounded) coefficients.
class CDICOMCalc
{
public:
    // Luminances in cd/m²; |steps| equal JND steps span the range.
    CDICOMCalc(float Lmin, float Lmax, int steps);
    virtual ~CDICOMCalc() = default;

    // False when a luminance has no positive JND index, the range is empty or
    // reversed, |steps| is not positive, or the end luminances are not finite:
    // every step then reads 0.
    bool IsValid() const { return m_valid; }

    // Step |i| of the range scaled to 0..|scale| and rounded; 0 for a step
    // outside 0..steps.
    int ValueAtStep(int i, int scale) const;

private:
    float LuminanceAtStep(int i) const;

    float m_Lmin;
    float m_Lmax;
    float m_jndRange = 0.0f;
    float m_jndStep = 0.0f;
    float m_jndMin = 0.0f;
    float m_jndMax = 0.0f;
    int m_steps;
    bool m_valid = false;
};

// The JND index of a luminance (cd/m²); 0 for a luminance that is not positive.
float dicom_luminance_to_jnd(float luminance);
// The luminance (cd/m²) of a JND index; 0 for an index that is not positive.
float dicom_jnd_to_luminance(float jnd);

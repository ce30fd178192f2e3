#include "colour/kelvin_conversion.h"

#include <cmath>
#include <limits>

namespace {

struct IsotemperatureLine
{
    double u;
    double v;
    double slope;
};

// Row i is the isotemperature line at 10·i mired.
constexpr IsotemperatureLine kLines[] = {
    {0.180046, 0.263577, -4.09562},  {0.180638, 0.265948, -3.9133},
    {0.181309, 0.268506, -3.71055},  {0.182067, 0.271236, -3.49513},
    {0.182919, 0.274118, -3.2742},   {0.183872, 0.277131, -3.05386},
    {0.184932, 0.280251, -2.8389},   {0.186103, 0.283452, -2.63279},
    {0.187389, 0.286709, -2.43778},  {0.188792, 0.289997, -2.25517},
    {0.190312, 0.293293, -2.08544},  {0.191949, 0.296575, -1.92856},
    {0.193701, 0.299825, -1.78409},  {0.195566, 0.303025, -1.65136},
    {0.19754, 0.306162, -1.52956},   {0.199619, 0.309223, -1.41784},
    {0.201799, 0.312199, -1.31534},  {0.204074, 0.315083, -1.22121},
    {0.20644, 0.317868, -1.13468},   {0.208891, 0.32055, -1.05503},
    {0.211423, 0.323126, -0.981592}, {0.21403, 0.325595, -0.913771},
    {0.216706, 0.327956, -0.851035}, {0.219449, 0.330208, -0.792904},
    {0.222251, 0.332354, -0.738952}, {0.22511, 0.334393, -0.688801},
    {0.22802, 0.336329, -0.642113},  {0.230978, 0.338163, -0.598586},
    {0.233979, 0.339897, -0.557953}, {0.23702, 0.341536, -0.519975},
    {0.240097, 0.34308, -0.484439},  {0.243206, 0.344534, -0.451151},
    {0.246345, 0.345901, -0.419941}, {0.249511, 0.347183, -0.390652},
    {0.252699, 0.348384, -0.363145}, {0.255909, 0.349508, -0.337292},
    {0.259136, 0.350557, -0.312978}, {0.262379, 0.351534, -0.290097},
    {0.265635, 0.352443, -0.268554}, {0.268902, 0.353287, -0.248261},
    {0.272179, 0.354069, -0.229137}, {0.275462, 0.354791, -0.211108},
    {0.27875, 0.355457, -0.194104},  {0.282042, 0.35607, -0.178063},
    {0.285335, 0.356631, -0.162926}, {0.288629, 0.357144, -0.148638},
    {0.291922, 0.357611, -0.135149}, {0.295211, 0.358034, -0.122412},
    {0.298497, 0.358417, -0.110382}, {0.301778, 0.35876, -0.099019},
    {0.305053, 0.359066, -0.088284}, {0.30832, 0.359338, -0.078141},
    {0.311579, 0.359577, -0.068557}, {0.314829, 0.359785, -0.059499},
    {0.318068, 0.359964, -0.050939}, {0.321297, 0.360115, -0.042848},
    {0.324514, 0.36024, -0.0352},    {0.327718, 0.360342, -0.02797},
    {0.330909, 0.36042, -0.021135},  {0.334087, 0.360477, -0.014673},
    {0.33725, 0.360513, -0.008564},  {0.340397, 0.360531, -0.002787},
    {0.34353, 0.360531, 0.002674},   {0.346646, 0.360515, 0.007839},
    {0.349746, 0.360483, 0.012722},
};
constexpr int kLastLine = int(sizeof(kLines) / sizeof(kLines[0])) - 1; // 64
static_assert(kLastLine == 64, "the isotemperature table spans 0..640 mired");

struct UV
{
    double u;
    double v;
};

UV uv_from_xy(double x, double y)
{
    const double denominator = -x + 6.0 * y + 1.5;
    return UV{2.0 * x / denominator, 3.0 * y / denominator};
}

// Signed distance of |p| from line |row| along u.
double line_distance(const UV &p, int row)
{
    const IsotemperatureLine &line = kLines[row];
    return p.u - line.u - (p.v - line.v) * line.slope;
}

double normalised_line_distance(const UV &p, int row)
{
    return line_distance(p, row) / std::sqrt(kLines[row].slope * kLines[row].slope + 1.0);
}

double uv_distance(const UV &a, const UV &b)
{
    return std::hypot(a.u - b.u, a.v - b.v);
}

// Kelvin of a temperature in mired, or 0 when it has no 16-bit kelvin value.
quint16 kelvin_from_mired(double mired)
{
    if (!(mired > 0.0))
        return 0;
    const double kelvin = std::trunc(1000000.0 / mired);
    if (!(kelvin <= std::numeric_limits<quint16>::max()))
        return 0;
    return static_cast<quint16>(kelvin);
}

// The point lies exactly on line |row|.
bool on_line(const UV &p, int row, quint16 &kelvin, double &deviation)
{
    if (row == 0)
        return false;
    const quint16 k = kelvin_from_mired(10.0 * row);
    if (k == 0)
        return false;
    const UV locus{kLines[row].u, kLines[row].v};
    deviation = uv_distance(p, locus);
    if (p.v - locus.v < 0.0)
        deviation = -deviation;
    kelvin = k;
    return true;
}

// Locus point at the fractional row centre + r, by a quadratic through the
// centre row and its two neighbours.
UV locus_at(int centre, double r)
{
    const IsotemperatureLine &before = kLines[centre - 1];
    const IsotemperatureLine &at = kLines[centre];
    const IsotemperatureLine &after = kLines[centre + 1];
    auto quadratic = [r](double cBefore, double cAt, double cAfter) {
        return (((cAfter + cBefore) / 2.0 - cAt) * r + (cAfter - cBefore) / 2.0) * r + cAt;
    };
    return UV{quadratic(before.u, at.u, after.u), quadratic(before.v, at.v, after.v)};
}

} // namespace

bool kelvin_to_xy(quint16 kelvin, CIExy &xy)
{
    xy = CIExy();
    if (kelvin < 1667 || kelvin > 25000)
        return false;
    const double t = kelvin;
    const double t2 = t * t;
    const double t3 = t2 * t;
    double x;
    if (kelvin < 4000)
        x = -266123900.0 / t3 - 234358.0 / t2 + 877.6956 / t + 0.17991;
    else if (kelvin <= 7000)
        x = -4607000000.0 / t3 + 2967800.0 / t2 + 99.11 / t + 0.244063;
    else
        x = -2006400000.0 / t3 + 1901800.0 / t2 + 247.48 / t + 0.23704;
    const double x2 = x * x;
    const double x3 = x2 * x;
    double y;
    if (kelvin < 2222)
        y = -1.1063814 * x3 - 1.3481102 * x2 + 2.18555832 * x - 0.20219683;
    else if (kelvin < 4000)
        y = -0.9549476 * x3 - 1.37418593 * x2 + 2.09137015 * x - 0.16748867;
    else
        y = -3.0 * x2 + 2.87 * x - 0.275;
    xy = CIExy{x, y};
    return true;
}

bool xy_to_kelvin(const CIExy &xy, quint16 &kelvin, double &deviation)
{
    kelvin = 0;
    deviation = 0.0;
    // Written as an inclusion test so that NaN fails too.
    if (!(xy.x >= 0.2 && xy.x <= 0.6 && xy.y >= 0.2 && xy.y <= 0.5))
        return false;
    const UV p = uv_from_xy(xy.x, xy.y);

    if (line_distance(p, 0) <= 0.0)
        return false; // hotter than the table, or exactly infinitely hot
    const double coldest = line_distance(p, kLastLine);
    if (coldest > 0.0)
        return false;
    if (coldest == 0.0)
        return on_line(p, kLastLine, kelvin, deviation);

    // Bisection over rows 2..64; afterwards the crossing lies between e and e + 1.
    int e = 33;
    for (int step = 16; step > 0; step /= 2) {
        const double h = line_distance(p, e);
        if (h == 0.0)
            return on_line(p, e, kelvin, deviation);
        e += h > 0.0 ? step : -step;
    }
    const double h = line_distance(p, e);
    if (h == 0.0)
        return on_line(p, e, kelvin, deviation);
    if (h < 0.0)
        e -= 1;

    const double dnLow = normalised_line_distance(p, e);
    double r = dnLow / (dnLow - normalised_line_distance(p, e + 1));
    const double mired = (e + r) * 10.0;
    const quint16 k = kelvin_from_mired(mired);
    if (k == 0)
        return false;

    // Centre the interpolation on the nearest row, keeping both neighbours
    // inside the table; near 640 mired the last three rows serve.
    if (r > 0.5 || e == 0) {
        e += 1;
        r -= 1.0;
    }
    if (e > kLastLine - 1) {
        r += e - (kLastLine - 1);
        e = kLastLine - 1;
    }
    const UV locus = locus_at(e, r);
    double dev = uv_distance(p, locus);
    if (p.v - locus.v < 0.0)
        dev = -dev;

    CIExy onLocus;
    if (kelvin_to_xy(k, onLocus))
        dev = uv_distance(p, uv_from_xy(onLocus.x, onLocus.y));
    kelvin = k;
    deviation = dev;
    return true;
}

#include "simulator/sim_panel.h"

#include <algorithm>
#include <cmath>

namespace {

// A small, fully specified random sequence (splitmix64), so that a seed gives
// the same panel with every compiler and standard library.
class deviation_source
{
public:
    explicit deviation_source(quint64 seed) : m_state(seed) {}

    // Uniform in [-1, 1).
    double next()
    {
        m_state += 0x9E3779B97F4A7C15ULL;
        quint64 z = m_state;
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        z ^= z >> 31;
        return static_cast<double>(z >> 11) * 0x1.0p-52 - 1.0;
    }

private:
    quint64 m_state;
};

enum class deviation_kind { absolute, relative };

// One way a panel departs from its design: |field| moves by up to
// |amplitude| (a plain amount, or a fraction of its value) at spread 1.
struct deviation
{
    deviation_kind kind;
    double amplitude;
    double &(*field)(sim_panel &);
};

template <int C>
double &primary_x(sim_panel &p) { return p.primaries[C].x; }
template <int C>
double &primary_y(sim_panel &p) { return p.primaries[C].y; }
template <int C>
double &gamma_of(sim_panel &p) { return p.response[C].gamma; }
template <int C>
double &toe_of(sim_panel &p) { return p.response[C].toe; }
template <int C>
double &shoulder_of(sim_panel &p) { return p.response[C].shoulder; }

const deviation kDeviations[] = {
    {deviation_kind::absolute, 0.006, primary_x<0>},
    {deviation_kind::absolute, 0.006, primary_y<0>},
    {deviation_kind::absolute, 0.006, primary_x<1>},
    {deviation_kind::absolute, 0.006, primary_y<1>},
    {deviation_kind::absolute, 0.006, primary_x<2>},
    {deviation_kind::absolute, 0.006, primary_y<2>},
    {deviation_kind::absolute, 0.010, [](sim_panel &p) -> double & { return p.white.x; }},
    {deviation_kind::absolute, 0.010, [](sim_panel &p) -> double & { return p.white.y; }},
    {deviation_kind::relative, 0.08, [](sim_panel &p) -> double & { return p.max_luminance; }},
    {deviation_kind::absolute, 0.010, [](sim_panel &p) -> double & { return p.black.x; }},
    {deviation_kind::absolute, 0.010, [](sim_panel &p) -> double & { return p.black.y; }},
    {deviation_kind::relative, 0.25, [](sim_panel &p) -> double & { return p.black_luminance; }},
    {deviation_kind::absolute, 0.12, gamma_of<0>},
    {deviation_kind::absolute, 0.12, gamma_of<1>},
    {deviation_kind::absolute, 0.12, gamma_of<2>},
    {deviation_kind::absolute, 0.008, toe_of<0>},
    {deviation_kind::absolute, 0.008, toe_of<1>},
    {deviation_kind::absolute, 0.008, toe_of<2>},
    {deviation_kind::absolute, 0.04, shoulder_of<0>},
    {deviation_kind::absolute, 0.04, shoulder_of<1>},
    {deviation_kind::absolute, 0.04, shoulder_of<2>},
};

// Large spreads must still leave a panel that can exist.
void keep_physical(sim_panel &p)
{
    for (sim_channel_response &r : p.response) {
        r.gamma = std::max(r.gamma, 1.0);
        r.toe = std::max(r.toe, 0.0);
        r.shoulder = std::max(r.shoulder, 0.0);
    }
    p.max_luminance = std::max(p.max_luminance, 1.0);
    p.black_luminance = std::clamp(p.black_luminance, 0.0, p.max_luminance / 100.0);
}

} // namespace

sim_panel sim_panel::nominal()
{
    sim_panel p;
    p.primaries = {{{0.6400, 0.3300}, {0.2950, 0.6150}, {0.1500, 0.0550}}};
    // Large-format panels leave the factory bluish, near 8000 K.
    p.white = {0.2950, 0.3080};
    p.max_luminance = 450.0;
    // Leakage through a closed LCD cell is bluish-violet.
    p.black = {0.2650, 0.2600};
    p.black_luminance = 0.30;
    p.response.fill(sim_channel_response {2.2, 0.010, 0.06});
    return p;
}

sim_xyz sim_panel::black_xyz() const
{
    return xyz_of(black, black_luminance);
}

std::array<sim_xyz, 3> sim_panel::primaries_xyz() const
{
    const sim_xyz dark = black_xyz();
    const sim_xyz full = xyz_of(white, max_luminance);
    const sim_xyz above_black {full[0] - dark[0], full[1] - dark[1], full[2] - dark[2]};
    std::array<sim_xyz, 3> unit_primaries;
    for (std::size_t c = 0; c < 3; ++c)
        unit_primaries[c] = xyz_of(primaries[c], 1.0);
    sim_xyz luminance {0.0, 0.0, 0.0};
    solve_columns(unit_primaries, above_black, &luminance);
    std::array<sim_xyz, 3> out;
    for (std::size_t c = 0; c < 3; ++c)
        out[c] = xyz_of(primaries[c], luminance[c]);
    return out;
}

sim_panel sim_panel::with_imperfections(const sim_panel &base, quint64 seed, double spread)
{
    sim_panel p = base;
    if (!std::isfinite(spread) || spread <= 0.0)
        return p;
    deviation_source source(seed);
    for (const deviation &d : kDeviations) {
        double &value = d.field(p);
        const double step = d.amplitude * spread * source.next();
        value = d.kind == deviation_kind::relative ? value * (1.0 + step) : value + step;
    }
    keep_physical(p);
    return p;
}

quint64 sim_panel::display_seed(quint64 wall_seed, const QString &display_key)
{
    // FNV-1a over the key, started from the wall's seed.
    quint64 hash = 0xCBF29CE484222325ULL ^ wall_seed;
    for (const char c : display_key.toUtf8()) {
        hash ^= static_cast<quint8>(c);
        hash *= 0x100000001B3ULL;
    }
    return hash;
}

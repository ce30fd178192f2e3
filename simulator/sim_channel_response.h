#pragma once

// How much light one colour channel of a panel gives for a drive level: a
// power law whose start is lifted by a toe (the curve leaves black with a
// finite slope, as a real panel's does) and whose top is rounded off by a
// shoulder (the curve nears full light early; its last steps add less than
// the power law's). Both ends are fixed: no drive gives no light of the
// channel, full drive all of it.
struct sim_channel_response
{
    double gamma = 2.2;
    double toe = 0.0;        // drive added before the power law; 0: a plain power law start
    double shoulder = 0.0;   // 0: no roll-off; larger rounds the top more

    // The fraction of the channel's full light for |drive| in [0, 1]; drives
    // outside are clamped, a drive that is not a number gives 0.
    double light(double drive) const;
    // The drive that gives |fraction| of the full light: light's inverse on
    // [0, 1]; fractions outside are clamped, one that is not a number gives 0.
    double drive_for(double fraction) const;
};

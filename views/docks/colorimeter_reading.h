#pragma once

#include "colour/colour_values.h"

#include <QString>

// The Colorimeter dock's labels for one spot reading. A failed reading
// (|status| not 0) shows as zero light; a reading with a negative Z is taken
// as no light. The colour temperature and its distance from the Planckian
// locus are shown only from 2500 K to 20000 K.
struct colorimeter_labels
{
    QString x;
    QString y;
    QString Y;
    QString temperature;
    QString distance;
};

colorimeter_labels colorimeter_labels_for(int status, const CCIEXYZ &reading);

#pragma once

#include "sensors/CSensor.h"

#include <vector>

// What the X-Rite option-interface drivers (i1Pro, i1Display 2, i1Studio)
// share: the instrument is configured by named text options, and a reading
// is a trigger followed by a read of X, Y and Z as floats. Each driver
// makes the library calls its own library's way; the option sequences it
// sets are tables.
class CXRiteOptionSensor : public CSensor
{
    Q_OBJECT

public:
    using CSensor::CSensor;

    bool SupportsAmbient() override { return m_ambientCapable; }
    // Ambient reading in mode 2: -1000 when not open; clears the reading,
    // then -1 in any other mode; else one trigger and one read, stored for
    // GetXYZ.
    int MeasureAmbient() override;
    // Only stored: the instrument measures every display the same way.
    int SetDisplayType(int flag, int displayType) override;

    // One option to set, and the status its refusal gives.
    struct option_setting
    {
        const char *name;
        const char *value;
        int failure;
    };
    using option_settings = std::vector<option_setting>;
    // The options that select one measurement mode.
    struct mode_options
    {
        int mode;
        option_settings settings;
    };

protected:
    // The library calls; each answers the library's result, 0 on success.
    virtual int setLibraryOption(const char *name, const char *value) = 0;
    virtual int triggerLibraryMeasurement() = 0;
    virtual int readLibraryTriStimulus(float xyz[3]) = 0;

    // Sets |settings| in order: 0, or the failure status of the first one the
    // library refuses (nothing after it is set).
    int applyOptions(const option_settings &settings);
    // Sets the options of |mode| from |modes|: -1 for a mode not listed.
    int applyMode(int mode, const std::vector<mode_options> &modes);
    // Changes to |mode| through |modes| unless it is the current one; -1
    // when the library is not |bound| (a change needs it).
    int changeMode(int mode, bool bound, const std::vector<mode_options> &modes);

    // Emission reading in mode 1: -1000 when not open; clears the reading,
    // then -1 in any other mode; else |count| readings (0 counts as 1)
    // averaged under the low-light rule, each a trigger, a pause of
    // |pauseMs| and a read.
    int measureEmission(unsigned count, qint64 pauseMs);

    // A text a library hands back (bounded; empty for null).
    static QString libraryText(const char *text);

    bool m_ambientCapable = false;

private:
    int readOnce(CCIEXYZ &reading, qint64 pauseMs);
};

#pragma once

#include <QJsonObject>
#include <QList>
#include <QString>
#include <QStringList>

// What a simulated instrument is and how it misbehaves. Tests and manual
// runs describe it in JSON (see README.md); a configuration merges into the
// current one key by key, so a test changes only what it names.
namespace sim_instrument {

struct calibration_entry
{
    int key = 0;
    QString name;
};

struct tristimulus
{
    double X = 0.0;
    double Y = 0.0;
    double Z = 0.0;
};

// A named entry point that fails with |code|, |times| more times (-1: always).
struct call_failure
{
    QString call;
    int code = -1;
    int times = -1;
};

// The instrument goes away after |after| more successful calls of |call|
// (any device call when empty): that call and every later device call then
// answer |code| until the library is initialised again, when the instrument
// is found again if |foundAgain|, or stays missing.
struct device_loss
{
    bool armed = false;
    QString call;
    int after = 0;
    int code = -523;
    bool foundAgain = true;
};

struct instrument_config
{
    // Where the instrument sits: a display key of the light channel; empty
    // follows the display that last showed a patch.
    QString display;
    // Where the instrument sits for each of the next display measurements,
    // one key each (the operator moving it about); used up in order, then
    // |display| applies again.
    QStringList placements;
    QString lightFolder;  // empty: the light channel's own default
    double timeScale = -1.0; // below 0: the wait service's own scale
    int deviceCount = 1;

    QString serial;
    QString firmware;
    QString product;
    bool makerBranded = false;
    QList<calibration_entry> calibrations;

    // "display", "calibration", "fourth" or "ambient": where the dial or
    // diffuser stands (the selector positions of the sensor interface).
    QString selector = QStringLiteral("display");
    bool covered = false;          // dark: zero calibration, cap on
    tristimulus strayLight;        // room light reaching the lens on a display
    double ambientLux = 0.0;       // what the ambient sensor sees
    double ambientX = 0.3457;
    double ambientY = 0.3585;

    quint64 noiseSeed = 1;
    double noiseRelative = 0.0;    // standard deviation, fraction of the value
    double noiseAbsolute = 0.0;    // standard deviation, cd/m² (lux for ambient)
    double lowLightFloor = 0.0;    // readings with Y below it read as 0
    double resolution = 0.0;       // quantisation step; 0 none
    double integrationSeconds = 1.0;

    bool openFails = false;
    bool calibrationFails = false;
    int measureFailures = 0;       // the next N measurements fail
    int failureCode = -1;          // code of those three faults
    QList<call_failure> callFailures;
    device_loss loss;

    QJsonObject family;            // the instrument family's own settings
};

// Merges |json| into |config|. False, with |config| unchanged and |error|
// set, for an unknown key or a value of the wrong type.
bool merge_config(instrument_config &config, const QJsonObject &json, QString *error);

// The selector position names as the sensor interface numbers them; -1
// for an unknown name.
int selector_position(const QString &name);

} // namespace sim_instrument

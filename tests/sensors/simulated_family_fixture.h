#pragma once

#include "sensor_test_environment.h"
#include "simulated_instrument_control.h"

#include <QJsonObject>
#include <QString>

#include <memory>

// What every instrument family's test shares: the test environment, the
// control of the family's simulated library, and the display whose light
// the instrument measures. A test class derives from it beside QObject.
class simulated_family_fixture
{
protected:
    explicit simulated_family_fixture(const QString &display) : m_display(display) {}

    // For initTestCase: the environment, and the control of |libraryFile|
    // among the simulated libraries; false when it does not load.
    bool loadFamily(const char *libraryFile);
    // For init: the simulated libraries, no light published, and the
    // instrument reset to face the display with waits scaled by |timeScale|,
    // plus |settings|; false (with a warning) when it refuses them.
    bool resetFamily(double timeScale, const QJsonObject &settings = QJsonObject());
    // False (with a warning) when the instrument refuses |settings|.
    bool configure(const QJsonObject &settings);
    // Publishes the light the instrument sees on the display.
    bool publish(double X, double Y, double Z);

    std::unique_ptr<sensor_test_environment> m_environment;
    std::unique_ptr<simulated_instrument_control> m_control;

private:
    QString m_display;
};

// The setting that attaches one instrument.
inline QJsonObject one_device()
{
    return {{QStringLiteral("device_count"), 1}};
}

// Settings of the family's own options.
inline QJsonObject family(const QJsonObject &settings)
{
    return {{QStringLiteral("family"), settings}};
}

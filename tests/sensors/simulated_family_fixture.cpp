#include "simulated_family_fixture.h"

#include "simulator/light/light_channel.h"

bool simulated_family_fixture::loadFamily(const char *libraryFile)
{
    m_environment = std::make_unique<sensor_test_environment>();
    m_control = std::make_unique<simulated_instrument_control>(sensor_test_environment::simulatedLibrary(libraryFile));
    return m_control->isLoaded();
}

bool simulated_family_fixture::resetFamily(double timeScale, const QJsonObject &settings)
{
    sensor_test_environment::useLibraryFolder(sensor_test_environment::simulatedLibraryFolder());
    light_channel::clear_channel();
    m_control->reset();
    QJsonObject all = settings;
    all.insert(QStringLiteral("light_folder"), m_environment->lightFolder());
    all.insert(QStringLiteral("time_scale"), timeScale);
    all.insert(QStringLiteral("display"), m_display);
    return configure(all);
}

bool simulated_family_fixture::configure(const QJsonObject &settings)
{
    if (m_control->configure(settings))
        return true;
    qWarning("configuration refused: %s", qPrintable(m_control->lastError()));
    return false;
}

bool simulated_family_fixture::publish(double X, double Y, double Z)
{
    return light_channel::publish_light(m_display, {X, Y, Z});
}

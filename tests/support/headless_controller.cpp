#include "tests/support/headless_controller.h"

#include "app/controller/master_globals.h"
#include "colour/CMonitorTracker.h"
#include "display_protocol/wait_service.h"
#include "resources/tessaline_resources.h"

#include <QDir>
#include <QFile>
#include <QtTest>

namespace {

const QByteArray kUnset("\0", 1);

} // namespace

headless_controller::headless_controller(instrument_libraries libraries)
    : m_savedTimeScale(wait_service::time_scale())
{
    QVERIFY(m_root.isValid());
    QDir root(m_root.path());
    QVERIFY(root.mkpath(QStringLiteral("home/.config")));
    QVERIFY(root.mkpath(QStringLiteral("home/Documents")));
    QVERIFY(root.mkpath(QStringLiteral("no-instruments")));
    setEnvironment("HOME", QFile::encodeName(home_folder()));
    setEnvironment("XDG_CONFIG_HOME", QFile::encodeName(home_folder() + QStringLiteral("/.config")));
    setEnvironment("TESSALINE_SENSOR_LIBRARY_DIR",
                   QFile::encodeName(libraries == simulated_instruments
                                         ? simulated_instrument_folder()
                                         : m_root.path() + QStringLiteral("/no-instruments")));
    wait_service::set_time_scale(0.0);
    tessaline_init_resources();

    m_voice = std::make_unique<recording_voice_output>();
    m_controller = std::make_unique<MasterControl>();
    g_master = m_controller.get();
}

headless_controller::~headless_controller()
{
    shut_down();
    m_voice.reset();
    wait_service::set_time_scale(m_savedTimeScale);
    for (auto it = m_savedEnvironment.crbegin(); it != m_savedEnvironment.crend(); ++it) {
        if (it->second == kUnset)
            qunsetenv(it->first.constData());
        else
            qputenv(it->first.constData(), it->second);
    }
}

void headless_controller::setEnvironment(const char *name, const QByteArray &value)
{
    m_savedEnvironment.append({QByteArray(name), qEnvironmentVariableIsSet(name) ? qgetenv(name) : kUnset});
    qputenv(name, value);
}

QString headless_controller::home_folder() const
{
    return m_root.path() + QStringLiteral("/home");
}

QString headless_controller::documents_folder() const
{
    return home_folder() + QStringLiteral("/Documents");
}

QString headless_controller::simulated_instrument_folder()
{
    return QStringLiteral(SIM_INSTRUMENT_DIR);
}

void headless_controller::shut_down()
{
    m_controller.reset();
}

void headless_controller::create_wall(int columns, int rows, const QString &first_address)
{
    QCOMPARE(layout().create_layout(columns, rows, 1, 0, first_address, display_layout_item::kLan, true, true,
                                    false, true, display_layout_item::kLandscape),
             0);
}

void headless_controller::store_record(int index, const CAdjustValue &record, const QString &model,
                                       const QString &serial)
{
    const QString serialNumber = serial.isEmpty() ? QStringLiteral("SN%1").arg(index) : serial;
    layout().update_display_model_info_status_item(index, model, serialNumber, display_layout_item::kVerified);
    monitor_tracker_item item(model, serialNumber);
    static_cast<CAdjustValue &>(item) = record;
    records().SetAdjustValue(item);
}

CAdjustValue headless_controller::measured_record(const CCIEXYZ &red, const CCIEXYZ &green, const CCIEXYZ &blue)
{
    return measured_record(red, green, blue,
                           CCIEXYZ(red.X + green.X + blue.X, red.Y + green.Y + blue.Y, red.Z + green.Z + blue.Z));
}

CAdjustValue headless_controller::measured_record(const CCIEXYZ &red, const CCIEXYZ &green, const CCIEXYZ &blue,
                                                  const CCIEXYZ &white)
{
    CAdjustValue record;
    record.measurements.native.red = red;
    record.measurements.native.green = green;
    record.measurements.native.blue = blue;
    record.measurements.native.white = white;
    record.measurements.measurement_date_time = QDateTime(QDate(2024, 1, 1), QTime(12, 0), Qt::UTC);
    return record;
}

#include "sensors/COMClient.h"

#include "display_protocol/wait_service.h"
#include "sensors/instrument_library.h"
#include "sensors/pl_automation_object.h"
#include "sensors/pl_server_registration.h"
#include "sensors/sensor_kinds.h"
#include "sensors/sensor_status.h"

using hive = pl_server_registration::hive;

enum class COMClient::failure {
    no_server,
    no_type_library,
    no_linkmod,
    no_probelink,
    com_start,
    server_signal,
    no_usb_driver,
    no_instrument,
    instrument_signal,
    no_memory,
    not_initialised,
    several_instruments,
    wrong_model,
    no_probe_list,
    no_first_probe,
    no_probe,
    no_serial_number,
    zero_required,
    measurement_failed,
    zero_failed,
    too_bright,
};

namespace {

constexpr int kZeroCalibrationRequired = -8510;
constexpr int kMeasurementFailed = -8511;
constexpr int kZeroCalibrationFailed = -8512;
constexpr int kServerError = -8508;

struct failure_row
{
    COMClient::failure kind;
    int code;
    const char *text;
};

#define FAILURE(kind, code, text) {COMClient::failure::kind, code, QT_TRANSLATE_NOOP("COMClient", text)}

const failure_row kFailures[] = {
    FAILURE(no_server, sensor_status::kNotOpen, "No COM Server for PL210 sensor found."),
    FAILURE(no_type_library, sensor_status::kNotOpen,
            "Specified TypeLibraty (UUID:{81480671-9287-43D4-8A21-F0CB0157077F}) not found."),
    FAILURE(no_linkmod, sensor_status::kNotOpen, "No Linkmod library file found."),
    FAILURE(no_probelink, sensor_status::kNotOpen, "No probelink library file found."),
    FAILURE(com_start, sensor_status::kNotOpen, "Failed to initialize COM library"),
    FAILURE(server_signal, sensor_status::kNotOpen, "Failed in connecting signal to PL200"),
    FAILURE(no_usb_driver, sensor_status::kNotOpen, "No USB driver for PL210 sensor found."),
    FAILURE(no_instrument, sensor_status::kNotOpen, "No available PL sensor found."),
    FAILURE(instrument_signal, sensor_status::kNotOpen, "Failed in connecting signal to PLOBJ"),
    FAILURE(no_memory, sensor_status::kNotOpen, "Failed to get the first channel of PL210 sensor."),
    FAILURE(not_initialised, sensor_status::kProbeNotOpen, "Sensor is not initialized."),
    FAILURE(several_instruments, sensor_status::kNotOpen,
            "Several PL sensor are connected, please connect single PL sensor."),
    FAILURE(wrong_model, sensor_status::kNotOpen, "Connected sensor is not PL210 model."),
    FAILURE(no_probe_list, sensor_status::kNotOpen, "Failed to get the probe list of PL210 sensor."),
    FAILURE(no_first_probe, sensor_status::kNotOpen, "Failed to get the first probe of PL210 sensor."),
    FAILURE(no_probe, sensor_status::kNotOpen, "No available probe found."),
    FAILURE(no_serial_number, sensor_status::kNotOpen, "No available serial number found."),
    FAILURE(zero_required, kZeroCalibrationRequired, "The zero calibration is required."),
    FAILURE(measurement_failed, kMeasurementFailed, "Measurement failed."),
    FAILURE(zero_failed, kZeroCalibrationFailed, "Zero calibration failed."),
    FAILURE(too_bright, kZeroCalibrationFailed, "too bright light."),
};

#undef FAILURE

struct exception_mapping
{
    quint32 serverCode;
    int code;
};

const exception_mapping kExceptionCodes[] = {
    {0xC42E012Bu, -8501}, {0xC42E01ABu, -8502}, {0xC42E0197u, -8503}, {0xC42E0199u, -8504},
    {0xC42E0257u, -8505}, {0xC42E0209u, -8506}, {0xC42E4005u, -8507},
};

int mapped_exception_code(quint32 serverCode)
{
    for (const exception_mapping &mapping : kExceptionCodes) {
        if (mapping.serverCode == serverCode)
            return mapping.code;
    }
    return kServerError;
}

const char kProgIdKey[] = "PL200Srvr.Pl200";
const char kProgIdPrefix[] = "Pl200";
const char kTypeLibrary[] = "{81480671-9287-43D4-8A21-F0CB0157077F}";
const char kTypeLibraryKey[] = "CLSID/{006B0650-AF9A-4EE1-B18F-B5740004D7CE}/TypeLib";

struct server_file
{
    const char *windowsName;
    COMClient::failure missing;
};

const char kServicesKey[] = "SYSTEM/ControlSet001/Services";
const char kUsbService[] = "BulkUsb";
const char kUsbEnumKey[] = "SYSTEM/ControlSet001/Services/BulkUsb/Enum";
const char kProbeUsbId[] = "USB\\Vid_0686&Pid_1002";
// Far more probes than one computer holds; a larger count is not believed.
constexpr int kMaximumUsbInstances = 1024;

const char kModelPrefix[] = "PL-";
const char kFirstProbe[] = "P1";
constexpr qint64 kSettleMs = 1000;
// Darker than this reads as covered.
constexpr float kZeroLuminanceLimit = 0.0005f;

} // namespace

COMClient::COMClient(QObject *parent) : AdditionalSensor(parent) {}

COMClient::~COMClient()
{
    // Also after a start that stopped half-way: nothing may outlive the server.
    Release();
}

bool COMClient::fail(failure kind)
{
    for (const failure_row &row : kFailures) {
        if (row.kind != kind)
            continue;
        const QString text = tr(row.text);
        if (raised())
            SetLastErrorText(text);
        else
            SetLastError(row.code, text);
        break;
    }
    return false;
}

void COMClient::slot_ComException(int code, const QString &, const QString &description, const QString &)
{
    const int mapped = mapped_exception_code(quint32(code));
    m_exceptionCode = mapped;
    SetLastError(mapped, description);
}

bool COMClient::CheckServerInstalled()
{
    static const server_file kServerFiles[] = {
        {sensor_kind_library(kSensorPlSeries), failure::no_server},
        {kPlLinkModule.windowsName, failure::no_linkmod},
        {kPlProbelink.windowsName, failure::no_probelink},
    };
    const pl_server_registration registration;
    if (!registration.value(hive::classes_root, QLatin1String(kProgIdKey)).startsWith(QLatin1String(kProgIdPrefix)))
        return fail(failure::no_server);
    if (registration.value(hive::classes_root, QLatin1String(kTypeLibraryKey)) != QLatin1String(kTypeLibrary))
        return fail(failure::no_type_library);
    for (const server_file &file : kServerFiles) {
        if (!pl_server_registration::programFolderLists(QLatin1String(file.windowsName)))
            return fail(file.missing);
    }
    return true;
}

// The probe's USB driver must be registered for the probe's vendor and
// product id: at least one device instance of the driver's service names
// them (compared without regard to case, as device ids are written either way).
bool COMClient::CheckUsbRegistration()
{
    const pl_server_registration registration;
    const QStringList services = registration.childKeys(hive::local_machine, QLatin1String(kServicesKey));
    if (services.contains(QLatin1String(kUsbService), Qt::CaseInsensitive)) {
        bool valid = false;
        const int count = registration.value(hive::local_machine, QLatin1String(kUsbEnumKey), QStringLiteral("Count"))
                              .toInt(&valid);
        for (int i = 0; valid && i < count && i < kMaximumUsbInstances; ++i) {
            const QString instance =
                registration.value(hive::local_machine, QLatin1String(kUsbEnumKey), QString::number(i));
            if (instance.startsWith(QLatin1String(kProbeUsbId), Qt::CaseInsensitive))
                return true;
        }
    }
    return fail(failure::no_usb_driver);
}

bool COMClient::Initialize()
{
    Release();
    m_exceptionCode = 0;
    ClearLastError();
    if (!CheckServerInstalled() || !startServer() || !CheckUsbRegistration() || !setUpInstrument())
        return false;
    m_initialised = true;
    return true;
}

bool COMClient::startServer()
{
    if (!m_comStarted) {
        if (!m_library.load())
            return fail(failure::com_start);
        m_comStarted = true;
    }
    m_server = pl_automation_object::create(m_library, QLatin1String(kClassId), this);
    return (m_server && connectObject(m_server)) || fail(failure::server_signal);
}

bool COMClient::setUpInstrument()
{
    m_exceptionCode = 0;
    if (!m_server->call("AutoConnect"))
        return raised() ? false : fail(failure::no_instrument);
    m_instrument = m_server->querySubObject("SinglePl", QVariantList(), this);
    if (raised())
        return false;
    if (!m_instrument)
        return fail(failure::no_instrument);
    if (!connectObject(m_instrument))
        return fail(failure::instrument_signal);
    m_memory = subObject(m_instrument, "Memory");
    if (!m_memory)
        return fail(failure::no_memory);
    m_memory->writeProperty("ChannelNO", 0);
    m_instrument->writeProperty("SyncMode", 0);
    m_instrument->writeProperty("AveragingMode", 1);
    m_instrument->call("SetAnalogRange", {2.5, 2.5});
    m_instrument->writeProperty("DisplayMode", 0);
    m_instrument->writeProperty("DisplayDigits", 1);
    return true;
}

bool COMClient::connectObject(pl_automation_object *object)
{
    connect(object, &pl_automation_object::exception, this, &COMClient::slot_ComException, Qt::DirectConnection);
    return object->connectExceptions();
}

pl_automation_object *COMClient::subObject(pl_automation_object *owner, const char *member, const QVariantList &args)
{
    pl_automation_object *object = owner->querySubObject(member, args, this);
    // An object whose exceptions would go unseen is not used.
    if (object && !connectObject(object)) {
        delete object;
        return nullptr;
    }
    return object;
}

bool COMClient::failInstrumentCheck(failure kind)
{
    m_zeroCalibrated = false;
    return fail(kind);
}

bool COMClient::CheckSingleInstrument()
{
    m_exceptionCode = 0;
    if (!m_initialised)
        return failInstrumentCheck(failure::not_initialised);
    if (!m_instrument)
        return failInstrumentCheck(failure::no_instrument);
    const QVariant number = m_instrument->readProperty("Number");
    if (raised()) {
        m_zeroCalibrated = false;
        return false;
    }
    if (number.toInt() != 1)
        return failInstrumentCheck(failure::several_instruments);
    m_model = m_instrument->readProperty("PLType").toString();
    if (!m_model.isEmpty() && !m_model.startsWith(QLatin1String(kModelPrefix)))
        return failInstrumentCheck(failure::wrong_model);
    if (raised()) {
        m_zeroCalibrated = false;
        return false;
    }
    return true;
}

bool COMClient::IsReady()
{
    return m_initialised && CheckSingleInstrument();
}

void COMClient::deleteProbes()
{
    delete m_probe;
    m_probe = nullptr;
    delete m_probes;
    m_probes = nullptr;
}

bool COMClient::SelectFirstProbe()
{
    if (!CheckSingleInstrument())
        return false;
    deleteProbes();
    m_probes = subObject(m_instrument, "OutputProbes");
    if (!m_probes)
        return fail(failure::no_probe_list);
    m_probe = subObject(m_probes, "Item", {QLatin1String(kFirstProbe)});
    if (!m_probe)
        return fail(failure::no_first_probe);
    m_serialNumber = m_probe->readProperty("SerialNO").toString();
    return true;
}

bool COMClient::ReadSerialNumber()
{
    const bool selected = SelectFirstProbe();
    if (raised()) {
        m_serialNumber.clear();
        return fail(failure::no_probe);
    }
    if (!selected)
        return false;
    return !m_serialNumber.isEmpty() || fail(failure::no_serial_number);
}

void COMClient::readProbeValues()
{
    struct probe_value
    {
        const char *name;
        float pl_probe_reading::*field;
    };
    static const probe_value kValues[] = {
        {"Lv", &pl_probe_reading::Lv}, {"sx", &pl_probe_reading::x},     {"sy", &pl_probe_reading::y},
        {"T", &pl_probe_reading::T},   {"duv", &pl_probe_reading::duv},
    };
    m_reading = pl_probe_reading();
    for (const probe_value &value : kValues) {
        // A value that cannot be read is no value.
        bool valid = false;
        const float read = m_probe->readProperty(value.name).toFloat(&valid);
        if (valid)
            m_reading.*value.field = read;
    }
}

bool COMClient::ZeroCalibrate()
{
    if (!m_initialised)
        return fail(failure::not_initialised);
    if (m_zeroCalibrated)
        return true;
    if (!SelectFirstProbe())
        return false;
    m_exceptionCode = 0;
    if (!m_instrument->call("CalZero") || !m_instrument->call("Measure", {0}))
        return raised() ? false : fail(failure::zero_failed);
    readProbeValues();
    // Without a luminance value nothing shows that the probe is dark.
    if (m_reading.Lv == pl_probe_reading::kNoValue)
        return fail(failure::zero_failed);
    if (m_reading.Lv >= kZeroLuminanceLimit)
        return fail(failure::too_bright);
    m_zeroCalibrated = true;
    return true;
}

bool COMClient::Measure()
{
    const bool measured = measureOnce();
    m_readingState = measured ? 0 : -1;
    return measured;
}

bool COMClient::measureOnce()
{
    if (!m_initialised)
        return fail(failure::not_initialised);
    if (!CheckSingleInstrument())
        return false;
    if (!m_zeroCalibrated)
        return fail(failure::zero_required);
    m_reading = pl_probe_reading();
    wait_service::sleep_ms(kSettleMs);
    ClearLastError();
    m_exceptionCode = 0;
    if (!m_instrument->call("Measure", {0}))
        return raised() ? false : fail(failure::measurement_failed);
    if (!m_probe)
        return fail(failure::no_probe);
    readProbeValues();
    return m_reading.hasValue() || fail(failure::measurement_failed);
}

void COMClient::SetReading(const pl_probe_reading &reading)
{
    m_reading = reading;
    m_readingState = 0;
}

void COMClient::ResetReading()
{
    m_reading = pl_probe_reading();
    m_readingState = -1;
}

void COMClient::Release()
{
    if (m_instrument)
        m_instrument->writeProperty("RemoteMode", 0);
    deleteProbes();
    delete m_memory;
    m_memory = nullptr;
    delete m_instrument;
    m_instrument = nullptr;
    delete m_server;
    m_server = nullptr;
    m_initialised = false;
    m_zeroCalibrated = false;
    if (m_comStarted)
        m_library.unload();
    m_comStarted = false;
}

#include "sensors/CEyeOneDisplaySensor.h"

#include "sensors/sensor_status.h"

namespace {

constexpr quint16 kVendorId = 0x0971;
constexpr quint16 kProductId = 0x2003;

const char kDeviceType[] = "EyeOneDisplay";
const char kAmbientMode[] = "SingleAmbientLight";

const std::vector<CXRiteOptionSensor::option_setting> kMeasurementSettings = {
    {"MeasurementMode", "SingleEmission", sensor_status::kFailed},
    {"AdaptiveMode", "1", sensor_status::kFailed},
};

const std::vector<CXRiteOptionSensor::option_setting> kColourSettings = {
    {"Colorimetric.Illumination", "Emission", sensor_status::kWrongMode},
    {"ColorSpaceDescription.Type", "CIEXYZ", sensor_status::kWrongMode},
    {"ScreenType", "LCD", sensor_status::kWrongMode},
};

const std::vector<CXRiteOptionSensor::mode_options> kModes = {
    {1,
     {{"MeasurementMode", "SingleEmission", sensor_status::kWrongMode},
      {"Colorimetric.Illumination", "Emission", sensor_status::kWrongMode},
      {"ColorSpaceDescription.Type", "CIEXYZ", sensor_status::kWrongMode}}},
    {2,
     {{"MeasurementMode", kAmbientMode, sensor_status::kWrongMode},
      {"Colorimetric.Illumination", "Emission", sensor_status::kWrongMode},
      {"ColorSpaceDescription.Type", "CIEXYZ", sensor_status::kWrongMode}}},
};

// Serial number ranges of the maker-branded variants, [first, end), applied
// in order, a later match overriding an earlier one.
struct serial_range
{
    quint64 first;
    quint64 end;
    int model;
};

const serial_range kSerialRanges[] = {
    {950000, 951000, CEyeOneDisplaySensor::kModelBrandedWideGamut},
    {951000, 964999, CEyeOneDisplaySensor::kModelLyraSensor},
    {965000, 965000 + 9999 + 1, CEyeOneDisplaySensor::kModelBranded},
    {124098, 124098 + 511 + 1, CEyeOneDisplaySensor::kModelBranded},
    {166656, 166656 + 499 + 1, CEyeOneDisplaySensor::kModelBranded},
    {189473, 189473 + 399 + 1, CEyeOneDisplaySensor::kModelBranded},
    {219835, 219835 + 399 + 1, CEyeOneDisplaySensor::kModelBranded},
    {223565, 223565 + 949 + 1, CEyeOneDisplaySensor::kModelBranded},
};

struct model_names
{
    const char *name;
    const char *shortName;
    const char *displayPicture;
};

// By model, 1 to 5.
const model_names kModelNames[] = {
    {"Gretag i1Display", "i1Display", "ione_displayv2_on_lcd.png"},
    {"X-Rite i1Display 2", "i1Display 2", "ione_displayv2_on_lcd.png"},
    {"Varkel iOne Display v2", "i1Display v2", "Varkel_ione_displayv2_on_lcd.png"},
    {"Varkel iOne Display v2 WG", "i1Disp.v2 WG", "Varkel_ione_displayv2_on_lcd.png"},
    {"Varkel LYRASENSOR (Custom iOne Display v2)", "LYRASENSOR", "Varkel_lyrasensor_on_lcd.png"},
};

const model_names &names_of(int model)
{
    const int index = model - 1;
    return kModelNames[index >= 0 && index < int(sizeof kModelNames / sizeof kModelNames[0]) ? index : 0];
}

} // namespace

CEyeOneDisplaySensor::CEyeOneDisplaySensor(QObject *parent) : CXRiteOptionSensor(parent)
{
    if (BindLibrary())
        m_open = Open() == sensor_status::kOk;
}

CEyeOneDisplaySensor::~CEyeOneDisplaySensor()
{
    if (!m_library)
        return;
    m_library->SetOption("MeasurementMode", "Cleanup");
    m_library = nullptr;
    eyeone_library::release();
}

bool CEyeOneDisplaySensor::BindLibrary()
{
    if (!m_library)
        m_library = eyeone_library::acquire();
    if (!m_library)
        return false;
    m_deviceType = kDeviceType;
    m_measurementMode = 0;
    m_model = kModelFirstGeneration;
    return true;
}

QString CEyeOneDisplaySensor::option(const char *name) const
{
    return libraryText(m_library->GetOption(name));
}

int CEyeOneDisplaySensor::Open()
{
    if (!m_library)
        return sensor_status::kNotOpen;
    m_library->SetOption("DeviceType", kDeviceType);
    if (m_library->IsConnected() != XRITE_SUCCESS)
        return sensor_status::kNotOpen;
    m_library->SetOption("DeviceType", m_deviceType.constData());
    m_model = option("AvailableMeasurementModes").contains(QLatin1String(kAmbientMode)) ? kModelI1Display2
                                                                                         : kModelFirstGeneration;
    int status = applyOptions(kMeasurementSettings);
    if (status != sensor_status::kOk)
        return status;
    chooseModelBySerialNumber();
    m_ambientCapable = m_model >= kModelI1Display2 && m_model <= kModelLyraSensor;
    status = applyOptions(kColourSettings);
    if (status != sensor_status::kOk)
        return status;
    m_measurementMode = kModeEmission;
    return sensor_status::kOk;
}

void CEyeOneDisplaySensor::chooseModelBySerialNumber()
{
    bool converted = false;
    const quint64 serial = option("SerialNumber").trimmed().toULongLong(&converted, 10);
    if (!converted)
        return;
    for (const serial_range &range : kSerialRanges) {
        if (serial >= range.first && serial < range.end)
            m_model = range.model;
    }
}

int CEyeOneDisplaySensor::setLibraryOption(const char *name, const char *value)
{
    return m_library->SetOption(name, value);
}

int CEyeOneDisplaySensor::triggerLibraryMeasurement()
{
    return m_library->TriggerMeasurement();
}

int CEyeOneDisplaySensor::readLibraryTriStimulus(float xyz[3])
{
    return m_library->GetTriStimulus(xyz, 0);
}

QString CEyeOneDisplaySensor::GetName()
{
    return QLatin1String(names_of(m_model).name);
}

QString CEyeOneDisplaySensor::GetShortName()
{
    return QLatin1String(names_of(m_model).shortName);
}

QString CEyeOneDisplaySensor::GetSerialNumber()
{
    if (!m_open)
        return QString();
    return option("SerialNumber");
}

int CEyeOneDisplaySensor::SetMeasurementMode(int mode)
{
    return changeMode(mode, m_library != nullptr, kModes);
}

int CEyeOneDisplaySensor::Calibrate()
{
    if (!m_open)
        return sensor_status::kNotOpen;
    if (m_model != kModelFirstGeneration)
        return sensor_status::kOk;
    m_calibrated = false;
    if (m_library->Calibrate() != XRITE_SUCCESS)
        return sensor_status::kCalibrationFailed;
    m_calibrated = true;
    return sensor_status::kOk;
}

int CEyeOneDisplaySensor::MeasureXYZ(unsigned count)
{
    return measureEmission(count, 0);
}

int CEyeOneDisplaySensor::SetDisplayType(int flag, int displayType)
{
    m_displayFlag = flag;
    if (!m_open)
        return sensor_status::kNotOpen;
    const bool wideGamutFamily = m_model == kModelBrandedWideGamut || m_model == kModelLyraSensor;
    const bool crt = wideGamutFamily ? displayType == 1 : flag == 0;
    return applyOptions({{"ScreenType", crt ? "CRT" : "LCD", sensor_status::kFailed},
                         {"DisplayMeasureType", "DisplayMeasureTimeVarying", sensor_status::kFailed}});
}

bool CEyeOneDisplaySensor::GetUsbIds(quint16 &vendorId, quint16 &productId)
{
    vendorId = kVendorId;
    productId = kProductId;
    return true;
}

int CEyeOneDisplaySensor::GetPlacementInfo(SensorPlacementInfo &info)
{
    info.displayPicture = kSensorPictures + QLatin1String(names_of(m_model).displayPicture);
    info.calibrationPicture = kSensorPictures + QStringLiteral("ione display v1 zero cal.png");
    info.ambientPicture = kSensorPictures + QStringLiteral("iOneV2AmbientLightMeasurement.png");
    info.iconPicture = kSensorPictures + QStringLiteral("sensor icon_i1d2.png");
    info.ambientMessage = tr("Attach the white plastic diffuser to the sensor as shown and direct the sensor away "
                             "from the display.");
    info.calibrationMessage = tr("Place the device on a flat surface so that light cannot reach the sensor.");
    info.beforeDisplayMessage = tr("<html>Detach the white plastic diffuser from the sensor before taking any "
                                   "measurements.<br><br><center><img src=\":/images/Resources/ione cover "
                                   "removal.png\"></center></html>");
    return 0;
}

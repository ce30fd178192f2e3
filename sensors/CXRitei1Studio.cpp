#include "sensors/CXRitei1Studio.h"

#include "sensors/sensor_status.h"

#include <QImage>
#include <QPainter>

namespace {

const std::vector<CXRiteOptionSensor::mode_options> kModes = {
    {1,
     {{"Colorimetric.Illumination", "Emission", sensor_status::kWrongMode},
      {"Colorimetric.Observer", "TwoDegree", sensor_status::kNotOpen},
      {"ColorSpaceDescription.Type", "CIEXYZ", sensor_status::kWrongMode},
      {"MeasurementMode", "SingleEmission", sensor_status::kWrongMode}}},
    {2,
     {{"MeasurementMode", "SingleAmbientLight", sensor_status::kWrongMode},
      {"Colorimetric.Illumination", "Emission", sensor_status::kWrongMode},
      {"ColorSpaceDescription.Type", "CIEXYZ", sensor_status::kWrongMode}}},
};

// The dial's codes, the selector positions they stand for and the dial's
// picture there.
struct dial_position
{
    int code;
    int position;
    const char *picture;
};

const dial_position kDialPositions[] = {
    {I1STUDIO_DIAL_DISPLAY, CSensor::kSelectorDisplay, "SumoEmissiveBlack.png"},
    {I1STUDIO_DIAL_CALIBRATE, CSensor::kSelectorCalibration, "SumoCalibrateBlack.png"},
    {I1STUDIO_DIAL_FOURTH, CSensor::kSelectorFourth, "SumoProjectorBlack.png"},
    {I1STUDIO_DIAL_AMBIENT, CSensor::kSelectorAmbient, "SumoAmbientBlack.png"},
};
const char kUnknownDialPicture[] = "SumoProjectorBlack.png";
constexpr int kUnknownPosition = -1;

const dial_position *dial_for_code(int code)
{
    for (const dial_position &dial : kDialPositions) {
        if (dial.code == code)
            return &dial;
    }
    return nullptr;
}

// The mark of a wanted selector position, and the arrows that turn the dial
// there: from below when coming from the display position, else from above.
struct selector_mark
{
    int position;
    const char *target;
    const char *arrowFromDisplay;
    const char *arrowFromElsewhere;
};

const selector_mark kSelectorMarks[] = {
    {CSensor::kSelectorDisplay, "TargetEmissive.png", "ArrowEmissiveFromAbove.png", "ArrowEmissiveFromAbove.png"},
    {CSensor::kSelectorCalibration, "TargetCalibrate.png", "ArrowCalibrateFromBelow.png", "ArrowCalibrateFromAbove.png"},
    {CSensor::kSelectorAmbient, "TargetAmbient.png", "ArrowAmbientFromBelow.png", "ArrowAmbientFromBelow.png"},
};

struct device_state
{
    int code;
    int state;
};

const device_state kDeviceStates[] = {
    {I1STUDIO_STATE_READY, 1},
    {I1STUDIO_STATE_BUSY, 0},
};

struct model_identity
{
    const char *name;
    const char *shortName;
    quint16 vendorId;
    quint16 productId;
};

const model_identity kI1StudioIdentity = {"X-Rite i1Studio", "i1Studio", 0x0765, 0x6008};
const model_identity kColorMunkiIdentity = {"X-Rite ColorMunki", "ColorMunki", 0x0971, 0x2007};

} // namespace

CXRitei1Studio::CXRitei1Studio(QObject *parent) : CXRiteOptionSensor(parent)
{
    if (!m_library.load())
        return;
    m_open = Open() == sensor_status::kOk;
    if (m_open)
        m_callbackRegistered = m_library.RegisterEventCallback(&CXRitei1Studio::OnDeviceEvent, this) == XRITE_SUCCESS;
}

CXRitei1Studio::~CXRitei1Studio()
{
    if (!m_open)
        return;
    // After this no callback runs, so none can reach a driver half gone;
    // events already queued die with the object.
    if (m_callbackRegistered)
        m_library.UnregisterEventCallback();
    m_library.SetOption("Reset", "All");
}

void CXRitei1Studio::OnDeviceEvent(void *context, int32_t event, int32_t value)
{
    if (event != I1STUDIO_EVENT_DIAL || !context)
        return;
    auto *driver = static_cast<CXRitei1Studio *>(context);
    QMetaObject::invokeMethod(
        driver, [driver, value] { driver->EmitSelectorPosition(value); }, Qt::QueuedConnection);
}

void CXRitei1Studio::EmitSelectorPosition(int dialCode)
{
    emit SensorMeasurementSelectorPositionChanged(dialCode);
}

int CXRitei1Studio::Open()
{
    if (m_library.CheckConnection() != 0)
        return sensor_status::kNotOpen;
    const QString version = libraryText(m_library.GetOption("VersionString"));
    m_model = version.contains(QLatin1String("i1Studio"), Qt::CaseInsensitive) ? kModelI1Studio : kModelColorMunki;
    if (SetMeasurementMode(kModeEmission) != sensor_status::kOk)
        return sensor_status::kNotOpen;
    m_ambientCapable = true;
    return sensor_status::kOk;
}

bool CXRitei1Studio::connected()
{
    return m_library.isLoaded() && m_library.CheckConnection() == 0;
}

int CXRitei1Studio::dialCode()
{
    return m_library.GetDialPosition();
}

int CXRitei1Studio::setLibraryOption(const char *name, const char *value)
{
    return m_library.SetOption(name, value);
}

int CXRitei1Studio::triggerLibraryMeasurement()
{
    return m_library.TriggerMeasurement();
}

int CXRitei1Studio::readLibraryTriStimulus(float xyz[3])
{
    return m_library.GetTriStimulus(xyz, 0);
}

int CXRitei1Studio::GetMeasurementSelectorPosition()
{
    if (!connected())
        return sensor_status::kNotOpen;
    const dial_position *dial = dial_for_code(dialCode());
    return dial ? dial->position : kUnknownPosition;
}

int CXRitei1Studio::GetDeviceState()
{
    if (!connected())
        return sensor_status::kNotOpen;
    const int code = m_library.GetDeviceState();
    for (const device_state &state : kDeviceStates) {
        if (state.code == code)
            return state.state;
    }
    return -1;
}

QString CXRitei1Studio::GetName()
{
    return QLatin1String(m_model == kModelI1Studio ? kI1StudioIdentity.name : kColorMunkiIdentity.name);
}

QString CXRitei1Studio::GetShortName()
{
    return QLatin1String(m_model == kModelI1Studio ? kI1StudioIdentity.shortName : kColorMunkiIdentity.shortName);
}

QString CXRitei1Studio::GetSerialNumber()
{
    if (!m_open)
        return QString();
    return libraryText(m_library.GetOption("SerialNumber"));
}

int CXRitei1Studio::SetMeasurementMode(int mode)
{
    if (!m_library.isLoaded())
        return sensor_status::kWrongMode;
    // A calibration holds for the mode it was made in.
    if (mode != m_measurementMode)
        m_calibrated = false;
    const int status = applyMode(mode, kModes);
    if (status != sensor_status::kOk)
        return status;
    m_measurementMode = mode;
    return sensor_status::kOk;
}

int CXRitei1Studio::Calibrate()
{
    if (!m_open)
        return sensor_status::kNotOpen;
    if (dialCode() != I1STUDIO_DIAL_CALIBRATE)
        return sensor_status::kSelectorPosition;
    m_calibrated = false;
    if (m_library.Calibrate() != XRITE_SUCCESS)
        return sensor_status::kCalibrationFailed;
    m_calibrated = true;
    return sensor_status::kOk;
}

int CXRitei1Studio::MeasureXYZ(unsigned)
{
    if (!m_open)
        return sensor_status::kNotOpen;
    if (dialCode() != I1STUDIO_DIAL_DISPLAY)
        return sensor_status::kSelectorPosition;
    const int status = measureEmission(1, 0);
    if (status != sensor_status::kOk)
        return status;
    // Noise around black can average below zero; no light is negative.
    m_lastReading.X = qMax(m_lastReading.X, 0.0);
    m_lastReading.Y = qMax(m_lastReading.Y, 0.0);
    m_lastReading.Z = qMax(m_lastReading.Z, 0.0);
    return sensor_status::kOk;
}

int CXRitei1Studio::MeasureAmbient()
{
    if (!m_open)
        return sensor_status::kNotOpen;
    if (dialCode() != I1STUDIO_DIAL_AMBIENT)
        return sensor_status::kSelectorPosition;
    return CXRiteOptionSensor::MeasureAmbient();
}

bool CXRitei1Studio::GetUsbIds(quint16 &vendorId, quint16 &productId)
{
    const model_identity &identity = m_model == kModelI1Studio ? kI1StudioIdentity : kColorMunkiIdentity;
    vendorId = identity.vendorId;
    productId = identity.productId;
    return true;
}

QImage CXRitei1Studio::GetMeasurementSelectorPixmap(int position)
{
    const dial_position *current = m_library.isLoaded() ? dial_for_code(dialCode()) : nullptr;
    const QImage dial(kSensorPictures + QLatin1String(current ? current->picture : kUnknownDialPicture));
    if (dial.isNull())
        return QImage();
    QImage image(dial.size(), QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&image);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.fillRect(image.rect(), Qt::transparent);
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    painter.drawImage(0, 0, dial);
    const int currentPosition = current ? current->position : kUnknownPosition;
    for (const selector_mark &mark : kSelectorMarks) {
        if (mark.position != position)
            continue;
        painter.drawImage(0, 0, QImage(kSensorPictures + QLatin1String(mark.target)));
        if (currentPosition != position) {
            const char *arrow = currentPosition == kSelectorDisplay ? mark.arrowFromDisplay : mark.arrowFromElsewhere;
            painter.drawImage(0, 0, QImage(kSensorPictures + QLatin1String(arrow)));
        }
    }
    painter.end();
    return image;
}

int CXRitei1Studio::GetPlacementInfo(SensorPlacementInfo &info)
{
    info.displayPicture = kSensorPictures + QStringLiteral("color munki outline.png");
    info.ambientPicture = kSensorPictures + QStringLiteral("color munki ambient measure.png");
    info.selectorToAmbientPicture = kSensorPictures + QStringLiteral("SumoAmbientBlack.png");
    info.selectorToDisplayPicture = kSensorPictures + QStringLiteral("SumoEmissiveBlack.png");
    info.calibrationPicture = kSensorPictures + QStringLiteral("SumoCalibrateBlack.png");
    info.iconPicture = kSensorPictures + QStringLiteral("sensor icon_colormunki.png");
    info.ambientMessage = tr("Take the device out of the holder bag to uncover the the ambient light sensor and "
                             "direct it away from the display.");
    info.selectorMessage = tr("<br><br>Turn the instrument dial to the position indicated.");
    info.beforeAmbientMessage = info.selectorMessage;
    info.calibrationMessage = tr("Turn the instrument dial to the calibrate position.");
    return 0;
}

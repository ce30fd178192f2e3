#include "app/services/preferences.h"

#include "app/services/english_locale.h"
#include "app/services/folders.h"
#include "app/services/measurement_preferences.h"
#include "app/services/save_file.h"
#include "app/services/serial_ports.h"
#include "app/services/shell_registry.h"
#include "app/services/string_resource.h"
#include "colour/luminance_units.h"
#include "colour/stream_record.h"

#include <QDataStream>
#include <QDir>
#include <QFile>

#include <algorithm>
#include <cstdio>
#include <iterator>

namespace {

// Upper bounds for the counted lists; the bytes left in the file bound them
// further before anything is allocated.
constexpr qint32 kMaxSuppressedMessages = 100000;
constexpr qint32 kMaxRecentFiles = 10000;

constexpr quint8 kSettingsBytes1To4[4] = {14, 2, 1, 1};
constexpr quint8 kSettingsBytes7To9[3] = {0, 1, 1};
constexpr quint8 kSettingsBytes10To11[2] = {1, 1};
constexpr quint8 kSettingsBytes12To35[24] = {0, 0, 1, 0, 1, 0, 0, 0, 0, 0, 1, 0,
                                             1, 1, 1, 1, 1, 1, 1, 0, 0, 0, 0, 0};
constexpr int kUnsetPosition = 99999;

template <typename T, size_t N> void copy_array(T (&to)[N], const T (&from)[N])
{
    std::copy(std::begin(from), std::end(from), std::begin(to));
}

// Stream directions for the one field list: a reader stops touching the
// record once the stream has failed, and bounds every count it reads.
class field_reader
{
public:
    explicit field_reader(QDataStream &stream) : m_stream(stream) {}

    template <typename T> void operator()(T &value)
    {
        if (ok())
            m_stream >> value;
    }
    template <typename T, size_t N> void operator()(T (&values)[N])
    {
        for (T &value : values)
            (*this)(value);
    }
    void operator()(QLocale &locale)
    {
        QString name;
        (*this)(name);
        if (ok())
            locale = QLocale(name);
    }
    // One byte in the file, zero-extended into the 32-bit member.
    void low_byte(qint32 &word)
    {
        quint8 byte = 0;
        (*this)(byte);
        if (ok())
            word = byte;
    }
    void counted(QList<int> &ids)
    {
        ids.clear();
        readCounted(ids, kMaxSuppressedMessages, sizeof(qint32));
    }
    void counted(QStringList &texts)
    {
        texts.clear();
        readCounted(texts, kMaxRecentFiles, sizeof(quint32));
    }

private:
    bool ok() const { return m_stream.status() == QDataStream::Ok; }

    template <typename List> void readCounted(List &list, qint32 maxCount, qint64 minElementBytes)
    {
        qint32 count = 0;
        if (!ok() || !stream_record::read_count(m_stream, &count, maxCount, minElementBytes))
            return;
        for (qint32 i = 0; i < count && ok(); ++i) {
            typename List::value_type value{};
            m_stream >> value;
            if (ok())
                list.append(value);
        }
    }

    QDataStream &m_stream;
};

class field_writer
{
public:
    explicit field_writer(QDataStream &stream) : m_stream(stream) {}

    template <typename T> void operator()(const T &value) { m_stream << value; }
    template <typename T, size_t N> void operator()(const T (&values)[N])
    {
        for (const T &value : values)
            m_stream << value;
    }
    void operator()(const QLocale &locale) { m_stream << locale.name(); }
    void low_byte(const qint32 &word) { m_stream << static_cast<quint8>(word & 0xFF); }
    void counted(const QList<int> &ids)
    {
        m_stream << static_cast<qint32>(ids.size());
        for (int id : ids)
            m_stream << static_cast<qint32>(id);
    }
    void counted(const QStringList &texts)
    {
        m_stream << static_cast<qint32>(texts.size());
        for (const QString &text : texts)
            m_stream << text;
    }

private:
    QDataStream &m_stream;
};

} // namespace

CPreferences::CPreferences() : m_defaultsRestored(false)
{
    SetDefaults();
    Load();
    shell_registry::claim_preferences(this);
    publishSettings();
}

CPreferences::~CPreferences()
{
    Save();
    if (shell_registry::preferences() == this) {
        luminance_units::set_uses_foot_lamberts(false);
        measurement_preferences::set_low_light_averaging(false);
    }
    shell_registry::release_preferences(this);
}

QString CPreferences::FilePath()
{
    return application_data_folder() + QLatin1Char('/') + string_resource(string_id::kPreferencesFileName);
}

int CPreferences::SetDefaults()
{
    m_version = kVersion;
    copy_array(m_settingsBytes1To4, kSettingsBytes1To4);
    m_settingWord5 = 0;
    m_calibrationSteps = 32;
    m_settingsByte6 = 1;
    m_brightnessControlMode = 0;
    m_lowLightAveraging = 0;
    copy_array(m_settingsBytes7To9, kSettingsBytes7To9);
    m_luminanceUnits = 0;
    copy_array(m_settingsBytes10To11, kSettingsBytes10To11);
    m_position1 = QPoint(kUnsetPosition, kUnsetPosition);
    m_position2 = QPoint(kUnsetPosition, kUnsetPosition);
    QStringList ports;
    list_com_port_names(ports);
    m_serialPortName = ports.value(0);
    copy_array(m_settingsBytes12To35, kSettingsBytes12To35);
    m_extendedLuminanceStabilization = 0;
    m_calibrationMethod = 0;
    m_flags = kFlagPlayVoicePrompts | kFlagUseTextToSpeech;
    m_backlightType = 0;
    m_mainWindowGeometry.clear();
    m_mainWindowState.clear();
    m_informationDialogGeometry.clear();
    m_suppressedMessages.clear();
    m_recentFiles.clear();
    m_lastUpdateCheck = QDateTime();
    m_autoCheckForUpdates = 1;
    m_font = QFont(QStringLiteral("Helvetica"), 10);
    resetPreVersion124Fields();
    m_engineUniformity = 11;
    m_autoSetClock = 1;
    m_speechVoiceIndex = 0;
    m_settingsByte36 = 0;
    for (QString &text : m_texts)
        text = QString();
    m_uniformityPointCounts = 0;
    m_numbers2To3[0] = m_numbers2To3[1] = 0;
    m_speechLocale = english_locale();
    publishSettings();
    return 0;
}

// The fields that files before version 124 cannot be trusted with.
void CPreferences::resetPreVersion124Fields()
{
    m_calibrationSteps = 32;
    m_calibrationMethod = 0;
    m_flags = kFlagPlayVoicePrompts | kFlagUseTextToSpeech;
    m_mainWindowGeometry.clear();
    m_mainWindowState.clear();
    m_informationDialogGeometry.clear();
    m_programmableGammaNumber = 1;
    m_measureAfterCalibration = 0;
    m_useInternalEngine = 1;
    m_enginePictureMode = 1;
    m_expandMainView = 0;
    m_engineColorGamut = 1;
}

int CPreferences::Load()
{
    QFile file(FilePath());
    if (!file.open(QIODevice::ReadOnly)) {
        SetDefaults();
        m_loadResult = kErrOpen;
        m_unreadableFile = file.exists();
        return kErrOpen;
    }
    QDataStream stream(&file);
    stream_record::prepare(stream);
    m_loadResult = Read(stream);
    m_unreadableFile = m_loadResult != 0;
    if (m_loadResult != 0)
        SetDefaults();
    return m_loadResult;
}

QString CPreferences::UnreadableFilePath(int loadResult)
{
    return FilePath()
           + (loadResult == stream_record::kErrVersion ? QStringLiteral(".newer-version")
                                                       : QStringLiteral(".unreadable"));
}

// Replaces an older copy kept aside for the same reason.
int CPreferences::moveUnreadableFileAside()
{
    if (!m_unreadableFile)
        return 0;
    const QByteArray from = QFile::encodeName(FilePath());
    const QByteArray to = QFile::encodeName(UnreadableFilePath(m_loadResult));
    if (QFile::exists(FilePath()) && std::rename(from.constData(), to.constData()) != 0)
        return stream_record::kErrWrite;
    m_unreadableFile = false;
    return 0;
}

int CPreferences::Save()
{
    // A fresh account has no application folder yet.
    const QString folder = application_data_folder();
    if (!QDir().mkpath(folder))
        return kErrOpen;
    const int aside = moveUnreadableFileAside();
    if (aside != 0)
        return aside;
    return save_stream_file(FilePath(), [this](QDataStream &stream) { return Write(stream); });
}

template <typename Io> void CPreferences::transferFields(Io &io, qint32 version)
{
    io(m_settingsBytes1To4);
    io.low_byte(m_settingWord5);
    io(m_calibrationSteps);
    io(m_settingsByte6);
    io(m_brightnessControlMode);
    io(m_lowLightAveraging);
    io(m_settingsBytes7To9);
    io(m_luminanceUnits);
    io(m_settingsBytes10To11);
    io(m_position1);
    io(m_position2);
    io(m_serialPortName);
    io(m_settingsBytes12To35);
    io(m_extendedLuminanceStabilization);
    io(m_calibrationMethod);
    io(m_flags);
    io(m_backlightType);
    io(m_mainWindowGeometry);
    io(m_mainWindowState);
    io(m_informationDialogGeometry);
    if (version >= 121) {
        io.counted(m_suppressedMessages);
        io.counted(m_recentFiles);
        io(m_lastUpdateCheck);
        io(m_autoCheckForUpdates);
    }
    if (version >= 122)
        io(m_font);
    if (version >= 123) {
        io(m_programmableGammaNumber);
        io(m_measureAfterCalibration);
        io(m_useInternalEngine);
        io(m_enginePictureMode);
        io(m_expandMainView);
        io(m_engineColorGamut);
        io(m_texts);
        io(m_uniformityPointCounts);
        io(m_numbers2To3);
    }
    if (version >= 124) {
        io(m_engineUniformity);
        io(m_autoSetClock);
        io(m_speechVoiceIndex);
        io(m_settingsByte36);
        io(m_speechLocale);
    }
}

int CPreferences::Read(QDataStream &stream)
{
    // Versions compare as unsigned numbers: a negative one counts as too new.
    qint32 version = 0;
    const int header = stream_record::read_header(stream, kMagic, 0, kVersion, &version);
    if (header != stream_record::kOk)
        return header;
    field_reader reader(stream);
    transferFields(reader, version);
    if (version < kVersion)
        resetPreVersion124Fields();
    publishSettings();
    return stream_record::read_status(stream);
}

int CPreferences::Write(QDataStream &stream)
{
    // Restored defaults also forget the window layout.
    if (m_defaultsRestored) {
        m_mainWindowGeometry.clear();
        m_mainWindowState.clear();
        m_informationDialogGeometry.clear();
    }
    const int header = stream_record::write_header(stream, kMagic, kVersion);
    if (header != stream_record::kOk)
        return header;
    field_writer writer(stream);
    transferFields(writer, kVersion);
    return stream_record::write_status(stream);
}

bool CPreferences::IsMessageSuppressed(int id) const
{
    return m_suppressedMessages.contains(id);
}

void CPreferences::SuppressMessage(int id)
{
    if (!m_suppressedMessages.contains(id))
        m_suppressedMessages.append(id);
}

QString CPreferences::GetSerialPortName() const
{
    if (!m_serialPortName.isEmpty())
        return m_serialPortName;
    QStringList ports;
    list_com_port_names(ports);
    return ports.isEmpty() ? QStringLiteral("COM1") : ports.first();
}

void CPreferences::SetLuminanceUnits(quint8 units)
{
    m_luminanceUnits = units;
    publishSettings();
}

// Only the program's record decides what every layer and thread follows.
void CPreferences::publishSettings() const
{
    if (shell_registry::preferences() != this)
        return;
    luminance_units::set_uses_foot_lamberts(m_luminanceUnits == 1);
    measurement_preferences::set_low_light_averaging(m_lowLightAveraging != 0);
}

#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QFont>
#include <QList>
#include <QLocale>
#include <QPoint>
#include <QString>
#include <QStringList>

class QDataStream;

// The preferences record. It loads its file when it is constructed and
// writes it back when it is destroyed; nothing else writes the file. A file
// that exists but cannot be read (damaged, or from a newer version) is never
// overwritten: the next save first moves it aside under a name that says
// why (UnreadableFilePath). The first record alive is the program's one
// (shell_registry::preferences()): the luminance unit it selects is the one
// every layer formats with, and the measurement settings it holds are the
// ones the sensor drivers follow; both are published as atomic values. The
// record itself is not guarded and belongs to the user-interface thread.
class CPreferences
{
public:
    static constexpr qint32 kMagic = 0xFEAB;
    static constexpr qint32 kVersion = 124;

    enum Code {
        kErrOpen = -1500,
    };

    CPreferences();
    ~CPreferences();
    CPreferences(const CPreferences &) = delete;
    CPreferences &operator=(const CPreferences &) = delete;

    // <application data folder>/preferences.dat
    static QString FilePath();

    int SetDefaults();
    // 0, or -1500 / -1501 / -1502 / -1503 with the defaults in force.
    int Load();
    // 0, -1500 when the file cannot be opened, -1504 when it cannot be
    // written or an unreadable file cannot be moved aside; the previous file
    // stays untouched on any failure.
    int Save();
    // The result of the last Load.
    int GetLoadResult() const { return m_loadResult; }
    // True while a file that the last Load could not read waits to be moved aside.
    bool HasUnreadableFile() const { return m_unreadableFile; }
    // Where an unreadable file is kept: "preferences.dat.newer-version" for a
    // file of a newer version (-1501), else "preferences.dat.unreadable".
    static QString UnreadableFilePath(int loadResult);
    int Read(QDataStream &stream);
    int Write(QDataStream &stream);

    bool IsMessageSuppressed(int id) const;
    void SuppressMessage(int id);

    QString GetSerialPortName() const;

    // Settings that their users read directly.
    quint8 GetCalibrationSteps() const { return m_calibrationSteps; }
    quint8 GetBrightnessControlMode() const { return m_brightnessControlMode; }
    bool GetLowLightAveraging() const { return m_lowLightAveraging != 0; }
    quint8 GetLuminanceUnits() const { return m_luminanceUnits; }
    quint8 GetCalibrationMethod() const { return m_calibrationMethod; }
    bool GetExtendedLuminanceStabilizationTime() const { return m_extendedLuminanceStabilization != 0; }
    bool GetAutoCheckForUpdates() const { return m_autoCheckForUpdates != 0; }
    QList<int> GetSuppressedMessages() const { return m_suppressedMessages; }
    QStringList GetRecentFiles() const { return m_recentFiles; }
    QDateTime GetLastUpdateCheck() const { return m_lastUpdateCheck; }

    void SetCalibrationSteps(quint8 steps) { m_calibrationSteps = steps; }
    void SetBrightnessControlMode(quint8 mode) { m_brightnessControlMode = mode; }
    void SetLuminanceUnits(quint8 units);
    void SetCalibrationMethod(quint8 method) { m_calibrationMethod = method; }
    void SetExtendedLuminanceStabilizationTime(bool on) { m_extendedLuminanceStabilization = on; }
    void SetAutoCheckForUpdates(bool on) { m_autoCheckForUpdates = on; }
    void SetRecentFiles(const QStringList &files) { m_recentFiles = files; }
    void SetLastUpdateCheck(const QDateTime &when) { m_lastUpdateCheck = when; }
    void SetDefaultsRestored(bool restored) { m_defaultsRestored = restored; }

    bool GetAutoSetRealTimeClock() const { return m_autoSetClock != 0; }
    void SetAutoSetRealTimeClock(bool on) { m_autoSetClock = on; }
    quint8 GetQuillonColorGamut() const { return m_engineColorGamut; }
    void SetQuillonColorGamut(quint8 gamut) { m_engineColorGamut = gamut; }
    quint8 GetQuillonUniformity() const { return m_engineUniformity; }
    void SetQuillonUniformity(quint8 uniformity) { m_engineUniformity = uniformity; }
    quint8 GetQuillonPictureModeNumber() const { return m_enginePictureMode; }
    void SetQuillonPictureModeNumber(quint8 mode) { m_enginePictureMode = mode; }
    bool GetUseQuillonEngine() const { return m_useInternalEngine != 0; }
    void SetUseQuillonEngine(bool on) { m_useInternalEngine = on; }
    quint8 GetProgrammableGammaNumber() const { return m_programmableGammaNumber; }
    void SetProgrammableGammaNumber(quint8 number) { m_programmableGammaNumber = number; }
    bool GetMeasureDisplaysAfterCalibration() const { return m_measureAfterCalibration != 0; }
    void SetMeasureDisplaysAfterCalibration(bool on) { m_measureAfterCalibration = on; }
    bool GetExpandMainView() const { return m_expandMainView != 0; }
    void SetExpandMainView(bool on) { m_expandMainView = on; }
    quint8 GetBacklightType() const { return m_backlightType; }
    void SetBacklightType(quint8 type) { m_backlightType = type; }
    QFont GetFont() const { return m_font; }
    void SetFont(const QFont &font) { m_font = font; }
    QByteArray GetMainWindowGeometry() const { return m_mainWindowGeometry; }
    void SetMainWindowGeometry(const QByteArray &geometry) { m_mainWindowGeometry = geometry; }
    QByteArray GetMainWindowState() const { return m_mainWindowState; }
    void SetMainWindowState(const QByteArray &state) { m_mainWindowState = state; }
    QByteArray GetInformationDialogGeometry() const { return m_informationDialogGeometry; }
    void SetInformationDialogGeometry(const QByteArray &geometry) { m_informationDialogGeometry = geometry; }
    QLocale GetTextToSpeechLocale() const { return m_speechLocale; }
    void SetTextToSpeechLocale(const QLocale &locale) { m_speechLocale = locale; }
    quint8 GetTextToSpeechVoice() const { return m_speechVoiceIndex; }
    void SetTextToSpeechVoice(quint8 index) { m_speechVoiceIndex = index; }
    // Low byte: horizontal points, next byte: vertical points.
    qint32 GetUniformityPointCounts() const { return m_uniformityPointCounts; }
    void SetUniformityPointCounts(qint32 counts) { m_uniformityPointCounts = counts; }

    bool GetPlayVoicePromptAudio() const { return flag(kFlagPlayVoicePrompts); }
    void SetPlayVoicePromptAudio(bool on) { setFlag(kFlagPlayVoicePrompts, on); }
    bool GetUseTextToSpeechEngine() const { return flag(kFlagUseTextToSpeech); }
    void SetUseTextToSpeechEngine(bool on) { setFlag(kFlagUseTextToSpeech, on); }
    bool GetSpeechEngineChoiceMade() const { return flag(kFlagSpeechChoiceMade); }
    void SetSpeechEngineChoiceMade(bool on) { setFlag(kFlagSpeechChoiceMade, on); }

private:
    enum Flag : quint8 {
        kFlagPlayVoicePrompts = 0x01,
        kFlagUseTextToSpeech = 0x02,
        kFlagSpeechChoiceMade = 0x04,
    };

    bool flag(Flag bit) const { return (m_flags & bit) != 0; }
    void setFlag(Flag bit, bool on) { m_flags = on ? (m_flags | bit) : (m_flags & ~bit); }
    void resetPreVersion124Fields();
    // Publishes the settings that other layers and threads read as atomic values.
    void publishSettings() const;
    int moveUnreadableFileAside();
    template <typename Io> void transferFields(Io &io, qint32 version);

    qint32 m_version;
    quint8 m_settingsBytes1To4[4];
    qint32 m_settingWord5;
    quint8 m_calibrationSteps;
    quint8 m_settingsByte6;
    quint8 m_brightnessControlMode;
    quint8 m_lowLightAveraging;
    quint8 m_settingsBytes7To9[3];
    quint8 m_luminanceUnits;
    quint8 m_settingsBytes10To11[2];
    QPoint m_position1;
    QPoint m_position2;
    QString m_serialPortName;
    quint8 m_settingsBytes12To35[24];
    quint8 m_extendedLuminanceStabilization;
    quint8 m_calibrationMethod;
    quint8 m_flags;
    quint8 m_backlightType;
    QByteArray m_mainWindowGeometry;
    QByteArray m_mainWindowState;
    QByteArray m_informationDialogGeometry;
    QList<int> m_suppressedMessages;
    QStringList m_recentFiles;
    QDateTime m_lastUpdateCheck;
    quint8 m_autoCheckForUpdates;
    QFont m_font;
    quint8 m_programmableGammaNumber;
    quint8 m_measureAfterCalibration;
    quint8 m_useInternalEngine;
    quint8 m_enginePictureMode;
    quint8 m_expandMainView;
    quint8 m_engineColorGamut;
    quint8 m_engineUniformity;
    quint8 m_autoSetClock;
    quint8 m_speechVoiceIndex;
    quint8 m_settingsByte36;
    QString m_texts[3];
    qint32 m_uniformityPointCounts;
    qint32 m_numbers2To3[2];
    QLocale m_speechLocale;
    bool m_defaultsRestored;
    int m_loadResult = 0;
    bool m_unreadableFile = false;
};

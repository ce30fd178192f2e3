#include "app/services/folders.h"
#include "app/services/preferences.h"
#include "app/services/shell_registry.h"
#include "colour/luminance_units.h"
#include "preferences_file_builder.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <memory>
#include <sys/resource.h>

namespace {

QByteArray read_file(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool write_file(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QByteArray written_by(CPreferences &preferences)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QDataStream stream(&buffer);
    stream.setVersion(12);
    preferences.Write(stream);
    return bytes;
}

// A file whose every field differs from its default.
preferences_fields unusual_fields()
{
    preferences_fields f;
    f.bytes1To4 = {{9, 8, 7, 6}};
    f.word5LowByte = 0xC5;
    f.calibrationSteps = 64;
    f.byte6 = 4;
    f.brightnessMode = 2;
    f.lowLightAveraging = 1;
    f.bytes7To9 = {{5, 4, 3}};
    f.luminanceUnits = 1;
    f.bytes10To11 = {{7, 7}};
    f.position1 = QPoint(-10, 20);
    f.position2 = QPoint(300, -400);
    f.serialPort = QStringLiteral("COM7");
    for (size_t i = 0; i < f.bytes12To35.size(); ++i)
        f.bytes12To35[i] = quint8(100 + i);
    f.extendedStabilisation = 1;
    f.calibrationMethod = 1;
    f.flags = 0x04;
    f.backlightType = 2;
    f.mainWindowGeometry = QByteArray("geometry");
    f.mainWindowState = QByteArray("state");
    f.informationDialogGeometry = QByteArray("dialog");
    f.suppressed = {1, 4, 1100};
    f.recentFiles = QStringList{QStringLiteral("/a/x.tslw"), QStringLiteral("/b/y.tslw")};
    f.lastUpdateCheck = QDateTime(QDate(2020, 5, 6), QTime(7, 8, 9), Qt::UTC);
    f.autoUpdateCheck = 0;
    f.font = QFont(QStringLiteral("Courier"), 14);
    f.engineBytes = {{3, 1, 0, 5, 1, 6}};
    f.texts = {{QStringLiteral("one"), QStringLiteral("two"), QStringLiteral("three")}};
    f.numbers = {{0x0605, -7, 123456}};
    f.lateBytes = {{20, 0, 2, 9}};
    f.speechLocale = QStringLiteral("de_DE");
    return f;
}

// What a record holds after loading a file of |version| made of |file|.
preferences_fields expected_after_loading(const preferences_fields &file, int version)
{
    preferences_fields e = file;
    const preferences_fields defaults;
    if (version < 121) {
        e.suppressed = defaults.suppressed;
        e.recentFiles = defaults.recentFiles;
        e.lastUpdateCheck = defaults.lastUpdateCheck;
        e.autoUpdateCheck = defaults.autoUpdateCheck;
    }
    if (version < 122)
        e.font = defaults.font;
    if (version < 123) {
        e.texts = defaults.texts;
        e.numbers = defaults.numbers;
    }
    if (version < 124) {
        e.engineBytes = defaults.engineBytes;
        e.lateBytes = defaults.lateBytes;
        e.speechLocale = defaults.speechLocale;
        e.calibrationSteps = defaults.calibrationSteps;
        e.calibrationMethod = defaults.calibrationMethod;
        e.flags = defaults.flags;
        e.mainWindowGeometry = e.mainWindowState = e.informationDialogGeometry = QByteArray();
    }
    return e;
}

} // namespace

class tst_preferences : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void no_file_gives_defaults_and_shutdown_writes_it();
    void default_file_byte_layout();
    void round_trip_of_every_field();
    void older_versions_load_exactly_their_fields_data();
    void older_versions_load_exactly_their_fields();
    void unreadable_files_give_codes_and_defaults_data();
    void unreadable_files_give_codes_and_defaults();
    void truncation_anywhere_gives_pure_defaults();
    void unreadable_file_is_kept_aside_data();
    void unreadable_file_is_kept_aside();
    void unreadable_file_is_never_overwritten_in_place();
    void failed_save_keeps_the_old_file();
    void save_without_a_folder_reports_open_error();
    void restored_defaults_forget_window_layout();
    void suppressed_messages_are_kept_once();
    void flags_change_only_their_bit();
    void empty_serial_port_falls_back_to_first_com_port();
    void program_record_is_the_first_alive();
    void luminance_unit_follows_the_program_record();

private:
    QTemporaryDir m_home;
};

void tst_preferences::initTestCase()
{
    QVERIFY(m_home.isValid());
    qputenv("HOME", m_home.path().toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", (m_home.path() + QStringLiteral("/.config")).toLocal8Bit());
    QVERIFY(CPreferences::FilePath().startsWith(m_home.path() + QStringLiteral("/Documents/Varkel/Tessaline/")));
}

void tst_preferences::init()
{
    QDir(m_home.path() + QStringLiteral("/Documents")).removeRecursively();
    QVERIFY(!shell_registry::preferences());
}

void tst_preferences::no_file_gives_defaults_and_shutdown_writes_it()
{
    {
        CPreferences preferences;
        QCOMPARE(preferences.Load(), -1500);
        QCOMPARE(written_by(preferences), build_preferences_file(preferences_fields(), 124));
    }
    // The folder did not exist: the shutdown save created it.
    const QByteArray file = read_file(CPreferences::FilePath());
    QCOMPARE(file.left(8), QByteArray::fromHex("0000FEAB0000007C"));
}

void tst_preferences::default_file_byte_layout()
{
    { CPreferences preferences; }
    const QByteArray file = read_file(CPreferences::FilePath());

    QByteArray expected = QByteArray::fromHex(
        "0000FEAB" "0000007C"                 // magic, version
        "0E020101" "00" "20" "01" "00" "00"   // bytes 1-4, word 5, steps, byte 6, brightness, low light
        "000101" "00" "0101"                  // bytes 7-9, units, bytes 10-11
        "0001869F0001869F" "0001869F0001869F" // two unset positions
        "00000008" "0043004F004D0031"         // "COM1"
        "000001000100000000000100010101010101010000000000" // bytes 12-35
        "00" "00" "03" "00"                   // stabilisation, method, flags, backlight
        "FFFFFFFF" "FFFFFFFF" "FFFFFFFF"      // three empty byte arrays
        "00000000" "00000000");               // no suppressed messages, no recent files
    QByteArray tail;
    QDataStream s(&tail, QIODevice::WriteOnly);
    s.setVersion(12);
    s << QDateTime() << quint8(1) << QFont(QStringLiteral("Helvetica"), 10);
    expected += tail;
    expected += QByteArray::fromHex(
        "010001010001"                        // gamma number, measure, engine, mode, expand, gamut
        "FFFFFFFF" "FFFFFFFF" "FFFFFFFF"      // three empty texts
        "00000000" "00000000" "00000000"      // point counts, numbers 2 and 3
        "0B010000"                            // uniformity, clock, voice, byte 36
        "0000000A" "0065006E005F00550053");   // "en_US"
    QCOMPARE(file.toHex(), expected.toHex());
}

void tst_preferences::round_trip_of_every_field()
{
    const preferences_fields fields = unusual_fields();
    QVERIFY(write_file(CPreferences::FilePath(), build_preferences_file(fields, 124)));
    {
        CPreferences preferences;
        QCOMPARE(preferences.Load(), 0);
        QCOMPARE(preferences.GetCalibrationSteps(), quint8(64));
        QCOMPARE(preferences.GetBrightnessControlMode(), quint8(2));
        QVERIFY(preferences.GetLowLightAveraging());
        QCOMPARE(preferences.GetLuminanceUnits(), quint8(1));
        QCOMPARE(preferences.GetCalibrationMethod(), quint8(1));
        QVERIFY(preferences.GetExtendedLuminanceStabilizationTime());
        QVERIFY(!preferences.GetAutoCheckForUpdates());
        QCOMPARE(preferences.GetSuppressedMessages(), (QList<int>{1, 4, 1100}));
        QCOMPARE(preferences.GetRecentFiles(), fields.recentFiles);
        QCOMPARE(preferences.GetLastUpdateCheck(), fields.lastUpdateCheck);
        QCOMPARE(preferences.GetFont().family(), QStringLiteral("Courier"));
        QCOMPARE(preferences.GetProgrammableGammaNumber(), quint8(3));
        QVERIFY(preferences.GetMeasureDisplaysAfterCalibration());
        QVERIFY(!preferences.GetUseQuillonEngine());
        QCOMPARE(preferences.GetQuillonPictureModeNumber(), quint8(5));
        QVERIFY(preferences.GetExpandMainView());
        QCOMPARE(preferences.GetQuillonColorGamut(), quint8(6));
        QCOMPARE(preferences.GetQuillonUniformity(), quint8(20));
        QVERIFY(!preferences.GetAutoSetRealTimeClock());
        QCOMPARE(preferences.GetTextToSpeechVoice(), quint8(2));
        QCOMPARE(preferences.GetTextToSpeechLocale(), QLocale(QStringLiteral("de_DE")));
        QCOMPARE(preferences.GetUniformityPointCounts(), 0x0605);
        QCOMPARE(preferences.GetBacklightType(), quint8(2));
        QCOMPARE(preferences.GetMainWindowGeometry(), QByteArray("geometry"));
        QCOMPARE(preferences.GetMainWindowState(), QByteArray("state"));
        QCOMPARE(preferences.GetInformationDialogGeometry(), QByteArray("dialog"));
        QVERIFY(!preferences.GetPlayVoicePromptAudio());
        QVERIFY(!preferences.GetUseTextToSpeechEngine());
        QVERIFY(preferences.GetSpeechEngineChoiceMade());
        QCOMPARE(preferences.GetSerialPortName(), QStringLiteral("COM7"));
    }
    // Shutdown writes back exactly what was read, kept-only fields included.
    QCOMPARE(read_file(CPreferences::FilePath()).toHex(), build_preferences_file(fields, 124).toHex());
}

void tst_preferences::older_versions_load_exactly_their_fields_data()
{
    QTest::addColumn<int>("version");
    for (int version : {0, 100, 120, 121, 122, 123, 124})
        QTest::addRow("v%d", version) << version;
}

void tst_preferences::older_versions_load_exactly_their_fields()
{
    QFETCH(int, version);
    const preferences_fields fields = unusual_fields();
    QVERIFY(write_file(CPreferences::FilePath(), build_preferences_file(fields, version)));
    CPreferences preferences;
    QCOMPARE(preferences.Load(), 0);
    QCOMPARE(written_by(preferences).toHex(),
             build_preferences_file(expected_after_loading(fields, version), 124).toHex());
}

void tst_preferences::unreadable_files_give_codes_and_defaults_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<int>("code");
    const preferences_fields fields = unusual_fields();
    QTest::newRow("wrong magic") << build_preferences_file(fields, 124, 0xFEAC) << -1502;
    QTest::newRow("version 125") << build_preferences_file(fields, 125) << -1501;
    QTest::newRow("negative version") << build_preferences_file(fields, -1) << -1501;
    QTest::newRow("empty file") << QByteArray() << -1503;
    QByteArray hugeCount = build_preferences_file(fields, 120);
    hugeCount += QByteArray::fromHex("7FFFFFFF");
    QTest::newRow("suppressed count beyond the file") << hugeCount << -1503;
    QByteArray negativeCount = build_preferences_file(fields, 120);
    negativeCount += QByteArray::fromHex("FFFFFFF0");
    QTest::newRow("negative suppressed count") << negativeCount << -1503;
}

void tst_preferences::unreadable_files_give_codes_and_defaults()
{
    QFETCH(QByteArray, file);
    QFETCH(int, code);
    // Let the version-120 prefix claim to be version 124, so the count is read.
    if (file.size() > 8 && code == -1503)
        file.replace(4, 4, QByteArray::fromHex("0000007C"));
    QVERIFY(write_file(CPreferences::FilePath(), file));
    CPreferences preferences;
    QCOMPARE(preferences.Load(), code);
    QCOMPARE(written_by(preferences), build_preferences_file(preferences_fields(), 124));
}

void tst_preferences::truncation_anywhere_gives_pure_defaults()
{
    const QByteArray full = build_preferences_file(unusual_fields(), 124);
    const QByteArray defaults = build_preferences_file(preferences_fields(), 124);
    for (int length = 1; length < full.size(); ++length) {
        QVERIFY(write_file(CPreferences::FilePath(), full.left(length)));
        CPreferences preferences;
        const int code = preferences.Load();
        QVERIFY2(code == -1503 || (length < 4 && code == -1502), qPrintable(QString::number(length)));
        QVERIFY2(written_by(preferences) == defaults, qPrintable(QString::number(length)));
    }
}

void tst_preferences::unreadable_file_is_kept_aside_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("asideName");
    const preferences_fields fields = unusual_fields();
    QTest::newRow("newer version") << build_preferences_file(fields, 125) << -1501
                                   << QStringLiteral("preferences.dat.newer-version");
    QTest::newRow("wrong magic") << build_preferences_file(fields, 124, 0xFEAC) << -1502
                                 << QStringLiteral("preferences.dat.unreadable");
    QTest::newRow("cut short") << build_preferences_file(fields, 124).left(40) << -1503
                               << QStringLiteral("preferences.dat.unreadable");
}

void tst_preferences::unreadable_file_is_kept_aside()
{
    QFETCH(QByteArray, file);
    QFETCH(int, code);
    QFETCH(QString, asideName);
    const QString folder = QFileInfo(CPreferences::FilePath()).absolutePath();
    QVERIFY(write_file(CPreferences::FilePath(), file));
    // An older copy kept for the same reason is replaced.
    QVERIFY(write_file(folder + QLatin1Char('/') + asideName, QByteArray("older copy")));
    {
        CPreferences preferences;
        QCOMPARE(preferences.GetLoadResult(), code);
        QVERIFY(preferences.HasUnreadableFile());
        QCOMPARE(CPreferences::UnreadableFilePath(code), folder + QLatin1Char('/') + asideName);
        // Nothing moves before the first save.
        QCOMPARE(read_file(CPreferences::FilePath()), file);
    }
    QCOMPARE(read_file(folder + QLatin1Char('/') + asideName), file);
    QCOMPARE(read_file(CPreferences::FilePath()), build_preferences_file(preferences_fields(), 124));
    {
        // The defaults written read back; the copy kept aside stays as it is.
        CPreferences preferences;
        QCOMPARE(preferences.GetLoadResult(), 0);
        QVERIFY(!preferences.HasUnreadableFile());
    }
    QCOMPARE(read_file(folder + QLatin1Char('/') + asideName), file);
}

void tst_preferences::unreadable_file_is_never_overwritten_in_place()
{
    const QByteArray newer = build_preferences_file(unusual_fields(), 125);
    QVERIFY(write_file(CPreferences::FilePath(), newer));
    // Something the file cannot be moved onto.
    QVERIFY(QDir().mkpath(CPreferences::UnreadableFilePath(-1501) + QStringLiteral("/occupied")));
    {
        CPreferences preferences;
        QCOMPARE(preferences.Save(), -1504);
    }
    QCOMPARE(read_file(CPreferences::FilePath()), newer);
}

void tst_preferences::failed_save_keeps_the_old_file()
{
    const QByteArray old = build_preferences_file(unusual_fields(), 124);
    QVERIFY(write_file(CPreferences::FilePath(), old));
    CPreferences preferences;
    preferences.SetCalibrationSteps(16);

    // Files may not grow beyond 16 bytes: the new file cannot be written.
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit original{};
    QCOMPARE(getrlimit(RLIMIT_FSIZE, &original), 0);
    rlimit tight = original;
    tight.rlim_cur = 16;
    QCOMPARE(setrlimit(RLIMIT_FSIZE, &tight), 0);
    const int code = preferences.Save();
    QCOMPARE(setrlimit(RLIMIT_FSIZE, &original), 0);

    QCOMPARE(code, -1504);
    QCOMPARE(read_file(CPreferences::FilePath()), old);
    QCOMPARE(QDir(QFileInfo(CPreferences::FilePath()).absolutePath()).entryList(QDir::Files),
             QStringList{QStringLiteral("preferences.dat")});
    QCOMPARE(preferences.Save(), 0);
    CPreferences reread;
    QCOMPARE(reread.GetCalibrationSteps(), quint8(16));
}

void tst_preferences::save_without_a_folder_reports_open_error()
{
    // A file where the application folder belongs.
    QVERIFY(write_file(application_data_folder(), QByteArray("in the way")));
    {
        CPreferences preferences;
        QCOMPARE(preferences.Save(), -1500);
    }
    QCOMPARE(read_file(application_data_folder()), QByteArray("in the way"));
}

void tst_preferences::restored_defaults_forget_window_layout()
{
    CPreferences preferences;
    preferences.SetMainWindowGeometry("g");
    preferences.SetMainWindowState("s");
    preferences.SetInformationDialogGeometry("d");
    preferences.SetDefaultsRestored(true);
    QCOMPARE(written_by(preferences), build_preferences_file(preferences_fields(), 124));
}

void tst_preferences::suppressed_messages_are_kept_once()
{
    {
        CPreferences preferences;
        QVERIFY(!preferences.IsMessageSuppressed(4));
        preferences.SuppressMessage(4);
        preferences.SuppressMessage(1);
        preferences.SuppressMessage(4);
        QCOMPARE(preferences.GetSuppressedMessages(), (QList<int>{4, 1}));
        QVERIFY(preferences.IsMessageSuppressed(4));
    }
    CPreferences reread;
    QCOMPARE(reread.GetSuppressedMessages(), (QList<int>{4, 1}));
}

void tst_preferences::flags_change_only_their_bit()
{
    CPreferences preferences;
    preferences.SetSpeechEngineChoiceMade(true);
    preferences.SetPlayVoicePromptAudio(false);
    QVERIFY(!preferences.GetPlayVoicePromptAudio());
    QVERIFY(preferences.GetUseTextToSpeechEngine());
    QVERIFY(preferences.GetSpeechEngineChoiceMade());
    preferences.SetUseTextToSpeechEngine(false);
    preferences.SetPlayVoicePromptAudio(true);
    QVERIFY(preferences.GetPlayVoicePromptAudio());
    QVERIFY(!preferences.GetUseTextToSpeechEngine());
    QVERIFY(preferences.GetSpeechEngineChoiceMade());
}

void tst_preferences::empty_serial_port_falls_back_to_first_com_port()
{
    preferences_fields fields;
    fields.serialPort.clear();
    QVERIFY(write_file(CPreferences::FilePath(), build_preferences_file(fields, 124)));
    CPreferences preferences;
    QCOMPARE(preferences.GetSerialPortName(), QStringLiteral("COM1"));
}

void tst_preferences::program_record_is_the_first_alive()
{
    auto first = std::make_unique<CPreferences>();
    QCOMPARE(shell_registry::preferences(), first.get());
    {
        CPreferences second;
        QCOMPARE(shell_registry::preferences(), first.get());
    }
    QCOMPARE(shell_registry::preferences(), first.get());
    first.reset();
    QVERIFY(!shell_registry::preferences());
}

void tst_preferences::luminance_unit_follows_the_program_record()
{
    QVERIFY(!uses_foot_lamberts());
    preferences_fields fields;
    fields.luminanceUnits = 1;
    QVERIFY(write_file(CPreferences::FilePath(), build_preferences_file(fields, 124)));
    {
        CPreferences preferences; // loads foot-lamberts
        QVERIFY(uses_foot_lamberts());
        {
            // A second record neither takes over nor switches the unit.
            CPreferences other;
            other.SetLuminanceUnits(0);
            QVERIFY(uses_foot_lamberts());
        }
        preferences.SetLuminanceUnits(0);
        QVERIFY(!uses_foot_lamberts());
        preferences.SetLuminanceUnits(1);
        QVERIFY(uses_foot_lamberts());
        preferences.SetDefaults();
        QVERIFY(!uses_foot_lamberts());
        preferences.SetLuminanceUnits(1);
        QCOMPARE(preferences.Save(), 0);
        preferences.SetLuminanceUnits(0);
        QCOMPARE(preferences.Load(), 0);
        QVERIFY(uses_foot_lamberts());
        QVERIFY(write_file(CPreferences::FilePath(), QByteArray("damaged")));
        QVERIFY(preferences.Load() != 0);
        QVERIFY(!uses_foot_lamberts());
        preferences.SetLuminanceUnits(1);
    }
    // No preferences: no foot-lamberts.
    QVERIFY(!uses_foot_lamberts());
}

QTEST_MAIN(tst_preferences)
#include "tst_preferences.moc"

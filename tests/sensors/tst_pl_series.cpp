#include "call_log.h"
#include "detection_helpers.h"
#include "simulated_family_fixture.h"
#include "simulated_instrument_control.h"

#include "app/services/library_loader.h"
#include "resources/tessaline_resources.h"
#include "sensors/COMClient.h"
#include "sensors/CTL_PLxxxSensor.h"
#include "sensors/CTargetSensor.h"
#include "sensors/SensorDetectThread.h"
#include "sensors/pl_server_registration.h"

#include <QCoreApplication>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QtTest>

#include <dlfcn.h>

#include <cmath>
#include <memory>
#include <thread>

using call_log::args_of;

namespace {

const QString kDisplay = QStringLiteral("127.0.18.1/1");
const char kServerLibrary[] = "libpl200srvr.so";
const QStringList kServerFiles = {QStringLiteral("libpl200srvr.so"), QStringLiteral("liblinkmod.so"),
                                  QStringLiteral("libprobelink.so")};
const QString kUsbInstance = QStringLiteral("USB\\Vid_0686&Pid_1002\\6&1A2B3C4D&0&1");
const QString kTypeLibrary = QStringLiteral("{81480671-9287-43D4-8A21-F0CB0157077F}");
const QString kNotOpenText = QStringLiteral("No available PL sensor found.");
const QString kSeveralText = QStringLiteral("Several PL sensor are connected, please connect single PL sensor.");

// D65-like white: x 0.3127, y 0.3290.
const double kWhiteX = 0.9505;
const double kWhiteZ = 1.0890;

QStringList names_of(const QJsonArray &calls)
{
    QStringList names;
    for (const QJsonValue &call : calls)
        names.append(call.toObject().value(QLatin1String("call")).toString());
    return names;
}

double out_of(const QJsonValue &call)
{
    return call.toObject().value(QLatin1String("out")).toArray().at(0).toDouble();
}

QJsonArray fail(const QString &call, quint32 code, int times = -1)
{
    return QJsonArray{QJsonObject{{QStringLiteral("call"), call},
                                  {QStringLiteral("code"), qint32(code)},
                                  {QStringLiteral("times"), times}}};
}

QString server_text(quint32 code)
{
    return QStringLiteral("PL200Srvr error 0x%1").arg(code, 8, 16, QLatin1Char('0'));
}

// A registration like the server's installer writes, with the parts a test changes.
QJsonObject registry(const QString &progIdValue, const QString &typeLibrary, const QJsonObject &services)
{
    const QJsonObject classesRoot{
        {QStringLiteral("PL200Srvr.Pl200"), QJsonObject{{QString(), progIdValue}}},
        {QStringLiteral("CLSID"),
         QJsonObject{{QStringLiteral("{006B0650-AF9A-4EE1-B18F-B5740004D7CE}"),
                      QJsonObject{{QStringLiteral("TypeLib"), QJsonObject{{QString(), typeLibrary}}}}}}}};
    const QJsonObject localMachine{
        {QStringLiteral("SYSTEM"),
         QJsonObject{{QStringLiteral("ControlSet001"), QJsonObject{{QStringLiteral("Services"), services}}}}}};
    return QJsonObject{{QStringLiteral("classes_root"), classesRoot}, {QStringLiteral("local_machine"), localMachine}};
}

QJsonObject usb_services(const QJsonObject &instances)
{
    return QJsonObject{{QStringLiteral("BulkUsb"), QJsonObject{{QStringLiteral("Enum"), instances}}}};
}

QJsonObject usb_instances(int count, const QStringList &instances)
{
    QJsonObject entries{{QStringLiteral("Count"), count}};
    for (int i = 0; i < instances.size(); ++i)
        entries.insert(QString::number(i), instances[i]);
    return entries;
}

// Every object the server handed out (the server object, and each object
// a member answered) was released again.
bool references_balance(const QJsonArray &calls)
{
    int handedOut = 0;
    int released = 0;
    for (const QJsonValue &value : calls) {
        const QJsonObject call = value.toObject();
        const QString name = call.value(QLatin1String("call")).toString();
        const bool succeeded = call.value(QLatin1String("result")).toInt() == 0;
        const QString out = call.value(QLatin1String("out")).toArray().at(0).toString();
        if ((name == QLatin1String("create PL200") && succeeded) || out.startsWith(QLatin1Char('<')))
            ++handedOut;
        if (name.startsWith(QLatin1String("release ")) && succeeded)
            ++released;
    }
    return handedOut == released;
}

QJsonObject good_registry()
{
    return registry(QStringLiteral("Pl200 Class"), kTypeLibrary, usb_services(usb_instances(1, {kUsbInstance})));
}

} // namespace

class tst_pl_series : public QObject, protected simulated_family_fixture
{
    Q_OBJECT

public:
    tst_pl_series() : simulated_family_fixture(kDisplay) {}

private:
    bool publishY(double Y) { return publish(kWhiteX * Y, Y, kWhiteZ * Y); }
    bool zeroCalibrate(CTL_PLxxxSensor &sensor)
    {
        if (!configure({{QStringLiteral("covered"), true}}) || sensor.Calibrate() != 0)
            return false;
        return configure({{QStringLiteral("covered"), false}});
    }
    // A folder of instrument libraries holding links to |files| of the
    // simulated ones and |registration| as the registration file (none
    // when empty).
    QString libraryFolder(const QStringList &files, const QJsonObject &registration)
    {
        const QString folder = m_environment->root() + QStringLiteral("/folder%1").arg(++m_folders);
        if (!QDir().mkpath(folder))
            return QString();
        for (const QString &file : files) {
            if (!QFile::link(sensor_test_environment::simulatedLibraryFolder() + QLatin1Char('/') + file,
                             folder + QLatin1Char('/') + file))
                return QString();
        }
        if (!registration.isEmpty()) {
            QFile file(folder + QStringLiteral("/automation-registry.json"));
            if (!file.open(QIODevice::WriteOnly) || file.write(QJsonDocument(registration).toJson()) <= 0)
                return QString();
        }
        return folder;
    }
    static void verifyClosed(CTL_PLxxxSensor &sensor)
    {
        QVERIFY(!sensor.IsOpen());
        QVERIFY(!sensor.RequiresCalibration());
        QCOMPARE(sensor.Calibrate(), -99998);
        QCOMPARE(sensor.MeasureXYZ(1), -99998);
        CCIEXYZ reading;
        QCOMPARE(sensor.GetXYZ(reading), -99998);
        QCOMPARE(sensor.SetMeasurementMode(1), -99998);
        QCOMPARE(sensor.MeasureAmbient(), -99998);
        QCOMPARE(sensor.GetMeasurementSelectorPosition(), -99998);
        QCOMPARE(sensor.SetDisplayType(1, 3), -99998);
        QCOMPARE(sensor.GetName(), QString());
        QCOMPARE(sensor.GetShortName(), QString());
        QCOMPARE(sensor.GetManufacturer(), QString());
        QCOMPARE(sensor.GetSerialNumber(), QString());
        QVERIFY(!sensor.IsInstrumentReady());
    }

    void *m_serverHandle = nullptr;
    int32_t (*m_raiseException)(uint32_t) = nullptr;
    int m_folders = 0;

private slots:
    void initTestCase()
    {
        tessaline_init_resources();
        QVERIFY(loadFamily(kServerLibrary));
        QVERIFY(load_library_functions(&m_serverHandle, sensor_test_environment::simulatedLibrary(kServerLibrary),
                                       {library_symbol(m_raiseException, "plsrvSimRaiseException")}));
    }

    void cleanupTestCase()
    {
        if (m_serverHandle)
            dlclose(m_serverHandle);
    }

    void init()
    {
        QVERIFY(resetFamily(0.0));
        QVERIFY(publishY(100.0));
    }

    void starts_the_server_and_releases_it()
    {
        {
            CTL_PLxxxSensor sensor;
            QVERIFY(sensor.IsOpen());
            QCOMPARE(sensor.GetLastError(), 0);
            const QJsonArray calls = m_control->calls();
            QCOMPARE(names_of(calls),
                     (QStringList{QStringLiteral("create PL200"), QStringLiteral("advise PL200"),
                                  QStringLiteral("call PL200.AutoConnect"), QStringLiteral("get PL200.SinglePl"),
                                  QStringLiteral("advise IPl"), QStringLiteral("get IPl.Memory"),
                                  QStringLiteral("advise Memory"), QStringLiteral("put Memory.ChannelNO"),
                                  QStringLiteral("put IPl.SyncMode"), QStringLiteral("put IPl.AveragingMode"),
                                  QStringLiteral("call IPl.SetAnalogRange"), QStringLiteral("put IPl.DisplayMode"),
                                  QStringLiteral("put IPl.DisplayDigits")}));
            QCOMPARE(args_of(calls[0]), (QJsonArray{QStringLiteral("{006b0650-af9a-4ee1-b18f-b5740004d7ce}")}));
            QCOMPARE(args_of(calls[7]), (QJsonArray{0}));
            QCOMPARE(args_of(calls[8]), (QJsonArray{0}));
            QCOMPARE(args_of(calls[9]), (QJsonArray{1}));
            QCOMPARE(args_of(calls[10]), (QJsonArray{2.5, 2.5}));
            QCOMPARE(args_of(calls[11]), (QJsonArray{0}));
            QCOMPARE(args_of(calls[12]), (QJsonArray{1}));

            QCOMPARE(sensor.GetName(), QStringLiteral("PL-210"));
            QCOMPARE(sensor.GetShortName(), QStringLiteral("PL-210"));
            QCOMPARE(sensor.GetManufacturer(), QStringLiteral("Trelane"));
            QCOMPARE(sensor.GetSerialNumber(), QStringLiteral("21012345"));
            QVERIFY(sensor.IsInstrumentReady());
            m_control->clearCalls();
        }
        // Remote mode off, then every object handed back, the server object last.
        const QJsonArray calls = m_control->calls();
        QCOMPARE(names_of(calls).first(), QStringLiteral("put IPl.RemoteMode"));
        QCOMPARE(args_of(calls.first()), (QJsonArray{0}));
        QStringList released = names_of(m_control->calls()).filter(QStringLiteral("release"));
        released.sort();
        QCOMPARE(released, (QStringList{QStringLiteral("release IPl"), QStringLiteral("release Memory"),
                                        QStringLiteral("release PL200"), QStringLiteral("release Probe"),
                                        QStringLiteral("release Probes")}));
        QCOMPARE(names_of(calls).last(), QStringLiteral("release PL200"));
    }

    void fixed_capabilities()
    {
        CTL_PLxxxSensor sensor;
        QVERIFY(sensor.IsOpen());
        QVERIFY(sensor.RequiresCalibration());
        QVERIFY(!sensor.IsCalibrated());
        QVERIFY(!sensor.HasMeasurementSelector());
        QVERIFY(!sensor.PollsMeasurementSelector());
        QVERIFY(!sensor.SupportsAmbient());
        QVERIFY(!sensor.SupportsDisplayTypes());
        QVERIFY(!sensor.HasLedControl());
        QCOMPARE(sensor.SetLed(true), -1);
        QCOMPARE(sensor.AfterOpen(), 0);
        QCOMPARE(sensor.MeasureAmbient(), -1);
        QCOMPARE(sensor.GetMeasurementSelectorPosition(), -1);
        QCOMPARE(sensor.SetDisplayType(1, 3), 0);
        QCOMPARE(sensor.GetDisplayFlag(), 1);
        quint16 vendor = 1, product = 1;
        QVERIFY(!sensor.GetUsbIds(vendor, product));
        QCOMPARE(vendor, quint16(0));

        SensorPlacementInfo info;
        QCOMPARE(sensor.GetPlacementInfo(info), 0);
        QCOMPARE(info.calibrationPicture, QStringLiteral(":/images/Resources/trelane pl-210 sensor zero cal sm.png"));
        QVERIFY(QFile::exists(info.calibrationPicture));
        QCOMPARE(info.calibrationMessage,
                 QStringLiteral("Cover the sensor so light cannot reach it or move the ring to the 0-CAL position."));
        QVERIFY(info.displayPicture.isEmpty() && info.ambientPicture.isEmpty() && info.iconPicture.isEmpty());
        QVERIFY(info.selectorToAmbientPicture.isEmpty() && info.selectorToDisplayPicture.isEmpty());
        QVERIFY(info.ambientMessage.isEmpty() && info.selectorMessage.isEmpty());
        QVERIFY(info.beforeDisplayMessage.isEmpty() && info.beforeAmbientMessage.isEmpty());
    }

    void registration_decides_the_start_data()
    {
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<QJsonObject>("registration");
        QTest::addColumn<QString>("text");
        const QJsonObject good = good_registry();
        const QString noServer = QStringLiteral("No COM Server for PL210 sensor found.");
        const QString noUsbDriver = QStringLiteral("No USB driver for PL210 sensor found.");
        QTest::newRow("registered") << kServerFiles << good << QString();
        QTest::newRow("no registration") << kServerFiles << QJsonObject() << noServer;
        QTest::newRow("another server's class")
            << kServerFiles << registry(QStringLiteral("Other Class"), kTypeLibrary, usb_services(usb_instances(1, {kUsbInstance})))
            << noServer;
        QTest::newRow("type library in other letters")
            << kServerFiles
            << registry(QStringLiteral("Pl200 Class"), kTypeLibrary.toLower(), usb_services(usb_instances(1, {kUsbInstance})))
            << QStringLiteral("Specified TypeLibraty (UUID:{81480671-9287-43D4-8A21-F0CB0157077F}) not found.");
        QTest::newRow("no server file") << QStringList(kServerFiles.mid(1)) << good << noServer;
        QTest::newRow("no link module") << QStringList{kServerFiles[0], kServerFiles[2]} << good
                                        << QStringLiteral("No Linkmod library file found.");
        QTest::newRow("no Probelink") << QStringList(kServerFiles.mid(0, 2)) << good << QStringLiteral("No probelink library file found.");
        QTest::newRow("no USB driver service")
            << kServerFiles << registry(QStringLiteral("Pl200 Class"), kTypeLibrary, QJsonObject{{QStringLiteral("usbhub"), QJsonObject()}})
            << noUsbDriver;
        QTest::newRow("USB driver of another device")
            << kServerFiles
            << registry(QStringLiteral("Pl200 Class"), kTypeLibrary,
                        usb_services(usb_instances(1, {QStringLiteral("USB\\Vid_0686&Pid_1003\\1")})))
            << noUsbDriver;
        QTest::newRow("probe listed past the count")
            << kServerFiles
            << registry(QStringLiteral("Pl200 Class"), kTypeLibrary,
                        usb_services(usb_instances(1, {QStringLiteral("USB\\Vid_0686&Pid_1003\\1"), kUsbInstance})))
            << noUsbDriver;
        QTest::newRow("count not a number")
            << kServerFiles
            << registry(QStringLiteral("Pl200 Class"), kTypeLibrary,
                        usb_services(QJsonObject{{QStringLiteral("Count"), QStringLiteral("many")},
                                                 {QStringLiteral("0"), kUsbInstance}}))
            << noUsbDriver;
        QTest::newRow("second instance, capitals")
            << kServerFiles
            << registry(QStringLiteral("Pl200 Class"), kTypeLibrary,
                        usb_services(usb_instances(2, {QStringLiteral("USB\\Vid_0686&Pid_1003\\1"),
                                                       QStringLiteral("USB\\VID_0686&PID_1002\\2")})))
            << QString();
    }

    void registration_decides_the_start()
    {
        QFETCH(QStringList, files);
        QFETCH(QJsonObject, registration);
        QFETCH(QString, text);
        const QString folder = libraryFolder(files, registration);
        QVERIFY(!folder.isEmpty());
        sensor_test_environment::useLibraryFolder(folder);
        {
            CTL_PLxxxSensor sensor;
            QCOMPARE(sensor.GetLastErrorText(), text);
            QCOMPARE(sensor.IsOpen(), text.isEmpty());
            if (!text.isEmpty()) {
                QCOMPARE(sensor.GetLastError(), -1000);
                verifyClosed(sensor);
            }
        }
        // The registration and the files are checked before the server object
        // is made; only the USB driver's after.
        const bool before = !text.isEmpty() && !text.contains(QLatin1String("USB"));
        QCOMPARE(m_control->callsNamed(QStringLiteral("create PL200")).isEmpty(), before);
        QVERIFY(references_balance(m_control->calls()));
    }

    void server_refusals_at_the_start_data()
    {
        QTest::addColumn<QJsonObject>("fault");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("text");
        QTest::newRow("no instrument") << QJsonObject{{QStringLiteral("device_count"), 0}} << -1000 << kNotOpenText;
        QTest::newRow("server class refused")
            << QJsonObject{{QStringLiteral("fail_calls"), fail(QStringLiteral("create PL200"), 1)}} << -1000
            << QStringLiteral("Failed in connecting signal to PL200");
        QTest::newRow("server signal refused")
            << QJsonObject{{QStringLiteral("fail_calls"), fail(QStringLiteral("advise PL200"), 1)}} << -1000
            << QStringLiteral("Failed in connecting signal to PL200");
        QTest::newRow("AutoConnect raises")
            << QJsonObject{{QStringLiteral("open_fails"), true}, {QStringLiteral("failure_code"), qint32(0xC42E0209u)}}
            << -8506 << server_text(0xC42E0209u);
        QTest::newRow("SinglePl raises")
            << QJsonObject{{QStringLiteral("fail_calls"), fail(QStringLiteral("get PL200.SinglePl"), 0xC42E4005u)}}
            << -8507 << server_text(0xC42E4005u);
        QTest::newRow("instrument signal refused")
            << QJsonObject{{QStringLiteral("fail_calls"), fail(QStringLiteral("advise IPl"), 1)}} << -1000
            << QStringLiteral("Failed in connecting signal to PLOBJ");
        QTest::newRow("memory raises")
            << QJsonObject{{QStringLiteral("fail_calls"), fail(QStringLiteral("get IPl.Memory"), 0xC42E0199u)}}
            << -8504 << QStringLiteral("Failed to get the first channel of PL210 sensor.");
    }

    void server_refusals_at_the_start()
    {
        QFETCH(QJsonObject, fault);
        QFETCH(int, code);
        QFETCH(QString, text);
        QVERIFY(configure(fault));
        {
            CTL_PLxxxSensor sensor;
            QCOMPARE(sensor.GetLastError(), code);
            QCOMPARE(sensor.GetLastErrorText(), text);
            verifyClosed(sensor);
        }
        // Whatever the start had made is handed back.
        QVERIFY(references_balance(m_control->calls()));
    }

    void server_exceptions_are_mapped_data()
    {
        QTest::addColumn<quint32>("serverCode");
        QTest::addColumn<int>("code");
        QTest::newRow("C42E012B") << 0xC42E012Bu << -8501;
        QTest::newRow("C42E01AB") << 0xC42E01ABu << -8502;
        QTest::newRow("C42E0197") << 0xC42E0197u << -8503;
        QTest::newRow("C42E0199") << 0xC42E0199u << -8504;
        QTest::newRow("C42E0257") << 0xC42E0257u << -8505;
        QTest::newRow("C42E0209") << 0xC42E0209u << -8506;
        QTest::newRow("C42E4005") << 0xC42E4005u << -8507;
        QTest::newRow("another server code") << 0xC42E0000u << -8508;
        QTest::newRow("core's default fault") << 0xFFFFFFFFu << -8508;
    }

    void server_exceptions_are_mapped()
    {
        QFETCH(quint32, serverCode);
        QFETCH(int, code);
        CTL_PLxxxSensor sensor;
        QVERIFY(sensor.IsOpen());
        QVERIFY(configure({{QStringLiteral("covered"), true},
                           {QStringLiteral("fail_calls"), fail(QStringLiteral("call IPl.CalZero"), serverCode, 1)}}));
        QCOMPARE(sensor.Calibrate(), code);
        QCOMPARE(sensor.GetLastError(), code);
        QCOMPARE(sensor.GetLastErrorText(), server_text(serverCode));
        QCOMPARE(sensor.GetClient()->GetExceptionCode(), code);
        QVERIFY(!sensor.IsCalibrated());
        // The exception ended the calibration: nothing was measured.
        QVERIFY(m_control->callsNamed(QStringLiteral("call IPl.Measure")).isEmpty());
        QCOMPARE(sensor.Calibrate(), 0);
        QVERIFY(sensor.IsCalibrated());
    }

    void zero_calibration_data()
    {
        QTest::addColumn<QJsonObject>("setting");
        QTest::addColumn<double>("luminance");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("text");
        QTest::newRow("covered") << QJsonObject{{QStringLiteral("covered"), true}} << 0.0 << 0 << QString();
        QTest::newRow("Lv 0.0004") << QJsonObject() << 0.0004 << 0 << QString();
        QTest::newRow("Lv 0.0005") << QJsonObject() << 0.0005 << -8512 << QStringLiteral("too bright light.");
        QTest::newRow("display light") << QJsonObject() << 100.0 << -8512 << QStringLiteral("too bright light.");
        QTest::newRow("no value") << QJsonObject{{QStringLiteral("covered"), true},
                                                 {QStringLiteral("family"), QJsonObject{{QStringLiteral("no_value"), true}}}}
                                  << 0.0 << -8512 << QStringLiteral("Zero calibration failed.");
    }

    void zero_calibration()
    {
        QFETCH(QJsonObject, setting);
        QFETCH(double, luminance);
        QFETCH(int, status);
        QFETCH(QString, text);
        CTL_PLxxxSensor sensor;
        QVERIFY(configure(setting));
        QVERIFY(publishY(luminance));
        m_control->clearCalls();
        QCOMPARE(sensor.Calibrate(), status);
        QCOMPARE(sensor.IsCalibrated(), status == 0);
        QCOMPARE(sensor.GetClient()->IsZeroCalibrated(), status == 0);
        QCOMPARE(sensor.GetLastError(), status);
        QCOMPARE(sensor.GetLastErrorText(), text);
        const QJsonArray calls = m_control->calls();
        QCOMPARE(names_of(calls),
                 (QStringList{QStringLiteral("get IPl.Number"), QStringLiteral("get IPl.PLType"),
                              QStringLiteral("get IPl.OutputProbes"), QStringLiteral("advise Probes"),
                              QStringLiteral("call Probes.Item"), QStringLiteral("advise Probe"),
                              QStringLiteral("get Probe.SerialNO"), QStringLiteral("call IPl.CalZero"),
                              QStringLiteral("call IPl.Measure"), QStringLiteral("get Probe.Lv"),
                              QStringLiteral("get Probe.sx"), QStringLiteral("get Probe.sy"),
                              QStringLiteral("get Probe.T"), QStringLiteral("get Probe.duv")}));
        QCOMPARE(args_of(calls[4]), (QJsonArray{QStringLiteral("P1")}));
        QCOMPARE(args_of(calls[8]), (QJsonArray{0}));
        if (status != 0)
            return;
        // A zero calibration holds: a second one asks nothing of the server.
        m_control->clearCalls();
        QCOMPARE(sensor.Calibrate(), 0);
        QVERIFY(m_control->calls().isEmpty());
    }

    void measuring_needs_the_zero_calibration()
    {
        CTL_PLxxxSensor sensor;
        m_control->clearCalls();
        QCOMPARE(sensor.MeasureXYZ(1), -8510);
        QCOMPARE(sensor.GetLastErrorText(), QStringLiteral("The zero calibration is required."));
        QVERIFY(m_control->callsNamed(QStringLiteral("call IPl.Measure")).isEmpty());
        CCIEXYZ reading;
        QCOMPARE(sensor.GetXYZ(reading), -1003);
    }

    void measurement_averages_luminance_and_chromaticity_data()
    {
        QTest::addColumn<unsigned>("count");
        QTest::addColumn<int>("readings");
        QTest::newRow("0 counts as 1") << 0u << 1;
        QTest::newRow("1") << 1u << 1;
        QTest::newRow("3") << 3u << 3;
    }

    void measurement_averages_luminance_and_chromaticity()
    {
        QFETCH(unsigned, count);
        QFETCH(int, readings);
        CTL_PLxxxSensor sensor;
        QVERIFY(zeroCalibrate(sensor));
        // Strong noise makes the readings differ, so that an average of x and
        // y differs from the chromaticity of averaged tristimulus values.
        QVERIFY(configure({{QStringLiteral("noise_seed"), 11}, {QStringLiteral("noise_relative"), 0.3}}));
        m_control->clearCalls();
        QCOMPARE(sensor.MeasureXYZ(count), 0);
        QCOMPARE(sensor.GetRepeatCount(), unsigned(readings));
        const QJsonArray measures = m_control->callsNamed(QStringLiteral("call IPl.Measure"));
        QCOMPARE(measures.size(), readings);
        for (const QJsonValue &measure : measures)
            QCOMPARE(args_of(measure), (QJsonArray{0}));
        double Lv = 0.0, x = 0.0, y = 0.0, X = 0.0, Z = 0.0;
        const QJsonArray luminances = m_control->callsNamed(QStringLiteral("get Probe.Lv"));
        const QJsonArray xs = m_control->callsNamed(QStringLiteral("get Probe.sx"));
        const QJsonArray ys = m_control->callsNamed(QStringLiteral("get Probe.sy"));
        QCOMPARE(luminances.size(), readings);
        for (int i = 0; i < readings; ++i) {
            Lv += out_of(luminances[i]);
            x += out_of(xs[i]);
            y += out_of(ys[i]);
            X += out_of(xs[i]) / out_of(ys[i]) * out_of(luminances[i]);
            Z += (1.0 - out_of(xs[i]) - out_of(ys[i])) / out_of(ys[i]) * out_of(luminances[i]);
        }
        Lv /= readings;
        x /= readings;
        y /= readings;

        const pl_probe_reading average = sensor.GetClient()->GetReading();
        QCOMPARE(sensor.GetClient()->GetReadingState(), 0);
        QCOMPARE(average.T, 0.0f);
        QCOMPARE(average.duv, 0.0f);
        CCIEXYZ reading;
        QCOMPARE(sensor.GetXYZ(reading), 0);
        // The client keeps its reading as floats: 1e-5 relative covers their
        // rounding, and is far below the spread of the noisy readings.
        const double tolerance = 1e-5;
        QVERIFY(std::abs(reading.Y - Lv) <= tolerance * Lv);
        QVERIFY(std::abs(reading.X - x / y * Lv) <= tolerance * Lv);
        QVERIFY(std::abs(reading.Z - (1.0 - x - y) / y * Lv) <= tolerance * Lv);
        if (readings > 1) {
            // What averaging X and Z instead would have given.
            QVERIFY(std::abs(reading.X - X / readings) > 1e-3 * Lv);
            QVERIFY(std::abs(reading.Z - Z / readings) > 1e-3 * Lv);
        }
        // Handed out once: the client's reading is consumed.
        QCOMPARE(sensor.GetClient()->GetReadingState(), -1);
        QCOMPARE(sensor.GetClient()->GetReading().Lv, -1.0f);
        QCOMPARE(sensor.GetXYZ(reading), -1003);
    }

    void measurement_matches_the_display()
    {
        CTL_PLxxxSensor sensor;
        QVERIFY(zeroCalibrate(sensor));
        QVERIFY(light_channel::publish_light(kDisplay, {40.0, 50.0, 30.0}));
        QCOMPARE(sensor.MeasureXYZ(2), 0);
        CCIEXYZ reading;
        QCOMPARE(sensor.GetXYZ(reading), 0);
        // No noise configured; the probe's values pass through floats.
        QVERIFY(std::abs(reading.X - 40.0) < 1e-3);
        QVERIFY(std::abs(reading.Y - 50.0) < 1e-3);
        QVERIFY(std::abs(reading.Z - 30.0) < 1e-3);
    }

    void reading_is_handed_out_once()
    {
        CTL_PLxxxSensor sensor;
        CCIEXYZ reading;
        QCOMPARE(sensor.GetXYZ(reading), -1003);
        QVERIFY(zeroCalibrate(sensor));
        QCOMPARE(sensor.MeasureXYZ(1), 0);
        QCOMPARE(sensor.GetXYZ(reading), 0);
        QVERIFY(reading.Y > 99.0);
        // No new reading: not the old one again.
        reading = CCIEXYZ();
        QCOMPARE(sensor.GetXYZ(reading), -1003);
        QCOMPARE(reading.Y, 0.0);
    }

    void failed_measurements_data()
    {
        QTest::addColumn<QJsonObject>("fault");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("measures");
        QTest::newRow("no value") << QJsonObject{{QStringLiteral("family"), QJsonObject{{QStringLiteral("no_value"), true}}}}
                                  << -8511 << QStringLiteral("Measurement failed.") << 1;
        QTest::newRow("server exception")
            << QJsonObject{{QStringLiteral("measure_failures"), 1}, {QStringLiteral("failure_code"), qint32(0xC42E01ABu)}}
            << -8502 << server_text(0xC42E01ABu) << 1;
        QTest::newRow("probe lost at the second reading")
            << QJsonObject{{QStringLiteral("lose_device"),
                            QJsonObject{{QStringLiteral("call"), QStringLiteral("call IPl.Measure")},
                                        {QStringLiteral("after"), 1},
                                        {QStringLiteral("code"), qint32(0xC42E0257u)}}}}
            << -8505 << server_text(0xC42E0257u) << 2;
    }

    void failed_measurements()
    {
        QFETCH(QJsonObject, fault);
        QFETCH(int, code);
        QFETCH(QString, text);
        QFETCH(int, measures);
        CTL_PLxxxSensor sensor;
        QVERIFY(zeroCalibrate(sensor));
        QVERIFY(configure(fault));
        m_control->clearCalls();
        QCOMPARE(sensor.MeasureXYZ(3), code);
        QCOMPARE(sensor.GetLastError(), code);
        QCOMPARE(sensor.GetLastErrorText(), text);
        QCOMPARE(m_control->callsNamed(QStringLiteral("call IPl.Measure")).size(), measures);
        QCOMPARE(sensor.GetClient()->GetReadingState(), -1);
        QVERIFY(!sensor.GetClient()->GetReading().hasValue());
        CCIEXYZ reading;
        QCOMPARE(sensor.GetXYZ(reading), -1003);
    }

    // A reading can fail without any code: the probe object is gone. It must
    // not be averaged into a success.
    void failed_reading_without_a_code_is_an_error()
    {
        CTL_PLxxxSensor sensor;
        QVERIFY(zeroCalibrate(sensor));
        QVERIFY(configure({{QStringLiteral("family"), QJsonObject{{QStringLiteral("probes"), QJsonArray()}}}}));
        // The probe list answers no first probe now: the old probe is dropped.
        QCOMPARE(sensor.GetSerialNumber(), QString());
        QCOMPARE(sensor.GetLastErrorText(), QStringLiteral("Failed to get the first probe of PL210 sensor."));
        QCOMPARE(sensor.MeasureXYZ(2), -1000);
        QCOMPARE(sensor.GetLastError(), -1000);
        QCOMPARE(sensor.GetLastErrorText(), QStringLiteral("No available probe found."));
        CCIEXYZ reading;
        QCOMPARE(sensor.GetXYZ(reading), -1003);
    }

    void two_instruments()
    {
        CTL_PLxxxSensor sensor;
        QVERIFY(zeroCalibrate(sensor));
        QVERIFY(sensor.IsCalibrated());
        QVERIFY(configure({{QStringLiteral("device_count"), 2}}));
        QCOMPARE(sensor.MeasureXYZ(1), -1000);
        QCOMPARE(sensor.GetLastErrorText(), kSeveralText);
        QCOMPARE(sensor.SetMeasurementMode(1), -1000);
        QCOMPARE(sensor.GetSerialNumber(), QString());
        QCOMPARE(sensor.GetLastErrorText(), kSeveralText);
        QVERIFY(!sensor.IsInstrumentReady());
        QCOMPARE(sensor.GetName(), QStringLiteral("Trelane PL-xxx"));
        QCOMPARE(sensor.GetShortName(), QStringLiteral("TL PL-xxx"));
        QCOMPARE(sensor.Calibrate(), -1000);
        QCOMPARE(sensor.GetLastErrorText(), kSeveralText);
        QVERIFY(!sensor.IsCalibrated());

        // One again: the zero calibration must be repeated.
        QVERIFY(configure({{QStringLiteral("device_count"), 1}}));
        QCOMPARE(sensor.MeasureXYZ(1), -8510);
        QVERIFY(zeroCalibrate(sensor));
        QCOMPARE(sensor.MeasureXYZ(1), 0);
    }

    void model_check_data()
    {
        QTest::addColumn<QString>("model");
        QTest::addColumn<bool>("ready");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("shortName");
        QTest::newRow("PL-210") << QStringLiteral("PL-210") << true << QStringLiteral("PL-210") << QStringLiteral("PL-210");
        QTest::newRow("PL-400") << QStringLiteral("PL-400") << true << QStringLiteral("PL-400") << QStringLiteral("PL-400");
        QTest::newRow("no model text") << QString() << true << QStringLiteral("Trelane PL-xxx") << QStringLiteral("TL PL-xxx");
        QTest::newRow("another analyser") << QStringLiteral("CA-310") << false << QStringLiteral("Trelane PL-xxx")
                                          << QStringLiteral("TL PL-xxx");
    }

    void model_check()
    {
        QFETCH(QString, model);
        QFETCH(bool, ready);
        QFETCH(QString, name);
        QFETCH(QString, shortName);
        QVERIFY(configure({{QStringLiteral("product"), model}}));
        CTL_PLxxxSensor sensor;
        QVERIFY(sensor.IsOpen());
        QCOMPARE(sensor.IsInstrumentReady(), ready);
        QCOMPARE(sensor.GetName(), name);
        QCOMPARE(sensor.GetShortName(), shortName);
        if (!ready) {
            QCOMPARE(sensor.GetLastErrorText(), QStringLiteral("Connected sensor is not PL210 model."));
            QCOMPARE(sensor.SetMeasurementMode(1), -1000);
            QCOMPARE(sensor.Calibrate(), -1000);
        }
    }

    void serial_number_failures_data()
    {
        QTest::addColumn<QJsonObject>("fault");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("text");
        QTest::newRow("empty") << QJsonObject{{QStringLiteral("serial"), QString()}} << -1000
                               << QStringLiteral("No available serial number found.");
        QTest::newRow("raises") << QJsonObject{{QStringLiteral("fail_calls"), fail(QStringLiteral("get Probe.SerialNO"), 0xC42E0197u)}}
                                << -8503 << QStringLiteral("No available probe found.");
        QTest::newRow("no probe list")
            << QJsonObject{{QStringLiteral("fail_calls"), fail(QStringLiteral("get IPl.OutputProbes"), 0xC42E0197u)}} << -8503
            << QStringLiteral("No available probe found.");
    }

    void serial_number_failures()
    {
        QFETCH(QJsonObject, fault);
        QFETCH(int, code);
        QFETCH(QString, text);
        CTL_PLxxxSensor sensor;
        QVERIFY(configure(fault));
        QCOMPARE(sensor.GetSerialNumber(), QString());
        QCOMPARE(sensor.GetLastError(), code);
        QCOMPARE(sensor.GetLastErrorText(), text);
        QCOMPARE(sensor.GetClient()->GetSerialNumber(), QString());
    }

    void measurement_mode()
    {
        CTL_PLxxxSensor sensor;
        QCOMPARE(sensor.SetMeasurementMode(2), -1);
        QCOMPARE(sensor.SetMeasurementMode(1), 0);
        QCOMPARE(sensor.GetMeasurementMode(), 1);
        QCOMPARE(m_control->callsNamed(QStringLiteral("call Probes.Item")).size(), 1);
    }

    // The server reports from a thread of its own: the report reaches the
    // client only through the event loop of the client's thread.
    void exception_from_the_server_thread_arrives_queued()
    {
        CTL_PLxxxSensor sensor;
        QVERIFY(sensor.IsOpen());
        QCOMPARE(m_raiseException(0xC42E012Bu), 1);
        QCOMPARE(sensor.GetLastError(), 0);
        QCOMPARE(sensor.GetLastErrorText(), QString());
        QCoreApplication::processEvents();
        QCOMPARE(sensor.GetLastError(), -8501);
        QCOMPARE(sensor.GetLastErrorText(), server_text(0xC42E012Bu));
    }

    void exception_from_the_server_thread_after_release_is_dropped()
    {
        {
            CTL_PLxxxSensor sensor;
            QVERIFY(sensor.IsOpen());
        }
        QCOMPARE(m_raiseException(0xC42E012Bu), 0);
        QCoreApplication::processEvents();
    }

    // A call from a thread other than the driver's sees its own exception at
    // once, without the driver's event loop.
    void exception_inside_a_call_from_another_thread_is_seen_at_once()
    {
        CTL_PLxxxSensor sensor;
        QVERIFY(configure({{QStringLiteral("covered"), true},
                           {QStringLiteral("fail_calls"), fail(QStringLiteral("call IPl.CalZero"), 0xC42E0197u, 1)}}));
        int status = 0;
        std::thread caller([&] { status = sensor.Calibrate(); });
        caller.join();
        QCOMPARE(status, -8503);
        QCOMPARE(sensor.GetLastError(), -8503);
        // The probe objects that call made belong to the driver's thread.
        QVERIFY(!sensor.GetClient()->children().isEmpty());
        for (const QObject *child : sensor.GetClient()->children())
            QCOMPARE(child->thread(), sensor.thread());
    }

    void detected_in_the_factory_order()
    {
        const QString folder = libraryFolder(kServerFiles, good_registry());
        QVERIFY(!folder.isEmpty());
        sensor_test_environment::useLibraryFolder(folder);
        CTargetSensor factory;
        QString name;
        bool offered = false;
        QVERIFY(factory.GetSensorTypeName(8, name, offered));
        QVERIFY(offered);
        detection::recorder record(factory);
        QVERIFY(factory.DetectSensor());
        QCOMPARE(factory.GetSensorType(), 8);
        QVERIFY(factory.GetSensor()->IsOpen());
        // i1Pro, i1Display, i1Studio, Spyder3/4/5, i1Display Pro and Hubble come first.
        QCOMPARE(record.events, detection::found_after(6, QStringLiteral("PL-210")));
    }

    void ignored_cleanly_when_absent()
    {
        const QString folder = libraryFolder(kServerFiles.mid(1), good_registry());
        QVERIFY(!folder.isEmpty());
        sensor_test_environment::useLibraryFolder(folder);
        CTargetSensor factory;
        QString name;
        bool offered = true;
        QVERIFY(factory.GetSensorTypeName(8, name, offered));
        QVERIFY(!offered);
        QVERIFY(!factory.DetectSensor());
        QCOMPARE(factory.GetSensorType(), 0);
        QVERIFY(m_control->calls().isEmpty());
        QCOMPARE(factory.SetSensorType(8), -1000);
        QVERIFY(m_control->calls().isEmpty());
    }

    // Found on the detection thread, the driver and every server object move
    // to the factory's thread, and so do the server's later reports.
    void found_on_the_detection_thread_reports_to_the_owner()
    {
        const QString folder = libraryFolder(kServerFiles, good_registry());
        QVERIFY(!folder.isEmpty());
        sensor_test_environment::useLibraryFolder(folder);
        CTargetSensor factory;
        bool complete = false;
        connect(&factory, &CTargetSensor::sensorDetectionComplete, this, [&] { complete = true; });
        {
            SensorDetectThread thread(&factory);
            thread.startDetection();
            QTRY_VERIFY(complete);
        }
        auto *sensor = qobject_cast<CTL_PLxxxSensor *>(factory.GetSensor());
        QVERIFY(sensor);
        QCOMPARE(sensor->GetClient()->thread(), QThread::currentThread());
        for (const QObject *child : sensor->GetClient()->children())
            QCOMPARE(child->thread(), QThread::currentThread());
        QCOMPARE(m_raiseException(0xC42E0209u), 1);
        QTRY_COMPARE(sensor->GetLastError(), -8506);
        QVERIFY(zeroCalibrate(*sensor));
        QCOMPARE(sensor->MeasureXYZ(1), 0);
    }

    void registration_file_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("progId");
        QTest::addColumn<QStringList>("services");
        QTest::addColumn<QString>("count");
        const QByteArray good = QJsonDocument(good_registry()).toJson();
        QTest::newRow("good") << good << QStringLiteral("Pl200 Class") << QStringList{QStringLiteral("BulkUsb")}
                              << QStringLiteral("1");
        QTest::newRow("key names in other letters")
            << QByteArray(R"({"CLASSES_ROOT": {"pl200srvr.pl200": {"": "Pl200 Class"}},
                             "Local_Machine": {"system": {"controlset001": {"services": {"bulkusb": {"enum": {"COUNT": "2"}}}}}}})")
            << QStringLiteral("Pl200 Class") << QStringList{QStringLiteral("bulkusb")} << QStringLiteral("2");
        QTest::newRow("values are not keys")
            << QByteArray(R"({"classes_root": {"PL200Srvr.Pl200": "Pl200 Class"},
                             "local_machine": {"SYSTEM": {"ControlSet001": {"Services": {"BulkUsb": 1}}}}})")
            << QString() << QStringList() << QString();
        QTest::newRow("not JSON") << QByteArray("[Pl200]\nCount=1\n") << QString() << QStringList() << QString();
        QTest::newRow("empty") << QByteArray() << QString() << QStringList() << QString();
    }

    void registration_file()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, progId);
        QFETCH(QStringList, services);
        QFETCH(QString, count);
        const QString folder = libraryFolder({}, QJsonObject());
        QVERIFY(!folder.isEmpty());
        QFile file(folder + QStringLiteral("/automation-registry.json"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        QCOMPARE(file.write(content), qint64(content.size()));
        file.close();
        sensor_test_environment::useLibraryFolder(folder);
        const pl_server_registration registration;
        using hive = pl_server_registration::hive;
        QCOMPARE(registration.value(hive::classes_root, QStringLiteral("PL200Srvr.Pl200")), progId);
        QCOMPARE(registration.childKeys(hive::local_machine, QStringLiteral("SYSTEM/ControlSet001/Services")), services);
        QCOMPARE(registration.value(hive::local_machine, QStringLiteral("SYSTEM/ControlSet001/Services/BulkUsb/Enum"),
                                    QStringLiteral("Count")),
                 count);
        // The hives are apart.
        QCOMPARE(registration.value(hive::local_machine, QStringLiteral("PL200Srvr.Pl200")), QString());
        QCOMPARE(registration.childKeys(hive::classes_root, QStringLiteral("nothing/here")), QStringList());
    }

    void registration_file_absent()
    {
        sensor_test_environment::useLibraryFolder(m_environment->emptyFolder());
        const pl_server_registration registration;
        QCOMPARE(registration.value(pl_server_registration::hive::classes_root, QStringLiteral("PL200Srvr.Pl200")),
                 QString());
        QVERIFY(!pl_server_registration::programFolderLists(QStringLiteral("probelink.dll")));
        sensor_test_environment::useLibraryFolder(sensor_test_environment::simulatedLibraryFolder());
        QVERIFY(pl_server_registration::programFolderLists(QStringLiteral("Probelink.DLL")));
        QVERIFY(pl_server_registration::programFolderLists(QStringLiteral("Linkmod.dll")));
    }
};

QTEST_GUILESS_MAIN(tst_pl_series)
#include "tst_pl_series.moc"

#include "display_protocol/wait_service.h"
#include "simulator/instrument/family_instrument.h"
#include "simulator/light/light_channel.h"

#include <QElapsedTimer>
#include <QJsonDocument>
#include <QTemporaryDir>
#include <QtTest>

#include <cmath>

using namespace sim_instrument;

namespace {

const QJsonObject kDefaults{{QStringLiteral("serial"), QStringLiteral("42")},
                            {QStringLiteral("calibrations"), QJsonArray{QJsonObject{{QStringLiteral("key"), 1}}}}};

QByteArray json(const QJsonObject &object)
{
    return QJsonDocument(object).toJson(QJsonDocument::Compact);
}

} // namespace

simulated_instrument &family_instrument()
{
    static simulated_instrument instrument(kDefaults);
    return instrument;
}

class tst_simulated_instrument : public QObject
{
    Q_OBJECT

private:
    bool configure(simulated_instrument &instrument, const QJsonObject &settings)
    {
        QString error;
        if (instrument.configure(json(settings), &error))
            return true;
        qWarning("refused: %s", qPrintable(error));
        return false;
    }

    QTemporaryDir m_folder;
    const QString m_display = QStringLiteral("127.0.10.1/1");

private slots:
    void initTestCase()
    {
        QVERIFY(m_folder.isValid());
        light_channel::set_channel_folder(m_folder.path());
        wait_service::set_time_scale(0.0);
    }

    void init()
    {
        light_channel::clear_channel();
        QVERIFY(light_channel::publish_light(m_display, {95.0, 100.0, 108.9}));
    }

    void configuration_merges_key_by_key()
    {
        simulated_instrument instrument(kDefaults);
        QCOMPARE(instrument.config().serial, QStringLiteral("42"));
        QVERIFY(configure(instrument, {{QStringLiteral("firmware"), QStringLiteral("v2.4.0")}}));
        QCOMPARE(instrument.config().serial, QStringLiteral("42"));
        QCOMPARE(instrument.config().firmware, QStringLiteral("v2.4.0"));
        QCOMPARE(instrument.config().calibrations.size(), 1);
        QVERIFY(configure(instrument, {{QStringLiteral("family"), QJsonObject{{QStringLiteral("a"), 1}}}}));
        QVERIFY(configure(instrument, {{QStringLiteral("family"), QJsonObject{{QStringLiteral("b"), 2}}}}));
        QCOMPARE(instrument.config().family.size(), 2);
        instrument.reset();
        QCOMPARE(instrument.config().firmware, QString());
        QVERIFY(instrument.config().family.isEmpty());
    }

    void refused_configurations_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::newRow("not JSON") << QByteArray("{serial");
        QTest::newRow("not an object") << QByteArray("[1, 2]");
        QTest::newRow("unknown key") << QByteArray(R"({"serial": "7", "seriall": "8"})");
        QTest::newRow("wrong type") << QByteArray(R"({"serial": 7})");
        QTest::newRow("fractional count") << QByteArray(R"({"device_count": 1.5})");
        QTest::newRow("unknown selector") << QByteArray(R"({"selector": "middle"})");
        QTest::newRow("key out of range") << QByteArray(R"({"calibrations": [{"key": 70000}]})");
        QTest::newRow("failure without a call") << QByteArray(R"({"fail_calls": [{"code": -1}]})");
        QTest::newRow("bad loss") << QByteArray(R"({"lose_device": {"after": "soon"}})");
    }

    void refused_configurations()
    {
        QFETCH(QByteArray, text);
        simulated_instrument instrument(kDefaults);
        QString error;
        QVERIFY(!instrument.configure(text, &error));
        QVERIFY(!error.isEmpty());
        // Nothing of a refused configuration is taken over.
        QCOMPARE(instrument.config().serial, QStringLiteral("42"));
        QCOMPARE(instrument.config().deviceCount, 1);
    }

    // The operator moves the instrument: each measurement reads the next
    // placement, then the instrument is back on its display.
    void placements_are_used_up_in_order()
    {
        const QString other = QStringLiteral("127.0.10.2/1");
        QVERIFY(light_channel::publish_light(other, {9.5, 10.0, 10.89}));
        simulated_instrument instrument(kDefaults);
        QVERIFY(configure(instrument, {{QStringLiteral("display"), m_display},
                                       {QStringLiteral("placements"), QJsonArray{other, m_display, other}}}));
        QList<double> seen;
        for (int i = 0; i < 5; ++i)
            seen << instrument.measure_emission().Y;
        QCOMPARE(seen, (QList<double>{10.0, 100.0, 10.0, 100.0, 100.0}));
        QVERIFY(!configure(instrument, {{QStringLiteral("placements"), QJsonArray{1}}}));
    }

    void noise_is_reproducible_from_the_seed()
    {
        const QJsonObject noisy{{QStringLiteral("display"), m_display},
                                {QStringLiteral("noise_relative"), 0.01},
                                {QStringLiteral("noise_seed"), 11}};
        simulated_instrument first(kDefaults);
        simulated_instrument second(kDefaults);
        QVERIFY(configure(first, noisy));
        QVERIFY(configure(second, noisy));
        const tristimulus a = first.measure_emission();
        const tristimulus b = second.measure_emission();
        QCOMPARE(a.Y, b.Y);
        QVERIFY(a.Y != 100.0);
        QVERIFY(configure(second, {{QStringLiteral("noise_seed"), 12}}));
        QVERIFY(second.measure_emission().Y != first.measure_emission().Y);
    }

    void noise_has_the_configured_spread()
    {
        simulated_instrument instrument(kDefaults);
        QVERIFY(configure(instrument, {{QStringLiteral("display"), m_display},
                                       {QStringLiteral("noise_relative"), 0.01},
                                       {QStringLiteral("noise_absolute"), 0.5},
                                       {QStringLiteral("noise_seed"), 5}}));
        const int samples = 4000;
        double sum = 0.0, squares = 0.0;
        for (int i = 0; i < samples; ++i) {
            const double y = instrument.measure_emission().Y;
            sum += y;
            squares += y * y;
        }
        const double mean = sum / samples;
        const double deviation = std::sqrt(squares / samples - mean * mean);
        // Expected deviation 100 * 0.01 + 0.5 = 1.5; 4000 samples estimate it
        // within a few percent and the mean within 0.1.
        QVERIFY2(std::abs(deviation - 1.5) < 0.1, qPrintable(QString::number(deviation)));
        QVERIFY2(std::abs(mean - 100.0) < 0.1, qPrintable(QString::number(mean)));
    }

    void reading_shapes_data()
    {
        QTest::addColumn<QJsonObject>("settings");
        QTest::addColumn<double>("X");
        QTest::addColumn<double>("Y");
        QTest::addColumn<double>("Z");
        QTest::newRow("as published") << QJsonObject() << 95.0 << 100.0 << 108.9;
        QTest::newRow("stray light added")
            << QJsonObject{{QStringLiteral("stray_light"),
                            QJsonObject{{QStringLiteral("X"), 1.0}, {QStringLiteral("Y"), 2.0}, {QStringLiteral("Z"), 3.0}}}}
            << 96.0 << 102.0 << 111.9;
        QTest::newRow("covered") << QJsonObject{{QStringLiteral("covered"), true},
                                                {QStringLiteral("stray_light"),
                                                 QJsonObject{{QStringLiteral("X"), 1.0}, {QStringLiteral("Y"), 2.0},
                                                             {QStringLiteral("Z"), 3.0}}}}
                                 << 0.0 << 0.0 << 0.0;
        QTest::newRow("below the floor") << QJsonObject{{QStringLiteral("low_light_floor"), 100.5}} << 0.0 << 0.0 << 0.0;
        QTest::newRow("at the floor") << QJsonObject{{QStringLiteral("low_light_floor"), 100.0}} << 95.0 << 100.0 << 108.9;
        QTest::newRow("quantised") << QJsonObject{{QStringLiteral("resolution"), 2.0}} << 96.0 << 100.0 << 108.0;
        QTest::newRow("other display") << QJsonObject{{QStringLiteral("display"), QStringLiteral("127.0.10.9/1")}}
                                       << 0.0 << 0.0 << 0.0;
    }

    void reading_shapes()
    {
        QFETCH(QJsonObject, settings);
        QFETCH(double, X);
        QFETCH(double, Y);
        QFETCH(double, Z);
        simulated_instrument instrument(kDefaults);
        QVERIFY(configure(instrument, {{QStringLiteral("display"), m_display}}));
        QVERIFY(configure(instrument, settings));
        const tristimulus reading = instrument.measure_emission();
        // Sums of two short decimals: within a few ulps.
        QVERIFY(std::abs(reading.X - X) < 1e-9);
        QVERIFY(std::abs(reading.Y - Y) < 1e-9);
        QVERIFY(std::abs(reading.Z - Z) < 1e-9);
    }

    void follows_the_active_display()
    {
        simulated_instrument instrument(kDefaults);
        QCOMPARE(instrument.measure_emission().Y, 0.0);
        QVERIFY(light_channel::publish_active_display(m_display));
        QCOMPARE(instrument.measure_emission().Y, 100.0);
    }

    void ambient_light()
    {
        simulated_instrument instrument(kDefaults);
        QVERIFY(configure(instrument, {{QStringLiteral("ambient_lux"), 320.0}}));
        QCOMPARE(instrument.measure_ambient_lux(), 320.0);
        QVERIFY(configure(instrument, {{QStringLiteral("covered"), true}}));
        QCOMPARE(instrument.measure_ambient_lux(), 0.0);
    }

    void integration_time_runs_on_the_wait_scale()
    {
        simulated_instrument instrument(kDefaults);
        QVERIFY(configure(instrument, {{QStringLiteral("time_scale"), 0.02}}));
        instrument.set_integration_seconds(1.0);
        QElapsedTimer timer;
        timer.start();
        instrument.measure_emission();
        // 1 s at scale 0.02 is 20 ms.
        QVERIFY(timer.elapsed() >= 19);
        QVERIFY(timer.elapsed() < 1000);
        wait_service::set_time_scale(0.0);
    }

    void call_failures_count_down()
    {
        simulated_instrument instrument(kDefaults);
        QVERIFY(configure(instrument, {{QStringLiteral("fail_calls"),
                                        QJsonArray{QJsonObject{{QStringLiteral("call"), QStringLiteral("A")},
                                                               {QStringLiteral("code"), -7},
                                                               {QStringLiteral("times"), 2}},
                                                   QJsonObject{{QStringLiteral("call"), QStringLiteral("B")},
                                                               {QStringLiteral("code"), -8}}}}}));
        QCOMPARE(instrument.begin_call(QStringLiteral("A"), call_role::device), -7);
        QCOMPARE(instrument.begin_call(QStringLiteral("A"), call_role::device), -7);
        QCOMPARE(instrument.begin_call(QStringLiteral("A"), call_role::device), 0);
        for (int i = 0; i < 5; ++i)
            QCOMPARE(instrument.begin_call(QStringLiteral("B"), call_role::library), -8);
    }

    void role_faults()
    {
        simulated_instrument instrument(kDefaults);
        QVERIFY(configure(instrument, {{QStringLiteral("open_fails"), true},
                                       {QStringLiteral("calibration_fails"), true},
                                       {QStringLiteral("measure_failures"), 2},
                                       {QStringLiteral("failure_code"), -9}}));
        QCOMPARE(instrument.begin_call(QStringLiteral("open"), call_role::open), -9);
        QCOMPARE(instrument.begin_call(QStringLiteral("calibrate"), call_role::calibrate), -9);
        QCOMPARE(instrument.begin_call(QStringLiteral("other"), call_role::device), 0);
        QCOMPARE(instrument.begin_call(QStringLiteral("measure"), call_role::measure), -9);
        QCOMPARE(instrument.begin_call(QStringLiteral("measure"), call_role::measure), -9);
        QCOMPARE(instrument.begin_call(QStringLiteral("measure"), call_role::measure), 0);
    }

    void device_loss_and_return_data()
    {
        QTest::addColumn<bool>("foundAgain");
        QTest::newRow("found again") << true;
        QTest::newRow("gone") << false;
    }

    void device_loss_and_return()
    {
        QFETCH(bool, foundAgain);
        simulated_instrument instrument(kDefaults);
        QVERIFY(configure(instrument, {{QStringLiteral("lose_device"),
                                        QJsonObject{{QStringLiteral("call"), QStringLiteral("measure")},
                                                    {QStringLiteral("after"), 1},
                                                    {QStringLiteral("code"), -101},
                                                    {QStringLiteral("found_again"), foundAgain}}}}));
        instrument.set_device_open(true);
        QCOMPARE(instrument.begin_call(QStringLiteral("other"), call_role::device), 0);
        QCOMPARE(instrument.begin_call(QStringLiteral("measure"), call_role::measure), 0);
        QCOMPARE(instrument.begin_call(QStringLiteral("measure"), call_role::measure), -101);
        QVERIFY(!instrument.device_open());
        QCOMPARE(instrument.begin_call(QStringLiteral("other"), call_role::device), -101);
        QCOMPARE(instrument.begin_call(QStringLiteral("close"), call_role::close), -101);
        QCOMPARE(instrument.begin_call(QStringLiteral("path"), call_role::library), 0);
        QCOMPARE(instrument.device_count(), 0);
        QCOMPARE(instrument.begin_call(QStringLiteral("init"), call_role::session), 0);
        QCOMPARE(instrument.device_count(), foundAgain ? 1 : 0);
        QCOMPARE(instrument.begin_call(QStringLiteral("measure"), call_role::measure), foundAgain ? 0 : -101);
    }

    void call_log()
    {
        family_instrument().reset();
        {
            logged_call call("first", call_role::device, {1, 2.5, QStringLiteral("text")});
            QCOMPARE(call.fault(), 0);
            call.finish(-3, {7.0});
        }
        family_instrument().log_call(QStringLiteral("second"), {}, 0);
        const QJsonArray log = QJsonDocument::fromJson(family_instrument().call_log_json()).array();
        QCOMPARE(log.size(), 2);
        QCOMPARE(log[0].toObject(), (QJsonObject{{QStringLiteral("call"), QStringLiteral("first")},
                                                 {QStringLiteral("args"), QJsonArray{1, 2.5, QStringLiteral("text")}},
                                                 {QStringLiteral("result"), -3},
                                                 {QStringLiteral("out"), QJsonArray{7.0}}}));
        QVERIFY(!log[1].toObject().contains(QStringLiteral("out")));
        family_instrument().clear_call_log();
        QCOMPARE(family_instrument().call_log_json(), QByteArray("[]"));
    }

    void configuration_file_for_manual_runs()
    {
        const QString path = m_folder.path() + QStringLiteral("/instrument.json");
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(R"({"serial": "from file", "selector": "ambient"})");
        file.close();
        qputenv("TESSALINE_SIM_INSTRUMENT_CONFIG", QFile::encodeName(path));
        simulated_instrument instrument(kDefaults);
        qunsetenv("TESSALINE_SIM_INSTRUMENT_CONFIG");
        QCOMPARE(instrument.config().serial, QStringLiteral("from file"));
        QCOMPARE(instrument.selector(), 3);
    }
};

QTEST_GUILESS_MAIN(tst_simulated_instrument)
#include "tst_simulated_instrument.moc"

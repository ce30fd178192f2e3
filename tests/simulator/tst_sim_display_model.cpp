#include "simulator/sim_display.h"
#include "simulator/sim_engine.h"
#include "simulator/sim_lut_memory.h"

#include <QtTest>

// The display-side pieces on their own, without a link: what a simulated
// display refuses and how its engine steps.
class tst_sim_display_model : public QObject
{
    Q_OBJECT

private slots:
    void models()
    {
        sim_display d;
        QVERIFY(!d.apply_model("NO-SUCH-MODEL"));
        QCOMPARE(d.model_name, QByteArray("SIM-WALL 55"));
        QCOMPARE(sim_model_profile::names().size(), 7);
        QVERIFY(d.apply_model("VW-6540QE"));
        QVERIFY(d.profile->engine);
        QVERIFY(d.capability_string.contains("model(VW-6540QE)"));
        QVERIFY(d.controls.find(0x11C7));
    }

    void lut_memory_refuses_addresses_outside_it()
    {
        sim_lut_memory lut;
        QVERIFY(lut.write(sim_lut_memory::kLong, 0x3FE, {1, 2}));
        QVERIFY(!lut.write(sim_lut_memory::kShort, 766, {7, 8, 9}));   // runs past blue
        QVERIFY(!lut.write(sim_lut_memory::kLong, 0xBFF, {7, 8}));
        QVector<quint16> values;
        QVERIFY(lut.read(sim_lut_memory::kLong, 0x3FE, 2, &values));
        QCOMPARE(values, (QVector<quint16> {1, 2}));
        QVERIFY(lut.write(sim_lut_memory::kShort, 256, {5}));
        QCOMPARE(lut.channel(1, 1), QVector<quint16> {5});
        QVERIFY(!lut.read(sim_lut_memory::kShort, 768, 1, &values));
    }

    void lut_commands_answer_refusal_for_bad_blocks_data()
    {
        QTest::addColumn<QByteArray>("body");
        QTest::newRow("outside the memory") << QByteArray("C2050C000001");
        QTest::newRow("seventeen values") << QByteArray("C2050000") + QByteArray("0001").repeated(17);
        QTest::newRow("broken value") << QByteArray("C20B000000");
        QTest::newRow("read of none") << QByteArray("C204000000");
    }

    void lut_commands_answer_refusal_for_bad_blocks()
    {
        QFETCH(QByteArray, body);
        sim_display d;
        QCOMPARE(d.handle('A', body).body(), QByteArray("BE"));
    }

    void engine_steps_and_refusals()
    {
        sim_engine e;
        e.config.busy_polls = 1;
        e.config.positions = 1;
        e.config.start_polls = 0;
        QVERIFY(!e.select(11));
        QVERIFY(e.select(sim_engine::kMeasurement));
        QVERIFY(!e.measurement({{1, 2, 3}}));
        e.command_written(sim_engine::kStartOrResume);
        QCOMPARE(e.run_value(), quint16(sim_engine::kRunning));
        QCOMPARE(e.state_value(), quint16(sim_engine::kBusy));
        QVERIFY(!e.select(sim_engine::kUpdateCalibration));
        e.poll();
        QCOMPARE(e.state_value(), quint16(sim_engine::kMeasurementWanted));
        QVERIFY(e.measurement({{1, 2, 3}}));
        e.poll();
        QCOMPARE(e.state_value(), quint16(sim_engine::kMeasuringFinished));
        e.command_written(sim_engine::kStartOrResume);
        QCOMPARE(e.state_value(), quint16(sim_engine::kIdle));
        QCOMPARE(e.run_value(), quint16(sim_engine::kFinished));
        QCOMPARE(e.finished_runs, 1);
    }

    void read_only_and_hidden_controls()
    {
        sim_display d;
        QVERIFY(d.apply_model("VW-4610C"));
        // Writing a counter is answered with a non-zero result and changes nothing.
        QCOMPARE(d.handle('E', "00FF0001").body().left(2), QByteArray("01"));
        QCOMPARE(d.controls.value(0xFF), quint16(6000));
        QCOMPARE(d.handle('C', "0318").body().left(2), QByteArray("01"));
        d.expert_mode = 2;
        QCOMPARE(d.handle('C', "0318").body().left(2), QByteArray("00"));
    }
};

QTEST_APPLESS_MAIN(tst_sim_display_model)
#include "tst_sim_display_model.moc"

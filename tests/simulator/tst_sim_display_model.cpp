#include "simulator/sim_display.h"
#include "simulator/sim_engine.h"
#include "simulator/sim_lut_memory.h"

#include <QtTest>

namespace {

QByteArray hex(int value, int digits)
{
    return QByteArray::number(value, 16).toUpper().rightJustified(digits, '0');
}

// A control as the get parameter reply gives it: result byte (0 supported),
// maximum and current value.
struct reading
{
    int result = -1;
    int max = 0;
    int current = 0;
};

reading read(sim_display &d, int code)
{
    const QByteArray body = d.handle('C', hex(code, 4)).body();
    return {body.left(2).toInt(nullptr, 16), body.mid(8, 4).toInt(nullptr, 16), body.mid(12, 4).toInt(nullptr, 16)};
}

// The reply body of a set parameter request.
QByteArray write(sim_display &d, int code, int value)
{
    return d.handle('E', hex(code, 4) + hex(value, 4)).body();
}

} // namespace

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

    // What the profile table sets apart, model by model.
    void model_profiles_data()
    {
        QTest::addColumn<QByteArray>("model");
        QTest::addColumn<int>("tile_matrix_max");   // -1: no tile matrix
        QTest::addColumn<bool>("sharpness");
        QTest::addColumn<int>("red_offset");        // 0: no analog levels
        QTest::addColumn<int>("sensors");
        QTest::addColumn<int>("fans");
        QTest::addColumn<bool>("mac");              // C220 answered
        QTest::addColumn<bool>("uniformity_grid");  // 0x11C6
        QTest::addColumn<int>("input");             // 0x60 at start
        QTest::newRow("VW-4610C") << QByteArray("VW-4610C") << -1 << true << 0x1098 << 2 << 1 << false << false << 4;
        QTest::newRow("VW-5510C") << QByteArray("VW-5510C") << 2 << true << 0x109B << 2 << 2 << false << false << 4;
        QTest::newRow("VW-4620L") << QByteArray("VW-4620L") << 3 << false << 0 << 3 << 3 << true << false << 17;
        QTest::newRow("VW-5530Q") << QByteArray("VW-5530Q") << 3 << true << 0 << 3 << 3 << true << false << 17;
        QTest::newRow("VW-6540QE") << QByteArray("VW-6540QE") << 3 << true << 0 << 3 << 3 << true << true << 17;
    }

    void model_profiles()
    {
        QFETCH(QByteArray, model);
        QFETCH(int, tile_matrix_max);
        QFETCH(bool, sharpness);
        QFETCH(int, red_offset);
        QFETCH(int, sensors);
        QFETCH(int, fans);
        QFETCH(bool, mac);
        QFETCH(bool, uniformity_grid);
        QFETCH(int, input);
        sim_display d;
        QVERIFY(d.apply_model(model));
        const reading tile = read(d, 0x2D3);
        QCOMPARE(tile.result == 0 ? tile.max : -1, tile_matrix_max);
        // Off is 1 where the maximum is 2, else 3.
        if (tile_matrix_max > 0)
            QCOMPARE(tile.current, tile_matrix_max == 2 ? 1 : 3);
        QCOMPARE(read(d, 0x2D0).result == 0, tile_matrix_max > 0);
        QCOMPARE(read(d, 0x8C).result == 0, sharpness);
        QCOMPARE(read(d, 0x1098).result == 0, red_offset == 0x1098);
        QCOMPARE(read(d, 0x109B).result == 0, red_offset == 0x109B);
        QCOMPARE(read(d, 0x1E).result == 0, red_offset != 0);
        QCOMPARE(read(d, 0x278).max, sensors);
        QCOMPARE(read(d, 0x27A).max, fans);
        QCOMPARE(read(d, 0x10E4).result == 0, sensors == 3);
        QCOMPARE(d.handle('A', "C22000").body() != "BE", mac);
        QVERIFY(d.handle('A', "C22A02").body().startsWith("C32A02"));
        QCOMPARE(read(d, 0x11C6).result == 0, uniformity_grid);
        QCOMPARE(read(d, 0x60).current, input);
        // Its firmware meets the model's minimum; every model has these.
        QVERIFY(!d.identity_texts[0].startsWith('R'));
        for (int code : {0xE1, 0x2D6, 0x240, 0x2D8, 0x2BE, 0x27D, 0x103F, 0x1040, 0x2E3, 0x90, 0x21F, 0x212, 0x2F6,
                         0x20, 0x26F, 0x2DA, 0x2CE, 0x270, 0x23F, 0x1095, 0x107F, 0x23E})
            QVERIFY2(read(d, code).result == 0, qPrintable(QString::number(code, 16)));
    }

    // Written values as a display keeps them: within its minimum and
    // maximum, corrected where it corrects, an input it lacks not taken,
    // defaults back by group.
    void written_values_as_the_display_keeps_them()
    {
        sim_display d;
        QVERIFY(d.apply_model("VW-5530Q"));
        QVERIFY(write(d, 0x26F, 0).startsWith("00"));
        QCOMPARE(read(d, 0x26F).current, 1);
        write(d, 0x2D8, 200);
        QCOMPARE(read(d, 0x2D8).current, 50);
        d.controls.find(0x23F)->stored_as.insert(4, 1);
        QVERIFY(write(d, 0x23F, 4).endsWith("0001"));
        write(d, 0x23F, 3);
        QCOMPARE(read(d, 0x23F).current, 3);
        QVERIFY(write(d, 0x60, 6).startsWith("00"));
        QCOMPARE(read(d, 0x60).current, 17);
        write(d, 0x60, 130);
        QCOMPARE(read(d, 0x60).current, 130);
        write(d, 0x10, 20);
        write(d, 0x2F3, 7);
        write(d, 0x20, 9);
        write(d, 0x2CB, 2);
        QCOMPARE((QList<int> {read(d, 0x10).current, read(d, 0x2F3).current, read(d, 0x20).current}),
                 (QList<int> {80, 50, 9}));
        write(d, 0x2CB, 3);
        QCOMPARE(read(d, 0x20).current, 50);
        // Tests put garbled values straight into the state.
        QVERIFY(d.controls.force(0x2D2, 500));
        QCOMPARE(read(d, 0x2D2).current, 500);
    }

    void cooling_readings_follow_their_selectors()
    {
        sim_display d('C');
        QVERIFY(d.apply_model("VW-5520L"));
        d.temperatures = {{70, 84, 90}};
        d.fan_states = {{1, 2, 0}};
        write(d, 0x278, 2);
        QCOMPARE(read(d, 0x279).current, 84);
        write(d, 0x27A, 2);
        QCOMPARE(read(d, 0x27B).current, 2);
        write(d, 0x278, 3);
        QCOMPARE(read(d, 0x279).current, 90);
        QCOMPARE(read(d, 0x23E).current, 3);   // its own monitor ID
        QVERIFY(write(d, 0x23E, 1).startsWith("01"));
    }

    // Faults on the display side: a refused control write (by value and
    // count), a display that will not switch on, a refused remote key, a
    // write answered late.
    void refusals_and_late_answers()
    {
        sim_display d;
        QVERIFY(d.apply_model("VW-4610C"));
        d.refused_writes = {0x10, 40, 2};
        QCOMPARE(write(d, 0x10, 40), QByteArray("BE"));
        QVERIFY(write(d, 0x10, 41).startsWith("00"));
        QCOMPARE(write(d, 0x10, 40), QByteArray("BE"));
        QVERIFY(write(d, 0x10, 40).startsWith("00"));
        QCOMPARE(read(d, 0x10).current, 40);
        d.refused_writes = {0x12, sim_display::write_refusal::kAnyValue, sim_fault::kForever};
        QCOMPARE(write(d, 0x12, 1), QByteArray("BE"));
        QCOMPARE(write(d, 0x12, 2), QByteArray("BE"));

        d.refuses_power_on = true;
        write(d, 0xD6, 4);
        QVERIFY(d.handle('A', "C203D60001").body().startsWith("01"));
        QVERIFY(d.handle('A', "C203D60004").body().startsWith("00"));

        QCOMPARE(d.handle('A', "C210006903").body(), QByteArray("01C210006903"));
        QCOMPARE(d.handle('A', "C210000803").body(), QByteArray("C3100008"));
        QCOMPARE(d.ir_keys, QList<quint16> {0x08});

        d.time_scale = 0.01;
        QCOMPARE(d.handle('E', "02DA0003").delay_ms(), 100);
        QCOMPARE(d.handle('C', "02DA").delay_ms(), 0);
        d.write_reply_delays_ms.insert(0x10, 3000);
        QCOMPARE(d.handle('E', "00100005").delay_ms(), 30);
    }

    void read_only_and_hidden_controls()
    {
        sim_display d;
        QVERIFY(d.apply_model("VW-4610C"));
        // Writing a counter is answered with a non-zero result and changes nothing.
        QCOMPARE(d.handle('E', "00FF0001").body().left(2), QByteArray("01"));
        QCOMPARE(d.controls.value(0xFF), quint16(6000));
        QCOMPARE(d.handle('C', "0318").body().left(2), QByteArray("01"));
        QCOMPARE(d.handle('C', "031D").body().left(2), QByteArray("01"));
        d.expert_mode = 2;
        QCOMPARE(d.handle('C', "0318").body().left(2), QByteArray("00"));
        QCOMPARE(d.handle('C', "031D").body().left(2), QByteArray("00"));
    }
};

QTEST_APPLESS_MAIN(tst_sim_display_model)
#include "tst_sim_display_model.moc"

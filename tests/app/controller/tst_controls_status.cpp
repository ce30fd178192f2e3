#include "app/controller/controls_status.h"
#include "app/controller/layout_manager.h"
#include "colour/CMonitorTracker.h"
#include "tests/support/headless_controller.h"

#include <QtTest>

namespace {

const QDateTime kWhen(QDate(2024, 3, 1), QTime(9, 30), Qt::UTC);

// The names of the conditions that hold, in declaration order.
QStringList holding(const controls_status &s)
{
    const QList<QPair<const char *, bool>> flags = {
        {"any_measured", s.any_measured},
        {"selected_measured", s.selected_measured},
        {"any_calibrated", s.any_calibrated},
        {"selected_calibrated", s.selected_calibrated},
        {"selected_has_record", s.selected_has_record},
        {"selected_on_rs232", s.selected_on_rs232},
        {"any_enabled", s.any_enabled},
        {"several_displays", s.several_displays},
        {"any_uniformity_capable", s.any_uniformity_capable},
    };
    QStringList names;
    for (const auto &flag : flags) {
        if (flag.second)
            names << QLatin1String(flag.first);
    }
    return names;
}

} // namespace

class tst_controls_status : public QObject
{
    Q_OBJECT

private slots:
    void conditions_data();
    void conditions();
};

void tst_controls_status::conditions_data()
{
    QTest::addColumn<int>("displays");
    QTest::addColumn<QList<int>>("rs232");
    QTest::addColumn<QList<int>>("disabled");
    QTest::addColumn<QList<int>>("with_record");
    QTest::addColumn<QList<int>>("measured");
    QTest::addColumn<QList<int>>("calibrated");
    QTest::addColumn<QList<int>>("uniformity");
    QTest::addColumn<int>("selected");
    QTest::addColumn<QStringList>("expected");

    const QList<int> none;
    QTest::newRow("one display, no records")
        << 1 << none << none << none << none << none << none << 0 << QStringList{"any_enabled"};
    QTest::newRow("two displays, no records")
        << 2 << none << none << none << none << none << none << 0
        << QStringList{"any_enabled", "several_displays"};
    QTest::newRow("record of another display only")
        << 2 << none << none << QList<int>{1} << none << none << none << 0
        << QStringList{"any_enabled", "several_displays"};
    QTest::newRow("selected display has a bare record")
        << 2 << none << none << QList<int>{1} << none << none << none << 1
        << QStringList{"selected_has_record", "any_enabled", "several_displays"};
    QTest::newRow("another display measured")
        << 2 << none << none << QList<int>{1} << QList<int>{1} << none << none << 0
        << QStringList{"any_measured", "any_enabled", "several_displays"};
    QTest::newRow("selected display measured and calibrated")
        << 2 << none << none << QList<int>{1} << QList<int>{1} << QList<int>{1} << none << 1
        << QStringList{"any_measured", "selected_measured", "any_calibrated", "selected_calibrated",
                       "selected_has_record", "any_enabled", "several_displays"};
    QTest::newRow("calibrated, never measured")
        << 2 << none << none << QList<int>{0} << none << QList<int>{0} << none << 1
        << QStringList{"any_calibrated", "any_enabled", "several_displays"};
    QTest::newRow("selected display on RS-232")
        << 2 << QList<int>{1} << none << none << none << none << none << 1
        << QStringList{"selected_on_rs232", "any_enabled", "several_displays"};
    QTest::newRow("another display on RS-232")
        << 2 << QList<int>{1} << none << none << none << none << none << 0
        << QStringList{"any_enabled", "several_displays"};
    QTest::newRow("every display disabled, still calibrated")
        << 2 << none << QList<int>{0, 1} << QList<int>{0} << none << QList<int>{0} << none << 0
        << QStringList{"any_calibrated", "selected_calibrated", "selected_has_record", "several_displays"};
    QTest::newRow("uniformity capable display")
        << 2 << none << none << QList<int>{1} << none << none << QList<int>{1} << 0
        << QStringList{"any_enabled", "several_displays", "any_uniformity_capable"};
    QTest::newRow("uniformity capable but disabled")
        << 2 << none << QList<int>{1} << QList<int>{1} << none << none << QList<int>{1} << 0
        << QStringList{"any_enabled", "several_displays"};
    QTest::newRow("selection outside the layout")
        << 2 << QList<int>{0, 1} << none << QList<int>{0, 1} << QList<int>{0, 1} << QList<int>{0, 1} << none << 5
        << QStringList{"any_measured", "any_calibrated", "any_enabled", "several_displays"};
}

void tst_controls_status::conditions()
{
    QFETCH(int, displays);
    QFETCH(QList<int>, rs232);
    QFETCH(QList<int>, disabled);
    QFETCH(QList<int>, with_record);
    QFETCH(QList<int>, measured);
    QFETCH(QList<int>, calibrated);
    QFETCH(QList<int>, uniformity);
    QFETCH(int, selected);
    QFETCH(QStringList, expected);

    headless_controller wall;
    wall.create_wall(displays, 1);
    for (int index : with_record) {
        CAdjustValue record;
        if (measured.contains(index))
            record.measurements.measurement_date_time = kWhen;
        if (calibrated.contains(index))
            record.SetCalibrationDateTime(kWhen);
        if (uniformity.contains(index))
            record.SetCapabilityFlags(1);
        wall.store_record(index, record);
    }
    for (int index = 0; index < displays; ++index) {
        display_layout_item item;
        wall.layout().get_item(index, item);
        if (rs232.contains(index)) {
            item.connection_type = display_layout_item::kRs232;
            item.connection_address = QStringLiteral("COM%1").arg(index + 1);
        }
        item.enabled = !disabled.contains(index);
        wall.layout().set_item(index, item, false);
    }

    QCOMPARE(holding(evaluate_controls_status(wall.layout(), wall.records(), selected)), expected);
}

QTEST_GUILESS_MAIN(tst_controls_status)
#include "tst_controls_status.moc"

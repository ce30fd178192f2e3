#include "app/controller/layout_manager.h"
#include "app/services/preferences.h"
#include "colour/CAdjustValue.h"
#include "tests/support/headless_controller.h"
#include "tests/support/widget_images.h"
#include "views/wall/KQ_display_layout_widget.h"
#include "views/wall/target_offset_opener.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QMenu>
#include <QSignalSpy>
#include <QtTest>

#include <cmath>

using namespace widget_images;

namespace {

constexpr int kSide = 200;
const QPoint kInsideFrame(8, 190);  // clear of the ring, the icons and the text
const QColor kVerifiedFill(192, 255, 255);
const QColor kVerifiedHover(205, 255, 255);
const QColor kPink(255, 192, 192);

// A one-display wall (verified) with a tile for it, offscreen.
struct tile_fixture
{
    tile_fixture()
    {
        wall.create_wall(1, 1);
        wall.store_record(0, CAdjustValue());
        tile.resize(kSide, kSide);
        tile.set_layout_index(0);
    }

    display_layout_item item()
    {
        display_layout_item read;
        if (wall.layout().get_item(0, read) != 0)
            qFatal("no display 0");
        return read;
    }

    void set_job_status(int pending, int tasks, int done, int sub_steps, int sub_done, int result = 0)
    {
        display_job_status_info_item status;
        status.pending = pending;
        status.task_total = tasks;
        status.task_step = done;
        status.sub_task_total = sub_steps;
        status.sub_task_step = sub_done;
        status.last_result = result;
        wall.layout().update_display_job_status_info_item(0, status);
        tile.display_job_status_info_item_changed(0);
    }

    headless_controller wall;
    KQ_display_layout_widget tile;
};

// A point on the ring's centre line at |degrees| clockwise from 12 o'clock.
QPoint on_ring(double degrees)
{
    const double radius = (kSide - 22) / 2.0;
    const double rad = qDegreesToRadians(degrees);
    return QPoint(qRound(kSide / 2.0 + radius * std::sin(rad)), qRound(kSide / 2.0 - radius * std::cos(rad)));
}

// Closes the context menu as soon as it shows.
void close_next_menu()
{
    QTimer::singleShot(0, [] {
        if (QWidget *popup = QApplication::activePopupWidget())
            popup->close();
    });
}

} // namespace

class tst_display_layout_widget : public QObject
{
    Q_OBJECT

private slots:
    void fills_inside_the_frame_normal_and_hovered()
    {
        tile_fixture fx;
        QVERIFY(near(pixel(paint(fx.tile), kInsideFrame), kVerifiedFill));
        QEvent enter(QEvent::Enter);
        QApplication::sendEvent(&fx.tile, &enter);
        QVERIFY(fx.tile.hovered());
        QVERIFY(near(pixel(paint(fx.tile), kInsideFrame), kVerifiedHover));
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(&fx.tile, &leave);
        QVERIFY(near(pixel(paint(fx.tile), kInsideFrame), kVerifiedFill));
        // Outside the frame the tile paints nothing of its own.
        QVERIFY(!near(pixel(paint(fx.tile), QPoint(0, 100)), kVerifiedFill));
    }

    void a_failed_job_overrides_the_fill()
    {
        tile_fixture fx;
        fx.set_job_status(0, 0, 0, 0, 0, -1027);
        QVERIFY(near(pixel(paint(fx.tile), kInsideFrame), kPink));
    }

    void the_ring_shows_job_progress_data()
    {
        QTest::addColumn<int>("pending");
        QTest::addColumn<int>("tasks");
        QTest::addColumn<int>("sub_steps");
        QTest::addColumn<bool>("track");     // the full circle in the lighter shade
        QTest::addColumn<bool>("arc_at_45");
        QTest::addColumn<bool>("arc_at_112");
        QTest::addColumn<bool>("arc_at_200");
        QTest::newRow("idle: no ring") << 0 << 0 << 0 << false << false << false << false;
        QTest::newRow("pending: dotted") << 1 << 0 << 0 << true << false << false << false;
        QTest::newRow("a quarter") << 0 << 4 << 0 << true << true << false << false;
        QTest::newRow("a quarter and half a step") << 0 << 4 << 2 << true << true << true << false;
    }
    void the_ring_shows_job_progress()
    {
        QFETCH(int, pending);
        QFETCH(int, tasks);
        QFETCH(int, sub_steps);
        QFETCH(bool, track);
        QFETCH(bool, arc_at_45);
        QFETCH(bool, arc_at_112);
        QFETCH(bool, arc_at_200);
        tile_fixture fx;
        fx.set_job_status(pending, tasks, tasks > 0 ? 1 : 0, sub_steps, sub_steps > 0 ? 1 : 0);
        const QImage image = paint(fx.tile);
        const QColor light = kVerifiedFill.darker(120);
        const QColor dark = kVerifiedFill.darker(200);
        const QRect ring_band(0, 90, 20, 20); // around 9 o'clock on the ring
        QCOMPARE(count_near(image, ring_band, light, 2) > 0, track);
        QCOMPARE(near(pixel(image, on_ring(45)), dark, 2), arc_at_45);
        QCOMPARE(near(pixel(image, on_ring(112)), dark, 2), arc_at_112);
        QCOMPARE(near(pixel(image, on_ring(200)), dark, 2), arc_at_200);
        if (pending > 0) // dotted: the track has gaps showing the fill
            QVERIFY(count_near(image, QRect(0, 60, 20, 80), kVerifiedFill, 2) > 0);
    }

    void the_selection_frame_follows_the_check()
    {
        tile_fixture fx;
        fx.tile.setCheckable(true);
        const QPoint edge(3, 100);
        QVERIFY(!near(pixel(paint(fx.tile), edge), Qt::white));
        fx.tile.setChecked(true);
        QVERIFY(near(pixel(paint(fx.tile), edge), Qt::white));
    }

    void icons_use_the_double_size_pictures_at_ratio_two()
    {
        tile_fixture fx;
        CAdjustValue record;
        record.SetCapabilityWordA(1); // the engine: "kqe_disabled" without the preference
        fx.wall.controller().getPreferences()->SetUseQuillonEngine(false);
        fx.wall.store_record(0, record);
        fx.tile.updateInfo();
        QCOMPARE(fx.tile.view().icons, QStringList{QStringLiteral("kqe_disabled")});
        const QImage image = paint(fx.tile);
        const bool doubled = image.devicePixelRatio() >= 2.0;
        const QImage picture(doubled ? QStringLiteral(":/images/Resources/kqe_disabled@2x.png")
                                     : QStringLiteral(":/images/Resources/kqe_disabled.png"));
        QVERIFY(!picture.isNull());
        const int ratio = doubled ? 2 : 1;
        QVERIFY(shows_picture(image, picture, QPoint(6 * ratio, 6 * ratio)));
    }

    void the_context_menu_reflects_the_display_data()
    {
        QTest::addColumn<bool>("enabled");
        QTest::addColumn<int>("status");
        QTest::addColumn<int>("orientation");
        QTest::newRow("verified, landscape") << true << 1 << 1;
        QTest::newRow("disabled, portrait") << false << 1 << 2;
        QTest::newRow("unverified, not set") << true << 0 << 0;
    }
    void the_context_menu_reflects_the_display()
    {
        QFETCH(bool, enabled);
        QFETCH(int, status);
        QFETCH(int, orientation);
        tile_fixture fx;
        display_layout_item item = fx.item();
        item.enabled = enabled;
        item.verify_status = status;
        item.orientation = orientation;
        fx.wall.layout().set_item(0, item, false);

        close_next_menu();
        QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(10, 10), fx.tile.mapToGlobal(QPoint(10, 10)));
        QApplication::sendEvent(&fx.tile, &event);

        const QList<QAction *> actions = fx.tile.actions();
        QCOMPARE(actions.size(), 7);
        QCOMPARE(actions.at(0)->text(), QStringLiteral("&Disable"));
        QCOMPARE(actions.at(0)->isChecked(), !enabled);
        QCOMPARE(actions.at(4)->isEnabled(), status == 1);
        QCOMPARE(actions.at(5)->isChecked(), orientation == 1);
        QCOMPARE(actions.at(6)->isChecked(), orientation == 2);
    }

    void disable_toggles_the_enabled_flag()
    {
        tile_fixture fx;
        fx.tile.disable();
        QVERIFY(!fx.item().enabled);
        fx.tile.disable();
        QVERIFY(fx.item().enabled);
    }

    void orientation_writes_only_on_change_and_always_emits_data()
    {
        QTest::addColumn<int>("before");
        QTest::addColumn<bool>("portrait");
        QTest::addColumn<int>("writes");
        QTest::addColumn<int>("value");
        QTest::newRow("landscape again") << 1 << false << 0 << 0;
        QTest::newRow("to landscape") << 2 << false << 1 << 0;
        QTest::newRow("portrait again") << 2 << true << 0 << 1;
        QTest::newRow("to portrait") << 0 << true << 1 << 1;
    }
    void orientation_writes_only_on_change_and_always_emits()
    {
        QFETCH(int, before);
        QFETCH(bool, portrait);
        QFETCH(int, writes);
        QFETCH(int, value);
        tile_fixture fx;
        display_layout_item item = fx.item();
        item.orientation = before;
        fx.wall.layout().set_item(0, item, false);
        QSignalSpy changed(&fx.wall.layout(), &layout_manager::layout_changed);
        QSignalSpy emitted(&fx.tile, &KQ_display_layout_widget::set_osd_orientation_out);
        portrait ? fx.tile.set_orientation_portrait() : fx.tile.set_orientation_landscape();
        QCOMPARE(changed.count(), writes);
        QCOMPARE(fx.item().orientation, portrait ? 2 : 1);
        QCOMPARE(emitted.count(), 1);
        QCOMPARE(emitted.first().at(0).toInt(), 0);
        QCOMPARE(emitted.first().at(1).toInt(), value);
    }

    void an_unreadable_index_changes_nothing()
    {
        tile_fixture fx;
        fx.tile.set_layout_index(5);
        QSignalSpy emitted(&fx.tile, &KQ_display_layout_widget::set_osd_orientation_out);
        QSignalSpy changed(&fx.wall.layout(), &layout_manager::layout_changed);
        fx.tile.set_orientation_portrait();
        fx.tile.disable();
        QCOMPARE(emitted.count(), 0);
        QCOMPARE(changed.count(), 0);
    }

    void commands_become_signals_with_the_index()
    {
        tile_fixture fx;
        QSignalSpy identify(&fx.tile, &KQ_display_layout_widget::identify_display_out);
        QSignalSpy power(&fx.tile, &KQ_display_layout_widget::power_on_display_out);
        fx.tile.identify_display();
        fx.tile.power_on_display();
        fx.tile.power_off_display();
        QCOMPARE(identify.count(), 1);
        QCOMPARE(power.count(), 2);
        QCOMPARE(power.at(0), QVariantList({0, 1}));
        QCOMPARE(power.at(1), QVariantList({0, 0}));
    }

    void the_offset_action_calls_the_installed_opener()
    {
        tile_fixture fx;
        fx.tile.edit_calibration_target_offset(); // nothing installed: nothing happens
        int opened_for = -1;
        QWidget *opened_over = nullptr;
        set_target_offset_opener([&](int index, QWidget *parent) {
            opened_for = index;
            opened_over = parent;
        });
        fx.tile.edit_calibration_target_offset();
        set_target_offset_opener(nullptr);
        QCOMPARE(opened_for, 0);
        QCOMPARE(opened_over, &fx.tile);
    }

    void the_text_shrinks_to_three_points_on_a_tiny_tile()
    {
        tile_fixture fx;
        fx.tile.resize(12, 12);
        QFont big = fx.tile.font();
        big.setPointSize(14);
        fx.tile.setFont(big);
        paint(fx.tile); // must end
        QVERIFY(fx.tile.minimumSizeHint().width() >= 5 * QFontMetrics(big).height() + 10);
    }
};

QTEST_MAIN(tst_display_layout_widget)
#include "tst_display_layout_widget.moc"

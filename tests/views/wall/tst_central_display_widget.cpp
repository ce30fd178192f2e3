#include "app/controller/layout_manager.h"
#include "tests/support/headless_controller.h"
#include "views/wall/KQ_central_display_widget.h"
#include "views/wall/KQ_display_layout_widget.h"

#include <QGridLayout>
#include <QSignalSpy>
#include <QSpacerItem>
#include <QtTest>

namespace {

// Counts the paint events of the widgets it watches.
class paint_counter : public QObject
{
public:
    int count(QObject *widget) const { return m_counts.value(widget); }
    void reset() { m_counts.clear(); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            ++m_counts[watched];
        return false;
    }

private:
    QHash<QObject *, int> m_counts;
};

QList<QSpacerItem *> spacers(QWidget &view)
{
    QList<QSpacerItem *> found;
    QLayout *layout = view.layout();
    for (int i = 0; i < layout->count(); ++i)
        if (QSpacerItem *spacer = layout->itemAt(i)->spacerItem())
            found.append(spacer);
    return found;
}

} // namespace

class tst_central_display_widget : public QObject
{
    Q_OBJECT

private slots:
    void tiles_sit_at_their_displays_cells()
    {
        headless_controller wall;
        wall.create_wall(3, 2);
        // A display moved by hand keeps its index but changes its cell.
        display_layout_item moved;
        wall.layout().get_item(1, moved);
        std::swap(moved.column, moved.row);
        wall.layout().set_item(1, moved, false);

        KQ_central_display_widget view(nullptr, &wall.layout());
        auto *grid = qobject_cast<QGridLayout *>(view.layout());
        QVERIFY(grid);
        QCOMPARE(view.tiles().size(), 6);
        for (int i = 0; i < view.tiles().size(); ++i) {
            display_layout_item item;
            wall.layout().get_item(i, item);
            int row = -1, column = -1, rows = 0, columns = 0;
            grid->getItemPosition(grid->indexOf(view.tiles().at(i)), &row, &column, &rows, &columns);
            QCOMPARE(view.tiles().at(i)->layout_index(), i);
            QCOMPARE(row, item.row);
            QCOMPARE(column, item.column);
        }
        QVERIFY(view.tiles().first()->isChecked());
        QCOMPARE(spacers(view).size(), 2);
    }

    void an_empty_wall_has_spacers_and_no_tiles()
    {
        headless_controller wall;
        KQ_central_display_widget view(nullptr, &wall.layout());
        QVERIFY(view.tiles().isEmpty());
        QCOMPARE(spacers(view).size(), 2);
        QSignalSpy selection(&view, &KQ_central_display_widget::selection_changed_out);
        view.select_first_position();
        view.select_position(0);
        QCOMPARE(selection.count(), 0);
    }

    void selecting_the_first_position_checks_tile_zero()
    {
        headless_controller wall;
        wall.create_wall(2, 2);
        KQ_central_display_widget view(nullptr, &wall.layout());
        view.select_position(3);
        QVERIFY(view.tiles().at(3)->isChecked());
        QSignalSpy selection(&view, &KQ_central_display_widget::selection_changed_out);
        view.select_first_position();
        QVERIFY(view.tiles().at(0)->isChecked());
        QVERIFY(!view.tiles().at(3)->isChecked());
        QVERIFY(selection.count() >= 1);
        QCOMPARE(selection.last().at(0).toInt(), 0);
    }

    void select_position_checks_the_tile_and_reports_it_data()
    {
        QTest::addColumn<int>("position");
        QTest::addColumn<bool>("taken");
        QTest::newRow("inside") << 2 << true;
        QTest::newRow("last") << 3 << true;
        QTest::newRow("negative") << -1 << false;
        QTest::newRow("at the count") << 4 << false;
    }
    void select_position_checks_the_tile_and_reports_it()
    {
        QFETCH(int, position);
        QFETCH(bool, taken);
        headless_controller wall;
        wall.create_wall(2, 2);
        KQ_central_display_widget view(nullptr, &wall.layout());
        QSignalSpy selection(&view, &KQ_central_display_widget::selection_changed_out);
        QSignalSpy focus(&view, &KQ_central_display_widget::focus_changed_out2);
        view.select_position(position);
        QCOMPARE(focus.count(), taken ? 1 : 0);
        QCOMPARE(selection.count(), taken ? 1 : 0);
        const int checked = taken ? position : 0;
        for (int i = 0; i < view.tiles().size(); ++i)
            QCOMPARE(view.tiles().at(i)->isChecked(), i == checked);
        if (taken) {
            QCOMPARE(focus.first().at(0).value<QWidget *>(), static_cast<QWidget *>(view.tiles().at(position)));
            QCOMPARE(selection.first().at(0).toInt(), position);
        }
    }

    void tile_commands_reach_the_view_signals()
    {
        headless_controller wall;
        wall.create_wall(2, 1);
        KQ_central_display_widget view(nullptr, &wall.layout());
        QSignalSpy identify(&view, &KQ_central_display_widget::identify_display_out);
        QSignalSpy power(&view, &KQ_central_display_widget::power_on_display_out);
        QSignalSpy orientation(&view, &KQ_central_display_widget::set_osd_orientation_out);
        view.tiles().at(1)->identify_display();
        view.tiles().at(1)->power_off_display();
        view.tiles().at(1)->set_orientation_portrait();
        QCOMPARE(identify.count(), 1);
        QCOMPARE(identify.first().at(0).toInt(), 1);
        QCOMPARE(power.first(), QVariantList({1, 0}));
        QCOMPARE(orientation.first(), QVariantList({1, 1}));
    }

    void expansion_toggles_without_rebuilding()
    {
        headless_controller wall;
        wall.create_wall(2, 2);
        KQ_central_display_widget view(nullptr, &wall.layout());
        const QList<KQ_display_layout_widget *> tiles = view.tiles();
        view.set_view_expansion(true);
        QCOMPARE(view.tiles(), tiles);
        for (KQ_display_layout_widget *tile : tiles)
            QCOMPARE(tile->sizePolicy().horizontalPolicy(), QSizePolicy::Expanding);
        for (QSpacerItem *spacer : spacers(view)) {
            QCOMPARE(spacer->sizePolicy().horizontalPolicy(), QSizePolicy::Minimum);
            QCOMPARE(spacer->sizePolicy().verticalPolicy(), QSizePolicy::Minimum);
        }
        view.set_view_expansion(false);
        QCOMPARE(view.tiles(), tiles);
        for (KQ_display_layout_widget *tile : tiles)
            QCOMPARE(tile->sizePolicy().verticalPolicy(), QSizePolicy::Minimum);
        const QList<QSpacerItem *> packed = spacers(view);
        QCOMPARE(packed.at(0)->sizePolicy().verticalPolicy(), QSizePolicy::Expanding);
        QCOMPARE(packed.at(1)->sizePolicy().horizontalPolicy(), QSizePolicy::Expanding);
    }

    void a_job_status_repaints_only_its_tile()
    {
        headless_controller wall;
        wall.create_wall(2, 2);
        KQ_central_display_widget view(nullptr, &wall.layout());
        view.resize(800, 800);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        paint_counter paints;
        for (KQ_display_layout_widget *tile : view.tiles())
            tile->installEventFilter(&paints);
        QTest::qWait(20);
        paints.reset();

        display_job_status_info_item status;
        status.pending = 1;
        wall.layout().update_display_job_status_info_item(2, status);
        QTRY_VERIFY(paints.count(view.tiles().at(2)) > 0);
        QCOMPARE(view.tiles().at(2)->view().ring, tile_ring::dotted);
        QCoreApplication::processEvents();
        for (int i : {0, 1, 3})
            QCOMPARE(paints.count(view.tiles().at(i)), 0);
    }
};

QTEST_MAIN(tst_central_display_widget)
#include "tst_central_display_widget.moc"

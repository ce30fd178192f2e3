#include "app/controller/layout_manager.h"
#include "dialogs/calibration_order.h"
#include "dialogs/set_calibration_order_dialog.h"
#include "layout_setup/KQ_set_display_order_grid_widget.h"
#include "layout_setup/KQ_set_display_order_layout_widget.h"
#include "tests/support/headless_controller.h"

#include <QGridLayout>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QScreen>
#include <QStyle>
#include <QtTest>

Q_DECLARE_METATYPE(display_position)

namespace {

display_layout_item item_at(int column, int row, int id)
{
    display_layout_item item;
    item.column = column;
    item.row = row;
    item.monitor_id = id;
    return item;
}

QList<int> ids(const QList<display_layout_item> &items)
{
    QList<int> result;
    for (const display_layout_item &item : items)
        result << item.monitor_id;
    return result;
}

QWidget *button_at(KQ_set_display_order_grid_widget *grid, int column, int row)
{
    auto *layout = qobject_cast<QGridLayout *>(grid->layout());
    QLayoutItem *item = layout ? layout->itemAtPosition(row, column) : nullptr;
    return item ? item->widget() : nullptr;
}

} // namespace

class tst_calibration_order : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale::c()); }

    void reordering_data()
    {
        QTest::addColumn<QList<display_position>>("order");
        QTest::addColumn<bool>("placed");
        QTest::addColumn<QList<int>>("result");
        using P = display_position;
        QTest::newRow("clicked order") << QList<P>{{1, 1}, {0, 0}, {1, 0}, {0, 1}} << true << QList<int>{4, 1, 2, 3};
        QTest::newRow("same order") << QList<P>{{0, 0}, {1, 0}, {0, 1}, {1, 1}} << true << QList<int>{1, 2, 3, 4};
        QTest::newRow("too few") << QList<P>{{1, 1}, {0, 0}, {1, 0}} << false << QList<int>{};
        QTest::newRow("a position twice") << QList<P>{{1, 1}, {1, 1}, {1, 0}, {0, 1}} << false << QList<int>{};
        QTest::newRow("no record there") << QList<P>{{1, 1}, {0, 0}, {1, 0}, {5, 5}} << false << QList<int>{};
    }

    void reordering()
    {
        QFETCH(QList<display_position>, order);
        QFETCH(bool, placed);
        const QList<display_layout_item> items{item_at(0, 0, 1), item_at(1, 0, 2), item_at(0, 1, 3), item_at(1, 1, 4)};
        QList<display_layout_item> reordered{item_at(9, 9, 99)};
        QCOMPARE(reorder_by_positions(items, order, reordered), placed);
        if (placed)
            QTEST(ids(reordered), "result");
        else
            QCOMPARE(ids(reordered), QList<int>{99});
    }

    void two_records_at_one_position_change_nothing()
    {
        const QList<display_layout_item> items{item_at(0, 0, 1), item_at(0, 0, 2)};
        QList<display_layout_item> reordered;
        QVERIFY(!reorder_by_positions(items, {{0, 0}, {0, 0}}, reordered));
        QVERIFY(reordered.isEmpty());
    }

    void apply_rewrites_the_layout_order()
    {
        headless_controller wall;
        wall.create_wall(2, 2);
        layout_manager &layout = wall.layout();
        QList<display_layout_item> before;
        for (int i = 0; i < layout.item_count(); ++i) {
            display_layout_item item;
            layout.get_item(i, item);
            before << item;
        }
        set_calibration_order_dialog dialog;
        dialog.show();
        auto *apply = dialog.findChild<QPushButton *>(QStringLiteral("ok_pushButton"));
        auto *grid = dialog.findChild<KQ_set_display_order_grid_widget *>(QStringLiteral("grid_widget"));
        QVERIFY(apply && grid);
        QVERIFY(!apply->isEnabled());
        const QList<QPoint> clicks{{1, 1}, {0, 0}, {1, 0}, {0, 1}};
        for (const QPoint &click : clicks) {
            QVERIFY(!apply->isEnabled());
            QWidget *button = button_at(grid, click.x(), click.y());
            QVERIFY(button);
            QTest::mouseClick(button, Qt::LeftButton);
        }
        QVERIFY(apply->isEnabled());
        dialog.findChild<QPushButton *>(QStringLiteral("reset_pushButton"))->click();
        QVERIFY(!apply->isEnabled());
        for (const QPoint &click : clicks)
            QTest::mouseClick(button_at(grid, click.x(), click.y()), Qt::LeftButton);
        apply->click();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));

        QCOMPARE(layout.item_count(), 4);
        const QList<int> expected{3, 0, 1, 2}; // indexes in the old order
        for (int n = 0; n < 4; ++n) {
            display_layout_item item;
            layout.get_item(n, item);
            const display_layout_item &old = before[expected[n]];
            QCOMPARE(item.column, old.column);
            QCOMPARE(item.row, old.row);
            QCOMPARE(item.monitor_id, old.monitor_id);
            QCOMPARE(item.connection_address, old.connection_address);
            QCOMPARE(item.enabled, old.enabled);
        }
    }

    // The grid is shown whole up to a third of the screen, and scrolls beyond.
    void size_follows_the_grid_data()
    {
        QTest::addColumn<int>("columns");
        QTest::addColumn<int>("rows");
        QTest::addColumn<bool>("scrolls");
        QTest::newRow("3 x 2") << 3 << 2 << false;
        QTest::newRow("20 x 5") << 20 << 5 << true;
    }
    void size_follows_the_grid()
    {
        QFETCH(int, columns);
        QFETCH(int, rows);
        QFETCH(bool, scrolls);
        headless_controller wall;
        wall.create_wall(columns, rows);
        set_calibration_order_dialog dialog;
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        auto *scroll = dialog.findChild<QScrollArea *>(QStringLiteral("scrollArea"));
        QVERIFY(scroll);
        QCoreApplication::processEvents();
        const bool bars = scroll->horizontalScrollBar()->isVisible() || scroll->verticalScrollBar()->isVisible();
        QCOMPARE(bars, scrolls);
        const QRect screen = dialog.screen()->availableGeometry();
        const int bar = dialog.style()->pixelMetric(QStyle::PM_ScrollBarExtent);
        QVERIFY(scroll->width() <= qMax(scroll->widget()->sizeHint().width(), screen.width() / 3 + bar));
        QVERIFY(scroll->height() <= qMax(scroll->widget()->sizeHint().height(), screen.height() / 3 + bar));
        QVERIFY(screen.contains(dialog.frameGeometry()));
    }

    void cancel_changes_nothing()
    {
        headless_controller wall;
        wall.create_wall(3, 1);
        set_calibration_order_dialog dialog;
        dialog.show();
        auto *grid = dialog.findChild<KQ_set_display_order_grid_widget *>(QStringLiteral("grid_widget"));
        for (int column : {2, 1, 0})
            QTest::mouseClick(button_at(grid, column, 0), Qt::LeftButton);
        dialog.findChild<QPushButton *>(QStringLiteral("cancel_pushButton"))->click();
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        display_layout_item first;
        wall.layout().get_item(0, first);
        QCOMPARE(first.column, 0);
    }
};

QTEST_MAIN(tst_calibration_order)
#include "tst_calibration_order.moc"

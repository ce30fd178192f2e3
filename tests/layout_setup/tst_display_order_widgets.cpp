#include "layout_setup/KQ_set_display_order_grid_widget.h"
#include "layout_setup/KQ_set_display_order_layout_widget.h"

#include "diagram_events.h"

#include <QGridLayout>
#include <QSignalSpy>
#include <QtTest>

Q_DECLARE_METATYPE(display_position)

namespace {

using order_button = KQ_set_display_order_layout_widget;

QList<display_position> wall_positions(int columns, int rows)
{
    QList<display_position> positions;
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < columns; ++c)
            positions.append(display_position{c, r});
    return positions;
}

order_button *button_at(KQ_set_display_order_grid_widget &grid, int column, int row)
{
    auto *layout = qobject_cast<QGridLayout *>(grid.layout());
    QLayoutItem *item = layout ? layout->itemAtPosition(row, column) : nullptr;
    return item ? qobject_cast<order_button *>(item->widget()) : nullptr;
}

QString positions_text(const QList<display_position> &positions)
{
    QStringList parts;
    for (const display_position &p : positions)
        parts << QStringLiteral("%1,%2").arg(p.column).arg(p.row);
    return parts.join(QLatin1Char(' '));
}

// A point of the button's square that no number or frame covers.
QPoint fill_point(const QWidget &button)
{
    return QPoint(button.width() / 2, button.height() / 2 - button.fontMetrics().height());
}

} // namespace

class tst_display_order_widgets : public QObject
{
    Q_OBJECT

private slots:
    void clicks_number_the_displays_in_order();
    void a_numbered_display_keeps_its_number();
    void reset_clears_every_number();
    void a_new_wall_replaces_the_buttons();
    void focus_asks_to_be_scrolled_into_view();
    void buttons_never_shrink_below_40_px();
    void painting_shows_the_state();

private:
    void show_grid(KQ_set_display_order_grid_widget &grid, const QList<display_position> &positions);
};

void tst_display_order_widgets::show_grid(KQ_set_display_order_grid_widget &grid,
                                          const QList<display_position> &positions)
{
    grid.setInitalPositionList(positions);
    grid.resize(400, 300);
    grid.show();
    QVERIFY(QTest::qWaitForWindowExposed(&grid));
}

void tst_display_order_widgets::clicks_number_the_displays_in_order()
{
    KQ_set_display_order_grid_widget grid;
    show_grid(grid, wall_positions(2, 2));
    QSignalSpy complete(&grid, &KQ_set_display_order_grid_widget::complete);
    QSignalSpy visible(&grid, &KQ_set_display_order_grid_widget::ensurevistible);

    const QList<QPoint> clicks{{1, 1}, {0, 0}, {1, 0}, {0, 1}};
    for (int i = 0; i < clicks.size(); ++i) {
        order_button *button = button_at(grid, clicks[i].x(), clicks[i].y());
        QVERIFY(button);
        QTest::mouseClick(button, Qt::LeftButton);
        QCOMPARE(button->text(), QStringLiteral("# %1").arg(i + 1));
        QVERIFY(button->isChecked());
        QCOMPARE(visible.last().at(0).value<QWidget *>(), button);
        QCOMPARE(complete.count(), i == 3 ? 1 : 0);
    }
    QCOMPARE(positions_text(grid.positionList()), QStringLiteral("1,1 0,0 1,0 0,1"));
    // Only the last one clicked stays checked.
    QVERIFY(!button_at(grid, 1, 1)->isChecked());
}

void tst_display_order_widgets::a_numbered_display_keeps_its_number()
{
    KQ_set_display_order_grid_widget grid;
    show_grid(grid, wall_positions(3, 1));
    QSignalSpy complete(&grid, &KQ_set_display_order_grid_widget::complete);
    QTest::mouseClick(button_at(grid, 2, 0), Qt::LeftButton);
    QTest::mouseClick(button_at(grid, 0, 0), Qt::LeftButton);
    QTest::mouseClick(button_at(grid, 2, 0), Qt::LeftButton);
    QTest::mouseClick(button_at(grid, 2, 0), Qt::LeftButton);
    QCOMPARE(button_at(grid, 2, 0)->text(), QStringLiteral("# 1"));
    QCOMPARE(button_at(grid, 0, 0)->text(), QStringLiteral("# 2"));
    QCOMPARE(button_at(grid, 1, 0)->text(), QString());
    QCOMPARE(positions_text(grid.positionList()), QStringLiteral("2,0 0,0"));
    QCOMPARE(complete.count(), 0);
    QTest::mouseClick(button_at(grid, 1, 0), Qt::LeftButton);
    QCOMPARE(complete.count(), 1);
}

void tst_display_order_widgets::reset_clears_every_number()
{
    KQ_set_display_order_grid_widget grid;
    show_grid(grid, wall_positions(2, 2));
    for (const QPoint &p : {QPoint(1, 1), QPoint(0, 1), QPoint(1, 0)})
        QTest::mouseClick(button_at(grid, p.x(), p.y()), Qt::LeftButton);
    QVERIFY(button_at(grid, 1, 0)->isChecked());

    grid.reset();
    QVERIFY(grid.positionList().isEmpty());
    for (const display_position &p : wall_positions(2, 2)) {
        order_button *button = button_at(grid, p.column, p.row);
        QCOMPARE(button->text(), QString());
        QVERIFY(!button->isChecked());
        QVERIFY(button->autoExclusive());
    }
    QCOMPARE(grid.focusWidget(), button_at(grid, 0, 0));

    // Numbering starts again at 1, even on a button that was checked.
    QTest::mouseClick(button_at(grid, 1, 0), Qt::LeftButton);
    QCOMPARE(button_at(grid, 1, 0)->text(), QStringLiteral("# 1"));
    QCOMPARE(positions_text(grid.positionList()), QStringLiteral("1,0"));
}

void tst_display_order_widgets::a_new_wall_replaces_the_buttons()
{
    KQ_set_display_order_grid_widget grid;
    show_grid(grid, wall_positions(3, 2));
    QTest::mouseClick(button_at(grid, 2, 1), Qt::LeftButton);
    grid.setInitalPositionList(wall_positions(1, 2));
    QCOMPARE(grid.findChildren<order_button *>().size(), 2);
    QVERIFY(grid.positionList().isEmpty());
    QSignalSpy complete(&grid, &KQ_set_display_order_grid_widget::complete);
    QTest::mouseClick(button_at(grid, 0, 1), Qt::LeftButton);
    QTest::mouseClick(button_at(grid, 0, 0), Qt::LeftButton);
    QCOMPARE(complete.count(), 1);
    QCOMPARE(positions_text(grid.positionList()), QStringLiteral("0,1 0,0"));
}

void tst_display_order_widgets::focus_asks_to_be_scrolled_into_view()
{
    KQ_set_display_order_grid_widget grid;
    show_grid(grid, wall_positions(3, 3));
    grid.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&grid));
    QSignalSpy visible(&grid, &KQ_set_display_order_grid_widget::ensurevistible);
    order_button *target = button_at(grid, 2, 2);
    target->setFocus();
    QTRY_VERIFY(!visible.isEmpty());
    QCOMPARE(visible.last().at(0).value<QWidget *>(), target);
}

void tst_display_order_widgets::buttons_never_shrink_below_40_px()
{
    order_button button(nullptr, 0, 0);
    QFont small = button.font();
    small.setPixelSize(4);
    button.setFont(small);
    QCOMPARE(button.minimumSizeHint(), QSize(40, 40));

    QFont large = button.font();
    large.setPixelSize(40);
    button.setFont(large);
    const int side = button.minimumSizeHint().width();
    QVERIFY(side > 40);
    QCOMPARE(button.minimumSizeHint().height(), side);
    QVERIFY(side >= button.fontMetrics().horizontalAdvance(QStringLiteral("# 100")));

    KQ_set_display_order_grid_widget grid;
    show_grid(grid, wall_positions(10, 10));
    grid.resize(100, 100);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    for (order_button *b : grid.findChildren<order_button *>())
        QVERIFY(b->width() >= 40 && b->height() >= 40);
}

void tst_display_order_widgets::painting_shows_the_state()
{
    KQ_set_display_order_grid_widget grid;
    show_grid(grid, wall_positions(2, 1));
    order_button &first = *button_at(grid, 0, 0);
    order_button &second = *button_at(grid, 1, 0);
    QCOMPARE(painted(second).pixelColor(fill_point(second)), QColor(128, 128, 128));
    send_enter(second);
    QCOMPARE(painted(second).pixelColor(fill_point(second)), QColor(135, 135, 135));
    send_leave(second);

    QTest::mouseClick(&second, Qt::LeftButton);
    QImage image = painted(second);
    QCOMPARE(image.pixelColor(fill_point(second)), QColor(255, 255, 192));
    // The checked frame along the button's edge, and the focus frame inside
    // it (a click gives the focus too).
    const QPoint checkedFrame(second.width() / 2, 2);
    const QPoint focusFrame(second.width() / 2, 1);
    QVERIFY(second.hasFocus());
    QCOMPARE(image.pixelColor(checkedFrame), QColor(192, 192, 192));
    QCOMPARE(image.pixelColor(focusFrame), QColor(Qt::white));
    send_enter(second);
    QCOMPARE(painted(second).pixelColor(fill_point(second)), QColor(255, 255, 205));
    send_leave(second);

    QTest::mouseClick(&first, Qt::LeftButton);
    image = painted(second);
    QVERIFY(image.pixelColor(checkedFrame) != QColor(192, 192, 192));
    QVERIFY(image.pixelColor(focusFrame) != QColor(Qt::white));
}

QTEST_MAIN(tst_display_order_widgets)
#include "tst_display_order_widgets.moc"

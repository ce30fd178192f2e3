// Which displays "Apply to:" reaches and the texts of its lists, as pure
// functions of the wall.
#include "control_panel/core/control_targets.h"

#include <QtTest>

namespace {

QList<display_layout_item> wall(int columns, int rows, const QList<int> &disabled = {})
{
    QList<display_layout_item> items;
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < columns; ++c) {
            display_layout_item item;
            item.column = c;
            item.row = r;
            item.monitor_id = items.size() + 1;
            item.connection_address = QStringLiteral("127.0.0.%1").arg(items.size() + 1);
            item.enabled = !disabled.contains(items.size());
            items << item;
        }
    }
    return items;
}

} // namespace

class tst_control_targets : public QObject
{
    Q_OBJECT

private slots:
    void position_texts_data()
    {
        QTest::addColumn<int>("rows");
        QTest::addColumn<int>("columns");
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("text");
        QTest::newRow("3x4 top left") << 3 << 4 << 0 << 0 << " - Row #1 Column #1 (Top Left)";
        QTest::newRow("3x4 inside") << 3 << 4 << 1 << 1 << " - Row #2 Column #2";
        QTest::newRow("3x4 bottom") << 3 << 4 << 2 << 1 << " - Row #3 Column #2 (Bottom)";
        QTest::newRow("3x4 top right") << 3 << 4 << 0 << 3 << " - Row #1 Column #4 (Top Right)";
        QTest::newRow("3x4 bottom right") << 3 << 4 << 2 << 3 << " - Row #3 Column #4 (Bottom Right)";
        QTest::newRow("3x4 left") << 3 << 4 << 1 << 0 << " - Row #2 Column #1 (Left)";
        QTest::newRow("3x4 right") << 3 << 4 << 1 << 3 << " - Row #2 Column #4 (Right)";
        QTest::newRow("1x3 first") << 1 << 3 << 0 << 0 << " - Column #1 (Left)";
        QTest::newRow("1x3 middle") << 1 << 3 << 0 << 1 << " - Column #2";
        QTest::newRow("1x3 last") << 1 << 3 << 0 << 2 << " - Column #3 (Right)";
        QTest::newRow("3x1 top") << 3 << 1 << 0 << 0 << " - Row #1 (Top)";
        QTest::newRow("1x1") << 1 << 1 << 0 << 0 << "";
    }
    void position_texts()
    {
        QFETCH(int, rows);
        QFETCH(int, columns);
        QFETCH(int, row);
        QFETCH(int, column);
        QFETCH(QString, text);
        QCOMPARE(control_targets::position_text(row, column, rows, columns), text);
    }

    void display_entries()
    {
        const QList<display_layout_item> single = wall(1, 1);
        // A single display's entry ends with its monitor ID.
        QCOMPARE(control_targets::display_entry_text(0, single.first(), 1, 1), QStringLiteral("#1: 127.0.0.1 ID 1"));
        display_layout_item odd = single.first();
        odd.connection_address = QStringLiteral("COM%1");
        odd.model_name = QStringLiteral("VW-5530Q");
        odd.serial_number = QStringLiteral("9X000001");
        QCOMPARE(control_targets::display_entry_text(4, odd, 1, 1), QStringLiteral("#5: COM%1 ID 1"));
        QCOMPARE(control_targets::display_entry_tooltip(odd),
                 QStringLiteral("<html>Port: COM%1<br>Monitor ID: 1<br>Model: VW-5530Q<br>Serial Number: 9X000001"));
    }

    void row_and_column_lists()
    {
        QCOMPARE(control_targets::row_entry_texts(3),
                 QStringList({"Row #1 (Top)", "Row #2", "Row #3 (Bottom)"}));
        QCOMPARE(control_targets::column_entry_texts(4),
                 QStringList({"Column #1 (Left)", "Column #2", "Column #3", "Column #4 (Right)"}));
        QCOMPARE(control_targets::row_entry_texts(1), QStringList({"Row #1"}));
        QCOMPARE(control_targets::column_entry_texts(3),
                 QStringList({"Column #1 (Left)", "Column #2", "Column #3 (Right)"}));
        QCOMPARE(control_targets::row_entry_texts(0), QStringList());
    }

    void targets_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("choice");
        QTest::addColumn<QList<int>>("disabled");
        QTest::addColumn<QList<int>>("targets");
        // A 3-column, 2-row wall: indices 0 1 2 / 3 4 5.
        QTest::newRow("one display") << 0 << 4 << QList<int>() << QList<int>{4};
        QTest::newRow("a disabled display alone") << 0 << 4 << QList<int>{4} << QList<int>{4};
        QTest::newRow("no such display") << 0 << 6 << QList<int>() << QList<int>();
        QTest::newRow("row") << 1 << 1 << QList<int>{4} << QList<int>{3, 5};
        QTest::newRow("column") << 2 << 2 << QList<int>() << QList<int>{2, 5};
        QTest::newRow("column all disabled") << 2 << 0 << QList<int>{0, 3} << QList<int>();
        QTest::newRow("all") << 3 << -1 << QList<int>{1} << QList<int>{0, 2, 3, 4, 5};
    }
    void targets()
    {
        QFETCH(int, kind);
        QFETCH(int, choice);
        QFETCH(QList<int>, disabled);
        QFETCH(QList<int>, targets);
        QCOMPARE(control_targets::target_indices(kind, choice, wall(3, 2, disabled)), targets);
    }

    void pages_read_data()
    {
        QTest::addColumn<int>("page");
        QTest::addColumn<int>("targets");
        QTest::addColumn<bool>("read");
        QTest::newRow("no target") << 0 << 0 << false;
        QTest::newRow("status, one") << 14 << 1 << true;
        QTest::newRow("status, several") << 14 << 2 << false;
        QTest::newRow("picture, several") << 4 << 2 << true;
        for (int page : {6, 7, 15, 16, 18, 19, 20, 21})
            QTest::addRow("page %d, several", page) << page << 3 << false;
        for (int page : {0, 1, 2, 3, 5, 8, 9, 10, 11, 12, 13, 17})
            QTest::addRow("page %d, several", page) << page << 3 << true;
    }
    void pages_read()
    {
        QFETCH(int, page);
        QFETCH(int, targets);
        QFETCH(bool, read);
        QCOMPARE(control_targets::page_is_read(page, targets), read);
        QCOMPARE(control_targets::several(targets), targets >= 2);
    }
};

QTEST_GUILESS_MAIN(tst_control_targets)
#include "tst_control_targets.moc"

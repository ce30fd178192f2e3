#include "app/services/ui/tree_lookup.h"

#include <QTreeWidgetItem>
#include <QtTest>

class tst_tree_lookup : public QObject
{
    Q_OBJECT

private slots:
    void tree_child_by_text()
    {
        QTreeWidgetItem root;
        auto *first = new QTreeWidgetItem(&root, QStringList{QStringLiteral("Power"), QStringLiteral("x")});
        auto *second = new QTreeWidgetItem(&root, QStringList{QStringLiteral("Picture")});
        new QTreeWidgetItem(&root, QStringList{QStringLiteral("Picture")});
        new QTreeWidgetItem(second, QStringList{QStringLiteral("Colour")});
        QCOMPARE(find_tree_child_by_text(&root, QStringLiteral("Power")), first);
        QCOMPARE(find_tree_child_by_text(&root, QStringLiteral("Picture")), second);
        QVERIFY(!find_tree_child_by_text(&root, QStringLiteral("power")));
        QVERIFY(!find_tree_child_by_text(&root, QStringLiteral("x")));
        QVERIFY(!find_tree_child_by_text(&root, QStringLiteral("Colour")));
        QVERIFY(!find_tree_child_by_text(nullptr, QStringLiteral("Power")));
    }
};

QTEST_MAIN(tst_tree_lookup)
#include "tst_tree_lookup.moc"

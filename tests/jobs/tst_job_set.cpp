#include "app/controller/layout_manager.h"
#include "jobs/job_set.h"
#include "jobs/job_task_type.h"
#include "tests/support/headless_controller.h"

#include <QtTest>

class tst_job_set : public QObject
{
    Q_OBJECT

private slots:
    void orientation_follows_the_layout_record_data()
    {
        QTest::addColumn<int>("orientation");
        QTest::addColumn<int>("expected");
        QTest::newRow("landscape") << int(display_layout_item::kLandscape) << 0;
        QTest::newRow("portrait") << int(display_layout_item::kPortrait) << 1;
        QTest::newRow("not set") << int(display_layout_item::kOrientationNotSet) << -1;
        QTest::newRow("unknown value") << 7 << -1;
    }
    void orientation_follows_the_layout_record()
    {
        QFETCH(int, orientation);
        QFETCH(int, expected);
        display_layout_item item;
        item.orientation = orientation;
        QCOMPARE(osd_orientation_of(&item), expected);
    }

    void without_a_record_the_orientation_is_unset() { QCOMPARE(osd_orientation_of(nullptr), -1); }

    void a_shared_set_is_one_addition_with_the_template_untouched()
    {
        headless_controller wall;
        wall.create_wall(2, 2);
        job_set set;
        set.job_template.task_list = {JOB_TASK_CHECK_CAPABILITIES};
        set.job_template.osd_orientation = 1;
        set.positions = {3, 0, 2};
        const auto additions = job_set_additions(set, wall.layout());
        QCOMPARE(additions.size(), 1);
        QCOMPARE(additions.first().second, QList<int>({3, 0, 2}));
        QCOMPARE(additions.first().first.osd_orientation, 1);
        QCOMPARE(additions.first().first.task_list, set.job_template.task_list);
    }

    void a_per_display_set_gives_each_display_its_orientation()
    {
        headless_controller wall;
        wall.create_wall(3, 1);
        const int orientations[] = {display_layout_item::kPortrait, display_layout_item::kOrientationNotSet,
                                    display_layout_item::kLandscape};
        for (int index = 0; index < 3; ++index) {
            display_layout_item item;
            QCOMPARE(wall.layout().get_item(index, item), 0);
            item.orientation = orientations[index];
            wall.layout().set_item(index, item, false);
        }
        job_set set;
        set.job_template.task_list = {JOB_TASK_INITIALIZE_DISPLAY};
        set.positions = {2, 0, 1, 9};
        set.per_display = true;
        const auto additions = job_set_additions(set, wall.layout());
        QCOMPARE(additions.size(), 4);
        const QList<int> expected_orientation = {0, 1, -1, -1};
        for (int i = 0; i < additions.size(); ++i) {
            QCOMPARE(additions.at(i).second, QList<int>({set.positions.at(i)}));
            QCOMPARE(additions.at(i).first.osd_orientation, expected_orientation.at(i));
            QCOMPARE(additions.at(i).first.task_list, set.job_template.task_list);
        }
    }
};

QTEST_GUILESS_MAIN(tst_job_set)
#include "tst_job_set.moc"

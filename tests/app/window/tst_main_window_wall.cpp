#include "app/controller/layout_manager.h"
#include "app/services/string_resource.h"
#include "calibration/ui/KQ_main_controller_dock_widget.h"
#include "colour/CAdjustValue.h"
#include "colour/CMonitorTracker.h"
#include "main_window_fixture.h"
#include "tests/support/modal_box_answerer.h"
#include "views/wall/KQ_central_display_widget.h"
#include "views/wall/KQ_display_layout_widget.h"

#include <QCheckBox>
#include <QDockWidget>
#include <QPushButton>
#include <QScrollArea>
#include <QSignalSpy>
#include <QtTest>

namespace {

const QDateTime kWhen(QDate(2024, 6, 1), QTime(8, 0), Qt::UTC);

} // namespace

class tst_main_window_wall : public QObject
{
    Q_OBJECT

private slots:
    void init() { m_fixture = std::make_unique<main_window_fixture>(); }
    void cleanup() { m_fixture.reset(); }

    void the_wall_view_and_the_actions_dock_take_their_places()
    {
        Tessaline &window = m_fixture->window(); // starts with a wall of its own
        m_fixture->wall().create_wall(3, 2);
        window.create_central_widget();
        auto *scroll = qobject_cast<QScrollArea *>(window.centralWidget());
        QVERIFY(scroll);
        QCOMPARE(scroll->widget(), static_cast<QWidget *>(window.wall_view()));
        QCOMPARE(window.wall_view()->tiles().size(), 6);
        QCOMPARE(window.dock_content(kActionsDock), static_cast<QWidget *>(window.controller_dock()));
    }

    void selection_goes_from_tile_to_docks_and_back()
    {
        Tessaline &window = m_fixture->window();
        m_fixture->wall().create_wall(2, 2);
        // Display 2 is off: the dock's Selected buttons tell where it is.
        display_layout_item off;
        m_fixture->wall().layout().get_item(2, off);
        off.enabled = false;
        m_fixture->wall().layout().set_item(2, off, true);
        window.create_central_widget();
        auto *verify_selected =
            window.controller_dock()->findChild<QPushButton *>(QStringLiteral("verify_selected_displays_pushButton"));
        QSignalSpy out(&window, &Tessaline::selection_changed_out);

        window.wall_view()->tiles().at(2)->click();
        QCOMPARE(window.selected_display_index(), 2);
        QCOMPARE(out.size(), 1);
        QCOMPARE(m_fixture->wall().layout().get_current_index(), 2);
        QVERIFY(!verify_selected->isEnabled());

        window.wall_view()->tiles().at(1)->click();
        QCOMPARE(window.selected_display_index(), 1);
        QVERIFY(verify_selected->isEnabled());

        // A selection made elsewhere reaches the wall view.
        window.selection_changed(3);
        QVERIFY(window.wall_view()->tiles().at(3)->isChecked());
        QVERIFY(!window.wall_view()->tiles().at(1)->isChecked());
        QCOMPARE(out.size(), 3);
    }

    void closing_warns_while_test_patterns_stay_on_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("closed");
        QTest::newRow("continue closing") << int(QMessageBox::Yes) << true;
        QTest::newRow("stay") << int(QMessageBox::No) << false;
    }
    void closing_warns_while_test_patterns_stay_on()
    {
        QFETCH(int, answer);
        QFETCH(bool, closed);
        Tessaline &window = m_fixture->window();
        m_fixture->wall().create_wall(1, 1);
        CAdjustValue record;
        record.SetCalibrationDateTime(kWhen);
        m_fixture->wall().store_record(0, record);
        m_fixture->wall().records().SetModified(false);
        m_fixture->wall().layout().set_modified(false);
        window.updateControlsStatus();
        window.controller_dock()->set_evaluate_calibration_mode_checkBox(true);
        QVERIFY(window.controller_dock()->is_evaluate_calibration_mode());
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));

        modal_box_answerer boxes({QMessageBox::StandardButton(answer)});
        window.close();
        QCOMPARE(boxes.texts(), QStringList{string_resource(731)});
        QCOMPARE(boxes.seen().first().default_button, QMessageBox::NoButton);
        QCOMPARE(!window.isVisible(), closed);
    }

    void closing_without_test_patterns_asks_nothing()
    {
        Tessaline &window = m_fixture->window();
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        modal_box_answerer boxes;
        window.close();
        QVERIFY(!window.isVisible());
        QVERIFY(boxes.seen().isEmpty());
    }

private:
    std::unique_ptr<main_window_fixture> m_fixture;
};

QTEST_MAIN(tst_main_window_wall)
#include "tst_main_window_wall.moc"

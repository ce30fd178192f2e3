#include "tests/support/headless_controller.h"
#include "views/docks/KQ_display_settings_widget.h"
#include "views/docks/KQ_display_test_pattern_widget.h"
#include "views/docks/KQ_status_operations_widget.h"

#include <QAbstractButton>
#include <QLabel>
#include <QRadioButton>
#include <QtTest>

#include <functional>
#include <memory>

namespace {

using dock_factory = std::function<QWidget *()>;

dock_factory factory(const QString &dock)
{
    if (dock == QLatin1String("patterns"))
        return [] { return new KQ_display_test_pattern_widget; };
    if (dock == QLatin1String("resets"))
        return [] { return new KQ_status_operations_widget; };
    return [] { return new KQ_display_settings_widget; };
}

QString caption(QWidget *control)
{
    if (auto *button = qobject_cast<QAbstractButton *>(control))
        return button->text();
    if (auto *label = qobject_cast<QLabel *>(control))
        return label->text();
    return QString();
}

bool has_icon(QWidget *control)
{
    auto *button = qobject_cast<QAbstractButton *>(control);
    return button && !button->icon().pixmap(16, 16).isNull();
}

} // namespace

// The three docks that act on the selected display or on all displays, as
// their forms build them.
class tst_wall_action_dock_forms : public QObject
{
    Q_OBJECT

private slots:
    void forms_data()
    {
        QTest::addColumn<QString>("dock");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QSize>("size");
        QTest::newRow("Test Pattern") << "patterns" << "KQ_display_test_pattern_widget" << QSize(232, 110);
        QTest::newRow("Reset/Restore") << "resets" << "KQ_status_operations_widget" << QSize(195, 108);
        QTest::newRow("Display Control") << "settings" << "KQ_display_settings_widget" << QSize(213, 153);
    }
    void forms()
    {
        QFETCH(QString, dock);
        headless_controller wall;
        std::unique_ptr<QWidget> widget(factory(dock)());
        QTEST(widget->windowTitle(), "title");
        QTEST(widget->size(), "size");
        // Apply to all displays until the operator chooses otherwise.
        QVERIFY(widget->findChild<QRadioButton *>(QStringLiteral("all_radioButton"))->isChecked());
        QVERIFY(!widget->findChild<QRadioButton *>(QStringLiteral("selected_radioButton"))->isChecked());
    }

    void controls_data()
    {
        QTest::addColumn<QString>("dock");
        QTest::addColumn<QString>("object_name");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<bool>("icon");
        const auto apply_to = [](const char *dock) {
            QTest::addRow("%s label", dock) << dock << "label" << "Apply to:" << false;
            QTest::addRow("%s selected", dock) << dock << "selected_radioButton" << "Selected display" << false;
            QTest::addRow("%s all", dock) << dock << "all_radioButton" << "All displays" << false;
        };
        QTest::newRow("off") << "patterns" << "off_pushButton" << "Off" << false;
        QTest::newRow("calibrated") << "patterns" << "on_calibrated_pushButton" << "Calibrated White" << false;
        QTest::newRow("full") << "patterns" << "on_full_pushButton" << "100% White" << false;
        QTest::newRow("with trim") << "patterns" << "on_calibrated_with_trim_pushButton" << "+Calibrated White"
                                   << true;
        apply_to("patterns");
        QTest::newRow("reset measurements") << "resets" << "reset_Measurements_pushButton"
                                            << "Reset Measurement Data" << false;
        QTest::newRow("restore") << "resets" << "restore_Calibration_Settings_pushButton" << "Restore Calibration"
                                 << false;
        QTest::newRow("reset calibration") << "resets" << "reset_Calibration_pushButton" << "Reset Calibration Data"
                                           << false;
        apply_to("resets");
        QTest::newRow("power on") << "settings" << "power_on_pushButton" << "Power On" << true;
        QTest::newRow("power off") << "settings" << "power_off_pushButton" << "Power Off" << true;
        QTest::newRow("update") << "settings" << "video_input_update_pushButton" << "Update" << true;
        apply_to("settings");
    }
    void controls()
    {
        QFETCH(QString, dock);
        QFETCH(QString, object_name);
        headless_controller wall;
        std::unique_ptr<QWidget> widget(factory(dock)());
        QWidget *control = widget->findChild<QWidget *>(object_name);
        QVERIFY2(control, qPrintable(object_name));
        QTEST(caption(control), "caption");
        QTEST(has_icon(control), "icon");
    }
};

QTEST_MAIN(tst_wall_action_dock_forms)
#include "tst_wall_action_dock_forms.moc"

#include "tests/app/e2e/wall_road_fixture.h"

#include "app/controller/MasterControl.h"
#include "app/window/Tessaline.h"
#include "calibration/calibration_task.h"
#include "colour/CMonitorTracker.h"
#include "dialogs/KQ_Preferences_Dialog.h"
#include "dialogs/KQ_edit_target_dialog.h"
#include "jobs/QueryThreadPool.h"
#include "sensors/CTargetSensor.h"
#include "simulator/light/light_channel.h"
#include "simulator/loopback_block.h"
#include "tests/dialogs/modal_answer.h"

#include <QAbstractButton>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QProcess>
#include <QToolBar>
#include <QtTest>

namespace {

constexpr int kI1DisplayPro = 3;
constexpr int kPdfToTextMs = 30000;

} // namespace

wall_road::wall_road()
{
    install_calibration_task();
    if (!m_light_folder.isValid()) {
        m_error = QStringLiteral("no temporary folder for the light channel");
        return;
    }
    light_channel::set_channel_folder(m_light_folder.path());
    m_wall = std::make_unique<simulated_wall>();
    m_wall->set_time_scale(0.0);
    m_wall->set_light_publishing(true);
    m_instrument = std::make_unique<simulated_instrument_control>(
        headless_controller::simulated_instrument_folder() + QStringLiteral("/libi1d3sdk.so"));
    if (!m_instrument->isLoaded())
        m_error = QStringLiteral("the simulated i1Display Pro library does not load");
    m_app = std::make_unique<main_window_fixture>(headless_controller::simulated_instruments);
    m_app->wall().controller().setQueryThreadPool(
        new QueryThreadPool(QueryThreadPool::display_workers(), QueryThreadPool::kMaxRunning));
}

wall_road::~wall_road()
{
    if (m_instrument)
        m_instrument->reset();
    // The window, the pool and its workers go before the displays they talk to.
    m_app.reset();
    m_wall.reset();
    if (!m_com_variable.isEmpty())
        qunsetenv(m_com_variable.constData());
}

void wall_road::place(int handle, int column, int row, const QList<QByteArray> &models, int n)
{
    m_handles << handle;
    const QByteArray model = models.isEmpty() ? QByteArray() : models.at(n % models.size());
    m_wall->with_display(handle, [&](sim_display &d) {
        if (!model.isEmpty())
            d.apply_model(model);
        d.serial_number = QStringLiteral("ROAD-%1-%2").arg(column).arg(row).toLatin1();
    });
}

bool wall_road::build_lan_wall(int columns, int rows, const QList<QByteArray> &models, quint64 seed, double spread)
{
    if (!m_error.isEmpty())
        return false;
    m_wall->set_imperfections(seed, spread);
    for (int row = 0; row < rows; ++row) {
        for (int column = 0; column < columns; ++column) {
            const int n = row * columns + column;
            const QString address = loopback_block::address(n + 1);
            const int endpoint = address.isEmpty() ? -1 : m_wall->add_lan_endpoint(address);
            if (endpoint < 0) {
                m_error = QStringLiteral("cannot listen on %1:7142 %2").arg(address, loopback_block::claim_error());
                return false;
            }
            place(m_wall->add_display(endpoint, 'A'), column, row, models, n);
        }
    }
    m_description = layout_wizard_driver::wall_description();
    m_description.columns = columns;
    m_description.rows = rows;
    m_description.link = layout_wizard_driver::separate_lan_one_id;
    m_description.address = loopback_block::address(1);
    m_description.first_id = 1;
    return true;
}

bool wall_road::build_serial_chain(int count, const QList<QByteArray> &models, int com_number, quint64 seed,
                                   double spread)
{
    if (!m_error.isEmpty())
        return false;
    m_wall->set_imperfections(seed, spread);
    m_chain = m_wall->add_serial_endpoint();
    if (m_chain < 0) {
        m_error = QStringLiteral("no pseudo-terminal for the chain");
        return false;
    }
    m_com_variable = QStringLiteral("TESSALINE_SERIAL_PORT_COM%1").arg(com_number).toLatin1();
    qputenv(m_com_variable.constData(), m_wall->serial_path(m_chain).toLocal8Bit());
    for (int n = 0; n < count; ++n)
        place(m_wall->add_display(m_chain, char('A' + n)), n, 0, models, n);
    m_description = layout_wizard_driver::wall_description();
    m_description.columns = count;
    m_description.rows = 1;
    m_description.configuration_type = 1;
    m_description.link = layout_wizard_driver::rs232_chain;
    m_description.com_port = com_number - 1;
    m_description.first_id = 1;
    return true;
}

bool wall_road::attach_sensor()
{
    if (!m_error.isEmpty())
        return false;
    m_instrument->reset();
    // No display named: the instrument reads whichever display last showed a patch.
    const QJsonObject settings{{QStringLiteral("light_folder"), m_light_folder.path()},
                               {QStringLiteral("time_scale"), 0.0},
                               {QStringLiteral("display"), QString()}};
    if (!m_instrument->configure(settings)) {
        m_error = m_instrument->lastError();
        return false;
    }
    if (m_app->wall().controller().getTargetSensor()->SetSensorType(kI1DisplayPro) != 0) {
        m_error = QStringLiteral("the program does not open the simulated i1Display Pro");
        return false;
    }
    return true;
}

Tessaline &wall_road::window()
{
    Tessaline &window = m_app->window();
    window.show();
    return window;
}

Tessaline &wall_road::new_window()
{
    m_app->close_window();
    return window();
}

QueryThreadPool &wall_road::pool()
{
    return *m_app->wall().controller().getQueryThreadPool();
}

CCIEXYZ wall_road::light_at(int handle, double level)
{
    m_wall->set_input_level(handle, {level, level, level});
    const light_channel::light_reading light = m_wall->light(handle);
    return CCIEXYZ(light.X, light.Y, light.Z);
}

bool wall_road::record_of(int index, monitor_tracker_item &record)
{
    display_layout_item item;
    if (layout().get_item(index, item) != 0)
        return false;
    record = monitor_tracker_item(item.model_name, item.serial_number);
    return m_app->wall().records().GetAdjustValue(record) >= 0;
}

int wall_road::control(int handle, quint16 code)
{
    return m_wall->with_display(handle, [code](sim_display &d) {
        const sim_control *found = d.controls.find(code);
        return found && found->supported ? int(found->current) : -1;
    });
}

namespace road {

void trigger(QWidget &window, const char *action)
{
    QAction *found = named<QAction>(window, action);
    QVERIFY2(found, action);
    QVERIFY2(found->isEnabled(), action);
    found->trigger();
}

void click(QWidget &root, const char *button)
{
    QAbstractButton *found = named<QAbstractButton>(root, button);
    QVERIFY2(found, button);
    QVERIFY2(found->isEnabled(), button);
    QTest::mouseClick(found, Qt::LeftButton);
}

void describe_wall(QWidget &window, const layout_wizard_driver::wall_description &wall)
{
    QString pages;
    bool finished = false;
    layout_wizard_driver::when_wizard_opens([&](display_layout_wizard_advanced &wizard) {
        pages = layout_wizard_driver::describe_wall(wizard, wall);
        finished = layout_wizard_driver::finish(wizard);
    });
    trigger(window, "actionLayout");
    QVERIFY2(finished, qPrintable(QStringLiteral("the wizard stopped: pages ") + pages));
}

namespace {

void set_checked(QWidget &dialog, const char *name, bool checked)
{
    auto *box = named<QAbstractButton>(dialog, name);
    QVERIFY2(box, name);
    if (box->isChecked() != checked)
        QTest::mouseClick(box, Qt::LeftButton);
}

void press_ok(QDialog &dialog)
{
    auto *buttons = dialog.findChild<QDialogButtonBox *>();
    QVERIFY(buttons && buttons->button(QDialogButtonBox::Ok));
    QTest::mouseClick(buttons->button(QDialogButtonBox::Ok), Qt::LeftButton);
}

} // namespace

void choose_preferences(QWidget &window, const preference_choice &choice)
{
    bool answered = false;
    when_modal_shows<KQ_Preferences_Dialog>([&](KQ_Preferences_Dialog *dialog) {
        auto *steps = named<QComboBox>(*dialog, "preferences_CalibrationSteps_comboBox");
        QVERIFY(steps);
        steps->setCurrentIndex(steps->findData(choice.grey_steps));
        set_checked(*dialog,
                    choice.lookup_table ? "preferences_calibration_method_luts_radioButton"
                                        : "preferences_calibration_method_rgb_gains_radioButton",
                    true);
        set_checked(*dialog, "preferences_use_quillon_engine_checkBox", choice.use_engine);
        set_checked(*dialog, "preferences_MeasureDisplaysAfterCalibration_checkBox", choice.measure_after_calibration);
        press_ok(*dialog);
        answered = true;
    });
    trigger(window, "actionPreferences");
    QVERIFY2(answered, "the Preferences dialog did not open");
}

void choose_target(QWidget &window, const target_choice &choice)
{
    bool answered = false;
    when_modal_shows<KQ_edit_target_dialog>([&](KQ_edit_target_dialog *dialog) {
        auto *whites = named<QComboBox>(*dialog, "target_white_point_comboBox");
        QVERIFY(whites);
        const int white = whites->findText(choice.white_point);
        QVERIFY2(white >= 0, qPrintable(choice.white_point));
        whites->setCurrentIndex(white);
        set_checked(*dialog, "target_Intensity_Specific_Level_radioButton", true);
        auto *luminance = named<QDoubleSpinBox>(*dialog, "target_Intensity_Specific_Level_doubleSpinBox");
        QVERIFY(luminance);
        luminance->setValue(choice.luminance);
        set_checked(*dialog, "target_Gamma_Value_radioButton", true);
        auto *gamma = named<QDoubleSpinBox>(*dialog, "target_gamma_doubleSpinBox");
        QVERIFY(gamma);
        gamma->setValue(choice.gamma);
        press_ok(*dialog);
        answered = true;
    });
    trigger(window, "actionTarget");
    QVERIFY2(answered, "the Calibration Target dialog did not open");
}

QString pdf_text(const QString &file)
{
    QProcess process;
    process.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), file, QStringLiteral("-")});
    if (!process.waitForFinished(kPdfToTextMs)) {
        process.kill();
        process.waitForFinished();
        return QString();
    }
    return QString::fromUtf8(process.readAllStandardOutput());
}

void save_report_as_pdf(QWidget &summary, const QString &file)
{
    bool printed = false;
    when_modal_shows<QPrintPreviewDialog>([&file, &printed](QPrintPreviewDialog *preview) {
        when_modal_shows<QPrintDialog>([&file, &printed](QPrintDialog *dialog) {
            auto *name = dialog->findChild<QLineEdit *>(QStringLiteral("filename"));
            QVERIFY(name);
            name->setText(file);
            dialog->accept();
            printed = true;
        });
        for (QAction *action : preview->findChild<QToolBar *>()->actions())
            if (action->text() == QLatin1String("Print"))
                action->trigger();
        preview->close();
    });
    click(summary, "pdf_pushButton");
    QVERIFY2(printed, "the report's print dialog did not open");
}

} // namespace road

pool_jobs::pool_jobs(QueryThreadPool &pool)
{
    connect(&pool, &QueryThreadPool::job_started, this, [this](int id) { entry(id).started = m_events++; });
    connect(&pool, &QueryThreadPool::send_job_results, this, [this](const job_list_item &finished) {
        job &e = entry(finished.job_id);
        e.position = finished.position;
        e.tasks = finished.task_list;
        e.result = finished.effective_result();
        e.error_text = finished.job_parameters.error_text;
        e.ended = m_events++;
    });
}

pool_jobs::job &pool_jobs::entry(int id)
{
    for (job &e : m_jobs)
        if (e.id == id)
            return e;
    job added;
    added.id = id;
    m_jobs << added;
    return m_jobs.last();
}

QStringList pool_jobs::failures() const
{
    QStringList lines;
    for (const job &e : m_jobs) {
        if (e.result == 0)
            continue;
        QStringList tasks;
        for (qint32 task : e.tasks)
            tasks << QString::number(task);
        lines << QStringLiteral("display %1 tasks %2: %3 %4")
                     .arg(e.position)
                     .arg(tasks.join(QLatin1Char(',')))
                     .arg(e.result)
                     .arg(e.error_text);
    }
    return lines;
}

int pool_jobs::overlaps() const
{
    int count = 0;
    for (int a = 0; a < m_jobs.size(); ++a) {
        for (int b = a + 1; b < m_jobs.size(); ++b) {
            const job &x = m_jobs.at(a);
            const job &y = m_jobs.at(b);
            if (x.started >= 0 && y.started >= 0 && x.started < y.ended && y.started < x.ended)
                ++count;
        }
    }
    return count;
}

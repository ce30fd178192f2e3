// The tile matrix wizard against a simulated wall: real display jobs run
// through the progress dialog and write the displays' Tile Matrix controls.
#include "app/controller/display_layout_item.h"
#include "app/controller/layout_manager.h"
#include "display_protocol/wait_service.h"
#include "display_protocol/basic_monitor.h"
#include "jobs/QueryThreadPool.h"
#include "jobs/ui/KQ_multithreaded_operation_progress_dialog.h"
#include "layout_setup/KQ_tile_matrix_diagram_widget.h"
#include "layout_setup/KQ_tile_matrix_wizard.h"
#include "layout_setup/array_diagram_geometry.h"
#include "layout_setup/tile_matrix_pages.h"
#include "resources/tessaline_resources.h"
#include "simulator/loopback_block.h"
#include "simulator/sim_wall_builder.h"
#include "tests/display_protocol/wall_fixture.h"
#include "tests/support/headless_controller.h"

#include "diagram_events.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

#include <memory>

namespace {

const char *const kGroupsText = "Video wall is divided into multiple groups of displays that use Tile Matrix";
const char *const kAllText = "All displays in the video wall are used as a single Tile Matrix";
const char *const kOffText = "Turn off Tile Matrix on all displays in the video wall";

// A wall of simulated displays, each on an address of its own and each with
// monitor ID 1, and the program's layout describing it row by row.
struct tile_wall
{
    tile_wall(int columns, int rows, const QString &models)
    {
        controller.controller().setQueryThreadPool(
            new QueryThreadPool(QueryThreadPool::display_workers(), QueryThreadPool::kMaxRunning));
        wall.set_time_scale(0.0);
        sim_wall_config config;
        const QString settings = QStringLiteral("rows=%1;columns=%2;address=%3;models=%4")
                                     .arg(rows)
                                     .arg(columns)
                                     .arg(loopback_block::address(1), models);
        ok = config.parse_line(settings, &error) && build_wall(config, wall, &placed, &error);
        ok = ok
             && controller.layout().create_layout(columns, rows, 1, 0, loopback_block::address(1),
                                                  display_layout_item::kLan, false, true, false, true,
                                                  display_layout_item::kLandscape)
                    == 0;
    }

    // The simulated display at (column, row).
    int handle(int column, int row) const
    {
        for (const sim_wall_position &p : placed)
            if (p.column == column && p.row == row)
                return p.handle;
        return -1;
    }

    // The Tile Matrix writes display (column, row) received, as
    // "code=value", in order.
    QStringList writes(int column, int row) const
    {
        int endpoint = -1;
        for (const sim_wall_position &p : placed)
            if (p.column == column && p.row == row)
                endpoint = p.endpoint;
        QStringList list;
        for (const sim_log_entry &frame : wall.log()) {
            // "E02D30002": write 0x2D3 = 2.
            if (frame.endpoint != endpoint || frame.type != 'E' || frame.body.size() != 8
                || !frame.body.startsWith("02D"))
                continue;
            list << QStringLiteral("%1=%2")
                        .arg(QString::fromLatin1(frame.body.mid(2, 2)).toLower())
                        .arg(frame.body.mid(4, 4).toInt(nullptr, 16));
        }
        return list;
    }

    int control(int column, int row, int code)
    {
        return wall.with_display(handle(column, row), [code](sim_display &d) {
            const sim_control *control = d.controls.find(static_cast<quint16>(code));
            return control && control->supported ? int(control->current) : -1;
        });
    }

    // The controller, with the pool and its workers, goes before the wall.
    simulated_wall wall;
    headless_controller controller;
    QList<sim_wall_position> placed;
    QString error;
    bool ok = false;
};

QRadioButton *choice(QWizard &wizard, const char *text)
{
    for (QRadioButton *button : wizard.findChildren<QRadioButton *>())
        if (button->text() == QLatin1String(text))
            return button;
    qFatal("no choice %s", text);
    return nullptr;
}

bool next(QWizard &wizard)
{
    const int before = wizard.currentId();
    wizard.next();
    return wizard.currentId() != before;
}

KQ_tile_matrix_diagram_widget *diagram(QWizard &wizard)
{
    return static_cast<TileMatrixDisplaysSelectionPage *>(wizard.page(kTileMatrixDisplaysSelectionPage))->diagram();
}

void click_cell(KQ_tile_matrix_diagram_widget *d, int column, int row)
{
    send_release(*d, d->cellGeometry().cellCentre(column, row));
}

// Watches the progress dialogs that "Update displays" runs: keeps each one's
// finished jobs once every job of it has ended, and closes a dialog that
// stays open (a job failed and it waits for the operator).
class progress_watch
{
public:
    explicit progress_watch(int jobs) : m_jobs(jobs)
    {
        QObject::connect(&m_poll, &QTimer::timeout, [this] { look(); });
        m_poll.start(5);
    }

    int dialogs() const { return m_dialogs; }
    const QList<job_list_item> &results() const { return m_results; }

private:
    void look()
    {
        auto *dialog = qobject_cast<KQ_multithreaded_operation_progress_dialog *>(QApplication::activeModalWidget());
        if (!dialog || dialog == m_seen)
            return;
        const QList<job_list_item> results = dialog->get_job_results();
        if (results.size() < m_jobs)
            return;
        m_seen = dialog;
        ++m_dialogs;
        m_results = results;
        dialog->reject();
    }

    int m_jobs;
    QTimer m_poll;
    QList<job_list_item> m_results;
    KQ_multithreaded_operation_progress_dialog *m_seen = nullptr;
    int m_dialogs = 0;
};

QAbstractButton *update_button(QWizard &wizard)
{
    return wizard.findChild<QPushButton *>(QStringLiteral("update_pushButton"));
}

} // namespace

class tst_tile_matrix_wizard : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        tessaline_init_resources();
        QVERIFY2(!loopback_block::prefix().isEmpty(), qPrintable(loopback_block::claim_error()));
        wait_service::set_io_timeout_floor_ms(kAnsweringDisplayFloorMs);
    }

    void pages_and_looks();
    void small_wall_skips_the_diagram();
    void large_wall_asks_for_groups();
    void finish_only_after_an_update();
    void whole_wall();
    void group_then_a_second_group_after_back();
    void turn_off();
    void a_display_without_the_controls_fails_alone();
    void a_hole_in_the_layout_gets_no_job();
};

void tst_tile_matrix_wizard::pages_and_looks()
{
    headless_controller controller;
    controller.create_wall(3, 2);
    KQ_tile_matrix_wizard wizard(controller.layout());
    QCOMPARE(wizard.windowTitle(), QStringLiteral("Tile Matrix Configuration Wizard"));
    QCOMPARE(wizard.wizardStyle(), QWizard::ModernStyle);
    QVERIFY(!(wizard.windowFlags() & Qt::WindowContextHelpButtonHint));
    QVERIFY(!wizard.pixmap(QWizard::LogoPixmap).isNull());
    const QStringList titles{"Introduction", "Specify the Tile Matrix configuration",
                             "Select the displays to be configured to use Tile Matrix", "Apply settings"};
    const QStringList classes{"TileMatrixIntroPage", "TileMatrixTypeSelectionPage",
                              "TileMatrixDisplaysSelectionPage", "TileMatrixFinalPage"};
    for (int id = 0; id < 4; ++id) {
        QCOMPARE(wizard.page(id)->title(), titles.at(id));
        QCOMPARE(QString::fromLatin1(wizard.page(id)->metaObject()->className()), classes.at(id));
    }
    wizard.show();
    QVERIFY(choice(wizard, kAllText)->isChecked());
    QVERIFY(wizard.findChild<QCheckBox *>(QStringLiteral("tile_comp_checkBox"))->isChecked());
    QVERIFY(wizard.findChild<QLabel *>(QStringLiteral("back_hint_label"))->isHidden());
}

void tst_tile_matrix_wizard::small_wall_skips_the_diagram()
{
    headless_controller controller;
    controller.create_wall(2, 1);
    KQ_tile_matrix_wizard wizard(controller.layout());
    wizard.show();
    QVERIFY(next(wizard));
    QCOMPARE(wizard.currentId(), int(kTileMatrixTypeSelectionPage));
    QVERIFY(!choice(wizard, kGroupsText)->isEnabled());
    QVERIFY(choice(wizard, kAllText)->isEnabled());
    QVERIFY(next(wizard));
    QCOMPARE(wizard.currentId(), int(kTileMatrixFinalPage));
}

void tst_tile_matrix_wizard::large_wall_asks_for_groups()
{
    headless_controller controller;
    controller.create_wall(12, 4);
    KQ_tile_matrix_wizard wizard(controller.layout());
    wizard.show();
    QVERIFY(next(wizard));
    QVERIFY(!choice(wizard, kAllText)->isEnabled());
    QVERIFY(choice(wizard, kGroupsText)->isChecked());
    QVERIFY(next(wizard));
    QCOMPARE(wizard.currentId(), int(kTileMatrixDisplaysSelectionPage));
    bool noteShown = false;
    for (QLabel *label : wizard.page(kTileMatrixDisplaysSelectionPage)->findChildren<QLabel *>())
        if (label->text().contains(QStringLiteral("maximum size of a Tile Matrix area")))
            noteShown = label->isVisible();
    QVERIFY(noteShown);
    // Next waits for an area.
    QVERIFY(!wizard.button(QWizard::NextButton)->isEnabled());
    KQ_tile_matrix_diagram_widget *d = diagram(wizard);
    QCOMPARE(d->minimumSizeHint(), QSize(240, 100));
    click_cell(d, 0, 0);
    click_cell(d, 10, 3);  // eleven columns: refused
    QVERIFY(!wizard.button(QWizard::NextButton)->isEnabled());
    click_cell(d, 9, 3);
    QVERIFY(wizard.button(QWizard::NextButton)->isEnabled());
    QCOMPARE(wizard.field("max_x").toInt(), 9);
    QCOMPARE(wizard.field("max_y").toInt(), 3);

    // A wall that fits one matrix hides the note.
    headless_controller small;
    small.create_wall(4, 3);
    KQ_tile_matrix_wizard fitting(small.layout());
    fitting.show();
    choice(fitting, kGroupsText)->setChecked(true);
    QVERIFY(next(fitting) && next(fitting));
    QCOMPARE(fitting.currentId(), int(kTileMatrixDisplaysSelectionPage));
    for (QLabel *label : fitting.page(kTileMatrixDisplaysSelectionPage)->findChildren<QLabel *>())
        if (label->text().contains(QStringLiteral("maximum size of a Tile Matrix area")))
            QVERIFY(!label->isVisible());
}

void tst_tile_matrix_wizard::finish_only_after_an_update()
{
    tile_wall w(2, 1, QStringLiteral("VW-5520L"));
    QVERIFY2(w.ok, qPrintable(w.error));
    KQ_tile_matrix_wizard wizard(w.controller.layout());
    wizard.show();
    QVERIFY(next(wizard) && next(wizard));
    QCOMPARE(wizard.currentId(), int(kTileMatrixFinalPage));
    QVERIFY(!wizard.button(QWizard::FinishButton)->isEnabled());
    update_button(wizard)->click();
    QVERIFY(wizard.button(QWizard::FinishButton)->isEnabled());
    QVERIFY(wizard.findChild<QLabel *>(QStringLiteral("back_hint_label"))->isHidden());
}

void tst_tile_matrix_wizard::whole_wall()
{
    tile_wall w(3, 2, QStringLiteral("VW-5520L,VW-5530Q,VW-5540QE"));
    QVERIFY2(w.ok, qPrintable(w.error));
    KQ_tile_matrix_wizard wizard(w.controller.layout());
    wizard.show();
    QVERIFY(next(wizard) && next(wizard));
    QCOMPARE(wizard.currentId(), int(kTileMatrixFinalPage));
    wizard.findChild<QCheckBox *>(QStringLiteral("tile_comp_checkBox"))->setChecked(false);
    update_button(wizard)->click();
    for (int row = 0; row < 2; ++row) {
        for (int column = 0; column < 3; ++column) {
            const int p = row * 3 + column + 1;
            QCOMPARE(w.writes(column, row),
                     QStringList({"d3=2", "d0=3", "d1=2", QStringLiteral("d2=%1").arg(p), "d5=1"}));
            QCOMPARE(w.control(column, row, 0x2D3), 2);
            QCOMPARE(w.control(column, row, 0x2D0), 3);
            QCOMPARE(w.control(column, row, 0x2D1), 2);
            QCOMPARE(w.control(column, row, 0x2D2), p);
            QCOMPARE(w.control(column, row, 0x2D5), 1);
        }
    }
}

void tst_tile_matrix_wizard::group_then_a_second_group_after_back()
{
    tile_wall w(4, 3, QStringLiteral("VW-5520L"));
    QVERIFY2(w.ok, qPrintable(w.error));
    KQ_tile_matrix_wizard wizard(w.controller.layout());
    wizard.show();
    QVERIFY(next(wizard));
    choice(wizard, kGroupsText)->setChecked(true);
    QVERIFY(next(wizard));
    // The group of three columns by two rows from column 1, row 0, corners in reverse.
    click_cell(diagram(wizard), 3, 1);
    click_cell(diagram(wizard), 1, 0);
    QVERIFY(next(wizard));
    QVERIFY(wizard.findChild<QCheckBox *>(QStringLiteral("tile_comp_checkBox"))->isVisible());
    update_button(wizard)->click();
    QVERIFY(wizard.findChild<QLabel *>(QStringLiteral("back_hint_label"))->isVisible());
    const QList<QPoint> group{{1, 0}, {2, 0}, {3, 0}, {1, 1}, {2, 1}, {3, 1}};
    for (int i = 0; i < group.size(); ++i)
        QCOMPARE(w.writes(group.at(i).x(), group.at(i).y()),
                 QStringList({"d3=2", "d0=3", "d1=2", QStringLiteral("d2=%1").arg(i + 1), "d5=2"}));
    for (const QPoint &outside : {QPoint(0, 0), QPoint(0, 1), QPoint(2, 2)})
        QVERIFY(w.writes(outside.x(), outside.y()).isEmpty());

    // Back for the bottom row, a group of four by one.
    w.wall.clear_log();
    wizard.back();
    QCOMPARE(wizard.currentId(), int(kTileMatrixDisplaysSelectionPage));
    click_cell(diagram(wizard), 3, 1); // the old first corner: both taken back
    QCOMPARE(wizard.field("min_x").toInt(), -1);
    QVERIFY(!wizard.button(QWizard::NextButton)->isEnabled());
    click_cell(diagram(wizard), 0, 2);
    click_cell(diagram(wizard), 3, 2);
    QVERIFY(next(wizard));
    update_button(wizard)->click();
    for (int column = 0; column < 4; ++column)
        QCOMPARE(w.writes(column, 2),
                 QStringList({"d3=2", "d0=4", "d1=1", QStringLiteral("d2=%1").arg(column + 1), "d5=2"}));
    QVERIFY(w.writes(1, 0).isEmpty());
    // The first group kept its settings.
    QCOMPARE(w.control(3, 1, 0x2D2), 6);
    QCOMPARE(w.control(3, 1, 0x2D0), 3);
    QVERIFY(wizard.button(QWizard::FinishButton)->isEnabled());
}

void tst_tile_matrix_wizard::turn_off()
{
    tile_wall w(3, 1, QStringLiteral("VW-5520L"));
    QVERIFY2(w.ok, qPrintable(w.error));
    for (int column = 0; column < 3; ++column)
        w.wall.with_display(w.handle(column, 0), [](sim_display &d) { d.controls.find(0x2D3)->current = 2; });
    KQ_tile_matrix_wizard wizard(w.controller.layout());
    wizard.show();
    QVERIFY(next(wizard));
    choice(wizard, kOffText)->setChecked(true);
    QVERIFY(next(wizard));
    QCOMPARE(wizard.currentId(), int(kTileMatrixFinalPage));
    QVERIFY(!wizard.findChild<QCheckBox *>(QStringLiteral("tile_comp_checkBox"))->isVisible());
    update_button(wizard)->click();
    for (int column = 0; column < 3; ++column) {
        QCOMPARE(w.writes(column, 0), QStringList({"d3=3"}));
        QCOMPARE(w.control(column, 0, 0x2D3), 3);
    }
}

void tst_tile_matrix_wizard::a_display_without_the_controls_fails_alone()
{
    // The middle display's model has no Tile Matrix.
    tile_wall w(3, 1, QStringLiteral("VW-5520L,VW-4610C,VW-5520L"));
    QVERIFY2(w.ok, qPrintable(w.error));
    QCOMPARE(w.control(1, 0, 0x2D3), -1);
    KQ_tile_matrix_wizard wizard(w.controller.layout());
    wizard.show();
    QVERIFY(next(wizard) && next(wizard));
    progress_watch watch(3);
    update_button(wizard)->click();
    QCOMPARE(watch.dialogs(), 1);
    QCOMPARE(watch.results().size(), 3);
    for (const job_list_item &job : watch.results())
        QCOMPARE(job.effective_result(), job.position == 1 ? basic_monitor::kNotSupported : 0);
    QCOMPARE(w.control(0, 0, 0x2D2), 1);
    QCOMPARE(w.control(2, 0, 0x2D2), 3);
    QCOMPARE(w.control(2, 0, 0x2D0), 3);
    QVERIFY(wizard.button(QWizard::FinishButton)->isEnabled());
}

void tst_tile_matrix_wizard::a_hole_in_the_layout_gets_no_job()
{
    tile_wall w(3, 1, QStringLiteral("VW-5520L"));
    QVERIFY2(w.ok, qPrintable(w.error));
    // The middle display has left its place.
    layout_manager &layout = w.controller.layout();
    display_layout_item moved;
    QCOMPARE(layout.get_item(1, moved), 0);
    moved.column = 7;
    QCOMPARE(layout.set_item(1, moved, false), 0);
    KQ_tile_matrix_wizard wizard(layout);
    wizard.show();
    QVERIFY(next(wizard) && next(wizard));
    update_button(wizard)->click();
    QVERIFY(w.writes(1, 0).isEmpty());
    QCOMPARE(w.writes(0, 0), QStringList({"d3=2", "d0=3", "d1=1", "d2=1", "d5=2"}));
    QCOMPARE(w.writes(2, 0), QStringList({"d3=2", "d0=3", "d1=1", "d2=3", "d5=2"}));
    QVERIFY(wizard.button(QWizard::FinishButton)->isEnabled());
}

QTEST_MAIN(tst_tile_matrix_wizard)
#include "tst_tile_matrix_wizard.moc"

#pragma once

#include "app/controller/layout_manager.h"
#include "colour/colour_values.h"
#include "colour/monitor_tracker_item.h"
#include "simulator/simulated_wall.h"
#include "tests/app/window/main_window_fixture.h"
#include "tests/layout_setup/layout_wizard_driver.h"
#include "tests/sensors/simulated_instrument_control.h"

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QString>
#include <QTemporaryDir>

#include <memory>

class QueryThreadPool;
class Tessaline;

// The program's main window over a simulated wall and the simulated
// i1Display Pro, for tests that take a wall along its whole road through the
// window: the controller with the simulated instrument libraries, a pool of
// real display workers, the calibration task installed as the program does,
// and displays with their models' whole profiles and seeded panel
// imperfections. Waits run at time scale 0; the simulated displays' own
// processing times too. Every display, process and file it starts ends with
// it, also when the test fails.
//
//   wall_road road;
//   QVERIFY2(road.build_lan_wall(3, 3, {"VW-5530Q"}), qPrintable(road.error()));
//   QVERIFY2(road.attach_sensor(), qPrintable(road.error()));
//   road::describe_wall(road.window(), road.lan_description());
class wall_road
{
public:
    wall_road();
    ~wall_road();
    wall_road(const wall_road &) = delete;
    wall_road &operator=(const wall_road &) = delete;

    QString error() const { return m_error; }

    // |columns| x |rows| displays, each on its own address of this process's
    // loopback block from the block's first upward, row by row from the top
    // left, monitor ID 1, the |models| in turn, serial numbers "ROAD-<column>-<row>".
    bool build_lan_wall(int columns, int rows, const QList<QByteArray> &models, quint64 seed = 1,
                        double spread = 1.0);
    // One RS-232 daisy chain of |count| displays (monitor IDs 1, 2, ...,
    // left to right) on a pseudo-terminal that the program knows as
    // COM<com_number>.
    bool build_serial_chain(int count, const QList<QByteArray> &models, int com_number, quint64 seed = 1,
                            double spread = 1.0);

    // What the Layout Wizard is told for the wall built: its size and link,
    // the first address or the port.
    layout_wizard_driver::wall_description description() const { return m_description; }
    // The displays' handles in layout order.
    const QList<int> &handles() const { return m_handles; }
    // The endpoint every display of a serial chain shares; -1 for a LAN wall.
    int chain_endpoint() const { return m_chain; }

    // The instrument start-up detection finds: the simulated i1Display Pro,
    // following the display that last showed a patch (the jobs that measure
    // run one at a time).
    bool attach_sensor();

    main_window_fixture &app() { return *m_app; }
    // The main window, shown.
    Tessaline &window();
    // Closes the window as shutdown does and opens a new one.
    Tessaline &new_window();
    layout_manager &layout() { return m_app->wall().layout(); }
    simulated_wall &wall() { return *m_wall; }
    QueryThreadPool &pool();
    simulated_instrument_control &instrument() { return *m_instrument; }

    // The light of display |handle| with grey |level| (0 to 1) on its input,
    // as the picture path shows it (through the shown table in the
    // programmable colour modes).
    CCIEXYZ light_at(int handle, double level);
    // The record the store holds for the display at layout |index|.
    bool record_of(int index, monitor_tracker_item &record);
    // A control's current value, or -1 where the display lacks it.
    int control(int handle, quint16 code);

private:
    void place(int handle, int column, int row, const QList<QByteArray> &models, int n);

    QString m_error;
    QTemporaryDir m_light_folder;
    // Declared first: the window, the pool and its workers end before the wall.
    std::unique_ptr<simulated_wall> m_wall;
    std::unique_ptr<simulated_instrument_control> m_instrument;
    std::unique_ptr<main_window_fixture> m_app;
    layout_wizard_driver::wall_description m_description;
    QList<int> m_handles;
    int m_chain = -1;
    QByteArray m_com_variable;
};

// Operating the window as the operator does: its actions, buttons and
// dialogs. Each fails the running test when the control is missing.
namespace road {

template <typename T> T *named(QObject &root, const char *name)
{
    return root.findChild<T *>(QString::fromLatin1(name));
}

// Triggers the window's menu action |action|.
void trigger(QWidget &window, const char *action);
// Clicks the enabled button |button| below |root| with the mouse.
void click(QWidget &root, const char *button);
// Runs the Layout command and answers the wizard's pages with |wall|.
void describe_wall(QWidget &window, const layout_wizard_driver::wall_description &wall);

// What the Preferences dialog is given.
struct preference_choice
{
    int grey_steps = 8;
    bool lookup_table = true;
    bool use_engine = false;
    bool measure_after_calibration = true;
};
void choose_preferences(QWidget &window, const preference_choice &choice);

// What the Calibration Target dialog is given: a white point of its list,
// a specific luminance and a gamma value.
struct target_choice
{
    QString white_point = QStringLiteral("D65");
    double luminance = 200.0;
    double gamma = 2.2;
};
void choose_target(QWidget &window, const target_choice &choice);

// The text pdftotext reads from |file| (layout kept); empty when it fails.
QString pdf_text(const QString &file);
// Saves the report of the Summary window |summary| as PDF |file|, through its
// print preview and print dialog.
void save_report_as_pdf(QWidget &summary, const QString &file);

} // namespace road

// The jobs the pool ran, in the order the user-interface thread heard of
// their start and end.
class pool_jobs : public QObject
{
public:
    struct job
    {
        int id = 0;
        int position = -1;
        QList<qint32> tasks;
        int result = 0;
        QString error_text;
        int started = -1; // order of the event
        int ended = -1;
    };

    explicit pool_jobs(QueryThreadPool &pool);
    QList<job> jobs() const { return m_jobs; }
    // Jobs that ended with an error, as "position tasks: code text".
    QStringList failures() const;
    // Pairs of jobs that ran at the same time.
    int overlaps() const;
    void clear() { m_jobs.clear(); m_events = 0; }

private:
    job &entry(int id);

    QList<job> m_jobs;
    int m_events = 0;
};

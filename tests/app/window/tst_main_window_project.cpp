#include "app/controller/MasterControl.h"
#include "app/controller/layout_manager.h"
#include "app/services/preferences.h"
#include "app/window/project_file.h"
#include "colour/CMonitorTracker.h"
#include "main_window_fixture.h"
#include "tests/support/file_size_limit.h"
#include "tests/support/modal_box_answerer.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QtTest>

namespace {

QByteArray file_bytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool write_bytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QAction *action(Tessaline &window, const QString &name)
{
    return window.findChild<QAction *>(name);
}

} // namespace

// The File commands of the main window on real files: Save, Save As, Open,
// New, the recent files, and what a failed open or save leaves.
class tst_main_window_project : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void save_as_appends_the_extension_data();
    void save_as_appends_the_extension();
    void save_on_an_untitled_project_proposes_the_projects_folder();
    void save_of_a_named_project_asks_nothing();
    void ctrl_s_saves_without_the_file_menu();
    void open_restores_the_saved_project();
    void open_failures_data();
    void open_failures();
    void failed_save_changes_nothing_data();
    void failed_save_changes_nothing();
    void save_question_answers_data();
    void save_question_answers();
    void new_project_starts_untitled();
    void recent_files_keep_five_distinct_projects();
    void a_backup_copy_never_becomes_recent();

private:
    // Saves the fixture's project (a 3 x 2 wall with two records and a
    // target "Lobby") under |path| with Save As.
    void saveProjectAs(const QString &path);
    QString projectPath(const QString &name) const { return m_fixture->projects_folder() + name; }

    std::unique_ptr<main_window_fixture> m_fixture;
};

void tst_main_window_project::init()
{
    m_fixture = std::make_unique<main_window_fixture>();
    m_fixture->window();
    QVERIFY(QDir().mkpath(m_fixture->projects_folder()));
    m_fixture->wall().create_wall(3, 2);
    for (int i = 0; i < 2; ++i)
        m_fixture->wall().store_record(
            i, headless_controller::measured_record(CCIEXYZ(40, 20, 2), CCIEXYZ(30, 60, 10), CCIEXYZ(15, 6, 80)));
    CTargetValue target = m_fixture->wall().controller().getTarget();
    target.SetName(QStringLiteral("Lobby"));
    m_fixture->wall().controller().setTarget(target);
}

void tst_main_window_project::cleanup()
{
    m_fixture.reset();
}

void tst_main_window_project::saveProjectAs(const QString &path)
{
    m_fixture->answer_file_dialog(path);
    modal_box_answerer boxes;
    action(m_fixture->window(), "actionSave_Project_As")->trigger();
    QVERIFY(boxes.seen().isEmpty());
    QVERIFY(QFile::exists(path));
}

void tst_main_window_project::save_as_appends_the_extension_data()
{
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QString>("written");
    QTest::newRow("no extension") << "wall" << "wall.tslw";
    QTest::newRow("the extension") << "wall.tslw" << "wall.tslw";
    QTest::newRow("the extension in capitals") << "wall.TSLW" << "wall.TSLW.tslw";
}

void tst_main_window_project::save_as_appends_the_extension()
{
    QFETCH(QString, chosen);
    QFETCH(QString, written);
    Tessaline &window = m_fixture->window();
    QVERIFY(window.isWindowModified());

    m_fixture->answer_file_dialog(projectPath(chosen));
    action(window, "actionSave_Project_As")->trigger();
    QVERIFY(QFile::exists(projectPath(written)));
    QCOMPARE(window.project_file_path(), projectPath(written));
    QCOMPARE(window.windowTitle(), QStringLiteral("Tessaline - %1[*]").arg(written));
    QVERIFY(!window.isWindowModified());
    QVERIFY(!m_fixture->wall().layout().is_modified());
    QVERIFY(!m_fixture->wall().records().IsModified());
    QCOMPARE(m_fixture->preferences().GetRecentFiles(), QStringList{projectPath(written)});
    QCOMPARE(m_fixture->wall().controller().getProjectFilePath(), projectPath(written));
}

void tst_main_window_project::save_on_an_untitled_project_proposes_the_projects_folder()
{
    Tessaline &window = m_fixture->window();
    modal_box_answerer boxes;
    action(window, "actionSave_Project")->trigger(); // the fixture cancels the dialog
    QCOMPARE(m_fixture->file_dialogs().size(), 1);
    const file_dialog_request &asked = m_fixture->file_dialogs().first();
    QCOMPARE(asked.kind, file_dialog_request::save_file);
    QCOMPARE(asked.parent, &window);
    QCOMPARE(asked.caption, QStringLiteral("Save Project File"));
    QCOMPARE(asked.directory, m_fixture->projects_folder() + QStringLiteral(".tslw"));
    QCOMPARE(asked.filter, QStringLiteral("Project Files (*.tslw)"));
    // Cancelled: nothing changed.
    QVERIFY(boxes.seen().isEmpty());
    QVERIFY(window.project_file_path().isEmpty());
    QVERIFY(window.isWindowModified());
    QVERIFY(m_fixture->wall().layout().is_modified());
    QVERIFY(QDir(m_fixture->projects_folder()).entryList(QDir::Files).isEmpty());
}

void tst_main_window_project::save_of_a_named_project_asks_nothing()
{
    saveProjectAs(projectPath(QStringLiteral("wall.tslw")));
    const QByteArray first = file_bytes(projectPath(QStringLiteral("wall.tslw")));
    m_fixture->wall().create_wall(4, 1);
    QVERIFY(m_fixture->window().isWindowModified());

    action(m_fixture->window(), "actionSave_Project")->trigger();
    QCOMPARE(m_fixture->file_dialogs().size(), 1); // only Save As asked
    QVERIFY(file_bytes(projectPath(QStringLiteral("wall.tslw"))) != first);
    QVERIFY(!m_fixture->window().isWindowModified());
}

// The shortcut of a disabled action does nothing: Save must be enabled by
// the change itself, not only by opening the File menu.
void tst_main_window_project::ctrl_s_saves_without_the_file_menu()
{
    const QString path = projectPath(QStringLiteral("keys.tslw"));
    saveProjectAs(path);
    Tessaline &window = m_fixture->window();
    QAction *save = action(window, "actionSave_Project");
    QVERIFY(!save->isEnabled());
    const QByteArray first = file_bytes(path);

    m_fixture->wall().create_wall(4, 1);
    QVERIFY(save->isEnabled());
    window.show();
    QApplication::setActiveWindow(&window);
    QVERIFY(QTest::qWaitForWindowActive(&window));
    modal_box_answerer boxes;
    QTest::keyClick(&window, Qt::Key_S, Qt::ControlModifier);
    QVERIFY(boxes.seen().isEmpty());
    QVERIFY(file_bytes(path) != first);
    QVERIFY(!window.isWindowModified());
    QVERIFY(!save->isEnabled());
}

void tst_main_window_project::open_restores_the_saved_project()
{
    const QString path = projectPath(QStringLiteral("wall.tslw"));
    saveProjectAs(path);
    action(m_fixture->window(), "actionNew_Project")->trigger();
    QCOMPARE(m_fixture->wall().records().GetCount(), 0);

    Tessaline &window = m_fixture->window();
    modal_box_answerer boxes({QMessageBox::Discard});
    window.selection_changed(4);
    QSignalSpy selected(&window, &Tessaline::selection_changed_out);
    QSignalSpy target(&window, &Tessaline::updateTargetInfo);
    m_fixture->answer_file_dialog(path);
    action(window, "actionOpen_Project")->trigger();

    const file_dialog_request &asked = m_fixture->file_dialogs().last();
    QCOMPARE(asked.kind, file_dialog_request::open_file);
    QCOMPARE(asked.caption, QStringLiteral("Open Project File"));
    QCOMPARE(asked.directory, m_fixture->projects_folder());
    QCOMPARE(window.project_file_path(), path);
    QCOMPARE(window.windowTitle(), QStringLiteral("Tessaline - wall.tslw[*]"));
    QVERIFY(!window.isWindowModified());
    QCOMPARE(m_fixture->wall().layout().item_count(), 6);
    QCOMPARE(m_fixture->wall().records().GetCount(), 2);
    QCOMPARE(m_fixture->wall().controller().getTarget().GetName(), QStringLiteral("Lobby"));
    QCOMPARE(window.selected_display_index(), 0);
    QVERIFY(selected.contains(QVariantList{0}));
    QVERIFY(!target.isEmpty());
}

void tst_main_window_project::open_failures_data()
{
    QTest::addColumn<QString>("damage");
    QTest::addColumn<QString>("message");
    QTest::addColumn<int>("items");
    QTest::addColumn<int>("records");
    QTest::addColumn<bool>("layoutModified");

    QTest::newRow("missing file") << "missing" << "Error: Unable to open file." << 6 << 0 << true;
    QTest::newRow("not a project") << "magic" << "Error: The file appears to be an invalid format." << 0 << 0
                                   << true;
    QTest::newRow("newer version") << "version" << "Error: The file appears to be an invalid version." << 0 << 0
                                   << true;
    QTest::newRow("cut inside the layout") << "cut layout" << "Unknown Error #-1503" << 0 << 0 << true;
    QTest::newRow("target missing") << "cut target" << "Unknown Error #-1503" << 6 << 2 << false;
}

// Opened through a recent-file entry, so that a missing file gets as far as the reader.
void tst_main_window_project::open_failures()
{
    QFETCH(QString, damage);
    QFETCH(QString, message);
    QFETCH(int, items);
    QFETCH(int, records);
    QFETCH(bool, layoutModified);

    const QString path = projectPath(QStringLiteral("wall.tslw"));
    saveProjectAs(path);
    QByteArray bytes = file_bytes(path);
    QByteArray layoutOnly;
    {
        QDataStream stream(&layoutOnly, QIODevice::WriteOnly);
        stream.setVersion(QDataStream::Qt_4_6);
        m_fixture->wall().layout().write(stream);
    }
    QByteArray recordsOnly;
    {
        QDataStream stream(&recordsOnly, QIODevice::WriteOnly);
        stream.setVersion(QDataStream::Qt_4_6);
        m_fixture->wall().records().Write(stream);
    }
    if (damage == QLatin1String("missing"))
        QVERIFY(QFile::remove(path));
    else if (damage == QLatin1String("magic"))
        bytes[3] = char(0xA1);
    else if (damage == QLatin1String("version"))
        bytes[7] = char(103);
    else if (damage == QLatin1String("cut layout"))
        bytes.truncate(layoutOnly.size() - 3);
    else if (damage == QLatin1String("cut target"))
        bytes.truncate(layoutOnly.size() + recordsOnly.size());
    if (damage != QLatin1String("missing"))
        QVERIFY(write_bytes(path, bytes));
    m_fixture->wall().records().Clear();

    Tessaline &window = m_fixture->window();
    modal_box_answerer boxes({QMessageBox::Ok});
    action(window, "action_recent_file_1")->trigger();
    QCOMPARE(boxes.texts(), QStringList{message});
    QVERIFY(window.project_file_path().isEmpty());
    QCOMPARE(window.windowTitle(), QStringLiteral("Tessaline - untitled.tslw[*]"));
    QCOMPARE(m_fixture->wall().layout().item_count(), items);
    QCOMPARE(m_fixture->wall().records().GetCount(), records);
    QCOMPARE(m_fixture->wall().layout().is_modified(), layoutModified);
    QCOMPARE(m_fixture->wall().controller().getTarget().GetName(), QStringLiteral("Default"));
    // The failed file stays in the recent list.
    QCOMPARE(m_fixture->preferences().GetRecentFiles(), QStringList{path});
}

void tst_main_window_project::failed_save_changes_nothing_data()
{
    QTest::addColumn<bool>("fullDisk");
    QTest::newRow("folder under a file") << false;
    QTest::newRow("full disk") << true;
}

// A failed save shows message 104 and leaves the old file byte for byte,
// the title, the recent files and the modified state as they were.
void tst_main_window_project::failed_save_changes_nothing()
{
    QFETCH(bool, fullDisk);
    const QString path = projectPath(QStringLiteral("wall.tslw"));
    saveProjectAs(path);
    const QByteArray before = file_bytes(path);
    QVERIFY(before.size() > 100);
    const QStringList recent = m_fixture->preferences().GetRecentFiles();

    Tessaline &window = m_fixture->window();
    m_fixture->wall().create_wall(10, 10);
    QVERIFY(window.isWindowModified());
    const QString title = window.windowTitle();

    modal_box_answerer boxes({QMessageBox::Ok});
    if (fullDisk) {
        const file_size_limit limit(rlim_t(before.size()));
        QVERIFY(limit.active());
        action(window, "actionSave_Project")->trigger();
    } else {
        const QString notAFolder = projectPath(QStringLiteral("plain-file"));
        QVERIFY(write_bytes(notAFolder, "x"));
        m_fixture->answer_file_dialog(notAFolder + QStringLiteral("/other.tslw"));
        action(window, "actionSave_Project_As")->trigger();
    }
    QCOMPARE(boxes.texts(), QStringList{QStringLiteral("Error: Unable to save file.")});
    QCOMPARE(file_bytes(path), before);
    QCOMPARE(window.project_file_path(), path);
    QCOMPARE(window.windowTitle(), title);
    QVERIFY(window.isWindowModified());
    QVERIFY(m_fixture->wall().layout().is_modified());
    QCOMPARE(m_fixture->preferences().GetRecentFiles(), recent);
    QCOMPARE(QDir(m_fixture->projects_folder()).entryList(QDir::Files),
             QStringList({QStringLiteral("plain-file"), QStringLiteral("wall.tslw")}).mid(fullDisk ? 1 : 0));
}

void tst_main_window_project::save_question_answers_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("proceeds");
    QTest::addColumn<bool>("saved");
    QTest::newRow("save") << int(QMessageBox::Save) << true << true;
    QTest::newRow("discard") << int(QMessageBox::Discard) << true << false;
    QTest::newRow("cancel") << int(QMessageBox::Cancel) << false << false;
}

void tst_main_window_project::save_question_answers()
{
    QFETCH(int, answer);
    QFETCH(bool, proceeds);
    QFETCH(bool, saved);
    const QString path = projectPath(QStringLiteral("wall.tslw"));
    saveProjectAs(path);
    const QByteArray before = file_bytes(path);
    m_fixture->wall().create_wall(4, 4);

    modal_box_answerer boxes({QMessageBox::StandardButton(answer)});
    action(m_fixture->window(), "actionNew_Project")->trigger();
    QCOMPARE(boxes.seen().size(), 1);
    QCOMPARE(m_fixture->window().project_file_path().isEmpty(), proceeds);
    QCOMPARE(file_bytes(path) != before, saved);
    QCOMPARE(m_fixture->wall().records().GetCount(), proceeds ? 0 : 2);
}

void tst_main_window_project::new_project_starts_untitled()
{
    saveProjectAs(projectPath(QStringLiteral("wall.tslw")));
    CTargetValue target = m_fixture->wall().controller().getTarget();
    target.SetName(QStringLiteral("changed"));
    m_fixture->wall().controller().setTarget(target);

    Tessaline &window = m_fixture->window();
    action(window, "actionNew_Project")->trigger();
    QVERIFY(window.project_file_path().isEmpty());
    QCOMPARE(window.windowTitle(), QStringLiteral("Tessaline - untitled.tslw[*]"));
    QCOMPARE(m_fixture->wall().records().GetCount(), 0);
    QCOMPARE(m_fixture->wall().layout().item_count(), 6);
    display_layout_item item;
    QCOMPARE(m_fixture->wall().layout().get_item(0, item), 0);
    QCOMPARE(item.connection_type, qint32(display_layout_item::kRs232));
    QVERIFY(item.serial_number.isEmpty());
    QCOMPARE(m_fixture->wall().controller().getTarget().GetName(), QStringLiteral("Default"));
}

void tst_main_window_project::recent_files_keep_five_distinct_projects()
{
    Tessaline &window = m_fixture->window();
    for (int i = 1; i <= 6; ++i)
        saveProjectAs(projectPath(QStringLiteral("wall%1.tslw").arg(i)));
    // Opening one again moves it to the front, once.
    m_fixture->answer_file_dialog(projectPath(QStringLiteral("wall4.tslw")));
    action(window, "actionOpen_Project")->trigger();

    const QStringList expected{projectPath("wall4.tslw"), projectPath("wall6.tslw"), projectPath("wall5.tslw"),
                               projectPath("wall3.tslw"), projectPath("wall2.tslw")};
    QCOMPARE(m_fixture->preferences().GetRecentFiles(), expected);
    for (int i = 0; i < 5; ++i) {
        QAction *entry = action(window, QStringLiteral("action_recent_file_%1").arg(i + 1));
        QVERIFY(entry->isVisible());
        QCOMPARE(entry->text(), QStringLiteral("&%1: %2").arg(i + 1).arg(QFileInfo(expected[i]).fileName()));
        QCOMPARE(entry->data().toString(), expected[i]);
        QCOMPARE(entry->statusTip(), QDir::toNativeSeparators(expected[i]));
    }

    // Recent entry 3 opens its project.
    action(window, "action_recent_file_3")->trigger();
    QCOMPARE(window.project_file_path(), projectPath("wall5.tslw"));
    QCOMPARE(m_fixture->preferences().GetRecentFiles().first(), projectPath("wall5.tslw"));
}

void tst_main_window_project::a_backup_copy_never_becomes_recent()
{
    const QString path = projectPath(QStringLiteral("wall.tslw"));
    saveProjectAs(path);
    const QString copy = projectPath(QStringLiteral("~tslw_backup_wall_2021-02-08T153012.tslw"));
    QVERIFY(QFile::copy(path, copy));
    m_fixture->answer_file_dialog(copy);
    action(m_fixture->window(), "actionOpen_Project")->trigger();
    QCOMPARE(m_fixture->window().project_file_path(), copy);
    QCOMPARE(m_fixture->preferences().GetRecentFiles(), QStringList{path});
}

QTEST_MAIN(tst_main_window_project)
#include "tst_main_window_project.moc"

#include "app/controller/MasterControl.h"
#include "app/controller/layout_manager.h"
#include "app/window/project_backups.h"
#include "app/window/project_file.h"
#include "colour/CMonitorTracker.h"
#include "display_protocol/wait_service.h"
#include "main_window_fixture.h"
#include "project_parts.h"
#include "tests/support/modal_box_answerer.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QtTest>

#include <atomic>
#include <thread>
#include <vector>

namespace {

const char kCopyPattern[] = "^~tslw_backup_%1_(\\d{4}-\\d{2}-\\d{2}T\\d{6})\\.tslw$";

QStringList files_in(const QString &folder)
{
    return QDir(folder).entryList(QDir::Files, QDir::Name);
}

QStringList matching(const QStringList &names, const QString &pattern)
{
    const QRegularExpression expression(pattern);
    QStringList found;
    for (const QString &name : names)
        if (expression.match(name).hasMatch())
            found.append(name);
    return found;
}

bool touch(const QString &path, const QByteArray &bytes = "copy")
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

} // namespace

// Backup copies written after changes, their names and limit, and the
// restore of the newest one after an unclean shutdown.
class tst_project_backups : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void a_burst_of_changes_gives_one_copy_after_the_delay();
    void a_copy_is_a_whole_project_and_changes_nothing_else();
    void ten_copies_per_project_others_untouched_data();
    void ten_copies_per_project_others_untouched();
    void untitled_projects_get_no_copies();
    void copies_while_workers_store_records_read_back_whole();
    void restore_after_an_unclean_shutdown_data();
    void restore_after_an_unclean_shutdown();
    void restored_project_gets_no_copies_until_named();
    void unreadable_newest_copy_is_set_aside();

private:
    void nameProject(const QString &name);
    // Reads a project that the record-storing workers' test wrote and checks
    // that every record in it is whole; gives the record count, or -1 and
    // the reason.
    static int readWholeRecords(const QString &path, QString *why);
    // A project file with a |columns| x 1 wall in the backups folder,
    // modified |secondsAgo| seconds ago.
    void placeCopy(const QString &name, int columns, int secondsAgo);

    std::unique_ptr<main_window_fixture> m_fixture;
};

void tst_project_backups::init()
{
    m_fixture = std::make_unique<main_window_fixture>();
    QVERIFY(QDir().mkpath(m_fixture->projects_folder()));
}

void tst_project_backups::cleanup()
{
    m_fixture.reset();
}

void tst_project_backups::nameProject(const QString &name)
{
    m_fixture->answer_file_dialog(m_fixture->projects_folder() + name);
    QVERIFY(m_fixture->window().SaveProject(true));
}

void tst_project_backups::placeCopy(const QString &name, int columns, int secondsAgo)
{
    QVERIFY(QDir().mkpath(m_fixture->backups_folder()));
    project_parts project;
    project.create_wall(columns, 1);
    const QString path = m_fixture->backups_folder() + name;
    QCOMPARE(project.write(path), 0);
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadWrite));
    QVERIFY(file.setFileTime(QDateTime::currentDateTime().addSecs(-secondsAgo), QFileDevice::FileModificationTime));
}

void tst_project_backups::a_burst_of_changes_gives_one_copy_after_the_delay()
{
    nameProject(QStringLiteral("wall.tslw"));
    // 1500 ms become 75 ms.
    wait_service::set_time_scale(0.05);
    for (int i = 0; i < 10; ++i) {
        m_fixture->wall().layout().update_layout();
        QCoreApplication::processEvents();
    }
    QVERIFY(files_in(m_fixture->backups_folder()).isEmpty());
    QTRY_COMPARE_WITH_TIMEOUT(files_in(m_fixture->backups_folder()).size(), 1, 5000);
    QTest::qWait(300);
    QCOMPARE(files_in(m_fixture->backups_folder()).size(), 1);
}

void tst_project_backups::a_copy_is_a_whole_project_and_changes_nothing_else()
{
    m_fixture->wall().create_wall(3, 2);
    nameProject(QStringLiteral("wall.tslw"));
    m_fixture->wall().create_wall(5, 2);
    Tessaline &window = m_fixture->window();
    const QString title = window.windowTitle();
    QVERIFY(window.isWindowModified());

    const QDateTime before = QDateTime::currentDateTime().addSecs(-1);
    window.save_backup_file();
    const QDateTime after = QDateTime::currentDateTime().addSecs(1);

    const QStringList copies = files_in(m_fixture->backups_folder());
    QCOMPARE(copies.size(), 1);
    const QRegularExpressionMatch name =
        QRegularExpression(QString::fromLatin1(kCopyPattern).arg(QStringLiteral("wall"))).match(copies.first());
    QVERIFY2(name.hasMatch(), qPrintable(copies.first()));
    const QDateTime stamp = QDateTime::fromString(name.captured(1), QStringLiteral("yyyy-MM-ddTHHmmss"));
    QVERIFY(stamp >= before.addMSecs(-before.time().msec()) && stamp <= after);

    // The copy holds the project as it is now; the project stays as it was.
    project_parts copy;
    QCOMPARE(copy.read(m_fixture->backups_folder() + copies.first()), 0);
    QCOMPARE(copy.layout.item_count(), 10);
    QCOMPARE(window.windowTitle(), title);
    QVERIFY(window.isWindowModified());
    QVERIFY(m_fixture->wall().layout().is_modified());
    QCOMPARE(window.project_file_path(), m_fixture->projects_folder() + QStringLiteral("wall.tslw"));
    QCOMPARE(m_fixture->preferences().GetRecentFiles().size(), 1);
}

void tst_project_backups::ten_copies_per_project_others_untouched_data()
{
    QTest::addColumn<QString>("base");
    QTest::newRow("plain name") << "wall";
    QTest::newRow("wildcard characters") << "wall[1]*?";
}

void tst_project_backups::ten_copies_per_project_others_untouched()
{
    QFETCH(QString, base);
    QVERIFY(QDir().mkpath(m_fixture->backups_folder()));
    const QString folder = m_fixture->backups_folder();
    for (int i = 0; i < 10; ++i)
        QVERIFY(touch(folder + QStringLiteral("~tslw_backup_%1_2020-01-01T0000%2.tslw").arg(base).arg(i, 2, 10,
                                                                                                      QLatin1Char('0'))));
    // Another project whose name starts like this one's, another project, and files of no project.
    const QStringList others{QStringLiteral("~tslw_backup_%1_0_2019-01-01T000000.tslw").arg(base),
                             QStringLiteral("~tslw_backup_%1_0_2019-01-01T000001.tslw").arg(base),
                             QStringLiteral("~tslw_backup_other_2000-01-01T000000.tslw"),
                             QStringLiteral("~tslw_backup_%1_notes.tslw").arg(base), QStringLiteral("notes.txt")};
    for (const QString &other : others)
        QVERIFY(touch(folder + other));

    nameProject(base + QStringLiteral(".tslw"));
    m_fixture->window().save_backup_file();

    const QStringList names = files_in(folder);
    const QStringList own = matching(names, QString::fromLatin1(kCopyPattern).arg(QRegularExpression::escape(base)));
    QCOMPARE(own.size(), 10);
    QVERIFY(!names.contains(QStringLiteral("~tslw_backup_%1_2020-01-01T000000.tslw").arg(base)));
    QVERIFY(names.contains(QStringLiteral("~tslw_backup_%1_2020-01-01T000001.tslw").arg(base)));
    for (const QString &other : others)
        QVERIFY2(names.contains(other), qPrintable(other));

    // The other project's copies are counted apart.
    QCOMPARE(backup_copies_of(folder, QStringLiteral("/x/%1_0.tslw").arg(base)).size(), 2);
}

void tst_project_backups::untitled_projects_get_no_copies()
{
    m_fixture->window();
    m_fixture->wall().create_wall(4, 4);
    QVERIFY(m_fixture->window().isWindowModified());
    QTest::qWait(50);
    m_fixture->window().save_backup_file();
    QVERIFY(files_in(m_fixture->backups_folder()).isEmpty());
}

// Jobs store records on worker threads while the user interface writes
// copies; every copy must be a whole project.
void tst_project_backups::copies_while_workers_store_records_read_back_whole()
{
    m_fixture->wall().create_wall(4, 2);
    nameProject(QStringLiteral("wall.tslw"));
    CMonitorTracker &records = m_fixture->wall().records();

    std::atomic<bool> stop{false};
    std::vector<std::thread> workers;
    for (int t = 0; t < 3; ++t) {
        workers.emplace_back([&records, &stop, t] {
            for (int n = 0; n < 400 && !stop; ++n) {
                monitor_tracker_item item(QStringLiteral("P555"), QStringLiteral("W%1-%2").arg(t).arg(n));
                item.measurements.native.red = CCIEXYZ(n, t, 1);
                item.SetMacAddress(QString(n % 50, QLatin1Char('m')));
                records.SetAdjustValue(item);
                std::this_thread::yield();
            }
        });
    }
    const QString folder = m_fixture->projects_folder();
    QStringList copies;
    for (int i = 0; i < 40; ++i) {
        const QString copy = folder + QStringLiteral("copy%1.tslw").arg(i);
        QCOMPARE(m_fixture->window().save_project_file(copy, false), 0);
        copies.append(copy);
        QCoreApplication::processEvents();
    }
    stop = true;
    for (std::thread &worker : workers)
        worker.join();

    int previous = 0;
    for (const QString &copy : copies) {
        QString why;
        const int count = readWholeRecords(copy, &why);
        QVERIFY2(count >= 0, qPrintable(why));
        QVERIFY(count >= previous);
        previous = count;
    }

    // The workers' changes reach the backup timer on the user-interface
    // thread. How many copies they give depends on how the threads were
    // scheduled (the delay runs at the fixture's time scale, and a copy made
    // in another second gets another name); each is whole.
    const QString backups = m_fixture->backups_folder();
    QTRY_VERIFY_WITH_TIMEOUT(!files_in(backups).isEmpty(), 5000);
    for (const QString &name : files_in(backups)) {
        QString why;
        QVERIFY2(readWholeRecords(backups + name, &why) >= 0, qPrintable(why));
    }
}

int tst_project_backups::readWholeRecords(const QString &path, QString *why)
{
    project_parts read;
    const int status = read.read(path);
    if (status != 0) {
        *why = QStringLiteral("%1 reads back as %2").arg(path).arg(status);
        return -1;
    }
    for (int t = 0; t < 3; ++t) {
        for (int n = 0; n < 400; ++n) {
            monitor_tracker_item item(QStringLiteral("P555"), QStringLiteral("W%1-%2").arg(t).arg(n));
            if (read.records.GetAdjustValue(item) < 0)
                continue;
            if (item.measurements.native.red.X != double(n) || item.GetMacAddress().size() != n % 50) {
                *why = QStringLiteral("%1: record W%2-%3 is torn").arg(path).arg(t).arg(n);
                return -1;
            }
        }
    }
    return read.records.GetCount();
}

void tst_project_backups::restore_after_an_unclean_shutdown_data()
{
    QTest::addColumn<bool>("unclean");
    QTest::addColumn<bool>("shift");
    QTest::addColumn<bool>("copies");
    QTest::addColumn<bool>("restored");
    QTest::newRow("unclean") << true << false << true << true;
    QTest::newRow("unclean, Shift held") << true << true << true << false;
    QTest::newRow("clean") << false << false << true << false;
    QTest::newRow("unclean, no copies") << true << false << false << false;
}

void tst_project_backups::restore_after_an_unclean_shutdown()
{
    QFETCH(bool, unclean);
    QFETCH(bool, shift);
    QFETCH(bool, copies);
    QFETCH(bool, restored);

    if (copies) {
        placeCopy(QStringLiteral("~tslw_backup_alpha_2024-05-01T101010.tslw"), 3, 600);
        placeCopy(QStringLiteral("~tslw_backup_beta_2023-01-01T000000.tslw"), 5, 60);
        placeCopy(QStringLiteral("~tslw_backup_alpha_2024-05-01T101011.tslw"), 4, 300);
    }
    shutdown_marker::write(unclean);
    m_fixture->hold_shift(shift);
    Tessaline &window = m_fixture->window();
    QCOMPARE(window.previous_run_unclean(), unclean);

    modal_box_answerer boxes({QMessageBox::Ok});
    window.showNewFeatures();
    if (!restored) {
        QVERIFY(boxes.seen().isEmpty());
        QCOMPARE(m_fixture->wall().layout().item_count(), 2); // the start layout
        QVERIFY(!window.isWindowModified());
        return;
    }
    QCOMPARE(boxes.texts(),
             QStringList{QStringLiteral("This application may have been incorrectly shut down. A backup copy of the "
                                        "file being used has been restored. Please confirm the data is correct and "
                                        "save as a new file.")});
    // The newest copy by time, whatever its name says.
    QCOMPARE(m_fixture->wall().layout().item_count(), 5);
    QVERIFY(window.project_file_path().isEmpty());
    QCOMPARE(window.windowTitle(), QStringLiteral("Tessaline - untitled.tslw[*]"));
    QVERIFY(window.isWindowModified());
    QVERIFY(m_fixture->wall().layout().is_modified());
    QVERIFY(m_fixture->preferences().GetRecentFiles().isEmpty());
    // The copies stay; the mark stays set until this window goes.
    QCOMPARE(files_in(m_fixture->backups_folder()).size(), 3);
    QVERIFY(shutdown_marker::read());
}

void tst_project_backups::restored_project_gets_no_copies_until_named()
{
    placeCopy(QStringLiteral("~tslw_backup_alpha_2024-05-01T101010.tslw"), 3, 60);
    shutdown_marker::write(true);
    Tessaline &window = m_fixture->window();
    {
        modal_box_answerer boxes({QMessageBox::Ok});
        window.showNewFeatures();
        QCOMPARE(boxes.seen().size(), 1);
    }
    m_fixture->wall().create_wall(2, 2);
    window.save_backup_file();
    QCOMPARE(files_in(m_fixture->backups_folder()).size(), 1);

    // Saving asks for a name; from then on copies follow.
    m_fixture->answer_file_dialog(m_fixture->projects_folder() + QStringLiteral("named.tslw"));
    QVERIFY(window.SaveProject(m_fixture->window().project_file_path().isEmpty()));
    QCOMPARE(m_fixture->file_dialogs().size(), 1);
    window.save_backup_file();
    QCOMPARE(matching(files_in(m_fixture->backups_folder()), QString::fromLatin1(kCopyPattern).arg("named")).size(),
             1);
}

// The copy a crashed run left behind may be what crashed it: it is opened
// with the mark clear, and one that cannot be read is reported and no longer
// counts as the newest.
void tst_project_backups::unreadable_newest_copy_is_set_aside()
{
    placeCopy(QStringLiteral("~tslw_backup_alpha_2024-05-01T101010.tslw"), 3, 600);
    // A wall of -5 x -7 without displays, otherwise a sound project.
    QByteArray bytes;
    {
        project_parts empty;
        const QString path = m_fixture->backups_folder() + QStringLiteral("empty");
        QCOMPARE(empty.write(path), 0);
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        bytes = file.readAll();
        QVERIFY(file.remove());
        QDataStream patch(&bytes, QIODevice::ReadWrite);
        patch.device()->seek(8);
        patch << qint32(-5) << qint32(-7);
    }
    const QString newest = QStringLiteral("~tslw_backup_beta_2024-05-01T101010.tslw");
    QVERIFY(touch(m_fixture->backups_folder() + newest, bytes));

    shutdown_marker::write(true);
    Tessaline &window = m_fixture->window();
    QList<bool> markWhileOpening;
    const QMetaObject::Connection watch = connect(&m_fixture->wall().layout(), &layout_manager::layout_changed, this,
                                                  [&] { markWhileOpening.append(shutdown_marker::read()); });
    modal_box_answerer boxes({QMessageBox::Ok, QMessageBox::Ok});
    window.showNewFeatures();
    disconnect(watch);
    QVERIFY(!markWhileOpening.isEmpty());
    QVERIFY(!markWhileOpening.contains(true));
    QVERIFY(shutdown_marker::read());
    const QString aside = m_fixture->backups_folder() + newest + QStringLiteral(".unreadable");
    QCOMPARE(boxes.texts(), QStringList{QStringLiteral("Unknown Error #-1503 The backup copy could not be opened; it "
                                                       "is kept as \"%1\".")
                                           .arg(aside)});
    QVERIFY(QFile::exists(aside));
    QVERIFY(!QFile::exists(m_fixture->backups_folder() + newest));
    QCOMPARE(m_fixture->wall().layout().item_count(), 0);
    QVERIFY(window.project_file_path().isEmpty());

    // The next start after another crash restores the copy before it.
    m_fixture->close_window();
    shutdown_marker::write(true);
    Tessaline &next = m_fixture->window();
    QVERIFY(next.previous_run_unclean());
    next.showNewFeatures();
    QCOMPARE(boxes.seen().size(), 2);
    QCOMPARE(m_fixture->wall().layout().item_count(), 3);
}

QTEST_MAIN(tst_project_backups)
#include "tst_project_backups.moc"

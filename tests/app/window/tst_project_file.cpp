#include "app/controller/layout_manager.h"
#include "app/window/project_file.h"
#include "colour/CMonitorTracker.h"
#include "colour/CTargetValue.h"
#include "colour/stream_record.h"
#include "project_parts.h"
#include "tests/support/file_size_limit.h"
#include "tests/support/headless_controller.h"

#include <QBuffer>
#include <QDataStream>
#include <QFile>
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

// The bytes one part writes on its own.
template <class Writer> QByteArray part_bytes(Writer write)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QDataStream stream(&buffer);
    stream_record::prepare(stream);
    write(stream);
    return bytes;
}

qint32 int32_at(const QByteArray &bytes, int offset)
{
    QDataStream stream(bytes.mid(offset, 4));
    qint32 value = 0;
    stream >> value;
    return value;
}

void put_int32_at(QByteArray &bytes, int offset, qint32 value)
{
    QByteArray encoded;
    QDataStream stream(&encoded, QIODevice::WriteOnly);
    stream << value;
    bytes.replace(offset, 4, encoded);
}

} // namespace

// The project file on its own: its bytes, reading back, and what a damaged
// file or a failed write does.
class tst_project_file : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void three_parts_back_to_back();
    void round_trip_restores_layout_records_and_target();
    void damaged_files_data();
    void damaged_files();
    void missing_file();
    void write_into_a_path_under_a_file_fails_and_leaves_nothing();
    void full_disk_keeps_the_previous_file();

private:
    // Part lengths of the project the fixture writes.
    int layoutLength() { return part_bytes([&](QDataStream &s) { m_wall->layout().write(s); }).size(); }
    int recordsLength() { return part_bytes([&](QDataStream &s) { m_wall->records().Write(s); }).size(); }
    CTargetValue target() const
    {
        CTargetValue target;
        target.SetName(QStringLiteral("Lobby"));
        target.SetGamma(2.4);
        target.SetIntensityMode(CTargetValue::kIntensitySpecified);
        target.SetSpecifiedLuminance(420.0);
        return target;
    }
    QString projectPath() const { return m_wall->documents_folder() + QStringLiteral("/wall.tslw"); }
    int writeProject() { return project_file::write(projectPath(), m_wall->layout(), m_wall->records(), target()); }

    std::unique_ptr<headless_controller> m_wall;
};

void tst_project_file::init()
{
    m_wall = std::make_unique<headless_controller>();
    m_wall->create_wall(3, 2);
    for (int i = 0; i < 4; ++i)
        m_wall->store_record(i, headless_controller::measured_record(CCIEXYZ(40 + i, 20, 2), CCIEXYZ(30, 60, 10),
                                                                       CCIEXYZ(15, 6, 80)));
}

void tst_project_file::cleanup()
{
    m_wall.reset();
}

void tst_project_file::three_parts_back_to_back()
{
    QCOMPARE(writeProject(), 0);
    const QByteArray bytes = file_bytes(projectPath());
    const int layout = layoutLength();
    const int records = recordsLength();
    const int targetLength = part_bytes([&](QDataStream &s) { target().Write(s); }).size();
    QCOMPARE(bytes.size(), layout + records + targetLength);

    QCOMPARE(int32_at(bytes, 0), qint32(0xA0A0));
    QCOMPARE(int32_at(bytes, 4), qint32(102));
    QCOMPARE(int32_at(bytes, layout), qint32(0xABBA));
    QCOMPARE(int32_at(bytes, layout + 4), qint32(100));
    QCOMPARE(int32_at(bytes, layout + 8), qint32(4)); // records
    QCOMPARE(int32_at(bytes, layout + records), qint32(0x20746774));
    QCOMPARE(bytes.mid(layout + records, 4), QByteArray(" tgt"));
    QCOMPARE(int32_at(bytes, layout + records + 4), qint32(103));
}

void tst_project_file::round_trip_restores_layout_records_and_target()
{
    QCOMPARE(writeProject(), 0);
    const QByteArray written = file_bytes(projectPath());

    project_parts other;
    CTargetValue &read = other.target;
    bool layoutRead = false;
    QCOMPARE(project_file::read(projectPath(), other.layout, other.records, read, &layoutRead), 0);
    QVERIFY(layoutRead);
    QCOMPARE(other.layout.item_count(), 6);
    QCOMPARE(other.records.GetCount(), 4);
    QCOMPARE(read.GetName(), QStringLiteral("Lobby"));
    QCOMPARE(read.GetSpecifiedLuminance(), 420.0);
    monitor_tracker_item record(QStringLiteral("P555"), QStringLiteral("SN2"));
    QCOMPARE(other.records.GetAdjustValue(record), 2);
    QCOMPARE(record.measurements.native.red.X, 42.0);

    // What was read writes the same bytes again.
    const QString again = m_wall->documents_folder() + QStringLiteral("/again.tslw");
    QCOMPARE(other.write(again), 0);
    QCOMPARE(file_bytes(again), written);
}

void tst_project_file::damaged_files_data()
{
    QTest::addColumn<QString>("damage");
    QTest::addColumn<int>("status");
    QTest::addColumn<bool>("layoutRead");
    QTest::addColumn<int>("records");

    QTest::newRow("not a project") << "layout magic" << -1502 << false << 0;
    QTest::newRow("newer layout") << "layout version" << -1501 << false << 0;
    QTest::newRow("cut inside the layout") << "cut layout" << -1503 << false << 0;
    QTest::newRow("cut after the layout") << "cut at records" << -1503 << true << 0;
    QTest::newRow("records of something else") << "records magic" << -1502 << true << 0;
    QTest::newRow("cut inside the records") << "cut records" << -1503 << true << -1;
    QTest::newRow("target missing") << "cut at target" << -1503 << true << 4;
    QTest::newRow("newer target") << "target version" << -1501 << true << 4;
    QTest::newRow("cut inside the target") << "cut target" << -1503 << true << 4;
}

// A damaged part fails the read with its code, and the parts before it stay read.
void tst_project_file::damaged_files()
{
    QFETCH(QString, damage);
    QFETCH(int, status);
    QFETCH(bool, layoutRead);
    QFETCH(int, records);

    QCOMPARE(writeProject(), 0);
    QByteArray bytes = file_bytes(projectPath());
    const int layout = layoutLength();
    const int recordStart = layout;
    const int targetStart = layout + recordsLength();
    if (damage == QLatin1String("layout magic"))
        put_int32_at(bytes, 0, 0xA0A1);
    else if (damage == QLatin1String("layout version"))
        put_int32_at(bytes, 4, 103);
    else if (damage == QLatin1String("cut layout"))
        bytes.truncate(layout / 2);
    else if (damage == QLatin1String("cut at records"))
        bytes.truncate(recordStart);
    else if (damage == QLatin1String("records magic"))
        put_int32_at(bytes, recordStart, 0xABBB);
    else if (damage == QLatin1String("cut records"))
        bytes.truncate(recordStart + (targetStart - recordStart) / 2);
    else if (damage == QLatin1String("cut at target"))
        bytes.truncate(targetStart);
    else if (damage == QLatin1String("target version"))
        put_int32_at(bytes, targetStart + 4, 104);
    else if (damage == QLatin1String("cut target"))
        bytes.truncate(targetStart + (bytes.size() - targetStart) / 2);
    QVERIFY(write_bytes(projectPath(), bytes));

    project_parts other;
    CTargetValue &read = other.target;
    read.SetName(QStringLiteral("untouched"));
    bool layoutWasRead = !layoutRead;
    QCOMPARE(project_file::read(projectPath(), other.layout, other.records, read, &layoutWasRead), status);
    QCOMPARE(layoutWasRead, layoutRead);
    QCOMPARE(other.layout.item_count(), layoutRead ? 6 : 0);
    if (records >= 0)
        QCOMPARE(other.records.GetCount(), records);
    else
        QVERIFY(other.records.GetCount() < 4);
    QCOMPARE(read.GetName(), QStringLiteral("untouched"));
}

void tst_project_file::missing_file()
{
    CTargetValue read;
    bool layoutRead = true;
    QCOMPARE(project_file::read(projectPath(), m_wall->layout(), m_wall->records(), read, &layoutRead),
             int(project_file::kErrOpen));
    QVERIFY(!layoutRead);
}

void tst_project_file::write_into_a_path_under_a_file_fails_and_leaves_nothing()
{
    // A folder that cannot be written to, also for root: its "parent" is a file.
    const QString parent = m_wall->documents_folder() + QStringLiteral("/plain-file");
    QVERIFY(write_bytes(parent, "x"));
    const QString path = parent + QStringLiteral("/wall.tslw");
    QVERIFY(project_file::write(path, m_wall->layout(), m_wall->records(), target()) != 0);
    QVERIFY(!QFile::exists(path));
    QCOMPARE(file_bytes(parent), QByteArray("x"));
}

void tst_project_file::full_disk_keeps_the_previous_file()
{
    QCOMPARE(writeProject(), 0);
    const QByteArray before = file_bytes(projectPath());
    QVERIFY(before.size() > 200);
    QStringList leftovers = QDir(m_wall->documents_folder()).entryList(QDir::Files);

    m_wall->create_wall(4, 3);
    int status = 0;
    {
        const file_size_limit limit(rlim_t(before.size() / 2));
        QVERIFY(limit.active());
        status = project_file::write(projectPath(), m_wall->layout(), m_wall->records(), target());
    }
    QCOMPARE(status, -1504);
    QCOMPARE(file_bytes(projectPath()), before);
    // No temporary file stays behind.
    QCOMPARE(QDir(m_wall->documents_folder()).entryList(QDir::Files), leftovers);
}

QTEST_GUILESS_MAIN(tst_project_file)
#include "tst_project_file.moc"

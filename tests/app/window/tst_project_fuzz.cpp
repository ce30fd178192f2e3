#include "app/controller/layout_builder.h"
#include "app/controller/layout_manager.h"
#include "colour/CMonitorTracker.h"
#include "colour/stream_record.h"
#include "main_window_fixture.h"
#include "project_parts.h"
#include "views/wall/KQ_central_display_widget.h"

#include <QApplication>
#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QRandomGenerator>
#include <QtTest>

#include <functional>
#include <limits>
#include <memory>
#include <utility>

namespace {

constexpr qint32 kMaxInt = std::numeric_limits<qint32>::max();
constexpr qint32 kMinInt = std::numeric_limits<qint32>::min();
constexpr int kLayoutHeaderBytes = 24;
// Magic, version and count.
constexpr int kRecordsHeaderBytes = 12;
// One case in this many of the bulk ones is opened through the window, the
// others only read.
constexpr int kWindowSample = 8;

// Answers every message box the moment it shows, and keeps its text: a
// thousand failed opens take a second, not minutes.
class instant_box_answerer : public QObject
{
public:
    instant_box_answerer() { qApp->installEventFilter(this); }
    ~instant_box_answerer() override { qApp->removeEventFilter(this); }

    QStringList take() { return std::exchange(m_texts, {}); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        auto *box = qobject_cast<QMessageBox *>(watched);
        if (box && event->type() == QEvent::Show) {
            m_texts.append(box->text());
            QMetaObject::invokeMethod(box, [box] { box->done(QMessageBox::Ok); }, Qt::QueuedConnection);
        }
        return false;
    }

private:
    QStringList m_texts;
};

QByteArray part_bytes(const std::function<void(QDataStream &)> &write)
{
    QByteArray bytes;
    QDataStream stream(&bytes, QIODevice::WriteOnly);
    stream_record::prepare(stream);
    write(stream);
    return bytes;
}

// A layout part of |columns| x |rows| claiming |count| displays; at most
// 101 are written, row by row inside the wall where it has room.
QByteArray layout_part(qint32 columns, qint32 rows, qint32 count)
{
    return part_bytes([&](QDataStream &out) {
        out << layout_manager::kMagic << layout_manager::kVersion << columns << rows << qint32(0) << count;
        const qint32 written = qBound(0, count, kMaxWallDisplays + 1);
        for (qint32 i = 0; i < written; ++i) {
            const qint32 column = columns > 0 ? i % columns : 0;
            const qint32 row = columns > 0 ? i / columns : 0;
            out << column << row << quint8(1) << qint32(i + 1) << qint32(0) << QStringLiteral("S%1").arg(i)
                << QStringLiteral("P555") << qint32(1) << QStringLiteral("127.0.0.1") << QString() << qint32(1);
        }
    });
}

bool readable_wall(qint32 columns, qint32 rows, qint32 count)
{
    if (columns == 0 && rows == 0)
        return count == 0;
    return is_valid_wall_size(columns, rows) && count >= 0 && count <= columns * rows;
}

} // namespace

// Damaged and hostile project files opened through the main window, as the
// Open command and the backup restore open them: each ends in the project or
// in an error message, never in a crash, and the window never holds or shows
// a wall that cannot exist.
class tst_project_fuzz : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();

    void every_truncation_is_refused();
    void byte_flips_and_random_bytes();
    void counts_and_sizes_at_their_limits_data();
    void counts_and_sizes_at_their_limits();
    void record_counts_and_lengths_at_their_limits();

private:
    // Opens |bytes| as a project through the window and checks what the
    // window is left with; the open's status.
    int open(const QByteArray &bytes);
    void checkWindowState(int status, const QStringList &boxes);
    // Reads |bytes| as a project apart from any window; the read's status.
    int read(const QByteArray &bytes);
    bool place(const QByteArray &bytes);
    static void checkWall(const layout_manager &layout);

    std::unique_ptr<main_window_fixture> m_fixture;
    std::unique_ptr<instant_box_answerer> m_boxes;
    QString m_path;
    QByteArray m_project;   // a 2 x 1 wall, a record and a target
    int m_layoutSize = 0;   // the layout part's bytes at the start
    int m_recordsSize = 0;  // the records part's, after it
};

void tst_project_fuzz::initTestCase()
{
    m_fixture = std::make_unique<main_window_fixture>();
    Tessaline &window = m_fixture->window();
    QVERIFY(QDir().mkpath(m_fixture->projects_folder()));
    m_fixture->wall().create_wall(2, 1);
    m_fixture->wall().store_record(
        0, headless_controller::measured_record(CCIEXYZ(40, 20, 2), CCIEXYZ(30, 60, 10), CCIEXYZ(15, 6, 80)));
    m_path = m_fixture->projects_folder() + QStringLiteral("hostile.tslw");
    QCOMPARE(window.save_project_file(m_path, true), 0);
    QFile file(m_path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    m_project = file.readAll();
    m_layoutSize = part_bytes([&](QDataStream &out) { m_fixture->wall().layout().write(out); }).size();
    m_recordsSize = part_bytes([&](QDataStream &out) { m_fixture->wall().records().Write(out); }).size();
    QVERIFY(m_layoutSize + m_recordsSize < m_project.size());
    m_boxes = std::make_unique<instant_box_answerer>();
    QCOMPARE(open(m_project), 0);
}

void tst_project_fuzz::cleanupTestCase()
{
    m_boxes.reset();
    m_fixture.reset();
}

// Rewritten in place: freeing the file's blocks on every case (a truncation
// to nothing) waits for the disk on some machines.
bool tst_project_fuzz::place(const QByteArray &bytes)
{
    QFile file(m_path);
    if (file.open(QIODevice::ReadWrite) && file.write(bytes) == bytes.size() && file.resize(bytes.size()))
        return true;
    QTest::qFail("the case cannot be written", __FILE__, __LINE__);
    return false;
}

int tst_project_fuzz::read(const QByteArray &bytes)
{
    if (!place(bytes))
        return -1;
    project_parts project;
    const int status = project.read(m_path);
    checkWall(project.layout);
    return status;
}

// The model never holds a wall that cannot exist, nor a display outside it.
void tst_project_fuzz::checkWall(const layout_manager &layout)
{
    int columns = 0;
    int rows = 0;
    const int count = layout.get_size(columns, rows);
    QVERIFY2((columns == 0 && rows == 0) || is_valid_wall_size(columns, rows),
             qPrintable(QStringLiteral("%1 x %2").arg(columns).arg(rows)));
    for (int i = 0; i < count; ++i) {
        display_layout_item item;
        QCOMPARE(layout.get_item(i, item), 0);
        QVERIFY(item.column >= 0 && item.column < columns && item.row >= 0 && item.row < rows);
    }
}

int tst_project_fuzz::open(const QByteArray &bytes)
{
    if (!place(bytes))
        return -1;
    const int status = m_fixture->window().open_project_file(m_path);
    QCoreApplication::processEvents();
    checkWindowState(status, m_boxes->take());
    return status;
}

void tst_project_fuzz::checkWindowState(int status, const QStringList &boxes)
{
    Tessaline &window = m_fixture->window();
    const layout_manager &layout = m_fixture->wall().layout();
    QCOMPARE(boxes.size(), status == 0 ? 0 : 1);
    if (status != 0)
        QVERIFY(!boxes.first().isEmpty());
    checkWall(layout);
    QVERIFY(window.wall_view());
    QCOMPARE(window.wall_view()->tiles().size(), layout.item_count());
    QCOMPARE(window.selected_display_index(), 0);
    QCOMPARE(window.project_file_path().isEmpty(), status != 0);
}

// Every cut is read; the window opens those inside the layout and the
// records' header, where the wall takes shape, and a sample of the others
// (an open through the window takes a millisecond or two).
void tst_project_fuzz::every_truncation_is_refused()
{
    for (int size = 0; size < m_project.size(); ++size) {
        const QByteArray bytes = m_project.left(size);
        const bool window = size < m_layoutSize + kRecordsHeaderBytes || size % kWindowSample == 0;
        const int status = window ? open(bytes) : read(bytes);
        if (QTest::currentTestFailed())
            QFAIL(qPrintable(QStringLiteral("after a cut at %1 bytes").arg(size)));
        QVERIFY2(status != 0, qPrintable(QStringLiteral("a cut at %1 bytes opened").arg(size)));
    }
}

void tst_project_fuzz::byte_flips_and_random_bytes()
{
    QRandomGenerator random(0x33A);
    // Every byte of the layout part and of the records' header inverted.
    for (int at = 0; at < m_layoutSize + kRecordsHeaderBytes; ++at) {
        QByteArray bytes = m_project;
        bytes[at] = char(~bytes[at]);
        open(bytes);
        if (QTest::currentTestFailed())
            QFAIL(qPrintable(QStringLiteral("byte %1 inverted").arg(at)));
    }
    // Single bits anywhere.
    for (int n = 0; n < 1000; ++n) {
        QByteArray bytes = m_project;
        const int at = random.bounded(bytes.size());
        bytes[at] = char(bytes[at] ^ (1 << random.bounded(8)));
        n % kWindowSample ? read(bytes) : open(bytes);
        if (QTest::currentTestFailed())
            QFAIL(qPrintable(QStringLiteral("bit flip at %1").arg(at)));
    }
    // Noise, alone and after a sound layout header.
    for (int n = 0; n < 1000; ++n) {
        QByteArray noise(random.bounded(2 * m_project.size()), Qt::Uninitialized);
        for (char &byte : noise)
            byte = char(random.bounded(256));
        const QByteArray bytes = n % 2 ? m_project.left(kLayoutHeaderBytes) + noise : noise;
        n % kWindowSample ? read(bytes) : open(bytes);
        if (QTest::currentTestFailed())
            QFAIL(qPrintable(QStringLiteral("noise %1").arg(n)));
    }
}

void tst_project_fuzz::counts_and_sizes_at_their_limits_data()
{
    QTest::addColumn<qint32>("columns");
    QTest::addColumn<qint32>("rows");
    QTest::addColumn<qint32>("count");
    const struct
    {
        const char *name;
        qint32 columns, rows, count;
    } walls[] = {
        {"empty wall", 0, 0, 0},
        {"empty wall with a display", 0, 0, 1},
        {"-5 x -7, no displays", -5, -7, 0},
        {"-1 x -1, no displays", -1, -1, 0},
        {"most negative size", kMinInt, kMinInt, 0},
        {"0x7fffffff columns", kMaxInt, 1, 0},
        {"0x7fffffff rows", 1, kMaxInt, 0},
        {"0x7fffffff x 0x7fffffff", kMaxInt, kMaxInt, 0},
        {"1000 x 1000, no displays", 1000, 1000, 0},
        {"0 x 5, no displays", 0, 5, 0},
        {"5 x 0, no displays", 5, 0, 0},
        {"1 x 1, no displays", 1, 1, 0},
        {"30 x 3, no displays", 30, 3, 0},
        {"31 x 1", 31, 1, 1},
        {"1 x 30, 30 displays", 1, 30, 30},
        {"10 x 11, no displays", 10, 11, 0},
        {"10 x 10, 100 displays", 10, 10, 100},
        {"10 x 10, 101 displays", 10, 10, 101},
        {"3 x 2, 7 displays", 3, 2, 7},
        {"count -1", 3, 2, -1},
        {"most negative count", 3, 2, kMinInt},
        {"count 0x7fffffff", 3, 2, kMaxInt},
    };
    for (const auto &wall : walls)
        QTest::newRow(wall.name) << wall.columns << wall.rows << wall.count;
}

void tst_project_fuzz::counts_and_sizes_at_their_limits()
{
    QFETCH(qint32, columns);
    QFETCH(qint32, rows);
    QFETCH(qint32, count);
    const QByteArray rest = m_project.mid(m_layoutSize);
    const int status = open(layout_part(columns, rows, count) + rest);
    const bool readable = readable_wall(columns, rows, count);
    QCOMPARE(status, readable ? 0 : int(stream_record::kErrRead));
    if (readable)
        QCOMPARE(m_fixture->wall().layout().item_count(), count);
}

// Behind a sound layout: the records' count, and a string claiming nearly 2 GB.
void tst_project_fuzz::record_counts_and_lengths_at_their_limits()
{
    const struct
    {
        int offset; // after the layout part
        quint32 value;
    } patches[] = {
        {8, quint32(-1)}, {8, 65537}, {8, quint32(kMaxInt)}, {8, quint32(kMinInt)}, {12, 0x7FFFFFFE}, {12, 0xFFFFFFFD},
    };
    for (const auto &patch : patches) {
        QByteArray bytes = m_project;
        {
            QDataStream out(&bytes, QIODevice::ReadWrite);
            out.device()->seek(m_layoutSize + patch.offset);
            out << patch.value;
        }
        QCOMPARE(open(bytes), int(stream_record::kErrRead));
    }
}

QTEST_MAIN(tst_project_fuzz)
#include "tst_project_fuzz.moc"

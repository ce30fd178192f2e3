#include "app/services/error_code_table.h"
#include "app/services/preferences.h"
#include "app/services/string_resource.h"
#include "app/services/ui/error_messages.h"
#include "app/services/ui/message_boxes.h"
#include "app/services/ui/my_custom_message_box.h"
#include "display_protocol/wait_service.h"
#include "recording_voice_output.h"
#include "resources/tessaline_resources.h"

#include <QApplication>
#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QtTest>

#include <functional>

namespace {

QLabel *countdown_label(QMessageBox &box)
{
    return box.findChild<QLabel *>(QStringLiteral("qt_msgbox_informativelabel"));
}

// Runs |act| on the message box once it is shown modally.
void when_box_shows(std::function<void(MyCustomMessageBox *)> act)
{
    auto *poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, [poll, act] {
        auto *box = qobject_cast<MyCustomMessageBox *>(QApplication::activeModalWidget());
        if (!box || !box->isVisible())
            return;
        poll->stop();
        poll->deleteLater();
        act(box);
    });
    poll->start(5);
}

struct shown_box {
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
    bool hasCheckBox = false;
    QPoint position;
};

shown_box describe(MyCustomMessageBox *box)
{
    return {box->windowTitle(), box->text(), box->icon(), box->standardButtons(),
            box->findChild<QCheckBox *>() != nullptr, box->pos()};
}

} // namespace

class tst_message_boxes : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();

    void countdown_text_and_expiry();
    void countdown_box_closes_itself_when_left_alone();
    void extra_widgets_survive_relayout();
    void box_without_check_box_is_never_ticked();
    void only_a_box_without_parent_sets_the_icon();
    void left_half_placement();
    void suppression_round_trip();
    void unticked_box_leaves_message_shown();
    void error_code_table_data();
    void error_code_table();
    void error_code_keeps_caller_icon();
    void error_message_box_data();
    void error_message_box();

private:
    QTemporaryDir m_home;
};

void tst_message_boxes::initTestCase()
{
    QLocale::setDefault(QLocale::c());
    tessaline_init_resources();
    QVERIFY(m_home.isValid());
    qputenv("HOME", m_home.path().toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", (m_home.path() + QStringLiteral("/.config")).toLocal8Bit());
}

void tst_message_boxes::cleanup()
{
    wait_service::set_time_scale(1.0);
}

void tst_message_boxes::countdown_text_and_expiry()
{
    MyCustomMessageBox box(nullptr, 60, false, false);
    QLabel *label = countdown_label(box);
    QVERIFY(label);
    QCOMPARE(label->text(), QStringLiteral("Closes in 60 seconds"));
    QCOMPARE(box.counter(), 59);
    QCOMPARE(box.property("counter").toInt(), 59);
    for (int tick = 0; tick < 58; ++tick)
        box.on_timeout();
    QCOMPARE(label->text(), QStringLiteral("Closes in 2 seconds"));
    box.on_timeout();
    QCOMPARE(label->text(), QStringLiteral("Closes in 1 second"));
    QCOMPARE(box.counter(), 0);
    box.setResult(-1);
    box.on_timeout();
    QCOMPARE(box.result(), int(QDialog::Accepted));
}

void tst_message_boxes::countdown_box_closes_itself_when_left_alone()
{
    wait_service::set_time_scale(0.001);
    MyCustomMessageBox box(nullptr, 60, false, true);
    box.setText(QStringLiteral("waiting"));
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
    box.redoLayout();
    QElapsedTimer clock;
    clock.start();
    const int result = box.exec();
    QCOMPARE(result, int(QDialog::Accepted));
    QCOMPARE(box.counter(), 0);
    // Sixty ticks of one scaled millisecond each at least.
    QVERIFY(clock.elapsed() >= 60);

    bool dontShow = false;
    QCOMPARE(show_message_box(nullptr, QStringLiteral("left alone"), &dontShow, QMessageBox::Yes | QMessageBox::No,
                              QMessageBox::No, QMessageBox::Question, true, false),
             int(QDialog::Accepted));
    QVERIFY(!dontShow);
}

void tst_message_boxes::extra_widgets_survive_relayout()
{
    MyCustomMessageBox box(nullptr, 60, false, true);
    box.setText(QStringLiteral("text"));
    box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
    box.setIcon(QMessageBox::Information);
    auto *grid = qobject_cast<QGridLayout *>(box.layout());
    QVERIFY(grid);
    QCheckBox *check = box.findChild<QCheckBox *>();
    QLabel *label = countdown_label(box);
    QVERIFY(check && label);
    QCOMPARE(check->text(), QStringLiteral("Don't show this again"));
    QVERIFY(grid->indexOf(check) < 0 || grid->indexOf(label) < 0);

    box.redoLayout();
    int row = 0, column = 0, rowSpan = 0, columnSpan = 0;
    grid->getItemPosition(grid->indexOf(label), &row, &column, &rowSpan, &columnSpan);
    QCOMPARE(QPoint(column, row), QPoint(1, 1));
    QCOMPARE(columnSpan, grid->columnCount() - 1);
    grid->getItemPosition(grid->indexOf(check), &row, &column, &rowSpan, &columnSpan);
    QCOMPARE(row, grid->rowCount() - 1);
    QCOMPARE(column, 0);
    QCOMPARE(columnSpan, grid->columnCount());

    // A second relayout adds nothing twice.
    const int count = grid->count();
    box.redoLayout();
    QCOMPARE(grid->count(), count);
}

void tst_message_boxes::box_without_check_box_is_never_ticked()
{
    MyCustomMessageBox box(nullptr, 0, false, false);
    QVERIFY(!box.isDontShowChecked());
    QVERIFY(!box.findChild<QCheckBox *>());
    QVERIFY(!countdown_label(box));
    QCOMPARE(box.counter(), 0);
}

void tst_message_boxes::only_a_box_without_parent_sets_the_icon()
{
    MyCustomMessageBox lone(nullptr, 0, false, false);
    QVERIFY(lone.testAttribute(Qt::WA_SetWindowIcon));
    QVERIFY(!lone.windowIcon().availableSizes().isEmpty());
    QWidget parent;
    MyCustomMessageBox child(&parent, 0, false, false);
    QVERIFY(!child.testAttribute(Qt::WA_SetWindowIcon));
}

void tst_message_boxes::left_half_placement()
{
    QWidget parent;
    // The box places itself as it is built, with the frame it has then.
    const int frameWidth = MyCustomMessageBox(&parent, 0, false, false).frameGeometry().width();
    MyCustomMessageBox box(&parent, 0, true, false);
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    QCOMPARE(box.pos(), QPoint(screen.left() + screen.width() / 4 - frameWidth / 2,
                               screen.top() + screen.height() / 2));
    QVERIFY(box.testAttribute(Qt::WA_Moved));
}

void tst_message_boxes::suppression_round_trip()
{
    constexpr int kMessage = 7;
    {
        CPreferences preferences;
        bool dontShow = !preferences.IsMessageSuppressed(kMessage);
        QVERIFY(dontShow);
        shown_box seen;
        when_box_shows([&seen](MyCustomMessageBox *box) {
            seen = describe(box);
            box->findChild<QCheckBox *>()->setChecked(true);
            box->button(QMessageBox::Yes)->click();
        });
        const int answer = show_message_box(nullptr, QStringLiteral("Proceed?"), &dontShow,
                                            QMessageBox::Yes | QMessageBox::No, QMessageBox::No,
                                            QMessageBox::Question, false, false);
        QCOMPARE(answer, int(QMessageBox::Yes));
        QCOMPARE(seen.title, QStringLiteral("Tessaline"));
        QCOMPARE(seen.text, QStringLiteral("Proceed?"));
        QVERIFY(seen.hasCheckBox);
        QVERIFY(dontShow);
        preferences.SuppressMessage(kMessage);
    }
    CPreferences reread;
    QVERIFY(reread.IsMessageSuppressed(kMessage));
}

void tst_message_boxes::unticked_box_leaves_message_shown()
{
    bool dontShow = true;
    when_box_shows([](MyCustomMessageBox *box) { box->button(QMessageBox::Ok)->click(); });
    QCOMPARE(show_notice_box(nullptr, QStringLiteral("Notice"), &dontShow, QMessageBox::Information, false, false),
             int(QMessageBox::Ok));
    QVERIFY(!dontShow);

    // Without the flag no check box is offered.
    shown_box seen;
    when_box_shows([&seen](MyCustomMessageBox *box) {
        seen = describe(box);
        box->button(QMessageBox::Ok)->click();
    });
    show_notice_box(nullptr, QStringLiteral("Notice"), nullptr, QMessageBox::Information, false, false);
    QVERIFY(!seen.hasCheckBox);
    QCOMPARE(seen.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
}

void tst_message_boxes::error_code_table_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<int>("stringId");
    const QList<QPair<QList<int>, int>> rows = {
        {{-9001}, 133}, {{-9000}, 132}, {{-8512, -1008}, 117}, {{-8511, -8508, -8507, -8505}, 3002},
        {{-8509}, 3000}, {{-8506}, 3001}, {{-5008}, 202}, {{-5007}, 198}, {{-5002, -5000}, 185},
        {{-5001}, 197}, {{-3011}, 175}, {{-3010, -3008}, 183}, {{-3009}, 184}, {{-3007}, 182},
        {{-3006}, 181}, {{-3005}, 180}, {{-3004}, 179}, {{-3003}, 178}, {{-3002}, 177}, {{-3001}, 176},
        {{-1506}, 201}, {{-1505}, 104}, {{-1502}, 102}, {{-1501}, 103}, {{-1500}, 101}, {{-1041}, 135},
        {{-1040}, 204}, {{-1039}, 3003}, {{-1038}, 319}, {{-1036}, 317}, {{-1035}, 134}, {{-1033}, 149},
        {{-1032}, 147}, {{-1031}, 146}, {{-1030}, 148}, {{-1029}, 150}, {{-1028}, 315}, {{-1027}, 188},
        {{-1026}, 151}, {{-1022}, 200}, {{-1021}, 194}, {{-1020}, 196}, {{-1015, -1013}, 127},
        {{-1014}, 125}, {{-1011}, 119}, {{-1005}, 115}, {{-1004}, 113}, {{-1003}, 111}, {{-1000}, 105},
    };
    for (const auto &row : rows)
        for (int code : row.first)
            QTest::addRow("%d", code) << code << row.second;
}

void tst_message_boxes::error_code_table()
{
    QFETCH(int, code);
    QFETCH(int, stringId);
    QCOMPARE(error_code_string_id(code), stringId);
    QCOMPARE(error_code_text(code), string_resource(stringId));
    QString text;
    QMessageBox::Icon icon = QMessageBox::Question;
    error_code_message_id(code, text, icon);
    QCOMPARE(text, string_resource(stringId));
    QCOMPARE(icon, code == -1005 ? QMessageBox::Warning : QMessageBox::Question);
}

void tst_message_boxes::error_code_keeps_caller_icon()
{
    for (int code : {-1504, 0, 1, -1, -1001, -9002, -99998}) {
        QString text;
        QMessageBox::Icon icon = QMessageBox::Information;
        error_code_message_id(code, text, icon);
        QCOMPARE(text, QStringLiteral("Unknown Error #%1").arg(code));
        QCOMPARE(error_code_text(code), text);
        QCOMPARE(icon, QMessageBox::Information);
    }
    QCOMPARE(error_code_string_id(-1504), 100);
}

void tst_message_boxes::error_message_box_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<bool>("playPrompt");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("icon");
    QTest::newRow("cancelled, warning") << -1005 << false << QStringLiteral("The operation has been cancelled.")
                                        << int(QMessageBox::Warning);
    QTest::newRow("no row, critical") << -1504 << true << QStringLiteral("Unknown Error #-1504")
                                      << int(QMessageBox::Critical);
    QTest::newRow("file") << -1500 << true << QStringLiteral("Error: Unable to open file.")
                          << int(QMessageBox::Critical);
}

void tst_message_boxes::error_message_box()
{
    QFETCH(int, code);
    QFETCH(bool, playPrompt);
    QFETCH(QString, text);
    QFETCH(int, icon);
    recording_voice_output voice;
    shown_box seen;
    QStringList heardBeforeShowing;
    when_box_shows([&](MyCustomMessageBox *box) {
        seen = describe(box);
        heardBeforeShowing = voice.events;
        box->button(QMessageBox::Ok)->click();
    });
    show_error_message(nullptr, code, playPrompt, false, false);
    QCOMPARE(seen.title, QStringLiteral("Tessaline"));
    QCOMPARE(seen.text, text);
    QCOMPARE(int(seen.icon), icon);
    QCOMPARE(seen.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    QVERIFY(!seen.hasCheckBox);
    // No prompt file lies beside the test: the attempt ends in a beep.
    QCOMPARE(heardBeforeShowing, playPrompt ? QStringList{QStringLiteral("beep")} : QStringList());
}

QTEST_MAIN(tst_message_boxes)
#include "tst_message_boxes.moc"

#include "layout_setup/IP4Validator.h"
#include "layout_setup/KQ_display_interconnection_select_widget.h"
#include "layout_setup/KQ_display_layout_LAN_translate_direct_selection_widget.h"
#include "layout_setup/KQ_display_layout_RS232_interconnection_selection_widget.h"
#include "layout_setup/KQ_display_layout_connection_widget.h"
#include "layout_setup/KQ_display_layout_ipaddress_select_widget.h"
#include "layout_setup/com_port_combo.h"
#include "resources/tessaline_resources.h"
#include "tests/app/serial_test_ports.h"
#include "tests/support/headless_controller.h"

#include <QAbstractItemView>
#include <QCompleter>
#include <QLabel>
#include <QSignalSpy>
#include <QtTest>

namespace {

const QString kGreen = QStringLiteral(":/images/Resources/green circle icon.png");
const QString kRed = QStringLiteral(":/images/Resources/red circle icon.png");

QImage picture_of(const QIcon &icon)
{
    return icon.pixmap(16, 16).toImage();
}

// The circle each of the sixteen rows shows: 'g' green, 'r' red, '?' other.
QString circles(const QComboBox &combo)
{
    const QImage green = picture_of(QIcon(kGreen));
    const QImage red = picture_of(QIcon(kRed));
    QString shown;
    for (int i = 0; i < combo.count(); ++i) {
        const QImage row = picture_of(combo.itemIcon(i));
        shown += row == green ? QLatin1Char('g') : row == red ? QLatin1Char('r') : QLatin1Char('?');
    }
    return shown;
}

} // namespace

class tst_connection_widgets : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { tessaline_init_resources(); }
    void init() { clear_serial_port_overrides(); }
    void cleanup() { clear_serial_port_overrides(); }

    void ip4_validator_data();
    void ip4_validator();
    void connection_choices_data();
    void connection_choices();
    void rs232_section_follows_the_choice();
    void com_port_list_shows_present_ports();
    void a_port_coming_and_going_keeps_the_row();
    void first_fill_offers_the_first_port();
    void choice_pictures_load();
    void interconnection_choices_are_exclusive();
    void address_entry_checks_and_completes();
    void address_entry_without_a_layout();
};

void tst_connection_widgets::ip4_validator_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("state");

    const int invalid = QValidator::Invalid;
    const int intermediate = QValidator::Intermediate;
    const int acceptable = QValidator::Acceptable;
    QTest::newRow("address") << "192.168.0.10" << acceptable;
    QTest::newRow("lowest") << "0.0.0.0" << acceptable;
    QTest::newRow("highest") << "255.255.255.255" << acceptable;
    QTest::newRow("three numbers and a point") << "192.168.0." << intermediate;
    QTest::newRow("two points with nothing between") << "192..0.10" << intermediate;
    QTest::newRow("three numbers") << "10.0.1" << intermediate;
    QTest::newRow("empty") << "" << intermediate;
    QTest::newRow("points only") << "..." << intermediate;
    QTest::newRow("number above 255") << "192.168.0.256" << invalid;
    QTest::newRow("number above 255 before an empty part") << "300..1.1" << invalid;
    QTest::newRow("fifth part") << "1.2.3.4.5" << invalid;
    QTest::newRow("trailing point after four") << "1.2.3.4." << invalid;
    QTest::newRow("negative number") << "-1.2.3.4" << invalid;
    QTest::newRow("very long number") << "99999999999999.1.1.1" << invalid;
    QTest::newRow("letter in a part") << "192.16a.0.1" << intermediate;
    QTest::newRow("letter before a number out of range") << "x.300.0.1" << intermediate;
}

void tst_connection_widgets::ip4_validator()
{
    QFETCH(QString, text);
    QFETCH(int, state);
    IP4Validator validator;
    QString input = text;
    int position = input.size();
    QCOMPARE(int(validator.validate(input, position)), state);
    QCOMPARE(input, text);
    QCOMPARE(position, text.size());
}

void tst_connection_widgets::connection_choices_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("displays");
    QTest::addColumn<bool>("rs232Before");
    QTest::addColumn<bool>("lanEnabled");
    QTest::addColumn<bool>("rs232Enabled");
    QTest::addColumn<bool>("rs232After");

    for (const bool rs232Before : {false, true}) {
        const char *was = rs232Before ? ", RS-232 chosen before" : ", LAN chosen before";
        for (const int displays : {1, 4}) {
            const QByteArray wall = displays == 1 ? "one display" : "four displays";
            for (const int type : {0, 2, 3})
                QTest::addRow("type %d, %s%s", type, wall.constData(), was)
                    << type << displays << rs232Before << true << true << rs232Before;
            QTest::addRow("RS-232 only, %s%s", wall.constData(), was)
                << 1 << displays << rs232Before << false << true << true;
        }
        QTest::addRow("RS-232 in and LAN, one display%s", was) << 4 << 1 << rs232Before << true << true << rs232Before;
        QTest::addRow("RS-232 in and LAN, two displays%s", was) << 4 << 2 << rs232Before << true << false << false;
    }
}

void tst_connection_widgets::connection_choices()
{
    QFETCH(int, type);
    QFETCH(int, displays);
    QFETCH(bool, rs232Before);
    QFETCH(bool, lanEnabled);
    QFETCH(bool, rs232Enabled);
    QFETCH(bool, rs232After);
    KQ_display_layout_connection_widget widget;
    QVERIFY(widget.ui.lan_radioButton->isChecked());
    if (rs232Before)
        widget.ui.rs232_radioButton->setChecked(true);
    widget.SetModelConfigurationType(type, displays);
    QCOMPARE(widget.ui.lan_radioButton->isEnabled(), lanEnabled);
    QCOMPARE(widget.ui.rs232_radioButton->isEnabled(), rs232Enabled);
    QCOMPARE(widget.ui.rs232_radioButton->isChecked(), rs232After);
    QCOMPARE(widget.ui.lan_radioButton->isChecked(), !rs232After);
    QCOMPARE(widget.ui.rs232_widget->isEnabled(), rs232After);

    // A later wall that allows both gives both back and keeps the choice.
    widget.SetModelConfigurationType(0, displays);
    QVERIFY(widget.ui.lan_radioButton->isEnabled());
    QVERIFY(widget.ui.rs232_radioButton->isEnabled());
    QCOMPARE(widget.ui.rs232_radioButton->isChecked(), rs232After);
}

void tst_connection_widgets::rs232_section_follows_the_choice()
{
    KQ_display_layout_connection_widget widget;
    QVERIFY(!widget.ui.rs232_widget->isEnabled());
    widget.ui.rs232_radioButton->click();
    QVERIFY(widget.ui.rs232_widget->isEnabled());
    widget.ui.lan_radioButton->click();
    QVERIFY(!widget.ui.rs232_widget->isEnabled());
}

void tst_connection_widgets::com_port_list_shows_present_ports()
{
    KQ_display_layout_connection_widget widget;
    QList<serial_port_record> machine{serial_port_at(QStringLiteral("/dev/ttyS2")),
                                      serial_port_at(QStringLiteral("/dev/ttyS15")),
                                      serial_port_at(QStringLiteral("/dev/ttyUSB0"))};
    widget.portWatcher()->setPortSource([&machine] { return machine; });
    widget.portWatcher()->poll_now();
    QComboBox &combo = *widget.ui.com_port_comboBox;
    QCOMPARE(combo.count(), 16);
    QCOMPARE(combo.itemText(0), QStringLiteral("COM1"));
    QCOMPARE(combo.itemText(15), QStringLiteral("COM16"));
    QVERIFY(!combo.itemData(0).isValid());
    QCOMPARE(circles(combo), QStringLiteral("rrgrrrrrrrrrrrrg"));

    // A USB adapter counts once a name is pointed at it.
    qputenv("TESSALINE_SERIAL_PORT_COM5", "/dev/ttyUSB0");
    fill_com_port_combo(&combo, machine);
    QCOMPARE(circles(combo), QStringLiteral("rrgrgrrrrrrrrrrg"));
}

void tst_connection_widgets::a_port_coming_and_going_keeps_the_row()
{
    KQ_display_layout_connection_widget widget;
    QList<serial_port_record> machine{serial_port_at(QStringLiteral("/dev/ttyS0"))};
    widget.portWatcher()->setPortSource([&machine] { return machine; });
    widget.portWatcher()->poll_now();
    QComboBox &combo = *widget.ui.com_port_comboBox;
    combo.setCurrentIndex(2);
    QSignalSpy changed(&combo, QOverload<int>::of(&QComboBox::currentIndexChanged));
    QSignalSpy textChanged(&combo, &QComboBox::currentTextChanged);

    // An adapter plugged in at the default path of COM8.
    machine.append(serial_port_at(QStringLiteral("/dev/ttyS7")));
    widget.portWatcher()->poll_now();
    QCOMPARE(circles(combo), QStringLiteral("grrrrrrgrrrrrrrr"));
    QCOMPARE(combo.currentIndex(), 2);

    // A pseudo-terminal named for COM3 through the environment, which the
    // machine's port list never shows, comes and goes.
    pseudo_terminal terminal;
    QVERIFY(!terminal.path().isEmpty());
    qputenv("TESSALINE_SERIAL_PORT_COM3", terminal.path().toLocal8Bit());
    widget.portWatcher()->poll_now();
    QCOMPARE(circles(combo), QStringLiteral("grgrrrrgrrrrrrrr"));
    QCOMPARE(combo.currentIndex(), 2);

    terminal.close();
    machine.removeLast();
    widget.portWatcher()->poll_now();
    QCOMPARE(circles(combo), QStringLiteral("grrrrrrrrrrrrrrr"));
    QCOMPARE(combo.currentIndex(), 2);
    QCOMPARE(combo.currentText(), QStringLiteral("COM3"));
    QCOMPARE(changed.count(), 0);
    QCOMPARE(textChanged.count(), 0);
}

void tst_connection_widgets::first_fill_offers_the_first_port()
{
    QComboBox combo;
    QSignalSpy changed(&combo, QOverload<int>::of(&QComboBox::currentIndexChanged));
    fill_com_port_combo(&combo, {});
    QCOMPARE(combo.count(), 16);
    QCOMPARE(combo.currentIndex(), 0);
    QCOMPARE(changed.count(), 0);
    QCOMPARE(circles(combo), QString(16, QLatin1Char('r')));
}

void tst_connection_widgets::choice_pictures_load()
{
    KQ_display_interconnection_select_widget interconnection;
    KQ_display_layout_RS232_interconnection_selection_widget rs232;
    KQ_display_layout_LAN_translate_direct_selection_widget translate;
    const QList<QLabel *> pictures{interconnection.ui.intereconnect_via_RS232_daisychain_label,
                                   interconnection.ui.intereconnect_via_LAN_daisychain_label,
                                   interconnection.ui.intereconnect_via_separate_LAN_label,
                                   rs232.ui.intereconnect_via_RS232_daisychain_label,
                                   rs232.ui.intereconnect_via_LAN_daisychain_label,
                                   translate.ui.label,
                                   translate.ui.label_2};
    for (QLabel *label : pictures)
        QVERIFY2(!label->pixmap(Qt::ReturnByValue).isNull(), qPrintable(label->objectName()));
    KQ_display_layout_connection_widget connection;
    QVERIFY(!connection.ui.com_port_comboBox->itemIcon(0).isNull());
}

void tst_connection_widgets::interconnection_choices_are_exclusive()
{
    KQ_display_interconnection_select_widget widget;
    widget.ui.intereconnect_via_LAN_daisychain_radioButton->click();
    widget.ui.intereconnect_via_separate_LAN_radioButton->click();
    QVERIFY(!widget.ui.intereconnect_via_LAN_daisychain_radioButton->isChecked());
    QCOMPARE(widget.ui.buttonGroup->buttons().size(), 3);
    KQ_display_layout_LAN_translate_direct_selection_widget translate;
    QCOMPARE(translate.ui.buttonGroup->buttons().size(), 2);
    QVERIFY(!translate.ui.translate_direct_radioButton->isChecked());
    QVERIFY(!translate.ui.translate_translate_radioButton->isChecked());
}

void tst_connection_widgets::address_entry_checks_and_completes()
{
    headless_controller wall;
    wall.create_wall(2, 1, QStringLiteral("192.168.5.20"));
    KQ_display_layout_ipaddress_select_widget widget;
    QLineEdit &edit = *widget.ui.ip_address_lineEdit;
    QVERIFY(qobject_cast<const IP4Validator *>(edit.validator()));
    QCOMPARE(edit.inputMask(), QStringLiteral("000.000.000.000"));
    QCOMPARE(edit.maxLength(), 15);
    QCOMPARE(edit.minimumWidth(), 24 * edit.fontMetrics().averageCharWidth());
    QCOMPARE(edit.maximumWidth(), edit.minimumWidth());
    QVERIFY(widget.ui.ip_address_label->text().isEmpty());
    QVERIFY(!widget.ui.monitor_lan_search_pushButton->icon().isNull());

    QCompleter *completer = edit.completer();
    QVERIFY(completer);
    QCOMPARE(completer->caseSensitivity(), Qt::CaseInsensitive);
    QCOMPARE(completer->completionMode(), QCompleter::UnfilteredPopupCompletion);
    QStringList offered;
    for (int row = 0; row < completer->model()->rowCount(); ++row)
        offered << completer->model()->index(row, 0).data().toString();
    QCOMPARE(offered, QStringList({QStringLiteral("192.168.5.20"), QStringLiteral("192.168.5.21"),
                                   QStringLiteral("192.168.0.10")}));

    edit.setText(QStringLiteral("10.1.2.3"));
    QVERIFY(edit.hasAcceptableInput());
    edit.setText(QStringLiteral("10.1.2"));
    QVERIFY(!edit.hasAcceptableInput());
}

void tst_connection_widgets::address_entry_without_a_layout()
{
    KQ_display_layout_ipaddress_select_widget widget;
    QVERIFY(!widget.ui.ip_address_lineEdit->completer());
    QVERIFY(qobject_cast<const IP4Validator *>(widget.ui.ip_address_lineEdit->validator()));
}

QTEST_MAIN(tst_connection_widgets)
#include "tst_connection_widgets.moc"

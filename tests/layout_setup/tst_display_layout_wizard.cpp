#include "app/controller/layout_manager.h"
#include "app/services/folders.h"
#include "app/services/preferences.h"
#include "layout_setup/IDPage.h"
#include "layout_setup/KQ_display_array_size_diagram_widget.h"
#include "layout_setup/SummaryPage.h"
#include "layout_setup/display_layout_wizard_advanced.h"
#include "layout_setup/layout_wizard_command.h"
#include "resources/tessaline_resources.h"
#include "tests/layout_setup/layout_wizard_driver.h"
#include "tests/support/headless_controller.h"
#include "tests/support/widget_images.h"

#include <QFontDatabase>
#include <QFontDialog>
#include <QLabel>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QScreen>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QToolBar>
#include <QtTest>

using namespace layout_wizard_driver;

namespace {

QString page_class(const QWizard &wizard, int id)
{
    return QString::fromLatin1(wizard.page(id)->metaObject()->className());
}

bool shows_picture(const QLabel *label, const QString &path)
{
    return label->pixmap(Qt::ReturnByValue).toImage() == QPixmap(path).toImage();
}

// Runs |steps| on the next modal window of type |Window| once it is shown;
// the window is closed afterwards whatever the steps did.
template <typename Window>
void when_modal_opens(std::function<void(Window &)> steps, int attempts = 200)
{
    QTimer::singleShot(10, [steps, attempts]() {
        auto *window = qobject_cast<Window *>(QApplication::activeModalWidget());
        if (!window) {
            if (attempts > 0)
                when_modal_opens<Window>(steps, attempts - 1);
            return;
        }
        steps(*window);
        if (window->isVisible())
            window->reject();
    });
}

// Counts the windows of type |Window| shown while it lives and closes each:
// caught on their show event, so that no watcher outlives the check and
// takes a later test's window.
template <typename Window> class shown_windows : public QObject
{
public:
    shown_windows() { qApp->installEventFilter(this); }
    ~shown_windows() override { qApp->removeEventFilter(this); }
    int count() const { return m_count; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Show) {
            if (auto *window = qobject_cast<Window *>(watched)) {
                ++m_count;
                QTimer::singleShot(0, window, &Window::reject);
            }
        }
        return false;
    }

private:
    int m_count = 0;
};

QString run_tool(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(30000))
        return QString();
    // pdftotext writes the ligatures the font has.
    return QString::fromUtf8(process.readAllStandardOutput()).replace(QChar(0xFB01), QStringLiteral("fi"));
}

wall_description wall_of(int columns, int rows, link_kind link)
{
    wall_description wall;
    wall.columns = columns;
    wall.rows = rows;
    wall.link = link;
    return wall;
}

} // namespace

class tst_display_layout_wizard : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { tessaline_init_resources(); }

    void pages_titles_and_looks();
    void fields_follow_their_controls_data();
    void fields_follow_their_controls();
    void single_display_paths();
    void one_row_skips_the_direction_page();
    void size_page_completes_on_a_valid_size();
    void model_choice_reaches_the_pages();
    void interconnection_choices_by_configuration();
    void shared_id_box_and_picture();
    void cabling_pictures_shown_whole();
    void back_keeps_or_forgets_choices();
    void id_page_ranges_and_texts();
    void search_button_by_configuration_data();
    void search_button_by_configuration();
    void corner_and_direction_pages();
    void summary_hands_out_ids_from_one_for_auto_id();
    void summary_buttons_only_on_the_summary_page();
    void pdf_preview_font_and_print_out();
    void command_on_an_empty_layout();
};

void tst_display_layout_wizard::pages_titles_and_looks()
{
    display_layout_wizard_advanced wizard;
    QCOMPARE(wizard.windowTitle(), QStringLiteral("Display Layout Configuration Wizard"));
    QCOMPARE(wizard.startId(), 0);
    QCOMPARE(wizard.wizardStyle(), QWizard::ModernStyle);
    QVERIFY(!(wizard.windowFlags() & Qt::WindowContextHelpButtonHint));
    QVERIFY(!wizard.pixmap(QWizard::LogoPixmap).isNull());
    QVERIFY(!wizard.windowIcon().isNull());
    QVERIFY(!(wizard.options() & QWizard::HaveHelpButton));
    QVERIFY(wizard.button(QWizard::CancelButton));
    QVERIFY(wizard.minimumWidth() <= 850 && wizard.minimumHeight() <= 550);
    QCOMPARE(wizard.pageIds().size(), 13);

    const QStringList classes{"IntroPage", "SelectModelPage", "SizePage", "FirstConnectionPage",
                              "InterConnectionPage", "LANTranslateDirectSelectionPage",
                              "RS232InterconnectionSelectionPage", "IPAddressSelectPage", "IDPage",
                              "FirstDisplayPage", "LayoutDirectionPage", "DisplayOrientationPage", "SummaryPage"};
    const QStringList titles{"Introduction",
                             "Select display model or connection configuration",
                             "Specify the size of the video wall",
                             "Select how this PC connects to the first display",
                             "Select how the displays are connected to each other",
                             "Select how commands are sent to displays in the LAN daisy chain",
                             "Select how the displays are connected to each other",
                             "Display IP address",
                             " ",
                             "Specify the video wall orientation",
                             "Select the order in which the display IDs or IP addresses are arranged",
                             "Select the physical orientation of the displays",
                             "Summary"};
    for (int id = 0; id < 13; ++id) {
        QCOMPARE(page_class(wizard, id), classes.at(id));
        QCOMPARE(wizard.page(id)->title(), titles.at(id));
    }
    QCOMPARE(wizard.page(kIntroPage)->subTitle(),
             QStringLiteral("This wizard will assist in configuring the video wall layout and connections."));
    QCOMPARE(wizard.page(kIDPage)->subTitle(), QStringLiteral(" "));
    QCOMPARE(wizard.page(kSummaryPage)->subTitle(),
             QStringLiteral("Review the following configuration settings and click <b>Finish</b> to create the new "
                            "display layout."));
    auto *intro = wizard.page(kIntroPage)->findChild<QLabel *>();
    QVERIFY(intro->wordWrap());
    QVERIFY(intro->text().endsWith(QStringLiteral("Click <b>Next</b> to continue.")));
    QVERIFY(wizard.summaryPage()->summaryView()->isReadOnly());
    QVERIFY(wizard.page(kSummaryPage)->isFinalPage());
    QVERIFY(!control<QAbstractButton>(wizard, kDisplayOrientationPage, "landscape_radioButton")->icon().isNull());
}

void tst_display_layout_wizard::fields_follow_their_controls_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<int>("page");
    QTest::addColumn<QString>("control");
    QTest::addColumn<QVariant>("start");

    QTest::newRow("rows") << "size.rows" << 2 << "rows_spinBox" << QVariant(1);
    QTest::newRow("columns") << "size.columns" << 2 << "columns_spinBox" << QVariant(1);
    QTest::newRow("rs232") << "connection.rs232" << 3 << "rs232_radioButton" << QVariant(false);
    QTest::newRow("comport") << "connection.comport" << 3 << "com_port_comboBox" << QVariant(0);
    QTest::newRow("separate") << "interconnection.separate_lan" << 4 << "intereconnect_via_separate_LAN_radioButton"
                              << QVariant(false);
    QTest::newRow("lan chain") << "interconnection.lan_daisychain" << 4
                               << "intereconnect_via_LAN_daisychain_radioButton" << QVariant(false);
    QTest::newRow("rs232 chain") << "interconnection.rs232_daisychain" << 4
                                 << "intereconnect_via_RS232_daisychain_radioButton" << QVariant(false);
    QTest::newRow("same id") << "interconnection.all_LAN_have_same_ID" << 4
                             << "intereconnect_via_all_LAN_have_same_ID_checkBox" << QVariant(false);
    QTest::newRow("direct") << "translate.direct" << 5 << "translate_direct_radioButton" << QVariant(false);
    QTest::newRow("translate") << "translate.translate" << 5 << "translate_translate_radioButton" << QVariant(false);
    QTest::newRow("rs232 rs232 chain") << "rs232interconnection.rs232_daisychain" << 6
                                       << "rs232_intereconnect_via_RS232_daisychain_radioButton" << QVariant(false);
    QTest::newRow("rs232 lan chain") << "rs232interconnection.lan_daisychain" << 6
                                     << "rs232_intereconnect_via_LAN_daisychain_radioButton" << QVariant(false);
    QTest::newRow("address") << "connection.ipaddress" << 7 << "ip_address_lineEdit" << QVariant(QString("..."));
    QTest::newRow("id") << "id.first" << 8 << "starting_id_spinBox" << QVariant(1);
    QTest::newRow("top left") << "firstdisplay.top_left" << 9 << "top_left_radioButton" << QVariant(true);
    QTest::newRow("top right") << "firstdisplay.top_right" << 9 << "top_right_radioButton" << QVariant(false);
    QTest::newRow("bottom left") << "firstdisplay.bottom_left" << 9 << "bottom_left_radioButton" << QVariant(false);
    QTest::newRow("bottom right") << "firstdisplay.bottom_right" << 9 << "bottom_right_radioButton"
                                  << QVariant(false);
    QTest::newRow("clockwise") << "direction.clockwise" << 10 << "clockwise_radioButton" << QVariant(true);
    QTest::newRow("zigzag") << "direction.zigzag" << 10 << "zigzag_radioButton" << QVariant(false);
    QTest::newRow("landscape") << "orientation.landscape" << 11 << "landscape_radioButton" << QVariant(true);
    QTest::newRow("portrait") << "orientation.portrait" << 11 << "portrait_radioButton" << QVariant(false);
}

void tst_display_layout_wizard::fields_follow_their_controls()
{
    QFETCH(QString, field);
    QFETCH(int, page);
    QFETCH(QString, control);
    QFETCH(QVariant, start);

    display_layout_wizard_advanced wizard;
    QWidget *bound = wizard.page(page)->findChild<QWidget *>(control);
    QVERIFY(bound);
    QCOMPARE(wizard.field(field).toString(), start.toString());
    if (auto *spin = qobject_cast<QSpinBox *>(bound)) {
        spin->setValue(3);
        QCOMPARE(wizard.field(field).toInt(), 3);
    } else if (auto *combo = qobject_cast<QComboBox *>(bound)) {
        QCOMPARE(combo->count(), 16);
        combo->setCurrentIndex(5);
        QCOMPARE(wizard.field(field).toInt(), 5);
    } else if (auto *edit = qobject_cast<QLineEdit *>(bound)) {
        edit->setText(QStringLiteral("10.1.2.3"));
        QCOMPARE(wizard.field(field).toString(), QStringLiteral("10.1.2.3"));
    } else {
        auto *button = qobject_cast<QAbstractButton *>(bound);
        QVERIFY(button);
        button->setChecked(!start.toBool());
        QCOMPARE(wizard.field(field).toBool(), button->isChecked());
    }
}

void tst_display_layout_wizard::single_display_paths()
{
    {
        display_layout_wizard_advanced wizard;
        wizard.show();
        QCOMPARE(describe_wall(wizard, wall_of(1, 1, separate_lan)), QStringLiteral("0-1-2-3-7-8-11-12"));
        QCOMPARE(wizard.page(kIDPage)->title(), QStringLiteral("Enter the ID of the display."));
        QCOMPARE(wizard.page(kIDPage)->subTitle(), QStringLiteral(" ")); // left as constructed
        QCOMPARE(control<QLabel>(wizard, kIDPage, "label")->text(), QStringLiteral("Display ID"));
        QCOMPARE(control<QLabel>(wizard, kIPAddressSelectPage, "ip_address_label")->text(),
                 QStringLiteral("Enter the IP address of the display connected to the LAN."));
        QVERIFY(wizard.button(QWizard::FinishButton)->isVisible());
    }
    {
        display_layout_wizard_advanced wizard;
        wizard.show();
        wall_description wall = wall_of(1, 1, rs232_chain);
        QCOMPARE(describe_wall(wizard, wall), QStringLiteral("0-1-2-3-8-11-12"));
    }
}

void tst_display_layout_wizard::one_row_skips_the_direction_page()
{
    display_layout_wizard_advanced wizard;
    wizard.show();
    wall_description wall = wall_of(5, 1, separate_lan);
    wall.corner = "top_right_radioButton";
    QCOMPARE(describe_wall(wizard, wall), QStringLiteral("0-1-2-3-4-7-8-9-11-12"));
    QVERIFY(control<QWidget>(wizard, kFirstDisplayPage, "top_right_radioButton")->isEnabled());
    QVERIFY(!control<QWidget>(wizard, kFirstDisplayPage, "bottom_left_radioButton")->isEnabled());
    QVERIFY(!control<QWidget>(wizard, kFirstDisplayPage, "bottom_right_radioButton")->isEnabled());
    QCOMPARE(wizard.answers().start_corner(), 1);
}

void tst_display_layout_wizard::size_page_completes_on_a_valid_size()
{
    display_layout_wizard_advanced wizard;
    wizard.show();
    QVERIFY(next(wizard) && next(wizard));
    QCOMPARE(wizard.currentId(), int(kSizePage));
    auto *columns = control<QSpinBox>(wizard, kSizePage, "columns_spinBox");
    auto *rows = control<QSpinBox>(wizard, kSizePage, "rows_spinBox");
    QVERIFY(wizard.button(QWizard::NextButton)->isEnabled());
    columns->setValue(11);
    rows->setValue(10);
    QVERIFY(!wizard.button(QWizard::NextButton)->isEnabled());
    columns->setValue(30);
    rows->setValue(3);
    QVERIFY(wizard.button(QWizard::NextButton)->isEnabled());
    QVERIFY(next(wizard));
    QCOMPARE(wizard.currentId(), int(kFirstConnectionPage));
}

void tst_display_layout_wizard::model_choice_reaches_the_pages()
{
    display_layout_wizard_advanced wizard;
    wizard.show();
    QVERIFY(next(wizard));
    auto *models = control<QComboBox>(wizard, kSelectModelPage, "model_list_comboBox");
    const int model = models->findText(QStringLiteral("VW-5530Q"));
    QVERIFY(model > 0);
    models->setCurrentIndex(model);
    QCOMPARE(wizard.modelConfigurationType(), 3);
    QCOMPARE(wizard.selectedModelName(), QStringLiteral("VW-5530Q"));
    QCOMPARE(wizard.answers().model_configuration_type, 3);

    // A configuration chosen directly forgets the model.
    choose_configuration(wizard, 1);
    QCOMPARE(wizard.modelConfigurationType(), 1);
    QVERIFY(wizard.selectedModelName().isEmpty());

    // RS-232 only: the first connection page offers no LAN.
    QVERIFY(next(wizard));
    control<QSpinBox>(wizard, kSizePage, "columns_spinBox")->setValue(2);
    QVERIFY(next(wizard));
    QVERIFY(!control<QWidget>(wizard, kFirstConnectionPage, "lan_radioButton")->isEnabled());
    QVERIFY(wizard.field("connection.rs232").toBool());
    QVERIFY(next(wizard));
    QCOMPARE(wizard.currentId(), int(kRS232InterconnectionSelectionPage));
    QVERIFY(wizard.field("rs232interconnection.rs232_daisychain").toBool());
    QVERIFY(!control<QWidget>(wizard, kRS232InterconnectionSelectionPage,
                              "rs232_intereconnect_via_LAN_daisychain_radioButton")
                 ->isEnabled());
    QVERIFY(wizard.button(QWizard::NextButton)->isEnabled());
}

void tst_display_layout_wizard::interconnection_choices_by_configuration()
{
    struct expectation
    {
        int type;
        bool rs232Chain;
        bool lanChain;
        bool separateChecked;
    };
    for (const expectation &e : {expectation{0, true, true, false}, expectation{2, true, false, false},
                                 expectation{3, false, true, false}, expectation{4, false, false, true}}) {
        display_layout_wizard_advanced wizard;
        wizard.show();
        wall_description wall = wall_of(2, 2, separate_lan);
        wall.configuration_type = e.type;
        for (int page = kIntroPage; page < kInterConnectionPage; ++page) {
            answer_page(wizard, wall);
            QVERIFY(next(wizard));
        }
        QCOMPARE(wizard.currentId(), int(kInterConnectionPage));
        const QWizardPage *page = wizard.page(kInterConnectionPage);
        auto enabled = [&](const char *name) { return page->findChild<QWidget *>(name)->isEnabled(); };
        QCOMPARE(enabled("intereconnect_via_RS232_daisychain_radioButton"), e.rs232Chain);
        QCOMPARE(enabled("intereconnect_via_RS232_daisychain_label"), e.rs232Chain);
        QCOMPARE(enabled("intereconnect_via_LAN_daisychain_radioButton"), e.lanChain);
        QCOMPARE(enabled("intereconnect_via_LAN_daisychain_label"), e.lanChain);
        QVERIFY(enabled("intereconnect_via_separate_LAN_radioButton"));
        QCOMPARE(wizard.field("interconnection.separate_lan").toBool(), e.separateChecked);
        QCOMPARE(enabled("intereconnect_via_all_LAN_have_same_ID_checkBox"), e.separateChecked);
        // Complete once a choice is made.
        QCOMPARE(wizard.button(QWizard::NextButton)->isEnabled(), e.separateChecked);
    }
}

void tst_display_layout_wizard::shared_id_box_and_picture()
{
    display_layout_wizard_advanced wizard;
    const QString ids = QStringLiteral(":/images/Resources/display conneciton diagram 02.png");
    const QString oneId = QStringLiteral(":/images/Resources/display conneciton diagram 03.png");
    auto *picture = control<QLabel>(wizard, kInterConnectionPage, "intereconnect_via_separate_LAN_label");
    auto *sameId = control<QAbstractButton>(wizard, kInterConnectionPage,
                                            "intereconnect_via_all_LAN_have_same_ID_checkBox");
    QVERIFY(!sameId->isEnabled());
    QVERIFY(shows_picture(picture, ids));
    click(wizard, kInterConnectionPage, "intereconnect_via_separate_LAN_radioButton");
    QVERIFY(sameId->isEnabled());
    sameId->click();
    QVERIFY(shows_picture(picture, oneId));
    click(wizard, kInterConnectionPage, "intereconnect_via_LAN_daisychain_radioButton");
    QVERIFY(!sameId->isEnabled());
    QVERIFY(shows_picture(picture, oneId)); // the box stays ticked, only disabled
}

// The first pages are narrower than the cabling pictures: the wizard grows
// for them when the page is entered, but stays on the screen.
void tst_display_layout_wizard::cabling_pictures_shown_whole()
{
    display_layout_wizard_advanced wizard;
    wizard.show();
    QVERIFY(QTest::qWaitForWindowExposed(&wizard));
    const wall_description wall = wall_of(2, 2, separate_lan);
    while (wizard.currentId() != kInterConnectionPage) {
        answer_page(wizard, wall);
        QVERIFY(next(wizard));
    }
    for (const char *name : {"intereconnect_via_RS232_daisychain_label", "intereconnect_via_LAN_daisychain_label",
                             "intereconnect_via_separate_LAN_label"}) {
        auto *picture = control<QLabel>(wizard, kInterConnectionPage, name);
        const QSize whole = picture->sizeHint();
        QVERIFY(whole.width() >= 400 && whole.height() >= 90);
        QTRY_VERIFY2(picture->width() >= whole.width() && picture->height() >= whole.height(), name);
    }
    QVERIFY(wizard.screen()->availableGeometry().contains(wizard.frameGeometry()));
}

void tst_display_layout_wizard::back_keeps_or_forgets_choices()
{
    display_layout_wizard_advanced wizard;
    wizard.show();
    wall_description wall = wall_of(3, 2, lan_chain_translated);
    wall.corner = "bottom_right_radioButton";
    wall.portrait = true;
    wall.address = QStringLiteral("10.0.0.5");
    QCOMPARE(describe_wall(wizard, wall), QStringLiteral("0-1-2-3-4-5-7-8-9-10-11-12"));
    QVERIFY(wizard.field("translate.translate").toBool());

    // Back to the first connection page: through the orientation, direction,
    // corner, ID, address, translation and interconnection pages.
    while (wizard.currentId() != kFirstConnectionPage)
        QVERIFY(back(wizard));
    QVERIFY(wizard.field("firstdisplay.bottom_right").toBool());
    QVERIFY(!wizard.field("firstdisplay.top_left").toBool());
    QVERIFY(wizard.field("orientation.portrait").toBool());
    QCOMPARE(wizard.field("connection.ipaddress").toString(), QStringLiteral("10.0.0.5"));
    QCOMPARE(wizard.field("size.columns").toInt(), 3);
    // The chaining pages forgot their choices.
    QVERIFY(!wizard.field("interconnection.lan_daisychain").toBool());
    QVERIFY(!wizard.field("translate.translate").toBool());

    QVERIFY(next(wizard));
    QCOMPARE(wizard.currentId(), int(kInterConnectionPage));
    for (const char *choice : {"intereconnect_via_separate_LAN_radioButton",
                               "intereconnect_via_LAN_daisychain_radioButton",
                               "intereconnect_via_RS232_daisychain_radioButton"})
        QVERIFY2(!control<QAbstractButton>(wizard, kInterConnectionPage, choice)->isChecked(), choice);
    QVERIFY(!wizard.button(QWizard::NextButton)->isEnabled());

    // Choices kept across any number of Back steps survive a new path.
    click(wizard, kInterConnectionPage, "intereconnect_via_separate_LAN_radioButton");
    QVERIFY(next(wizard) && next(wizard) && next(wizard));
    QCOMPARE(wizard.currentId(), int(kFirstDisplayPage));
    QVERIFY(control<QAbstractButton>(wizard, kFirstDisplayPage, "bottom_right_radioButton")->isChecked());
}

void tst_display_layout_wizard::id_page_ranges_and_texts()
{
    display_layout_wizard_advanced wizard;
    // The spin box keeps its form's maximum until the ID page sets the range.
    wizard.setField("id.first", 99);
    QCOMPARE(wizard.field("id.first").toInt(), 98);
    wizard.show();
    wall_description wall = wall_of(10, 10, separate_lan);
    wall.first_id = 50;
    QCOMPARE(describe_wall(wizard, wall), QStringLiteral("0-1-2-3-4-7-8-9-10-11-12"));
    QCOMPARE(wizard.field("id.first").toInt(), 1); // 101 - 100
    auto *spin = control<QSpinBox>(wizard, kIDPage, "starting_id_spinBox");
    QCOMPARE(spin->maximum(), 1);
    QCOMPARE(wizard.page(kIDPage)->title(), QStringLiteral("Specify the lowest ID in the video wall"));
    QCOMPARE(wizard.page(kIDPage)->subTitle(),
             QStringLiteral("IDs will be assigned sequentially for each display in the project."));
    QCOMPARE(control<QLabel>(wizard, kIDPage, "label")->text(), QStringLiteral("Starting ID"));

    display_layout_wizard_advanced shared;
    shared.show();
    wall.link = separate_lan_one_id;
    wall.first_id = 100;
    QCOMPARE(describe_wall(shared, wall), QStringLiteral("0-1-2-3-4-7-8-9-10-11-12"));
    QCOMPARE(control<QSpinBox>(shared, kIDPage, "starting_id_spinBox")->maximum(), 100);
    QCOMPARE(shared.field("id.first").toInt(), 100);
    QCOMPARE(shared.page(kIDPage)->title(), QStringLiteral("Specify the ID used for all displays connected by LAN"));
    QCOMPARE(control<QLabel>(shared, kIDPage, "label")->text(), QStringLiteral("ID for all displays"));
}

void tst_display_layout_wizard::search_button_by_configuration_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<bool>("visible");
    QTest::newRow("all") << 0 << true;
    QTest::newRow("RS-232 and LAN") << 2 << false;
    QTest::newRow("LAN1 and LAN2") << 3 << true;
    QTest::newRow("single LAN port") << 4 << true;
}

void tst_display_layout_wizard::search_button_by_configuration()
{
    QFETCH(int, type);
    QFETCH(bool, visible);
    display_layout_wizard_advanced wizard;
    wizard.show();
    wall_description wall = wall_of(2, 1, separate_lan);
    wall.configuration_type = type;
    while (wizard.currentId() != kIPAddressSelectPage) {
        answer_page(wizard, wall);
        QVERIFY(next(wizard));
    }
    QCOMPARE(control<QWidget>(wizard, kIPAddressSelectPage, "monitor_lan_search_pushButton")->isVisible(), visible);
    QCOMPARE(control<QLabel>(wizard, kIPAddressSelectPage, "ip_address_label")->text(),
             QStringLiteral("Enter the lowest IP address of the displays connected to the LAN. Sequential IP "
                            "addresses will be assigned."));
    QVERIFY(!wizard.button(QWizard::NextButton)->isEnabled());
    control<QLineEdit>(wizard, kIPAddressSelectPage, "ip_address_lineEdit")->setText(QStringLiteral("10.1.2."));
    QVERIFY(!wizard.button(QWizard::NextButton)->isEnabled());
    control<QLineEdit>(wizard, kIPAddressSelectPage, "ip_address_lineEdit")->setText(QStringLiteral("10.1.2.3"));
    QVERIFY(wizard.button(QWizard::NextButton)->isEnabled());
}

void tst_display_layout_wizard::corner_and_direction_pages()
{
    display_layout_wizard_advanced wizard;
    wizard.show();
    wall_description wall = wall_of(3, 2, lan_chain_direct);
    wall.corner = "bottom_left_radioButton";
    while (wizard.currentId() != kLayoutDirectionPage) {
        answer_page(wizard, wall);
        QVERIFY(next(wizard));
    }
    QCOMPARE(wizard.page(kFirstDisplayPage)->subTitle(),
             QStringLiteral("Select the location of the first display in the LAN daisy chain in the video wall."));
    QCOMPARE(wizard.page(kLayoutDirectionPage)->subTitle(),
             QStringLiteral("When using LAN daisy chains and the Auto ID function, the order of the physical cable "
                            "connections determines the order of Monitor IDs."));
    click(wizard, kLayoutDirectionPage, "zigzag_radioButton");

    // The page's diagram numbers the wall from the chosen corner.
    auto *shown = control<KQ_display_array_size_diagram_widget>(wizard, kLayoutDirectionPage,
                                                                "display_array_size_diagram_widget");
    QVERIFY(shown);
    KQ_display_array_size_diagram_widget expected;
    expected.setFont(shown->font());
    expected.showLayoutDirection(true);
    expected.setLimitSizeForText(true);
    expected.setRows(2);
    expected.setColumns(3);
    expected.setStartingCorner(2);
    expected.setLayoutDirection(true);
    expected.setLineOrder(true);
    QCOMPARE(shown->minimumSizeHint(), expected.minimumSizeHint());
    shown->resize(300, 200);
    expected.resize(300, 200);
    QCOMPARE(widget_images::paint(*shown), widget_images::paint(expected));
}

void tst_display_layout_wizard::summary_hands_out_ids_from_one_for_auto_id()
{
    display_layout_wizard_advanced wizard;
    wizard.show();
    wall_description wall = wall_of(2, 2, lan_chain_direct);
    wall.first_id = 40;
    QCOMPARE(describe_wall(wizard, wall), QStringLiteral("0-1-2-3-4-5-7-8-9-10-11-12"));
    QCOMPARE(wizard.field("id.first").toInt(), 1);
    const QList<display_layout_item> &listed = wizard.summaryPage()->layoutList();
    QCOMPARE(listed.size(), 4);
    QCOMPARE(listed.first().monitor_id, 1);
    QCOMPARE(listed.last().connection_address, QStringLiteral("192.168.0.13"));
    const QString shown = wizard.summaryPage()->summaryView()->toHtml();
    QVERIFY(shown.contains(QStringLiteral("#4 ID 4")));
    QVERIFY(!shown.contains(QStringLiteral("This summary generated by")));
    // Visited again, the ID page shows the 1 the summary set.
    while (wizard.currentId() != kIDPage)
        QVERIFY(back(wizard));
    QCOMPARE(control<QSpinBox>(wizard, kIDPage, "starting_id_spinBox")->value(), 1);

    // Separate links keep the ID entered.
    display_layout_wizard_advanced separate;
    separate.show();
    wall.link = separate_lan;
    describe_wall(separate, wall);
    QCOMPARE(separate.field("id.first").toInt(), 40);
    QCOMPARE(separate.summaryPage()->layoutList().first().monitor_id, 40);
}

void tst_display_layout_wizard::summary_buttons_only_on_the_summary_page()
{
    display_layout_wizard_advanced wizard;
    wizard.show();
    QVERIFY(!wizard.button(QWizard::CustomButton1)->isVisible());
    describe_wall(wizard, wall_of(2, 1, separate_lan));
    QAbstractButton *print = wizard.button(QWizard::CustomButton1);
    QAbstractButton *pdf = wizard.button(QWizard::CustomButton2);
    QVERIFY(print->isVisible() && pdf->isVisible());
    QCOMPARE(print->text(), QStringLiteral("&Print"));
    QCOMPARE(pdf->text(), QStringLiteral("&Save as PDF"));

    QVERIFY(back(wizard));
    QVERIFY(!print->isVisible() && !pdf->isVisible());
    // A hidden custom button that is still pressed somehow prints nothing.
    {
        shown_windows<QPrintPreviewDialog> previews;
        print->click();
        pdf->click();
        QCoreApplication::processEvents();
        QCOMPARE(previews.count(), 0);
    }
    bool previewed = false;

    // Back on the summary page they print again.
    QVERIFY(next(wizard));
    when_modal_opens<QPrintPreviewDialog>([&](QPrintPreviewDialog &preview) {
        previewed = true;
        // Printing proper: no PDF file proposed (a machine without printers
        // still prints to PDF, asking for the file).
        QVERIFY(preview.printer()->outputFileName().isEmpty());
    });
    print->click();
    QVERIFY(previewed);
}

void tst_display_layout_wizard::pdf_preview_font_and_print_out()
{
    headless_controller controller;
    CPreferences &preferences = *controller.controller().getPreferences();
    QTemporaryDir output;
    QVERIFY(output.isValid());
    const QString file = output.filePath(QStringLiteral("summary.pdf"));

    display_layout_wizard_advanced wizard;
    wizard.show();
    describe_wall(wizard, wall_of(3, 2, separate_lan));
    SummaryPage *page = wizard.summaryPage();

    const QStringList families = QFontDatabase().families();
    QVERIFY(!families.isEmpty());
    QFont chosen(families.last(), 17);

    bool previewed = false;
    when_modal_opens<QPrintPreviewDialog>([&](QPrintPreviewDialog &preview) {
        previewed = true;
        QPrinter *printer = preview.printer();
        QCOMPARE(printer->outputFormat(), QPrinter::PdfFormat);
        QCOMPARE(printer->outputFileName(),
                 common_documents_folder() + QStringLiteral("/Video wall layout summary.pdf"));
        QCOMPARE(printer->pageLayout().orientation(), QPageLayout::Landscape);
        QVERIFY(preview.windowFlags() & Qt::WindowMinMaxButtonsHint);
        QAction *font = nullptr;
        for (QAction *action : preview.findChild<QToolBar *>()->actions()) {
            if (action->text() == QStringLiteral("Font"))
                font = action;
        }
        QVERIFY(font);
        QVERIFY(!font->icon().isNull());

        // The operator picks a font; the preferences keep it.
        when_modal_opens<QFontDialog>([&](QFontDialog &dialog) {
            dialog.setCurrentFont(chosen);
            dialog.accept();
        });
        font->trigger();
        QCOMPARE(preferences.GetFont().family(), chosen.family());
        QCOMPARE(preferences.GetFont().pointSize(), 17);
        QCOMPARE(page->summaryDocument()->defaultFont().family(), chosen.family());

        // What the preview's print action writes.
        printer->setOutputFileName(file);
        page->printPreview(printer);
    });
    wizard.button(QWizard::CustomButton2)->click();
    QVERIFY(previewed);

    const QString text = run_tool(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), file, QStringLiteral("-")});
    QVERIFY2(text.contains(QStringLiteral("3 x 2 Video Wall Configuration Summary")), qPrintable(text));
    for (int n = 1; n <= 6; ++n)
        QVERIFY2(text.contains(QStringLiteral("#%1 ID %1").arg(n)), qPrintable(text));
    QVERIFY(text.contains(QStringLiteral("7 Cat-5 or higher LAN cable(s)")));
    QVERIFY(text.contains(QStringLiteral("7 available LAN hub ports")));
    QVERIFY(text.contains(QStringLiteral("This summary generated by Tessaline")));
    const QString info = run_tool(QStringLiteral("pdfinfo"), {file});
    const QRegularExpressionMatch size =
        QRegularExpression(QStringLiteral("Page size:\\s+([0-9.]+) x ([0-9.]+) pts")).match(info);
    QVERIFY2(size.hasMatch(), qPrintable(info));
    QVERIFY2(size.captured(1).toDouble() > size.captured(2).toDouble(), qPrintable(info));

    // The next print-out starts with the font chosen.
    previewed = false;
    when_modal_opens<QPrintPreviewDialog>([&](QPrintPreviewDialog &preview) {
        previewed = true;
        QVERIFY(preview.printer()->outputFileName().isEmpty());
        QCOMPARE(page->summaryDocument()->defaultFont().family(), chosen.family());
        QCOMPARE(page->summaryDocument()->defaultFont().pointSize(), 17);
    });
    wizard.button(QWizard::CustomButton1)->click();
    QVERIFY(previewed);
}

void tst_display_layout_wizard::command_on_an_empty_layout()
{
    layout_manager layout(nullptr, nullptr);
    QString presets;
    when_wizard_opens([&](display_layout_wizard_advanced &wizard) {
        presets = QStringLiteral("%1 x %2 from %3")
                      .arg(wizard.field("size.columns").toInt())
                      .arg(wizard.field("size.rows").toInt())
                      .arg(wizard.field("id.first").toInt());
        QCOMPARE(describe_wall(wizard, wall_of(1, 1, separate_lan)), QStringLiteral("0-1-2-3-7-8-11-12"));
        QVERIFY(finish(wizard));
    });
    QCOMPARE(run_layout_wizard(layout), int(QDialog::Accepted));
    QCOMPARE(presets, QStringLiteral("1 x 1 from 1"));
    display_layout_item item;
    QCOMPARE(layout.item_count(), 1);
    QCOMPARE(layout.get_item(0, item), 0);
    QCOMPARE(item.connection_address, QStringLiteral("192.168.0.10"));
    QCOMPARE(item.monitor_id, 1);
}

QTEST_MAIN(tst_display_layout_wizard)
#include "tst_display_layout_wizard.moc"

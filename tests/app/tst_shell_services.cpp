#include "app/services/backlight_type.h"
#include "app/services/english_locale.h"
#include "app/services/firmware_versions.h"
#include "app/services/folders.h"
#include "app/services/high_dpi_image.h"
#include "app/services/library_loader.h"
#include "app/services/model_table.h"
#include "app/services/preferences.h"
#include "app/services/serial_number_date.h"
#include "app/services/serial_ports.h"
#include "app/services/shell_registry.h"
#include "app/services/thread_sleep.h"
#include "app/services/version_text.h"
#include "colour/luminance_units.h"
#include "display_protocol/wait_service.h"
#include "resources/tessaline_resources.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>
#include <QtTest>

#include <cmath>
#include <limits>

namespace {

bool write_text(const QString &path, const QString &text)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text))
        return false;
    QTextStream(&file) << text;
    return true;
}

// "<year>,<month>" of |today| moved by |months|.
QString release_month(const QDate &today, int months)
{
    const QDate when = QDate(today.year(), today.month(), 1).addMonths(months);
    return QStringLiteral("%1,%2").arg(when.year()).arg(when.month());
}

} // namespace

class tst_shell_services : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void version_text_names_version_and_build();
    void english_locale_has_no_country();
    void com_port_names();
    void serial_ports_of_the_machine();

    void firmware_comparison_data();
    void firmware_comparison();
    void minimum_firmware_per_model();

    void model_list_takes_released_listed_models();
    void model_entries_take_every_released_model();
    void model_table_without_lines_or_file();

    void manufacture_date_data();
    void manufacture_date();
    void manufacture_date_relative_to_today();

    void folders_below_documents();
    void documents_folder_follows_user_dirs();

    void luminance_text_in_operator_units();

    void backlight_without_preferences();
    void backlight_by_preference_and_model_list_data();
    void backlight_by_preference_and_model_list();

    void high_dpi_names_data();
    void high_dpi_names();

    void library_functions_bind_in_order();
    void missing_library_leaves_no_handle();

    void sleep_goes_through_the_wait_service();

private:
    QTemporaryDir m_home;
};

void tst_shell_services::initTestCase()
{
    QLocale::setDefault(QLocale::c());
    tessaline_init_resources();
    QVERIFY(m_home.isValid());
    qputenv("HOME", m_home.path().toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", (m_home.path() + QStringLiteral("/.config")).toLocal8Bit());
}

void tst_shell_services::init()
{
    QDir(m_home.path()).removeRecursively();
    QDir().mkpath(m_home.path());
    QVERIFY(!shell_registry::preferences());
}

void tst_shell_services::version_text_names_version_and_build()
{
    QCOMPARE(version_text(), QStringLiteral("Version 2.1.20 (Build 210208)"));
}

void tst_shell_services::english_locale_has_no_country()
{
    QCOMPARE(english_locale(), QLocale(QLocale::English, QLocale::AnyCountry));
    QCOMPARE(english_locale().language(), QLocale::English);
}

void tst_shell_services::com_port_names()
{
    QStringList names{QStringLiteral("stale")};
    QCOMPARE(list_com_port_names(names), 16);
    QCOMPARE(names.size(), 16);
    QCOMPARE(names.first(), QStringLiteral("COM1"));
    QCOMPARE(names.last(), QStringLiteral("COM16"));
    QCOMPARE(names.indexOf(QStringLiteral("COM9")), 8);
}

void tst_shell_services::serial_ports_of_the_machine()
{
    QList<serial_port_record> ports{serial_port_record()};
    const int count = enumerate_serial_ports(ports);
    QCOMPARE(count, ports.size());
    for (const serial_port_record &port : ports) {
        QVERIFY(!port.portName.isEmpty());
        QVERIFY(port.physName.endsWith(port.portName));
    }
}

void tst_shell_services::firmware_comparison_data()
{
    QTest::addColumn<QString>("current");
    QTest::addColumn<QString>("minimum");
    QTest::addColumn<bool>("atLeast");
    const struct {
        const char *current, *minimum;
        bool atLeast;
    } rows[] = {
        {"2.05B", "2.5", true},      // letters dropped from the second part
        {"2.04b", "2.5", false},     // lower case is raised before dropping
        {"1.9", "2.0", false},
        {"3.0", "2.9", true},
        {"1.10", "1.9", true},       // parts are numbers, not text
        {"1.016", "1.017", false},
        {"1.017", "1.017", true},
        {"1.2.3", "1.2", true},
        {"1.2", "1.2.1", false},     // a missing part counts as 0
        {"1.2", "1.2.0.0", true},
        {"1.1.0.9", "1.1.0.9", true},
        {"1.1.0.10", "1.1.0.9", true},
        {"1.1.0.8", "1.1.0.9", false},
        {"1.0.18.0", "1.0.18.0", true},
        {"1.0.9.9", "1.0.18.0", false},
        {"1..2.0.0", "1.2.0.0", true}, // empty parts are dropped
        {"V1.2.0.0", "1.2.0.0", false}, // a part that is no number counts as 0
        {"", "1.2.0.0", true},
        {"...", "1.017", true},
    };
    for (const auto &row : rows)
        QTest::addRow("%s vs %s", row.current, row.minimum)
            << QString::fromLatin1(row.current) << QString::fromLatin1(row.minimum) << row.atLeast;
}

void tst_shell_services::firmware_comparison()
{
    QFETCH(QString, current);
    QFETCH(QString, minimum);
    QFETCH(bool, atLeast);
    QCOMPARE(firmware_version_at_least(current, minimum), atLeast);
}

void tst_shell_services::minimum_firmware_per_model()
{
    QString minimum = QStringLiteral("untouched");
    QVERIFY(minimum_firmware_for_model(QStringLiteral("NOT-A-MODEL"), QStringLiteral("0.1"), minimum));
    QCOMPARE(minimum, QStringLiteral("untouched"));

    QVERIFY(!minimum_firmware_for_model(QStringLiteral("vw-4610c"), QStringLiteral("1.1.0.8"), minimum));
    QCOMPARE(minimum, QStringLiteral("1.1.0.9"));
    QVERIFY(minimum_firmware_for_model(QStringLiteral("VW-4620L"), QStringLiteral("1.017B"), minimum));
    QCOMPARE(minimum, QStringLiteral("1.017"));
    QVERIFY(minimum_firmware_for_model(QStringLiteral("VW-5530Q"), QStringLiteral("1.2.0.0"), minimum));
    QCOMPARE(minimum, QStringLiteral("1.2.0.0"));
    QVERIFY(!minimum_firmware_for_model(QStringLiteral("VW-6540QE"), QStringLiteral("1.0.17.9"), minimum));
    QCOMPARE(minimum, QStringLiteral("1.0.18.0"));
}

void tst_shell_services::model_list_takes_released_listed_models()
{
    const QDate today = QDate::currentDate();
    const QString path = m_home.path() + QStringLiteral("/models.txt");
    QVERIFY(write_text(path, QStringLiteral(
        "; comment, with, five, fields, here\n"
        "\n"
        "  \"Old\",1,0,%1  \n"
        "\"Quoted\"\"Name\",2,0,%2\n"
        "\"This month\",1,0,%3\n"
        "\"Next month\",1,0,%4\n"
        "\"Next year\",1,0,%5\n"
        "\"Listed elsewhere\",55,1,2019,6\n"
        "\"Short\",1,0,2019\n"
        "NotANumber,x,y,2001,1\n"
        "\"Trailing\",1,0,2001,1,extra\n")
        .arg(release_month(today, -120), release_month(today, -1), release_month(today, 0),
             release_month(today, 1), release_month(today, 12))));
    QStringList models{QStringLiteral("stale")};
    QCOMPARE(read_model_list(path, models), 0);
    QCOMPARE(models, (QStringList{QStringLiteral("Old"), QStringLiteral("QuotedName"),
                                  QStringLiteral("This month"), QStringLiteral("NotANumber"),
                                  QStringLiteral("Trailing")}));
}

void tst_shell_services::model_entries_take_every_released_model()
{
    const QDate today = QDate::currentDate();
    const QString path = m_home.path() + QStringLiteral("/models.txt");
    QVERIFY(write_text(path, QStringLiteral("\"Listed elsewhere\", 55, 1, 2019, 6\n"
                                            "\"Plain\",3,0,%1\n"
                                            "\"Future\",4,0,%2\n")
                                 .arg(release_month(today, 0), release_month(today, 1))));
    QList<QPair<QString, int>> entries{qMakePair(QStringLiteral("stale"), 0)};
    QCOMPARE(read_models_file_entries(path, entries), qint8(1));
    QCOMPARE(entries, (QList<QPair<QString, int>>{qMakePair(QStringLiteral("Listed elsewhere"), 55),
                                                  qMakePair(QStringLiteral("Plain"), 3)}));
    QStringList models;
    read_model_list(path, models);
    QCOMPARE(models, QStringList{QStringLiteral("Plain")});
}

void tst_shell_services::model_table_without_lines_or_file()
{
    const QString empty = m_home.path() + QStringLiteral("/empty.txt");
    QVERIFY(write_text(empty, QStringLiteral("\n   \n\n")));
    QList<QPair<QString, int>> entries;
    QCOMPARE(read_models_file_entries(empty, entries), qint8(0));
    QStringList models;
    QCOMPARE(read_model_list(empty, models), 0);
    QVERIFY(models.isEmpty());

    const QString missing = m_home.path() + QStringLiteral("/missing.txt");
    QCOMPARE(read_models_file_entries(missing, entries), qint8(-1));
    QCOMPARE(read_model_list(missing, models), -1);
}

void tst_shell_services::manufacture_date_data()
{
    QTest::addColumn<QString>("serial");
    QTest::addColumn<QDate>("today");
    QTest::addColumn<QDate>("made");
    const QDate march2024(2024, 3, 15);
    QTest::newRow("December last year") << QStringLiteral("3Z0012345") << march2024 << QDate(2023, 12, 1);
    QTest::newRow("October, previous decade") << QStringLiteral("5X0012345") << march2024 << QDate(2015, 10, 1);
    QTest::newRow("this month") << QStringLiteral("430012345") << march2024 << QDate(2024, 3, 1);
    QTest::newRow("next month is ten years back") << QStringLiteral("440012345") << march2024 << QDate(2014, 4, 1);
    QTest::newRow("lower case month, ten characters") << QStringLiteral("0y00123456") << march2024
                                                      << QDate(2020, 11, 1);
    QTest::newRow("month 0") << QStringLiteral("400012345") << march2024 << QDate();
    QTest::newRow("month letter") << QStringLiteral("4A0012345") << march2024 << QDate();
    QTest::newRow("year not a digit") << QStringLiteral("A10012345") << march2024 << QDate();
    QTest::newRow("8 characters") << QStringLiteral("41001234") << march2024 << QDate();
    QTest::newRow("11 characters") << QStringLiteral("41001234567") << march2024 << QDate();
    QTest::newRow("empty") << QString() << march2024 << QDate();
}

void tst_shell_services::manufacture_date()
{
    QFETCH(QString, serial);
    QFETCH(QDate, today);
    QFETCH(QDate, made);
    QCOMPARE(serial_number_manufacture_date(serial, today), made);
}

void tst_shell_services::manufacture_date_relative_to_today()
{
    const QDate today = QDate::currentDate();
    const QChar monthCodes[] = {'1', '2', '3', '4', '5', '6', '7', '8', '9', 'X', 'Y', 'Z'};
    for (int month = 1; month <= 12; ++month) {
        for (int digit = 0; digit <= 9; ++digit) {
            const QString serial = QString::number(digit) + monthCodes[month - 1] + QStringLiteral("0012345");
            const QDate made = serial_number_manufacture_date(serial);
            QVERIFY(made.isValid());
            QCOMPARE(made.month(), month);
            QCOMPARE(made.day(), 1);
            QCOMPARE(made.year() % 10, digit);
            // Never in the future, and within the last ten years.
            QVERIFY(made <= today);
            QVERIFY(made > today.addYears(-10).addMonths(-1));
        }
    }
}

void tst_shell_services::folders_below_documents()
{
    const QString data = m_home.path() + QStringLiteral("/Documents/Varkel/Tessaline");
    QCOMPARE(common_documents_folder(), m_home.path() + QStringLiteral("/Documents"));
    QCOMPARE(application_data_folder(), data);
    QCOMPARE(projects_folder(false), QString());
    QCOMPARE(backups_folder(false), QString());
    QCOMPARE(projects_folder(true), data + QStringLiteral("/Projects/"));
    QVERIFY(QFileInfo(data + QStringLiteral("/Projects")).isDir());
    QCOMPARE(projects_folder(false), data + QStringLiteral("/Projects/"));
    QCOMPARE(backups_folder(true), data + QStringLiteral("/Projects/backups/"));
    QVERIFY(QFileInfo(data + QStringLiteral("/Projects/backups")).isDir());

    // A file where the folder belongs cannot become one.
    QDir(data + QStringLiteral("/Projects")).removeRecursively();
    QVERIFY(write_text(data + QStringLiteral("/Projects"), QStringLiteral("in the way")));
    QCOMPARE(projects_folder(true), QString());
    QCOMPARE(backups_folder(true), QString());
}

void tst_shell_services::documents_folder_follows_user_dirs()
{
    QDir().mkpath(m_home.path() + QStringLiteral("/.config"));
    QVERIFY(write_text(m_home.path() + QStringLiteral("/.config/user-dirs.dirs"),
                       QStringLiteral("XDG_DOCUMENTS_DIR=\"$HOME/Papers\"\n")));
    QCOMPARE(common_documents_folder(), m_home.path() + QStringLiteral("/Papers"));
    QCOMPARE(application_data_folder(), m_home.path() + QStringLiteral("/Papers/Varkel/Tessaline"));
}

void tst_shell_services::luminance_text_in_operator_units()
{
    QCOMPARE(to_display_luminance_text(342.6, -1, true), QString::fromUtf8("343 cd/m\u00B2"));
    CPreferences preferences;
    preferences.SetLuminanceUnits(1);
    QCOMPARE(to_display_luminance_text(342.6, -1, false), QStringLiteral("100"));
    QCOMPARE(to_display_luminance_text(342.6, -1, true), QStringLiteral("100 fL"));
    // Tolerance: one part in 1e12 of the value, far below any shown digit.
    QVERIFY(std::abs(display_units_to_cd_m2(100.0) - 342.6) < 342.6e-12);
    QCOMPARE(to_display_luminance_text(0.0, 2, false), QStringLiteral("0.00"));
    preferences.SetLuminanceUnits(0);
    QCOMPARE(to_display_luminance_text(0.35, -1, false), QStringLiteral("0.35"));
    QCOMPARE(to_display_luminance_text(std::numeric_limits<double>::infinity(), -1, false),
             QStringLiteral("inf"));
}

void tst_shell_services::backlight_without_preferences()
{
    QCOMPARE(backlight_type_for_model(QStringLiteral("VW-4610C")), 0);
    QCOMPARE(backlight_type_for_model(QStringLiteral("anything")), 0);
}

void tst_shell_services::backlight_by_preference_and_model_list_data()
{
    QTest::addColumn<int>("preferred");
    QTest::addColumn<QString>("model");
    QTest::addColumn<int>("code");
    QTest::newRow("CCFL") << 1 << QStringLiteral("VW-5540QE") << 0;
    QTest::newRow("LED") << 2 << QStringLiteral("VW-4610C") << 3;
    QTest::newRow("listed model") << 0 << QStringLiteral("VW-4610C") << 0;
    QTest::newRow("listed, other case") << 0 << QStringLiteral("vw-4610c") << 0;
    QTest::newRow("unlisted model") << 0 << QStringLiteral("VW-5540QE") << 3;
}

void tst_shell_services::backlight_by_preference_and_model_list()
{
    QFETCH(int, preferred);
    QFETCH(QString, model);
    QFETCH(int, code);
    const QStringList models{QStringLiteral("VW-4610C"), QStringLiteral("VW-5510C")};
    shell_registry::register_model_list(&models);
    CPreferences preferences;
    preferences.SetBacklightType(quint8(preferred));
    const int result = backlight_type_for_model(model);
    shell_registry::register_model_list(nullptr);
    QCOMPARE(result, code);
}

void tst_shell_services::high_dpi_names_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("ratio");
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<int>("scale");
    const QString icon = QStringLiteral(":/images/Resources/varkel icon.png");
    const QString icon2x = QStringLiteral(":/images/Resources/varkel icon@2x.png");
    QTest::newRow("ratio 1") << icon << 1 << icon << 1;
    QTest::newRow("ratio 0") << icon << 0 << icon << 1;
    QTest::newRow("ratio 2") << icon << 2 << icon2x << 2;
    QTest::newRow("ratio 3") << icon << 3 << icon2x << 2;
    QTest::newRow("upper-case extension") << QStringLiteral(":/images/Resources/varkel icon.PNG") << 2 << icon2x << 2;
    const QString splash = QStringLiteral(":/images/Resources/splashkq.PNG");
    QTest::newRow("no double picture") << splash << 2 << splash << 1;
    const QString missing = QStringLiteral(":/images/Resources/no such picture.png");
    QTest::newRow("missing picture") << missing << 2 << missing << 1;
}

void tst_shell_services::high_dpi_names()
{
    QFETCH(QString, name);
    QFETCH(int, ratio);
    QFETCH(QString, chosen);
    QFETCH(int, scale);
    int actualScale = -1;
    QCOMPARE(high_dpi_image_name(name, ratio, &actualScale), chosen);
    QCOMPARE(actualScale, scale);
}

void tst_shell_services::library_functions_bind_in_order()
{
    double (*cosine)(double) = nullptr;
    double (*root)(double) = nullptr;
    void *handle = nullptr;
    QVERIFY(load_library_functions(&handle, QStringLiteral("libm.so.6"),
                                   {library_symbol(cosine, "cos"), library_symbol(root, "sqrt")}));
    QVERIFY(handle);
    // Exact: both are correctly rounded for these arguments.
    QCOMPARE(cosine(0.0), 1.0);
    QCOMPARE(root(16.0), 4.0);

    double (*sine)(double) = nullptr;
    double (*missing)(double) = nullptr;
    double (*never)(double) = nullptr;
    void *second = nullptr;
    QVERIFY(!load_library_functions(&second, QStringLiteral("libm.so.6"),
                                    {library_symbol(sine, "sin"), library_symbol(missing, "tessaline_no_such_function"),
                                     library_symbol(never, "tan")}));
    QVERIFY(second);
    QVERIFY(sine);
    QVERIFY(!missing);
    QVERIFY(!never);
}

void tst_shell_services::missing_library_leaves_no_handle()
{
    double (*function)(double) = nullptr;
    void *handle = reinterpret_cast<void *>(1);
    QVERIFY(!load_library_functions(&handle, QStringLiteral("libtessaline-no-such-library.so"),
                                    {library_symbol(function, "cos")}));
    QVERIFY(!handle);
    QVERIFY(!function);
}

void tst_shell_services::sleep_goes_through_the_wait_service()
{
    wait_service::set_time_scale(0.001);
    QElapsedTimer clock;
    clock.start();
    sleep_ms(60000);
    const qint64 elapsed = clock.elapsed();
    wait_service::set_time_scale(1.0);
    // A minute scaled to 60 ms; generous headroom for a loaded machine.
    QVERIFY(elapsed < 5000);
}

QTEST_GUILESS_MAIN(tst_shell_services)
#include "tst_shell_services.moc"

#include "app/services/string_resource.h"
#include "expected_string_rows.h"

#include <QCoreApplication>
#include <QRegularExpression>
#include <QTranslator>
#include <QtTest>

namespace {

// Answers every lookup with its disambiguation, so a text's key shows.
class key_echo_translator : public QTranslator
{
public:
    bool isEmpty() const override { return false; }
    QString translate(const char *, const char *, const char *disambiguation, int) const override
    {
        return disambiguation ? QString::fromUtf8(disambiguation) : QString();
    }
};

bool takes_degree_sign(int id)
{
    return id >= 1703 && id <= 1707;
}

} // namespace

class tst_string_resource : public QObject
{
    Q_OBJECT

private slots:
    void every_row_data();
    void every_row();
    void every_row_key_data();
    void every_row_key();
    void out_parameter_form();
    void preferences_file_name_is_never_translated();
    void unknown_ids_data();
    void unknown_ids();
    void fan_offsets_carry_the_degree_sign();
    void open_port_rows_share_key_and_text();
};

void tst_string_resource::every_row_data()
{
    QTest::addColumn<int>("id");
    QTest::addColumn<QString>("text");
    for (const expected_string_row &row : kExpectedStringRows) {
        QString text = QString::fromUtf8(row.text);
        if (takes_degree_sign(row.id))
            text = text.arg(QChar(0x00B0));
        QTest::addRow("%d", row.id) << row.id << text;
    }
}

void tst_string_resource::every_row()
{
    QFETCH(int, id);
    QFETCH(QString, text);
    QCOMPARE(string_resource(id), text);
}

void tst_string_resource::every_row_key_data()
{
    QTest::addColumn<int>("id");
    QTest::addColumn<QString>("key");
    for (const expected_string_row &row : kExpectedStringRows)
        QTest::addRow("%d", row.id) << row.id << QString::fromUtf8(row.key);
}

void tst_string_resource::every_row_key()
{
    QFETCH(int, id);
    QFETCH(QString, key);
    key_echo_translator translator;
    QVERIFY(QCoreApplication::installTranslator(&translator));
    // The key has no place for the degree sign.
    if (takes_degree_sign(id))
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("^QString::arg: Argument missing")));
    const QString echoed = string_resource(id);
    QCoreApplication::removeTranslator(&translator);
    QCOMPARE(echoed, key);
}

void tst_string_resource::out_parameter_form()
{
    QString text = QStringLiteral("stale");
    string_resource(text, 4);
    QCOMPARE(text, QStringLiteral("Open Project File"));
    string_resource(text, 6);
    QCOMPARE(text, QStringLiteral("Missing message text"));
}

void tst_string_resource::preferences_file_name_is_never_translated()
{
    key_echo_translator translator;
    QCoreApplication::installTranslator(&translator);
    const QString name = string_resource(12);
    QCoreApplication::removeTranslator(&translator);
    QCOMPARE(name, QStringLiteral("preferences.dat"));
}

void tst_string_resource::unknown_ids_data()
{
    QTest::addColumn<int>("id");
    for (int id : {0, -1, 6, 13, 380, 999, 2202, 2999, 3004, 100000})
        QTest::addRow("%d", id) << id;
}

void tst_string_resource::unknown_ids()
{
    QFETCH(int, id);
    QCOMPARE(string_resource(id), QStringLiteral("Missing message text"));
}

void tst_string_resource::fan_offsets_carry_the_degree_sign()
{
    QCOMPARE(string_resource(1703), QString::fromUtf8("Auto (-2\u00B0 offset)"));
    QCOMPARE(string_resource(1707), QString::fromUtf8("Auto (-10\u00B0 offset)"));
}

void tst_string_resource::open_port_rows_share_key_and_text()
{
    QCOMPARE(string_resource(175), string_resource(176));
    key_echo_translator translator;
    QCoreApplication::installTranslator(&translator);
    const QString key175 = string_resource(175);
    const QString key176 = string_resource(176);
    QCoreApplication::removeTranslator(&translator);
    QCOMPARE(key175, key176);
}

QTEST_GUILESS_MAIN(tst_string_resource)
#include "tst_string_resource.moc"

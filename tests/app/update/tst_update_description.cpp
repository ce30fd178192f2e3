#include "app/update/update_check_result.h"
#include "app/update/update_description.h"
#include "app/update/update_init_info.h"

#include <QtTest>

Q_DECLARE_METATYPE(update_check_result)

namespace {

constexpr qint32 kCurrentBuild = 210208;

update_init_info test_info()
{
    update_init_info info;
    info.current_build = kCurrentBuild;
    info.up_to_date_message = QStringLiteral("up to date");
    info.error_message = QStringLiteral("unreachable%1");
    info.update_message = QStringLiteral("v=%1 url=%2 readme=%3 [%4]");
    info.change_section = QStringLiteral("<changes>%1</changes>");
    return info;
}

// Whether |text| gives a result, and which.
bool result_of(const QByteArray &text, update_check_result *result)
{
    return update_result_from_description(parse_update_description(text), test_info(), result);
}

QByteArray windows_section(const QByteArray &lines)
{
    return "PLATFORM=" + QByteArray(kUpdatePlatformToken) + "\n" + lines;
}

QString change_lines(int first, int last)
{
    QString lines;
    for (int i = first; i <= last; ++i)
        lines += QStringLiteral("%1. change %1<br>").arg(i);
    return lines;
}

} // namespace

class tst_update_description : public QObject
{
    Q_OBJECT

private slots:
    void result_by_build_and_section_data();
    void result_by_build_and_section();
    void update_message_names_version_addresses_and_changes();
    void change_list_stops_at_fifteen_newer_changes();
    void no_newer_change_gives_empty_section();
    void best_result_data();
    void best_result();
    void answer_values_stay_text_data();
    void answer_values_stay_text();
};

void tst_update_description::answer_values_stay_text_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QString>("message");

    const QString zero = QStringLiteral("&lt;img src=&quot;/dev/zero&quot;&gt;");
    QTest::newRow("picture as version") << QByteArray("VERSION=<img src=\"/dev/zero\">")
                                        << QStringLiteral("v=%1 get. read. []").arg(zero);
    QTest::newRow("picture as change") << QByteArray("CHANGES=999999=<img src=\"/dev/zero\">")
                                       << QStringLiteral("v= get. read. [<changes>1. %1<br></changes>]").arg(zero);
    QTest::newRow("markup and entities") << QByteArray("VERSION=<b>2</b> &amp; <a href=\"file:///x\">y</a>")
                                         << QStringLiteral("v=&lt;b&gt;2&lt;/b&gt; &amp;amp; &lt;a "
                                                           "href=&quot;file:///x&quot;&gt;y&lt;/a&gt; get. read. []");
    QTest::newRow("https address") << QByteArray("URL=https://d.example/setup.exe?a=b&c=d")
                                   << QStringLiteral("v= <a href=\"https://d.example/setup.exe?a=b&amp;c=d\">get</a>. "
                                                     "read. []");
    QTest::newRow("http read-me in capitals") << QByteArray("README=HTTP://D.Example/read%20me.html")
                                              << QStringLiteral("v= get. <A HREF=\"http://d.example/read%20me.html\">"
                                                                "read</A>. []");
    QTest::newRow("file address") << QByteArray("URL=file:///etc/passwd") << QStringLiteral("v= get. read. []");
    QTest::newRow("script address") << QByteArray("README=javascript:alert(1)") << QStringLiteral("v= get. read. []");
    QTest::newRow("resource address") << QByteArray("URL=qrc:/images/x.png") << QStringLiteral("v= get. read. []");
    QTest::newRow("address without host") << QByteArray("URL=http:///setup.exe") << QStringLiteral("v= get. read. []");
    QTest::newRow("relative address") << QByteArray("URL=/dev/zero") << QStringLiteral("v= get. read. []");
    QTest::newRow("quote in address") << QByteArray("URL=http://d.example/\" onmouseover=\"x")
                                      << QStringLiteral("v= get. read. []");
    QTest::newRow("markup in address") << QByteArray("URL=http://d.example/\"><img src=\"/dev/zero\">")
                                       << QStringLiteral("v= get. read. []");
}

// The answer comes from anyone on the path: what it says is shown as text,
// and only a clean http or https address becomes a link.
void tst_update_description::answer_values_stay_text()
{
    QFETCH(QByteArray, line);
    QFETCH(QString, message);
    update_init_info info = test_info();
    info.update_message = QStringLiteral("v=%1 <a href=\"%2\">get</a>. <A HREF=\"%3\">read</A>. [%4]");
    update_check_result result;
    QVERIFY(update_result_from_description(parse_update_description(windows_section("BUILD=999999\n" + line)),
                                           info, &result));
    QCOMPARE(result.message, message);
}

void tst_update_description::result_by_build_and_section_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<bool>("answered");
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("build");

    QTest::newRow("newer build") << windows_section("BUILD=210301") << true << 1 << 210301;
    QTest::newRow("same build") << windows_section("BUILD=210208") << true << 2 << 210208;
    QTest::newRow("older build") << windows_section("BUILD=210100") << true << 2 << 210100;
    QTest::newRow("build before any platform line")
        << QByteArray("BUILD=210301\nPLATFORM=WINDOWS\n") << false << 0 << 0;
    QTest::newRow("other platform only") << QByteArray("PLATFORM=MAC\nBUILD=210301") << false << 0 << 0;
    QTest::newRow("other platform closes ours")
        << QByteArray("PLATFORM=WINDOWS\nBUILD=210100\nPLATFORM=MAC\nBUILD=210301\n") << true << 2 << 210100;
    QTest::newRow("ours after another, CRLF and blanks")
        << QByteArray("PLATFORM=MAC\r\nBUILD=1\r\nPLATFORM=WINDOWS\r\n   BUILD=210301  \r\n") << true << 1 << 210301;
    QTest::newRow("blank line does not end, later build replaces")
        << windows_section("BUILD=210100\n\n\nBUILD=210301\n") << true << 1 << 210301;
    QTest::newRow("build that is no number is ignored")
        << windows_section("BUILD=210301\nBUILD=next\n") << true << 1 << 210301;
    QTest::newRow("only a build that is no number") << windows_section("BUILD=soon") << false << 0 << 0;
    QTest::newRow("keys are case-sensitive") << windows_section("build=210301") << false << 0 << 0;
    QTest::newRow("no build") << windows_section("VERSION=2.2\nURL=http://x/\n") << false << 0 << 0;
    QTest::newRow("empty") << QByteArray() << false << 0 << 0;
    QTest::newRow("not text") << QByteArray("\x00\xff\xfe=\x01", 5) << false << 0 << 0;
}

void tst_update_description::result_by_build_and_section()
{
    QFETCH(QByteArray, text);
    QFETCH(bool, answered);
    QFETCH(int, kind);
    QFETCH(int, build);

    update_check_result result;
    QCOMPARE(result_of(text, &result), answered);
    if (!answered)
        return;
    QCOMPARE(result.kind, kind);
    QCOMPARE(result.build, build);
    if (kind == kUpdateUpToDate)
        QCOMPARE(result.message, QStringLiteral("up to date"));
}

void tst_update_description::update_message_names_version_addresses_and_changes()
{
    // A text mentioning another key stays what its first key says; "%" in a
    // text is not a place for a later argument.
    const QByteArray text = windows_section(
        "VERSION=2.0\n"
        "VERSION=2.2.0 see URL=elsewhere\n"
        "URL=https://d.example/setup.exe?a=b\n"
        "README=https://d.example/readme.html\n"
        "CHANGES=210100=Old fix\n"
        "CHANGES=210300=First %1 change\n"
        "CHANGES=210208=Already in this build\n"
        "CHANGES=210301=Fixed URL=handling\n"
        "CHANGES=soon=Not numbered\n"
        "BUILD=210301\n");

    update_check_result result;
    QVERIFY(result_of(text, &result));
    QCOMPARE(result.kind, int(kUpdateAvailable));
    QCOMPARE(result.build, 210301);
    QCOMPARE(result.message,
             QStringLiteral("v=2.2.0 see URL=elsewhere url=https://d.example/setup.exe?a=b "
                            "readme=https://d.example/readme.html "
                            "[<changes>1. First %1 change<br>2. Fixed URL=handling<br></changes>]"));
}

void tst_update_description::change_list_stops_at_fifteen_newer_changes()
{
    QByteArray lines = "BUILD=210400\nCHANGES=210001=too old\n";
    for (int i = 1; i <= 20; ++i)
        lines += "CHANGES=" + QByteArray::number(210300 + i) + "=change " + QByteArray::number(i) + "\n";

    update_check_result result;
    QVERIFY(result_of(windows_section(lines), &result));
    QCOMPARE(result.message, QStringLiteral("v= url= readme= [<changes>%1</changes>]").arg(change_lines(1, 15)));
}

void tst_update_description::no_newer_change_gives_empty_section()
{
    update_check_result result;
    QVERIFY(result_of(windows_section("BUILD=210301\nVERSION=2.2\nCHANGES=210208=old\n"), &result));
    QCOMPARE(result.message, QStringLiteral("v=2.2 url= readme= []"));
}

void tst_update_description::best_result_data()
{
    QTest::addColumn<QList<update_check_result>>("results");
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("message");

    const update_check_result failed = unreachable_update_result(test_info());
    QTest::newRow("nothing") << QList<update_check_result>() << 3 << QStringLiteral("unreachable");
    QTest::newRow("failed, then newer")
        << QList<update_check_result>{failed, {210301, 1, QStringLiteral("new")}} << 1 << QStringLiteral("new");
    QTest::newRow("up to date, then failed")
        << QList<update_check_result>{{210208, 2, QStringLiteral("same")}, failed} << 2 << QStringLiteral("same");
    QTest::newRow("highest build wins")
        << QList<update_check_result>{{210301, 1, QStringLiteral("a")}, {210400, 1, QStringLiteral("b")}}
        << 1 << QStringLiteral("b");
    QTest::newRow("first on a tie")
        << QList<update_check_result>{{210208, 2, QStringLiteral("first")}, {210208, 2, QStringLiteral("second")}}
        << 2 << QStringLiteral("first");
}

void tst_update_description::best_result()
{
    QFETCH(QList<update_check_result>, results);
    QFETCH(int, kind);
    QFETCH(QString, message);

    const update_check_result best = best_update_result(results, test_info());
    QCOMPARE(best.kind, kind);
    QCOMPARE(best.message, message);
}

QTEST_GUILESS_MAIN(tst_update_description)
#include "tst_update_description.moc"

#include "jobs/listed_engine_models.h"

#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QtTest>

// The built User's Guide, read back as text the way a reader's PDF viewer
// shows it: its chapters, its contents, and the list of engine displays,
// which must be the one Verify uses.
class tst_users_guide : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void has_every_chapter_data();
    void has_every_chapter();
    void contents_give_page_numbers();
    void engine_models_are_the_ones_verify_passes();

private:
    // The text from the last |heading| (past the contents) to |next|.
    QString section(const QString &heading, const QString &next) const;
    QString m_text;
};

void tst_users_guide::initTestCase()
{
    QProcess pdftotext;
    pdftotext.start(QStringLiteral("pdftotext"),
                    {QStringLiteral("-layout"), QStringLiteral(TESSALINE_USERS_GUIDE), QStringLiteral("-")});
    QVERIFY2(pdftotext.waitForFinished(60000), "pdftotext (poppler-utils) did not run");
    QCOMPARE(pdftotext.exitCode(), 0);
    m_text = QString::fromUtf8(pdftotext.readAllStandardOutput());
    QVERIFY(m_text.size() > 10000);
}

void tst_users_guide::has_every_chapter_data()
{
    QTest::addColumn<QString>("chapter");
    for (const char *chapter :
         {"Installing and starting", "The main window and its docks", "Describing a wall", "Colour sensors",
          "Targets and preferences", "Calibrating the wall", "Visual trim, uniformity and factory calibration",
          "The display control panel", "Analog video adjustment", "Tile Matrix",
          "Reports, diagnostics and ICC profiles", "Projects, backups and crash recovery", "Troubleshooting",
          "TESSALINE_SERIAL_PORT_COMn", "Instrument libraries on Linux", "Displays with the Quillon Engine"})
        QTest::newRow(chapter) << QString::fromLatin1(chapter);
}

void tst_users_guide::has_every_chapter()
{
    QFETCH(QString, chapter);
    // Once in the contents (or the text), once where it stands; a long
    // heading may wrap.
    QVERIFY2(m_text.simplified().count(chapter) >= 2, qPrintable(chapter));
}

void tst_users_guide::contents_give_page_numbers()
{
    // "Troubleshooting ... N" in the contents, and page N holds the chapter.
    const QRegularExpressionMatch entry =
        QRegularExpression(QStringLiteral("Troubleshooting\\s+(\\d+)\\n")).match(m_text);
    QVERIFY(entry.hasMatch());
    const int page = entry.captured(1).toInt();
    const QStringList pages = m_text.split(QLatin1Char('\f'));
    QVERIFY(page >= 2 && page <= pages.size());
    QVERIFY(pages[page - 1].trimmed().startsWith(QStringLiteral("Troubleshooting")));
    QVERIFY(pages[page - 1].contains(QRegularExpression(QStringLiteral("\\n\\s*%1\\s*$").arg(page))));
}

// "A, B or C" from {A, B, C} and "or".
QString spoken(const QStringList &items, const QString &conjunction)
{
    if (items.size() < 2)
        return items.join(QString());
    return QStringList(items.mid(0, items.size() - 1)).join(QStringLiteral(", ")) + QLatin1Char(' ') + conjunction
           + QLatin1Char(' ') + items.last();
}

QString tst_users_guide::section(const QString &heading, const QString &next) const
{
    const int start = m_text.lastIndexOf(heading);
    const int end = m_text.indexOf(next, start);
    return start < 0 || end < 0 ? QString() : m_text.mid(start, end - start);
}

void tst_users_guide::engine_models_are_the_ones_verify_passes()
{
    const QString list = section(QStringLiteral("Displays with the Quillon Engine"),
                                 QStringLiteral("Calibrating the wall")).simplified();
    QVERIFY(!list.isEmpty());
    const listed_engine_model_table table = listed_engine_models();

    // Every name prefix the guide gives is one the table holds, and back.
    QSet<QString> named;
    auto it = QRegularExpression(QStringLiteral("\\b([A-Z]{1,3}-)(?![0-9])")).globalMatch(list);
    while (it.hasNext())
        named.insert(it.next().captured(1));
    QSet<QString> expected;
    for (const QString &prefix : table.prefixes + table.excluded_prefixes)
        expected.insert(prefix);
    QCOMPARE(named, expected);

    // The two rules, each in one sentence.
    QVERIFY2(list.contains(QStringLiteral("begin with %1;").arg(spoken(table.prefixes, QStringLiteral("or")))),
             qPrintable(list));
    QVERIFY2(list.contains(QStringLiteral("begin with %1, except %2;")
                               .arg(table.letter, spoken(table.excluded_prefixes, QStringLiteral("and")))),
             qPrintable(list));
}

QTEST_MAIN(tst_users_guide)
#include "tst_users_guide.moc"

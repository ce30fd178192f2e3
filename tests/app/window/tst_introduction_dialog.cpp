#include "app/services/preferences.h"
#include "app/window/introduction_choices.h"
#include "app/window/introduction_dialog.h"
#include "resources/tessaline_resources.h"

#include <QCheckBox>
#include <QLabel>
#include <QLayout>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextDocument>
#include <QtTest>
#include <QApplication>

namespace {

const QStringList kThreeProjects{QStringLiteral("C:/a/x.tslw"), QStringLiteral("C:/b/y.tslw"),
                                 QStringLiteral("/c/<b>z&amp;.tslw")};

// The links of a rich text with the text each one shows, in order.
QList<QPair<QString, QString>> links_of(const QString &html)
{
    QTextDocument document;
    document.setHtml(html);
    QList<QPair<QString, QString>> links;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const QString href = fragment.charFormat().anchorHref();
            if (href.isEmpty())
                continue;
            const QString text = fragment.text().remove(QChar::Nbsp).remove(QChar::ObjectReplacementCharacter);
            if (!links.isEmpty() && links.last().first == href)
                links.last().second += text;
            else
                links.append({href, text});
        }
    }
    for (auto &link : links)
        link.second = link.second.simplified();
    return links;
}

QLabel *main_label(introduction_dialog &dialog)
{
    return dialog.findChild<QLabel *>(QStringLiteral("main_label"));
}

} // namespace

class tst_introduction_dialog : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void form();
    void opens_at_the_size_it_was_drawn_for();
    void label_without_recent_projects();
    void label_with_three_recent_projects();
    void each_link_ends_with_its_result_data();
    void each_link_ends_with_its_result();
    void recent_list_is_read_again_when_a_link_is_followed();
    void dont_show_choice_data();
    void dont_show_choice();

private:
    QTemporaryDir m_home;
    CPreferences *m_preferences = nullptr;
};

void tst_introduction_dialog::initTestCase()
{
    QVERIFY(m_home.isValid());
    qputenv("HOME", m_home.path().toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", (m_home.path() + QStringLiteral("/.config")).toLocal8Bit());
    tessaline_init_resources();
}

void tst_introduction_dialog::init()
{
    // Each test starts from the default preferences, not from what the
    // previous one left in the file.
    QFile::remove(CPreferences::FilePath());
    m_preferences = new CPreferences;
}

void tst_introduction_dialog::cleanup()
{
    delete m_preferences;
    m_preferences = nullptr;
}

void tst_introduction_dialog::form()
{
    introduction_dialog dialog(*m_preferences);
    QCOMPARE(dialog.objectName(), QStringLiteral("introduction_dialogClass"));
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Welcome to Tessaline"));
    QCOMPARE(dialog.windowFlags() & ~Qt::WindowType_Mask,
             Qt::WindowFlags(Qt::WindowTitleHint | Qt::WindowSystemMenuHint));
    QCOMPARE(dialog.layout()->objectName(), QStringLiteral("verticalLayout"));
    QCOMPARE(dialog.layout()->sizeConstraint(), QLayout::SetFixedSize);

    const QLabel *logo = dialog.findChild<QLabel *>(QStringLiteral("label_4"));
    QVERIFY(logo && !logo->pixmap(Qt::ReturnByValue).isNull());
    QVERIFY(logo->minimumWidth() >= 500);
    QVERIFY(!main_label(dialog)->openExternalLinks());
    QVERIFY(main_label(dialog)->textInteractionFlags() & Qt::LinksAccessibleByMouse);
    QVERIFY(dialog.findChild<QFrame *>(QStringLiteral("line")));
    QCOMPARE(dialog.findChild<QCheckBox *>(QStringLiteral("dont_show_again_checkBox"))->text(),
             QStringLiteral("Don't show this again"));
    QCOMPARE(dialog.findChild<QPushButton *>(QStringLiteral("cancel_pushButton"))->text(), QStringLiteral("Close"));

    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QCOMPARE(dialog.minimumSize(), dialog.maximumSize());
}

// The layout fixes the dialog to its contents, so the pictures' pixel sizes
// decide it: the logo is drawn for the About box's 440-pixel width, the
// wizard link's picture is a text-line icon, and with a desktop's 9 pt font
// the dialog stays within the form's 557-pixel width.
void tst_introduction_dialog::opens_at_the_size_it_was_drawn_for()
{
    const QFont previous = QApplication::font();
    QFont font = previous;
    font.setPointSize(9);
    QApplication::setFont(font);
    auto restore = qScopeGuard([&previous] { QApplication::setFont(previous); });
    introduction_dialog dialog(*m_preferences);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    const QLabel *logo = dialog.findChild<QLabel *>(QStringLiteral("label_4"));
    QCOMPARE(logo->pixmap(Qt::ReturnByValue).size(), QSize(418, 80));
    QVERIFY2(dialog.width() <= 557, qPrintable(QString::number(dialog.width())));
    // Logo, two headings, two links and the buttons; an oversized picture
    // would make it far taller.
    QVERIFY2(dialog.height() < 400, qPrintable(QString::number(dialog.height())));
}

void tst_introduction_dialog::label_without_recent_projects()
{
    introduction_dialog dialog(*m_preferences);
    const QString text = main_label(dialog)->text();
    QVERIFY(!text.contains(QStringLiteral("Recent projects")));
    QVERIFY(!text.contains(QStringLiteral("<ol>")));
    const auto links = links_of(text);
    QCOMPARE(links.size(), 2);
    QCOMPARE(links[0].first, QStringLiteral("wizard"));
    QCOMPARE(links[0].second, QStringLiteral("Use the Display Layout Wizard to create a new Video Wall Layout"));
    QCOMPARE(links[1].first, QStringLiteral("open"));
    QCOMPARE(links[1].second, QStringLiteral("Open from another location"));
}

void tst_introduction_dialog::label_with_three_recent_projects()
{
    m_preferences->SetRecentFiles(kThreeProjects);
    introduction_dialog dialog(*m_preferences);
    const QString text = main_label(dialog)->text();
    QVERIFY(text.contains(QStringLiteral("Recent projects:")));

    // A file name is shown as it is, never read as markup.
    const auto links = links_of(text);
    QCOMPARE(links.size(), 5);
    const QStringList hrefs{links[0].first, links[1].first, links[2].first, links[3].first, links[4].first};
    QCOMPARE(hrefs, (QStringList{"wizard", "0", "1", "2", "open"}));
    QCOMPARE(links[1].second, QStringLiteral("x.tslw"));
    QCOMPARE(links[2].second, QStringLiteral("y.tslw"));
    QCOMPARE(links[3].second, QStringLiteral("<b>z&amp;.tslw"));
}

void tst_introduction_dialog::each_link_ends_with_its_result_data()
{
    QTest::addColumn<QString>("link");
    QTest::addColumn<int>("result");
    QTest::addColumn<QString>("chosen");

    QTest::newRow("wizard") << "wizard" << int(kIntroductionLayoutWizard) << QString();
    QTest::newRow("open") << "open" << int(kIntroductionOpenOtherProject) << QString();
    QTest::newRow("first recent") << "0" << int(kIntroductionOpenRecentProject) << kThreeProjects[0];
    QTest::newRow("second recent") << "1" << int(kIntroductionOpenRecentProject) << kThreeProjects[1];
    QTest::newRow("third recent") << "2" << int(kIntroductionOpenRecentProject) << kThreeProjects[2];
    QTest::newRow("beyond the list") << "3" << 0 << QString();
    QTest::newRow("negative") << "-1" << 0 << QString();
    QTest::newRow("not a number") << "x.tslw" << 0 << QString();
    QTest::newRow("empty") << "" << 0 << QString();
}

void tst_introduction_dialog::each_link_ends_with_its_result()
{
    QFETCH(QString, link);
    QFETCH(int, result);
    QFETCH(QString, chosen);

    m_preferences->SetRecentFiles(kThreeProjects);
    introduction_dialog dialog(*m_preferences);
    dialog.show();
    emit main_label(dialog)->linkActivated(link);
    QCOMPARE(dialog.result(), result);
    QCOMPARE(dialog.isVisible(), result == 0);
    QCOMPARE(dialog.chosen_recent_project(), chosen);
}

void tst_introduction_dialog::recent_list_is_read_again_when_a_link_is_followed()
{
    m_preferences->SetRecentFiles(kThreeProjects);
    introduction_dialog dialog(*m_preferences);
    dialog.show();
    m_preferences->SetRecentFiles({QStringLiteral("/d/w.tslw")});

    emit main_label(dialog)->linkActivated(QStringLiteral("1"));
    QVERIFY(dialog.isVisible());
    emit main_label(dialog)->linkActivated(QStringLiteral("0"));
    QCOMPARE(dialog.result(), int(kIntroductionOpenRecentProject));
    QCOMPARE(dialog.chosen_recent_project(), QStringLiteral("/d/w.tslw"));
}

void tst_introduction_dialog::dont_show_choice_data()
{
    QTest::addColumn<bool>("tick");
    QTest::addColumn<QString>("end");
    QTest::addColumn<int>("result");
    QTest::addColumn<bool>("wanted_later");

    QTest::newRow("ticked, Close") << true << "close" << int(kIntroductionClosed) << false;
    QTest::newRow("ticked, wizard") << true << "wizard" << int(kIntroductionLayoutWizard) << false;
    QTest::newRow("not ticked, Close") << false << "close" << int(kIntroductionClosed) << true;
    QTest::newRow("ticked, Escape") << true << "escape" << 0 << true;
}

void tst_introduction_dialog::dont_show_choice()
{
    QFETCH(bool, tick);
    QFETCH(QString, end);
    QFETCH(int, result);
    QFETCH(bool, wanted_later);

    QVERIFY(introduction_wanted(*m_preferences));
    introduction_dialog dialog(*m_preferences);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    if (tick)
        QTest::mouseClick(dialog.findChild<QCheckBox *>(QStringLiteral("dont_show_again_checkBox")), Qt::LeftButton);
    QCOMPARE(dialog.dont_show_again(), tick);

    if (end == QLatin1String("close"))
        QTest::mouseClick(dialog.findChild<QPushButton *>(QStringLiteral("cancel_pushButton")), Qt::LeftButton);
    else if (end == QLatin1String("escape"))
        QTest::keyClick(&dialog, Qt::Key_Escape);
    else
        emit main_label(dialog)->linkActivated(end);
    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.result(), result);

    record_introduction_choice(*m_preferences, dialog.result(), dialog.dont_show_again());
    QCOMPARE(introduction_wanted(*m_preferences), wanted_later);
}

QTEST_MAIN(tst_introduction_dialog)
#include "tst_introduction_dialog.moc"

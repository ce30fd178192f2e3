#include "app/services/string_resource.h"
#include "app/services/version_text.h"
#include "app/window/KQ_About_Dialog.h"
#include "resources/tessaline_resources.h"

#include <QLabel>
#include <QLayout>
#include <QPushButton>
#include <QTextBlock>
#include <QTextDocument>
#include <QUrl>
#include <QtTest>

namespace {

template <typename T>
T *child(QWidget &dialog, const char *name)
{
    return dialog.findChild<T *>(QLatin1String(name));
}

// (address, shown text) of every link of a rich text, in order.
QList<QPair<QString, QString>> links_of(const QString &html)
{
    QTextDocument document;
    document.setHtml(html);
    QList<QPair<QString, QString>> links;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat format = it.fragment().charFormat();
            if (format.isAnchor())
                links.append({format.anchorHref(), it.fragment().text()});
        }
    }
    return links;
}

} // namespace

class tst_about_dialog : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void form();
    void texts();
    void links_point_to_reserved_sites();
    void fixed_size_without_help_button();
    void ok_accepts();
};

void tst_about_dialog::initTestCase()
{
    tessaline_init_resources();
}

void tst_about_dialog::form()
{
    KQ_About_Dialog dialog;
    QCOMPARE(dialog.objectName(), QStringLiteral("KQ_About_DialogClass"));
    QCOMPARE(dialog.windowTitle(), QStringLiteral("About Tessaline"));
    QVERIFY(!dialog.windowIcon().isNull());
    QCOMPARE(dialog.sizePolicy(), QSizePolicy(QSizePolicy::Preferred, QSizePolicy::Preferred));
    QCOMPARE(dialog.layout()->objectName(), QStringLiteral("verticalLayout"));

    QWidget *logo = child<QWidget>(dialog, "widget");
    QVERIFY(logo);
    QCOMPARE(logo->metaObject()->className(), "animated_logo_widget");
    QVERIFY(child<QLayout>(dialog, "horizontalLayout_2")->indexOf(logo) >= 0);

    for (const char *name : {"copyright_label", "version_label", "URL_label"}) {
        const QLabel *label = child<QLabel>(dialog, name);
        QVERIFY2(label, name);
        QCOMPARE(int(label->alignment()), 133);
    }
    for (const char *name : {"copyright_label", "version_label"})
        QCOMPARE(child<QLabel>(dialog, name)->sizePolicy(), QSizePolicy(QSizePolicy::Minimum, QSizePolicy::Minimum));
    QVERIFY(child<QLabel>(dialog, "URL_label")->openExternalLinks());
    QVERIFY(child<QLayout>(dialog, "horizontalLayout")->indexOf(child<QPushButton>(dialog, "pushButton")) >= 0);
    QCOMPARE(child<QPushButton>(dialog, "pushButton")->text(), QStringLiteral("OK"));
}

void tst_about_dialog::texts()
{
    KQ_About_Dialog dialog;
    QCOMPARE(child<QLabel>(dialog, "copyright_label")->text(),
             string_resource(string_id::kIccProfileCopyrightText));
    QCOMPARE(child<QLabel>(dialog, "version_label")->text(), version_text());
    QCOMPARE(version_text(), QStringLiteral("Version 2.1.20 (Build 210208)"));
}

void tst_about_dialog::links_point_to_reserved_sites()
{
    KQ_About_Dialog dialog;
    const QString html = child<QLabel>(dialog, "URL_label")->text();
    const auto links = links_of(html);
    QStringList shown;
    for (const auto &link : links) {
        const QUrl url(link.first);
        QVERIFY2(url.isValid() && url.host().endsWith(QLatin1String(".invalid")), qPrintable(link.first));
        shown.append(link.second);
    }
    QCOMPARE(shown, (QStringList{"USA and Canada", "Europe", "Asia", "Global"}));
    QCOMPARE(html.count(QStringLiteral("color:#007af4")), 4);
    QCOMPARE(html.count(QStringLiteral("text-decoration: underline")), 4);
}

void tst_about_dialog::fixed_size_without_help_button()
{
    KQ_About_Dialog dialog;
    QVERIFY(!(dialog.windowFlags() & Qt::WindowContextHelpButtonHint));
    QCOMPARE(dialog.layout()->sizeConstraint(), QLayout::SetFixedSize);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QCOMPARE(dialog.minimumSize(), dialog.maximumSize());
    const QSize shown = dialog.size();
    dialog.resize(shown + QSize(200, 100));
    QCOMPARE(dialog.size(), shown);
}

void tst_about_dialog::ok_accepts()
{
    KQ_About_Dialog dialog;
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QTest::mouseClick(child<QPushButton>(dialog, "pushButton"), Qt::LeftButton);
    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
}

QTEST_MAIN(tst_about_dialog)
#include "tst_about_dialog.moc"

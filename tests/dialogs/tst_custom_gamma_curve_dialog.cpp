#include "app/services/ui/file_dialogs.h"
#include "dialogs/KQ_Custom_Gamma_Curve_Dialog.h"
#include "modal_answer.h"
#include "resources/tessaline_resources.h"

#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include <cmath>

namespace {

// The encoding E(L) of each preset, as the curves are defined.
double srgb(double L) { return L > 0.00304 ? 1.055 * std::pow(L, 1 / 2.4) - 0.055 : 12.92 * L; }
double video(double L) { return L > 0.018 ? 1.099 * std::pow(L, 0.45) - 0.099 : 4.5 * L; }
double smpte240m(double L) { return L > 0.0228 ? 1.1115 * std::pow(L, 0.45) - 0.1115 : 4 * L; }
double lstar(double L)
{
    const double a = L > 0.0088564517 ? std::cbrt(L) : (903.296 * L + 16) / 116;
    return (116 * a - 16) / 100;
}

} // namespace

class tst_custom_gamma_curve_dialog : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

    QString file_with(const QByteArray &bytes)
    {
        const QString path = m_dir.filePath(QStringLiteral("points.txt"));
        QFile file(path);
        file.open(QIODevice::WriteOnly | QIODevice::Truncate);
        file.write(bytes);
        return path;
    }

    static QPushButton *button(KQ_Custom_Gamma_Curve_Dialog &dialog, const char *name)
    {
        return dialog.findChild<QPushButton *>(QLatin1String(name));
    }

private slots:
    void initTestCase()
    {
        QLocale::setDefault(QLocale::c());
        tessaline_init_resources();
        QVERIFY(m_dir.isValid());
    }
    void cleanup()
    {
        cancel_pending_modal_answers();
        set_file_dialog_answerer(nullptr);
    }

    void presets_data()
    {
        QTest::addColumn<QString>("buttonName");
        QTest::addColumn<int>("selection");
        QTest::addColumn<void *>("encoding");
        QTest::newRow("sRGB") << "custom_curve_sRGB_pushButton" << 1 << reinterpret_cast<void *>(&srgb);
        QTest::newRow("Video") << "custom_curve_NTSC_pushButton" << 2 << reinterpret_cast<void *>(&video);
        QTest::newRow("SMPTE-240M") << "custom_curve_SMPTE_240M_pushButton" << 3
                                    << reinterpret_cast<void *>(&smpte240m);
        QTest::newRow("L*") << "custom_curve_Lstar_pushButton" << 4 << reinterpret_cast<void *>(&lstar);
    }

    void presets()
    {
        QFETCH(QString, buttonName);
        QFETCH(int, selection);
        QFETCH(void *, encoding);
        const auto E = reinterpret_cast<double (*)(double)>(encoding);

        KQ_Custom_Gamma_Curve_Dialog dialog;
        button(dialog, buttonName.toLatin1().constData())->click();
        QCOMPARE(dialog.curve_selection, selection);
        const CSpline curve = dialog.get_curve();
        QCOMPARE(curve.GetKind(), 4);
        QCOMPARE(curve.GetSize(), 256);
        for (int i = 0; i < 256; ++i) {
            const double L = i / 255.0;
            // Both sides compute the same formula in double precision.
            QVERIFY2(qAbs(curve.GetX(i) - E(L)) < 1e-9, qPrintable(QString::number(i)));
            QVERIFY2(qAbs(curve.GetY(i) - L) < 1e-12, qPrintable(QString::number(i)));
        }
    }

    void video_preset_end_points()
    {
        KQ_Custom_Gamma_Curve_Dialog dialog;
        button(dialog, "custom_curve_NTSC_pushButton")->click();
        const CSpline curve = dialog.get_curve();
        QVERIFY(qAbs(curve.GetX(255) - 1.0) < 1e-9);
        QVERIFY(qAbs(curve.GetY(255) - 1.0) < 1e-12);
        QVERIFY(qAbs(curve.GetX(1) - 4.5 / 255) < 1e-12);
        QVERIFY(qAbs(curve.GetY(1) - 1.0 / 255) < 1e-12);
    }

    void import_takes_a_good_file()
    {
        const QString path = file_with("0\n0.25\n1\n");
        QList<file_dialog_request> asked;
        set_file_dialog_answerer([&](const file_dialog_request &request) {
            asked.append(request);
            return path;
        });
        KQ_Custom_Gamma_Curve_Dialog dialog;
        button(dialog, "custom_curve_Import_pushButton")->click();
        QCOMPARE(asked.size(), 1);
        QCOMPARE(asked[0].kind, file_dialog_request::open_file);
        QCOMPARE(asked[0].caption, QStringLiteral("Open Custom Curve Points text file"));
        QCOMPARE(asked[0].filter, QStringLiteral("Text files (*.txt)"));
        QCOMPARE(dialog.curve_selection, 5);
        QCOMPARE(dialog.get_curve().GetSize(), 3);
        QCOMPARE(dialog.get_curve().GetY(1), 0.25);
    }

    void failed_import_keeps_curve_and_shows_message_data()
    {
        QTest::addColumn<QByteArray>("contents");
        QTest::addColumn<QString>("message");
        QTest::newRow("first not zero") << QByteArray("0.001\n0.5\n1\n") << "Unknown Error #-1034";
        QTest::newRow("not monotonic") << QByteArray("0\n0.5\n0.4\n1\n") << "Error: Data points are not monotonic.";
        QTest::newRow("nan") << QByteArray("0\n0.5\n1\nnan\n") << "Error: File contains invalid data.";
        QTest::newRow("all zeros") << QByteArray("0\n0\n0\n") << "Error: File contains invalid data.";
    }

    void failed_import_keeps_curve_and_shows_message()
    {
        QFETCH(QByteArray, contents);
        QFETCH(QString, message);
        const QString path = file_with(contents);
        set_file_dialog_answerer([&](const file_dialog_request &) { return path; });
        KQ_Custom_Gamma_Curve_Dialog dialog;
        button(dialog, "custom_curve_sRGB_pushButton")->click();
        const CSpline before = dialog.get_curve();
        QString shown;
        answer_message_box(QMessageBox::Ok, &shown);
        button(dialog, "custom_curve_Import_pushButton")->click();
        QVERIFY2(shown.contains(message), qPrintable(shown));
        QCOMPARE(dialog.curve_selection, 1);
        QVERIFY(!(dialog.get_curve() != before));
    }

    void cancelled_file_dialog_changes_nothing()
    {
        set_file_dialog_answerer([](const file_dialog_request &) { return QString(); });
        KQ_Custom_Gamma_Curve_Dialog dialog;
        dialog.curve_selection = 3;
        button(dialog, "custom_curve_Import_pushButton")->click();
        QCOMPARE(dialog.curve_selection, 3);
        QCOMPARE(dialog.get_curve().GetSize(), 0);
    }

    void form_and_graph()
    {
        KQ_Custom_Gamma_Curve_Dialog dialog;
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Custom Gamma Curve"));
        QVERIFY(!(dialog.windowFlags() & Qt::WindowContextHelpButtonHint));
        QCOMPARE(button(dialog, "custom_curve_NTSC_pushButton")->text(), QStringLiteral("Video"));
        QVERIFY(dialog.findChild<QWidget *>(QStringLiteral("widget_Color_Custom_Curve_Graph")));
        // The graph shows the curve: a painting differs once a preset is drawn.
        dialog.resize(560, 448);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QWidget *graph = dialog.findChild<QWidget *>(QStringLiteral("widget_Color_Custom_Curve_Graph"));
        const QImage empty = graph->grab().toImage();
        button(dialog, "custom_curve_Lstar_pushButton")->click();
        QVERIFY(graph->grab().toImage() != empty);
    }
};

QTEST_MAIN(tst_custom_gamma_curve_dialog)
#include "tst_custom_gamma_curve_dialog.moc"

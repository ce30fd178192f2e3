#include "app/services/ui/qlabel_auto_dpi.h"
#include "resources/tessaline_resources.h"

#include <QApplication>
#include <QtTest>

// Runs once at the screen's own ratio and once with the screen scaled by 2
// (QT_SCALE_FACTOR), where the double-size pictures must be chosen.
class tst_qlabel_auto_dpi : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void picks_the_picture_for_the_screen_data();
    void picks_the_picture_for_the_screen();
    void keeps_its_picture_when_shown();
};

void tst_qlabel_auto_dpi::initTestCase()
{
    tessaline_init_resources();
    if (qgetenv("QT_SCALE_FACTOR") == "2")
        QCOMPARE(qApp->devicePixelRatio(), 2.0);
}

void tst_qlabel_auto_dpi::picks_the_picture_for_the_screen_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QSize>("logicalSize");
    QTest::addColumn<bool>("hasDoubleSize");
    QTest::newRow("icon with double size") << QStringLiteral(":/images/Resources/varkel icon.png") << QSize(32, 32)
                                           << true;
    QTest::newRow("splash without") << QStringLiteral(":/images/Resources/splashkq.png") << QSize(400, 120)
                                    << false;
}

void tst_qlabel_auto_dpi::picks_the_picture_for_the_screen()
{
    QFETCH(QString, name);
    QFETCH(QSize, logicalSize);
    QFETCH(bool, hasDoubleSize);
    QLabelAutoDPI label;
    label.setPixmapByFileName(name);
    const int ratio = label.devicePixelRatio();
    const int scale = ratio > 1 && hasDoubleSize ? 2 : 1;
    const QPixmap shown = label.pixmap(Qt::ReturnByValue);
    QCOMPARE(shown.size(), logicalSize * scale);
    QCOMPARE(shown.devicePixelRatio(), qreal(scale));
}

void tst_qlabel_auto_dpi::keeps_its_picture_when_shown()
{
    QLabelAutoDPI label;
    label.setPixmapByFileName(QStringLiteral(":/images/Resources/control ball.png"));
    const QPixmap before = label.pixmap(Qt::ReturnByValue);
    label.show();
    QVERIFY(QTest::qWaitForWindowExposed(&label));
    const QPixmap after = label.pixmap(Qt::ReturnByValue);
    QCOMPARE(after.size(), before.size());
    QCOMPARE(after.devicePixelRatio(), before.devicePixelRatio());
    QCOMPARE(after.size(), QSize(16, 16) * (label.devicePixelRatio() > 1 ? 2 : 1));
}

QTEST_MAIN(tst_qlabel_auto_dpi)
#include "tst_qlabel_auto_dpi.moc"

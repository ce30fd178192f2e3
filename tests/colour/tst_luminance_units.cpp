#include "colour/luminance_units.h"

#include <QtTest>

#include <limits>

class tst_luminance_units : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale::c()); }
    void cleanup() { luminance_units::set_uses_foot_lamberts(false); }

    void text_data()
    {
        QTest::addColumn<bool>("footLamberts");
        QTest::addColumn<double>("value");
        QTest::addColumn<int>("minimumDecimals");
        QTest::addColumn<bool>("withUnit");
        QTest::addColumn<QString>("text");
        const QString cd = QStringLiteral("cd/m") + QChar(0x00B2);
        QTest::newRow("large value, no decimals") << false << 250.0 << -1 << false << "250";
        QTest::newRow("one decimal below 10") << false << 5.2 << -1 << false << "5.2";
        QTest::newRow("two decimals below 1") << false << 0.35 << -1 << false << "0.35";
        QTest::newRow("zero with minimum") << false << 0.0 << 2 << false << "0.00";
        QTest::newRow("negative minimum keeps computed") << false << 5.24 << -3 << false << "5.2";
        QTest::newRow("minimum raises decimals") << false << 250.0 << 1 << true << "250.0 " + cd;
        QTest::newRow("C locale has no grouping") << false << 1234.0 << -1 << false << "1234";
        QTest::newRow("foot-lamberts") << true << 342.6 << -1 << false << "100";
        QTest::newRow("foot-lamberts with unit") << true << 342.6 << -1 << true << "100 fL";
        QTest::newRow("infinity") << false << std::numeric_limits<double>::infinity() << 1 << false << "inf";
    }

    void text()
    {
        QFETCH(bool, footLamberts);
        QFETCH(double, value);
        QFETCH(int, minimumDecimals);
        QFETCH(bool, withUnit);
        QFETCH(QString, text);
        luminance_units::set_uses_foot_lamberts(footLamberts);
        QCOMPARE(to_display_luminance_text(value, minimumDecimals, withUnit), text);
    }

    void conversions_are_inverse()
    {
        luminance_units::set_uses_foot_lamberts(true);
        // Exact factor: 3.426 cd/m² per foot-lambert.
        QCOMPARE(cd_m2_to_display_units(3.426), 1.0);
        QCOMPARE(display_units_to_cd_m2(100.0), 342.6);
        luminance_units::set_uses_foot_lamberts(false);
        QCOMPARE(cd_m2_to_display_units(3.426), 3.426);
        QCOMPARE(luminance_unit_text(), QStringLiteral("cd/m") + QChar(0x00B2));
    }
};

QTEST_APPLESS_MAIN(tst_luminance_units)
#include "tst_luminance_units.moc"

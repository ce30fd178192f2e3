#include "app/services/model_table.h"
#include "app/services/firmware_versions.h"
#include "resources/tessaline_resources.h"

#include <QFile>
#include <QImage>
#include <QtTest>

// The compiled-in bundle: every picture the program names, its double-size
// variant, the model table, and the voice prompts beside the program.
class tst_resources : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void every_picture_loads_data();
    void every_picture_loads();
    void model_table_lists_the_wall_models();
    void voice_prompts_lie_beside_the_program_data();
    void voice_prompts_lie_beside_the_program();
};

void tst_resources::initTestCase()
{
    tessaline_init_resources();
    tessaline_init_resources(); // a second registration is harmless
}

void tst_resources::every_picture_loads_data()
{
    QTest::addColumn<QString>("name");
    QFile list(QStringLiteral(TESSALINE_SOURCE_DIR "/resources/pictures.txt"));
    QVERIFY(list.open(QIODevice::ReadOnly | QIODevice::Text));
    int count = 0;
    while (!list.atEnd()) {
        const QString name = QString::fromUtf8(list.readLine()).trimmed();
        if (!name.isEmpty()) {
            QTest::newRow(qPrintable(name)) << name;
            ++count;
        }
    }
    QVERIFY(count > 100);
}

void tst_resources::every_picture_loads()
{
    QFETCH(QString, name);
    const QString path = QStringLiteral(":/images/Resources/") + name;
    const QImage picture(path);
    QVERIFY2(!picture.isNull(), qPrintable(path));
    QString doublePath = path;
    doublePath.replace(QStringLiteral(".png"), QStringLiteral("@2x.png"));
    const QImage doubled(doublePath);
    if (name.startsWith(QStringLiteral("splash"))) {
        QVERIFY(doubled.isNull());
        return;
    }
    QVERIFY2(!doubled.isNull(), qPrintable(doublePath));
    QCOMPARE(doubled.size(), picture.size() * 2);
}

void tst_resources::model_table_lists_the_wall_models()
{
    const QString table = QStringLiteral(":/files/Resources/models.txt");
    QList<QPair<QString, int>> entries;
    QCOMPARE(read_models_file_entries(table, entries), qint8(1));
    QCOMPARE(entries.size(), 7);
    for (const auto &entry : entries) {
        QVERIFY(entry.first.startsWith(QStringLiteral("VW-")));
        QVERIFY(entry.second >= 1 && entry.second <= 4);
        // Every wall model has a minimum firmware.
        QString minimum;
        minimum_firmware_for_model(entry.first, QStringLiteral("99"), minimum);
        QVERIFY2(!minimum.isEmpty(), qPrintable(entry.first));
    }
    QStringList ccflModels;
    QCOMPARE(read_model_list(table, ccflModels), 0);
    QCOMPARE(ccflModels, (QStringList{QStringLiteral("VW-4610C"), QStringLiteral("VW-5510C")}));
}

void tst_resources::voice_prompts_lie_beside_the_program_data()
{
    QTest::addColumn<QString>("file");
    for (const char *name : {"an error has occurred", "place color sensor on flashing display",
                             "remove the color sensor from the display"})
        QTest::newRow(name) << QStringLiteral(TESSALINE_PROGRAM_DIR "/%1.wav").arg(QLatin1String(name));
}

void tst_resources::voice_prompts_lie_beside_the_program()
{
    QFETCH(QString, file);
    if (!TESSALINE_HAS_VOICE_PROMPTS)
        QSKIP("espeak-ng is not installed; the program beeps instead");
    QFile prompt(file);
    QVERIFY2(prompt.open(QIODevice::ReadOnly), qPrintable(file));
    const QByteArray header = prompt.read(12);
    QCOMPARE(header.left(4), QByteArray("RIFF"));
    QCOMPARE(header.mid(8, 4), QByteArray("WAVE"));
    QVERIFY(prompt.size() > 1000);
}

QTEST_MAIN(tst_resources)
#include "tst_resources.moc"

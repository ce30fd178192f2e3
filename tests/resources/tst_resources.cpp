#include "app/services/model_table.h"
#include "app/services/firmware_versions.h"
#include "resources/tessaline_resources.h"

#include <QFile>
#include <QDirIterator>
#include <QImage>
#include <QRegularExpression>
#include <QSet>
#include <QtTest>

// The compiled-in bundle: every picture the program names at its listed pixel
// size and its double-size variant, the model table, and the voice prompts
// beside the program.
class tst_resources : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void every_picture_loads_data();
    void every_picture_loads();
    void every_named_picture_is_listed();
    void model_table_lists_the_wall_models();
    void voice_prompts_lie_beside_the_program_data();
    void voice_prompts_lie_beside_the_program();
};

void tst_resources::initTestCase()
{
    tessaline_init_resources();
    tessaline_init_resources(); // a second registration is harmless
}

namespace {

struct listed_picture
{
    QString name;
    QSize size;
    bool doubled = false;
};

// The picture list: name | pixel size | scales | source | tint | use.
QList<listed_picture> listed_pictures()
{
    QList<listed_picture> pictures;
    QFile list(QStringLiteral(TESSALINE_SOURCE_DIR "/resources/pictures.txt"));
    if (!list.open(QIODevice::ReadOnly | QIODevice::Text))
        return pictures;
    const QRegularExpression size(QStringLiteral("^(\\d+)x(\\d+)$"));
    while (!list.atEnd()) {
        const QString line = QString::fromUtf8(list.readLine()).trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        const QStringList fields = line.split(QLatin1Char('|'));
        const QRegularExpressionMatch match = size.match(fields.value(1).trimmed());
        listed_picture picture;
        picture.name = fields.value(0).trimmed();
        if (fields.size() == 6 && match.hasMatch())
            picture.size = QSize(match.captured(1).toInt(), match.captured(2).toInt());
        picture.doubled = fields.value(2).trimmed() == QLatin1String("1x 2x");
        pictures << picture;
    }
    return pictures;
}

// Every picture name that a form or the program's code spells out, with the
// files that name it. Names built at run time (with %1) are left out; the
// list covers them.
QMap<QString, QStringList> pictures_named_in_sources()
{
    QMap<QString, QStringList> named;
    const QRegularExpression quoted(QStringLiteral("[\">(/;]([A-Za-z][^\"<>();/%]*\\.png)[\"<)&]"));
    const QDir root(QStringLiteral(TESSALINE_SOURCE_DIR));
    QDirIterator files(root.path(), {QStringLiteral("*.ui"), QStringLiteral("*.cpp"), QStringLiteral("*.h")},
                       QDir::Files, QDirIterator::Subdirectories);
    while (files.hasNext()) {
        const QString path = files.next();
        const QString relative = root.relativeFilePath(path);
        if (relative.startsWith(QLatin1String("build")) || relative.startsWith(QLatin1String("tests/"))
            || relative.startsWith(QLatin1String("bench/")))
            continue;
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            continue;
        const QString text = QString::fromUtf8(file.readAll());
        auto it = quoted.globalMatch(text);
        while (it.hasNext()) {
            QString name = it.next().captured(1).trimmed();
            name.replace(QLatin1String("@2x.png"), QLatin1String(".png"));
            named[name] << relative;
        }
    }
    return named;
}

bool drawn(const QImage &picture)
{
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            if (qAlpha(picture.pixel(x, y)) > 0)
                return true;
    return false;
}

} // namespace

void tst_resources::every_picture_loads_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<bool>("doubled");
    const QList<listed_picture> pictures = listed_pictures();
    QVERIFY(pictures.size() > 100);
    for (const listed_picture &picture : pictures)
        QTest::newRow(qPrintable(picture.name)) << picture.name << picture.size << picture.doubled;
}

void tst_resources::every_picture_loads()
{
    QFETCH(QString, name);
    QFETCH(QSize, size);
    QFETCH(bool, doubled);
    QVERIFY2(size.isValid(), "the list gives no pixel size");
    const QString path = QStringLiteral(":/images/Resources/") + name;
    const QImage picture(path);
    QVERIFY2(!picture.isNull(), qPrintable(path));
    QCOMPARE(picture.size(), size);
    QString doublePath = path;
    doublePath.replace(QStringLiteral(".png"), QStringLiteral("@2x.png"));
    const QImage twice(doublePath);
    QCOMPARE(!twice.isNull(), doubled);
    if (doubled)
        QCOMPARE(twice.size(), size * 2);
    QVERIFY2(drawn(picture), "an empty canvas");
}

void tst_resources::every_named_picture_is_listed()
{
    QSet<QString> listed;
    for (const listed_picture &picture : listed_pictures())
        listed.insert(picture.name);
    const QMap<QString, QStringList> named = pictures_named_in_sources();
    QVERIFY(named.size() > 60);
    for (auto it = named.cbegin(); it != named.cend(); ++it)
        QVERIFY2(listed.contains(it.key()), qPrintable(it.key() + QStringLiteral(" (named in ") + it.value().join(QStringLiteral(", ")) + QLatin1Char(')')));
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

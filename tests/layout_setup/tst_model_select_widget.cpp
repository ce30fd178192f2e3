#include "app/services/model_table.h"
#include "layout_setup/KQ_display_layout_select_model_widget.h"
#include "resources/tessaline_resources.h"

#include <QDate>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// The two signals in the order they came: "type n" and "name text".
class signal_log : public QObject
{
public:
    explicit signal_log(KQ_display_layout_select_model_widget &widget)
    {
        connect(&widget, &KQ_display_layout_select_model_widget::selected_model_type, this,
                [this](int type) { entries << QStringLiteral("type %1").arg(type); });
        connect(&widget, &KQ_display_layout_select_model_widget::selected_model_name, this,
                [this](const QString &name) { entries << QStringLiteral("name %1").arg(name); });
    }
    QStringList take()
    {
        const QStringList taken = entries;
        entries.clear();
        return taken;
    }

private:
    QStringList entries;
};

QStringList texts_of(const QComboBox &combo)
{
    QStringList texts;
    for (int i = 0; i < combo.count(); ++i)
        texts << combo.itemText(i);
    return texts;
}

} // namespace

class tst_model_select_widget : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void offers_the_released_models_of_its_table();
    void lists_the_configurations_in_order();
    void reads_the_compiled_in_table_by_default();
    void missing_table_offers_no_model();
    void choosing_a_model_selects_its_configuration();
    void choosing_a_configuration_resets_the_model();

private:
    QString write_table(const QString &text);

    QTemporaryDir m_dir;
    QString m_table;
};

void tst_model_select_widget::initTestCase()
{
    tessaline_init_resources();
    QVERIFY(m_dir.isValid());
    const QDate today = QDate::currentDate();
    // Released last year, this month, next month and next year; in January
    // "last month" is December of last year.
    const QDate lastMonth = today.addMonths(-1);
    const QDate nextMonth = today.addMonths(1);
    m_table = write_table(QStringLiteral("; display models\n"
                                         "\"QX-55\", 2, 0, 2019, 6\n"
                                         "\n"
                                         "QX-46, 3, 1, %1, %2\n"
                                         "QX-70, 1, 0, %3, %4\n"
                                         "QX-80, 4, 0, %5, %6\n"
                                         "QX-90, 2, 0, %7, 1\n"
                                         "QX-99, 9, 0, 2019, 1\n"
                                         "too, few, fields\n")
                              .arg(lastMonth.year())
                              .arg(lastMonth.month())
                              .arg(today.year())
                              .arg(today.month())
                              .arg(nextMonth.year())
                              .arg(nextMonth.month())
                              .arg(today.year() + 1));
}

QString tst_model_select_widget::write_table(const QString &text)
{
    const QString path = m_dir.filePath(QStringLiteral("models.txt"));
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(text.toUtf8());
    return path;
}

void tst_model_select_widget::offers_the_released_models_of_its_table()
{
    KQ_display_layout_select_model_widget widget(nullptr, m_table);
    // Next month's and next year's models are not out yet; a configuration
    // the list does not know is not offered.
    QCOMPARE(texts_of(*widget.ui.model_list_comboBox),
             QStringList({QStringLiteral("Select a display model..."), QStringLiteral("QX-55"),
                          QStringLiteral("QX-46"), QStringLiteral("QX-70")}));
    QCOMPARE(widget.ui.model_list_comboBox->itemData(0).toInt(), -1);
    QCOMPARE(widget.ui.model_list_comboBox->itemData(1).toInt(), 2);
    QCOMPARE(widget.ui.model_list_comboBox->itemData(3).toInt(), 1);
    QCOMPARE(widget.ui.model_list_comboBox->currentIndex(), 0);
}

void tst_model_select_widget::lists_the_configurations_in_order()
{
    KQ_display_layout_select_model_widget widget(nullptr, m_table);
    const QComboBox &combo = *widget.ui.configuration_list_comboBox;
    QCOMPARE(texts_of(combo), QStringList({QStringLiteral("Show all configurations"),
                                           QStringLiteral("RS-232C IN, and LAN1 and LAN2 connections"),
                                           QStringLiteral("RS-232C IN, OUT, and LAN connections"),
                                           QStringLiteral("RS-232C IN and OUT connections"),
                                           QStringLiteral("RS-232C IN and LAN connections")}));
    const QList<int> types{0, 3, 2, 1, 4};
    for (int i = 0; i < types.size(); ++i) {
        QCOMPARE(combo.itemData(i).toInt(), types[i]);
        // Every configuration but "all" has its connector picture.
        QCOMPARE(combo.itemIcon(i).pixmap(160, 45).isNull(), i == 0);
    }
}

void tst_model_select_widget::reads_the_compiled_in_table_by_default()
{
    KQ_display_layout_select_model_widget widget;
    QList<QPair<QString, int>> entries;
    QCOMPARE(read_models_file_entries(QStringLiteral(":/files/Resources/models.txt"), entries), qint8(1));
    QVERIFY(widget.ui.model_list_comboBox->count() > 1);
    QCOMPARE(widget.ui.model_list_comboBox->count(), entries.size() + 1);
    QCOMPARE(widget.ui.model_list_comboBox->itemText(1), entries.first().first);
}

void tst_model_select_widget::missing_table_offers_no_model()
{
    KQ_display_layout_select_model_widget widget(nullptr, m_dir.filePath(QStringLiteral("none.txt")));
    QCOMPARE(widget.ui.model_list_comboBox->count(), 1);
    QCOMPARE(widget.ui.configuration_list_comboBox->count(), 5);
}

void tst_model_select_widget::choosing_a_model_selects_its_configuration()
{
    KQ_display_layout_select_model_widget widget(nullptr, m_table);
    signal_log log(widget);
    widget.ui.model_list_comboBox->setCurrentIndex(1); // QX-55, type 2
    QCOMPARE(log.take(), QStringList({QStringLiteral("name QX-55"), QStringLiteral("type 2")}));
    QCOMPARE(widget.ui.configuration_list_comboBox->currentText(),
             QStringLiteral("RS-232C IN, OUT, and LAN connections"));
    QCOMPARE(widget.ui.model_list_comboBox->currentText(), QStringLiteral("QX-55"));

    // Another model of another type moves the configuration along.
    widget.ui.model_list_comboBox->setCurrentIndex(3); // QX-70, type 1
    QCOMPARE(log.take(), QStringList({QStringLiteral("name QX-70"), QStringLiteral("type 1")}));
    QCOMPARE(widget.ui.configuration_list_comboBox->currentText(), QStringLiteral("RS-232C IN and OUT connections"));
    QCOMPARE(widget.ui.model_list_comboBox->currentIndex(), 3);

    // A model of the configuration already shown changes only the name.
    widget.ui.configuration_list_comboBox->setCurrentIndex(2);
    log.take();
    widget.ui.model_list_comboBox->setCurrentIndex(1);
    QCOMPARE(log.take(), QStringList({QStringLiteral("name QX-55")}));

    // Back to the placeholder: an empty name, the configuration stays.
    widget.ui.model_list_comboBox->setCurrentIndex(0);
    QCOMPARE(log.take(), QStringList({QStringLiteral("name ")}));
    QCOMPARE(widget.ui.configuration_list_comboBox->currentIndex(), 2);
}

void tst_model_select_widget::choosing_a_configuration_resets_the_model()
{
    KQ_display_layout_select_model_widget widget(nullptr, m_table);
    widget.ui.model_list_comboBox->setCurrentIndex(2); // QX-46, type 3
    QCOMPARE(widget.ui.configuration_list_comboBox->currentIndex(), 1);
    signal_log log(widget);

    widget.ui.configuration_list_comboBox->setCurrentIndex(0); // show all
    QCOMPARE(log.take(), QStringList({QStringLiteral("type 0"), QStringLiteral("name ")}));
    QCOMPARE(widget.ui.model_list_comboBox->currentIndex(), 0);

    // With the placeholder already shown only the type is told.
    widget.ui.configuration_list_comboBox->setCurrentIndex(4);
    QCOMPARE(log.take(), QStringList({QStringLiteral("type 4")}));
    QCOMPARE(widget.ui.model_list_comboBox->currentIndex(), 0);
}

QTEST_MAIN(tst_model_select_widget)
#include "tst_model_select_widget.moc"

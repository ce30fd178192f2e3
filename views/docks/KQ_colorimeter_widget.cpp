#include "views/docks/KQ_colorimeter_widget.h"

#include "app/controller/MasterControl.h"
#include "app/controller/display_layout_item.h"
#include "app/controller/layout_manager.h"
#include "app/controller/master_globals.h"
#include "app/services/backlight_type.h"
#include "app/services/string_resource.h"
#include "dialogs/active_sensor_measurement.h"
#include "sensors/CSensor.h"
#include "sensors/CTargetSensor.h"
#include "views/docks/colorimeter_reading.h"

#include "ui_KQ_colorimeter_widget.h"

namespace {

constexpr int kTakingMeasurementId = 703;
const char kBlankStatus[] = "<font COLOR=\"#ff0000\"> </font>";

} // namespace

KQ_colorimeter_widget::KQ_colorimeter_widget(QWidget *parent)
    : QWidget(parent), ui(std::make_unique<Ui::KQ_colorimeter_widgetClass>())
{
    ui->setupUi(this);
}

KQ_colorimeter_widget::~KQ_colorimeter_widget() = default;

void KQ_colorimeter_widget::selection_changed(int position)
{
    m_selectedIndex = position;
}

void KQ_colorimeter_widget::sensor_changed()
{
    CTargetSensor *factory = g_master ? g_master->getTargetSensor() : nullptr;
    if (!factory) {
        ui->measure_pushButton->setEnabled(false);
        return;
    }
    // A detection or a job holds the driver: its own change signal follows.
    if (!factory->DriverMutex().tryLock())
        return;
    const CSensor *sensor = factory->GetSensor();
    ui->measure_pushButton->setEnabled(sensor && sensor->IsOpen());
    factory->DriverMutex().unlock();
}

int KQ_colorimeter_widget::backlight_type() const
{
    display_layout_item item;
    if (!g_master || g_master->getLayoutManager()->get_item(m_selectedIndex, item) != 0)
        return 0;
    return backlight_type_for_model(item.model_name);
}

void KQ_colorimeter_widget::on_measure_pushButton_clicked()
{
    if (m_measuring)
        return;
    m_measuring = true;
    QLabel *status = ui->colorimeter_status_label;
    CCIEXYZ reading;
    measure_with_active_sensor(
        this, backlight_type(), [status] { status->setText(string_resource(kTakingMeasurementId)); }, reading,
        [this, status, &reading](int result) {
            status->setText(QLatin1String(kBlankStatus));
            if (result == kMeasurementCancelled)
                return;
            const colorimeter_labels labels = colorimeter_labels_for(result, reading);
            ui->colorimeter_xyY_x_label->setText(labels.x);
            ui->colorimeter_xyY_y_label->setText(labels.y);
            ui->colorimeter_xyY_Y_label->setText(labels.Y);
            ui->colorimeter_ColorTemp_line1_label->setText(labels.temperature);
            ui->colorimeter_ColorTemp_line2_label->setText(labels.distance);
        });
    m_measuring = false;
}

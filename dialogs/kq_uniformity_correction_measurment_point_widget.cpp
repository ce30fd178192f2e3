#include "dialogs/kq_uniformity_correction_measurment_point_widget.h"

#include "dialogs/uniformity_update_rules.h"

#include <QPainter>

namespace {

const QColor kScreen(50, 50, 150);
constexpr int kDarkPaletteLightness = 128;

} // namespace

kq_uniformity_correction_measurment_point_widget::kq_uniformity_correction_measurment_point_widget(QWidget *parent)
    : QWidget(parent)
{
    QSizePolicy policy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    policy.setHeightForWidth(true);
    setSizePolicy(policy);
}

int kq_uniformity_correction_measurment_point_widget::heightForWidth(int width) const
{
    return m_portrait ? static_cast<int>(width / 1.7) : width * 9 / 16;
}

QSize kq_uniformity_correction_measurment_point_widget::minimumSizeHint() const
{
    return m_portrait ? QSize(56, 100) : QSize(178, 100);
}

void kq_uniformity_correction_measurment_point_widget::setNumPointsX(int x)
{
    m_x = x;
    update();
}

void kq_uniformity_correction_measurment_point_widget::setNumPointsY(int y)
{
    m_y = y;
    update();
}

void kq_uniformity_correction_measurment_point_widget::setOrientation(bool rotate_to_portrait)
{
    m_portrait = rotate_to_portrait;
    updateGeometry();
    update();
}

void kq_uniformity_correction_measurment_point_widget::paintEvent(QPaintEvent *)
{
    const measurement_point_layout layout = measurement_point_layout_for(QSizeF(size()), m_x, m_y, m_portrait);
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing, true);
    const bool dark = palette().color(QPalette::Window).lightness() < kDarkPaletteLightness;
    painter.setPen(dark ? palette().color(QPalette::Light) : QColor(Qt::black));
    painter.setBrush(dark ? palette().color(QPalette::Dark) : kScreen);
    painter.drawRect(layout.screen);
    painter.setPen(Qt::NoPen);
    painter.setBrush(dark ? palette().color(QPalette::Light) : QColor(Qt::white));
    const double radius = layout.marker / 2;
    for (const QPointF &centre : layout.centres)
        painter.drawEllipse(centre, radius, radius);
}

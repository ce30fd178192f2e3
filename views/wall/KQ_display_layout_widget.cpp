#include "views/wall/KQ_display_layout_widget.h"

#include "app/controller/MasterControl.h"
#include "app/controller/color_calc_utils.h"
#include "app/controller/layout_manager.h"
#include "app/controller/master_globals.h"
#include "app/services/preferences.h"
#include "app/services/string_resource.h"
#include "colour/CAdjustValue.h"
#include "colour/CMonitorTracker.h"
#include "colour/CTargetValue.h"
#include "views/wall/target_offset_opener.h"
#include "views/wall/tile_text_fit.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QMenu>
#include <QPainter>

#include <algorithm>

namespace {

constexpr int kWidestTextId = 313; // "Calibrated\n+ Visual Trim"
constexpr int kRingMargin = 22;
constexpr int kRingWidth = 16;
constexpr int kSelectionWidth = 8;
constexpr int kIconInset = 4;
const QColor kFramePen(64, 64, 64);

const char *const kPictures[] = {"alerts_yellow_icon_20", "eye_adjust",       "kqe_calibrated", "kqe_detected",
                                 "kqe_disabled",          "offset_target_20", "rgb 16",         "kqe_no_sensor_cal"};

QString resource(const char *name)
{
    return QStringLiteral(":/images/Resources/%1.png").arg(QLatin1String(name));
}

layout_manager *wall_layout() { return g_master ? g_master->getLayoutManager() : nullptr; }

const CPreferences *preferences() { return g_master ? g_master->getPreferences() : nullptr; }

bool use_engine()
{
    const CPreferences *prefs = preferences();
    return prefs && prefs->GetUseQuillonEngine();
}

QAction *make_action(QWidget *owner, const QString &text, const char *icon, bool checkable)
{
    auto *action = new QAction(text, owner);
    if (icon)
        action->setIcon(QIcon(resource(icon)));
    action->setCheckable(checkable);
    owner->addAction(action);
    return action;
}

} // namespace

KQ_display_layout_widget::KQ_display_layout_widget(QWidget *parent) : QAbstractButton(parent)
{
    setAttribute(Qt::WA_Hover);
    for (const char *name : kPictures)
        m_pictures.insert(QLatin1String(name), std::make_shared<high_dpi_picture>(resource(name)));

    m_disable = make_action(this, tr("&Disable"), nullptr, true);
    m_identify = make_action(this, tr("&Identify"), "identify display 16", false);
    m_power_on = make_action(this, tr("&Power On"), "power-on16", false);
    m_power_off = make_action(this, tr("&Power Off"), "power-off16", false);
    m_edit_offset = make_action(this, tr("&Edit Calibration Target Offset..."), "offset_target_16", false);
    m_landscape = make_action(this, tr("Landscape"), "orientation_landscape", true);
    m_portrait = make_action(this, tr("Portrait"), "orientation_portrait", true);
    connect(m_disable, &QAction::triggered, this, &KQ_display_layout_widget::disable);
    connect(m_identify, &QAction::triggered, this, &KQ_display_layout_widget::identify_display);
    connect(m_power_on, &QAction::triggered, this, &KQ_display_layout_widget::power_on_display);
    connect(m_power_off, &QAction::triggered, this, &KQ_display_layout_widget::power_off_display);
    connect(m_edit_offset, &QAction::triggered, this, &KQ_display_layout_widget::edit_calibration_target_offset);
    connect(m_landscape, &QAction::triggered, this, &KQ_display_layout_widget::set_orientation_landscape);
    connect(m_portrait, &QAction::triggered, this, &KQ_display_layout_widget::set_orientation_portrait);
    connect(this, &QAbstractButton::toggled, this, &KQ_display_layout_widget::selection_changed);
}

KQ_display_layout_widget::~KQ_display_layout_widget() = default;

void KQ_display_layout_widget::set_layout_index(int index)
{
    m_index = index;
    updateInfo();
}

bool KQ_display_layout_widget::read_item()
{
    const layout_manager *layout = wall_layout();
    return layout && layout->get_item(m_index, m_item) == 0;
}

void KQ_display_layout_widget::updateInfo()
{
    if (!g_master)
        return;
    const CTargetValue target = g_master->getTarget();
    read_item(); // a failed read keeps the last copy
    tile_inputs inputs;
    inputs.target = &target;
    inputs.use_engine = use_engine();
    CAdjustValue record;
    const CMonitorTracker *records = g_master->getMonitorTracker();
    if (records && m_item.enabled && !m_item.id_conflict && look_up_display_record(*records, m_item, record)) {
        inputs.record = &record;
        double luminance = 0.0;
        if (!record.measurements.measurement_date_time.isNull()
            && color_calc_utils::calculate_record_max_luminance(record, target, luminance) == 0 && luminance > 0.0)
            inputs.reachable_luminance = luminance;
    }
    m_view = tile_view_of(m_item, inputs);
    setToolTip(m_view.tooltip);
    update();
}

void KQ_display_layout_widget::display_job_status_info_item_changed(int position)
{
    if (position != m_index || !read_item())
        return;
    m_view = tile_view_from(m_item, m_view.facts, use_engine());
    update();
}

void KQ_display_layout_widget::disable()
{
    if (read_item())
        set_enabled_in_layout(!m_item.enabled);
}

void KQ_display_layout_widget::set_enabled_in_layout(bool enabled)
{
    layout_manager *layout = wall_layout();
    display_layout_item item;
    if (!layout || layout->get_item(m_index, item) != 0)
        return;
    item.enabled = enabled;
    layout->set_item(m_index, item, true);
}

void KQ_display_layout_widget::selection_changed(bool checked)
{
    if (checked)
        emit selected(m_index);
}

void KQ_display_layout_widget::identify_display() { emit identify_display_out(m_index); }

void KQ_display_layout_widget::power_on_display() { emit power_on_display_out(m_index, 1); }

void KQ_display_layout_widget::power_off_display() { emit power_on_display_out(m_index, 0); }

void KQ_display_layout_widget::edit_calibration_target_offset() { open_target_offset_editor(m_index, this); }

void KQ_display_layout_widget::set_orientation_landscape() { set_orientation(display_layout_item::kLandscape, 0); }

void KQ_display_layout_widget::set_orientation_portrait() { set_orientation(display_layout_item::kPortrait, 1); }

void KQ_display_layout_widget::set_orientation(int orientation, int osd_value)
{
    layout_manager *layout = wall_layout();
    display_layout_item item;
    if (!layout || layout->get_item(m_index, item) != 0)
        return;
    if (item.orientation != orientation) {
        item.orientation = orientation;
        layout->set_item(m_index, item, true);
    }
    emit set_osd_orientation_out(m_index, osd_value);
}

void KQ_display_layout_widget::update_action_states()
{
    read_item();
    m_disable->setChecked(!m_item.enabled);
    m_edit_offset->setEnabled(m_item.verify_status == display_layout_item::kVerified);
    m_landscape->setChecked(m_item.orientation == display_layout_item::kLandscape);
    m_portrait->setChecked(m_item.orientation == display_layout_item::kPortrait);
}

void KQ_display_layout_widget::contextMenuEvent(QContextMenuEvent *event)
{
    update_action_states();
    QMenu menu(this);
    menu.addAction(m_disable);
    menu.addAction(m_identify);
    menu.addAction(m_power_on);
    menu.addAction(m_power_off);
    menu.addAction(m_edit_offset);
    QMenu *orientation = menu.addMenu(tr("Orientation"));
    orientation->addAction(m_landscape);
    orientation->addAction(m_portrait);
    menu.exec(event->globalPos());
}

void KQ_display_layout_widget::enterEvent(QEvent *event)
{
    m_hover = true;
    update();
    QAbstractButton::enterEvent(event);
}

void KQ_display_layout_widget::leaveEvent(QEvent *event)
{
    m_hover = false;
    update();
    QAbstractButton::leaveEvent(event);
}

void KQ_display_layout_widget::focusInEvent(QFocusEvent *event)
{
    emit focus_changed_out(this);
    QAbstractButton::focusInEvent(event);
}

QSize KQ_display_layout_widget::minimumSizeHint() const
{
    const QFontMetrics metrics(font());
    const int side = std::max(5 * metrics.height() + 10, metrics.boundingRect(string_resource(kWidestTextId)).width());
    return QSize(side, side);
}

void KQ_display_layout_widget::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QRect frame(2, 2, width() - 4, height() - 4);
    const QColor fill = m_hover ? m_view.hover_fill : m_view.fill;
    painter.setBrush(fill);
    painter.setPen(QPen(kFramePen, m_hover ? 2 : 1));
    painter.drawRect(m_hover ? frame.adjusted(0, 0, 1, 1) : frame);
    draw_ring(painter, fill);
    draw_icons(painter, frame);
    draw_text(painter, frame);
    if (isChecked()) {
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(Qt::white, kSelectionWidth));
        painter.drawRect(rect().adjusted(1, 1, -1, -1));
    }
}

void KQ_display_layout_widget::draw_ring(QPainter &painter, const QColor &fill)
{
    if (m_view.ring == tile_ring::none)
        return;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(Qt::NoBrush);
    int side = std::min(width(), height());
    if (side > kRingMargin)
        side -= kRingMargin;
    QRect ring(0, 0, side, side);
    ring.moveCenter(rect().center());
    QPen pen(fill.darker(120), kRingWidth, Qt::SolidLine, Qt::FlatCap);
    if (m_view.ring == tile_ring::dotted) {
        pen.setStyle(Qt::DotLine);
        painter.setPen(pen);
        painter.drawEllipse(ring);
    } else {
        painter.setPen(pen);
        painter.drawEllipse(ring);
        pen.setColor(fill.darker(200));
        painter.setPen(pen);
        // Qt counts sixteenths of a degree, anticlockwise from 3 o'clock.
        painter.drawArc(ring, 90 * 16, -qRound(m_view.ring_degrees * 16));
    }
    painter.restore();
}

void KQ_display_layout_widget::draw_icons(QPainter &painter, const QRect &frame)
{
    const int ratio = devicePixelRatioF() >= 2.0 ? 2 : 1;
    int x = frame.left() + kIconInset;
    for (const QString &name : m_view.icons) {
        const std::shared_ptr<high_dpi_picture> picture = m_pictures.value(name);
        if (!picture)
            continue;
        const QPixmap &pixmap = picture->forRatio(ratio);
        painter.drawPixmap(x, frame.top() + kIconInset, pixmap);
        x += qRound(QSizeF(pixmap.size()).width() / pixmap.devicePixelRatio());
    }
}

void KQ_display_layout_widget::draw_text(QPainter &painter, const QRect &frame)
{
    const CPreferences *prefs = preferences();
    const QString text = tile_text(m_index, m_view.status_text_id);
    const tile_text_layout layout = fit_tile_text(font(), text, rect(), frame, prefs && prefs->GetExpandMainView());
    painter.setFont(layout.font);
    painter.setPen(Qt::black); // every fill is light
    painter.drawText(layout.rect, layout.flags, text);
}

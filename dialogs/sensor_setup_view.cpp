#include "dialogs/sensor_setup_view.h"

#include <QLabel>
#include <QPixmap>
#include <QPushButton>

void show_sensor_setup_view(const sensor_setup_state::view &shown, const guarded_sensor &sensor, QLabel *text,
                            QLabel *picture, QPushButton *ok)
{
    using view = sensor_setup_state::view;
    if (shown.text)
        text->setText(*shown.text);
    switch (shown.picture) {
    case view::keep_picture:
        break;
    case view::clear_picture:
        picture->clear();
        break;
    case view::selector_picture: {
        const QImage image = sensor.with<QImage>(
            [&shown](CSensor &s) { return s.GetMeasurementSelectorPixmap(shown.selector_position); }, QImage());
        picture->setPixmap(QPixmap::fromImage(image));
        break;
    }
    case view::file_picture:
        picture->setPixmap(QPixmap(shown.picture_file));
        break;
    }
    if (ok && shown.ok_enabled)
        ok->setEnabled(*shown.ok_enabled);
    if (ok && shown.focus_ok)
        ok->setFocus();
}

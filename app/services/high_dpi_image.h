#pragma once

#include <QString>

// The picture to load for |name| at |devicePixelRatio|: its "@2x.png"
// variant, with |scale| 2, when the ratio is above 1 and that picture
// loads; otherwise |name| itself with |scale| 1.
QString high_dpi_image_name(const QString &name, int devicePixelRatio, int *scale = nullptr);

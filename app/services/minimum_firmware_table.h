#pragma once

#include <QString>

// The oldest firmware that works with a display model (model names compared
// without regard to case); empty for a model without a minimum.
QString minimum_firmware_of(const QString &model);

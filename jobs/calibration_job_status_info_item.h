#pragma once

#include <QMetaType>
#include <QString>
#include <QtGlobal>

// One progress report of a calibration or measurement, from the worker to
// the progress dialog; |kind| (a calibration_status_kind) says which payload
// fields carry what.
struct calibration_job_status_info_item
{
    qint32 kind = 0;
    qint32 position = 0;    // the display's index in the wall layout
    qint32 value = 0;
    double d1 = 0.0;
    double d2 = 0.0;
    double d3 = 0.0;
    QString text;
};

Q_DECLARE_METATYPE(calibration_job_status_info_item)

#pragma once

#include <QString>

// The pictures (resource paths) and instruction texts that tell the operator
// how to place and set up the active instrument. A driver fills only what
// applies to its instrument; everything else stays empty.
struct SensorPlacementInfo
{
    QString calibrationPicture;
    QString displayPicture;
    QString selectorToAmbientPicture;
    QString selectorToDisplayPicture;
    QString ambientPicture;
    QString iconPicture;
    QString ambientMessage;
    QString selectorMessage;      // appended when the selector must be moved to the display position
    QString calibrationMessage;   // the instrument (zero) calibration instruction
    QString beforeDisplayMessage; // rich text: the placement hint before display measurements
    QString beforeAmbientMessage; // rich text: turning the selector to the ambient position
};

// The folder of the instrument pictures among the program's resources.
inline const QString kSensorPictures = QStringLiteral(":/images/Resources/");

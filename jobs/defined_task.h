#pragma once

// The steps of the display tasks and of a calibration run that the step
// picture shows, announced with StartingDefinedTask.
enum defined_task : int {
    kDefinedTaskWhitePoint = 4,
    kDefinedTaskUncorrectedGreyscale = 6,
    kDefinedTaskEngineCustomCurve = 7,
    kDefinedTaskSettling = 8,   // the display settles at a new luminance
    kDefinedTaskIntensity = 9,
    kDefinedTaskBlackLevel = 10,
    kDefinedTaskRestoreAfterFailure = 11,
    kDefinedTaskPlacementGreen = 13,
    kDefinedTaskPlacementRed = 14,
    kDefinedTaskMeasureCalibrated = 17,
    kDefinedTaskRed = 20,
    kDefinedTaskGreen = 21,
    kDefinedTaskBlue = 22,
    kDefinedTaskBlack = 23,
    kDefinedTaskWhite = 24,
};

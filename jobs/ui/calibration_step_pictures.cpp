#include "jobs/ui/calibration_step_pictures.h"

#include <iterator>

namespace {

constexpr int kSettlingWaitTask = 8;

struct step_picture
{
    int task;
    const char *picture;
};

constexpr step_picture kPictures[] = {
    {1, "monitor adjust 128.png"},
    {4, "rgb gain adjust128.png"},
    {6, "gamma uncorrected 128.png"},
    {7, "gamma adjust 128.png"},
    {8, "brightness wait128.png"},
    {9, "brightness adjust128.png"},
    {10, "brightness adjust128.png"},
    {11, "monitor adjust 128.png"},
    {13, "sensor_placement_on_lcd_green_128.png"},
    {14, "sensor_placement_on_lcd_red_128.png"},
    {15, "verify_communications_128.png"},
    {17, "gamma blue 128.png"},
    {20, "cie gamut red128.png"},
    {21, "cie gamut green128.png"},
    {22, "cie gamut blue128.png"},
    {23, "cie gamut black128.png"},
    {24, "cie gamut white128.png"},
    {25, "gamma blue 128.png"},
};

// The countdown sits in the picture's clock face, drawn for 128 pixels.
constexpr int kDesignSide = 128;
constexpr int kClockX = 70;
constexpr int kClockY = 58;

} // namespace

QString calibration_step_picture(int task)
{
    for (const step_picture &entry : kPictures) {
        if (entry.task == task)
            return QStringLiteral(":/images/Resources/") + QLatin1String(entry.picture);
    }
    return QString();
}

int calibration_step_wait_time(int task, int wait_seconds)
{
    return task == kSettlingWaitTask ? wait_seconds : 0;
}

QRect calibration_step_countdown_rect(int side)
{
    const int left = side * kClockX / kDesignSide - side / 2 + 1;
    const int top = side * kClockY / kDesignSide - side / 2 + 1;
    return QRect(left, top, side, side);
}

#include "dialogs/custom_curve_file.h"

#include "colour/CSpline.h"

#include <QFile>
#include <QVector>

#include <cmath>

using namespace custom_curve_file;

namespace {

// One line without its ending, or false when it runs past the line bound.
bool read_bounded_line(QFile &file, QByteArray &line)
{
    // Room for one byte past the bound, so that an overlong line shows.
    line = file.readLine(kMaximumLineBytes + 2);
    if (line.endsWith('\n'))
        line.chop(1);
    else if (line.size() > kMaximumLineBytes)
        return false;
    if (line.endsWith('\r'))
        line.chop(1);
    return true;
}

// The values of the file as the checks see them, and the code of the read.
// |refused| is set for a file that does not fit the bounds; nothing of it
// counts then.
int read_values(QFile &file, QVector<double> &values, bool &refused)
{
    int result = 0;
    qint64 bytesRead = 0;
    QByteArray line;
    while (!file.atEnd()) {
        refused = !read_bounded_line(file, line);
        bytesRead += line.size() + 1;
        refused = refused || bytesRead > kMaximumFileBytes;
        if (refused)
            return kErrInvalidData;
        if (line.isEmpty())
            continue;
        bool ok = false;
        const double value = QString::fromLatin1(line).toDouble(&ok);
        // "nan" and "inf" convert; they are no curve value.
        if (!ok || !std::isfinite(value))
            return kErrInvalidData;
        if (values.size() < kMaximumPoints)
            values.append(value);
        else
            result = kErrTooManyPoints;
    }
    return result;
}

int check_values(const QVector<double> &values, int result)
{
    if (values.size() < kMinimumPoints)
        return kErrNotEnoughPoints;
    if (values.first() != 0.0)
        return kErrFirstNotZero;
    for (int i = 1; i < values.size(); ++i) {
        if (values[i] < values[i - 1])
            return kErrNotMonotonic;
    }
    // All zeros, or a last value that single precision turns into 0 or
    // infinity, would scale every point into NaN or 0.
    const float scale = static_cast<float>(values.last());
    if (!(scale > 0.0f) || !std::isfinite(scale))
        return kErrInvalidData;
    return result;
}

} // namespace

int read_custom_curve_file(const QString &path, CSpline &curve)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return kErrOpen;
    if (file.size() > kMaximumFileBytes)
        return kErrInvalidData;

    QVector<double> values;
    bool refused = false;
    int result = read_values(file, values, refused);
    if (refused)
        return result;
    // A line that is no number ends the reading; the counts still decide first.
    result = check_values(values, result);
    if (result != 0)
        return result;

    const int count = values.size();
    const double scale = static_cast<float>(values.last());
    CSpline read;
    read.Init(4, count, 0.0, 1.0);
    for (int j = 0; j < count; ++j)
        read.SetPoint(j, static_cast<double>(j) / (count - 1), values[j] / scale);
    read.SetValid(true);
    curve = read;
    return 0;
}

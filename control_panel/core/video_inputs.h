#pragma once

#include <QList>
#include <QString>

// The display inputs the control panel offers, by the display's input-source
// code, in the order of its lists; each named by the string table.
namespace video_inputs {

const QList<int> &codes();
QString name(int code);

} // namespace video_inputs

#include "control_panel/core/video_inputs.h"

#include "app/services/string_resource.h"

namespace video_inputs {

namespace {
constexpr int kNameBase = 1200;
}

const QList<int> &codes()
{
    static const QList<int> inputs = {17, 18, 130, 131, 15, 16, 128, 135, 136, 1, 2,  3,
                                      5,  6,  7,   9,   10, 12, 14,  13,  132, 133, 134};
    return inputs;
}

QString name(int code)
{
    return string_resource(kNameBase + code);
}

} // namespace video_inputs

#include "app/window/project_file.h"

#include "app/controller/layout_manager.h"
#include "app/services/save_file.h"
#include "colour/CMonitorTracker.h"
#include "colour/CTargetValue.h"
#include "colour/stream_record.h"

#include <QDataStream>
#include <QFile>

namespace project_file {

namespace {

// A part reader's result, made an error when the stream failed under it.
int part_status(int reader_status, const QDataStream &stream)
{
    if (reader_status != 0)
        return reader_status;
    return stream_record::status_code(stream, kErrRead);
}

} // namespace

int write(const QString &path, const layout_manager &layout, const CMonitorTracker &records,
          const CTargetValue &target)
{
    return save_stream_file(path, [&](QDataStream &stream) {
        layout.write(stream);
        if (const int status = stream_record::write_status(stream))
            return status;
        if (const int status = records.Write(stream))
            return status;
        return target.Write(stream);
    });
}

int read(const QString &path, layout_manager &layout, CMonitorTracker &records, CTargetValue &target,
         bool *layout_read)
{
    *layout_read = false;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return kErrOpen;
    QDataStream stream(&file);
    stream_record::prepare(stream);

    layout.read(stream);
    // Taken at once: the layout's record queries overwrite its status.
    int status = part_status(layout.get_status(), stream);
    if (status != 0)
        return status;
    *layout_read = true;

    status = part_status(records.Read(stream), stream);
    if (status != 0)
        return status;

    CTargetValue read_target;
    status = part_status(read_target.Read(stream), stream);
    if (status != 0)
        return status;
    target = read_target;
    return 0;
}

} // namespace project_file

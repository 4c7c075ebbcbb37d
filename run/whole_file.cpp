#include "run/whole_file.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace wienbridge {

bool writeWholeFile(const QString& path, const std::function<bool(QIODevice&)>& write)
{
    const QFileInfo info(path);
    if (info.exists() && !info.isFile() && !info.isDir()) {
        // A device is never replaced: a temporary file renamed over /dev/full would take its place.
        QFile device(path);
        return device.open(QIODevice::WriteOnly) && write(device) && device.flush();
    }
    QSaveFile file(path);
    // Flushed first: Qt's commit() notices a write that failed in write(), but
    // not one that failed as it emptied its buffer, and would put a cut file in place.
    return file.open(QIODevice::WriteOnly) && write(file) && file.flush() && file.commit();
}

}  // namespace wienbridge

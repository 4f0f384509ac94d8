#include "platform/volume.h"

#include <QFile>

#include <sys/statvfs.h>

namespace platform {

QString formatVolumeSerial(quint32 serial) {
    const QString hex = QStringLiteral("%1").arg(serial, 8, 16, QLatin1Char('0')).toUpper();
    return hex.left(4) + QLatin1Char('-') + hex.mid(4);
}

QString volumeSerialText(const QString& path) {
    struct statvfs info {};
    if (path.isEmpty() || statvfs(QFile::encodeName(path).constData(), &info) != 0)
        return volumeSerialFallback();
    const auto id = static_cast<quint64>(info.f_fsid);
    const auto serial = static_cast<quint32>(id ^ (id >> 32));
    return formatVolumeSerial(serial);
}

} // namespace platform

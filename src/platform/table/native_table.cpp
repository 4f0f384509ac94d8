#include "platform/table/native_table.h"

#include <QByteArray>
#include <QFile>

namespace table {

bool isNativeTable(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return true;
    static const QByteArray header("SQLite format 3\0", 16);
    return file.read(16) == header;
}

} // namespace table

// The volume serial text: a short text that stays the same for one computer and storage device,
// the key of remembered-password files.
#pragma once

#include <QString>

namespace platform {

// The serial text of the device holding `path`: the file-system id of the device, its two 32-bit
// halves combined by XOR, as 8 upper-case hex digits with "-" after the fourth ("1A2B-3C4D");
// volumeSerialFallback() when it cannot be read. The program asks for the device of its study
// files (the program folder's dat/), never of the working directory, which depends on how the
// program was started.
QString volumeSerialText(const QString& path);

// The serial text of a 32-bit serial number: "XXXX-XXXX".
QString formatVolumeSerial(quint32 serial);

// The fixed text used when the device's id cannot be read.
inline QString volumeSerialFallback() {
    return QStringLiteral("OB2");
}

} // namespace platform

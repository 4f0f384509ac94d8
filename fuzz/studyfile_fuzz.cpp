// Feeds arbitrary bytes to the readers of study-file data: a design-record file (plain or
// enciphered with a fixed password), the flags line parser over its first line, and packed card
// content with the short answer read from it. Each either reads or fails with its error
// (DamagedRecord, a wrong-password error, CorruptFile); none crashes.

#include "streams/corrupt_file.h"
#include "streams/qx_streams.h"
#include "studyfile/card_content.h"
#include "studyfile/design_record.h"

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <stdexcept>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    try {
        const QStringList lines = studyfile::readDesignRecordImage(bytes, QStringLiteral("clave"));
        const studyfile::DesignRecord r = studyfile::parseDesignRecord(lines);
        // What was read writes back to a record that reads the same options.
        const QStringList again = studyfile::designRecordLines(r.options, r.description);
        if (studyfile::parseDesignRecord(again).options != r.options)
            __builtin_trap();
    } catch (const std::runtime_error&) {
    }
    // The raw bytes as a flags line.
    try {
        studyfile::parseFlagsLine(QString::fromLatin1(bytes));
    } catch (const studyfile::DamagedRecord&) {
    }
    // Packed card content.
    streams::TQXStreams qxs;
    qxs.Key = QStringLiteral("clave");
    try {
        studyfile::shortAnswerText(studyfile::unpackContent(qxs, bytes));
    } catch (const streams::CorruptFile&) {
    }
    return 0;
}

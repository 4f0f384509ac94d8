// Feeds arbitrary bytes to the RTF readers. Besides not crashing, the lines read from any input
// must survive writeLines/readLines unchanged, and a document read from any input must write out
// and read back with the same text.

#include "platform/rtf/rtf.h"

#include <QByteArray>
#include <QGuiApplication>
#include <QTextDocument>

#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    static QGuiApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // Inputs that do not start with the signature are mostly plain text; make most of them RTF.
    QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    if (size > 0 && (data[0] & 1))
        bytes.prepend("{\\rtf1 ");

    const QStringList lines = rtf::readLines(bytes);
    if (rtf::isRtf(bytes) && rtf::readLines(rtf::writeLines(lines)) != lines) {
        std::fprintf(stderr, "lines changed by writeLines/readLines\n");
        std::abort();
    }

    QTextDocument doc;
    rtf::readDocument(bytes, doc);
    const QString text = doc.toPlainText();
    QTextDocument back;
    rtf::readDocument(rtf::writeDocument(doc), back);
    if (back.toPlainText() != text) {
        std::fprintf(stderr, "document text changed by writeDocument/readDocument\n");
        std::abort();
    }
    return 0;
}

// Text files of other programs: arbitrary bytes decoded once (UTF-16 with its mark, UTF-8 or
// Windows-1252) and split into lines. Odd-length UTF-16, unpaired surrogates and stray marks must
// neither crash nor leave a line break inside a line, and the lines written back as a text file
// must read the same.

#include "platform/rtf/codepage.h"
#include "platform/text_file.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const QString text = textfile::decodeText(bytes);
    const QStringList lines = rtf::splitLines(text);
    for (const QString& line : lines) {
        if (line.contains(u'\r') || line.contains(u'\n')) {
            std::fprintf(stderr, "a line holds a line break\n");
            std::abort();
        }
        for (qsizetype i = 0; i < line.size(); ++i) {
            const QChar c = line[i];
            const bool paired = c.isHighSurrogate()
                                    ? i + 1 < line.size() && line[i + 1].isLowSurrogate()
                                : c.isLowSurrogate() ? i > 0 && line[i - 1].isHighSurrogate()
                                                     : true;
            if (!paired) {
                std::fprintf(stderr, "an unpaired surrogate in a line\n");
                std::abort();
            }
        }
    }
    // What the program writes reads back as the same lines (a mark character at the very start
    // is taken for the file's byte order mark, as every reader takes it).
    const bool leadingMark = !lines.isEmpty() && lines[0].startsWith(QChar(0xFEFF));
    if (!leadingMark) {
        const QByteArray written = textfile::textLinesBytes(lines);
        if (rtf::splitLines(textfile::decodeText(written)) != lines) {
            std::fprintf(stderr, "lines changed when written and read back\n");
            std::abort();
        }
    }
    return 0;
}

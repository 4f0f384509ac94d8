// Feeds arbitrary text to the filter of a small card table. A filter either applies or fails with
// EngineError; it never crashes, and an accepted filter leaves the table readable.

#include "platform/table/table.h"
#include "studyfile/card_table.h"

#include <QDir>
#include <QString>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>

namespace {

table::Table* cards() {
    static QTemporaryDir dir;
    static table::Table t;
    if (!t.isOpen()) {
        const QString path = QDir(dir.path()).filePath(QStringLiteral("F.DB"));
        studyfile::createCardTable(path);
        t.open(dir.path(), QStringLiteral("F.DB"));
        const char* keys[] = {"", "Europa", "Asia", "O'Hara"};
        for (int i = 0; i < 8; ++i) {
            t.append();
            t.fieldByName(QStringLiteral("Nive_Fich")).setInteger(i % 4);
            if (i % 3)
                t.fieldByName(QStringLiteral("Clav_Fich"))
                    .setString(QString::fromLatin1(keys[i % 4]));
            t.fieldByName(QStringLiteral("Fech_Prox_Repa"))
                .setString(QStringLiteral("2026121") + QString::number(i));
            t.fieldByName(QStringLiteral("Camp_Logi")).setBoolean(i % 2);
            t.post();
        }
        t.setFiltered(true);
    }
    return &t;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    table::Table* t = cards();
    const QString text =
        QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    try {
        t->setFilter(text);
    } catch (const table::EngineError&) {
        return 0;
    }
    const int count = t->recordCount();
    if (count < 0 || count > 8) {
        std::fprintf(stderr, "filter gave %d rows of 8\n", count);
        std::abort();
    }
    int walked = 0;
    for (t->first(); !t->eof(); t->next())
        ++walked;
    if (walked != count) {
        std::fprintf(stderr, "walked %d rows, count says %d\n", walked, count);
        std::abort();
    }
    return 0;
}

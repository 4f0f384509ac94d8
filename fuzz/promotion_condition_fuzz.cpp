// Feeds arbitrary text to the promotion screen's conditions: as the card key of a key condition,
// and as the importance field of an importance condition (where the screen's digit rule lets it
// through). The first byte chooses the operator. Whatever the learner types, the condition built
// must be a filter the engine reads and runs over a card table: an engine error here is a fault.

#include "platform/table/filter.h"
#include "platform/table/table.h"
#include "review/promotion.h"
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
        const QString path = QDir(dir.path()).filePath(QStringLiteral("P.DB"));
        studyfile::createCardTable(path);
        t.open(dir.path(), QStringLiteral("P.DB"));
        const char* keys[] = {"", "verbos", "O'Hara", "tema*"};
        for (int i = 0; i < 8; ++i) {
            t.append();
            t.fieldByName(QStringLiteral("Nive_Fich")).setInteger(i % 2);
            t.fieldByName(QStringLiteral("Nive_Impo")).setInteger(i * 3);
            t.fieldByName(QStringLiteral("Clav_Fich")).setString(QString::fromLatin1(keys[i % 4]));
            t.post();
        }
    }
    return &t;
}

const std::vector<table::FieldDef>& cardFields() {
    static const std::vector<table::FieldDef> fields = studyfile::cardTableFields(60);
    return fields;
}

// The condition compiles against the card table's fields and counts at most its 8 cards.
void check(const QString& condition) {
    try {
        table::filter::compile(condition, [](const QString& name) -> const table::FieldDef* {
            for (const table::FieldDef& f : cardFields())
                if (f.name.compare(name, Qt::CaseInsensitive) == 0)
                    return &f;
            return nullptr;
        });
        const int n = cards()->countMatching(condition);
        if (n < 0 || n > 8) {
            std::fprintf(stderr, "condition %s counted %d of 8 cards\n",
                         condition.toUtf8().constData(), n);
            std::abort();
        }
    } catch (const table::EngineError& e) {
        std::fprintf(stderr, "condition %s refused: %s\n", condition.toUtf8().constData(),
                     e.what());
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    const auto comparison = static_cast<review::Comparison>(data[0] % 5);
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data + 1),
                                           static_cast<qsizetype>(size - 1));
    check(review::keyCondition(comparison, text));
    // The importance field as the screen reads it: its trimmed text, when it is a number.
    if (const auto importance = review::digitsNumber(text.trimmed(), 6))
        check(review::importanceCondition(comparison, *importance));
    return 0;
}

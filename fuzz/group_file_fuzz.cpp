// Group files and card lines: the first byte chooses the separator (its Windows-1252 character),
// the rest is a file, decoded and split into lines as the group entry screen and the text imports
// read them. Every line is split into a card and every importance text parsed. Two properties:
// a line with at least three separators is the card's four fields joined by the separator; and
// rows without "&", CR or LF, written as a group file and read back, give the same rows (a
// blank key or importance may come back as other blanks, which read the same; a mark character
// at the very start of the file is taken for its byte order mark).

#include "editing/group_entry.h"
#include "platform/rtf/codepage.h"
#include "platform/text_file.h"
#include "studyfile/card_line.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cstdio>
#include <cstdlib>

namespace {

[[noreturn]] void fail(const char* what) {
    std::fprintf(stderr, "%s\n", what);
    std::abort();
}

bool sameCell(const QString& a, const QString& b) {
    return a == b || (studyfile::isBlank(a) && studyfile::isBlank(b));
}

bool clean(const QString& s) {
    return !s.contains(u'&') && !s.contains(u'\r') && !s.contains(u'\n');
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    const QChar separator(rtf::windows1252Char(data[0]));
    const QByteArray bytes(reinterpret_cast<const char*>(data + 1),
                           static_cast<qsizetype>(size - 1));
    const QStringList lines = rtf::splitLines(textfile::decodeText(bytes));

    editing::GroupRows rows;
    for (const QString& line : lines) {
        const studyfile::CardLine card = studyfile::splitCardLine(line, separator);
        if (line.count(separator) >= 3 && card.question + separator + card.answer + separator +
                                                  card.key + separator + card.importance !=
                                              line)
            fail("a line with three separators is not its fields joined");
        if (line.count(separator) < 3 && card.importance.contains(separator))
            fail("a separator in the importance text of a line with fewer than three");
        const studyfile::ImportanceValue v = studyfile::parseImportance(card.importance);
        if (v.kind == studyfile::ImportanceValue::Kind::Number &&
            (v.value < -32768 || v.value > 32767))
            fail("an importance out of range");
        if (v.kind != studyfile::ImportanceValue::Kind::Number && v.value != 0)
            fail("a value for an importance that is no number");
        const editing::GroupRow row{card.question, card.answer, card.key, card.importance};
        if (row.inUse() && clean(row.question) && clean(row.answer) && clean(row.key) &&
            clean(row.importance) && rows.size() < std::size_t(editing::kGroupRows))
            rows.push_back(row);
    }

    // Written as the screen writes them, with no shared key or importance, and read back.
    const editing::GroupFileText text = editing::groupFileLines(rows, editing::GroupShared{});
    if (text.problem)
        fail("a row without \"&\" refused");
    if (text.lines.size() != qsizetype(rows.size()))
        fail("not one line per row in use");
    if (!rows.empty() && rows[0].question.startsWith(QChar(0xFEFF)))
        return 0;
    const editing::GroupFileRows back = editing::groupRowsFromLines(
        rtf::splitLines(textfile::decodeText(textfile::textLinesBytes(text.lines))));
    if (back.rows.size() != rows.size())
        fail("a different number of rows read back");
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const editing::GroupRow& a = rows[i];
        const editing::GroupRow& b = back.rows[i];
        if (a.question != b.question || a.answer != b.answer || !sameCell(a.key, b.key) ||
            !sameCell(a.importance, b.importance))
            fail("a row changed when written and read back");
    }
    return 0;
}

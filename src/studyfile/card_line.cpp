#include "studyfile/card_line.h"

namespace studyfile {

CardLine splitCardLine(QStringView line, QChar separator) {
    CardLine card;
    QString* fields[] = {&card.question, &card.answer, &card.key};
    qsizetype start = 0;
    for (QString* field : fields) {
        const qsizetype at = line.indexOf(separator, start);
        if (at < 0)
            break;
        *field = line.mid(start, at - start).toString();
        start = at + 1;
    }
    card.importance = line.mid(start).toString();
    return card;
}

bool isBlank(QStringView text) {
    return text.trimmed().isEmpty();
}

ImportanceValue parseImportance(QStringView text) {
    using Kind = ImportanceValue::Kind;
    const QStringView t = text.trimmed();
    if (t.isEmpty())
        return {Kind::Blank, 0};
    qsizetype i = 0;
    bool negative = false;
    if (t[0] == u'+' || t[0] == u'-') {
        negative = t[0] == u'-';
        ++i;
    }
    if (i == t.size())
        return {Kind::Invalid, 0};
    qint64 value = 0;
    for (; i < t.size(); ++i) {
        const char16_t c = t[i].unicode();
        if (c < u'0' || c > u'9')
            return {Kind::Invalid, 0};
        value = value * 10 + (c - u'0');
        // Past the range: no need to read on (and no overflow of many digits).
        if (value > 32768)
            return {Kind::Invalid, 0};
    }
    if (negative)
        value = -value;
    if (value < -32768 || value > 32767)
        return {Kind::Invalid, 0};
    return {Kind::Number, int(value)};
}

} // namespace studyfile

#include "studyfile/listed_card.h"

#include "platform/rtf/rtf.h"
#include "platform/table/table.h"
#include "studyfile/card_content.h"
#include "studyfile/card_store.h"

#include <QRegularExpression>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>

namespace studyfile {

QByteArray longAnswerDocument(const QString& answer, const FontStyle& style) {
    static const QRegularExpression breaks(QStringLiteral("\r\n|\r|\n|\u2029|\u2028"));
    QString line = answer;
    line.replace(breaks, QStringLiteral(" "));
    QTextDocument doc;
    QTextCursor cursor(&doc);
    QTextCharFormat format;
    format.setFont(style.font);
    format.setForeground(style.colour);
    cursor.setBlockCharFormat(format);
    cursor.insertText(line, format);
    return rtf::writeDocument(doc);
}

void writeListedCard(table::Table& cards, streams::TQXStreams& qxs, const DesignOptions& design,
                     bool packedContent, const ListedCard& card, const QString& todayKey,
                     const FontStyle& fontStyle) {
    const auto field = [&](const char* name) { return cards.fieldByName(QLatin1String(name)); };
    field("Nive_Fich").setInteger(card.level);
    if (!design.importanceLevel)
        field("Nive_Impo").setInteger(0);
    else if (card.importance)
        field("Nive_Impo").setInteger(*card.importance);
    else
        field("Nive_Impo").clear();
    if (design.cardKey)
        field("Clav_Fich").setString(card.cardKey);
    else
        field("Clav_Fich").clear();

    // The content as the card store writes a new card's: the packing state, the short answer
    // (not with long answer text: the answer goes to the long answer alone), the long answer.
    // Pictures come as stored bytes, not as pictures to encode, so they are added below.
    DesignOptions content = design;
    if (design.longAnswerText)
        content.shortAnswerSize = 0;
    content.questionImage = false;
    content.answerImage = false;
    CardEdit edit;
    edit.shortAnswer = card.answer;
    if (design.longAnswerText)
        edit.longAnswerRtf =
            card.longAnswerRtf ? *card.longAnswerRtf : longAnswerDocument(card.answer, fontStyle);
    ContentWrite w = contentWrite(qxs, content, packedContent, edit, nullptr);
    const auto picture = [&](bool designHas, const std::optional<ListedPicture>& p,
                             std::optional<QString>& kind, std::optional<QByteArray>& data) {
        if (!designHas || !p)
            return;
        kind = p->kind;
        data = p->bytes.isEmpty() || !packedContent ? p->bytes : packContent(qxs, p->bytes);
    };
    picture(design.questionImage, card.questionPicture, w.questionKind, w.questionPicture);
    picture(design.answerImage, card.answerPicture, w.answerKind, w.answerPicture);
    writeContentFields(cards, w);

    field("Preg_Text").setString(card.question);
    field("Fech_Crea").setString(todayKey);
    field("Fech_Ulti_Repa").clear();
    field("Total_Repa").setInteger(0);
}

void appendListedCard(table::Table& cards, streams::TQXStreams& qxs, const DesignOptions& design,
                      bool packedContent, const ListedCard& card, const QString& todayKey,
                      const FontStyle& fontStyle) {
    try {
        cards.append();
        writeListedCard(cards, qxs, design, packedContent, card, todayKey, fontStyle);
        cards.post();
    } catch (...) {
        if (cards.state() == table::Table::State::Insert)
            cards.cancel();
        throw;
    }
}

} // namespace studyfile

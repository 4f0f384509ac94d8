#include "studyfile/card_store.h"

#include "platform/table/table.h"
#include "streams/qx_streams.h"

namespace studyfile {

void writeCard(table::Table& cards, streams::TQXStreams& qxs, const DesignOptions& design,
               bool packedContent, const CardEdit& edit, const StoredCard* old,
               const QString& todayKey) {
    const auto field = [&](const char* name) { return cards.fieldByName(QLatin1String(name)); };
    const bool newCard = old == nullptr;
    field("Preg_Text").setString(edit.question);
    if (design.cardKey)
        field("Clav_Fich").setString(edit.cardKey);
    if (design.importanceLevel)
        field("Nive_Impo").setInteger(edit.importance < 1 ? 0 : edit.importance);
    if (newCard) {
        field("Nive_Fich").setInteger(edit.level);
        field("Total_Repa").setInteger(0);
        field("Fech_Crea").setString(todayKey);
        field("Fech_Prox_Repa").setString(todayKey);
        field("Fech_Ulti_Repa").clear();
    }

    const QString oldState = newCard ? QString() : old->state;
    const PackingStateChange change = packingStateFor(oldState, packedContent);
    field("Ficha_Comp_Encr").setString(change.state);
    const auto store = [&](const QByteArray& plain) {
        return packedContent ? packContent(qxs, plain) : plain;
    };
    const auto setBytes = [&](const char* name, const QByteArray& bytes) {
        if (bytes.isEmpty())
            field(name).clear();
        else
            field(name).setBytes(bytes);
    };
    // Stored bytes that were read plain and must now be packed: every part the edit leaves is
    // packed as it is. (Packed bytes never need unpacking here: a study file that packs writes
    // every card packed, and one that does not reads every card plain.)
    const bool repack = !newCard && !cardIsPacked(oldState, packedContent) && packedContent;
    const auto keep = [&](const char* name, const QByteArray& stored) {
        if (repack && !stored.isEmpty())
            field(name).setBytes(store(stored));
    };

    if (design.shortAnswerSize > 0 && (newCard || edit.shortAnswer))
        field("Resp_Text").setBytes(store(shortAnswerBytes(edit.shortAnswer.value_or(QString()))));
    else if (!newCard)
        keep("Resp_Text", old->shortAnswer);

    if (design.longAnswerText && (newCard || edit.longAnswerRtf)) {
        const QByteArray rtf = edit.longAnswerRtf.value_or(QByteArray());
        setBytes("Resp_Memo", rtf.isEmpty() ? QByteArray() : store(rtf));
    } else if (!newCard) {
        keep("Resp_Memo", old->longAnswer);
    }

    const auto picture = [&](bool designHas, const std::optional<picture::Picture>& changed,
                             const char* kindField, const char* dataField,
                             const QByteArray& stored) {
        if (designHas && (newCard || changed)) {
            const picture::Picture p = changed.value_or(picture::Picture());
            field(kindField).setString(pictureKindText(p));
            setBytes(dataField, p.isEmpty() ? QByteArray() : store(p.bytes()));
        } else if (!newCard) {
            keep(dataField, stored);
        }
    };
    picture(design.questionImage, edit.questionPicture, "Tipo_Preg_Imag", "Preg_Imag",
            newCard ? QByteArray() : old->questionPicture);
    picture(design.answerImage, edit.answerPicture, "Tipo_Resp_Imag", "Resp_Imag",
            newCard ? QByteArray() : old->answerPicture);
}

qint64 storeCard(table::Table& cards, streams::TQXStreams& qxs, const DesignOptions& design,
                 bool packedContent, const CardEdit& edit, qint64 autoInc,
                 const QString& todayKey) {
    const QString autoIncField = QStringLiteral("AutoInc");
    if (autoInc != 0) {
        // Moving loads the card; stay where the card already is.
        const bool current =
            !cards.isEmpty() && cards.fieldByName(autoIncField).asInteger() == autoInc;
        if (!current && !cards.locateKey(autoInc))
            throw MissingCard(QStringLiteral("La ficha %1 ya no está en la tabla.").arg(autoInc));
    }
    try {
        if (autoInc == 0) {
            cards.append();
            writeCard(cards, qxs, design, packedContent, edit, nullptr, todayKey);
        } else {
            cards.edit();
            const StoredCard old = readStoredCard(cards);
            writeCard(cards, qxs, design, packedContent, edit, &old, todayKey);
        }
        cards.post();
    } catch (...) {
        if (cards.state() == table::Table::State::Edit ||
            cards.state() == table::Table::State::Insert)
            cards.cancel();
        throw;
    }
    return autoInc != 0 ? autoInc : cards.lastPostedKey();
}

std::optional<int> readImportance(const QString& text) {
    const QString t = text.trimmed();
    if (t.isEmpty())
        return 0;
    bool ok = false;
    const qlonglong value = t.toLongLong(&ok);
    if (!ok || value > 32767)
        return std::nullopt;
    return value < 1 ? 0 : int(value);
}

} // namespace studyfile

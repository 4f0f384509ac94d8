#include "studyfile/card_store.h"

#include "platform/table/table.h"
#include "streams/qx_streams.h"

namespace studyfile {

ContentWrite contentWrite(streams::TQXStreams& qxs, const DesignOptions& design, bool packedContent,
                          const CardEdit& edit, const StoredCard* old) {
    ContentWrite w;
    const bool newCard = old == nullptr;
    const QString oldState = newCard ? QString() : old->state;
    w.state = packingStateFor(oldState, packedContent).state;
    const auto store = [&](const QByteArray& plain) {
        return packedContent ? packContent(qxs, plain) : plain;
    };
    // Stored bytes that were read plain and must now be packed: every part the edit leaves is
    // packed as it is. (Packed bytes never need unpacking here: a study file that packs writes
    // every card packed, and one that does not reads every card plain.)
    const bool repack = !newCard && !cardIsPacked(oldState, packedContent) && packedContent;
    const auto keep = [&](std::optional<QByteArray>& target, const QByteArray& stored) {
        if (repack && !stored.isEmpty())
            target = store(stored);
    };

    if (design.shortAnswerSize > 0 && (newCard || edit.shortAnswer))
        w.shortAnswer = store(shortAnswerBytes(edit.shortAnswer.value_or(QString())));
    else if (!newCard)
        keep(w.shortAnswer, old->shortAnswer);

    if (design.longAnswerText && (newCard || edit.longAnswerRtf)) {
        const QByteArray rtf = edit.longAnswerRtf.value_or(QByteArray());
        w.longAnswer = rtf.isEmpty() ? QByteArray() : store(rtf);
    } else if (!newCard) {
        keep(w.longAnswer, old->longAnswer);
    }

    const auto picture = [&](bool designHas, const std::optional<picture::Picture>& changed,
                             std::optional<QString>& kind, std::optional<QByteArray>& data,
                             const QByteArray& stored) {
        if (designHas && (newCard || changed)) {
            const picture::Picture p = changed.value_or(picture::Picture());
            kind = pictureKindText(p);
            data = p.isEmpty() ? QByteArray() : store(p.bytes());
        } else if (!newCard) {
            keep(data, stored);
        }
    };
    picture(design.questionImage, edit.questionPicture, w.questionKind, w.questionPicture,
            newCard ? QByteArray() : old->questionPicture);
    picture(design.answerImage, edit.answerPicture, w.answerKind, w.answerPicture,
            newCard ? QByteArray() : old->answerPicture);
    return w;
}

void writeCard(table::Table& cards, streams::TQXStreams& qxs, const DesignOptions& design,
               bool packedContent, const CardEdit& edit, const StoredCard* old,
               const QString& todayKey) {
    const auto field = [&](const char* name) { return cards.fieldByName(QLatin1String(name)); };
    field("Preg_Text").setString(edit.question);
    if (design.cardKey)
        field("Clav_Fich").setString(edit.cardKey);
    if (design.importanceLevel && (edit.importance || old == nullptr)) {
        const int importance = edit.importance.value_or(0);
        field("Nive_Impo").setInteger(importance < 1 ? 0 : importance);
    }
    if (old == nullptr) {
        field("Nive_Fich").setInteger(edit.level);
        field("Total_Repa").setInteger(0);
        field("Fech_Crea").setString(todayKey);
        field("Fech_Prox_Repa").setString(todayKey);
        field("Fech_Ulti_Repa").clear();
    }
    writeContentFields(cards, contentWrite(qxs, design, packedContent, edit, old));
}

void writeContentFields(table::Table& cards, const ContentWrite& w) {
    const auto field = [&](const char* name) { return cards.fieldByName(QLatin1String(name)); };
    const auto text = [&](const char* name, const std::optional<QString>& value) {
        if (value)
            field(name).setString(*value);
    };
    const auto bytes = [&](const char* name, const std::optional<QByteArray>& value) {
        if (!value)
            return;
        if (value->isEmpty())
            field(name).clear();
        else
            field(name).setBytes(*value);
    };
    text("Ficha_Comp_Encr", w.state);
    text("Tipo_Preg_Imag", w.questionKind);
    text("Tipo_Resp_Imag", w.answerKind);
    bytes("Resp_Text", w.shortAnswer);
    bytes("Resp_Memo", w.longAnswer);
    bytes("Preg_Imag", w.questionPicture);
    bytes("Resp_Imag", w.answerPicture);
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
    // A sign alone reads as nothing typed.
    if (t.isEmpty() || t == QLatin1String("+") || t == QLatin1String("-"))
        return 0;
    bool ok = false;
    const qlonglong value = t.toLongLong(&ok);
    if (!ok || value > 32767)
        return std::nullopt;
    return value < 1 ? 0 : int(value);
}

} // namespace studyfile

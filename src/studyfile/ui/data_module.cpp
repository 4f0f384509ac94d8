#include "studyfile/ui/data_module.h"

#include "platform/files.h"
#include "platform/rtf/rtf.h"
#include "streams/corrupt_file.h"
#include "studyfile/card_table.h"

#include <QDir>
#include <QFileInfo>
#include <QTextCharFormat>
#include <QTextCursor>

TD_Module_::TD_Module_(RunState& state, QObject* parent) : QObject(parent), state_(state) {
    Tabla_Activa.afterPost = [this] { Tabla_ActivaAfterPost(); };
    Tabla_Activa.afterScroll = [this] { Tabla_ActivaAfterScroll(); };
    Tabla_Activa.beforeScroll = [this] { Tabla_ActivaBeforeScroll(); };
    QXS.OnCorrupt = [this](streams::TQXStreams& sender) { QXSCorrupt(sender); };
    QXS3.OnAskForKey = [this](streams::TQXStreams& sender) { return QXS3AskForKey(sender); };
    QXS3.OnCorrupt = [this](streams::TQXStreams& sender) { QXS3Corrupt(sender); };
    studyfile::setFontStyleDocument(fontStyleBuffer, studyfile::defaultFontStyle());
    fontStyle = studyfile::defaultFontStyle();
}

bool TD_Module_::Abre_Conjunto_Fichero(const QString& tablePath) {
    Tabla_Activa.close();
    typedPassword.clear();
    openingTable_ = tablePath;
    const QString stu = files::findSibling(tablePath, QStringLiteral("STU"));
    const QString stuPath =
        stu.isEmpty() ? files::siblingPath(tablePath, QStringLiteral("STU")) : stu;
    openingRecord_ = stuPath;
    keyFromRememberedFile_ = false;
    try {
        QXS3.LoadFromFile(stuPath);
    } catch (const streams::CorruptFile&) {
        bool opened = false;
        if (keyFromRememberedFile_) {
            // A remembered password that no longer opens the study file would refuse it at every
            // opening without a word: it is forgotten and the password dialog asked instead.
            keyFromRememberedFile_ = false;
            forgetRememberedPassword(files::siblingPath(tablePath, QStringLiteral("CLA")));
            try {
                QXS3.LoadFromFile(stuPath);
                opened = true;
            } catch (const streams::CorruptFile&) {
            }
        }
        if (!opened) {
            // Damaged, a wrong key, or the dialog left with "Salir": QXS3Corrupt said what was
            // due.
            state_.rememberPasswordRequest = false;
            return false;
        }
    }

    // The password opened the study file: remember it when asked to.
    if (state_.rememberPasswordRequest) {
        while (rememberedPassword.size() < 2)
            rememberedPassword.append(QString());
        rememberedPassword[1] = typedPassword;
        state_.rememberPasswordRequest = false;
        // The study file opened with this password whether or not it can be remembered: a file
        // that cannot be written is reported and the opening goes on.
        try {
            files::writeWhole(
                files::siblingPath(tablePath, QStringLiteral("CLA")),
                studyfile::rememberedPasswordImage(rememberedPassword, state_.volumeSerial));
        } catch (const files::FileError&) {
            Ver_Mensaje(studyfile::kPasswordNotSavedMessage);
        }
    }

    streams::MemoryStream record;
    QXS3.GetStream(studyfile::kDesignStreamName, record);
    QXS3.Clear();
    const QStringList lines = rtf::readLines(record.Bytes());
    studyfile::DesignRecord parsed;
    try {
        parsed = studyfile::parseDesignRecord(lines);
    } catch (const studyfile::DamagedRecord&) {
        Ver_Mensaje(studyfile::kDamagedMessage);
        return false;
    }
    exportRecordLines = lines;
    description = parsed.description;
    design = parsed.options;

    // The content is enciphered with the password that opened the record: the remembered one
    // when it did, else the one typed (a remembered-password file that could not be read or
    // deleted may still lie beside the study file).
    const QString key = keyFromRememberedFile_ ? rememberedPassword.value(1) : typedPassword;
    studyfile::configureContentContainer(QXS, design, key);
    state_.packedContent = design.packedContent();

    const QFileInfo info(tablePath);
    Tabla_Activa.setFilter(studyfile::kBaseFilter);
    Tabla_Activa.setFiltered(true);
    Tabla_Activa.open(info.path(), info.fileName());
    // No selection is in force in a study file just opened: the filter a quick-selection review
    // hands back is the base filter too, so level-0 cards stay hidden.
    state_.selection.selectionFilter = studyfile::kBaseFilter;
    state_.selection.savedSelectionFilter = studyfile::kBaseFilter;
    state_.selection.selectionActive = false;
    return true;
}

QString TD_Module_::QXS3AskForKey(streams::TQXStreams& /*sender*/) {
    const QString cla = files::findSibling(openingTable_, QStringLiteral("CLA"));
    const auto dialog = [this] {
        typedPassword = askPassword ? askPassword() : QString();
        return typedPassword;
    };
    if (cla.isEmpty())
        return dialog();
    try {
        rememberedPassword = studyfile::readRememberedPasswordFile(cla, state_.volumeSerial);
    } catch (const std::exception&) {
        // Damaged, or written on another drive: forgotten without a word.
        forgetRememberedPassword(cla);
        return dialog();
    }
    if (rememberedPassword.isEmpty())
        rememberedPassword.append(studyfile::kPasswordPlaceholder);
    state_.rememberPasswordRequest = false;
    keyFromRememberedFile_ = true;
    return rememberedPassword.value(1);
}

void TD_Module_::QXS3Corrupt(streams::TQXStreams& /*sender*/) {
    // A design record that is not enciphered cannot fail for a password: it is damaged.
    if (!studyfile::designRecordFileEnciphered(openingRecord_)) {
        Ver_Mensaje(studyfile::kDamagedMessage);
        return;
    }
    // A remembered password that fails is not the user's typing: the dialog follows instead.
    // After "Salir" (no password accepted) nothing is said.
    if (state_.passwordAccepted && !keyFromRememberedFile_)
        Ver_Mensaje(studyfile::kWrongPasswordMessage);
}

void TD_Module_::forgetRememberedPassword(const QString& path) {
    // Best effort: a file that cannot be deleted is asked past by the password dialog, and its
    // volume check keeps refusing it.
    try {
        files::removeNoCase(path);
    } catch (const files::FileError&) {
    }
}

void TD_Module_::QXSCorrupt(streams::TQXStreams& /*sender*/) {
    Ver_Mensaje(studyfile::kDamagedMessage);
}

void TD_Module_::FE_No_Modificable() {
    Ver_Mensaje(studyfile::kNotModifiableMessage);
}

streams::MemoryStream& TD_Module_::Comprime_Codifica_Stream_con_QXS(streams::MemoryStream& stream) {
    stream.SetBytes(studyfile::packContent(QXS, stream.Bytes()));
    return stream;
}

streams::MemoryStream&
TD_Module_::Descomprime_Descodifica_Stream_con_QXS(streams::MemoryStream& stream) {
    stream.SetBytes(studyfile::unpackContent(QXS, stream.Bytes()));
    return stream;
}

void TD_Module_::Si_Ficha_Usa_Comp_Encr_o_no() {
    table::Field state = Tabla_Activa.fieldByName(QStringLiteral("Ficha_Comp_Encr"));
    const studyfile::PackingStateChange change =
        studyfile::packingStateFor(state.asString(), state_.packedContent);
    state.setString(change.state);
    packedToPlain = change.packedToPlain;
    plainToPacked = change.plainToPacked;
}

void TD_Module_::Guarda_Texto_Corto_Respuesta(const QString& text) {
    if (design.shortAnswerSize <= 0)
        return;
    streams::MemoryStream stream(studyfile::shortAnswerBytes(text));
    if (state_.packedContent)
        Comprime_Codifica_Stream_con_QXS(stream);
    Tabla_Activa.fieldByName(QStringLiteral("Resp_Text")).setBytes(stream.Bytes());
}

void TD_Module_::Guarda_Estilo_Fuente(const QFont& font, const QColor& colour) {
    QTextCursor cursor(&fontStyleBuffer);
    cursor.select(QTextCursor::Document);
    if (!cursor.hasSelection()) {
        studyfile::setFontStyleDocument(fontStyleBuffer, {font, colour});
    } else {
        QTextCharFormat format;
        format.setFont(font);
        format.setForeground(colour);
        cursor.mergeCharFormat(format);
    }
    files::writeWhole(QDir(state_.programFolder).filePath(studyfile::kFontStyleFileName),
                      rtf::writeDocument(fontStyleBuffer));
    fontStyle = studyfile::fontStyleOf(fontStyleBuffer);
}

void TD_Module_::Guarda_Estilo_Fuente(const QFont& font) {
    Guarda_Estilo_Fuente(font, fontStyle.colour);
}

void TD_Module_::Lee_Estilo_Fuente() {
    const QString path = files::findNoCase(state_.programFolder, studyfile::kFontStyleFileName);
    if (!path.isEmpty())
        rtf::readDocument(files::readWhole(path), fontStyleBuffer);
    fontStyle = studyfile::fontStyleOf(fontStyleBuffer);
}

TD_Module_::~TD_Module_() = default;

void TD_Module_::Tabla_ActivaAfterPost() {
    // Nothing left to flush: the engine commits every post outside a batch (synchronously, to
    // disk) before post() returns, and a batch commits when its scope ends.
}

void TD_Module_::Tabla_ActivaAfterScroll() {
    // Damaged packed content does not end the operation that moved the card (a review, a filter
    // being set): QXS's corrupt handler shows "Los datos de este Fichero de Estudio están
    // dañados." and the screens show the card with what could be read, empty where it could not.
    studyfile::loadCardView(cardView, Tabla_Activa, QXS, design, state_.packedContent);
    questionImageChanged = false;
    answerImageChanged = false;
    if (cardLoader)
        cardLoader();
}

void TD_Module_::Tabla_ActivaBeforeScroll() {}

void TD_Module_::Valores_a_NumFich() {
    QStringList list;
    const auto& keys = Tabla_Activa.visibleKeys();
    list.reserve(static_cast<qsizetype>(keys.size()));
    for (qint64 key : keys)
        list << QString::number(key);
    state_.pendingCards = list;
}

bool TD_Module_::Siguiente_Registro() {
    while (!state_.pendingCards.isEmpty()) {
        bool ok = false;
        const qint64 key = state_.pendingCards.takeFirst().toLongLong(&ok);
        // A card deleted or filtered out since the list was filled is skipped.
        if (ok && Tabla_Activa.locateKey(key)) {
            if (state_.pendingCards.isEmpty())
                state_.lastCard = true;
            return true;
        }
    }
    state_.lastCard = true;
    return false;
}

void TD_Module_::Crea_Tabla_Imprime(const QString& folder) {
    Imprime.close();
    const QString path = studyfile::createPrintTable(folder);
    Imprime.setFolder(QString());
    Imprime.setTableName(path);
    Imprime.open();
}

void TD_Module_::Ver_Mensaje(const QString& text) {
    state_.messageText = text;
    if (showMessage)
        showMessage(text);
}

// The data module: the tables of the run (the open study file's card table, the print table and
// the second card table of exports and imports), the named-stream containers, the opening of a
// study file's design record, the card content operations and the font style, and the operations
// that drive a review's order.
#pragma once

#include "app/run_state.h"
#include "platform/table/table.h"
#include "streams/memory_stream.h"
#include "streams/qx_streams.h"
#include "studyfile/card_content.h"
#include "studyfile/design_record.h"
#include "studyfile/font_style.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <QTextDocument>

#include <functional>

class TD_Module_ : public QObject {
    Q_OBJECT
public:
    explicit TD_Module_(RunState& state, QObject* parent = nullptr);
    ~TD_Module_() override;

    table::Table Tabla_Activa; // card table of the open study file
    table::Table Imprime;      // print table
    table::Table Tabla_Exp;    // card table on the other side of an export or import

    streams::TQXStreams QXS;  // card content
    streams::TQXStreams QXS2; // remembered-password file
    streams::TQXStreams QXS3; // design record
    streams::TQXStreams QXS4; // another study file's design record (import)

    // Design options of the open study file (those of the last one opened, until the next
    // opening overwrites them).
    studyfile::DesignOptions design;
    // The design record of the open study file as read, kept for the export screen.
    QStringList exportRecordLines;
    // The description of the open study file (the record from its fourth line on).
    QStringList description;
    // The remembered-password buffer: line 1 is the password.
    QStringList rememberedPassword{studyfile::kPasswordPlaceholder};
    // What was typed in the password dialog at the last opening (empty after "Salir").
    QString typedPassword;

    // Card-editing flags: the packing state of the card being saved changed, and the pictures
    // the editor changed (cleared at each card load).
    bool packedToPlain = false;
    bool plainToPacked = false;
    bool questionImageChanged = false;
    bool answerImageChanged = false;

    // What the current card shows, filled by Tabla_ActivaAfterScroll.
    studyfile::CardView cardView;
    // Run after the card view was filled: the screens that show it take it.
    std::function<void()> cardLoader;

    // The font-style buffer and the style read from it.
    QTextDocument fontStyleBuffer;
    studyfile::FontStyle fontStyle;

    // Shows the password dialog modally and returns the text typed in it (empty after "Salir");
    // set by Program.
    std::function<QString()> askPassword;

    // Opens the study file set of the card table tablePath: reads the design record (asking for
    // the password of an enciphered one), writes the remembered-password file when asked to,
    // sets the design options, the content container and packed content, and opens the card
    // table behind the base filter. Returns false, with the card table closed, when the design
    // record could not be read; any message was shown.
    bool Abre_Conjunto_Fichero(const QString& tablePath);

    // Key of an enciphered design record: the remembered password, or the password dialog's.
    QString QXS3AskForKey(streams::TQXStreams& sender);
    // Damaged design record: a wrong password when the password dialog was accepted.
    void QXS3Corrupt(streams::TQXStreams& sender);
    // Damaged packed card content.
    void QXSCorrupt(streams::TQXStreams& sender);
    // The refusal of modifying or deleting cards of a study file that does not allow it.
    void FE_No_Modificable();

    // Packs the whole content of stream through QXS; the stream then holds the container image,
    // at position 0.
    streams::MemoryStream& Comprime_Codifica_Stream_con_QXS(streams::MemoryStream& stream);
    // Unpacks a container image through QXS; the stream then holds its stream "1", at position
    // 0. Throws CorruptFile (after QXSCorrupt) for damaged data.
    streams::MemoryStream& Descomprime_Descodifica_Stream_con_QXS(streams::MemoryStream& stream);
    // Sets the packing state of the card being edited or appended and the packing-change flags.
    void Si_Ficha_Usa_Comp_Encr_o_no();
    // Writes the short answer of the card being edited or appended (when the design has one),
    // packed when the study file packs content.
    void Guarda_Texto_Corto_Respuesta(const QString& text);

    // Applies font and colour to the font-style buffer and saves it as "01.stl" in the program
    // folder.
    void Guarda_Estilo_Fuente(const QFont& font, const QColor& colour);
    void Guarda_Estilo_Fuente(const QFont& font);
    // Reads "01.stl" (when it exists) into the font-style buffer and takes the style of its second
    // character.
    void Lee_Estilo_Fuente();

    // Shows `text` in the message dialog, modally, and returns when it closes: the one way the
    // program shows a message. The text is kept as the run's message text; the dialog itself is
    // shown by the function Program sets in showMessage.
    void Ver_Mensaje(const QString& text);
    std::function<void(const QString&)> showMessage;

    // Table events of Tabla_Activa.
    void Tabla_ActivaAfterPost();
    void Tabla_ActivaAfterScroll();
    void Tabla_ActivaBeforeScroll();

    // Fills the pending-card list with the visible cards in table order, without moving the
    // current card.
    void Valores_a_NumFich();
    // Moves straight to the next listed card that is still visible, removing the entries it
    // takes or skips; sets the last-card flag when the list is then empty. Returns false (the
    // current card unchanged, the flag set) when no listed card is visible any more.
    bool Siguiente_Registro();

    // Creates an empty print table in folder (replacing IMP.db) and opens it as Imprime.
    void Crea_Tabla_Imprime(const QString& folder);

private:
    // Deletes a remembered-password file when it can; one that cannot be deleted is left.
    void forgetRememberedPassword(const QString& path);

    RunState& state_;
    QString openingTable_;               // the card table whose design record is being read
    QString openingRecord_;              // its design-record file (N.STU)
    bool keyFromRememberedFile_ = false; // the key being tried came from the .CLA file
};

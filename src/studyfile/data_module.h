// The data module: the tables of the run (the open study file's card table, the print table and
// the second card table of exports and imports) and the operations that drive a review's order.
#pragma once

#include "app/run_state.h"
#include "platform/table/table.h"

#include <QObject>
#include <QString>

#include <functional>

class TD_Module_ : public QObject {
    Q_OBJECT
public:
    explicit TD_Module_(RunState& state, QObject* parent = nullptr);
    ~TD_Module_() override;

    table::Table Tabla_Activa; // card table of the open study file
    table::Table Imprime;      // print table
    table::Table Tabla_Exp;    // card table on the other side of an export or import

    // Loads the current card of Tabla_Activa into the screens; set by the card content code.
    std::function<void()> cardLoader;

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
    RunState& state_;
};

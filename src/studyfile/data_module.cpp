#include "studyfile/data_module.h"

#include "studyfile/card_table.h"

TD_Module_::TD_Module_(RunState& state, QObject* parent) : QObject(parent), state_(state) {
    Tabla_Activa.afterPost = [this] { Tabla_ActivaAfterPost(); };
    Tabla_Activa.afterScroll = [this] { Tabla_ActivaAfterScroll(); };
    Tabla_Activa.beforeScroll = [this] { Tabla_ActivaBeforeScroll(); };
}

TD_Module_::~TD_Module_() = default;

void TD_Module_::Tabla_ActivaAfterPost() {
    // Nothing left to flush: the engine commits every post outside a batch (synchronously, to
    // disk) before post() returns, and a batch commits when its scope ends.
}

void TD_Module_::Tabla_ActivaAfterScroll() {
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

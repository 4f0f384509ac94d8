#include "review/ui/selecc_repaso.h"

#include "editing/ui/filtro_env.h"
#include "review/ui/repasar.h"
#include "studyfile/card_table.h"
#include "studyfile/ui/data_module.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

namespace {

const QString kExplanation = QStringLiteral(
    "Con esta opción activada, podrá repasar las fichas varias veces en el mismo día, pero solo "
    "el primer repaso del día modificará los datos de la ficha. Para estos repasos repetidos "
    "debe usar el botón \"Repasar\" (no sirve el botón del repaso por fecha). Las fichas se "
    "eligen con \"Seleccionar Fichas\" o con la selección rápida.");

} // namespace

using namespace kit;

TSelecc_Repaso_::TSelecc_Repaso_(Program& program)
    : ProgramDialog(
          program, "TSelecc_Repaso_", QStringLiteral("   Selección de Fichas para el Repaso"),
          Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint) {
    setFixedSize(640, 520);
    const Px text{15, bold};

    RadioButton1 = radio(this, "RadioButton1", QStringLiteral("Usar Ventana de Selección"),
                         QRect(20, 16, 300, 28), Px{16, bold});
    Button5 = button(this, "Button5", QStringLiteral("  Selecci&onar Fichas"),
                     QRect(340, 12, 260, 36), text);
    RadioButton2 = radio(this, "RadioButton2", QStringLiteral("Usar Selección Rápida:"),
                         QRect(20, 64, 300, 28), Px{16, bold});
    for (int i = 0; i < 8; ++i) {
        QCheckBox* box = check(this, nullptr, QStringLiteral("Nivel %1").arg(i + 1),
                               QRect(44 + (i % 4) * 140, 100 + (i / 4) * 32, 130, 26), text);
        box->setObjectName(QStringLiteral("CheckBox%1").arg(i + 1));
        box->setEnabled(false);
        levelBoxes[static_cast<std::size_t>(i)] = box;
        onClick(box, [this, i] { CheckBoxClick(i + 1); });
    }

    CheckBox9 = check(this, "CheckBox9",
                      QStringLiteral("Permitir repasar fichas varias veces el mismo día."),
                      QRect(20, 184, 600, 26), text);
    CheckBox9->setChecked(true);
    Label1 = label(this, "Label1", kExplanation, QRect(44, 212, 570, 100), Px{13, plain});
    Label1->setWordWrap(true);
    Label1->setStyleSheet(QStringLiteral("color: navy;"));

    Button1 = button(this, "Button1", QStringLiteral("  &Repasar"), QRect(20, 330, 600, 52),
                     Px{20, bold});
    Button1->setDefault(true);
    Button4 = button(this, "Button4", QStringLiteral("   Repasar con REPASO POR &TIEMPO"),
                     QRect(20, 392, 600, 44), Px{16, bold});
    Button2 = button(this, "Button2", QStringLiteral("&Salir"), QRect(360, 460, 120, 40), text);
    BitBtn1 = button(this, "BitBtn1", QStringLiteral("&Ayuda"), QRect(500, 460, 120, 40), text);

    onClick(RadioButton1, &TSelecc_Repaso_::RadioButton1Click);
    onClick(RadioButton2, &TSelecc_Repaso_::RadioButton2Click);
    onClick(Button5, &TSelecc_Repaso_::Button5Click);
    onClick(Button1, &TSelecc_Repaso_::Button1Click);
    onClick(Button4, &TSelecc_Repaso_::Button4Click);
    onClick(Button2, &TSelecc_Repaso_::Button2Click);
    onClick(BitBtn1, [this] { program_.showHelp(12); });
}

void TSelecc_Repaso_::showPreferences(const settings::Preferences& prefs) {
    CheckBox9->setChecked(prefs.sameDayReviewsAllowed);
}

std::optional<review::SelectionMode> TSelecc_Repaso_::mode() const {
    if (RadioButton1->isChecked())
        return review::SelectionMode::Window;
    if (RadioButton2->isChecked())
        return review::SelectionMode::Quick;
    return std::nullopt;
}

void TSelecc_Repaso_::FormShow() {
    // Only when the screen opens: when it regains the focus (after its own message, or after the
    // session it started), the card table carries the filter this screen set, which says nothing
    // about the mode the learner chose.
    const review::SelectionMode initial =
        review::initialMode(program_.data().Tabla_Activa.filter());
    if (initial == review::SelectionMode::Window)
        RadioButton1->setChecked(true);
    else
        RadioButton2->setChecked(true);
}

void TSelecc_Repaso_::FormActivate() {
    if (!beginActivation())
        return;
    RunState& state = program_.state();
    Button4->setEnabled(state.prefs.timedReviewEnabled);
    modeSwitch();
    Button1->setFocus();
}

void TSelecc_Repaso_::modeSwitch() {
    const auto current = mode();
    if (!current)
        return;
    RunState& state = program_.state();
    const bool window = *current == review::SelectionMode::Window;
    if (window) {
        const QString filter = review::modeSwitchFilter(*current, state.selection);
        if (state.selection.selectionActive)
            program_.data().Tabla_Activa.setFilter(filter);
    }
    Button5->setEnabled(window);
    for (QCheckBox* box : levelBoxes)
        box->setEnabled(!window);
}

void TSelecc_Repaso_::RadioButton1Click() {
    RadioButton1->setChecked(true);
    modeSwitch();
}

void TSelecc_Repaso_::RadioButton2Click() {
    RadioButton2->setChecked(true);
    modeSwitch();
}

void TSelecc_Repaso_::Button5Click() {
    // The cards chosen there are the ones the review takes; a selection left on the card table
    // is dropped at its opening.
    program_.filtro_Env().runAsSelector(true);
}

void TSelecc_Repaso_::CheckBoxClick(int level) {
    program_.state().levelChoices[static_cast<std::size_t>(level - 1)] =
        levelBoxes[static_cast<std::size_t>(level - 1)]->isChecked();
}

void TSelecc_Repaso_::start(bool dueDate) {
    RunState& state = program_.state();
    table::Table& cards = program_.data().Tabla_Activa;
    review::SelectionRequest request;
    request.mode = mode().value_or(review::SelectionMode::Quick);
    request.levels = state.levelChoices;
    request.sameDayReviewsAllowed = CheckBox9->isChecked();
    request.todayKey = state.todayKey;

    const QString applied = review::applySelection(request, cards.filter(), state.selection);
    cards.setFilter(applied);
    cards.setFilter(dueDate ? review::dueDateReviewFilter(request, applied)
                            : review::reviewFilter(request, applied));
    if (cards.isEmpty()) {
        program_.Ver_Mensaje(review::kNoCardsMessage);
        return;
    }
    program_.repasar().Inicia_Sesion();
    accept();
}

void TSelecc_Repaso_::Button1Click() {
    start(false);
}

void TSelecc_Repaso_::Button4Click() {
    start(true);
}

void TSelecc_Repaso_::Button2Click() {
    reject();
}

#include "review/ui/selecc_repaso.h"

#include "app/program.h"
#include "app/screen_helpers.h"
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

TSelecc_Repaso_::TSelecc_Repaso_(Program& program) : program_(program) {
    setObjectName(QStringLiteral("TSelecc_Repaso_"));
    setWindowTitle(QStringLiteral("   Selección de Fichas para el Repaso"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(640, 520);

    const auto makeButton = [this](const char* name, const QString& caption, const QRect& g,
                                   int pixels = 15) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(QString::fromLatin1(name));
        b->setFont(arialFont(pixels, true));
        b->setGeometry(g);
        b->setAutoDefault(false);
        return b;
    };

    RadioButton1 = new QRadioButton(QStringLiteral("Usar Ventana de Selección"), this);
    RadioButton1->setObjectName(QStringLiteral("RadioButton1"));
    RadioButton1->setFont(arialFont(16, true));
    RadioButton1->setGeometry(20, 16, 300, 28);
    Button5 =
        makeButton("Button5", QStringLiteral("  Selecci&onar Fichas"), QRect(340, 12, 260, 36));

    RadioButton2 = new QRadioButton(QStringLiteral("Usar Selección Rápida:"), this);
    RadioButton2->setObjectName(QStringLiteral("RadioButton2"));
    RadioButton2->setFont(arialFont(16, true));
    RadioButton2->setGeometry(20, 64, 300, 28);
    for (int i = 0; i < 8; ++i) {
        auto* box = new QCheckBox(QStringLiteral("Nivel %1").arg(i + 1), this);
        box->setObjectName(QStringLiteral("CheckBox%1").arg(i + 1));
        box->setFont(arialFont(15, true));
        box->setGeometry(44 + (i % 4) * 140, 100 + (i / 4) * 32, 130, 26);
        box->setEnabled(false);
        levelBoxes[static_cast<std::size_t>(i)] = box;
        program_.connectGuarded(box, &QCheckBox::clicked, this,
                                [this, i] { CheckBoxClick(i + 1); });
    }

    CheckBox9 =
        new QCheckBox(QStringLiteral("Permitir repasar fichas varias veces el mismo día."), this);
    CheckBox9->setObjectName(QStringLiteral("CheckBox9"));
    CheckBox9->setFont(arialFont(15, true));
    CheckBox9->setChecked(true);
    CheckBox9->setGeometry(20, 184, 600, 26);
    Label1 = new QLabel(kExplanation, this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setTextFormat(Qt::PlainText);
    Label1->setWordWrap(true);
    Label1->setFont(arialFont(13, false));
    Label1->setStyleSheet(QStringLiteral("color: navy;"));
    Label1->setGeometry(44, 212, 570, 100);

    Button1 = makeButton("Button1", QStringLiteral("  &Repasar"), QRect(20, 330, 600, 52), 20);
    Button1->setDefault(true);
    Button4 = makeButton("Button4", QStringLiteral("   Repasar con REPASO POR &TIEMPO"),
                         QRect(20, 392, 600, 44), 16);
    Button2 = makeButton("Button2", QStringLiteral("&Salir"), QRect(360, 460, 120, 40));
    BitBtn1 = makeButton("BitBtn1", QStringLiteral("&Ayuda"), QRect(500, 460, 120, 40));

    program_.connectGuarded(RadioButton1, &QRadioButton::clicked, this,
                            [this] { RadioButton1Click(); });
    program_.connectGuarded(RadioButton2, &QRadioButton::clicked, this,
                            [this] { RadioButton2Click(); });
    program_.connectGuarded(Button5, &QPushButton::clicked, this, [this] { Button5Click(); });
    program_.connectGuarded(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
    program_.connectGuarded(Button4, &QPushButton::clicked, this, [this] { Button4Click(); });
    program_.connectGuarded(Button2, &QPushButton::clicked, this, [this] { Button2Click(); });
    program_.connectGuarded(BitBtn1, &QPushButton::clicked, this,
                            [this] { program_.showHelp(12); });
}

std::optional<review::SelectionMode> TSelecc_Repaso_::mode() const {
    if (RadioButton1->isChecked())
        return review::SelectionMode::Window;
    if (RadioButton2->isChecked())
        return review::SelectionMode::Quick;
    return std::nullopt;
}

void TSelecc_Repaso_::FormActivate() {
    RunState& state = program_.state();
    if (state.takeSkipNextActivation())
        return;
    Button4->setEnabled(state.timedReviewEnabled);
    const review::SelectionMode initial =
        review::initialMode(program_.data().Tabla_Activa.filter());
    if (initial == review::SelectionMode::Window)
        RadioButton1->setChecked(true);
    else
        RadioButton2->setChecked(true);
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
        const QString filter = review::modeSwitchFilter(
            *current, {state.selectionFilter, state.savedSelectionFilter, state.selectionActive});
        if (state.selectionActive)
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
    RunState& state = program_.state();
    state.resetSelection = true;
    state.selectorMode = true;
    // The card selection screen, which builds the selection filter, opens here when it is part
    // of the program.
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

    review::SelectionState selection{state.selectionFilter, state.savedSelectionFilter,
                                     state.selectionActive};
    const QString applied = review::applySelection(request, cards.filter(), selection);
    state.savedSelectionFilter = selection.savedSelectionFilter;
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

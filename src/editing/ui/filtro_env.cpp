#include "editing/ui/filtro_env.h"

#include "app/date_box_edit.h"
#include "app/ui.h"
#include "app/wait_cursor.h"
#include "editing/card_selection.h"
#include "editing/ui/alta_fichas.h"
#include "studyfile/card_grid_model.h"
#include "studyfile/card_table.h"
#include "studyfile/ui/data_module.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFocusEvent>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPushButton>
#include <QTableView>

#include <algorithm>
#include <utility>

namespace {

const QString kRowCaptions[TFILTRO_ENV::kRows] = {
    QStringLiteral("Condición de Selección:"), QStringLiteral("2ª condición:"),
    QStringLiteral("3ª condición:"),           QStringLiteral("4ª condición:"),
    QStringLiteral("5ª condición:"),           QStringLiteral("6ª condición:")};

const QString kConfirmMarked = QStringLiteral("¿Seguro que quiere borrar las FICHAS MARCADAS?");
const QString kConfirmAll = QStringLiteral("¿Seguro que quiere BORRAR las TODAS LAS FICHAS?");
const QString kMarkedKept = QStringLiteral("NO se han borrado las Fichas Marcadas");
const QString kNoneDeleted = QStringLiteral("No se ha borrado ninguna ficha");
const QString kNothingToModify = QStringLiteral("No hay fichas disponibles para modificar.");
const QString kSelectionReset =
    QStringLiteral("Si hay una condición de selección, activela pulsando SELECCION");

// The filter that counts the level-0 cards beside the view.
const QString kLevel0Count = QStringLiteral("Nive_Fich = 0");

constexpr int kGridRowHeight = 22;

QComboBox* combo(QWidget* parent, const QString& name, const QStringList& items,
                 const QRect& geometry) {
    auto* box = new QComboBox(parent);
    box->setObjectName(name);
    box->setFont(kit::arialFont(14, kit::plain));
    box->setGeometry(geometry);
    box->addItems(items);
    return box;
}

// A number field holds only the ASCII digits 0-9 (an empty box is left to the completeness
// check).
bool onlyDigits(const QString& text) {
    return std::all_of(text.begin(), text.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

bool isNumberField(int field) {
    return field != editing::kKeyField && field != editing::kDateField;
}

} // namespace

using namespace kit;

TFILTRO_ENV::TFILTRO_ENV(Program& program)
    : ProgramDialog(program, "TFILTRO_ENV", QStringLiteral("    Selección  de  Fichas"),
                    Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                        Qt::WindowMaximizeButtonHint) {
    resize(1024, 768);
    QWidget* area = silverPanelOnTeal(QSize(1000, 730));
    const Px caption{14, bold};

    // The condition rows: row 1 has no connector, row 6 no adding box. The combos are numbered
    // across the rows: field and operator of row 1 are ComboBox1 and ComboBox2, then three per
    // row (connector, field, operator).
    int comboNumber = 1;
    const auto nextComboName = [&comboNumber] {
        return QStringLiteral("ComboBox%1").arg(comboNumber++);
    };
    for (int row = 0; row < kRows; ++row) {
        const int top = 10 + 36 * row;
        rowLabels[row] =
            label(area, nullptr, kRowCaptions[row], QRect(10, top + 4, 190, 24), caption);
        rowLabels[row]->setObjectName(QStringLiteral("rowLabel%1").arg(row + 1));
        if (row > 0) {
            connectorCombos[row] =
                combo(area, nextComboName(), editing::kConnectorItems, QRect(205, top, 60, 30));
            connectorCombos[row]->setCurrentIndex(editing::kOrConnector);
        }
        fieldCombos[row] =
            combo(area, nextComboName(), editing::kFieldItems, QRect(272, top, 210, 30));
        fieldCombos[row]->setCurrentIndex(editing::kLevelField);
        operatorCombos[row] =
            combo(area, nextComboName(), editing::kOperatorItems, QRect(490, top, 180, 30));
        operatorCombos[row]->setPlaceholderText(QStringLiteral("Igual Que"));
        operatorCombos[row]->setCurrentIndex(-1);

        valueBoxes[row] = edit(area, nullptr, QRect(678, top, 150, 30), Px{14, plain});
        valueBoxes[row]->setObjectName(QStringLiteral("Edit%1").arg(row + 1));
        valueBoxes[row]->setMaxLength(editing::kValueBoxSize);
        valueBoxes[row]->installEventFilter(this);
        dateBoxes[row] = new DateBoxEdit(area);
        dateBoxes[row]->setObjectName(QStringLiteral("MaskEdit%1").arg(row + 1));
        dateBoxes[row]->setFont(arialFont(14, plain));
        dateBoxes[row]->setGeometry(678, top, 100, 30);
        dateBoxes[row]->hide();

        if (row < kRows - 1) {
            addingBoxes[row] =
                check(area, nullptr, QStringLiteral("Añadir %1º Condición").arg(row + 2),
                      QRect(838, top + 2, 158, 26), Px{13, bold});
            addingBoxes[row]->setObjectName(QStringLiteral("CheckBox%1").arg(row + 1));
        }
        program_.connectGuarded(fieldCombos[row], &QComboBox::activated, this,
                                [this, row] { fieldChosen(row); });
    }
    for (int row = 0; row < kRows - 1; ++row)
        program_.connectGuarded(addingBoxes[row], &QCheckBox::toggled, this,
                                [this, row] { addingBoxChanged(row); });
    for (int row = 1; row < kRows; ++row)
        setRowInUse(row, false);

    // The selection's buttons and counts.
    const int countsTop = 10 + 36 * kRows + 6;
    Button2 = button(area, "Button2", QStringLiteral("  S&elección"), QRect(10, countsTop, 170, 36),
                     Px{15, bold});
    Button4 = button(area, "Button4", QStringLiteral("  &Quitar Selección"),
                     QRect(190, countsTop, 200, 36), Px{15, bold});
    Label5 = label(area, "Label5", QStringLiteral(" Fichas en uso: "),
                   QRect(420, countsTop + 4, 250, 28), Px{15, bold});
    Label6 = label(area, "Label6", QStringLiteral(" Fichas Nivel 0: "),
                   QRect(690, countsTop + 4, 250, 28), Px{15, bold});
    for (QLabel* count : {Label5, Label6}) {
        count->setAutoFillBackground(true);
        QPalette white = count->palette();
        white.setColor(QPalette::Window, Qt::white);
        count->setPalette(white);
    }

    // The grid of the cards in view.
    gridModel_ = new studyfile::CardGridModel(program_.data().Tabla_Activa,
                                              {{QStringLiteral("Niv. Fich."), "Nive_Fich", 79},
                                               {QStringLiteral("Clave"), "Clav_Fich", 74},
                                               {QStringLiteral("Niv. Imp."), "Nive_Impo", 74},
                                               {QStringLiteral("Pregunta"), "Preg_Text", 587}},
                                              this);
    const int gridTop = countsTop + 46;
    DBGrid1 = new QTableView(area);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->setGeometry(10, gridTop, 980, 730 - gridTop - 60);
    DBGrid1->setFont(arialFont(13, plain));
    DBGrid1->setModel(gridModel_);
    DBGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    DBGrid1->setSelectionBehavior(QAbstractItemView::SelectRows);
    DBGrid1->setSelectionMode(QAbstractItemView::ExtendedSelection);
    DBGrid1->setWordWrap(false);
    DBGrid1->setTextElideMode(Qt::ElideRight);
    // Fixed row heights and column widths: nothing is measured from the rows' contents, so the
    // grid reads only the rows it shows.
    DBGrid1->verticalHeader()->hide();
    DBGrid1->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    DBGrid1->verticalHeader()->setDefaultSectionSize(kGridRowHeight);
    DBGrid1->horizontalHeader()->setDefaultAlignment(Qt::AlignCenter);
    DBGrid1->horizontalHeader()->setFont(arialFont(13, bold));
    DBGrid1->horizontalHeader()->setStretchLastSection(true);
    const auto& columns = gridModel_->columns();
    for (std::size_t c = 0; c < columns.size(); ++c)
        DBGrid1->setColumnWidth(static_cast<int>(c), columns[c].width);
    program_.connectGuarded(DBGrid1, &QTableView::doubleClicked, this, [this] {
        // Modifying is off in selector mode.
        if (Button7->isEnabled())
            Button7Click();
    });

    // The buttons under the grid.
    const int buttonsTop = 730 - 48;
    Button7 = button(area, "Button7", QStringLiteral("Mo&dificar Fichas"),
                     QRect(10, buttonsTop, 190, 38), Px{14, bold});
    Button6 = button(area, "Button6", QStringLiteral("&Borrar Fichas Marcadas"),
                     QRect(210, buttonsTop, 230, 38), Px{14, bold});
    Button5 = button(area, "Button5", QStringLiteral("Borrar &Todas las Fichas"),
                     QRect(450, buttonsTop, 230, 38), Px{14, bold});
    Button1 = button(area, "Button1", QStringLiteral(" &Salir"), QRect(730, buttonsTop, 120, 38),
                     Px{14, bold});
    Button3 = button(area, "Button3", QStringLiteral("&Ayuda"), QRect(860, buttonsTop, 120, 38),
                     Px{14, bold});

    onClick(Button2, &TFILTRO_ENV::Button2Click);
    onClick(Button4, &TFILTRO_ENV::Button4Click);
    onClick(Button7, &TFILTRO_ENV::Button7Click);
    onClick(Button6, &TFILTRO_ENV::Button6Click);
    onClick(Button5, &TFILTRO_ENV::Button5Click);
    onClick(Button1, [this] { reject(); });
    onClick(Button3, &TFILTRO_ENV::Button3Click);
}

void TFILTRO_ENV::runAsSelector(bool resetRequest) {
    RunState& state = program_.state();
    state.selectorMode = true;
    if (resetRequest)
        state.resetSelection = true;
    program_.runModal(*this);
    state.selectorMode = false;
    state.resetSelection = false;
}

void TFILTRO_ENV::FormShow() {
    opening_ = true;
}

void TFILTRO_ENV::FormActivate() {
    if (!beginActivation())
        return;
    followMainWindowState();
    RunState& state = program_.state();
    table::Table& cards = program_.data().Tabla_Activa;

    const bool selector = state.selectorMode;
    for (QPushButton* b : {Button5, Button6, Button7})
        b->setEnabled(!selector);
    // The reset request is taken by this activation whatever it finds, so that it cannot drop a
    // selection made later in this opening or in another one.
    const bool resetRequest = std::exchange(state.resetSelection, false);
    bool resetShown = false;
    if (selector && resetRequest && cards.filter() != studyfile::kBaseFilter) {
        cards.setFilter(studyfile::kBaseFilter);
        cards.setFiltered(true);
        resetShown = true;
    }

    // Back from the card editor: the table goes straight to the card the editor showed last or,
    // when that card left the view, to the last card of the view.
    const bool returning = std::exchange(returnToCard_, false);
    if (returning && cards.isOpen() && !cards.isEmpty() && !cards.locateKey(state.lastEditedCard))
        cards.last();
    // A message closing changes nothing in view: the grid keeps its marks and current row. An
    // opening, a change of the cards in view and the return from the editor put the grid on the
    // table's current card.
    const bool opening = std::exchange(opening_, false);
    const bool reset = gridModel_->refresh();
    if (reset || returning || opening)
        gridFollowsTable();
    showCounts();
    if (resetShown)
        program_.Ver_Mensaje(kSelectionReset);
}

void TFILTRO_ENV::reject() {
    RunState& state = program_.state();
    if (state.selectorMode) {
        state.selectorMode = false;
        for (QPushButton* b : {Button5, Button6, Button7})
            b->setEnabled(true);
    }
    ProgramDialog::reject();
}

void TFILTRO_ENV::showCounts() {
    const table::Table& cards = program_.data().Tabla_Activa;
    const bool open = cards.isOpen();
    Label5->setText(QStringLiteral(" Fichas en uso: %1 ").arg(open ? cards.recordCount() : 0));
    Label6->setText(
        QStringLiteral(" Fichas Nivel 0: %1 ").arg(open ? cards.countMatching(kLevel0Count) : 0));
}

void TFILTRO_ENV::gridFollowsTable() {
    const table::Table& cards = program_.data().Tabla_Activa;
    if (!cards.isOpen() || cards.isEmpty())
        return;
    const int row = cards.recNo() - 1;
    const QModelIndex index = gridModel_->index(row, 0);
    // The current row only: the marked cards are those the learner highlighted, and a row the
    // program highlighted on its own would be deleted with them.
    DBGrid1->selectionModel()->setCurrentIndex(index, QItemSelectionModel::NoUpdate);
    DBGrid1->scrollTo(index);
}

std::vector<editing::ConditionRow> TFILTRO_ENV::conditionRows() const {
    std::vector<editing::ConditionRow> rows;
    for (int row = 0; row < kRows; ++row) {
        if (row > 0 && !addingBoxes[row - 1]->isChecked())
            break;
        editing::ConditionRow r;
        r.connector = row > 0 ? connectorCombos[row]->currentIndex() : -1;
        r.field = fieldCombos[row]->currentIndex();
        r.op = operatorCombos[row]->currentIndex();
        r.value = valueBoxes[row]->text();
        r.dateText = dateBoxes[row]->programText();
        rows.push_back(r);
    }
    return rows;
}

void TFILTRO_ENV::Button2Click() {
    TD_Module_& data = program_.data();
    table::Table& cards = data.Tabla_Activa;
    const editing::SelectionFilter built =
        editing::selectCards(cards, conditionRows(), program_.state().prefs.dayFirstDates,
                             data.design, program_.state().selection);
    if (built.accepted() || built.refusal == editing::SelectionRefusal::Incomplete) {
        gridModel_->refresh();
        gridFollowsTable();
        showCounts();
    }
    switch (built.refusal) {
    case editing::SelectionRefusal::None:
        return;
    case editing::SelectionRefusal::Incomplete:
        program_.Ver_Mensaje(built.message);
        return;
    case editing::SelectionRefusal::FieldNotUsed:
        program_.Ver_Mensaje(built.message);
        fieldCombos[built.row]->setCurrentIndex(editing::kLevelField);
        showValueOrDate(built.row);
        return;
    case editing::SelectionRefusal::NotDigits:
        program_.Ver_Mensaje(built.message);
        valueBoxes[built.row]->setFocus();
        return;
    case editing::SelectionRefusal::InvalidDate:
        program_.Ver_Mensaje(built.message);
        dateBoxes[built.row]->setFocus();
        return;
    }
}

void TFILTRO_ENV::Button4Click() {
    editing::removeCardSelection(program_.data().Tabla_Activa, program_.state().selection);
    gridModel_->refresh();
    gridFollowsTable();
    showCounts();
}

void TFILTRO_ENV::Button7Click() {
    table::Table& cards = program_.data().Tabla_Activa;
    if (!cards.isOpen() || cards.isEmpty()) {
        program_.Ver_Mensaje(kNothingToModify);
        return;
    }
    // The table's cursor follows the grid here only: moving it unpacks the card.
    const QModelIndex current = DBGrid1->currentIndex();
    if (current.isValid())
        cards.locateKey(gridModel_->keyAt(current.row()));
    returnToCard_ = true;
    RunState& state = program_.state();
    state.addMode = false;
    state.reviewEdit = false;
    program_.runModal(program_.alta_Fichas());
}

std::vector<qint64> TFILTRO_ENV::markedCards() const {
    return gridModel_->keysOfRows(DBGrid1->selectionModel()->selectedRows());
}

void TFILTRO_ENV::deleteCards(const std::vector<qint64>& keys) {
    const WaitCursor wait;
    program_.data().Tabla_Activa.deleteBookmarks(keys);
}

void TFILTRO_ENV::afterDelete() {
    gridModel_->refresh();
    gridFollowsTable();
    showCounts();
}

void TFILTRO_ENV::Button6Click() {
    TD_Module_& data = program_.data();
    if (!data.design.modifiable) {
        data.FE_No_Modificable();
        return;
    }
    if (!program_.ui().confirm(this, kConfirmMarked)) {
        program_.Ver_Mensaje(kMarkedKept);
        return;
    }
    // The marks are turned into keys before anything is deleted.
    const std::vector<qint64> keys = markedCards();
    deleteCards(keys);
    afterDelete();
}

void TFILTRO_ENV::Button5Click() {
    TD_Module_& data = program_.data();
    if (!data.design.modifiable) {
        data.FE_No_Modificable();
        return;
    }
    if (!program_.ui().confirm(this, kConfirmAll)) {
        program_.Ver_Mensaje(kNoneDeleted);
        return;
    }
    deleteCards(data.Tabla_Activa.visibleKeys());
    afterDelete();
}

void TFILTRO_ENV::Button3Click() {
    program_.showHelp(15);
}

void TFILTRO_ENV::showValueOrDate(int row) {
    const bool inUse = row == 0 || addingBoxes[row - 1]->isChecked();
    const bool date = fieldCombos[row]->currentIndex() == editing::kDateField;
    valueBoxes[row]->setVisible(inUse && !date);
    dateBoxes[row]->setVisible(inUse && date);
}

void TFILTRO_ENV::fieldChosen(int row) {
    // Picking the date field again, while its box is already shown, keeps the date typed there.
    const bool dateShown = !dateBoxes[row]->isHidden();
    showValueOrDate(row);
    QComboBox* field = fieldCombos[row];
    if (field->currentIndex() == editing::kDateField && !dateShown)
        dateBoxes[row]->setText(program_.state().todayDisplay);
    const studyfile::DesignOptions& design = program_.data().design;
    const QString* refusal = nullptr;
    if (field->currentIndex() == editing::kKeyField && !design.cardKey)
        refusal = &editing::kKeyNotUsedMessage;
    else if (field->currentIndex() == editing::kImportanceField && !design.importanceLevel)
        refusal = &editing::kImportanceNotUsedMessage;
    if (refusal != nullptr) {
        program_.Ver_Mensaje(*refusal);
        field->setCurrentIndex(editing::kLevelField);
        showValueOrDate(row);
    }
    if (isNumberField(field->currentIndex()))
        checkDigits(row);
}

void TFILTRO_ENV::setRowInUse(int row, bool inUse) {
    for (QWidget* w :
         {static_cast<QWidget*>(rowLabels[row]), static_cast<QWidget*>(connectorCombos[row]),
          static_cast<QWidget*>(fieldCombos[row]), static_cast<QWidget*>(operatorCombos[row])}) {
        w->setEnabled(inUse);
        w->setVisible(inUse);
    }
    valueBoxes[row]->setEnabled(inUse);
    dateBoxes[row]->setEnabled(inUse);
    if (row < kRows - 1) {
        addingBoxes[row]->setEnabled(inUse);
        addingBoxes[row]->setVisible(inUse);
    }
    showValueOrDate(row);
}

void TFILTRO_ENV::addingBoxChanged(int row) {
    const bool ticked = addingBoxes[row]->isChecked();
    setRowInUse(row + 1, ticked);
    // Clearing a box clears the next one, whose own handler removes the rows after it.
    if (!ticked && row + 1 < kRows - 1)
        addingBoxes[row + 1]->setChecked(false);
}

bool TFILTRO_ENV::checkDigits(int row) {
    QLineEdit* box = valueBoxes[row];
    if (onlyDigits(box->text()))
        return true;
    program_.Ver_Mensaje(editing::kDigitsOnlyMessage);
    box->setFocus();
    return false;
}

bool TFILTRO_ENV::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusOut) {
        const auto it = std::find(valueBoxes.begin(), valueBoxes.end(), watched);
        // A window or a menu opening above is not the learner leaving the box; counting it would
        // nest the messages.
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        // Going to "Selección", whose own checks report the same row with the same message, the
        // learner would read it twice.
        const bool toSelection = QApplication::focusWidget() == Button2;
        if (it != valueBoxes.end() && reason != Qt::ActiveWindowFocusReason &&
            reason != Qt::PopupFocusReason && !toSelection) {
            const int row = static_cast<int>(it - valueBoxes.begin());
            if (isNumberField(fieldCombos[row]->currentIndex()))
                program_.guard([this, row] { checkDigits(row); });
        }
    }
    return ProgramDialog::eventFilter(watched, event);
}

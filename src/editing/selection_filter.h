// The card selection's condition rows turned into the filter text that chooses the cards, with
// the checks that refuse rows which cannot give a sound filter.
#pragma once

#include "studyfile/design_record.h"

#include <QString>
#include <QStringList>

#include <vector>

namespace editing {

// Characters a value box takes: the size of the card key, so that a number always fits the
// engine's 64-bit parse.
constexpr int kValueBoxSize = 15;

// The items of the three combos of a row, by index. An index of -1 (nothing chosen) reads as
// item 0; so does any index outside the list.
inline const QStringList kConnectorItems = {QStringLiteral("O"), QStringLiteral("Y")};
inline const QStringList kFieldItems = {
    QStringLiteral("Nivel de la Ficha"), QStringLiteral("Clave de la Ficha"),
    QStringLiteral("Nivel de Importancia"), QStringLiteral("Fecha Último Repaso"),
    QStringLiteral("Nº Total de Repasos")};
inline const QStringList kOperatorItems = {
    QStringLiteral("Igual a"),           QStringLiteral("Mayor Que"),
    QStringLiteral("Mayor o Igual Que"), QStringLiteral("Menor Que"),
    QStringLiteral("Menor o Igual Que"), QStringLiteral("Diferente De")};

// Field combo indices.
enum FieldIndex {
    kLevelField = 0,
    kKeyField = 1,
    kImportanceField = 2,
    kDateField = 3,
    kTotalField = 4
};
// The operator combo's index of ">=", the one key comparison without the prefix asterisk.
constexpr int kGreaterOrEqualOperator = 2;
// Connector combo indices.
enum ConnectorIndex { kOrConnector = 0, kAndConnector = 1 };

// One condition row as the screen holds it.
struct ConditionRow {
    int connector = -1; // ignored for the first row
    int field = -1;
    int op = -1;
    QString value;    // the value box (every field but the date)
    QString dateText; // the 8-character date box (the date field)
};

// Why rows were refused, in the order the checks run.
enum class SelectionRefusal {
    None,
    Incomplete,   // a value box or a date box left empty
    FieldNotUsed, // the card key or the importance level, in a study file without it
    NotDigits,    // a number holding anything but the ASCII digits 0-9
    InvalidDate,  // a date that is not a calendar date
};

struct SelectionFilter {
    QString filter; // the filter text when accepted
    SelectionRefusal refusal = SelectionRefusal::None;
    int row = -1;    // the refused row (0-based)
    QString message; // the screen's message for the refusal
    bool accepted() const { return refusal == SelectionRefusal::None; }
};

// "La condición de selección no está completa"
extern const QString kIncompleteConditionMessage;
// The two messages of a field the study file does not use.
extern const QString kKeyNotUsedMessage;
extern const QString kImportanceNotUsedMessage;
// "Los apartados: ... Sólo admiten cifras (del 0 al 9) ..."
extern const QString kDigitsOnlyMessage;
// "La fecha de la condición de selección no es válida."
extern const QString kInvalidDateMessage;

// The field name of a field index ("Nive_Fich" for 0 and -1) and the operator of an operator
// index ("=" for 0 and -1).
QString conditionField(int field);
QString conditionOperator(int op);

// The selection filter of the rows in use (row 1 first), for the study file of design; dayFirst
// says how the date boxes read. The checks run in this order, each over every row, and the first
// failure decides: incomplete row, field not used, non-digit number, impossible date. An
// accepted filter is the rows' clauses followed by " and " and the base filter, so it never lets
// a level-0 card through; when any row after the first has the connector "O", the clauses are
// wrapped in one pair of parentheses. No rows give the base filter. A value longer than a value
// box is read as the box would hold it, cut to its size.
SelectionFilter buildSelectionFilter(const std::vector<ConditionRow>& rows, bool dayFirst,
                                     const studyfile::DesignOptions& design);

} // namespace editing

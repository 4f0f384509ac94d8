#include "editing/selection_filter.h"

#include "platform/table/filter.h"
#include "studyfile/card_table.h"
#include "studyfile/date_box.h"

#include <array>

namespace editing {

const QString kIncompleteConditionMessage =
    QStringLiteral("La condición de selección no está completa");
const QString kKeyNotUsedMessage =
    QStringLiteral("       El apartado CLAVE está \r\rdesactivado en este Fichero de Estudio");
const QString kImportanceNotUsedMessage = QStringLiteral(
    "El apartado NIVEL DE IMPORTANCIA está \r\rdesactivado en este Fichero de Estudio");
const QString kDigitsOnlyMessage = QStringLiteral(
    "Los apartados:\r\r  'Nivel de la Ficha'\r  'Nivel de Importancia'  y\r  'Nº Total de "
    "Repasos'\r\rSólo admiten cifras (del 0 al 9)\rNo aceptan letras, espacios, comas, ni "
    "puntos\r\rPara no repetir este mensaje: corrija el error\ro borre el texto cuando acepte "
    "este mensaje.");
const QString kInvalidDateMessage =
    QStringLiteral("La fecha de la condición de selección no es válida.");

namespace {

// An index as its combo reads it: -1 and anything outside the list count as item 0.
int item(int index, qsizetype count) {
    return index >= 0 && index < count ? index : 0;
}

int fieldOf(const ConditionRow& row) {
    return item(row.field, kFieldItems.size());
}

bool isNumberField(int field) {
    return field == kLevelField || field == kImportanceField || field == kTotalField;
}

QString valueOf(const ConditionRow& row) {
    return row.value.left(kValueBoxSize);
}

bool incomplete(const ConditionRow& row, bool dayFirst) {
    if (fieldOf(row) == kDateField)
        return studyfile::readDateBox(row.dateText, dayFirst).kind ==
               studyfile::DateBoxDate::Kind::Incomplete;
    return valueOf(row).isEmpty();
}

QString notUsedMessage(const ConditionRow& row, const studyfile::DesignOptions& design) {
    if (fieldOf(row) == kKeyField && !design.cardKey)
        return kKeyNotUsedMessage;
    if (fieldOf(row) == kImportanceField && !design.importanceLevel)
        return kImportanceNotUsedMessage;
    return QString();
}

bool badNumber(const ConditionRow& row) {
    return isNumberField(fieldOf(row)) && !table::filter::isNumberText(valueOf(row));
}

bool badDate(const ConditionRow& row, bool dayFirst) {
    return fieldOf(row) == kDateField && studyfile::readDateBox(row.dateText, dayFirst).kind ==
                                             studyfile::DateBoxDate::Kind::Invalid;
}

// The value of a row that passed every check, as it stands in the filter.
QString clauseValue(const ConditionRow& row, bool dayFirst) {
    switch (fieldOf(row)) {
    case kKeyField:
        // With "=" (and the other operators but ">=") the asterisk makes the key a prefix.
        return table::filter::quotedText(
            item(row.op, kOperatorItems.size()) == kGreaterOrEqualOperator ? valueOf(row)
                                                                           : valueOf(row) + u'*');
    case kDateField:
        return table::filter::quotedText(studyfile::readDateBox(row.dateText, dayFirst).dateString);
    default:
        return valueOf(row); // ASCII digits only (checked)
    }
}

} // namespace

QString conditionField(int field) {
    static const std::array<QString, 5> names = {
        QStringLiteral("Nive_Fich"), QStringLiteral("Clav_Fich"), QStringLiteral("Nive_Impo"),
        QStringLiteral("Fech_Ulti_Repa"), QStringLiteral("Total_Repa")};
    return names[static_cast<std::size_t>(item(field, kFieldItems.size()))];
}

QString conditionOperator(int op) {
    static const std::array<QString, 6> ops = {QStringLiteral("="),  QStringLiteral(">"),
                                               QStringLiteral(">="), QStringLiteral("<"),
                                               QStringLiteral("<="), QStringLiteral("<>")};
    return ops[static_cast<std::size_t>(item(op, kOperatorItems.size()))];
}

SelectionFilter buildSelectionFilter(const std::vector<ConditionRow>& rows, bool dayFirst,
                                     const studyfile::DesignOptions& design) {
    SelectionFilter result;
    const auto refuse = [&](SelectionRefusal refusal, std::size_t row, const QString& message) {
        result.refusal = refusal;
        result.row = static_cast<int>(row);
        result.message = message;
        return result;
    };
    for (std::size_t i = 0; i < rows.size(); ++i)
        if (incomplete(rows[i], dayFirst))
            return refuse(SelectionRefusal::Incomplete, i, kIncompleteConditionMessage);
    for (std::size_t i = 0; i < rows.size(); ++i)
        if (const QString message = notUsedMessage(rows[i], design); !message.isEmpty())
            return refuse(SelectionRefusal::FieldNotUsed, i, message);
    for (std::size_t i = 0; i < rows.size(); ++i)
        if (badNumber(rows[i]))
            return refuse(SelectionRefusal::NotDigits, i, kDigitsOnlyMessage);
    for (std::size_t i = 0; i < rows.size(); ++i)
        if (badDate(rows[i], dayFirst))
            return refuse(SelectionRefusal::InvalidDate, i, kInvalidDateMessage);

    if (rows.empty()) {
        result.filter = studyfile::kBaseFilter;
        return result;
    }
    QString clauses;
    bool anyOr = false;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const ConditionRow& row = rows[i];
        if (i > 0) {
            const bool orRow = item(row.connector, kConnectorItems.size()) == kOrConnector;
            anyOr = anyOr || orRow;
            clauses += orRow ? QStringLiteral(" OR ") : QStringLiteral(" AND ");
        }
        clauses +=
            conditionField(row.field) + conditionOperator(row.op) + clauseValue(row, dayFirst);
    }
    // "A OR B and base" would read as "A OR (B and base)" and let the cards of A through
    // without the base filter: the parentheses keep level 0 out of every row.
    if (anyOr)
        clauses = u'(' + clauses + u')';
    result.filter = clauses + QStringLiteral(" and ") + studyfile::kBaseFilter;
    return result;
}

} // namespace editing

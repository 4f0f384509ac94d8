#include "studyfile/card_table.h"

#include <QDir>
#include <QFile>

namespace studyfile {

using table::FieldDef;
using table::FieldType;

std::vector<FieldDef> cardTableFields(int questionSize) {
    if (questionSize < 1 || questionSize > kMaxQuestionSize)
        throw table::EngineError(
            QStringLiteral("Tamaño de la pregunta no válido: %1 (ha de estar entre 1 y %2)")
                .arg(questionSize)
                .arg(kMaxQuestionSize));
    return {
        {QStringLiteral("Nive_Fich"), FieldType::SmallInt, 0},
        {QStringLiteral("Nive_Impo"), FieldType::SmallInt, 0},
        {QStringLiteral("AutoInc"), FieldType::AutoInc, 0},
        {QStringLiteral("Clav_Fich"), FieldType::Text, kCardKeySize},
        {QStringLiteral("Preg_Text"), FieldType::Text, questionSize},
        {QStringLiteral("Tipo_Preg_Imag"), FieldType::Text, 4},
        {QStringLiteral("Preg_Imag"), FieldType::Blob, 0},
        {QStringLiteral("Resp_Text"), FieldType::Blob, 0},
        {QStringLiteral("Tipo_Resp_Imag"), FieldType::Text, 4},
        {QStringLiteral("Resp_Imag"), FieldType::Blob, 0},
        {QStringLiteral("Resp_Memo"), FieldType::Blob, 0},
        {QStringLiteral("Fech_Crea"), FieldType::Text, 8},
        {QStringLiteral("Fech_Ulti_Repa"), FieldType::Text, 8},
        {QStringLiteral("Total_Repa"), FieldType::SmallInt, 0},
        {QStringLiteral("Fech_Prox_Repa"), FieldType::Text, 8},
        {QStringLiteral("Ficha_Comp_Encr"), FieldType::Text, 3},
        {QStringLiteral("Camp_Logi"), FieldType::Boolean, 0},
    };
}

std::vector<table::IndexDef> cardTableIndexes() {
    return {{kPrimaryIndexName, table::splitFieldList(kPrimaryIndexFields), true}};
}

void createCardTable(const QString& path, int questionSize) {
    table::Table::create(path, cardTableFields(questionSize), cardTableIndexes());
}

std::vector<FieldDef> printTableFields() {
    return {
        {QStringLiteral("TEXT"), FieldType::Text, 255},
        {QStringLiteral("TEXT2"), FieldType::Text, 8},
        {QStringLiteral("Imag"), FieldType::Blob, 0},
        {QStringLiteral("Memo"), FieldType::Blob, 0},
        {QStringLiteral("Memo2"), FieldType::Blob, 0},
        {QStringLiteral("Comp_Encr"), FieldType::Text, 6},
        {QStringLiteral("Logi"), FieldType::Boolean, 0},
    };
}

QString createPrintTable(const QString& folder) {
    const QDir dir(folder);
    if (!dir.exists())
        throw table::EngineError(QStringLiteral("No existe la carpeta %1").arg(folder));
    // An earlier print table may carry its name in other letters ("imp.DB").
    const QStringList old = dir.entryList(QDir::Files | QDir::Hidden);
    for (const QString& name : old) {
        const QString lower = name.toLower();
        const QString base = kPrintTableName.toLower();
        if (name != kPrintTableName &&
            (lower == base || lower == base + QStringLiteral("-journal")))
            QFile::remove(dir.filePath(name));
    }
    const QString path = dir.filePath(kPrintTableName);
    table::Table::create(path, printTableFields(), {});
    return path;
}

} // namespace studyfile

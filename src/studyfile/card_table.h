// The card table and the print table: their fields in creation order and their indexes.
#pragma once

#include "platform/table/table.h"

#include <QString>

#include <vector>

namespace studyfile {

constexpr int kDefaultQuestionSize = 60;
constexpr int kMaxQuestionSize = 255;
// Characters of a card key (Clav_Fich).
constexpr int kCardKeySize = 15;

// The filter of a freshly opened study file: every card except those parked at level 0.
inline const QString kBaseFilter = QStringLiteral(" (Nive_fich <> 0 ) ");

inline const QString kPrimaryIndexName = QStringLiteral("NiveFich");
inline const QString kPrimaryIndexFields = QStringLiteral("Nive_Fich;Nive_Impo;AutoInc");

inline const QString kPrintTableName = QStringLiteral("IMP.db");

// questionSize: characters of Preg_Text, 1..255 (anything else is refused).
std::vector<table::FieldDef> cardTableFields(int questionSize);
std::vector<table::IndexDef> cardTableIndexes();
// Creates an empty card table at path, replacing an existing one.
void createCardTable(const QString& path, int questionSize = kDefaultQuestionSize);

std::vector<table::FieldDef> printTableFields();
// Creates an empty print table IMP.db in folder, replacing an earlier one (whatever the letter
// case of its name) and any journal left beside it. Returns its path.
QString createPrintTable(const QString& folder);

} // namespace studyfile

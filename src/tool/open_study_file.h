// A study file as the tool's commands open it: its design record read (with the password given,
// or the remembered one beside it), and refusals in the program's own words on one line.
#pragma once

#include "studyfile/design_record.h"

#include <QString>

#include <optional>
#include <string>

namespace table {
class Table;
}

namespace tool {

// An error in the program's own (Spanish) words, put on one line.
[[noreturn]] void refuse(const QString& message);

// A study file opened for reading: its card table's path, its design record and the key of its
// content.
struct OpenStudyFile {
    QString table;
    studyfile::DesignRecord record;
    QString key;
};

// Reads the design record of the study file whose card table is file (any letter case).
OpenStudyFile openStudyFile(const std::string& file, const std::optional<std::string>& password);

// Opens the card table of an opened study file, every row visible (no filter).
void openCardTable(table::Table& t, const OpenStudyFile& studyFile);

} // namespace tool

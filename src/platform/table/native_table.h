// Telling a table of this engine from a legacy Paradox table by its first bytes.
#pragma once

#include <QString>

namespace table {

// Whether the table file at path is one of this engine's: it starts with the 16 bytes
// "SQLite format 3\0". Any other file that can be read is taken for a legacy Paradox table.
//
// A file that cannot be read (missing, a folder, no permission) counts as native: nothing shows
// that it is a Paradox table, so it is not asked for the Paradox siblings (.MB, .PX) and goes to
// the engine, which refuses to open it with an EngineError that names the table.
bool isNativeTable(const QString& path);

} // namespace table

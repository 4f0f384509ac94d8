// Finding the files of the program folder and the sibling files of a study file without regard to
// letter case: "Image.BMP" finds image.bmp, the "MB" sibling of "Curso.db" finds "Curso.mb".
// Every lookup, replacement or deletion of such a file goes through these helpers, and so does
// every read or write of a whole file.
#pragma once

#include "platform/error.h"

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>

#include <map>

namespace files {

// A file that cannot be opened, read, written or deleted. The text names the file; reason() is
// the system's own explanation.
class FileError : public platform::Error {
public:
    explicit FileError(const QString& text, const QString& reason = QString())
        : Error(text), reason_(reason) {}
    const QString& reason() const { return reason_; }

private:
    QString reason_;
};

// Reads a whole file. Throws FileError when it cannot be opened or read.
QByteArray readWhole(const QString& path);

// Writes bytes as the whole content of a file through a temporary file (QSaveFile) that replaces
// the target only once everything was written, so a failure never leaves a half-written file.
// Throws FileError.
void writeWhole(const QString& path, const QByteArray& bytes);

// The path of the file named `name` in `folder`, matched without regard to case (an exact match
// is preferred); empty when there is none. Only regular files are found.
QString findNoCase(const QString& folder, const QString& name);

// The same for a full path: its folder is taken as it is, its file name without regard to case.
QString findPathNoCase(const QString& path);

// Every file in the folder of `path` whose name equals its file name without regard to case.
QStringList allMatchesNoCase(const QString& path);

bool existsNoCase(const QString& path);

// Deletes every file matching `path` without regard to case. Returns whether one was deleted;
// throws FileError when a matching file exists but cannot be deleted.
bool removeNoCase(const QString& path);

// A study file's sibling path: the table path with its last two characters ("DB") replaced by
// `letters` ("STU", "MB", "JPG"...). Not looked up.
QString siblingPath(const QString& tablePath, const QString& letters);

// The existing sibling file, matched without regard to case; empty when there is none.
QString findSibling(const QString& tablePath, const QString& letters);

// The regular file that a relative name found in a text file names inside `folder`, or empty
// when the name is refused or names no such file. The name is trimmed of blanks at both ends;
// "\" and "/" both separate folders; every component is matched without regard to case, an
// exact match first. Refused, so that a name can only reach the folder and the folders below it:
// an empty name, an absolute one ("/x", "\x", "C:x"), a component that is empty, "." or "..",
// a NUL anywhere, and a component that is a symbolic link (which could point anywhere).
QString resolveRelativeNoCase(const QString& folder, const QString& name);

// Resolves many names inside one folder exactly as resolveRelativeNoCase does, but reads the
// entries of each folder once, when a name first needs them, instead of once per name: a text
// file naming thousands of files of one folder is then resolved in linear time. Entries added
// after a folder was read are not seen, so a resolver serves one pass over one file.
class RelativeNameResolver {
public:
    explicit RelativeNameResolver(const QString& folder);
    QString resolve(const QString& name);

private:
    QString folder_;
    // Per folder path: case-folded entry name -> the entries of that name, in name order.
    std::map<QString, QHash<QString, QStringList>> entries_;
};

// The first of `names` that exists in `folder` (without regard to case); empty when none does.
QString findFirstNoCase(const QString& folder, const QStringList& names);

} // namespace files

#include "platform/files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>

namespace files {

QByteArray readWhole(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw FileError(
            QStringLiteral("No se puede abrir el archivo \"%1\". %2").arg(path, file.errorString()),
            file.errorString());
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw FileError(
            QStringLiteral("No se puede leer el archivo \"%1\". %2").arg(path, file.errorString()),
            file.errorString());
    return bytes;
}

void writeWhole(const QString& path, const QByteArray& bytes) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw FileError(
            QStringLiteral("No se puede crear el archivo \"%1\". %2").arg(path, file.errorString()),
            file.errorString());
    if (file.write(bytes) != bytes.size() || !file.commit())
        throw FileError(QStringLiteral("No se puede escribir el archivo \"%1\". %2")
                            .arg(path, file.errorString()),
                        file.errorString());
}

static QStringList matchesIn(const QString& folder, const QString& name) {
    QStringList found;
    if (name.isEmpty())
        return found;
    const QDir dir(folder.isEmpty() ? QStringLiteral(".") : folder);
    const QString exact = dir.filePath(name);
    if (QFileInfo(exact).isFile())
        found.append(exact);
    const QStringList entries = dir.entryList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QString& entry : entries) {
        if (entry != name && entry.compare(name, Qt::CaseInsensitive) == 0)
            found.append(dir.filePath(entry));
    }
    return found;
}

QString findNoCase(const QString& folder, const QString& name) {
    const QStringList found = matchesIn(folder, name);
    return found.isEmpty() ? QString() : found.first();
}

QString findPathNoCase(const QString& path) {
    const QFileInfo info(path);
    return findNoCase(info.path(), info.fileName());
}

QStringList allMatchesNoCase(const QString& path) {
    const QFileInfo info(path);
    return matchesIn(info.path(), info.fileName());
}

bool existsNoCase(const QString& path) {
    return !findPathNoCase(path).isEmpty();
}

bool removeNoCase(const QString& path) {
    bool removed = false;
    for (const QString& file : allMatchesNoCase(path)) {
        QFile f(file);
        if (!f.remove())
            throw FileError(
                QStringLiteral("No se puede borrar el archivo %1: %2").arg(file, f.errorString()),
                f.errorString());
        removed = true;
    }
    return removed;
}

QString siblingPath(const QString& tablePath, const QString& letters) {
    return tablePath.left(qMax(0, tablePath.size() - 2)) + letters;
}

QString findSibling(const QString& tablePath, const QString& letters) {
    return findPathNoCase(siblingPath(tablePath, letters));
}

QString resolveRelativeNoCase(const QString& folder, const QString& name) {
    return RelativeNameResolver(folder).resolve(name);
}

RelativeNameResolver::RelativeNameResolver(const QString& folder)
    : folder_(folder.isEmpty() ? QStringLiteral(".") : folder) {}

QString RelativeNameResolver::resolve(const QString& name) {
    const QString trimmed = name.trimmed();
    if (trimmed.isEmpty() || trimmed.contains(QChar(0)))
        return QString();
    static const QRegularExpression separators(QStringLiteral("[\\\\/]"));
    const QStringList parts = trimmed.split(separators);
    // A drive letter ("C:", "c:x") makes the name absolute on the system that wrote it.
    if (parts.first().size() >= 2 && parts.first()[1] == u':' && parts.first()[0].isLetter())
        return QString();
    QString current = folder_;
    // Paths are joined by hand: QDir::filePath would take a component that Qt reads as absolute
    // (":x", a compiled-in resource) in place of the whole path.
    const auto join = [](const QString& dir, const QString& entry) {
        return dir.endsWith(u'/') ? dir + entry : dir + u'/' + entry;
    };
    for (qsizetype i = 0; i < parts.size(); ++i) {
        const QString& part = parts[i];
        // A colon never belongs to a name of the folder's own files: it marks drives and
        // resources.
        if (part.isEmpty() || part == u"." || part == u".." || part.contains(u':'))
            return QString();
        const bool last = i == parts.size() - 1;
        const QDir dir(current);
        const auto fits = [&](const QString& path) {
            const QFileInfo info(path);
            return !info.isSymLink() && (last ? info.isFile() : info.isDir());
        };
        QString found;
        if (fits(join(current, part))) {
            found = join(current, part);
        } else {
            auto listed = entries_.find(current);
            if (listed == entries_.end()) {
                QHash<QString, QStringList> byFoldedName;
                const QStringList entries = dir.entryList(QDir::AllEntries | QDir::Hidden |
                                                          QDir::System | QDir::NoDotAndDotDot);
                for (const QString& entry : entries)
                    byFoldedName[entry.toCaseFolded()].append(entry);
                listed = entries_.emplace(current, std::move(byFoldedName)).first;
            }
            for (const QString& entry : listed->second.value(part.toCaseFolded())) {
                if (fits(join(current, entry))) {
                    found = join(current, entry);
                    break;
                }
            }
        }
        if (found.isEmpty())
            return QString();
        current = found;
    }
    // Whatever the components were, the file is inside the folder.
    const QString root = QDir::cleanPath(QDir(folder_).absolutePath()) + u'/';
    if (!QDir::cleanPath(QFileInfo(current).absoluteFilePath()).startsWith(root))
        return QString();
    return current;
}

QString findFirstNoCase(const QString& folder, const QStringList& names) {
    for (const QString& name : names) {
        const QString found = findNoCase(folder, name);
        if (!found.isEmpty())
            return found;
    }
    return QString();
}

} // namespace files

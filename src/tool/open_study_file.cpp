#include "tool/open_study_file.h"

#include "platform/files.h"
#include "platform/table/table.h"
#include "platform/volume.h"
#include "tool/tool_command.h"

#include <QFileInfo>

namespace tool {

[[noreturn]] void refuse(const QString& message) {
    throw ToolError(studyfile::oneLine(message).toStdString());
}

OpenStudyFile openStudyFile(const std::string& file, const std::optional<std::string>& password) {
    OpenStudyFile s;
    const QString path = argText(file);
    s.table = files::findPathNoCase(path);
    if (s.table.isEmpty())
        throw ToolError("no study file " + file);
    const QString stu = files::findSibling(s.table, QStringLiteral("STU"));
    if (stu.isEmpty())
        refuse(QStringLiteral("El Fichero de Estudio está incompleto."));
    if (password) {
        s.key = argText(*password);
    } else if (studyfile::designRecordFileEnciphered(stu)) {
        // A remembered password beside it, when it can be read here; it is never written or
        // deleted by the tool.
        const QString cla = files::findSibling(s.table, QStringLiteral("CLA"));
        bool found = false;
        if (!cla.isEmpty()) {
            try {
                const QStringList lines = studyfile::readRememberedPasswordFile(
                    cla, platform::volumeSerialText(QFileInfo(s.table).absolutePath()));
                if (lines.size() >= 2) {
                    s.key = lines[1];
                    found = true;
                }
            } catch (const std::exception&) {
            }
        }
        if (!found)
            throw ToolError("the study file is enciphered: give its password with --password");
    }
    QStringList lines;
    try {
        lines = studyfile::readDesignRecordFile(stu, s.key);
        s.record = studyfile::parseDesignRecord(lines);
    } catch (const files::FileError&) {
        throw;
    } catch (const std::exception& e) {
        refuse(QString::fromStdString(e.what()));
    }
    return s;
}

void openCardTable(table::Table& t, const OpenStudyFile& studyFile) {
    t.open(QFileInfo(studyFile.table).path(), QFileInfo(studyFile.table).fileName());
}

} // namespace tool

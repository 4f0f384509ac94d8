// Runs the built orbanel-tool for end-to-end tests and captures what it prints.
#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

#include <string>

struct ToolResult {
    int exitCode = -1;
    std::string out;
    std::string err;
};

inline ToolResult runTool(const QStringList& args, const QString& workingDir = QString()) {
    QProcess p;
    if (!workingDir.isEmpty())
        p.setWorkingDirectory(workingDir);
    p.start(QStringLiteral(ORBANEL_TOOL), args);
    p.closeWriteChannel();
    p.waitForFinished(120000);
    ToolResult r;
    r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = p.readAllStandardOutput().toStdString();
    r.err = p.readAllStandardError().toStdString();
    return r;
}

// A test of orbanel-tool commands run in a temporary folder: run the tool there, read and write
// its files, and read a card table's rows by question.
#pragma once

#include "tool_runner.h"

#include "support/card_rows.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <map>
#include <string>

class ToolFolderTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }

    ToolResult tool(const QStringList& args) { return runTool(args, dir.path()); }
    QString path(const QString& name) const { return dir.filePath(name); }
    // Runs the tool and expects it to succeed; returns what it printed.
    std::string ok(const QStringList& args) {
        const ToolResult r = tool(args);
        EXPECT_EQ(r.exitCode, 0) << args.join(' ').toStdString() << ": " << r.err;
        return r.out;
    }
    void write(const QString& name, const QByteArray& bytes) {
        QDir().mkpath(QFileInfo(path(name)).path());
        QFile f(path(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    QByteArray read(const QString& name) const {
        QFile f(path(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    // The rows of a card table, by question.
    std::map<QString, card_rows::Row> cards(const QString& name) const {
        std::map<QString, card_rows::Row> out;
        for (const auto& [key, row] : card_rows::read(path(name)))
            out[QString::fromUtf8(row.at("Preg_Text"))] = row;
        return out;
    }

    QTemporaryDir dir;
};

// A program over a temporary program folder, with a scripted Ui and a manual clock.
#pragma once

#include "app/program.h"
#include "platform/clock.h"
#include "support/manual_clock.h"
#include "support/scripted_ui.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <memory>

class AppTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(folder.isValid());
        QDir(folder.path()).mkdir("dat");
        QDir(folder.path()).mkdir("import");
    }
    void TearDown() override { program.reset(); }

    // Creates the program (after the test prepared the folder).
    Program& start() {
        program = std::make_unique<Program>(folder.path(), ui, clock);
        program->start();
        ui.clearRecords();
        return *program;
    }

    QString dat(const QString& name = QString()) const {
        return QDir(folder.filePath("dat")).filePath(name);
    }

    static void writeFile(const QString& path, const QByteArray& bytes = "x") {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << path.toStdString();
        f.write(bytes);
    }

    QTemporaryDir folder;
    ScriptedUi ui;
    ManualClock clock{QDateTime(QDate(2024, 3, 5), QTime(9, 30, 0))};
    std::unique_ptr<Program> program;
};

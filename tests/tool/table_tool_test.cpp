// orbanel-tool table: each subcommand once, end to end.
#include "tool_runner.h"

#include <QTemporaryDir>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using ::testing::HasSubstr;
using ::testing::StartsWith;

namespace {

class TableTool : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        file_ = dir_.filePath("CURSO.DB");
    }

    ToolResult tool(QStringList args) {
        args.prepend("table");
        return runTool(args);
    }

    std::string insert(const QStringList& assignments) {
        auto r = tool(QStringList{"insert", file_} + assignments);
        EXPECT_EQ(r.exitCode, 0) << r.err;
        return r.out;
    }

    QTemporaryDir dir_;
    QString file_;
};

void expectError(const ToolResult& r, const std::string& part) {
    EXPECT_NE(r.exitCode, 0);
    EXPECT_THAT(r.err, StartsWith("error: "));
    EXPECT_THAT(r.err, HasSubstr(part));
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
}

} // namespace

TEST_F(TableTool, CreateInsertListCount) {
    auto r = tool({"create-cards", file_, "--question-size", "12"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "");

    EXPECT_EQ(insert({"Nive_Fich=2", "Preg_Text=¿Capital de Francia? París", "Camp_Logi=true"}),
              "1\n");
    EXPECT_EQ(insert({"nive_fich=0", "Clav_Fich=a=b", "Fech_Prox_Repa=20240105"}), "2\n");
    EXPECT_EQ(insert({"Nive_Fich=1", "Preg_Text=dos\tcampos\nlíneas", "Total_Repa=3"}), "3\n");
    // Two characters, a backslash and a "t", are not a tab.
    EXPECT_EQ(insert({"Nive_Fich=3", "Preg_Text=a\\tb\\"}), "4\n");

    // All rows in table order, default fields, question cut to 12 characters.
    r = tool({"list", file_});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "2\t0\t\ta=b\t\t\t20240105\t\n"
                     "3\t1\t\t\tdos\\tcampos\\nl\t\t\t3\n"
                     "1\t2\t\t\t¿Capital de \t\t\t\n"
                     "4\t3\t\t\ta\\\\tb\\\\\t\t\t\n");

    // Options after or before the file; --unfiltered says "all rows" explicitly.
    r = tool({"list", "--filter", " (Nive_fich <> 0 ) ", file_, "--fields", "AutoInc,camp_logi"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "3\t\n1\ttrue\n4\t\n");
    r = tool({"list", file_, "--unfiltered", "--fields", "AutoInc"});
    EXPECT_EQ(r.out, "2\n3\n1\n4\n");

    r = tool({"count", file_});
    EXPECT_EQ(r.out, "4\n");
    r = tool({"count", file_, "--filter", "Fech_Prox_Repa = 20240105 OR Camp_Logi = true"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "2\n");
}

TEST_F(TableTool, FailuresPrintOneErrorLine) {
    ASSERT_EQ(tool({"create-cards", file_}).exitCode, 0);
    expectError(tool({"count", file_, "--filter", "Nive_Fich = = 1"}), "\"=\"");
    expectError(tool({"list", file_, "--filter", "Nivel = 1"}), "Nivel");
    expectError(tool({"list", file_, "--fields", "AutoInc,Resp_Memo"}), "Resp_Memo");
    expectError(tool({"list", file_, "--filter", "Nive_Fich = 1", "--unfiltered"}), "unfiltered");
    expectError(tool({"insert", file_, "Nive_Fich=nueve"}), "Nive_Fich");
    expectError(tool({"insert", file_, "Nive_Fich"}), "NAME=VALUE");
    expectError(tool({"insert", file_, "Camp_Logi=si"}), "Camp_Logi");
    expectError(tool({"insert", file_, "Sin_Campo=1"}), "Sin_Campo");
    expectError(tool({"create-cards", file_, "--question-size", "300"}), "300");
    expectError(tool({"create-cards", file_, "--question-size", "6x"}), "6x");
    expectError(tool({"count", dir_.filePath("NADA.DB")}), "NADA.DB");
    expectError(tool({"rename", file_}), "rename");
    // Nothing was inserted by the failed inserts.
    EXPECT_EQ(tool({"count", file_}).out, "0\n");
}

#include "tool/tool_command.h"

#include <gtest/gtest.h>

using tool::ParsedArgs;
using tool::ToolError;

TEST(ToolArgs, OptionsMayStandBeforeOrAfterPositionals) {
    ParsedArgs a({"--filter", "Nive_Fich = 1", "X.DB", "--unfiltered", "Y"}, {"filter"},
                 {"unfiltered"});
    EXPECT_EQ(a.positional(), (std::vector<std::string>{"X.DB", "Y"}));
    EXPECT_EQ(a.value("filter").value(), "Nive_Fich = 1");
    EXPECT_TRUE(a.flag("unfiltered"));
    EXPECT_FALSE(a.value("fields").has_value());
}

TEST(ToolArgs, RepeatedOptionKeepsEveryValueInOrder) {
    ParsedArgs a({"--row", "a,=,1", "F", "--row=O,b,=,2", "--row", "--row"}, {"row", "key"});
    EXPECT_EQ(a.values("row"), (std::vector<std::string>{"a,=,1", "O,b,=,2", "--row"}));
    EXPECT_EQ(a.value("row").value(), "--row");
    EXPECT_TRUE(a.values("key").empty());
}

TEST(ToolArgs, InlineValueAndErrors) {
    ParsedArgs a({"--key=a=b", "F"}, {"key"});
    EXPECT_EQ(a.value("key").value(), "a=b");
    EXPECT_THROW(ParsedArgs({"--nope"}, {"key"}), ToolError);
    EXPECT_THROW(ParsedArgs({"F", "--key"}, {"key"}), ToolError);
    EXPECT_THROW(a.at(1, "DIR"), ToolError);
}

TEST(ToolArgs, AssignmentSplitsAtFirstEquals) {
    EXPECT_EQ(tool::splitAssignment("Preg_Text=a=b"),
              std::make_pair(std::string("Preg_Text"), std::string("a=b")));
    EXPECT_EQ(tool::splitAssignment("X="), std::make_pair(std::string("X"), std::string()));
    EXPECT_THROW(tool::splitAssignment("novalue"), ToolError);
}

TEST(ToolGroups, CommandsAreFoundByNameAndGetTheArgumentsAfterIt) {
    std::vector<std::string> seen;
    const tool::CommandGroup group{"demo",
                                   {{"one", "demo one X\n",
                                     [&](const tool::Args& args) {
                                         seen = args;
                                         return 3;
                                     }},
                                    {"two", "demo two\n", [](const tool::Args&) { return 4; }}}};
    EXPECT_EQ(group.run({"one", "X", "--flag"}), 3);
    EXPECT_EQ(seen, (std::vector<std::string>{"X", "--flag"}));
    EXPECT_EQ(group.run({"two"}), 4);
    EXPECT_EQ(group.usage(), "demo one X\ndemo two\n");

    const struct {
        tool::Args args;
        const char* error;
    } failures[] = {
        {{}, "missing demo command (one, two)"},
        {{"three"}, "unknown demo command \"three\" (one, two)"},
        {{"ONE"}, "unknown demo command \"ONE\" (one, two)"},
    };
    for (const auto& f : failures) {
        try {
            group.run(f.args);
            ADD_FAILURE() << f.error;
        } catch (const ToolError& e) {
            EXPECT_STREQ(e.what(), f.error);
        }
    }
}

TEST(ToolGroups, AGroupOfOneUnnamedCommandIsACommandOfItsOwn) {
    std::vector<std::string> seen;
    const tool::CommandGroup group{"solo", {{"", "solo X\n", [&](const tool::Args& args) {
                                                 seen = args;
                                                 return 5;
                                             }}}};
    EXPECT_EQ(group.run({"one", "X"}), 5);
    EXPECT_EQ(seen, (std::vector<std::string>{"one", "X"}));
    EXPECT_EQ(group.run({}), 5);
    EXPECT_TRUE(seen.empty());
}

TEST(ToolArgs, WholeNumbersAndExtraPositionals) {
    EXPECT_EQ(tool::wholeNumber("level", "-12"), -12);
    for (const char* bad : {"", "abc", "12x", "1 ", "99999999999"})
        EXPECT_THROW(tool::wholeNumber("level", bad), ToolError) << bad;
    const ParsedArgs p({"A", "B"}, {});
    EXPECT_NO_THROW(tool::noExtraPositionals(p, 2));
    EXPECT_THROW(tool::noExtraPositionals(p, 1), ToolError);
}

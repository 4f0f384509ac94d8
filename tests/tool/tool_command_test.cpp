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

TEST(ToolArgs, InlineValueAndErrors) {
    ParsedArgs a({"--key=a=b", "F"}, {"key"});
    EXPECT_EQ(a.value("key").value(), "a=b");
    EXPECT_THROW(ParsedArgs({"--nope"}, {"key"}), ToolError);
    EXPECT_THROW(ParsedArgs({"F", "--key"}, {"key"}), ToolError);
    EXPECT_THROW(a.at(1, "DIR"), ToolError);
}

TEST(ToolArgs, AssignmentSplitsAtFirstEquals) {
    EXPECT_EQ(tool::splitAssignment("Preg_Text=a=b"), std::make_pair(std::string("Preg_Text"),
                                                                      std::string("a=b")));
    EXPECT_EQ(tool::splitAssignment("X="), std::make_pair(std::string("X"), std::string()));
    EXPECT_THROW(tool::splitAssignment("novalue"), ToolError);
}

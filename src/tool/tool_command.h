// Subcommand registry, dispatch and the argument helpers shared by every orbanel-tool command
// group.
#pragma once

#include "platform/error.h"

#include <QString>

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace tool {

// A failure that ends the command: main prints "error: " + what() on one line and exits 1.
class ToolError : public platform::Error {
public:
    using Error::Error;
};

// Command-line words ("table list X.DB" -> {"table", "list", "X.DB"}).
using Args = std::vector<std::string>;

// One subcommand of a group. Its handler gets the arguments after the subcommand's name
// ("table list X.DB" -> {"X.DB"}) and returns the exit code.
struct Command {
    std::string name;                    // second word on the command line: "list", "pack", ...
                                         // (empty: the group's only command, no second word)
    std::string usage;                   // its lines printed by --help
    std::function<int(const Args&)> run; // returns the exit code
};

struct CommandGroup {
    std::string name; // first word on the command line: "table", "lzh", ...
    std::vector<Command> commands;

    // The usage lines of every command, in table order.
    std::string usage() const;
    // Runs the command args[0] with the rest of args; a group whose one command has no name runs
    // it with all of args. Throws ToolError when args is empty or names no command of the group.
    int run(const Args& args) const;
};

// Registers a group at static-initialisation time; each command file holds one of these.
struct RegisterGroup {
    explicit RegisterGroup(CommandGroup group);
};

const std::map<std::string, CommandGroup>& groups();

// Options may stand before or after the positional arguments. Every option is "--name" and either
// a flag or takes the next argument as its value; an unknown option is an error.
class ParsedArgs {
public:
    // valueOptions take a value, flagOptions do not (names without the leading "--").
    ParsedArgs(const Args& args, const std::vector<std::string>& valueOptions,
               const std::vector<std::string>& flagOptions = {});

    const std::vector<std::string>& positional() const { return positional_; }
    bool flag(const std::string& name) const;
    std::optional<std::string> value(const std::string& name) const;
    // Every value given to an option that may be repeated, in command-line order (value() gives
    // the last one).
    std::vector<std::string> values(const std::string& name) const;
    // The positional argument at index, or a ToolError naming what is missing.
    const std::string& at(std::size_t index, const char* what) const;

private:
    std::vector<std::string> positional_;
    std::map<std::string, std::string> values_;
    std::vector<std::pair<std::string, std::string>> allValues_;
    std::vector<std::string> flags_;
};

// Splits "Name=Value" at the first '='; a missing '=' is an error.
std::pair<std::string, std::string> splitAssignment(const std::string& text);

// Refuses positional arguments beyond the first count ("unexpected argument").
void noExtraPositionals(const ParsedArgs& args, std::size_t count);

// The whole number of an option's value; ToolError "--option needs a whole number" otherwise.
int wholeNumber(const std::string& option, const std::string& text);

// Command-line text (UTF-8) as text, and text as it is printed (UTF-8).
QString argText(const std::string& text);
std::string printed(const QString& text);
// A value on one line: tab, line feed and carriage return as \t, \n, \r, and a backslash as \\ so
// that a value holding those two characters never reads like a control character.
std::string escapedValue(const QString& value);

} // namespace tool

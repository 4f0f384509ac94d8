// Subcommand registry and argument handling shared by every orbanel-tool command group.
#pragma once

#include "platform/error.h"

#include <functional>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace tool {

// A failure that ends the command: main prints "error: " + what() on one line and exits 1.
class ToolError : public platform::Error {
public:
    using Error::Error;
};

// The arguments of one command after its group name ("table list X.DB" -> {"list", "X.DB"}).
using Args = std::vector<std::string>;

struct CommandGroup {
    std::string name;                    // first word on the command line: "table", "lzh", ...
    std::string usage;                   // lines printed by --help
    std::function<int(const Args&)> run; // returns the exit code
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
    // The positional argument at index, or a ToolError naming what is missing.
    const std::string& at(std::size_t index, const char* what) const;

private:
    std::vector<std::string> positional_;
    std::map<std::string, std::string> values_;
    std::vector<std::string> flags_;
};

// Splits "Name=Value" at the first '='; a missing '=' is an error.
std::pair<std::string, std::string> splitAssignment(const std::string& text);

} // namespace tool

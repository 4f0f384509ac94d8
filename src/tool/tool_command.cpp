#include "tool/tool_command.h"

#include <algorithm>

namespace tool {

namespace {
std::map<std::string, CommandGroup>& registry() {
    static std::map<std::string, CommandGroup> r;
    return r;
}
} // namespace

RegisterGroup::RegisterGroup(CommandGroup group) {
    auto name = group.name;
    registry().emplace(std::move(name), std::move(group));
}

const std::map<std::string, CommandGroup>& groups() {
    return registry();
}

std::string CommandGroup::usage() const {
    std::string lines;
    for (const Command& command : commands)
        lines += command.usage;
    return lines;
}

int CommandGroup::run(const Args& args) const {
    // A group of one command without a name is a command of its own: "import-text X.DB T.txt".
    if (commands.size() == 1 && commands.front().name.empty())
        return commands.front().run(args);
    std::string names;
    for (const Command& command : commands)
        names += (names.empty() ? "" : ", ") + command.name;
    if (args.empty())
        throw ToolError("missing " + name + " command (" + names + ")");
    for (const Command& command : commands) {
        if (command.name == args[0])
            return command.run(Args(args.begin() + 1, args.end()));
    }
    throw ToolError("unknown " + name + " command \"" + args[0] + "\" (" + names + ")");
}

ParsedArgs::ParsedArgs(const Args& args, const std::vector<std::string>& valueOptions,
                       const std::vector<std::string>& flagOptions) {
    auto has = [](const std::vector<std::string>& list, const std::string& name) {
        return std::find(list.begin(), list.end(), name) != list.end();
    };
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a.size() > 2 && a.compare(0, 2, "--") == 0) {
            std::string name = a.substr(2);
            std::string inlineValue;
            bool hasInline = false;
            if (auto eq = name.find('='); eq != std::string::npos) {
                inlineValue = name.substr(eq + 1);
                name = name.substr(0, eq);
                hasInline = true;
            }
            if (has(valueOptions, name)) {
                if (!hasInline && i + 1 >= args.size())
                    throw ToolError("option --" + name + " needs a value");
                values_[name] = hasInline ? inlineValue : args[++i];
                allValues_.emplace_back(name, values_[name]);
            } else if (has(flagOptions, name) && !hasInline) {
                flags_.push_back(name);
            } else {
                throw ToolError("unknown option --" + name);
            }
        } else {
            positional_.push_back(a);
        }
    }
}

std::vector<std::string> ParsedArgs::values(const std::string& name) const {
    std::vector<std::string> out;
    for (const auto& [option, value] : allValues_)
        if (option == name)
            out.push_back(value);
    return out;
}

bool ParsedArgs::flag(const std::string& name) const {
    return std::find(flags_.begin(), flags_.end(), name) != flags_.end();
}

std::optional<std::string> ParsedArgs::value(const std::string& name) const {
    auto it = values_.find(name);
    if (it == values_.end())
        return std::nullopt;
    return it->second;
}

const std::string& ParsedArgs::at(std::size_t index, const char* what) const {
    if (index >= positional_.size())
        throw ToolError(std::string("missing ") + what);
    return positional_[index];
}

std::pair<std::string, std::string> splitAssignment(const std::string& text) {
    auto eq = text.find('=');
    if (eq == std::string::npos)
        throw ToolError("expected NAME=VALUE, got \"" + text + "\"");
    return {text.substr(0, eq), text.substr(eq + 1)};
}

void noExtraPositionals(const ParsedArgs& args, std::size_t count) {
    if (args.positional().size() > count)
        throw ToolError("unexpected argument \"" + args.positional()[count] + "\"");
}

int wholeNumber(const std::string& option, const std::string& text) {
    std::size_t used = 0;
    int n = 0;
    try {
        n = std::stoi(text, &used);
    } catch (const std::exception&) {
        used = 0;
    }
    if (used == 0 || used != text.size())
        throw ToolError("--" + option + " needs a whole number, got \"" + text + "\"");
    return n;
}

QString argText(const std::string& text) {
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

std::string printed(const QString& text) {
    return text.toStdString();
}

std::string escapedValue(const QString& value) {
    std::string out;
    for (char c : value.toStdString()) {
        if (c == '\\')
            out += "\\\\";
        else if (c == '\t')
            out += "\\t";
        else if (c == '\n')
            out += "\\n";
        else if (c == '\r')
            out += "\\r";
        else
            out += c;
    }
    return out;
}

} // namespace tool

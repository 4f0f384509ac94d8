// orbanel-tool: the command-line companion of the program, built from the same libraries.
#include "tool/tool_command.h"

#include <QCoreApplication>
#include <QGuiApplication>

#include <exception>
#include <iostream>
#include <memory>
#include <string>

namespace {

void printUsage(std::ostream& out) {
    out << "usage: orbanel-tool GROUP COMMAND [ARGS...] [OPTIONS...]\n"
           "Options may stand before or after the positional arguments.\n";
    for (const auto& [name, group] : tool::groups())
        out << "\n" << group.usage();
}

// Error texts of the program may hold "\r" line breaks: one error is one line, so each run of
// line breaks becomes a single space.
std::string oneLine(const std::string& text) {
    std::string out;
    bool inBreak = false;
    for (char c : text) {
        if (c == '\r' || c == '\n') {
            if (!inBreak)
                out += ' ';
            inBreak = true;
        } else {
            out += c;
            inBreak = false;
        }
    }
    return out;
}

} // namespace

int main(int argc, char** argv) {
    tool::Args args(argv + 1, argv + argc);
    // Drawing pages needs fonts and a paint engine: the print group runs in a GUI application,
    // off screen unless told otherwise, so that it needs no display.
    std::unique_ptr<QCoreApplication> app;
    if (!args.empty() && args[0] == "print") {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        // The platform's notices (a missing runtime folder, fonts) are not the tool's output.
        qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& text) {
            if (type == QtFatalMsg)
                std::cerr << text.toStdString() << "\n";
        });
        app = std::make_unique<QGuiApplication>(argc, argv);
    } else {
        app = std::make_unique<QCoreApplication>(argc, argv);
    }
    if (args.empty() || args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
        printUsage(std::cout);
        return args.empty() ? 2 : 0;
    }
    const auto& groups = tool::groups();
    auto it = groups.find(args[0]);
    if (it == groups.end()) {
        std::cerr << "error: unknown command \"" << args[0] << "\" (see orbanel-tool --help)\n";
        return 2;
    }
    try {
        return it->second.run(tool::Args(args.begin() + 1, args.end()));
    } catch (const std::exception& e) {
        std::cerr << "error: " << oneLine(e.what()) << "\n";
        return 1;
    }
}

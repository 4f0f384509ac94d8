// orbanel-tool groups over the stream container and its codecs: "container", "lzh" and "cipher".
#include "platform/files.h"
#include "streams/block_cipher.h"
#include "streams/lzh.h"
#include "streams/qx_streams.h"
#include "streams/text_bytes.h"
#include "tool/tool_command.h"

#include <QDir>
#include <QString>

#include <iostream>

namespace {

using tool::argText;
using tool::printed;

// The --key option as text; an empty key is an error. Warns when the cipher refuses the key, which
// then leaves the data as it is.
std::optional<QString> keyOption(const tool::ParsedArgs& args, bool required) {
    const auto value = args.value("key");
    if (!value) {
        if (required)
            throw tool::ToolError("missing --key KEY");
        return std::nullopt;
    }
    if (value->empty())
        throw tool::ToolError("the key is empty");
    const QString key = argText(*value);
    if (!streams::cipherKeyAccepted(streams::textBytes(key)))
        std::cerr << "warning: the cipher refuses this key (weak, or 256 bytes or more): the data "
                     "is not enciphered\n";
    return key;
}

// Entry names become file names in the target folder: nothing that could leave it.
void checkEntryName(const QString& name) {
    if (name == "." || name == ".." || name.contains('/') || name.contains('\\') ||
        name.contains(QChar(0)))
        throw tool::ToolError("unsafe entry name \"" + printed(name) + "\"");
}

int containerList(const tool::Args& argv) {
    tool::ParsedArgs args(argv, {"key"});
    const QString file = argText(args.at(0, "FILE"));
    const auto key = keyOption(args, false);
    streams::TQXStreams q;
    if (key)
        q.Key = *key;
    streams::MemoryStream image(files::readWhole(file));
    const auto listing = q.ListFileEntries(image);
    std::cout << "compressed: " << (listing.compressed ? "yes" : "no") << "\n"
              << "enciphered: " << (listing.enciphered ? "yes" : "no") << "\n";
    for (const auto& entry : listing.entries)
        std::cout << printed(entry.name) << "\t" << entry.size << "\n";
    return 0;
}

int containerPack(const tool::Args& argv) {
    tool::ParsedArgs args(argv, {"key"}, {"compress"});
    const QString file = argText(args.at(0, "OUT"));
    const auto key = keyOption(args, false);
    streams::TQXStreams q;
    q.Compressed = args.flag("compress");
    q.Encrypted = key.has_value();
    q.Key = key.value_or(QString());
    if (args.positional().size() < 2)
        throw tool::ToolError("missing NAME=PATH");
    for (std::size_t i = 1; i < args.positional().size(); ++i) {
        const auto [name, path] = tool::splitAssignment(args.positional()[i]);
        if (name.empty())
            throw tool::ToolError("empty entry name in \"" + args.positional()[i] + "\"");
        streams::MemoryStream data;
        data.LoadFromFile(argText(path));
        q.AddStream(argText(name), data);
    }
    q.SaveToFile(file);
    return 0;
}

int containerUnpack(const tool::Args& argv) {
    tool::ParsedArgs args(argv, {"key"});
    const QString file = argText(args.at(0, "FILE"));
    const QString dir = argText(args.at(1, "DIR"));
    const auto key = keyOption(args, false);
    streams::TQXStreams q;
    if (key)
        q.Key = *key;
    q.LoadFromFile(file);
    for (const QString& name : q.Names())
        checkEntryName(name);
    if (!QDir().mkpath(dir))
        throw tool::ToolError("cannot create folder \"" + printed(dir) + "\"");
    for (const QString& name : q.Names())
        files::writeWhole(QDir(dir).filePath(name), q.Data(name));
    return 0;
}

// IN and OUT of the lzh commands: OUT is written whole with what code makes of IN.
int lzhFile(const tool::Args& argv, QByteArray (*code)(const QByteArray&)) {
    tool::ParsedArgs args(argv, {});
    const QString in = argText(args.at(0, "IN"));
    const QString outFile = argText(args.at(1, "OUT"));
    files::writeWhole(outFile, code(files::readWhole(in)));
    return 0;
}

// IN, OUT and --key of the cipher commands.
int cipherFile(const tool::Args& argv, bool encipher) {
    tool::ParsedArgs args(argv, {"key"});
    const QString in = argText(args.at(0, "IN"));
    const QString outFile = argText(args.at(1, "OUT"));
    const QByteArray key = streams::textBytes(*keyOption(args, true));
    streams::MemoryStream data(files::readWhole(in));
    if (encipher)
        streams::EncipherStream(data, key);
    else
        streams::DecipherStream(data, key);
    files::writeWhole(outFile, data.Bytes());
    return 0;
}

const tool::RegisterGroup containerGroup(
    {"container",
     {{"list", "container list FILE [--key KEY]\n", &containerList},
      {"pack", "container pack OUT [--compress] [--key KEY] NAME=PATH...\n", &containerPack},
      {"unpack", "container unpack FILE DIR [--key KEY]\n", &containerUnpack}}});
const tool::RegisterGroup
    lzhGroup({"lzh",
              {{"compress", "lzh compress IN OUT\n",
                [](const tool::Args& args) { return lzhFile(args, &streams::lzhCompressBytes); }},
               {"decompress", "lzh decompress IN OUT\n", [](const tool::Args& args) {
                    return lzhFile(args, &streams::lzhDecompressBytes);
                }}}});
const tool::RegisterGroup
    cipherGroup({"cipher",
                 {{"encipher", "cipher encipher IN OUT --key KEY\n",
                   [](const tool::Args& args) { return cipherFile(args, true); }},
                  {"decipher", "cipher decipher IN OUT --key KEY\n",
                   [](const tool::Args& args) { return cipherFile(args, false); }}}});

} // namespace

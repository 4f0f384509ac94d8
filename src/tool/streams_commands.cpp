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

QString text(const std::string& s) {
    return QString::fromLocal8Bit(s.data(), qsizetype(s.size()));
}
std::string out(const QString& s) {
    return s.toLocal8Bit().toStdString();
}

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
    const QString key = text(*value);
    if (!CipherKeyAccepted(TextBytes(key)))
        std::cerr << "warning: the cipher refuses this key (weak, or 256 bytes or more): the data "
                     "is not enciphered\n";
    return key;
}

// Entry names become file names in the target folder: nothing that could leave it.
void checkEntryName(const QString& name) {
    if (name == "." || name == ".." || name.contains('/') || name.contains('\\') ||
        name.contains(QChar(0)))
        throw tool::ToolError("unsafe entry name \"" + out(name) + "\"");
}

int runContainer(const tool::Args& argv) {
    if (argv.empty())
        throw tool::ToolError("missing container command (list, pack, unpack)");
    const std::string& command = argv[0];
    const tool::Args rest(argv.begin() + 1, argv.end());
    if (command == "list") {
        tool::ParsedArgs args(rest, {"key"});
        const QString file = text(args.at(0, "FILE"));
        const auto key = keyOption(args, false);
        TQXStreams q;
        if (key)
            q.Key = *key;
        TMemoryStream image(files::readWhole(file));
        const auto listing = q.ListFileEntries(image);
        std::cout << "compressed: " << (listing.compressed ? "yes" : "no") << "\n"
                  << "enciphered: " << (listing.enciphered ? "yes" : "no") << "\n";
        for (const auto& entry : listing.entries)
            std::cout << out(entry.name) << "\t" << entry.size << "\n";
        return 0;
    }
    if (command == "pack") {
        tool::ParsedArgs args(rest, {"key"}, {"compress"});
        const QString file = text(args.at(0, "OUT"));
        const auto key = keyOption(args, false);
        TQXStreams q;
        q.Compressed = args.flag("compress");
        q.Encrypted = key.has_value();
        q.Key = key.value_or(QString());
        if (args.positional().size() < 2)
            throw tool::ToolError("missing NAME=PATH");
        for (std::size_t i = 1; i < args.positional().size(); ++i) {
            const auto [name, path] = tool::splitAssignment(args.positional()[i]);
            if (name.empty())
                throw tool::ToolError("empty entry name in \"" + args.positional()[i] + "\"");
            TMemoryStream data;
            data.LoadFromFile(text(path));
            q.AddStream(text(name), data);
        }
        q.SaveToFile(file);
        return 0;
    }
    if (command == "unpack") {
        tool::ParsedArgs args(rest, {"key"});
        const QString file = text(args.at(0, "FILE"));
        const QString dir = text(args.at(1, "DIR"));
        const auto key = keyOption(args, false);
        TQXStreams q;
        if (key)
            q.Key = *key;
        q.LoadFromFile(file);
        for (const QString& name : q.Names())
            checkEntryName(name);
        if (!QDir().mkpath(dir))
            throw tool::ToolError("cannot create folder \"" + out(dir) + "\"");
        for (const QString& name : q.Names())
            files::writeWhole(QDir(dir).filePath(name), q.Data(name));
        return 0;
    }
    throw tool::ToolError("unknown container command \"" + command + "\"");
}

int runLzh(const tool::Args& argv) {
    if (argv.empty())
        throw tool::ToolError("missing lzh command (compress, decompress)");
    const std::string& command = argv[0];
    tool::ParsedArgs args(tool::Args(argv.begin() + 1, argv.end()), {});
    const QString in = text(args.at(0, "IN"));
    const QString outFile = text(args.at(1, "OUT"));
    if (command == "compress") {
        files::writeWhole(outFile, LZHCompressBytes(files::readWhole(in)));
        return 0;
    }
    if (command == "decompress") {
        files::writeWhole(outFile, LZHDecompressBytes(files::readWhole(in)));
        return 0;
    }
    throw tool::ToolError("unknown lzh command \"" + command + "\"");
}

int runCipher(const tool::Args& argv) {
    if (argv.empty())
        throw tool::ToolError("missing cipher command (encipher, decipher)");
    const std::string& command = argv[0];
    tool::ParsedArgs args(tool::Args(argv.begin() + 1, argv.end()), {"key"});
    if (command != "encipher" && command != "decipher")
        throw tool::ToolError("unknown cipher command \"" + command + "\"");
    const QString in = text(args.at(0, "IN"));
    const QString outFile = text(args.at(1, "OUT"));
    const QByteArray key = TextBytes(*keyOption(args, true));
    TMemoryStream data(files::readWhole(in));
    if (command == "encipher")
        EncipherStream(data, key);
    else
        DecipherStream(data, key);
    files::writeWhole(outFile, data.Bytes());
    return 0;
}

const tool::RegisterGroup
    containerGroup({"container",
                    "container list FILE [--key KEY]\n"
                    "container pack OUT [--compress] [--key KEY] NAME=PATH...\n"
                    "container unpack FILE DIR [--key KEY]\n",
                    &runContainer});
const tool::RegisterGroup lzhGroup({"lzh",
                                    "lzh compress IN OUT\n"
                                    "lzh decompress IN OUT\n",
                                    &runLzh});
const tool::RegisterGroup cipherGroup({"cipher",
                                       "cipher encipher IN OUT --key KEY\n"
                                       "cipher decipher IN OUT --key KEY\n",
                                       &runCipher});

} // namespace

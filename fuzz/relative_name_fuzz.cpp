// Names from a text file resolved inside a folder: any bytes as a name (Windows-1252 characters,
// NUL included) over a folder made once with a few files and folders in it, and a file beside the
// folder. A name never resolves to a path outside the folder (compared after QDir::cleanPath) and
// a found path is always a regular file.

#include "platform/files.h"
#include "platform/rtf/codepage.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>

namespace {

[[noreturn]] void fail(const char* what) {
    std::fprintf(stderr, "%s\n", what);
    std::abort();
}

struct Place {
    QTemporaryDir base;
    QString folder;
    Place() {
        folder = base.filePath(QStringLiteral("lista"));
        if (!base.isValid() || !QDir().mkpath(folder + QStringLiteral("/Sub/deep")))
            fail("cannot make the folder");
        for (const QString& name :
             {QStringLiteral("lista/a.jpg"), QStringLiteral("lista/A.JPG"),
              QStringLiteral("lista/Sub/b.bmp"), QStringLiteral("lista/Sub/deep/c.rtf"),
              QStringLiteral("fuera.rtf")}) {
            QFile f(base.filePath(name));
            if (!f.open(QIODevice::WriteOnly))
                fail("cannot make a file");
            f.write("x");
        }
    }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static Place place;
    QString name;
    name.reserve(qsizetype(size));
    for (size_t i = 0; i < size; ++i)
        name.append(QChar(rtf::windows1252Char(data[i])));
    const QString found = files::resolveRelativeNoCase(place.folder, name);
    if (found.isEmpty())
        return 0;
    const QString clean = QDir::cleanPath(found);
    if (!clean.startsWith(QDir::cleanPath(place.folder) + u'/'))
        fail("a name resolved outside the folder");
    if (!QFileInfo(found).isFile())
        fail("a name resolved to something that is no file");
    return 0;
}

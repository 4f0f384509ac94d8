// The program: creates the application and Program, and runs the event loop until the main
// screen closes.
#include "app/program.h"
#include "app/ui.h"
#include "platform/memory.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    platform::keepFreedMemoryForReuse();
    QApplication app(argc, argv);
    installSpanishTranslations();
    Program program;
    program.start();
    return QApplication::exec();
}

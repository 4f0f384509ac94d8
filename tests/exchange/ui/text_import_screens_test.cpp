// The two text import screens through entries I and K and the scripted Ui: imports that add their
// cards, a refused file that adds none, a missing picture said once, the open dialog that
// remembers the folder, the level label as a button, and the new cards due at once.
#include "support/screen_fixture.h"

#include "app/ui/panta_inicio.h"
#include "exchange/text_import.h"
#include "exchange/ui/importar_de_txt.h"
#include "exchange/ui/importar_de_txt_e_imag.h"
#include "platform/picture/picture.h"
#include "review/ui/repasar.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>

using review_test::Card;

namespace {

studyfile::DesignOptions keyImportanceAndPictures() {
    studyfile::DesignOptions d;
    d.cardKey = true;
    d.importanceLevel = true;
    d.questionImage = true;
    d.answerImage = true;
    d.compressed = true;
    return d;
}

} // namespace

class TextImportScreensTest : public review_test::ScreenTest {
protected:
    QString write(const QString& name, const QByteArray& bytes) {
        const QString path = folder.filePath("import/" + name);
        QDir().mkpath(QFileInfo(path).path());
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return path;
    }
    int cardCount() { return cards().countMatching(QString()); }

    // Entry I or K with a script run on its screen, which is then left with "&Salir".
    template <typename Screen>
    void entry(void (TPanta_Inicio_::*handler)(), const char* name,
               const std::function<void(Screen&)>& script) {
        bool ran = false;
        ui.queueScreen(name, [&](QDialog& d) {
            ran = true;
            script(static_cast<Screen&>(d));
            static_cast<Screen&>(d).Button2->click();
            return d.result();
        });
        (main().*handler)();
        EXPECT_TRUE(ran) << name << " did not open";
    }
    void entryI(const std::function<void(TImportar_de_txt_&)>& script) {
        entry<TImportar_de_txt_>(&TPanta_Inicio_::Label24Click, "TImportar_de_txt_", script);
    }
    void entryK(const std::function<void(TImportar_de_txt_e_Imag_&)>& script) {
        entry<TImportar_de_txt_e_Imag_>(&TPanta_Inicio_::Label26Click, "TImportar_de_txt_e_Imag_",
                                        script);
    }
};

// Entry I, a refused file, entry K with a missing picture, and entry 3 reviewing the new cards.
TEST_F(TextImportScreensTest, ImportsEndToEnd) {
    startWith(makeStudyFile("Curso", {}, keyImportanceAndPictures(), "clave"), "clave");
    const QString three = write("tres.txt", "uno#1#tema#3\r\ndos#2#tema#\r\ntres#3##\r\n");
    const QString bad = write("mala.txt", "cuatro#4#tema#3\ncinco#5#tema#1,5\n");
    QImage red(8, 8, QImage::Format_RGB32);
    red.fill(Qt::red);
    write("fotos/leon.jpg", picture::Picture::jpegFromImage(red).bytes());
    const QString pairs =
        write("fotos/pares.txt", "seis#6#tema#2\nleon.jpg##\nsiete#7#tema#2\nfalta.jpg##\n");

    entryI([&](TImportar_de_txt_& s) {
        EXPECT_EQ(s.Edit1->text(), "#");
        s.MaskEdit1->setText("2");
        ui.queueFile(three);
        s.Button1->click();
        EXPECT_EQ(ui.messages(), QStringList{"Se han importado 3 fichas."});
        ui.clearRecords();
        ui.queueFile(bad);
        s.Button1->click();
        ASSERT_EQ(ui.messages().size(), 1);
        EXPECT_TRUE(ui.messages()[0].startsWith("Línea 2: el nivel de importancia «1,5»"))
            << ui.messages()[0].toStdString();
    });
    EXPECT_EQ(cardCount(), 3);
    EXPECT_EQ(cards().countMatching("Nive_Fich = 2"), 3);
    EXPECT_EQ(cards().countMatching("Clav_Fich = 'tema' and Nive_Impo = 3"), 1);

    ui.clearRecords();
    entryK([&](TImportar_de_txt_e_Imag_& s) {
        ui.queueFile(pairs);
        s.Button1->click();
        EXPECT_EQ(ui.messages(),
                  QStringList({"Error al leer imagen", "Se han importado 2 Fichas."}));
    });
    EXPECT_EQ(cardCount(), 5);
    EXPECT_EQ(cards().countMatching("Tipo_Preg_Imag = 'JPG'"), 1);

    // The imported cards have no next review date: entry 3 finds all five.
    ui.clearRecords();
    int due = -1;
    ui.queueScreen("TRepasar_", [&](QDialog& d) {
        due = cards().recordCount();
        static_cast<TRepasar_&>(d).Button4->click();
        return d.result();
    });
    main().Label32Click();
    EXPECT_EQ(due, 5);
}

// The open dialog starts in the program folder, then in the folder of the file chosen last; a
// click on the level's label imports like the button.
TEST_F(TextImportScreensTest, DialogFolderAndTheLevelLabel) {
    startWith(makeStudyFile("Curso", {}));
    const QString file = write("sub/una.txt", "p#r##\n");
    entryI([&](TImportar_de_txt_& s) {
        ui.queueFile(file);
        s.Button1->click();
        ui.queueFile(QString());
        const QPointF at(s.Label2->rect().center());
        QMouseEvent press(QEvent::MouseButtonPress, at, s.Label2->mapToGlobal(at), Qt::LeftButton,
                          Qt::LeftButton, Qt::NoModifier);
        QMouseEvent release(QEvent::MouseButtonRelease, at, s.Label2->mapToGlobal(at),
                            Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(s.Label2, &press);
        QApplication::sendEvent(s.Label2, &release);
    });
    // A tab pasted into the separator box stays, and separates the fields.
    const QString tabbed = write("tab.txt", "con\ttabulador\t\t\n");
    entryI([&](TImportar_de_txt_& s) {
        s.Edit1->selectAll();
        s.Edit1->insert(QStringLiteral("\t"));
        EXPECT_EQ(s.Edit1->text(), "\t");
        ui.queueFile(tabbed);
        s.Button1->click();
    });
    EXPECT_EQ(cards().countMatching("Preg_Text = 'con'"), 1);
    ASSERT_EQ(ui.fileRequests().size(), 3);
    EXPECT_EQ(ui.fileRequests()[0].title, "Import / Importar");
    EXPECT_EQ(QDir(ui.fileRequests()[0].directory), QDir(program->state().programFolder));
    EXPECT_EQ(QDir(ui.fileRequests()[1].directory), QDir(QFileInfo(file).path()));
    EXPECT_EQ(QDir(ui.fileRequests()[2].directory), QDir(QFileInfo(file).path()));
    EXPECT_EQ(ui.fileRequests()[0].filter,
              "Text Files / Archivos de Texto|*.TXT|All Files / Todos los Archivos|*.*");
    EXPECT_EQ(cardCount(), 2);
    // The other screen remembers its own folder: its first dialog starts in the program folder.
    entryK([&](TImportar_de_txt_e_Imag_& s) {
        ui.queueFile(QString());
        s.Button1->click();
    });
    ASSERT_EQ(ui.fileRequests().size(), 4);
    EXPECT_EQ(QDir(ui.fileRequests()[3].directory), QDir(program->state().programFolder));
}

// The print screen through entry C and the scripted Ui: the count of cards, previews and prints
// into PDF files, a cancelled print, choosing the cards on the selection screen, a study file that
// may not be printed, the choice checks on clicks, and what the print table keeps afterwards.
#include "support/card_rows.h"
#include "support/layout_check.h"
#include "support/screen_fixture.h"

#include "app/radio_group.h"
#include "app/ui/panta_inicio.h"
#include "editing/selection_filter.h"
#include "editing/ui/filtro_env.h"
#include "printing/print_choices.h"
#include "printing/print_job.h"
#include "printing/ui/imprimir.h"
#include "studyfile/card_table.h"
#include "studyfile/ui/data_module.h"

#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QStandardPaths>

using review_test::Card;

namespace {

std::vector<Card> course(int count) {
    std::vector<Card> cards;
    for (int i = 1; i <= count; ++i) {
        const QString n = QStringLiteral("%1").arg(i, 2, 10, QChar(u'0'));
        cards.push_back({"P" + n, "R" + n + " secreta", i % 2 == 0 ? 2 : 1});
    }
    return cards;
}

int pagesOf(const QString& pdf) {
    QFile f(pdf);
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    static const QRegularExpression page(QStringLiteral("/Type\\s*/Page[^s]"));
    return static_cast<int>(QString::fromLatin1(f.readAll()).count(page));
}

// The words of a PDF, or nullopt when pdftotext is not installed.
std::optional<QString> textOf(const QString& pdf) {
    if (QStandardPaths::findExecutable("pdftotext").isEmpty())
        return std::nullopt;
    QProcess p;
    p.start("pdftotext", {pdf, "-"});
    p.waitForFinished(60000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

} // namespace

class PrintScreenTest : public review_test::ScreenTest {
protected:
    void open(int count, const studyfile::DesignOptions& design = {},
              const QString& password = QString()) {
        if (!password.isEmpty())
            ui.onScreen("TPassw_FE_", [password](QDialog& d) {
                d.findChild<QLineEdit*>("Edit1")->setText(password);
                return int(QDialog::Accepted);
            });
        startWith(makeStudyFile("Curso", course(count), design, password));
    }
    TImprimir_& screen() { return program->imprimir(); }
    // Entry C with a script run on the screen, which then leaves through "&Salir".
    void entryC(const std::function<void(TImprimir_&)>& script) {
        ui.queueScreen("TImprimir_", [this, script](QDialog& d) {
            script(screen());
            if (d.isVisible() || d.result() == 0)
                screen().Button1->click();
            return d.result();
        });
        main().Label18Click();
    }
    QString pdf(const char* name) const { return folder.filePath(name); }
    int printRows() {
        table::Table t;
        t.open(program->state().programFolder, studyfile::kPrintTableName);
        return t.recordCount();
    }
};

// Entry C, the count, an answer print into a PDF with each answer in it, a cancelled print, and
// the cards chosen on the selection screen in the next print.
TEST_F(PrintScreenTest, PrintsTheCardsInViewAndTheChosenOnes) {
    open(14);
    entryC([&](TImprimir_& s) {
        EXPECT_EQ(s.Label5->text(), " Nº de Fichas a Imprimir: 14 ");
        EXPECT_EQ(s.Label4->text(), "Alto : 297 mm.");
        EXPECT_EQ(s.Label6->text(), "Ancho : 210 mm.");
        // The run reads the cards without moving the card the screens show or loading its
        // content once per card.
        cards().moveBy(3);
        const int current = cards().recNo();
        const int loads = program->data().cardView.loads;
        ui.queuePrint(pdf("respuestas.pdf"));
        s.Button7->click();
        EXPECT_EQ(cards().recNo(), current);
        EXPECT_EQ(program->data().cardView.loads, loads);
        EXPECT_EQ(ui.reportRequests(), QStringList{"print: Curso - Respuestas"});
        EXPECT_EQ(pagesOf(pdf("respuestas.pdf")), 3);
        if (const auto text = textOf(pdf("respuestas.pdf"))) {
            for (int i = 1; i <= 14; ++i)
                EXPECT_TRUE(text->contains(QStringLiteral("R%1").arg(i, 2, 10, QChar(u'0'))));
            EXPECT_FALSE(text->contains("P01"));
        }
        ui.queuePrint(std::nullopt);
        s.Button2->click();
        EXPECT_TRUE(ui.messages().isEmpty());

        // The selection screen narrows the cards to level 2.
        ui.queueScreen("TFILTRO_ENV", [](QDialog& d) {
            auto& f = static_cast<TFILTRO_ENV&>(d);
            EXPECT_FALSE(f.Button6->isEnabled());
            f.fieldCombos[0]->setCurrentIndex(editing::kLevelField);
            f.operatorCombos[0]->setCurrentIndex(0);
            f.valueBoxes[0]->setText("2");
            f.Button2->click();
            f.Button1->click();
            return d.result();
        });
        s.Button5->click();
        EXPECT_EQ(s.Label5->text(), " Nº de Fichas a Imprimir: 7 ");
        ui.queuePreview(pdf("preguntas.pdf"));
        s.Button3->click();
        EXPECT_EQ(pagesOf(pdf("preguntas.pdf")), 2);
        if (const auto text = textOf(pdf("preguntas.pdf"))) {
            EXPECT_TRUE(text->contains("P02"));
            EXPECT_FALSE(text->contains("P01"));
        }
    });
    EXPECT_TRUE(ui.unexpected().isEmpty()) << ui.unexpected().join(", ").toStdString();
    // "&Salir" leaves the print table without rows.
    EXPECT_EQ(printRows(), 0);
}

// Esc leaves like "&Salir": the print table without rows. The paper sizes show in whole
// millimetres.
TEST_F(PrintScreenTest, EscAndPaperSizes) {
    open(3);
    ui.queueScreen("TImprimir_", [this](QDialog& d) {
        auto& s = static_cast<TImprimir_&>(d);
        const QStringList heights = {"Alto : 297 mm.", "Alto : 266 mm.", "Alto : 279 mm.",
                                     "Alto : 279 mm."};
        const QStringList widths = {"Ancho : 210 mm.", "Ancho : 184 mm.", "Ancho : 215 mm.",
                                    "Ancho : 215 mm."};
        for (int i = 0; i < 4; ++i) {
            s.ComboBox1->setCurrentIndex(i);
            EXPECT_EQ(s.Label4->text(), heights[i]);
            EXPECT_EQ(s.Label6->text(), widths[i]);
        }
        s.ComboBox1->setCurrentIndex(0);
        ui.queuePreview(QString());
        s.Button3->click();
        EXPECT_EQ(printRows(), 3);
        QTest::keyClick(&s, Qt::Key_Escape);
        return d.result();
    });
    main().Label18Click();
    EXPECT_EQ(printRows(), 0);
}

// A study file whose author switched printing off: the message once per opening, every run
// refused with it, nothing drawn.
TEST_F(PrintScreenTest, NotPrintableStudyFile) {
    studyfile::DesignOptions design;
    design.printable = false;
    open(3, design);
    program->data().design.printable = false;
    ui.setMessageLimit(10);
    entryC([&](TImprimir_& s) {
        EXPECT_EQ(ui.messages(), QStringList{printing::kNotPrintableMessage});
        for (QPushButton* b : {s.Button3, s.Button6, s.Button2, s.Button7})
            b->click();
        EXPECT_EQ(ui.messages().size(), 5);
        EXPECT_TRUE(ui.reportRequests().isEmpty());
    });
    EXPECT_TRUE(ui.unexpected().isEmpty());
}

// Clicks in the groups run the checks: a picture the study file lacks falls back with the
// message; "Imagen y Texto Largo" at 8 per page moves to 5; choices kept from another study file
// fall back silently at the next opening.
TEST_F(PrintScreenTest, ChoiceChecksOnClicks) {
    studyfile::DesignOptions design;
    design.answerImage = true;
    design.longAnswerText = true;
    design.questionImage = true;
    open(2, design);
    entryC([&](TImprimir_& s) {
        s.FichxPag_8->click();
        s.Grupo_Resp->item(4)->click();
        EXPECT_TRUE(ui.messages().isEmpty());
        EXPECT_TRUE(s.FichxPag_5->isChecked());
        EXPECT_FALSE(s.FichxPag_6->isEnabled());
        s.Grupo_Preg->item(2)->click();
        EXPECT_FALSE(s.Button4->isEnabled());
        s.Grupo_Resp->item(0)->click();
        EXPECT_TRUE(s.Button4->isEnabled());
        EXPECT_TRUE(s.FichxPag_6->isEnabled());
        s.Grupo_Resp->item(1)->click();
    });
    // Another study file without pictures: the kept question picture and answer picture become
    // text, without a message.
    program->data().design.questionImage = false;
    program->data().design.answerImage = false;
    ui.clearRecords();
    entryC([&](TImprimir_& s) {
        EXPECT_TRUE(ui.messages().isEmpty());
        EXPECT_EQ(s.Grupo_Preg->itemIndex(), 0);
        EXPECT_EQ(s.Grupo_Resp->itemIndex(), 0);
        s.Grupo_Resp->item(1)->click();
        EXPECT_EQ(ui.messages(), QStringList{printing::kUnavailableChoiceMessage});
        EXPECT_EQ(s.Grupo_Resp->itemIndex(), 0);
    });
}

// A compressed and enciphered study file: a preview draws every answer, and afterwards the print
// table holds none of the card content.
TEST_F(PrintScreenTest, PackedContentLeavesNothingInThePrintTable) {
    studyfile::DesignOptions design;
    design.compressed = true;
    open(5, design, "clave");
    ASSERT_TRUE(program->state().packedContent);
    entryC([&](TImprimir_& s) {
        ui.queuePreview(pdf("vista.pdf"));
        s.Button6->click();
        EXPECT_TRUE(ui.messages().isEmpty()) << ui.messages().join(',').toStdString();
        if (const auto text = textOf(pdf("vista.pdf"))) {
            for (int i = 1; i <= 5; ++i)
                EXPECT_TRUE(text->contains(QStringLiteral("R%1").arg(i, 2, 10, QChar(u'0'))));
        }
        EXPECT_EQ(printRows(), 6);
        QFile imp(QDir(program->state().programFolder).filePath(studyfile::kPrintTableName));
        ASSERT_TRUE(imp.open(QIODevice::ReadOnly));
        EXPECT_FALSE(imp.readAll().contains("secreta"));
        table::Table t;
        t.open(program->state().programFolder, studyfile::kPrintTableName);
        for (t.first(); !t.eof(); t.next())
            for (const char* f : {"TEXT", "TEXT2", "Imag", "Memo", "Memo2", "Comp_Encr"})
                EXPECT_TRUE(t.fieldByName(f).isNull()) << f;
    });
}

// At 1024 x 768 every control of the screen, and every item of its groups, fits and none
// overlaps another.
TEST_F(PrintScreenTest, ControlsFitAndDoNotOverlap) {
    open(1);
    entryC([](TImprimir_& s) {
        s.setWindowState(Qt::WindowNoState);
        s.resize(1024, 768);
        s.show();
        QWidget* panel = s.findChild<QWidget*>("Panel1");
        ASSERT_NE(panel, nullptr);
        EXPECT_GE(expectControlsFit(s, *panel, QRect(0, 0, 1024, 768)), 17);
        const QList<QWidget*> groups = {s.Grupo_Preg, s.Grupo_Resp, s.Grupo_FichxPag, s.GroupBox1};
        for (QWidget* group : groups)
            expectControlsFit(s, *group, QRect(group->mapTo(&s, QPoint(0, 0)), group->size()));
        s.hide();
    });
}

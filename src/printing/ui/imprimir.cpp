#include "printing/ui/imprimir.h"

#include "app/long_operation.h"
#include "app/radio_group.h"
#include "app/ui.h"
#include "app/ui/panta_inicio.h"
#include "editing/ui/filtro_env.h"
#include "platform/table/table.h"
#include "printing/print_table.h"
#include "studyfile/ui/data_module.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

using namespace kit;
using printing::AnswerChoice;
using printing::QuestionChoice;
using printing::Side;

namespace {

const QColor kLime(0, 255, 0);

void paint(QWidget* w, const QColor& colour) {
    w->setAutoFillBackground(true);
    QPalette p = w->palette();
    p.setColor(QPalette::Window, colour);
    w->setPalette(p);
}

report::Paper paperOf(int index) {
    switch (index) {
    case 1:
        return report::Paper::Executive;
    case 2:
        return report::Paper::Letter;
    case 3:
        return report::Paper::Note;
    default:
        return report::Paper::A4;
    }
}

} // namespace

TImprimir_::TImprimir_(Program& program)
    : ProgramDialog(program, "TImprimir_", QStringLiteral("   Imprimir  Fichas"),
                    Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                        Qt::WindowMaximizeButtonHint) {
    resize(800, 640);
    QWidget* area = silverPanelOnTeal(QSize(760, 600));
    const Px caption{16, bold};

    Grupo_Preg = new RadioGroup(area, "Grupo_Preg", QStringLiteral(" Imprimir en PREGUNTA: "),
                                {QStringLiteral("Solo Texto"), QStringLiteral("Texto e Imagen"),
                                 QStringLiteral("Solo Imagen")});
    Grupo_Preg->setFont(arialFont(caption));
    Grupo_Preg->setGeometry(16, 12, 300, 140);
    paint(Grupo_Preg, Qt::white);
    Grupo_Preg->setItemIndex(0);
    Grupo_Resp =
        new RadioGroup(area, "Grupo_Resp", QStringLiteral(" Imprimir en Respuesta: "),
                       {QStringLiteral("Solo Texto"), QStringLiteral("Solo Imagen"),
                        QStringLiteral("Solo Texto Largo"), QStringLiteral("Texto e Imagen"),
                        QStringLiteral("Imagen y Texto Largo")},
                       2);
    Grupo_Resp->setFont(arialFont(caption));
    Grupo_Resp->setGeometry(330, 12, 414, 140);
    paint(Grupo_Resp, kLime);
    Grupo_Resp->setItemIndex(0);

    Grupo_FichxPag = group(area, "Grupo_FichxPag", QStringLiteral(" Nº Fichas por Página: "),
                           QRect(16, 164, 300, 150), caption);
    label(Grupo_FichxPag, "Label1", QStringLiteral("( Ancho Normal )"), QRect(10, 30, 140, 24),
          caption);
    label(Grupo_FichxPag, "Label2", QStringLiteral("( Doble Ancho )"), QRect(155, 30, 140, 24),
          caption);
    FichxPag_6 =
        radio(Grupo_FichxPag, "FichxPag_6", QStringLiteral("6"), QRect(30, 58, 90, 26), caption);
    FichxPag_8 =
        radio(Grupo_FichxPag, "FichxPag_8", QStringLiteral("8"), QRect(30, 86, 90, 26), caption);
    FichxPag_10 =
        radio(Grupo_FichxPag, "FichxPag_10", QStringLiteral("10"), QRect(30, 114, 90, 26), caption);
    FichxPag_3 =
        radio(Grupo_FichxPag, "FichxPag_3", QStringLiteral("3"), QRect(175, 58, 90, 26), caption);
    FichxPag_4 =
        radio(Grupo_FichxPag, "FichxPag_4", QStringLiteral("4"), QRect(175, 86, 90, 26), caption);
    FichxPag_5 =
        radio(Grupo_FichxPag, "FichxPag_5", QStringLiteral("5"), QRect(175, 114, 90, 26), caption);
    auto* perPage = new QButtonGroup(this);
    for (QRadioButton* b : perPageButtons())
        perPage->addButton(b);
    FichxPag_6->setChecked(true);

    GroupBox1 = group(area, "GroupBox1", QStringLiteral(" Tamaño  de  la  Página: "),
                      QRect(330, 164, 414, 150), caption);
    ComboBox1 = new QComboBox(GroupBox1);
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    ComboBox1->setFont(arialFont(caption));
    ComboBox1->addItems({QStringLiteral("Din A4"), QStringLiteral("Executive"),
                         QStringLiteral("Letter"), QStringLiteral("Note")});
    ComboBox1->setEditable(false);
    ComboBox1->setGeometry(16, 40, 180, 32);
    Label4 = label(GroupBox1, "Label4", QString(), QRect(220, 40, 180, 28), caption);
    Label6 = label(GroupBox1, "Label6", QString(), QRect(220, 80, 180, 28), caption);

    CheckBox1 = check(area, "CheckBox1", QStringLiteral(" -  Dibujar un marco a las Fichas."),
                      QRect(16, 326, 400, 28), caption);
    CheckBox1->setChecked(true);
    CheckBox2 = check(area, "CheckBox2", QStringLiteral(" -  Ajustar tamaño de Imagen."),
                      QRect(16, 358, 400, 28), caption);
    CheckBox3 = check(area, "CheckBox3", QStringLiteral(" -  Centrar Texto (Texto Corto)."),
                      QRect(16, 390, 400, 28), caption);
    CheckBox3->setChecked(true);
    CheckBox4 = check(area, "CheckBox4", QStringLiteral(" - Ajustar Imagen al tamaño impresión."),
                      QRect(16, 422, 400, 28), caption);
    CheckBox4->setChecked(true);
    Button4 = button(area, "Button4", QStringLiteral("&Fuente de Texto y Solo Texto"),
                     QRect(430, 326, 314, 40), caption);
    Label5 = label(area, "Label5", QStringLiteral(" Nº de Fichas a Imprimir: "),
                   QRect(430, 378, 314, 32), caption);
    paint(Label5, kLime);
    Button5 = button(area, "Button5", QStringLiteral("  Selecci&onar Fichas"),
                     QRect(430, 418, 314, 40), caption);

    Button3 = button(area, "Button3", QStringLiteral("Ver  &Preguntas"), QRect(16, 472, 230, 46),
                     caption);
    Button6 = button(area, "Button6", QStringLiteral("Ver  &Respuestas"), QRect(16, 530, 230, 46),
                     caption);
    Button2 = button(area, "Button2", QStringLiteral("I&mprimir Preguntas"),
                     QRect(262, 472, 240, 46), caption);
    Button7 = button(area, "Button7", QStringLiteral("Imprimir Respu&estas"),
                     QRect(262, 530, 240, 46), caption);
    Button1 = button(area, "Button1", QStringLiteral("&Salir"), QRect(518, 472, 226, 46), caption);
    BitBtn1 = button(area, "BitBtn1", QStringLiteral("&Ayuda"), QRect(518, 530, 226, 46), caption);

    // Only the learner's clicks run the checks; a fallback set by the checks does not.
    program_.connectGuarded(Grupo_Preg, &RadioGroup::itemClicked, this, [this] { GrupoClick(); });
    program_.connectGuarded(Grupo_Resp, &RadioGroup::itemClicked, this, [this] { GrupoClick(); });
    program_.connectGuarded(ComboBox1, &QComboBox::currentIndexChanged, this,
                            [this] { ComboBox1Change(); });
    onClick(CheckBox4, &TImprimir_::CheckBox4Click);
    onClick(Button4, &TImprimir_::Button4Click);
    onClick(Button5, &TImprimir_::Button5Click);
    onClick(Button3, &TImprimir_::Button3Click);
    onClick(Button6, &TImprimir_::Button6Click);
    onClick(Button2, &TImprimir_::Button2Click);
    onClick(Button7, &TImprimir_::Button7Click);
    onClick(Button1, &TImprimir_::Button1Click);
    onClick(BitBtn1, &TImprimir_::BitBtn1Click);
    ComboBox1Change();
}

std::array<QRadioButton*, 6> TImprimir_::perPageButtons() const {
    // The order of printing::kPerPageValues.
    return {FichxPag_6, FichxPag_8, FichxPag_10, FichxPag_3, FichxPag_4, FichxPag_5};
}

printing::PrintChoices TImprimir_::choices() const {
    printing::PrintChoices c;
    c.question = static_cast<QuestionChoice>(std::max(0, Grupo_Preg->itemIndex()));
    c.answer = static_cast<AnswerChoice>(std::max(0, Grupo_Resp->itemIndex()));
    const auto buttons = perPageButtons();
    for (size_t i = 0; i < buttons.size(); ++i)
        if (buttons[i]->isChecked())
            c.perPage = printing::kPerPageValues[i];
    return c;
}

printing::PrintSettings TImprimir_::settings() const {
    printing::PrintSettings s;
    s.choices = choices();
    s.paper = paperOf(ComboBox1->currentIndex());
    s.frame = CheckBox1->isChecked();
    s.stretch = CheckBox2->isChecked();
    s.centreText = CheckBox3->isChecked();
    s.fit = CheckBox4->isChecked();
    s.font = textFont_;
    return s;
}

void TImprimir_::applyCheck(const printing::ChoiceCheck& check) {
    Grupo_Preg->setItemIndex(static_cast<int>(check.choices.question));
    Grupo_Resp->setItemIndex(static_cast<int>(check.choices.answer));
    const auto buttons = perPageButtons();
    for (size_t i = 0; i < buttons.size(); ++i) {
        buttons[i]->setEnabled(check.perPageEnabled[i]);
        if (printing::kPerPageValues[i] == check.choices.perPage)
            buttons[i]->setChecked(true);
    }
    Button4->setEnabled(check.fontButtonEnabled);
}

void TImprimir_::showCount() {
    Label5->setText(QStringLiteral(" Nº de Fichas a Imprimir: %1 ")
                        .arg(program_.data().Tabla_Activa.recordCount()));
}

void TImprimir_::FormShow() {
    warnNotPrintable_ = true;
}

void TImprimir_::FormActivate() {
    if (!beginActivation())
        return;
    followMainWindowState();
    showCount();
    // Choices survive between openings and between study files: bring them in line with this
    // one's design without a word.
    applyCheck(printing::activationChoices(choices(), program_.data().design));
    // Once per opening: the message's closing activates this screen again.
    if (!program_.data().design.printable && std::exchange(warnNotPrintable_, false))
        program_.Ver_Mensaje(printing::kNotPrintableMessage);
}

void TImprimir_::GrupoClick() {
    const printing::ChoiceCheck check = printing::checkChoices(choices(), program_.data().design);
    applyCheck(check);
    if (check.unavailableMessage)
        program_.Ver_Mensaje(printing::kUnavailableChoiceMessage);
}

void TImprimir_::ComboBox1Change() {
    const QSizeF size = report::pageSizeMm(paperOf(ComboBox1->currentIndex()));
    // Whole millimetres, the fraction cut off.
    Label4->setText(QStringLiteral("Alto : %1 mm.").arg(static_cast<int>(size.height())));
    Label6->setText(QStringLiteral("Ancho : %1 mm.").arg(static_cast<int>(size.width())));
}

void TImprimir_::CheckBox4Click() {
    // The alignment and the fit are read from the boxes when a run starts.
}

void TImprimir_::Button4Click() {
    program_.ui().chooseFont(this, textFont_);
}

void TImprimir_::Button5Click() {
    program_.filtro_Env().runAsSelector(false);
}

void TImprimir_::Button3Click() {
    run(Side::Questions, true);
}
void TImprimir_::Button6Click() {
    run(Side::Answers, true);
}
void TImprimir_::Button2Click() {
    run(Side::Questions, false);
}
void TImprimir_::Button7Click() {
    run(Side::Answers, false);
}

void TImprimir_::run(Side side, bool preview) {
    TD_Module_& data = program_.data();
    if (!data.design.printable) {
        program_.Ver_Mensaje(printing::kNotPrintableMessage);
        return;
    }
    const printing::PrintSettings chosen = settings();
    const printing::PrintSource source{data.design, program_.state().packedContent, data.QXS.Key};
    // With packed content the rows hold packed bytes until the run ends; then they are emptied,
    // however the run ended.
    try {
        draw(side, preview, chosen, source);
    } catch (...) {
        if (source.packedContent)
            try {
                printing::wipePrintContent(data.Imprime);
            } catch (...) {
                // The first error is the one to report.
            }
        throw;
    }
    if (source.packedContent)
        printing::wipePrintContent(data.Imprime);
}

void TImprimir_::draw(Side side, bool preview, const printing::PrintSettings& chosen,
                      const printing::PrintSource& source) {
    TD_Module_& data = program_.data();
    {
        LongOperation busy(program_.state(), this);
        // The cards are read through a table of their own over the same view, so that the card
        // the screens show stays current and its content is not loaded once per card.
        table::Table reader;
        reader.setTableName(data.Tabla_Activa.path());
        reader.setFilter(data.Tabla_Activa.filter());
        reader.setFiltered(data.Tabla_Activa.filtered());
        reader.open();
        printing::fillPrintTable(data.Imprime, reader, data.Tabla_Activa.visibleKeys(), side,
                                 chosen.choices.perPage, source,
                                 [&busy](qint64, qint64) { busy.step(); });
    }
    const report::Report report = printing::printReport(data.Imprime, side, chosen, source);
    ReportJob job;
    job.title = program_.state().studyFileName + (side == Side::Questions
                                                      ? QStringLiteral(" - Preguntas")
                                                      : QStringLiteral(" - Respuestas"));
    job.pageSize = report::pageSize(chosen.paper);
    job.pageCount = report.pageCount();
    job.maximised = program_.mainScreen().isMaximized();
    job.draw = [&report](QPagedPaintDevice& device, int from, int to,
                         const report::Progress& progress) {
        return report.print(device, from, to, progress);
    };
    const ReportOutcome outcome =
        preview ? program_.ui().previewReport(this, job) : program_.ui().printReport(this, job);
    if (outcome == ReportOutcome::Failed)
        program_.Ver_Mensaje(preview ? printing::kPreviewFailedMessage
                                     : printing::kPrintFailedMessage);
}

void TImprimir_::Button1Click() {
    reject();
}

void TImprimir_::reject() {
    program_.guard([this] { printing::emptyPrintTable(program_.data().Imprime); });
    ProgramDialog::reject();
}

void TImprimir_::BitBtn1Click() {
    program_.showHelp(21);
}

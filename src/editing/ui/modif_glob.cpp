#include "editing/ui/modif_glob.h"

#include "app/date_box_edit.h"
#include "app/wait_cursor.h"
#include "editing/ui/filtro_env.h"
#include "studyfile/card_table.h"
#include "studyfile/date_box.h"
#include "studyfile/ui/data_module.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpressionValidator>

using namespace kit;

namespace {

const QString kDoneMessage = QStringLiteral(" LA MODIFICACIÓN GLOBAL SE HA COMPLETADO ");
const QString kBadDateMessage =
    QStringLiteral("La 'Fecha del Próximo Repaso' no es una fecha válida.");

QString missingValueMessage(const QString& box) {
    return QStringLiteral("Falta el nuevo valor de '%1'.").arg(box);
}

// A box that takes up to `digits` digits.
QLineEdit* digitsEdit(QWidget* parent, const char* name, const QRect& geometry, int digits) {
    QLineEdit* e = edit(parent, name, geometry, Px{16, plain});
    e->setMaxLength(digits);
    e->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("[0-9]{0,%1}").arg(digits)), e));
    return e;
}

} // namespace

TModif_glob_::TModif_glob_(Program& program)
    : ProgramDialog(program, "TModif_glob_", QStringLiteral("       Modificación Global"),
                    Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                        Qt::WindowMaximizeButtonHint) {
    resize(760, 560);
    QWidget* area = silverPanelOnTeal(QSize(720, 520));
    const Px caption{16, bold};
    const Px text{16, plain};

    Label1 = label(area, "Label1",
                   QStringLiteral("Marcar los apartados que van a modificar en las fichas:"),
                   QRect(24, 20, 420, 44), caption);
    Label1->setWordWrap(true);
    Label2 = label(area, "Label2", QStringLiteral("Introducir los nuevos valores:"),
                   QRect(460, 20, 240, 44), caption);
    Label2->setWordWrap(true);
    const int x = 24, valueX = 460, rowHeight = 52;
    int y = 84;
    CheckBox1 = check(area, "CheckBox1", QStringLiteral("Nivel de la Ficha ..............."),
                      QRect(x, y, 420, 30), text);
    MaskEdit1 = digitsEdit(area, "MaskEdit1", QRect(valueX, y - 2, 60, 34), 1);
    y += rowHeight;
    CheckBox2 = check(area, "CheckBox2", QStringLiteral("Clave de la Ficha .............."),
                      QRect(x, y, 420, 30), text);
    Edit1 = edit(area, "Edit1", QRect(valueX, y - 2, 220, 34), text);
    y += rowHeight;
    CheckBox3 = check(area, "CheckBox3", QStringLiteral("Nivel de Importancia ........."),
                      QRect(x, y, 420, 30), text);
    MaskEdit2 = digitsEdit(area, "MaskEdit2", QRect(valueX, y - 2, 80, 34), 3);
    y += rowHeight;
    CheckBox4 = check(area, "CheckBox4", QStringLiteral("Fecha del Próximo Repaso"),
                      QRect(x, y, 420, 30), text);
    MaskEdit3 = new DateBoxEdit(area);
    MaskEdit3->setObjectName(QStringLiteral("MaskEdit3"));
    MaskEdit3->setFont(arialFont(text));
    MaskEdit3->setGeometry(valueX, y - 2, 120, 34);
    Label3 = label(area, "Label3", QString(), QRect(valueX + 130, y + 2, 120, 26), Px{14, plain});
    y += rowHeight;
    CheckBox5 = check(area, "CheckBox5", QStringLiteral("Nº de Repasos Realizados"),
                      QRect(x, y, 420, 30), text);
    MaskEdit4 = digitsEdit(area, "MaskEdit4", QRect(valueX, y - 2, 80, 34), 3);

    Gauge1 = new QProgressBar(area);
    Gauge1->setObjectName(QStringLiteral("Gauge1"));
    Gauge1->setGeometry(24, 368, 672, 26);
    Gauge1->setTextVisible(false);
    Gauge1->setStyleSheet(QStringLiteral("QProgressBar { background: purple; border: 1px solid "
                                         "black; } QProgressBar::chunk { background: navy; }"));
    Gauge1->hide();

    Button5 = button(area, "Button5", QStringLiteral("  Selecci&onar Fichas"),
                     QRect(24, 420, 240, 46), caption);
    BitBtn2 = button(area, "BitBtn2", QStringLiteral(" Realizar la &Modificación"),
                     QRect(276, 420, 260, 46), caption);
    Button1 = button(area, "Button1", QStringLiteral("&Salir"), QRect(548, 420, 148, 46), text);
    BitBtn1 = button(area, "BitBtn1", QStringLiteral("&Ayuda"), QRect(548, 470, 148, 40), text);

    for (QCheckBox* box : {CheckBox1, CheckBox2, CheckBox3, CheckBox4, CheckBox5}) {
        valueBox(box)->setEnabled(false);
        onClick(box, [this, box] { CheckBoxClick(box); });
    }
    onClick(Button5, &TModif_glob_::Button5Click);
    onClick(BitBtn2, &TModif_glob_::BitBtn2Click);
    onClick(Button1, &TModif_glob_::Button1Click);
    onClick(BitBtn1, &TModif_glob_::BitBtn1Click);
}

QWidget* TModif_glob_::valueBox(QCheckBox* box) const {
    if (box == CheckBox1)
        return MaskEdit1;
    if (box == CheckBox2)
        return Edit1;
    if (box == CheckBox3)
        return MaskEdit2;
    if (box == CheckBox4)
        return MaskEdit3;
    return MaskEdit4;
}

void TModif_glob_::putSelectionOnTable() {
    // The selection in force: the card selection's filter, which is the base filter when no
    // selection is active. A review over a window selection leaves its own session conditions on
    // the table; those must not narrow what this screen changes.
    table::Table& cards = program_.data().Tabla_Activa;
    const QString& selection = program_.state().selection.selectionFilter;
    cards.setFilter(selection.isEmpty() ? studyfile::kBaseFilter : selection);
    cards.setFiltered(true);
}

void TModif_glob_::FormShow() {
    program_.guard([this] { putSelectionOnTable(); });
}

void TModif_glob_::FormActivate() {
    if (!beginActivation())
        return;
    followMainWindowState();
    const RunState& state = program_.state();
    Label3->setText(state.prefs.dayFirstDates ? QStringLiteral("( dd-mm-aa )")
                                              : QStringLiteral("( mm-dd-aa )"));
    // A box ticked for an earlier study file must not apply to one without that field.
    const studyfile::DesignOptions& design = program_.data().design;
    const auto offer = [](QCheckBox* box, QWidget* value, bool used) {
        if (!used) {
            box->setChecked(false);
            value->setEnabled(false);
        }
        box->setEnabled(used);
    };
    offer(CheckBox2, Edit1, design.cardKey);
    offer(CheckBox3, MaskEdit2, design.importanceLevel);
    if (MaskEdit3->programText()
            .trimmed()
            .remove(QRegularExpression(QStringLiteral("\\D")))
            .isEmpty())
        MaskEdit3->setText(state.todayDisplay);
}

void TModif_glob_::CheckBoxClick(QCheckBox* box) {
    QWidget* value = valueBox(box);
    value->setEnabled(box->isChecked());
    if (!box->isChecked())
        return;
    // The number boxes start empty; the key and the date keep their text.
    if (box == CheckBox1 || box == CheckBox3 || box == CheckBox5)
        static_cast<QLineEdit*>(value)->clear();
    value->setFocus();
}

std::optional<editing::GlobalChange> TModif_glob_::checkedChange() {
    editing::GlobalChange change;
    const auto refuse = [this](const QString& message, QWidget* box) {
        program_.Ver_Mensaje(message);
        box->setFocus();
        return std::nullopt;
    };
    const auto number = [](QLineEdit* e) { return e->text().trimmed().toInt(); };
    if (CheckBox1->isEnabled() && CheckBox1->isChecked()) {
        if (MaskEdit1->text().trimmed().isEmpty())
            return refuse(missingValueMessage(QStringLiteral("Nivel de la Ficha")), MaskEdit1);
        change.level = number(MaskEdit1);
    }
    if (CheckBox2->isEnabled() && CheckBox2->isChecked())
        change.cardKey = Edit1->text();
    if (CheckBox3->isEnabled() && CheckBox3->isChecked()) {
        if (MaskEdit2->text().trimmed().isEmpty())
            return refuse(missingValueMessage(QStringLiteral("Nivel de Importancia")), MaskEdit2);
        change.importance = number(MaskEdit2);
    }
    if (CheckBox4->isEnabled() && CheckBox4->isChecked()) {
        const studyfile::DateBoxDate date =
            studyfile::readDateBox(MaskEdit3->programText(), program_.state().prefs.dayFirstDates);
        if (date.kind != studyfile::DateBoxDate::Kind::Date)
            return refuse(kBadDateMessage, MaskEdit3);
        change.nextReview = date.dateString;
    }
    if (CheckBox5->isEnabled() && CheckBox5->isChecked()) {
        if (MaskEdit4->text().trimmed().isEmpty())
            return refuse(missingValueMessage(QStringLiteral("Nº de Repasos Realizados")),
                          MaskEdit4);
        change.reviews = number(MaskEdit4);
    }
    return change;
}

void TModif_glob_::BitBtn2Click() {
    const std::optional<editing::GlobalChange> change = checkedChange();
    if (!change || !change->any())
        return;
    table::Table& cards = program_.data().Tabla_Activa;
    putSelectionOnTable();
    Gauge1->setRange(1, std::max(2, 2 * cards.recordCount()));
    Gauge1->setValue(1);
    Gauge1->show();
    int shownPercent = -1;
    try {
        const WaitCursor wait;
        // The bar is repainted about every 1 %; no events are processed, so the screen takes
        // no input while the run goes on.
        editing::runGlobalModification(cards, *change, [&](int done, int total) {
            const int percent = total > 0 ? done * 100 / total : 100;
            if (percent != shownPercent) {
                shownPercent = percent;
                Gauge1->setValue(done);
                Gauge1->repaint();
            }
        });
    } catch (...) {
        Gauge1->hide();
        throw;
    }
    Gauge1->hide();
    program_.Ver_Mensaje(kDoneMessage);
}

void TModif_glob_::Button1Click() {
    reject();
}

void TModif_glob_::BitBtn1Click() {
    program_.showHelp(22);
}

void TModif_glob_::Button5Click() {
    // The selection made there is the selection in force that a run changes.
    program_.filtro_Env().runAsSelector(false);
}

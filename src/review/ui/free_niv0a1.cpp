#include "review/ui/free_niv0a1.h"

#include "app/wait_cursor.h"
#include "studyfile/card_grid_model.h"
#include "studyfile/ui/data_module.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QFocusEvent>
#include <QGroupBox>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QTabWidget>
#include <QTableView>

#include <algorithm>
#include <utility>

namespace {

const QString kPromoteCaption = QStringLiteral("   &Pasar  fichas ");
const QString kGridHint =
    QStringLiteral("Marque o desmarque fichas haciendo clic con la tecla Ctrl pulsada.");
const QString kCountMissing =
    QStringLiteral("Escriba el número de fichas que van a pasar al Nivel 1.");
const QString kImportanceMissing =
    QStringLiteral("Escriba el Nivel de Importancia de la condición.");

// The captions of both operator groups, in the order of review::Comparison.
const char* const kOperatorCaptions[5] = {"Igual que", "Mayor que", "Mayor o igual que",
                                          "Menor que", "Menor o igual que"};

constexpr int kCountDigits = 3;
constexpr int kImportanceDigits = 6;
constexpr int kLimitDigits = 3;
// The size of the card key field.
constexpr int kKeyLength = 15;

// A field that takes up to `digits` digits and nothing else.
void digitsOnly(QLineEdit* edit, int digits) {
    edit->setMaxLength(digits);
    edit->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("[0-9]{0,%1}").arg(digits)), edit));
}

review::Comparison checkedComparison(const QButtonGroup* group) {
    return static_cast<review::Comparison>(std::clamp(group->checkedId(), 0, 4));
}

} // namespace

using namespace kit;

TFreeNiv0a1_::TFreeNiv0a1_(Program& program)
    : ProgramDialog(program, "TFreeNiv0a1_",
                    QStringLiteral(" Pasar Fichas desde el Nivel 0 al Nivel 1"),
                    Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                        Qt::WindowCloseButtonHint | Qt::WindowMaximizeButtonHint) {
    resize(1024, 768);
    QWidget* panel1 = panel(this, "Panel1", QRect(0, 0, 800, 600));
    centreDesignArea(panel1);
    const Px text{15, bold};

    label5 = label(panel1, "label5", QStringLiteral("  Fichas en el Nivel 0."),
                   QRect(20, 8, 760, 32), Px{20, bold});
    label5->setAlignment(Qt::AlignCenter);
    label5->setStyleSheet(QStringLiteral("color: navy;"));
    label(panel1, nullptr, QStringLiteral("Hay tres formas de pasar fichas al Nivel 1:"),
          QRect(20, 46, 760, 26), Px{16, bold});

    PageControl1 = new QTabWidget(panel1);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    PageControl1->setFont(arialFont(14, bold));
    PageControl1->setGeometry(20, 80, 760, 444);
    TabSheet1 = panel(nullptr, "TabSheet1", QRect());
    TabSheet2 = panel(nullptr, "TabSheet2", QRect());
    TabSheet3 = panel(nullptr, "TabSheet3", QRect());
    PageControl1->addTab(TabSheet1, QStringLiteral(" (1) - Cantidad "));
    PageControl1->addTab(TabSheet2, QStringLiteral(" (2) - Una por una "));
    PageControl1->addTab(TabSheet3, QStringLiteral(" (3) - Por Nivel de Importancia o por Clave "));

    // Page 1: a number of cards.
    label(TabSheet1, nullptr,
          QStringLiteral("Nº de fichas que van a pasar desde el Nivel 0 al Nivel 1:"),
          QRect(30, 70, 410, 28), text);
    MaskEdit1 = edit(TabSheet1, "MaskEdit1", QRect(450, 68, 70, 30), Px{16, bold});
    digitsOnly(MaskEdit1, kCountDigits);
    MaskEdit1->setAlignment(Qt::AlignRight);
    MaskEdit1->setText(QStringLiteral("10"));
    Button1 = button(TabSheet1, "Button1", kPromoteCaption, QRect(240, 220, 270, 52), Px{18, bold});

    // Page 2: the level-0 cards, marked one by one.
    gridModel_ = new studyfile::CardGridModel(program_.data().Tabla_Activa,
                                              {{QStringLiteral("Nivel Imp."), "Nive_Impo", 90},
                                               {QStringLiteral("Clave"), "Clav_Fich", 130},
                                               {QStringLiteral("  Pregunta"), "Preg_Text", 496}},
                                              this);
    DBGrid1 = new QTableView(TabSheet2);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->setGeometry(10, 10, 736, 300);
    DBGrid1->setFont(arialFont(13, plain));
    DBGrid1->setModel(gridModel_);
    DBGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    DBGrid1->setSelectionBehavior(QAbstractItemView::SelectRows);
    DBGrid1->setSelectionMode(QAbstractItemView::ExtendedSelection);
    DBGrid1->setWordWrap(false);
    DBGrid1->setTextElideMode(Qt::ElideRight);
    DBGrid1->setToolTip(kGridHint);
    // Fixed row heights and column widths: nothing is measured from the rows' contents, so the
    // grid reads only the rows it shows.
    DBGrid1->verticalHeader()->hide();
    DBGrid1->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    DBGrid1->verticalHeader()->setDefaultSectionSize(22);
    DBGrid1->horizontalHeader()->setDefaultAlignment(Qt::AlignCenter);
    DBGrid1->horizontalHeader()->setFont(arialFont(13, bold));
    const auto& columns = gridModel_->columns();
    for (std::size_t c = 0; c < columns.size(); ++c)
        DBGrid1->setColumnWidth(static_cast<int>(c), columns[c].width);
    QLabel* hint = label(TabSheet2, "hintLabel", kGridHint, QRect(10, 316, 736, 24), Px{13, bold});
    hint->setStyleSheet(QStringLiteral("color: maroon;"));
    Button2 = button(TabSheet2, "Button2", kPromoteCaption, QRect(240, 350, 270, 48), Px{18, bold});

    // Page 3: a condition on the importance level or on the card key.
    RadioButton1 = radio(TabSheet3, "RadioButton1", QStringLiteral("Por Nivel de Importancia"),
                         QRect(20, 12, 330, 28), text);
    RadioButton2 = radio(TabSheet3, "RadioButton2", QStringLiteral("Por Clave"),
                         QRect(390, 12, 330, 28), text);
    RadioButton1->setChecked(true);
    const auto operatorGroup = [&](const char* name, int left, QButtonGroup*& buttons,
                                   std::array<QRadioButton*, 5>& items) {
        QGroupBox* box = group(TabSheet3, name, QString(), QRect(left, 44, 200, 170), Px{13, bold});
        buttons = new QButtonGroup(this);
        for (int i = 0; i < 5; ++i) {
            QRadioButton* item = radio(box, nullptr, QString::fromUtf8(kOperatorCaptions[i]),
                                       QRect(12, 10 + 31 * i, 180, 26), Px{13, bold});
            item->setObjectName(QStringLiteral("%1Item%2").arg(QLatin1String(name)).arg(i));
            buttons->addButton(item, i);
            items[static_cast<std::size_t>(i)] = item;
        }
        items[0]->setChecked(true);
        return box;
    };
    RadioGroup1 = operatorGroup("RadioGroup1", 20, operators1_, RadioGroup1Items);
    MaskEdit2 = edit(TabSheet3, "MaskEdit2", QRect(236, 112, 110, 30), Px{16, bold});
    digitsOnly(MaskEdit2, kImportanceDigits);
    MaskEdit2->setAlignment(Qt::AlignRight);
    RadioGroup2 = operatorGroup("RadioGroup2", 390, operators2_, RadioGroup2Items);
    Edit1 = edit(TabSheet3, "Edit1", QRect(606, 112, 140, 30), Px{16, bold});
    Edit1->setMaxLength(kKeyLength);

    QGroupBox* countBox =
        group(TabSheet3, "countBox",
              QStringLiteral("¿Cuantas fichas hay en el nivel 0 con esta condición ?"),
              QRect(20, 224, 460, 70), Px{13, bold});
    Label7 = label(countBox, "Label7", QStringLiteral("0"), QRect(16, 28, 200, 30), Px{20, bold});
    Label7->setStyleSheet(QStringLiteral("color: navy;"));

    CheckBox1 = check(TabSheet3, "CheckBox1", QStringLiteral("Limitar el número de fichas"),
                      QRect(20, 306, 214, 28), text);
    limitLabel = label(TabSheet3, "limitLabel", QStringLiteral("que van a pasar al nivel 1"),
                       QRect(242, 306, 230, 28), text);
    limitLabel->installEventFilter(this);
    maximumLabel = label(TabSheet3, "maximumLabel", QStringLiteral("Cantidad máxima:"),
                         QRect(44, 344, 150, 28), text);
    MaskEdit3 = edit(TabSheet3, "MaskEdit3", QRect(196, 342, 70, 30), Px{16, bold});
    digitsOnly(MaskEdit3, kLimitDigits);
    MaskEdit3->setAlignment(Qt::AlignRight);
    maximumLabel->hide();
    MaskEdit3->hide();
    Button3 = button(TabSheet3, "Button3", kPromoteCaption, QRect(490, 330, 256, 48), Px{18, bold});
    showConditionKind();

    exitButton =
        button(panel1, "exitButton", QStringLiteral("  &Salir"), QRect(480, 540, 140, 44), text);
    helpButton =
        button(panel1, "helpButton", QStringLiteral("  &Ayuda"), QRect(640, 540, 140, 44), text);

    onClick(Button1, &TFreeNiv0a1_::Button1Click);
    onClick(Button2, &TFreeNiv0a1_::Button2Click);
    onClick(Button3, &TFreeNiv0a1_::Button3Click);
    onClick(RadioButton1, &TFreeNiv0a1_::RadioButton1Click);
    onClick(RadioButton2, &TFreeNiv0a1_::RadioButton2Click);
    onClick(CheckBox1, &TFreeNiv0a1_::CheckBox1Click);
    for (QRadioButton* item : RadioGroup1Items)
        onClick(item, &TFreeNiv0a1_::RadioGroup1Click);
    for (QRadioButton* item : RadioGroup2Items)
        onClick(item, &TFreeNiv0a1_::RadioGroup2Click);
    onClick(exitButton, [this] { reject(); });
    onClick(helpButton, [this] { program_.showHelp(24); });
    // Leaving the number or the key field counts the cards of the condition.
    MaskEdit2->installEventFilter(this);
    Edit1->installEventFilter(this);
}

void TFreeNiv0a1_::FormShow() {
    table::Table& cards = program_.data().Tabla_Activa;
    savedFilter_ = cards.filter();
    savedFiltered_ = cards.filtered();
    open_ = true;
    opening_ = true;
    cards.setFilter(review::kLevel0Filter);
    cards.setFiltered(true);
    gridModel_->refresh();
    Muestra_Num_Fichas_en_Nivel_0();
}

void TFreeNiv0a1_::FormActivate() {
    if (!beginActivation())
        return;
    // Nothing to bring up to date while the screen closes (a message shown as the filter found
    // goes back).
    if (!open_)
        return;
    Muestra_Num_Fichas_en_Nivel_0();
    gridModel_->refresh();
    if (!std::exchange(opening_, false))
        return;
    setWindowState(windowState() | Qt::WindowMaximized);
    if (program_.data().Tabla_Activa.recordCount() == 0) {
        program_.Ver_Mensaje(review::kNoLevel0Message);
        reject();
    }
}

void TFreeNiv0a1_::done(int result) {
    if (std::exchange(open_, false)) {
        opening_ = false;
        program_.guard([this] {
            review::putFilterBack(program_.data().Tabla_Activa, savedFilter_, savedFiltered_);
        });
        gridModel_->refresh();
    }
    QDialog::done(result);
}

void TFreeNiv0a1_::Muestra_Num_Fichas_en_Nivel_0() {
    // The table shows the level-0 cards while the screen is open.
    label5->setText(review::level0CountText(program_.data().Tabla_Activa.recordCount()));
}

void TFreeNiv0a1_::afterPromotion() {
    gridModel_->refresh();
    Muestra_Num_Fichas_en_Nivel_0();
}

void TFreeNiv0a1_::Button1Click() {
    const QString text = MaskEdit1->text().trimmed();
    const std::optional<int> count = review::digitsNumber(text, kCountDigits);
    if (!count) {
        program_.Ver_Mensaje(kCountMissing);
        MaskEdit1->setFocus();
        return;
    }
    table::Table& cards = program_.data().Tabla_Activa;
    // Refused before the promotion sets its own filter: the view, and the grid's marks, stay.
    // (The table shows the level-0 cards.)
    std::optional<int> promoted;
    if (*count <= cards.recordCount()) {
        const WaitCursor wait;
        promoted = review::promoteByCount(cards, *count);
    }
    if (!promoted) {
        program_.Ver_Mensaje(review::kNotEnoughLevel0Message);
        MaskEdit1->setFocus();
        return;
    }
    afterPromotion();
    program_.Ver_Mensaje(review::promotedMessage(text));
}

std::vector<qint64> TFreeNiv0a1_::markedCards() const {
    return gridModel_->keysOfRows(DBGrid1->selectionModel()->selectedRows());
}

void TFreeNiv0a1_::Button2Click() {
    int promoted = 0;
    {
        const WaitCursor wait;
        promoted = review::promoteCards(program_.data().Tabla_Activa, markedCards());
    }
    afterPromotion();
    program_.Ver_Mensaje(review::promotedMessage(promoted));
}

review::Comparison TFreeNiv0a1_::importanceComparison() const {
    return checkedComparison(operators1_);
}

review::Comparison TFreeNiv0a1_::keyComparison() const {
    return checkedComparison(operators2_);
}

std::optional<QString> TFreeNiv0a1_::condition() const {
    if (RadioButton2->isChecked())
        return review::keyCondition(keyComparison(), Edit1->text());
    const std::optional<int> importance =
        review::digitsNumber(MaskEdit2->text().trimmed(), kImportanceDigits);
    if (!importance)
        return std::nullopt;
    return review::importanceCondition(importanceComparison(), *importance);
}

void TFreeNiv0a1_::Comprobar() {
    const std::optional<QString> filter = condition();
    if (!filter)
        return;
    // Counted beside the view: the grid keeps its rows and its marks.
    Label7->setText(QString::number(program_.data().Tabla_Activa.countMatching(*filter)));
}

void TFreeNiv0a1_::Button3Click() {
    const std::optional<QString> filter = condition();
    if (!filter) {
        program_.Ver_Mensaje(kImportanceMissing);
        MaskEdit2->setFocus();
        return;
    }
    std::optional<int> limit;
    if (CheckBox1->isChecked() && !MaskEdit3->text().trimmed().isEmpty())
        limit = review::digitsNumber(MaskEdit3->text().trimmed(), kLimitDigits);
    int promoted = 0;
    {
        const WaitCursor wait;
        promoted = review::promoteByCondition(program_.data().Tabla_Activa, *filter, limit);
    }
    afterPromotion();
    Comprobar();
    program_.Ver_Mensaje(review::promotedMessage(promoted));
}

void TFreeNiv0a1_::showConditionKind() {
    const bool importance = RadioButton1->isChecked();
    RadioGroup1->setVisible(importance);
    MaskEdit2->setVisible(importance);
    RadioGroup2->setVisible(!importance);
    Edit1->setVisible(!importance);
}

void TFreeNiv0a1_::RadioButton1Click() {
    showConditionKind();
}

void TFreeNiv0a1_::RadioButton2Click() {
    showConditionKind();
}

void TFreeNiv0a1_::countWhenFilled() {
    const QLineEdit* field = RadioButton2->isChecked() ? Edit1 : MaskEdit2;
    if (!field->text().trimmed().isEmpty())
        Comprobar();
}

void TFreeNiv0a1_::RadioGroup1Click() {
    countWhenFilled();
}

void TFreeNiv0a1_::RadioGroup2Click() {
    countWhenFilled();
}

void TFreeNiv0a1_::CheckBox1Click() {
    const bool limited = CheckBox1->isChecked();
    maximumLabel->setVisible(limited);
    MaskEdit3->setVisible(limited);
    if (limited)
        MaskEdit3->setFocus();
}

bool TFreeNiv0a1_::eventFilter(QObject* watched, QEvent* event) {
    if (watched == limitLabel && event->type() == QEvent::MouseButtonRelease) {
        CheckBox1->click();
        return true;
    }
    if ((watched == MaskEdit2 || watched == Edit1) && event->type() == QEvent::FocusOut) {
        // A window or a menu opening above is not the learner leaving the field.
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
            program_.guard([this] { countWhenFilled(); });
    }
    return ProgramDialog::eventFilter(watched, event);
}

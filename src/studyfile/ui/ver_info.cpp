#include "studyfile/ui/ver_info.h"

#include "app/ui/panta_inicio.h"
#include "platform/picture/picture.h"
#include "platform/ui/picture_box.h"
#include "studyfile/ui/data_module.h"
#include "studyfile/ui/level_chart.h"
#include "viewers/picture_fit.h"

#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QTextDocument>
#include <QTextEdit>

using namespace kit;

namespace {

constexpr int kGridRowHeight = 21;
constexpr int kLevelLineTop = 24;
constexpr int kLevelLineStep = 25;

} // namespace

TVer_Info_::TVer_Info_(Program& program)
    : ProgramDialog(program, "TVer_Info_", QStringLiteral("   Información del Fichero"),
                    Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                        Qt::WindowMaximizeButtonHint) {
    resize(1024, 768);
    setFont(arialFont(14, plain));
    Panel1 = silverPanelOnTeal(QSize(1024, 768));
    const QString navy = QStringLiteral("color: navy;");
    const Px heading{15, bold};

    Label8 = label(Panel1, "Label8", QString(), QRect(12, 8, 1000, 30), Px{18, bold});
    Label8->setStyleSheet(navy);

    // The design options and the counts: two columns, twenty rows, no headers, read-only.
    SG = new QTableWidget(studyfile::info_text::kGridRows, 2, Panel1);
    SG->setObjectName(QStringLiteral("SG"));
    SG->setFont(arialFont(14, plain));
    SG->setGeometry(12, 46, 440,
                    studyfile::info_text::kGridRows * kGridRowHeight + 2 * SG->frameWidth());
    SG->horizontalHeader()->hide();
    SG->verticalHeader()->hide();
    SG->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    SG->verticalHeader()->setDefaultSectionSize(kGridRowHeight);
    SG->setColumnWidth(0, 290);
    SG->horizontalHeader()->setStretchLastSection(true);
    SG->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    SG->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    SG->setEditTriggers(QAbstractItemView::NoEditTriggers);
    SG->setSelectionMode(QAbstractItemView::NoSelection);
    SG->setFocusPolicy(Qt::NoFocus);
    SG->setWordWrap(false);
    for (int row = 0; row < studyfile::info_text::kGridRows; ++row) {
        for (int column = 0; column < 2; ++column) {
            auto* item = new QTableWidgetItem;
            item->setFlags(Qt::ItemIsEnabled);
            if (column == 1)
                item->setFont(arialFont(14, bold));
            SG->setItem(row, column, item);
        }
    }

    // The description and the picture, right of the grid.
    GroupBox1 = group(Panel1, "GroupBox1", QStringLiteral("Descripción del Fichero:  "),
                      QRect(468, 40, 544, 160), heading);
    RichEdit1 = richEdit(GroupBox1, "RichEdit1", QRect(10, 24, 420, 126), Px{14, plain});
    RichEdit1->setReadOnly(true);
    Button4 = button(GroupBox1, "Button4", QStringLiteral("&Zoom"), QRect(440, 24, 94, 36),
                     Px{15, plain});

    GroupBox3 =
        group(Panel1, "GroupBox3", QStringLiteral(" Imagen: "), QRect(468, 204, 544, 270), heading);
    // The picture's parent area (the picture is fitted into its box there), centred in the frame.
    const FitBox box = fitBoxForPicture(picture_number::information);
    const QSize area(box.left + box.width + box.left, box.top + box.height + 4);
    QWidget* pictureArea = panel(GroupBox3, "pictureArea",
                                 QRect(QPoint((GroupBox3->width() - area.width()) / 2, 0), area));
    Image1 = pictureBox(pictureArea, "Image1", QRect(box.left, box.top, box.width, box.height));
    Image1->hide();

    Label7 = label(Panel1, "Label7", QString(), QRect(12, 480, 1000, 24), heading);
    Label7->setStyleSheet(navy);

    // The cards per level: the seven lines and, beside them, the chart.
    GroupBox2 = group(Panel1, "GroupBox2", studyfile::kLevelsFrameCaption,
                      QRect(12, 508, 1000, 206), heading);
    const char* const names[] = {"Label6",  "Label9",  "Label10", "Label11",
                                 "Label12", "Label13", "Label14"};
    QLabel** lines[] = {&Label6, &Label9, &Label10, &Label11, &Label12, &Label13, &Label14};
    for (int line = 0; line < studyfile::kLevelLines; ++line) {
        *lines[line] =
            label(GroupBox2, names[line], QString(),
                  QRect(12, kLevelLineTop + line * kLevelLineStep, 560, 22), Px{14, bold});
        (*lines[line])->setStyleSheet(navy);
    }
    Label15 = label(GroupBox2, "Label15", QStringLiteral("(o mayor)"),
                    QRect(578, kLevelLineTop + 6 * kLevelLineStep, 90, 22), Px{14, plain});
    Chart = new LevelChart(GroupBox2);
    Chart->setFont(arialFont(13, bold));
    Chart->setGeometry(680, 20, 308, 180);

    Button3 = button(Panel1, "Button3", QStringLiteral("&Ayuda"), QRect(752, 722, 120, 38),
                     Px{15, plain});
    Button1 =
        button(Panel1, "Button1", QStringLiteral("&Salir"), QRect(884, 722, 128, 38), Px{15, bold});

    onClick(Button4, &TVer_Info_::Button4Click);
    onClick(Image1, &TVer_Info_::Image1Click);
    onClick(Button3, &TVer_Info_::Button3Click);
    onClick(Button1, &TVer_Info_::Button1Click);
    program_.registerPicture(picture_number::information, Image1);
}

std::array<QLabel*, studyfile::kLevelLines> TVer_Info_::levelLabels() const {
    return {Label6, Label9, Label10, Label11, Label12, Label13, Label14};
}

void TVer_Info_::FormShow() {
    // The description cannot change while the screen is open: it is copied once per opening,
    // so that an activation after the text zoom keeps where the learner scrolled to.
    RichEdit1->setHtml(program_.mainScreen().descriptionDocument().toHtml());
    RichEdit1->moveCursor(QTextCursor::Start);
}

void TVer_Info_::FormActivate() {
    if (!beginActivation())
        return;
    followMainWindowState();
    // Counted beside the card table's cursor: its filter and current card stay, and no card is
    // unpacked, however often the screen activates.
    counts_ =
        studyfile::countStudyFile(program_.data().Tabla_Activa, program_.state().packedContent);
    const QStringList texts =
        studyfile::infoScreenTexts(program_.state().studyFileName, program_.data().design, counts_);
    namespace at = studyfile::info_text;
    Label8->setText(texts[at::kName]);
    for (int row = 0; row < at::kGridRows; ++row)
        for (int column = 0; column < 2; ++column)
            SG->item(row, column)->setText(texts[at::grid(row, column)]);
    Label7->setText(texts[at::kReviews]);
    // Built from the design caption each time, so the total is never appended twice.
    GroupBox2->setTitle(texts[at::kFrameTitle]);
    const auto labels = levelLabels();
    for (int line = 0; line < studyfile::kLevelLines; ++line)
        labels[std::size_t(line)]->setText(texts[at::kFirstLevelLine + line]);
    // "(o mayor)" right after the last line, however long its bar.
    Label14->resize(Label14->sizeHint().width(), Label14->height());
    Label15->move(Label14->geometry().right() + 8, Label15->y());
    Chart->setCounts(counts_.levels, counts_.total);
    Button1->setFocus();
}

void TVer_Info_::Button4Click() {
    // Read-only: whatever the zoom's answer, nothing comes back.
    zoomText(*RichEdit1->document(), false);
}

void TVer_Info_::Image1Click() {
    zoomPicture(*Image1);
}

void TVer_Info_::Button3Click() {
    program_.showHelp(14);
}

void TVer_Info_::Button1Click() {
    reject();
}

void TVer_Info_::showStudyFilePicture(const picture::Picture& picture) {
    Image1->setPicture(picture);
    Image1->show();
}

void TVer_Info_::hideStudyFilePicture() {
    Image1->clear();
    Image1->hide();
}

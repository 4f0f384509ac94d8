#include "editing/ui/anade_n_grupo.h"

#include "app/ui.h"
#include "platform/text_file.h"
#include "studyfile/ui/data_module.h"

#include <QApplication>
#include <QDir>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QRegularExpression>
#include <QRegularExpressionValidator>
#include <QScrollBar>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QTableWidget>

#include <vector>

using namespace kit;

namespace {

const QColor kLightGreen(156, 206, 154);
const QColor kSilver(192, 192, 192);
const QString kFilter = QStringLiteral("Archivos TXT|*.txt");
const QString kSaveTitle = QStringLiteral("Guardar archivo TXT");
const QString kOpenTitle = QStringLiteral("Leer archivo TXT");

// The grid's geometry: row height and column widths.
constexpr int kRowHeight = 22;
constexpr int kColumnWidths[] = {387, 361, 99, 96};

void setBackground(QWidget* w, QPalette::ColorRole role, const QColor& colour) {
    QPalette p = w->palette();
    p.setColor(role, colour);
    w->setPalette(p);
    w->setAutoFillBackground(true);
}

// Whether the importance column takes a key: one whose text is a digit, the system decimal
// separator or backspace. Keys without text (arrows) pass, and so do the keys that move or end
// the editing (Tab, Enter, Esc) and Delete, whose texts are control characters; any other
// character (letters, Ctrl+V's control character) is refused.
bool importanceKeyAllowed(const QKeyEvent& key) {
    switch (key.key()) {
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
    case Qt::Key_Delete:
    case Qt::Key_Backspace:
        return true;
    default:
        break;
    }
    const QString text = key.text();
    if (text.isEmpty())
        return true;
    if (text.size() != 1)
        return false;
    const QChar c = text[0];
    return (c >= u'0' && c <= u'9') || c == u'\b' || text == QLocale::system().decimalPoint();
}

} // namespace

// The grid: a table widget that can commit the text of its open cell editor, and close it.
class TAnade_n_Grupo::Grid : public QTableWidget {
public:
    using QTableWidget::QTableWidget;

    bool editing() const { return state() == EditingState; }
    QWidget* openEditor() const { return editing() ? indexWidget(currentIndex()) : nullptr; }
    // The open editor's text goes into its cell; the editor stays open.
    void commitOpenEditor() {
        if (QWidget* editor = openEditor())
            commitData(editor);
    }
    // The same, and the editor closes (before the program changes cells itself).
    void finishEditing() {
        if (QWidget* editor = openEditor()) {
            commitData(editor);
            closeEditor(editor, QAbstractItemDelegate::NoHint);
        }
    }
};

// The cell editors: one-line edits without a frame; line breaks pasted into them become blanks
// (a cell is one field of one line of the group file). The importance column's editor drops,
// with a beep, every key with text other than a digit, the decimal separator and backspace. Esc
// in an editor keeps what was typed and closes the screen.
class TAnade_n_Grupo::CellDelegate : public QStyledItemDelegate {
public:
    CellDelegate(TAnade_n_Grupo& screen, QObject* parent)
        : QStyledItemDelegate(parent), screen_(screen) {}

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&,
                          const QModelIndex& index) const override {
        auto* e = new QLineEdit(parent);
        e->setFrame(false);
        // White on the green grid: the cell being typed in stands out.
        QPalette white = e->palette();
        white.setColor(QPalette::Base, Qt::white);
        e->setPalette(white);
        e->setAutoFillBackground(true);
        e->setProperty("importance", index.column() == editing::kImportanceColumn);
        QObject::connect(e, &QLineEdit::textEdited, e, [e] {
            static const QRegularExpression breaks(QStringLiteral("\r\n|\r|\n"));
            if (!e->text().contains(breaks))
                return;
            const int pos = e->cursorPosition();
            e->setText(e->text().replace(breaks, QStringLiteral(" ")));
            e->setCursorPosition(std::min(pos, int(e->text().size())));
        });
        return e;
    }

protected:
    bool eventFilter(QObject* object, QEvent* event) override {
        auto* editor = qobject_cast<QLineEdit*>(object);
        if (editor != nullptr && event->type() == QEvent::KeyPress) {
            const auto* key = static_cast<QKeyEvent*>(event);
            if (key->key() == Qt::Key_Escape && key->modifiers() == Qt::NoModifier) {
                emit commitData(editor);
                screen_.program_.guard([this] { screen_.btnButton9Click(); });
                return true;
            }
            if (editor->property("importance").toBool() && !importanceKeyAllowed(*key)) {
                if (screen_.beep)
                    screen_.beep();
                return true;
            }
        }
        return QStyledItemDelegate::eventFilter(object, event);
    }

private:
    TAnade_n_Grupo& screen_;
};

TAnade_n_Grupo::TAnade_n_Grupo(Program& program)
    : ProgramDialog(program, "TAnade_n_Grupo", QStringLiteral("  Añadir fichas en grupo"),
                    Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                        Qt::WindowMaximizeButtonHint) {
    beep = [] { QApplication::beep(); };
    // Silver window, bold 16-pixel sans-serif text.
    setFont(arialFont(16, bold));
    setBackground(this, QPalette::Window, kSilver);
    resize(1024, 740);
    QWidget* area = panel(this, nullptr, QRect(0, 0, 1000, 716));
    centreDesignArea(area);
    const Px text{16, bold};

    // The values shared by every row, on the light green top panel.
    Panel1 = panel(area, "Panel1", QRect(0, 0, 1000, 112));
    label2 = label(Panel1, "label2", QStringLiteral("DATOS  PARA LAS FICHAS:"),
                   QRect(12, 8, 260, 24), text);
    label1 = label(Panel1, "label1", QStringLiteral("Nivel en el fichero:"), QRect(12, 44, 170, 24),
                   text);
    maskedit3 = edit(Panel1, "maskedit3", QRect(186, 40, 36, 30), text);
    maskedit3->setMaxLength(1);
    maskedit3->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]?")), maskedit3));
    maskedit3->setText(QStringLiteral("1"));
    label6 = label(Panel1, "label6", QStringLiteral("Clave ficha:"), QRect(262, 44, 110, 24), text);
    edit1 = edit(Panel1, "edit1", QRect(374, 40, 200, 30), text);
    edit1->setMaxLength(15);
    label3 = label(Panel1, "label3", QStringLiteral("Nivel Importancia:"), QRect(614, 44, 160, 24),
                   text);
    maskedit2 = edit(Panel1, "maskedit2", QRect(778, 40, 70, 30), text);
    maskedit2->setMaxLength(4);
    maskedit2->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("[0-9]{0,4}")), maskedit2));
    label4 = label(Panel1, "label4",
                   QStringLiteral("(Al elegir Clave Ficha o Nivel Importancia, si hay datos aquí "
                                  "y en una celda, se elegirá lo escrito en la celda)"),
                   QRect(12, 80, 976, 24), Px{14, plain});

    // The grid: 4 columns, a title row and 98 card rows.
    auto* g = new Grid(editing::kGroupRows, 4, area);
    StringGrid1 = g;
    g->setObjectName(QStringLiteral("StringGrid1"));
    g->setGeometry(0, 120, 1000, 490);
    g->setItemDelegate(new CellDelegate(*this, g));
    g->setEditTriggers(QAbstractItemView::AllEditTriggers);
    g->setTabKeyNavigation(true);
    g->setSelectionMode(QAbstractItemView::SingleSelection);
    g->setSelectionBehavior(QAbstractItemView::SelectItems);
    g->setWordWrap(false);
    g->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    g->verticalHeader()->setMinimumSectionSize(kRowHeight);
    g->verticalHeader()->setDefaultSectionSize(kRowHeight);
    g->verticalHeader()->setFont(arialFont(12, plain));
    g->verticalHeader()->setDefaultAlignment(Qt::AlignCenter);
    // The row numbers take the width the four columns and the scroll bar leave, so that the grid
    // shows every column whole and no empty strip beside the last one.
    g->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    g->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    int columns = 0;
    for (int width : kColumnWidths)
        columns += width;
    g->verticalHeader()->setFixedWidth(
        g->width() - 2 * g->frameWidth() - columns -
        g->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, g->verticalScrollBar()));
    g->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    g->horizontalHeader()->setHighlightSections(false);
    for (int c = 0; c < 4; ++c)
        g->setColumnWidth(c, kColumnWidths[c]);
    // As many whole rows as fit above the buttons.
    const int header = g->horizontalHeader()->sizeHint().height();
    const int visibleRows = (490 - header - 2 * g->frameWidth()) / kRowHeight;
    g->resize(g->width(), header + visibleRows * kRowHeight + 2 * g->frameWidth());
    for (int r = 0; r < editing::kGroupRows; ++r)
        for (int c = 0; c < 4; ++c)
            g->setItem(r, c, new QTableWidgetItem());

    const int y1 = 620, y2 = 668, h = 40;
    button5 = button(area, "button5", QStringLiteral("Borra lín&ea"), QRect(0, y1, 150, h), text);
    button4 = button(area, "button4", QStringLiteral("Borrar t&odo"), QRect(160, y1, 150, h), text);
    buttonbtn1 = button(area, "buttonbtn1", QStringLiteral("G&uarda a archivo TXT (separador &&)"),
                        QRect(330, y1, 330, h), text);
    buttonbtn2 = button(area, "buttonbtn2", QStringLiteral("&Lee de archivo TXT (separador &&)"),
                        QRect(670, y1, 330, h), text);
    btnButton10 =
        button(area, "btnButton10", QStringLiteral("&Guardar y Salir"), QRect(0, y2, 310, h), text);
    btnButton9 = button(area, "btnButton9", QStringLiteral("&Salir sin guardar"),
                        QRect(330, y2, 330, h), text);
    btn1 = button(area, "btn1", QStringLiteral("&Ayuda"), QRect(850, y2, 150, h), text);

    onClick(button5, &TAnade_n_Grupo::button5Click);
    onClick(button4, &TAnade_n_Grupo::button4Click);
    onClick(buttonbtn1, &TAnade_n_Grupo::buttonbtn1Click);
    onClick(buttonbtn2, &TAnade_n_Grupo::buttonbtn2Click);
    onClick(btnButton10, &TAnade_n_Grupo::btnButton10Click);
    onClick(btnButton9, &TAnade_n_Grupo::btnButton9Click);
    onClick(btn1, &TAnade_n_Grupo::btn1Click);
}

TAnade_n_Grupo::Grid& TAnade_n_Grupo::grid() const {
    return *static_cast<Grid*>(StringGrid1);
}

QString TAnade_n_Grupo::importFolder() const {
    return QDir(program_.state().programFolder).filePath(QStringLiteral("import")) +
           QLatin1Char('/');
}

void TAnade_n_Grupo::FormActivate() {
    if (!beginActivation())
        return;
    followMainWindowState();
    StringGrid1->setHorizontalHeaderLabels({QStringLiteral("Pregunta"), QStringLiteral("Respuesta"),
                                            QStringLiteral("Clave Fich."),
                                            QStringLiteral("Niv. Import.")});
    setBackground(Panel1, QPalette::Window, kLightGreen);
    QPalette gridColours = StringGrid1->palette();
    gridColours.setColor(QPalette::Base, kLightGreen);
    StringGrid1->setPalette(gridColours);

    const studyfile::DesignOptions& design = program_.data().design;
    label3->setVisible(design.importanceLevel);
    maskedit2->setVisible(design.importanceLevel);
    label6->setVisible(design.cardKey);
    edit1->setVisible(design.cardKey);

    StringGrid1->setFocus();
    if (!StringGrid1->currentIndex().isValid())
        StringGrid1->setCurrentCell(0, 0);
    editCurrentCell();
}

editing::GroupRows TAnade_n_Grupo::rows() const {
    editing::GroupRows out(editing::kGroupRows);
    const auto cell = [this](int r, int c) {
        const QTableWidgetItem* item = StringGrid1->item(r, c);
        return item != nullptr ? item->text() : QString();
    };
    for (int r = 0; r < editing::kGroupRows; ++r)
        out[r] = {cell(r, 0), cell(r, 1), cell(r, 2), cell(r, 3)};
    return out;
}

editing::GroupShared TAnade_n_Grupo::shared() const {
    return {maskedit3->text(), edit1->text(), maskedit2->text()};
}

void TAnade_n_Grupo::setRow(int row, const editing::GroupRow& cells) {
    const QString texts[] = {cells.question, cells.answer, cells.key, cells.importance};
    for (int c = 0; c < 4; ++c)
        StringGrid1->item(row, c)->setText(texts[c]);
}

void TAnade_n_Grupo::emptyRows(int first, int count) {
    for (int r = first; r < first + count && r < editing::kGroupRows; ++r)
        setRow(r, {});
}

void TAnade_n_Grupo::editCurrentCell() {
    const QModelIndex current = StringGrid1->currentIndex();
    if (current.isValid() && !grid().editing())
        StringGrid1->edit(current);
}

void TAnade_n_Grupo::showProblem(const editing::GroupProblem& problem) {
    program_.Ver_Mensaje(problem.message);
    using Place = editing::GroupProblem::Place;
    switch (problem.place) {
    case Place::LevelBox:
        maskedit3->setFocus();
        break;
    case Place::SharedKey:
        edit1->setFocus();
        break;
    case Place::SharedImportance:
        maskedit2->setFocus();
        break;
    case Place::Cell:
        grid().finishEditing();
        StringGrid1->setFocus();
        StringGrid1->setCurrentCell(problem.row, problem.column);
        editCurrentCell();
        break;
    }
}

void TAnade_n_Grupo::button5Click() {
    grid().finishEditing();
    const int row = StringGrid1->currentRow();
    if (row >= 0)
        emptyRows(row, 1);
    StringGrid1->setFocus();
    editCurrentCell();
}

void TAnade_n_Grupo::button4Click() {
    grid().finishEditing();
    emptyRows(0, editing::kGroupRows);
    StringGrid1->setFocus();
    StringGrid1->setCurrentCell(0, 0);
    editCurrentCell();
}

void TAnade_n_Grupo::buttonbtn1Click() {
    grid().commitOpenEditor();
    const editing::GroupFileText file = editing::groupFileLines(rows(), shared());
    if (file.problem) {
        showProblem(*file.problem);
        return;
    }
    if (file.lines.isEmpty()) {
        program_.Ver_Mensaje(editing::kGroupNoCardsToSaveMessage);
        return;
    }
    FileDialogRequest request;
    request.title = kSaveTitle;
    request.directory = importFolder();
    request.fileName =
        savePath_.isEmpty() ? program_.state().studyFileName + QStringLiteral(".txt") : savePath_;
    request.filter = kFilter;
    const QString path = program_.ui().saveFile(this, request);
    if (path.isEmpty()) {
        program_.Ver_Mensaje(editing::kGroupFileNotSavedMessage);
        return;
    }
    savePath_ = path;
    try {
        editing::writeGroupFile(path, file.lines);
    } catch (const textfile::ETextFile& e) {
        program_.Ver_Mensaje(e.text());
        return;
    }
    program_.Ver_Mensaje(editing::groupFileSavedMessage(int(file.lines.size())));
}

void TAnade_n_Grupo::buttonbtn2Click() {
    grid().commitOpenEditor();
    FileDialogRequest request;
    request.title = kOpenTitle;
    request.directory = importFolder();
    request.fileName = openPath_;
    request.filter = kFilter;
    const QString path = program_.ui().openFile(this, request);
    if (path.isEmpty())
        return;
    openPath_ = path;
    editing::GroupFileRows read;
    try {
        read = editing::readGroupFile(path);
    } catch (const textfile::ETextFile& e) {
        program_.Ver_Mensaje(e.text());
        return;
    }
    // The grid changes only once the whole file was read; rows below its lines stay as they are.
    grid().finishEditing();
    for (int r = 0; r < int(read.rows.size()); ++r)
        setRow(r, read.rows[r]);
    StringGrid1->setFocus();
    if (!read.rows.empty())
        StringGrid1->setCurrentCell(int(read.rows.size()) - 1, 0);
    editCurrentCell();
    if (read.tooManyLines())
        program_.Ver_Mensaje(editing::groupTooManyLinesMessage(read.lineCount));
}

void TAnade_n_Grupo::btnButton10Click() {
    grid().commitOpenEditor();
    const editing::GroupRows cells = rows();
    const editing::GroupShared values = shared();
    TD_Module_& data = program_.data();
    if (const auto problem = editing::checkGroupRows(cells, values, data.design)) {
        showProblem(*problem);
        return;
    }
    // The rows whose cards were posted are emptied even when an error ends the run, so that
    // pressing again cannot store them twice.
    std::vector<int> posted;
    int stored = 0;
    grid().finishEditing();
    try {
        stored = editing::storeGroupRows(data.Tabla_Activa, data.QXS, data.design,
                                         program_.state().packedContent, cells, values,
                                         program_.state().todayKey, data.fontStyle,
                                         [&posted](int row) { posted.push_back(row); });
    } catch (...) {
        for (int row : posted)
            emptyRows(row, 1);
        throw;
    }
    if (stored > 0) {
        program_.Ver_Mensaje(editing::groupCreatedMessage(stored));
        emptyRows(0, editing::kGroupRows);
        StringGrid1->setCurrentCell(0, 0);
    }
    accept();
}

void TAnade_n_Grupo::btnButton9Click() {
    reject();
}

void TAnade_n_Grupo::btn1Click() {
    grid().commitOpenEditor();
    program_.showHelp(100);
}

void TAnade_n_Grupo::changeEvent(QEvent* event) {
    ProgramDialog::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && isVisible() &&
        QApplication::focusWidget() == StringGrid1)
        editCurrentCell();
}

void TAnade_n_Grupo::done(int result) {
    // What is typed in an open cell editor stays in the grid for the next opening.
    grid().finishEditing();
    ProgramDialog::done(result);
}

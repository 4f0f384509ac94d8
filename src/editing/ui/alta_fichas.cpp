#include "editing/ui/alta_fichas.h"

#include "app/prepara_imagen.h"
#include "app/ui.h"
#include "platform/files.h"
#include "platform/picture/picture_files.h"
#include "platform/rtf/rtf.h"
#include "platform/table/table.h"
#include "platform/ui/picture_box.h"
#include "studyfile/card_store.h"
#include "studyfile/card_table.h"
#include "studyfile/ui/data_module.h"
#include "viewers/picture_fit.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDir>
#include <QFileInfo>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QRegularExpression>
#include <QRegularExpressionValidator>
#include <QTextCursor>
#include <QTextEdit>

using namespace kit;

namespace {

// Rich text read from a file is limited to this size.
constexpr qint64 kMaxLongAnswerFileBytes = 16 * 1024 * 1024;

const QString kNoTextMessage = QStringLiteral("El portapapeles no contiene un texto.");
const QString kNoPictureMessage = QStringLiteral("No hay un gráfico en el Portapapeles.");
const QString kPasteFailedMessage = QStringLiteral("Error al copiar desde el Portapapeles.");
const QString kLeftSelectionMessage =
    QStringLiteral("La ficha se ha guardado, pero ya no cumple la condición de selección.");

// Line breaks typed or pasted into a one-line edit become one blank each (a short answer with a
// line break would be stored as two lines and read back as its first only).
void joinLines(QLineEdit* edit) {
    static const QRegularExpression breaks(QStringLiteral("\r\n|\r|\n"));
    const QString text = edit->text();
    if (!text.contains(breaks))
        return;
    QString head = text.left(edit->cursorPosition());
    head.replace(breaks, QStringLiteral(" "));
    QString joined = text;
    joined.replace(breaks, QStringLiteral(" "));
    edit->setText(joined);
    edit->setCursorPosition(int(head.length()));
    edit->setModified(true);
}

QLineEdit* oneLineEdit(QWidget* parent, const char* name, const QRect& geometry, Px font) {
    QLineEdit* e = edit(parent, name, geometry, font);
    QObject::connect(e, &QLineEdit::textEdited, e, [e] { joinLines(e); });
    return e;
}

} // namespace

TAlta_Fichas_::TAlta_Fichas_(Program& program)
    : ProgramDialog(program, "TAlta_Fichas_", QStringLiteral("   Añadir  o  Modificar  Fichas"),
                    Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                        Qt::WindowMaximizeButtonHint) {
    resize(1024, 768);
    QWidget* area = silverPanelOnTeal(QSize(1024, 768));
    const Px caption{16, bold};
    const Px text{16, plain};

    // Question and its picture.
    label(area, "Label1", QStringLiteral("Pregunta:"), QRect(16, 12, 100, 26), caption);
    EditPreg_Text = oneLineEdit(area, "EditPreg_Text", QRect(120, 8, 888, 34), text);
    GroupBox1 = group(area, "GroupBox1", QStringLiteral("Imagen Pregunta:"),
                      QRect(16, 50, 620, 216), caption);
    const FitBox q = fitBoxForPicture(picture_number::editorQuestion);
    Image1 = pictureBox(GroupBox1, "Image1", QRect(q.left, q.top, q.width, q.height));
    Button5 = button(GroupBox1, "Button5", QStringLiteral("Pega&r"), QRect(522, 24, 90, 34), text);
    BitBtn2 = button(GroupBox1, "BitBtn2", QStringLiteral("Disco"), QRect(522, 66, 90, 34), text);
    Button4 = button(GroupBox1, "Button4", QStringLiteral("X"), QRect(522, 108, 90, 34), text);
    Button5->setProperty("tag", 1);

    // Key and importance.
    Label3 = label(area, "Label3", QStringLiteral("Clave de la Ficha:"), QRect(652, 56, 220, 26),
                   caption);
    EditClav_Fich = oneLineEdit(area, "EditClav_Fich", QRect(652, 84, 220, 34), text);
    ChBox1 = check(area, "ChBox1", QStringLiteral("&Recordar la clave anterior"),
                   QRect(652, 124, 356, 28), caption);
    ChBox1->setChecked(true);
    Label4 = label(area, "Label4", QStringLiteral("Nivel de Importancia: "),
                   QRect(652, 164, 220, 26), caption);
    EditNive_Impo = oneLineEdit(area, "EditNive_Impo", QRect(652, 192, 110, 34), text);
    EditNive_Impo->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("[+-]?[0-9]{0,5}")), EditNive_Impo));
    LabelQXS = label(area, "LabelQXS", QString(), QRect(16, 748, 300, 18), Px{12, plain});

    // Short answer, or the long answer and its tools.
    Label5 = label(area, "Label5", QStringLiteral("Respuesta:"), QRect(16, 282, 110, 26), caption);
    EditResp_Text = oneLineEdit(area, "EditResp_Text", QRect(130, 278, 878, 34), text);
    GroupBox3 = group(area, "GroupBox3", QStringLiteral("Respuesta (T. Largo):"),
                      QRect(16, 322, 440, 368), caption);
    RichEdit1 = richEdit(GroupBox3, "RichEdit1", QRect(8, 26, 424, 290));
    RichEdit1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Button7 = button(GroupBox3, "Button7", QStringLiteral("Pegar"), QRect(8, 326, 120, 36), text);
    BitBtn3 =
        button(GroupBox3, "BitBtn3", QStringLiteral(" Disco"), QRect(138, 326, 120, 36), text);
    Button12 =
        button(GroupBox3, "Button12", QStringLiteral("&Zoom"), QRect(268, 326, 120, 36), text);

    GroupBox2 = group(area, "GroupBox2", QStringLiteral("Imagen Respuesta: "),
                      QRect(464, 322, 544, 276), caption);
    const FitBox a = fitBoxForPicture(picture_number::editorAnswer);
    Image2 = pictureBox(GroupBox2, "Image2", QRect(a.left, a.top, a.width, a.height));
    Button6 = button(GroupBox2, "Button6", QStringLiteral("Pe&gar"), QRect(450, 24, 88, 34), text);
    BitBtn4 = button(GroupBox2, "BitBtn4", QStringLiteral("Disco"), QRect(450, 66, 88, 34), text);
    Button8 = button(GroupBox2, "Button8", QStringLiteral("X"), QRect(450, 108, 88, 34), text);
    Button6->setProperty("tag", 2);

    // The navigator and the closing buttons.
    DBNavigator1 = new QFrame(area);
    DBNavigator1->setObjectName(QStringLiteral("DBNavigator1"));
    DBNavigator1->setGeometry(16, 700, 216, 44);
    const struct {
        QPushButton** button;
        const char* name;
        const char* glyph;
        const char* tip;
    } steps[] = {{&nbFirst, "nbFirst", "|◀", "Primera"},
                 {&nbPrior, "nbPrior", "◀", "Anterior"},
                 {&nbNext, "nbNext", "▶", "Siguiente"},
                 {&nbLast, "nbLast", "▶|", "Última"}};
    int x = 0;
    for (const auto& s : steps) {
        *s.button =
            button(DBNavigator1, s.name, QString::fromUtf8(s.glyph), QRect(x, 2, 52, 40), text);
        (*s.button)->setToolTip(QString::fromUtf8(s.tip));
        (*s.button)->setFocusPolicy(Qt::NoFocus);
        x += 54;
    }
    Button3 = button(area, "Button3", QStringLiteral("&Guarda y Continua"),
                     QRect(276, 698, 230, 46), caption);
    Button2 = button(area, "Button2", QStringLiteral("Guarda y A&caba"), QRect(516, 698, 210, 46),
                     caption);
    Button1 = button(area, "Button1", QStringLiteral(" &Salir"), QRect(736, 698, 130, 46), caption);
    BitBtn1 = button(area, "BitBtn1", QStringLiteral(" &Ayuda"), QRect(876, 698, 130, 46), caption);

    onClick(Button3, &TAlta_Fichas_::Button3Click);
    onClick(Button2, &TAlta_Fichas_::Button2Click);
    onClick(Button1, &TAlta_Fichas_::Button1Click);
    onClick(BitBtn1, &TAlta_Fichas_::BitBtn1Click);
    onClick(BitBtn2, &TAlta_Fichas_::BitBtn2Click);
    onClick(BitBtn4, &TAlta_Fichas_::BitBtn4Click);
    onClick(Button5, &TAlta_Fichas_::Button5Click);
    onClick(Button6, &TAlta_Fichas_::Button6Click);
    onClick(Button4, &TAlta_Fichas_::Button4Click);
    onClick(Button8, &TAlta_Fichas_::Button8Click);
    onClick(Button7, &TAlta_Fichas_::Button7Click);
    onClick(BitBtn3, &TAlta_Fichas_::BitBtn3Click);
    onClick(Button12, &TAlta_Fichas_::Button12Click);
    onClick(Image1, &TAlta_Fichas_::Image1Click);
    onClick(Image2, &TAlta_Fichas_::Image2Click);
    onClick(nbFirst, &TAlta_Fichas_::nbFirstClick);
    onClick(nbPrior, &TAlta_Fichas_::nbPriorClick);
    onClick(nbNext, &TAlta_Fichas_::nbNextClick);
    onClick(nbLast, &TAlta_Fichas_::nbLastClick);
    program_.registerPicture(picture_number::editorQuestion, Image1);
    program_.registerPicture(picture_number::editorAnswer, Image2);
}

void TAlta_Fichas_::FormShow() {
    opening_ = true;
    closing_ = false;
}

void TAlta_Fichas_::FormActivate() {
    if (!beginActivation())
        return;
    followMainWindowState();
    // The card is set up once per opening; regaining the focus after a message, a zoom or a
    // break keeps what the user typed.
    if (std::exchange(opening_, false))
        openScreen();
}

void TAlta_Fichas_::openScreen() {
    const RunState& state = program_.state();
    mode_ = state.addMode ? Mode::Add : state.reviewEdit ? Mode::FromReview : Mode::FromSelection;
    layoutForDesign();
    applyFontStyle();
    if (mode_ == Mode::Add) {
        ChBox1->setEnabled(true);
        Button3->setEnabled(true);
        rememberedKey_.clear();
        showBlankCard(QString());
    } else {
        ChBox1->setEnabled(false);
        Button3->setEnabled(mode_ == Mode::FromSelection);
        program_.data().Tabla_ActivaAfterScroll();
        showCurrentCard();
    }
    updateNavigator();
    EditPreg_Text->setFocus();
}

void TAlta_Fichas_::layoutForDesign() {
    const studyfile::DesignOptions& d = program_.data().design;
    GroupBox1->setVisible(d.questionImage);
    GroupBox2->setVisible(d.answerImage);
    Label5->setVisible(!d.longAnswerText);
    EditResp_Text->setVisible(!d.longAnswerText);
    GroupBox3->setVisible(d.longAnswerText);
    Label3->setVisible(d.cardKey);
    EditClav_Fich->setVisible(d.cardKey);
    ChBox1->setVisible(d.cardKey);
    Label4->setVisible(d.importanceLevel);
    EditNive_Impo->setVisible(d.importanceLevel);
}

void TAlta_Fichas_::applyFontStyle() {
    // The font style is the long answer's own font: what is typed into an empty answer takes it;
    // loaded text keeps the formatting it carries.
    const studyfile::FontStyle& style = program_.data().fontStyle;
    RichEdit1->document()->setDefaultFont(style.font);
    QPalette pal = RichEdit1->palette();
    pal.setColor(QPalette::Text, style.colour);
    RichEdit1->setPalette(pal);
}

void TAlta_Fichas_::resetLongAnswerFormat() {
    const studyfile::FontStyle& style = program_.data().fontStyle;
    QTextCharFormat format;
    format.setFont(style.font);
    format.setForeground(style.colour);
    RichEdit1->setCurrentCharFormat(format);
}

void TAlta_Fichas_::setLimitedText(QLineEdit* edit, int size, const QString& text) {
    // A stored text longer than its field's size (imports do not cut) is shown whole.
    edit->setMaxLength(std::max({size, int(text.length()), 1}));
    edit->setText(text);
    edit->setModified(false);
}

void TAlta_Fichas_::clearInputs() {
    for (QLineEdit* e : {EditPreg_Text, EditClav_Fich, EditNive_Impo, EditResp_Text}) {
        e->clear();
        e->setModified(false);
    }
    RichEdit1->clear();
    resetLongAnswerFormat();
    RichEdit1->document()->setModified(false);
    Image1->clear();
    Image2->clear();
}

void TAlta_Fichas_::showBlankCard(const QString& key) {
    TD_Module_& data = program_.data();
    const studyfile::DesignOptions& d = data.design;
    clearInputs();
    editedCard_ = 0;
    setLimitedText(EditPreg_Text, d.questionSize, QString());
    setLimitedText(EditClav_Fich, studyfile::kCardKeySize, key);
    setLimitedText(EditResp_Text, d.shortAnswerSize > 0 ? d.shortAnswerSize : 32767, QString());
    data.questionImageChanged = false;
    data.answerImageChanged = false;
    const bool packed = program_.state().packedContent;
    LabelQXS->setText(
        studyfile::packingLabel(packed ? QStringLiteral("S") : QStringLiteral("N"), packed));
}

void TAlta_Fichas_::showCurrentCard() {
    TD_Module_& data = program_.data();
    const studyfile::DesignOptions& d = data.design;
    table::Table& cards = data.Tabla_Activa;
    clearInputs();
    if (!cards.isOpen() || cards.isEmpty()) {
        editedCard_ = 0;
        return;
    }
    const auto text = [&cards](const char* field) {
        return cards.fieldByName(QLatin1String(field)).asString();
    };
    editedCard_ = cards.fieldByName(QStringLiteral("AutoInc")).asInteger();
    const studyfile::CardView& view = data.cardView;
    setLimitedText(EditPreg_Text, d.questionSize, text("Preg_Text"));
    setLimitedText(EditClav_Fich, studyfile::kCardKeySize, text("Clav_Fich"));
    EditNive_Impo->setText(text("Nive_Impo"));
    EditNive_Impo->setModified(false);
    setLimitedText(EditResp_Text, d.shortAnswerSize > 0 ? d.shortAnswerSize : 32767,
                   view.shortAnswer);
    if (!view.longAnswerRtf.isEmpty())
        rtf::readDocument(view.longAnswerRtf, *RichEdit1->document());
    RichEdit1->document()->setModified(false);
    RichEdit1->moveCursor(QTextCursor::Start);
    Image1->setPicture(view.questionPicture);
    Image2->setPicture(view.answerPicture);
    Prepara_Imagen(program_, picture_number::editorQuestion);
    Prepara_Imagen(program_, picture_number::editorAnswer);
    LabelQXS->setText(view.packingLabel);
}

bool TAlta_Fichas_::hasChanges() const {
    const TD_Module_& data = program_.data();
    return EditPreg_Text->isModified() || EditClav_Fich->isModified() ||
           EditNive_Impo->isModified() || EditResp_Text->isModified() ||
           RichEdit1->document()->isModified() || data.questionImageChanged ||
           data.answerImageChanged;
}

bool TAlta_Fichas_::store() {
    TD_Module_& data = program_.data();
    const studyfile::DesignOptions& d = data.design;
    const RunState& state = program_.state();
    if (mode_ != Mode::Add && !d.modifiable) {
        data.FE_No_Modificable();
        return false;
    }
    // Modify mode with no card on screen (an empty view): nothing to change.
    if (mode_ != Mode::Add && editedCard_ == 0)
        return false;
    studyfile::CardEdit edit;
    if (d.importanceLevel) {
        const std::optional<int> importance = studyfile::readImportance(EditNive_Impo->text());
        if (!importance) {
            program_.Ver_Mensaje(studyfile::kImportanceTooLargeMessage);
            EditNive_Impo->setFocus();
            return false;
        }
        edit.importance = *importance;
    }
    edit.question = EditPreg_Text->text();
    edit.cardKey = EditClav_Fich->text();
    const bool add = mode_ == Mode::Add;
    if (add || EditResp_Text->isModified())
        edit.shortAnswer = EditResp_Text->text();
    if (add || RichEdit1->document()->isModified()) {
        edit.longAnswerRtf = RichEdit1->document()->isEmpty()
                                 ? QByteArray()
                                 : rtf::writeDocument(*RichEdit1->document());
    }
    if (add || data.questionImageChanged)
        edit.questionPicture = Image1->picture();
    if (add || data.answerImageChanged)
        edit.answerPicture = Image2->picture();

    const studyfile::PackingStateChange change = studyfile::packingStateFor(
        add ? QString()
            : data.Tabla_Activa.fieldByName(QStringLiteral("Ficha_Comp_Encr")).asString(),
        state.packedContent);
    editedCard_ = studyfile::storeCard(data.Tabla_Activa, data.QXS, d, state.packedContent, edit,
                                       add ? 0 : editedCard_, state.todayKey);
    data.packedToPlain = change.packedToPlain;
    data.plainToPacked = change.plainToPacked;
    data.questionImageChanged = false;
    data.answerImageChanged = false;
    if (add && d.cardKey)
        rememberedKey_ = edit.cardKey;
    // What is on screen is now stored.
    for (QLineEdit* e : {EditPreg_Text, EditClav_Fich, EditNive_Impo, EditResp_Text})
        e->setModified(false);
    RichEdit1->document()->setModified(false);
    if (!add) {
        LabelQXS->setText(studyfile::packingLabel(change.state, state.packedContent));
    }
    return true;
}

bool TAlta_Fichas_::stillInView(qint64 card) {
    table::Table& cards = program_.data().Tabla_Activa;
    if (!cards.isOpen() || cards.isEmpty())
        return false;
    return cards.fieldByName(QStringLiteral("AutoInc")).asInteger() == card ||
           cards.locateKey(card);
}

void TAlta_Fichas_::afterCardLeftView() {
    program_.Ver_Mensaje(kLeftSelectionMessage);
    table::Table& cards = program_.data().Tabla_Activa;
    if (!cards.isOpen() || cards.isEmpty()) {
        done(QDialog::Accepted);
        return;
    }
    program_.data().Tabla_ActivaAfterScroll();
    showCurrentCard();
    updateNavigator();
}

void TAlta_Fichas_::Button3Click() {
    const qint64 before = editedCard_;
    if (!store())
        return;
    if (mode_ == Mode::Add) {
        showBlankCard(ChBox1->isChecked() ? rememberedKey_ : QString());
        EditPreg_Text->setFocus();
        return;
    }
    if (mode_ == Mode::FromSelection && !stillInView(before)) {
        afterCardLeftView();
        return;
    }
    updateNavigator();
}

void TAlta_Fichas_::Button2Click() {
    const qint64 before = editedCard_;
    if (!store())
        return;
    // The screen closes anyway: the message only says where the card went.
    if (mode_ == Mode::FromSelection && !stillInView(before))
        program_.Ver_Mensaje(kLeftSelectionMessage);
    done(QDialog::Accepted);
}

void TAlta_Fichas_::Button1Click() {
    done(QDialog::Rejected);
}

void TAlta_Fichas_::reject() {
    done(QDialog::Rejected);
}

void TAlta_Fichas_::done(int result) {
    if (!closing_) {
        closing_ = true;
        program_.guard([this] {
            TD_Module_& data = program_.data();
            table::Table& cards = data.Tabla_Activa;
            if (cards.isOpen() && (cards.state() == table::Table::State::Edit ||
                                   cards.state() == table::Table::State::Insert))
                cards.cancel();
            RunState& state = program_.state();
            if (mode_ == Mode::FromReview) {
                Button3->setEnabled(true);
            } else if (mode_ == Mode::FromSelection) {
                state.lastEditedCard =
                    cards.isOpen() && !cards.isEmpty()
                        ? cards.fieldByName(QStringLiteral("AutoInc")).asInteger()
                        : 0;
            }
            clearInputs();
            editedCard_ = 0;
            updateNavigator();
        });
    }
    QDialog::done(result);
}

void TAlta_Fichas_::BitBtn1Click() {
    program_.showHelp(13);
}

void TAlta_Fichas_::setPicture(int tag, const picture::Picture& picture) {
    TD_Module_& data = program_.data();
    if (tag == 1) {
        Image1->setPicture(picture);
        data.questionImageChanged = true;
        Prepara_Imagen(program_, picture_number::editorQuestion);
    } else {
        Image2->setPicture(picture);
        data.answerImageChanged = true;
        Prepara_Imagen(program_, picture_number::editorAnswer);
    }
}

void TAlta_Fichas_::loadPictureFromDisk(int tag) {
    if (pictureFolder_.isEmpty())
        pictureFolder_ = program_.state().programFolder;
    const QString chosen = program_.ui().openPicture(
        this, {QString(), pictureFolder_, QString(), picture::kCardPictureDialogFilter});
    if (chosen.isEmpty())
        return;
    pictureFolder_ = QFileInfo(chosen).path();
    picture::Picture loaded;
    try {
        loaded = picture::loadPictureFile(chosen);
    } catch (const picture::PictureError& e) {
        program_.Ver_Mensaje(e.text());
        return;
    }
    setPicture(tag, loaded);
}

void TAlta_Fichas_::BitBtn2Click() {
    loadPictureFromDisk(1);
}

void TAlta_Fichas_::BitBtn4Click() {
    loadPictureFromDisk(2);
}

void TAlta_Fichas_::Button5Click() {
    pastePicture(1);
}

void TAlta_Fichas_::Button6Click() {
    pastePicture(2);
}

void TAlta_Fichas_::pastePicture(int tag) {
    const QImage image = QApplication::clipboard()->image();
    if (image.isNull()) {
        program_.Ver_Mensaje(kNoPictureMessage);
        return;
    }
    picture::Picture pasted;
    try {
        pasted = picture::bitmapFromImage(image);
    } catch (const picture::PictureError&) {
        program_.Ver_Mensaje(kPasteFailedMessage);
        return;
    }
    setPicture(tag, pasted);
}

void TAlta_Fichas_::Button4Click() {
    setPicture(1, picture::Picture());
}

void TAlta_Fichas_::Button8Click() {
    setPicture(2, picture::Picture());
}

void TAlta_Fichas_::Image1Click() {
    zoomPicture(*Image1);
}

void TAlta_Fichas_::Image2Click() {
    zoomPicture(*Image2);
}

void TAlta_Fichas_::Button7Click() {
    const QMimeData* data = QApplication::clipboard()->mimeData();
    if (data == nullptr || !(data->hasText() || data->hasHtml())) {
        program_.Ver_Mensaje(kNoTextMessage);
        return;
    }
    RichEdit1->setFocus();
    RichEdit1->paste();
}

void TAlta_Fichas_::BitBtn3Click() {
    if (longAnswerFolder_.isEmpty())
        longAnswerFolder_ = QDir(program_.state().programFolder).filePath(QStringLiteral("dat"));
    const QString chosen = program_.ui().openFile(
        this,
        {QStringLiteral("RTF File / Archivo RTF"), longAnswerFolder_, QString(),
         QStringLiteral("RTF Files / Archivos RTF|*.rtf|All Files / Todos los Archivos|*.*")});
    if (chosen.isEmpty())
        return;
    longAnswerFolder_ = QFileInfo(chosen).path();
    const auto refuse = [&](const QString& reason) {
        program_.Ver_Mensaje(
            QStringLiteral("No se pudo cargar el texto largo desde el fichero\r\r") + chosen +
            QStringLiteral("\r\r") + reason);
    };
    if (QFileInfo(chosen).size() > kMaxLongAnswerFileBytes) {
        refuse(QStringLiteral("El fichero es mayor de 16 MB."));
        return;
    }
    QByteArray bytes;
    try {
        bytes = files::readWhole(chosen);
    } catch (const files::FileError& e) {
        refuse(e.reason());
        return;
    }
    if (bytes.size() > kMaxLongAnswerFileBytes) {
        refuse(QStringLiteral("El fichero es mayor de 16 MB."));
        return;
    }
    if (!rtf::isRtf(bytes) && bytes.contains('\0')) {
        refuse(QStringLiteral("El fichero no es un texto ni un documento RTF."));
        return;
    }
    rtf::readDocument(bytes, *RichEdit1->document());
    RichEdit1->document()->setModified(true);
}

void TAlta_Fichas_::Button12Click() {
    QTextDocument* document = RichEdit1->document();
    const bool modified = document->isModified();
    const QString before = document->toHtml();
    // Copying the zoomed text back resets the modified state: a zoom left without a change
    // keeps the long answer as loaded, so that it is not rewritten at the store.
    if (zoomText(*document, true))
        document->setModified(modified || document->toHtml() != before);
}

void TAlta_Fichas_::updateNavigator() {
    const table::Table& cards = program_.data().Tabla_Activa;
    const bool on = mode_ == Mode::FromSelection && editedCard_ != 0 && !closing_ &&
                    cards.isOpen() && !cards.isEmpty();
    DBNavigator1->setEnabled(on);
    const int pos = on ? cards.recNo() : 0;
    const int count = on ? cards.recordCount() : 0;
    nbFirst->setEnabled(on && pos > 1);
    nbPrior->setEnabled(on && pos > 1);
    nbNext->setEnabled(on && pos < count);
    nbLast->setEnabled(on && pos < count);
}

void TAlta_Fichas_::navigate(void (*move)(table::Table&)) {
    if (mode_ != Mode::FromSelection || editedCard_ == 0)
        return;
    TD_Module_& data = program_.data();
    table::Table& cards = data.Tabla_Activa;
    if (hasChanges()) {
        if (!data.design.modifiable) {
            // The changes cannot be kept: they are dropped and the move happens.
            data.FE_No_Modificable();
        } else {
            const qint64 card = editedCard_;
            if (!store())
                return;
            if (!stillInView(card)) {
                afterCardLeftView();
                return;
            }
        }
    }
    // A move loads the card it lands on; a move that goes nowhere loads nothing.
    const int loads = data.cardView.loads;
    move(cards);
    if (data.cardView.loads == loads)
        data.Tabla_ActivaAfterScroll();
    showCurrentCard();
    updateNavigator();
}

void TAlta_Fichas_::nbFirstClick() {
    navigate([](table::Table& t) { t.first(); });
}

void TAlta_Fichas_::nbPriorClick() {
    navigate([](table::Table& t) { t.prior(); });
}

void TAlta_Fichas_::nbNextClick() {
    navigate([](table::Table& t) { t.next(); });
}

void TAlta_Fichas_::nbLastClick() {
    navigate([](table::Table& t) { t.last(); });
}

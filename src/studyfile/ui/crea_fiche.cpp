#include "studyfile/ui/crea_fiche.h"

#include "app/prepara_imagen.h"
#include "app/program.h"
#include "app/screen_helpers.h"
#include "app/ui.h"
#include "app/ui/panta_inicio.h"
#include "platform/rtf/codepage.h"
#include "platform/ui/picture_box.h"
#include "studyfile/creation.h"
#include "viewers/picture_fit.h"
#include "viewers/ui/imag_zoom.h"
#include "viewers/ui/text_zoom.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDir>
#include <QFileInfo>
#include <QFocusEvent>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QRadioButton>
#include <QTextEdit>

namespace {

template <typename W> W* named(W* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

const QString pictureFilter = QStringLiteral(
    "All (*.jpg;*.jpeg;*.bmp)|*.jpg;*.jpeg;*.bmp|JPEG Image File (*.jpg, *.jpeg)|*.jpg, "
    "*.jpeg|Bitmaps (*.bmp)|*.bmp|All Files (*.*)|*.*");

} // namespace

TCrea_Fiche_::TCrea_Fiche_(Program& program) : program_(program) {
    setObjectName(QStringLiteral("TCrea_Fiche_"));
    setWindowTitle(QStringLiteral("   Crear un nuevo Fichero de Estudio"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                   Qt::WindowMaximizeButtonHint);
    resize(1024, 768);
    setFont(arialFont(15, false));

    Panel1 = named(new QWidget(this), "Panel1");
    Panel1->setGeometry(0, 0, 1024, 768);
    const QFont bold = arialFont(15, true);

    // Left column: name, question, answer and the other options.
    Label1 = named(new QLabel(QStringLiteral("Nombre:"), Panel1), "Label1");
    Label1->setFont(arialFont(17, true));
    Label1->setGeometry(24, 20, 90, 28);
    Edit1 = named(new QLineEdit(Panel1), "Edit1");
    Edit1->setFont(arialFont(17, false));
    Edit1->setGeometry(116, 18, 370, 32);

    GroupBox1 =
        named(new QGroupBox(QStringLiteral(" Datos de la PREGUNTA: "), Panel1), "GroupBox1");
    GroupBox1->setFont(bold);
    GroupBox1->setGeometry(16, 66, 480, 188);
    GroupBox2 =
        named(new QGroupBox(QStringLiteral(" Tamaño (en caracteres): "), GroupBox1), "GroupBox2");
    GroupBox2->setGeometry(12, 26, 456, 110);
    RadioButton1 = named(new QRadioButton(QStringLiteral("30 "), GroupBox2), "RadioButton1");
    RadioButton2 = named(new QRadioButton(QStringLiteral("60 "), GroupBox2), "RadioButton2");
    RadioButton3 = named(new QRadioButton(QStringLiteral("100 "), GroupBox2), "RadioButton3");
    RadioButton4 = named(new QRadioButton(QStringLiteral("Otro Tamaño (hasta 255):"), GroupBox2),
                         "RadioButton4");
    Edit2 = named(new QLineEdit(GroupBox2), "Edit2");
    RadioButton1->setGeometry(16, 30, 80, 26);
    RadioButton2->setGeometry(116, 30, 80, 26);
    RadioButton3->setGeometry(216, 30, 80, 26);
    RadioButton4->setGeometry(16, 68, 230, 26);
    Edit2->setGeometry(252, 66, 70, 30);
    RadioButton2->setChecked(true);
    Edit2->setEnabled(false);
    CheckBox1 = named(new QCheckBox(QStringLiteral("Co&n Imagen."), GroupBox1), "CheckBox1");
    CheckBox1->setGeometry(28, 146, 200, 28);

    GroupBox3 =
        named(new QGroupBox(QStringLiteral(" Datos de la RESPUESTA: "), Panel1), "GroupBox3");
    GroupBox3->setFont(bold);
    GroupBox3->setGeometry(16, 266, 480, 262);
    CheckBox4 =
        named(new QCheckBox(QStringLiteral("Con texto corto (hasta 255)"), GroupBox3), "CheckBox4");
    CheckBox4->setGeometry(28, 30, 300, 28);
    CheckBox4->setChecked(true);
    GroupBox4 =
        named(new QGroupBox(QStringLiteral(" Tamaño (en caracteres): "), GroupBox3), "GroupBox4");
    GroupBox4->setGeometry(12, 64, 456, 110);
    RadioButton5 = named(new QRadioButton(QStringLiteral("30"), GroupBox4), "RadioButton5");
    RadioButton6 = named(new QRadioButton(QStringLiteral("60 "), GroupBox4), "RadioButton6");
    RadioButton7 = named(new QRadioButton(QStringLiteral("100 "), GroupBox4), "RadioButton7");
    RadioButton8 =
        named(new QRadioButton(QStringLiteral("Otro  (hasta 255):"), GroupBox4), "RadioButton8");
    Edit3 = named(new QLineEdit(GroupBox4), "Edit3");
    RadioButton5->setGeometry(16, 30, 80, 26);
    RadioButton6->setGeometry(116, 30, 80, 26);
    RadioButton7->setGeometry(216, 30, 80, 26);
    RadioButton8->setGeometry(16, 68, 230, 26);
    Edit3->setGeometry(252, 66, 70, 30);
    RadioButton7->setChecked(true);
    Edit3->setEnabled(false);
    CheckBox2 = named(new QCheckBox(QStringLiteral("Con I&magen."), GroupBox3), "CheckBox2");
    CheckBox2->setGeometry(28, 184, 200, 28);
    CheckBox3 = named(new QCheckBox(QStringLiteral("Con &Texto Largo."), GroupBox3), "CheckBox3");
    CheckBox3->setGeometry(28, 220, 220, 28);

    GroupBox5 = named(new QGroupBox(Panel1), "GroupBox5");
    GroupBox5->setFont(bold);
    GroupBox5->setGeometry(16, 540, 480, 146);
    CheckBox7 =
        named(new QCheckBox(QStringLiteral("&Nivel de Importancia."), GroupBox5), "CheckBox7");
    CheckBox7->setGeometry(28, 14, 300, 28);
    CheckBox5 = named(new QCheckBox(QStringLiteral("Clave para Clasificar fichas."), GroupBox5),
                      "CheckBox5");
    CheckBox5->setGeometry(28, 56, 320, 28);
    CheckBox5->setChecked(true);
    CheckBox6 = named(new QCheckBox(QStringLiteral("COMPRIMIDO"), GroupBox5), "CheckBox6");
    CheckBox6->setGeometry(28, 98, 300, 28);

    // Right column: description and picture.
    GroupBox6 = named(new QGroupBox(QStringLiteral(" Descripción: "), Panel1), "GroupBox6");
    GroupBox6->setFont(bold);
    GroupBox6->setGeometry(512, 12, 496, 390);
    RichEdit1 = named(new QTextEdit(GroupBox6), "RichEdit1");
    RichEdit1->setFont(arialFont(15, false));
    RichEdit1->setAcceptRichText(true);
    RichEdit1->setGeometry(10, 26, 476, 312);
    RichEdit1->setPlainText(studyfile::descriptionTemplate().join(QLatin1Char('\n')));
    Button5 = named(new QPushButton(QStringLiteral("Pegar &Descripción"), GroupBox6), "Button5");
    Button5->setGeometry(10, 346, 200, 34);
    Button12 = named(new QPushButton(QStringLiteral("&Zoom"), GroupBox6), "Button12");
    Button12->setGeometry(222, 346, 110, 34);

    GroupBox7 = named(new QGroupBox(QStringLiteral(" Imagen: "), Panel1), "GroupBox7");
    GroupBox7->setFont(bold);
    GroupBox7->setGeometry(512, 410, 496, 276);
    // The picture's box, framed so that it shows while the picture is empty.
    Shape1 = named(new QFrame(GroupBox7), "Shape1");
    Shape1->setFrameShape(QFrame::Panel);
    Shape1->setFrameShadow(QFrame::Sunken);
    Image1 = named(new PictureBox(GroupBox7), "Image1");
    Image1->setStretch(true);
    {
        const FitBox box = fitBoxForPicture(picture_number::creation);
        Shape1->setGeometry(box.left - 2, box.top - 2, box.width + 4, box.height + 4);
        Image1->setGeometry(box.left, box.top, box.width, box.height);
    }
    BitBtn1 = named(new QPushButton(QStringLiteral(" Disc&o"), GroupBox7), "BitBtn1");
    BitBtn2 = named(new QPushButton(QStringLiteral("Pe&gar"), GroupBox7), "BitBtn2");
    Button6 = named(new QPushButton(QStringLiteral(" &Borrar"), GroupBox7), "Button6");
    BitBtn1->setGeometry(410, 26, 80, 34);
    BitBtn2->setGeometry(410, 68, 80, 34);
    Button6->setGeometry(410, 110, 80, 34);

    Button1 = named(new QPushButton(QStringLiteral("&Crear Fichero"), Panel1), "Button1");
    Button2 = named(new QPushButton(QStringLiteral("&Salir"), Panel1), "Button2");
    Button3 = named(new QPushButton(QStringLiteral("&Ayuda"), Panel1), "Button3");
    Button1->setFont(bold);
    Button1->setGeometry(512, 704, 200, 44);
    Button2->setGeometry(728, 704, 130, 44);
    Button3->setGeometry(874, 704, 130, 44);
    for (QPushButton* b :
         {Button5, Button12, BitBtn1, BitBtn2, Button6, Button1, Button2, Button3}) {
        b->setAutoDefault(false);
        b->setDefault(false);
        b->setFont(b == Button1 ? bold : arialFont(15, false));
    }
    for (QWidget* w : std::initializer_list<QWidget*>{
             RadioButton1, RadioButton2, RadioButton3, RadioButton4, CheckBox1, CheckBox4,
             RadioButton5, RadioButton6, RadioButton7, RadioButton8, CheckBox2, CheckBox3,
             CheckBox7, CheckBox5, CheckBox6, Edit2, Edit3})
        w->setFont(arialFont(15, false));

    Edit2->installEventFilter(this);
    Edit3->installEventFilter(this);
    program_.connectGuarded(CheckBox4, &QCheckBox::clicked, this, [this] { CheckBox4Click(); });
    program_.connectGuarded(CheckBox3, &QCheckBox::clicked, this, [this] { CheckBox3Click(); });
    for (QRadioButton* r : {RadioButton1, RadioButton2, RadioButton3, RadioButton4})
        program_.connectGuarded(r, &QRadioButton::clicked, this, [this] { QuestionSizeClick(); });
    for (QRadioButton* r : {RadioButton5, RadioButton6, RadioButton7, RadioButton8})
        program_.connectGuarded(r, &QRadioButton::clicked, this, [this] { AnswerSizeClick(); });
    program_.connectGuarded(Button5, &QPushButton::clicked, this, [this] { Button5Click(); });
    program_.connectGuarded(Button12, &QPushButton::clicked, this, [this] { Button12Click(); });
    program_.connectGuarded(Image1, &PictureBox::clicked, this, [this] { Image1Click(); });
    program_.connectGuarded(BitBtn1, &QPushButton::clicked, this, [this] { BitBtn1Click(); });
    program_.connectGuarded(BitBtn2, &QPushButton::clicked, this, [this] { BitBtn2Click(); });
    program_.connectGuarded(Button6, &QPushButton::clicked, this, [this] { Button6Click(); });
    program_.connectGuarded(Button1, &QPushButton::clicked, this, [this] { Button1_Click(); });
    program_.connectGuarded(Button2, &QPushButton::clicked, this, [this] { Button2Click(); });
    program_.connectGuarded(Button3, &QPushButton::clicked, this, [this] { Button3Click(); });
}

void TCrea_Fiche_::FormActivate() {
    RunState& state = program_.state();
    if (state.takeSkipNextActivation())
        return;
    if (program_.mainScreen().isMaximized())
        setWindowState(windowState() | Qt::WindowMaximized);
    else
        setWindowState(windowState() & ~Qt::WindowMaximized);
    Edit1->setFocus();
}

void TCrea_Fiche_::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    Panel1->move(qMax(0, (width() - Panel1->width()) / 2),
                 qMax(0, (height() - Panel1->height()) / 2));
}

void TCrea_Fiche_::updateAnswerControls() {
    const bool on = CheckBox4->isChecked();
    for (QRadioButton* r : {RadioButton5, RadioButton6, RadioButton7, RadioButton8})
        r->setEnabled(on);
    GroupBox4->setEnabled(on);
    Edit3->setEnabled(on && RadioButton8->isChecked());
}

void TCrea_Fiche_::CheckBox4Click() {
    // Short and long answer text exclude each other: one of them is always chosen.
    CheckBox3->setChecked(!CheckBox4->isChecked());
    updateAnswerControls();
}

void TCrea_Fiche_::CheckBox3Click() {
    CheckBox4->setChecked(!CheckBox3->isChecked());
    updateAnswerControls();
}

void TCrea_Fiche_::QuestionSizeClick() {
    Edit2->setEnabled(RadioButton4->isChecked());
    if (Edit2->isEnabled())
        Edit2->setFocus();
}

void TCrea_Fiche_::AnswerSizeClick() {
    Edit3->setEnabled(RadioButton8->isChecked() && CheckBox4->isChecked());
    if (Edit3->isEnabled())
        Edit3->setFocus();
}

bool TCrea_Fiche_::sizeCheck(QLineEdit* edit) {
    const QString message = studyfile::sizeCheckMessage(edit->text());
    if (message.isEmpty())
        return true;
    // The message takes the focus away from the input; that is not leaving it.
    checking_ = true;
    program_.Ver_Mensaje(message);
    checking_ = false;
    edit->setFocus();
    return false;
}

bool TCrea_Fiche_::Edit2Exit() {
    return sizeCheck(Edit2);
}

bool TCrea_Fiche_::Edit3Exit() {
    return sizeCheck(Edit3);
}

bool TCrea_Fiche_::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusOut && !checking_ && (watched == Edit2 || watched == Edit3)) {
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        // Only moving to another control of this screen is leaving the input.
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) {
            QLineEdit* edit = static_cast<QLineEdit*>(watched);
            program_.guard([this, edit] { sizeCheck(edit); });
        }
    }
    return QDialog::eventFilter(watched, event);
}

QStringList TCrea_Fiche_::descriptionLines() const {
    QString text = RichEdit1->toPlainText();
    text.replace(QChar::LineSeparator, QLatin1Char('\n'));
    if (text.isEmpty())
        return {};
    return text.split(QLatin1Char('\n'));
}

void TCrea_Fiche_::Button12Click() {
    RunState& state = program_.state();
    TText_Zoom_& zoom = program_.text_Zoom();
    zoom.RichEdit1->document()->setHtml(RichEdit1->document()->toHtml());
    state.textZoomEditMode = true;
    program_.runModal(zoom);
    state.textZoomEditMode = false;
    if (state.textZoomSaveRequest)
        RichEdit1->document()->setHtml(zoom.RichEdit1->document()->toHtml());
}

void TCrea_Fiche_::Image1Click() {
    if (Image1->picture().width() <= 0 && Image1->picture().height() <= 0)
        return;
    program_.state().zoomSource = QStringLiteral("Crea_Fich");
    program_.runModal(program_.imag_Zoom());
}

void TCrea_Fiche_::Button5Click() {
    const QMimeData* data = QApplication::clipboard()->mimeData();
    if (data == nullptr || !data->hasText()) {
        program_.Ver_Mensaje(QStringLiteral("El portapapeles no contiene un texto."));
        return;
    }
    RichEdit1->setFocus();
    RichEdit1->insertPlainText(data->text());
}

void TCrea_Fiche_::setPicture(const Picture& picture, const QString& kind) {
    Image1->setPicture(picture);
    pictureKind_ = kind;
    Prepara_Imagen(program_, picture_number::creation);
}

void TCrea_Fiche_::BitBtn1Click() {
    if (pictureFolder_.isEmpty())
        pictureFolder_ = program_.state().programFolder;
    const QString chosen =
        program_.ui().openPicture(this, {QString(), pictureFolder_, QString(), pictureFilter});
    if (chosen.isEmpty())
        return;
    pictureFolder_ = QFileInfo(chosen).path();
    const QString ending = chosen.right(4).toLower();
    QString kind;
    if (ending == QLatin1String(".jpg") || ending == QLatin1String("jpeg"))
        kind = QStringLiteral("JPG");
    else if (ending == QLatin1String(".bmp"))
        kind = QStringLiteral("BMP");
    else
        return;
    setPicture(Picture::fromFile(chosen), kind);
}

void TCrea_Fiche_::BitBtn2Click() {
    // Any picture the clipboard offers is taken as a bitmap.
    const QImage image = QApplication::clipboard()->image();
    if (image.isNull()) {
        program_.Ver_Mensaje(QStringLiteral("El portapapeles no contiene una imagen."));
        return;
    }
    setPicture(Picture::fromImage(image), QStringLiteral("BMP"));
}

void TCrea_Fiche_::Button6Click() {
    Image1->clear();
    pictureKind_.clear();
}

void TCrea_Fiche_::Button1_Click() {
    studyfile::CreationRequest r;
    r.datFolder = QDir(program_.state().programFolder).filePath(QStringLiteral("dat"));
    r.name = Edit1->text();
    studyfile::DesignOptions& o = r.options;
    o.questionImage = CheckBox1->isChecked();
    o.answerImage = CheckBox2->isChecked();
    o.longAnswerText = CheckBox3->isChecked();
    o.cardKey = CheckBox5->isChecked();
    o.importanceLevel = CheckBox7->isChecked();
    o.compressed = CheckBox6->isChecked();

    // The answer kind and the name come first; then the sizes.
    QWidget* focus = nullptr;
    try {
        if (!o.answerImage && !o.longAnswerText && !CheckBox4->isChecked()) {
            focus = CheckBox4;
            throw studyfile::ECreationRefused(studyfile::kNoAnswerKindMessage);
        }
        focus = Edit1;
        if (r.name.isEmpty())
            throw studyfile::ECreationRefused(studyfile::kNoNameMessage);
        if (r.name.contains(QLatin1Char('/')))
            throw studyfile::ECreationRefused(studyfile::kSlashInNameMessage);
        focus = Edit2;
        o.questionSize = RadioButton1->isChecked()   ? 30
                         : RadioButton2->isChecked() ? 60
                         : RadioButton3->isChecked() ? 100
                                                     : studyfile::readSizeText(Edit2->text());
        focus = Edit3;
        o.shortAnswerSize = !CheckBox4->isChecked()     ? 0
                            : RadioButton5->isChecked() ? 30
                            : RadioButton6->isChecked() ? 60
                            : RadioButton7->isChecked() ? 100
                                                        : studyfile::readSizeText(Edit3->text());
        focus = Edit1;
        r.description = descriptionLines();
        r.picture = Image1->picture();
        r.pictureKind = pictureKind_;
        studyfile::createStudyFile(r);
    } catch (const studyfile::ECreationRefused& e) {
        program_.Ver_Mensaje(e.message());
        if (focus != nullptr)
            focus->setFocus();
        return;
    }
    program_.Ver_Mensaje(studyfile::kCreatedMessage.arg(r.name));
    accept();
}

void TCrea_Fiche_::Button2Click() {
    QDialog::reject();
}

void TCrea_Fiche_::reject() {
    Button2Click();
}

void TCrea_Fiche_::Button3Click() {
    program_.showHelp(16);
}

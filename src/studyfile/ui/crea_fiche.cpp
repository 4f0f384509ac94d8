#include "studyfile/ui/crea_fiche.h"

#include "app/prepara_imagen.h"
#include "app/ui.h"
#include "platform/picture/picture_files.h"
#include "platform/rtf/codepage.h"
#include "platform/ui/picture_box.h"
#include "studyfile/creation.h"
#include "viewers/picture_fit.h"

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

using namespace kit;

TCrea_Fiche_::TCrea_Fiche_(Program& program)
    : ProgramDialog(program, "TCrea_Fiche_", QStringLiteral("   Crear un nuevo Fichero de Estudio"),
                    Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                        Qt::WindowMaximizeButtonHint) {
    resize(1024, 768);
    setFont(arialFont(15, plain));
    Panel1 = panel(this, "Panel1", QRect(0, 0, 1024, 768));
    centreDesignArea(Panel1);
    // Frames and the create button are bold; the controls inside the frames are not.
    const Px heading{15, bold};
    const Px text{15, plain};

    // Left column: name, question, answer and the other options.
    Label1 =
        label(Panel1, "Label1", QStringLiteral("Nombre:"), QRect(24, 20, 90, 28), Px{17, bold});
    Edit1 = edit(Panel1, "Edit1", QRect(116, 18, 370, 32), Px{17, plain});

    GroupBox1 = group(Panel1, "GroupBox1", QStringLiteral(" Datos de la PREGUNTA: "),
                      QRect(16, 66, 480, 188), heading);
    GroupBox2 = group(GroupBox1, "GroupBox2", QStringLiteral(" Tamaño (en caracteres): "),
                      QRect(12, 26, 456, 110));
    RadioButton1 =
        radio(GroupBox2, "RadioButton1", QStringLiteral("30 "), QRect(16, 30, 80, 26), text);
    RadioButton2 =
        radio(GroupBox2, "RadioButton2", QStringLiteral("60 "), QRect(116, 30, 80, 26), text);
    RadioButton3 =
        radio(GroupBox2, "RadioButton3", QStringLiteral("100 "), QRect(216, 30, 80, 26), text);
    RadioButton4 = radio(GroupBox2, "RadioButton4", QStringLiteral("Otro Tamaño (hasta 255):"),
                         QRect(16, 68, 230, 26), text);
    Edit2 = edit(GroupBox2, "Edit2", QRect(252, 66, 70, 30), text);
    RadioButton2->setChecked(true);
    Edit2->setEnabled(false);
    CheckBox1 = check(GroupBox1, "CheckBox1", QStringLiteral("Co&n Imagen."),
                      QRect(28, 146, 200, 28), text);

    GroupBox3 = group(Panel1, "GroupBox3", QStringLiteral(" Datos de la RESPUESTA: "),
                      QRect(16, 266, 480, 262), heading);
    CheckBox4 = check(GroupBox3, "CheckBox4", QStringLiteral("Con texto corto (hasta 255)"),
                      QRect(28, 30, 300, 28), text);
    CheckBox4->setChecked(true);
    GroupBox4 = group(GroupBox3, "GroupBox4", QStringLiteral(" Tamaño (en caracteres): "),
                      QRect(12, 64, 456, 110));
    RadioButton5 =
        radio(GroupBox4, "RadioButton5", QStringLiteral("30"), QRect(16, 30, 80, 26), text);
    RadioButton6 =
        radio(GroupBox4, "RadioButton6", QStringLiteral("60 "), QRect(116, 30, 80, 26), text);
    RadioButton7 =
        radio(GroupBox4, "RadioButton7", QStringLiteral("100 "), QRect(216, 30, 80, 26), text);
    RadioButton8 = radio(GroupBox4, "RadioButton8", QStringLiteral("Otro  (hasta 255):"),
                         QRect(16, 68, 230, 26), text);
    Edit3 = edit(GroupBox4, "Edit3", QRect(252, 66, 70, 30), text);
    RadioButton7->setChecked(true);
    Edit3->setEnabled(false);
    CheckBox2 = check(GroupBox3, "CheckBox2", QStringLiteral("Con I&magen."),
                      QRect(28, 184, 200, 28), text);
    CheckBox3 = check(GroupBox3, "CheckBox3", QStringLiteral("Con &Texto Largo."),
                      QRect(28, 220, 220, 28), text);

    GroupBox5 = group(Panel1, "GroupBox5", QString(), QRect(16, 540, 480, 146), heading);
    CheckBox7 = check(GroupBox5, "CheckBox7", QStringLiteral("&Nivel de Importancia."),
                      QRect(28, 14, 300, 28), text);
    CheckBox5 = check(GroupBox5, "CheckBox5", QStringLiteral("Clave para Clasificar fichas."),
                      QRect(28, 56, 320, 28), text);
    CheckBox5->setChecked(true);
    CheckBox6 =
        check(GroupBox5, "CheckBox6", QStringLiteral("COMPRIMIDO"), QRect(28, 98, 300, 28), text);

    // Right column: description and picture.
    GroupBox6 = group(Panel1, "GroupBox6", QStringLiteral(" Descripción: "),
                      QRect(512, 12, 496, 390), heading);
    RichEdit1 = richEdit(GroupBox6, "RichEdit1", QRect(10, 26, 476, 312), text);
    RichEdit1->setPlainText(studyfile::descriptionTemplate().join(QLatin1Char('\n')));
    Button5 = button(GroupBox6, "Button5", QStringLiteral("Pegar &Descripción"),
                     QRect(10, 346, 200, 34), text);
    Button12 =
        button(GroupBox6, "Button12", QStringLiteral("&Zoom"), QRect(222, 346, 110, 34), text);

    GroupBox7 =
        group(Panel1, "GroupBox7", QStringLiteral(" Imagen: "), QRect(512, 410, 496, 276), heading);
    // The picture's box, framed so that it shows while the picture is empty.
    const FitBox box = fitBoxForPicture(picture_number::creation);
    Shape1 = new QFrame(GroupBox7);
    Shape1->setObjectName(QStringLiteral("Shape1"));
    Shape1->setFrameShape(QFrame::Panel);
    Shape1->setFrameShadow(QFrame::Sunken);
    Shape1->setGeometry(box.left - 2, box.top - 2, box.width + 4, box.height + 4);
    Image1 = pictureBox(GroupBox7, "Image1", QRect(box.left, box.top, box.width, box.height));
    BitBtn1 = button(GroupBox7, "BitBtn1", QStringLiteral(" Disc&o"), QRect(410, 26, 80, 34), text);
    BitBtn2 = button(GroupBox7, "BitBtn2", QStringLiteral("Pe&gar"), QRect(410, 68, 80, 34), text);
    Button6 =
        button(GroupBox7, "Button6", QStringLiteral(" &Borrar"), QRect(410, 110, 80, 34), text);

    Button1 = button(Panel1, "Button1", QStringLiteral("&Crear Fichero"), QRect(512, 704, 200, 44),
                     heading);
    Button2 = button(Panel1, "Button2", QStringLiteral("&Salir"), QRect(728, 704, 130, 44), text);
    Button3 = button(Panel1, "Button3", QStringLiteral("&Ayuda"), QRect(874, 704, 130, 44), text);

    Edit2->installEventFilter(this);
    Edit3->installEventFilter(this);
    onClick(CheckBox4, &TCrea_Fiche_::CheckBox4Click);
    onClick(CheckBox3, &TCrea_Fiche_::CheckBox3Click);
    for (QRadioButton* r : {RadioButton1, RadioButton2, RadioButton3, RadioButton4})
        onClick(r, &TCrea_Fiche_::QuestionSizeClick);
    for (QRadioButton* r : {RadioButton5, RadioButton6, RadioButton7, RadioButton8})
        onClick(r, &TCrea_Fiche_::AnswerSizeClick);
    onClick(Button5, &TCrea_Fiche_::Button5Click);
    onClick(Button12, &TCrea_Fiche_::Button12Click);
    onClick(Image1, &TCrea_Fiche_::Image1Click);
    onClick(BitBtn1, &TCrea_Fiche_::BitBtn1Click);
    onClick(BitBtn2, &TCrea_Fiche_::BitBtn2Click);
    onClick(Button6, &TCrea_Fiche_::Button6Click);
    onClick(Button1, &TCrea_Fiche_::Button1_Click);
    onClick(Button2, &TCrea_Fiche_::Button2Click);
    onClick(Button3, &TCrea_Fiche_::Button3Click);
    program_.registerPicture(picture_number::creation, Image1);
}

void TCrea_Fiche_::FormActivate() {
    if (!beginActivation())
        return;
    followMainWindowState();
    Edit1->setFocus();
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
    zoomText(*RichEdit1->document(), true);
}

void TCrea_Fiche_::Image1Click() {
    zoomPicture(*Image1);
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

void TCrea_Fiche_::setPicture(const picture::Picture& picture, const QString& kind) {
    Image1->setPicture(picture);
    pictureKind_ = kind;
    Prepara_Imagen(program_, picture_number::creation);
}

void TCrea_Fiche_::BitBtn1Click() {
    if (pictureFolder_.isEmpty())
        pictureFolder_ = program_.state().programFolder;
    const QString chosen = program_.ui().openPicture(
        this, {QString(), pictureFolder_, QString(), picture::kPictureDialogFilter});
    if (chosen.isEmpty())
        return;
    pictureFolder_ = QFileInfo(chosen).path();
    const picture::Picture::Kind kind = picture::pictureKindOf(chosen);
    if (kind == picture::Picture::Kind::Empty)
        return;
    setPicture(picture::Picture::fromFile(chosen), kind == picture::Picture::Kind::Jpeg
                                                       ? QStringLiteral("JPG")
                                                       : QStringLiteral("BMP"));
}

void TCrea_Fiche_::BitBtn2Click() {
    // Any picture the clipboard offers is taken as a bitmap.
    const QImage image = QApplication::clipboard()->image();
    if (image.isNull()) {
        program_.Ver_Mensaje(QStringLiteral("El portapapeles no contiene una imagen."));
        return;
    }
    // Transparent areas are laid over white: the picture is kept as a BMP file.
    picture::Picture pasted;
    try {
        pasted = picture::bitmapFromImage(image);
    } catch (const picture::PictureError& e) {
        program_.Ver_Mensaje(e.text());
        return;
    }
    setPicture(pasted, QStringLiteral("BMP"));
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
            throw studyfile::CreationRefused(studyfile::kNoAnswerKindMessage);
        }
        focus = Edit1;
        if (r.name.isEmpty())
            throw studyfile::CreationRefused(studyfile::kNoNameMessage);
        if (r.name.contains(QLatin1Char('/')))
            throw studyfile::CreationRefused(studyfile::kSlashInNameMessage);
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
    } catch (const studyfile::CreationRefused& e) {
        program_.Ver_Mensaje(e.text());
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

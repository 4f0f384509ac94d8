// The creation screen: fixes the design options of a new, empty study file in the dat folder,
// with its description and picture, and writes it.
#pragma once

#include "app/screen_kit.h"

namespace picture {
class Picture;
}

class PictureBox;
class QCheckBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTextEdit;

class TCrea_Fiche_ : public ProgramDialog {
    Q_OBJECT
public:
    explicit TCrea_Fiche_(Program& program);

    void FormActivate() override;

    // Control rules.
    void CheckBox4Click(); // short answer text
    void CheckBox3Click(); // long answer text
    void QuestionSizeClick();
    void AnswerSizeClick();
    // The size check when leaving an "other size" input; false (message shown, focus given
    // back) when it refuses the text.
    bool Edit2Exit();
    bool Edit3Exit();

    void Button5Click();  // paste the description
    void Button12Click(); // "&Zoom": the description in the text zoom
    void Image1Click();   // the picture in the image zoom
    void BitBtn1Click();  // picture from a file
    void BitBtn2Click();  // picture from the clipboard
    void Button6Click();  // remove the picture
    void Button1_Click(); // create
    void Button2Click();  // close
    void Button3Click();  // help

    // The description as lines.
    QStringList descriptionLines() const;
    // "JPG" or "BMP" once a picture was loaded; decides the extension of the saved picture.
    const QString& pictureKind() const { return pictureKind_; }

    QWidget* Panel1; // the 1024 x 768 design area, centred in the window
    QLabel* Label1;
    QLineEdit* Edit1;     // name
    QGroupBox* GroupBox1; // question
    QGroupBox* GroupBox2; // question size
    QRadioButton *RadioButton1, *RadioButton2, *RadioButton3, *RadioButton4;
    QLineEdit* Edit2;
    QCheckBox* CheckBox1; // question image
    QGroupBox* GroupBox3; // answer
    QCheckBox* CheckBox4; // short answer text
    QGroupBox* GroupBox4; // short answer size
    QRadioButton *RadioButton5, *RadioButton6, *RadioButton7, *RadioButton8;
    QLineEdit* Edit3;
    QCheckBox* CheckBox2; // answer image
    QCheckBox* CheckBox3; // long answer text
    QGroupBox* GroupBox5; // the other options
    QCheckBox* CheckBox7; // importance level
    QCheckBox* CheckBox5; // card key
    QCheckBox* CheckBox6; // compressed
    QGroupBox* GroupBox6; // description
    QTextEdit* RichEdit1;
    QPushButton* Button5;
    QPushButton* Button12;
    QGroupBox* GroupBox7; // picture
    QFrame* Shape1;       // frame of the picture box
    PictureBox* Image1;
    QPushButton* BitBtn1;
    QPushButton* BitBtn2;
    QPushButton* Button6;
    QPushButton* Button1;
    QPushButton* Button2;
    QPushButton* Button3;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void reject() override;

private:
    void updateAnswerControls();
    bool sizeCheck(QLineEdit* edit);
    void setPicture(const picture::Picture& picture, const QString& kind);

    QString pictureKind_;
    QString pictureFolder_; // where the picture dialog was left
    bool checking_ = false;
};

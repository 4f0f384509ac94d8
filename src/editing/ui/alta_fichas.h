// The card editor: types a new card (add mode, from the main screen) or changes the current card
// (modify mode, from the review screen or from the card selection, where the navigator steps
// through the selected cards). What the user types stays on the screen until a save button
// stores it; the card table is never left in an edit state in between.
#pragma once

#include "app/screen_kit.h"
#include "platform/picture/picture.h"

class PictureBox;
class QCheckBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTextEdit;
namespace table {
class Table;
}

class TAlta_Fichas_ : public ProgramDialog {
    Q_OBJECT
public:
    explicit TAlta_Fichas_(Program& program);

    void FormShow() override;
    void FormActivate() override;

    void Button3Click();  // "&Guarda y Continua"
    void Button2Click();  // "Guarda y A&caba"
    void Button1Click();  // " &Salir"
    void BitBtn1Click();  // " &Ayuda"
    void BitBtn2Click();  // "Disco", question picture
    void BitBtn4Click();  // "Disco", answer picture
    void Button5Click();  // "Pega&r", question picture (tag 1)
    void Button6Click();  // "Pe&gar", answer picture (tag 2)
    void Button4Click();  // "X", question picture
    void Button8Click();  // "X", answer picture
    void Button7Click();  // "Pegar", long answer
    void BitBtn3Click();  // " Disco", long answer
    void Button12Click(); // "&Zoom"
    void Image1Click();
    void Image2Click();
    // The navigator's buttons.
    void nbFirstClick();
    void nbPriorClick();
    void nbNextClick();
    void nbLastClick();

    // Every way of closing ends here: the table is left as it was and the screen emptied.
    void done(int result) override;
    void reject() override;

    QLineEdit* EditPreg_Text;
    QGroupBox* GroupBox1;
    PictureBox* Image1;
    QPushButton* Button5;
    QPushButton* BitBtn2;
    QPushButton* Button4;
    QLabel* Label3; // "Clave de la Ficha:"
    QLineEdit* EditClav_Fich;
    QCheckBox* ChBox1;
    QLabel* Label4; // "Nivel de Importancia: "
    QLineEdit* EditNive_Impo;
    QLabel* Label5;
    QLineEdit* EditResp_Text;
    QGroupBox* GroupBox3;
    QTextEdit* RichEdit1;
    QPushButton* Button7;
    QPushButton* BitBtn3;
    QPushButton* Button12;
    QGroupBox* GroupBox2;
    PictureBox* Image2;
    QPushButton* Button6;
    QPushButton* BitBtn4;
    QPushButton* Button8;
    QFrame* DBNavigator1;
    QPushButton* nbFirst;
    QPushButton* nbPrior;
    QPushButton* nbNext;
    QPushButton* nbLast;
    QPushButton* Button3;
    QPushButton* Button2;
    QPushButton* Button1;
    QPushButton* BitBtn1;
    QLabel* LabelQXS;

    // The card being changed (its AutoInc), 0 in add mode.
    qint64 editedCard() const { return editedCard_; }
    // The user changed something of the card on screen since it was loaded or stored.
    bool hasChanges() const;

private:
    enum class Mode { Add, FromReview, FromSelection };
    void openScreen();
    void layoutForDesign();
    // Shows the current card of the card table (after the content loader ran).
    void showCurrentCard();
    // Empties every input for a new card (the key stays when asked to).
    void showBlankCard(const QString& key);
    void clearInputs();
    void setLimitedText(QLineEdit* edit, int size, const QString& text);
    void setPicture(int tag, const picture::Picture& picture);
    void loadPictureFromDisk(int tag);
    // The clipboard's picture into picture `tag` (1 question, 2 answer).
    void pastePicture(int tag);
    // The card is still in the view; the cursor is on it then.
    bool stillInView(qint64 card);
    // One store; false when it was refused (nothing stored).
    bool store();
    // The card's place in the view changed by a store or a move: show the card now current, or
    // close when there is none.
    void afterCardLeftView();
    void navigate(void (*move)(table::Table&));
    void updateNavigator();
    void applyFontStyle();
    // An empty long answer types in the font style.
    void resetLongAnswerFormat();

    Mode mode_ = Mode::Add;
    bool opening_ = false;
    qint64 editedCard_ = 0;
    QString rememberedKey_;
    QString pictureFolder_;
    QString longAnswerFolder_;
    bool closing_ = false;
};

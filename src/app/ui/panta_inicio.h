// The main screen: three tabbed menu pages whose entries open every other screen, with a key for
// every entry; it opens, closes and deletes study files itself.
#pragma once

#include "app/program_screen.h"
#include "settings/preferences.h"

#include <QColor>
#include <QMainWindow>
#include <QStringList>

#include <vector>

namespace picture {
class Picture;
}
class PictureBox;
class Program;
class QLabel;
class QTabWidget;
class QTextDocument;
class QTextEdit;
namespace platform {
class Timer;
}

class TPanta_Inicio_ : public QMainWindow, public ProgramScreen {
    Q_OBJECT
public:
    explicit TPanta_Inicio_(Program& program);
    ~TPanta_Inicio_() override;

    void FormCreate();
    void FormActivate() override;
    // A key pressed anywhere on the main screen: the entry of that key, Esc closes.
    void FormKeyPress(int key, const QString& text);

    // Page " Principal ".
    void Label5Click();  // 1- open a study file
    void Label6Click();  // 2- review
    void Label32Click(); // 3- timed review
    void Label7Click();  // 4- add cards
    void Label8Click();  // 5- add cards in group
    void Label9Click();  // 6- study file information
    void Label10Click(); // 7- select, modify or delete cards
    void Label11Click(); // 8- create a study file
    void Label13Click(); // 0- help
    void Label14Click(); // about
    // Page " Utilidades ".
    void Label16Click(); // A- level 0 to level 1
    void Label17Click(); // B- options
    void Label18Click(); // C- print
    void Label19Click(); // D- global modification
    void Label20Click(); // Z- help
    // Page "Herramientas ".
    void Label22Click(); // E- transport files
    void Label4Click();  // F- repair
    void Label12Click(); // G- delete a study file
    void Label23Click(); // H- export
    void Label24Click(); // I- text import
    void Label25Click(); // J- import from a study file
    void Label26Click(); // K- text and image import
    void Label27Click(); // Y- help
    // "Salir" on each page.
    void SalirClick();

    // Break reminder and blink notice.
    void Timer_DescansoTimer();
    void Timer_ParpadeoTimer();

    // Closes the open study file.
    void Cierra_Fichero();
    // Whether Actualiza_Imagenes also gives the information screen the study file's picture.
    enum class InfoPicture { No, Yes };
    // Copies the page-1 picture to pages 2 and 3 and fits the three; with InfoPicture::Yes also
    // sets the picture of the information screen.
    void Actualiza_Imagenes(InfoPicture info);

    // The preferences step of the activation: the preferences file read (created on the first
    // run) and put in force.
    void Lee_Preferencias();
    // The break and blink timers as the preferences set them.
    void applyTimerPreferences(const settings::Preferences& prefs);
    // The preferences in force as the options screen shows them: the run's preferences with the
    // blink notice as its timer runs.
    settings::Preferences preferencesInForce() const;
    // The blink notice switched on or off (its period stays).
    void setBlinkNoticeEnabled(bool enabled);
    // The break screen opens at once ("Descansar").
    void breakNow();
    // The break timer's count-down starts again (a break ended).
    void restartBreakCountdown();
    // The preferences text (the lines of the preferences file) the run keeps.
    QStringList preferencesText() const;
    void setPreferencesText(const QStringList& lines);
    // The program picture shown on the three pages (a new one chosen in the options), or none.
    void showProgramPicture(const picture::Picture& picture);
    void clearProgramPicture();

    // The description of the open study file as the hidden buffer RichEdit1 holds it (the
    // information screen shows a copy).
    const QTextDocument& descriptionDocument() const;

    // The text of the three "Fichero Abierto" labels for a study file name (empty: none open).
    static QString ficheroAbiertoText(const QString& studyFileName);

    // The colour of an entry's page (navy, blue, purple; maroon for help, about and exit).
    QColor entryColour(const QLabel* entry) const;
    // The entry highlighted under the mouse, or null.
    QLabel* hoverEntry() const;

    QWidget* Panel1; // the 1024 x 768 menu panel, centred in the window
    QTabWidget* PageControl1;
    QWidget* TabSheet1;
    QWidget* TabSheet2;
    QWidget* TabSheet3;
    // "Fichero Abierto" on pages 1, 2 and 3.
    QLabel* Label1;
    QLabel* Label2;
    QLabel* Label3;
    // The page pictures (page 1 holds the picture; pages 2 and 3 show copies of it).
    PictureBox* Image1;
    PictureBox* Image2;
    PictureBox* Image3;
    // Entries.
    QLabel *Label5, *Label6, *Label32, *Label7, *Label8, *Label9, *Label10, *Label11, *Label13,
        *Label14, *Label15;
    QLabel *Label16, *Label17, *Label18, *Label19, *Label20, *Label21;
    QLabel *Label22, *Label4, *Label12, *Label23, *Label24, *Label25, *Label26, *Label27, *Label28;

    // Break reminder and blink notice timers.
    platform::Timer* Timer_Descanso;
    platform::Timer* Timer_Parpadeo;

    // Hidden rich-text buffers: design record and description, preferences, remembered password,
    // short answer text, font style.
    QTextEdit* RichEdit1;
    QTextEdit* RichEdit2;
    QTextEdit* RichEdit3;
    QTextEdit* RE_Resp_Text;
    QTextEdit* RE_Estilo_Fuente;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    // One menu entry: the label member it fills, its name, key (0: none), caption, colour, page
    // (1 to 3) and handler.
    struct Entry {
        QLabel* TPanta_Inicio_::*member;
        const char* name;
        char key;
        const char* caption;
        QColor colour;
        int page;
        void (TPanta_Inicio_::*handler)();
    };
    static const std::vector<Entry>& entryTable();
    const Entry* findEntry(const QObject* label) const;
    void runEntry(const Entry& entry);
    void highlight(QLabel* label);
    void unhighlight();
    void centrePanel();
    void setFicheroAbierto(const QString& text);
    // Draws an entry in its page colour again (after a dialog, the pointer may have left it).
    void setEntryColour(QLabel* label);
    // Opens the study file whose card table is `tablePath` (its set is complete and native);
    // false when its design record could not be read.
    bool Abre_Fichero_Estudio(const QString& tablePath);
    // Creates the print table anew in the program folder and opens it.
    void Crea_Tabla_Impresion();
    // The entry guard: shows the message and returns false when no study file is open.
    bool guardOpenFile();
    // The picture file of the open study file (the first of N.BMP, N.JPG, N.JPEG, whatever their
    // letter case), or "" when it has none.
    QString studyFilePicture() const;
    // Shows the main-screen picture file (or none) on the three pages. A picture file that
    // cannot be read shows none; its error box comes once in a run.
    void showMainPicture();

    Program& program_;
    QLabel* hover_ = nullptr;
    bool mainPictureErrorShown_ = false;
};

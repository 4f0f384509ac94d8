// The main screen: three tabbed menu pages whose entries open every other screen, with a key for
// every entry; it opens, closes and deletes study files itself.
#pragma once

#include "app/program_screen.h"

#include <QColor>
#include <QMainWindow>

#include <vector>

class PictureBox;
class Program;
class QLabel;
class QTabWidget;
class QTextEdit;
class Timer;

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
    // Copies the page-1 picture to pages 2 and 3 and fits the three; with "Info FE: SI" also sets
    // the picture of the information screen.
    void Actualiza_Imagenes(const QString& mode);

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
    Timer* Timer_Descanso;
    Timer* Timer_Parpadeo;

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
    struct Entry {
        QLabel* label;
        QColor colour;
        void (TPanta_Inicio_::*handler)();
    };
    QLabel* addEntry(QWidget* page, const char* name, const QString& caption, const QColor& colour,
                     int& y, void (TPanta_Inicio_::*handler)());
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
    // Shows the main-screen picture file (or none) on the three pages.
    void showMainPicture();
    // The preferences step of the activation.
    void Lee_Preferencias();

    Program& program_;
    std::vector<Entry> entries_;
    QLabel* hover_ = nullptr;
};

// The program: created once by main (or by a test), it holds the program folder, the shared run
// state, the data module and every screen, created once in the program's fixed order, plus the Ui
// and the clock in use. Screens reach each other only through it.
#pragma once

#include "app/program_screen.h"
#include "app/run_state.h"

#include <QObject>
#include <QRect>
#include <QString>

#include <functional>
#include <map>
#include <memory>
#include <vector>

namespace platform {
class Clock;
}
class HelpWindow;
class PictureBox;
class QDialog;
class QWidget;
class TAcercaDe_;
class TImprimir_;
class TImportar_de_txt_;
class TImportar_de_txt_e_Imag_;
class TAlta_Fichas_;
class TAnade_n_Grupo;
class TConfigura_Progr_;
class TDescanso_;
class TFILTRO_ENV;
class TFreeNiv0a1_;
class TImag_Zoom_;
class TCrea_Fiche_;
class TD_Module_;
class TMensaje;
class TModif_glob_;
class TPanta_Inicio_;
class TParpadeo_Aviso_;
class TPassw_FE_;
class TRepasar_;
class TSelecc_Repaso_;
class TText_Zoom_;
class TVer_Info_;
class Ui;

class Program {
public:
    // The program as it runs: real dialogs, the system clock, the folder of the executable.
    Program();
    // A program over a given folder, Ui and clock (tests).
    Program(const QString& programFolder, Ui& ui, platform::Clock& clock);
    ~Program();
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    // Shows the maximised main screen and runs its first activation.
    void start();

    RunState& state() { return state_; }
    Ui& ui() { return *ui_; }
    platform::Clock& clock() { return *clock_; }

    TPanta_Inicio_& mainScreen() { return *panta_Inicio_; }
    TAlta_Fichas_& alta_Fichas() { return *alta_Fichas_; }
    TD_Module_& data() { return *d_Module_; }
    TFILTRO_ENV& filtro_Env() { return *filtro_Env_; }
    TModif_glob_& modif_glob() { return *modif_glob_; }
    TCrea_Fiche_& crea_Fiche() { return *crea_Fiche_; }
    TSelecc_Repaso_& selecc_Repaso() { return *selecc_Repaso_; }
    TRepasar_& repasar() { return *repasar_; }
    TVer_Info_& ver_Info() { return *ver_Info_; }
    TImprimir_& imprimir() { return *imprimir_; }
    TAcercaDe_& acercaDe() { return *acercaDe_; }
    TConfigura_Progr_& configura_Progr() { return *configura_Progr_; }
    TDescanso_& descanso() { return *descanso_; }
    TFreeNiv0a1_& freeNiv0a1() { return *freeNiv0a1_; }
    TParpadeo_Aviso_& parpadeo_Aviso() { return *parpadeo_Aviso_; }
    TImportar_de_txt_& importar_de_txt() { return *importar_de_txt_; }
    TPassw_FE_& passw_FE() { return *passw_FE_; }
    TText_Zoom_& text_Zoom() { return *text_Zoom_; }
    TImag_Zoom_& imag_Zoom() { return *imag_Zoom_; }
    TImportar_de_txt_e_Imag_& importar_de_txt_e_Imag() { return *importar_de_txt_e_Imag_; }
    TAnade_n_Grupo& anade_n_Grupo() { return *anade_n_Grupo_; }
    TMensaje& mensaje() { return *mensaje_; }

    // The modal stack. Runs `screen` modally above the screen that has the focus: the screen's
    // activation runs when it opens, and when it closes the screen below regains the focus and
    // runs its activation. Returns the screen's result.
    int runModal(QDialog& screen);
    // Runs the activation of the screen that has the focus again (a screen above it closed).
    void activateTop();
    // Runs the opening activation of `screen`, one that a pending skip-next-activation flag does
    // not skip (a screen shown outside the modal stack: the blink notice).
    void activateOpening(ProgramScreen& screen);
    // The first step of every activation handler: false (and the skip-next-activation flag
    // cleared) when this activation is to be skipped. The activation that runs when a screen
    // opens is never skipped and leaves the flag alone: the flag belongs to the blink notice,
    // which clears it when it hides.
    bool beginActivation();
    // The window of the screen that has the focus (the parent of dialogs and boxes).
    QWidget* topWindow() const;
    // Number of screens on the modal stack, the main screen included.
    int stackDepth() const { return static_cast<int>(stack_.size()); }

    // The general error handler: runs `handler` and shows the text of any exception it throws in
    // the platform error box. Every handler of every screen runs inside it; nothing throws
    // through the event loop.
    void guard(const std::function<void()>& handler);

    // Connects `signal` of `sender` to `handler`, run inside the guard.
    template <typename Sender, typename Signal, typename Handler>
    void connectGuarded(Sender* sender, Signal signal, QObject* context, Handler handler) {
        QObject::connect(sender, signal, context, [this, handler] { guard(handler); });
    }

    // Shows `text` in the message dialog, modally; returns when the dialog closes.
    void Ver_Mensaje(const QString& text);

    // The program's pictures by their number (1..11, as Prepara_Imagen knows them). Each screen
    // registers its picture boxes once, when it is created; one box may serve several numbers.
    // `fitArea` gives the box a picture is fitted into; without it, the fixed box of the number.
    struct PictureSlot {
        PictureBox* box = nullptr;
        std::function<QRect()> fitArea;
    };
    void registerPicture(int number, PictureBox* box, std::function<QRect()> fitArea = {});
    // The slot of a number, or null when no screen of the program has that picture.
    const PictureSlot* pictureSlot(int number) const;
    // The lowest number `box` is registered under, or 0.
    int pictureNumberOf(const PictureBox* box) const;

    // Context help: the first request creates the help window, later ones reuse it.
    void showHelp(int context);
    // The help window at its start page.
    void showHelpStart();
    // The help window, or null when no help was asked for in this run (or it was shut down).
    HelpWindow* helpWindow() const { return help_.get(); }
    // Closes the help window (when the main screen closes).
    void shutdownHelp();

private:
    void create(const QString& programFolder);
    void activate(ProgramScreen& screen, bool opening);
    HelpWindow& help();

    RunState state_;
    std::unique_ptr<Ui> ownedUi_;
    Ui* ui_;
    platform::Clock* clock_;

    // The screens, in their creation order.
    std::unique_ptr<TPanta_Inicio_> panta_Inicio_;
    std::unique_ptr<TAlta_Fichas_> alta_Fichas_;
    std::unique_ptr<TD_Module_> d_Module_;
    std::unique_ptr<TFILTRO_ENV> filtro_Env_;
    std::unique_ptr<TModif_glob_> modif_glob_;
    std::unique_ptr<TCrea_Fiche_> crea_Fiche_;
    std::unique_ptr<TSelecc_Repaso_> selecc_Repaso_;
    std::unique_ptr<TRepasar_> repasar_;
    std::unique_ptr<TVer_Info_> ver_Info_;
    std::unique_ptr<TImprimir_> imprimir_;
    std::unique_ptr<TAcercaDe_> acercaDe_;
    std::unique_ptr<TConfigura_Progr_> configura_Progr_;
    std::unique_ptr<TDescanso_> descanso_;
    std::unique_ptr<TFreeNiv0a1_> freeNiv0a1_;
    std::unique_ptr<TParpadeo_Aviso_> parpadeo_Aviso_;
    std::unique_ptr<TImportar_de_txt_> importar_de_txt_;
    std::unique_ptr<TPassw_FE_> passw_FE_;
    std::unique_ptr<TText_Zoom_> text_Zoom_;
    std::unique_ptr<TImag_Zoom_> imag_Zoom_;
    std::unique_ptr<TImportar_de_txt_e_Imag_> importar_de_txt_e_Imag_;
    std::unique_ptr<TAnade_n_Grupo> anade_n_Grupo_;
    std::unique_ptr<TMensaje> mensaje_;

    std::unique_ptr<HelpWindow> help_;
    std::map<int, PictureSlot> pictures_;

    // The modal stack: the main screen at the bottom, the screen with the focus on top.
    struct StackEntry {
        ProgramScreen* screen;
        QWidget* window;
    };
    std::vector<StackEntry> stack_;
    // Set while the activation that runs when a screen opens is about to begin; taken by its
    // beginActivation.
    bool openingActivation_ = false;
};

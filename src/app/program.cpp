#include "app/program.h"

#include "app/branding.h"
#include "app/ui.h"
#include "app/ui/acerca_de.h"
#include "app/ui/mensaje.h"
#include "app/ui/panta_inicio.h"
#include "app/ui/passw_fe.h"
#include "editing/ui/alta_fichas.h"
#include "editing/ui/anade_n_grupo.h"
#include "editing/ui/filtro_env.h"
#include "editing/ui/modif_glob.h"
#include "exchange/ui/importar_de_txt.h"
#include "exchange/ui/importar_de_txt_e_imag.h"
#include "platform/clock.h"
#include "platform/error.h"
#include "platform/ui/help_window.h"
#include "printing/ui/imprimir.h"
#include "review/ui/descanso.h"
#include "review/ui/free_niv0a1.h"
#include "review/ui/parpadeo_aviso.h"
#include "review/ui/repasar.h"
#include "review/ui/selecc_repaso.h"
#include "settings/ui/configura_progr.h"
#include "studyfile/ui/crea_fiche.h"
#include "studyfile/ui/data_module.h"
#include "studyfile/ui/ver_info.h"
#include "viewers/ui/imag_zoom.h"
#include "viewers/ui/text_zoom.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QIcon>

#include <exception>
#include <utility>

Program::Program() : ownedUi_(std::make_unique<ProductionUi>()), ui_(ownedUi_.get()) {
    clock_ = &platform::Clock::system();
    create(QCoreApplication::applicationDirPath());
}

Program::Program(const QString& programFolder, Ui& ui, platform::Clock& clock)
    : ui_(&ui), clock_(&clock) {
    create(programFolder);
}

Program::~Program() {
    help_.reset();
    // Screens go in the reverse of their creation order; the main screen is the last.
    mensaje_.reset();
    anade_n_Grupo_.reset();
    importar_de_txt_e_Imag_.reset();
    imag_Zoom_.reset();
    text_Zoom_.reset();
    passw_FE_.reset();
    importar_de_txt_.reset();
    parpadeo_Aviso_.reset();
    freeNiv0a1_.reset();
    descanso_.reset();
    configura_Progr_.reset();
    acercaDe_.reset();
    imprimir_.reset();
    ver_Info_.reset();
    repasar_.reset();
    selecc_Repaso_.reset();
    crea_Fiche_.reset();
    modif_glob_.reset();
    filtro_Env_.reset();
    d_Module_.reset();
    alta_Fichas_.reset();
    panta_Inicio_.reset();
}

void Program::create(const QString& programFolder) {
    // The task-bar title of the program.
    QCoreApplication::setApplicationName(QStringLiteral("OB2"));
    QApplication::setWindowIcon(QIcon(programIcon()));
    state_.programFolder = QDir::cleanPath(programFolder);

    // Every screen is created once, in this order, and kept for the whole run: the main screen,
    // TAlta_Fichas_, the data module, TFILTRO_ENV, TModif_glob_, TCrea_Fiche_, TSelecc_Repaso_,
    // TRepasar_, TVer_Info_, TImprimir_, TAcercaDe_, TConfigura_Progr_, TDescanso_,
    // TFreeNiv0a1_, TParpadeo_Aviso_, TImportar_de_txt_, TPassw_FE_, TExportar_FE_,
    // TFE_Transporte_, TText_Zoom_, TImag_Zoom_, TImportar_de_FE_, TImportar_de_txt_e_Imag_,
    // TAnade_n_Grupo, TMensaje. Screens that are not part of the program yet take their place
    // in this order when they are.
    panta_Inicio_ = std::make_unique<TPanta_Inicio_>(*this);
    panta_Inicio_->FormCreate();
    alta_Fichas_ = std::make_unique<TAlta_Fichas_>(*this);
    d_Module_ = std::make_unique<TD_Module_>(state_);
    d_Module_->showMessage = [this](const QString& text) { Ver_Mensaje(text); };
    d_Module_->askPassword = [this] { return passw_FE_->ask(); };
    filtro_Env_ = std::make_unique<TFILTRO_ENV>(*this);
    modif_glob_ = std::make_unique<TModif_glob_>(*this);
    crea_Fiche_ = std::make_unique<TCrea_Fiche_>(*this);
    selecc_Repaso_ = std::make_unique<TSelecc_Repaso_>(*this);
    repasar_ = std::make_unique<TRepasar_>(*this);
    ver_Info_ = std::make_unique<TVer_Info_>(*this);
    imprimir_ = std::make_unique<TImprimir_>(*this);
    acercaDe_ = std::make_unique<TAcercaDe_>(*this);
    configura_Progr_ = std::make_unique<TConfigura_Progr_>(*this);
    descanso_ = std::make_unique<TDescanso_>(*this);
    freeNiv0a1_ = std::make_unique<TFreeNiv0a1_>(*this);
    parpadeo_Aviso_ = std::make_unique<TParpadeo_Aviso_>(*this);
    importar_de_txt_ = std::make_unique<TImportar_de_txt_>(*this);
    passw_FE_ = std::make_unique<TPassw_FE_>(*this);
    text_Zoom_ = std::make_unique<TText_Zoom_>(*this);
    imag_Zoom_ = std::make_unique<TImag_Zoom_>(*this);
    importar_de_txt_e_Imag_ = std::make_unique<TImportar_de_txt_e_Imag_>(*this);
    anade_n_Grupo_ = std::make_unique<TAnade_n_Grupo>(*this);
    mensaje_ = std::make_unique<TMensaje>(*this);

    stack_.push_back({panta_Inicio_.get(), panta_Inicio_.get()});
}

void Program::start() {
    panta_Inicio_->showMaximized();
    activate(*panta_Inicio_, true);
}

int Program::runModal(QDialog& screen) {
    auto* programScreen = dynamic_cast<ProgramScreen*>(&screen);
    QWidget* below = topWindow();
    stack_.push_back({programScreen, &screen});
    int result = QDialog::Rejected;
    try {
        // What the screen shows when it opens is set up before it is on view, so that it never
        // appears with what it showed the last time (the message dialog's text, size and place).
        if (programScreen != nullptr)
            guard([programScreen] { programScreen->FormShow(); });
        result = ui_->runModal(screen, below, [this, programScreen] {
            if (programScreen != nullptr)
                activate(*programScreen, true);
        });
    } catch (...) {
        stack_.pop_back();
        throw;
    }
    stack_.pop_back();
    // The screen below regains the focus.
    activateTop();
    return result;
}

void Program::activateTop() {
    if (!stack_.empty() && stack_.back().screen != nullptr)
        activate(*stack_.back().screen, false);
}

void Program::activateOpening(ProgramScreen& screen) {
    activate(screen, true);
}

bool Program::beginActivation() {
    if (std::exchange(openingActivation_, false))
        return true;
    return !state_.takeSkipNextActivation();
}

QWidget* Program::topWindow() const {
    return stack_.empty() ? nullptr : stack_.back().window;
}

void Program::activate(ProgramScreen& screen, bool opening) {
    // Taken by the handler's first step, before anything it does can open another screen.
    openingActivation_ = opening;
    guard([&screen] { screen.FormActivate(); });
    openingActivation_ = false;
}

void Program::guard(const std::function<void()>& handler) {
    try {
        handler();
    } catch (const platform::Error& e) {
        ui_->errorBox(topWindow(), e.text());
    } catch (const std::exception& e) {
        ui_->errorBox(topWindow(), QString::fromUtf8(e.what()));
    } catch (...) {
        ui_->errorBox(topWindow(), QStringLiteral("Error desconocido."));
    }
}

void Program::Ver_Mensaje(const QString& text) {
    state_.messageText = text;
    runModal(*mensaje_);
}

void Program::registerPicture(int number, PictureBox* box, std::function<QRect()> fitArea) {
    pictures_[number] = {box, std::move(fitArea)};
}

const Program::PictureSlot* Program::pictureSlot(int number) const {
    const auto found = pictures_.find(number);
    return found == pictures_.end() ? nullptr : &found->second;
}

int Program::pictureNumberOf(const PictureBox* box) const {
    for (const auto& [number, slot] : pictures_) {
        if (slot.box == box)
            return number;
    }
    return 0;
}

HelpWindow& Program::help() {
    if (!help_)
        help_ = std::make_unique<HelpWindow>();
    return *help_;
}

void Program::showHelp(int context) {
    help().showContext(context);
}

void Program::showHelpStart() {
    help().showStart();
}

void Program::shutdownHelp() {
    if (help_) {
        help_->close();
        help_.reset();
    }
}

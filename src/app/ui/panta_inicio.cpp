#include "app/ui/panta_inicio.h"

#include "app/branding.h"
#include "app/prepara_imagen.h"
#include "app/program.h"
#include "app/screen_kit.h"
#include "app/ui.h"
#include "app/ui/acerca_de.h"
#include "editing/ui/alta_fichas.h"
#include "editing/ui/anade_n_grupo.h"
#include "editing/ui/filtro_env.h"
#include "editing/ui/modif_glob.h"
#include "exchange/ui/importar_de_txt.h"
#include "exchange/ui/importar_de_txt_e_imag.h"
#include "platform/clock.h"
#include "platform/files.h"
#include "platform/picture/picture.h"
#include "platform/rtf/rtf.h"
#include "platform/ui/picture_box.h"
#include "platform/volume.h"
#include "printing/ui/imprimir.h"
#include "review/breaks.h"
#include "review/ui/descanso.h"
#include "review/ui/free_niv0a1.h"
#include "review/ui/parpadeo_aviso.h"
#include "review/ui/repasar.h"
#include "review/ui/selecc_repaso.h"
#include "settings/ui/configura_progr.h"
#include "studyfile/ui/crea_fiche.h"
#include "studyfile/ui/data_module.h"
#include "studyfile/ui/ver_info.h"
#include "viewers/picture_fit.h"

#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QTabWidget>
#include <QTextEdit>

#include <utility>

namespace {

const QColor navy(0, 0, 128);
const QColor blue(0, 0, 255);
const QColor purple(128, 0, 128);
const QColor maroon(128, 0, 0);
const QColor pageGround(200, 208, 216);

const QString noFileOpen = QStringLiteral("No hay ningún Fichero de Estudio abierto.");

// Layout of the menu pages: the design area, the entry column and the picture.
constexpr int designWidth = 1024;
constexpr int designHeight = 768;
constexpr int entryLeft = 18;
constexpr int entryWidth = 326;
constexpr int entryGap = 22;

void setTextColour(QLabel* label, const QColor& colour) {
    QPalette pal = label->palette();
    pal.setColor(QPalette::WindowText, colour);
    label->setPalette(pal);
}

} // namespace

using namespace kit;

const std::vector<TPanta_Inicio_::Entry>& TPanta_Inicio_::entryTable() {
    using T = TPanta_Inicio_;
    static const std::vector<Entry> table = {
        {&T::Label5, "Label5", '1', "1- Abrir  Fichero", navy, 1, &T::Label5Click},
        {&T::Label6, "Label6", '2', "2- Repasar Fichas", navy, 1, &T::Label6Click},
        {&T::Label32, "Label32", '3', "3- Repaso por tiempo", navy, 1, &T::Label32Click},
        {&T::Label7, "Label7", '4', "4- Añadir Fichas", navy, 1, &T::Label7Click},
        {&T::Label8, "Label8", '5', "5- Añadir Fichas en Grupo", navy, 1, &T::Label8Click},
        {&T::Label9, "Label9", '6', "6- Información del Fichero", navy, 1, &T::Label9Click},
        {&T::Label10, "Label10", '7', "7-  Seleccionar, Modificar   o Borrar Fichas ", navy, 1,
         &T::Label10Click},
        {&T::Label11, "Label11", '8', "8-  Crear Fichero ", navy, 1, &T::Label11Click},
        {&T::Label13, "Label13", '0', "0-  Ayuda", maroon, 1, &T::Label13Click},
        {&T::Label14, "Label14", 0, "Acerca de...", maroon, 1, &T::Label14Click},
        {&T::Label15, "Label15", 0, "Salir", maroon, 1, &T::SalirClick},
        {&T::Label16, "Label16", 'A', "A- Pasar Fichas del   Nivel 0 al 1", blue, 2,
         &T::Label16Click},
        {&T::Label17, "Label17", 'B', "B- Opciones del Programa", blue, 2, &T::Label17Click},
        {&T::Label18, "Label18", 'C', "C- Imprimir Fichas ", blue, 2, &T::Label18Click},
        {&T::Label19, "Label19", 'D', "D- Modificación Global ", blue, 2, &T::Label19Click},
        {&T::Label20, "Label20", 'Z', "Z- Ayuda", maroon, 2, &T::Label20Click},
        {&T::Label21, "Label21", 0, "Salir", maroon, 2, &T::SalirClick},
        {&T::Label22, "Label22", 'E', "E- Ficheros de Transporte", purple, 3, &T::Label22Click},
        {&T::Label4, "Label4", 'F', "F- Reparar Fichero", purple, 3, &T::Label4Click},
        {&T::Label12, "Label12", 'G', "G- Borrar Fichero ", purple, 3, &T::Label12Click},
        {&T::Label23, "Label23", 'H', "H- Exportar a un nuevo Fichero de Estudio", purple, 3,
         &T::Label23Click},
        {&T::Label24, "Label24", 'I', "I- Importar Fichas con texto", purple, 3, &T::Label24Click},
        {&T::Label25, "Label25", 'J', "J- Importar desde un Fichero de Estudio", purple, 3,
         &T::Label25Click},
        {&T::Label26, "Label26", 'K', "K- Importar Fichas con texto e imagenes", purple, 3,
         &T::Label26Click},
        {&T::Label27, "Label27", 'Y', "Y- Ayuda", maroon, 3, &T::Label27Click},
        {&T::Label28, "Label28", 0, "Salir", maroon, 3, &T::SalirClick},
    };
    return table;
}

TPanta_Inicio_::TPanta_Inicio_(Program& program) : program_(program) {
    setObjectName(QStringLiteral("TPanta_Inicio_"));
    setWindowTitle(QStringLiteral("  ") + productText().trimmed());

    QWidget* ground = panel(this, "Fondo", QRect());
    ground->setAutoFillBackground(true);
    QPalette groundPalette = ground->palette();
    groundPalette.setColor(QPalette::Window, QColor(96, 112, 128));
    ground->setPalette(groundPalette);
    setCentralWidget(ground);
    Panel1 = panel(ground, "Panel1", QRect(0, 0, designWidth, designHeight));

    PageControl1 = new QTabWidget(Panel1);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    PageControl1->setGeometry(0, 0, designWidth, designHeight);
    PageControl1->setFont(arialFont(15, bold));
    PageControl1->setFocusPolicy(Qt::NoFocus);
    const auto makePage = [this](const char* name, const QString& caption) {
        QWidget* page = panel(nullptr, name, QRect());
        page->setAutoFillBackground(true);
        QPalette pal = page->palette();
        pal.setColor(QPalette::Window, pageGround);
        page->setPalette(pal);
        page->setMouseTracking(true);
        page->installEventFilter(this);
        PageControl1->addTab(page, caption);
        return page;
    };
    TabSheet1 = makePage("TabSheet1", QStringLiteral(" Principal "));
    TabSheet2 = makePage("TabSheet2", QStringLiteral(" Utilidades "));
    TabSheet3 = makePage("TabSheet3", QStringLiteral("Herramientas "));
    QWidget* const pages[] = {TabSheet1, TabSheet2, TabSheet3};

    // The entries, one column a page; help, about and exit sit a gap below the others. Each
    // label is as high as its wrapped caption.
    int y = 0;
    int page = 0;
    QColor previous;
    for (const Entry& entry : entryTable()) {
        if (entry.page != page) {
            page = entry.page;
            y = 18;
        } else if (entry.colour == maroon && previous != maroon) {
            y += entryGap;
        }
        previous = entry.colour;
        QLabel* label = kit::label(pages[page - 1], entry.name, QString::fromUtf8(entry.caption),
                                   QRect(), Px{21, bold});
        label->setWordWrap(true);
        setTextColour(label, entry.colour);
        label->setMouseTracking(true);
        label->installEventFilter(this);
        const int height = label->heightForWidth(entryWidth);
        label->setGeometry(entryLeft, y, entryWidth, height);
        y += height + entryGap;
        this->*entry.member = label;
    }

    // The page pictures and the "Fichero Abierto" labels below them.
    Image1 = pictureBox(TabSheet1, "Image1", QRect(352, 15, 0, 0));
    Image2 = pictureBox(TabSheet2, "Image2", QRect(352, 15, 0, 0));
    Image3 = pictureBox(TabSheet3, "Image3", QRect(352, 15, 0, 0));
    for (PictureBox* box : {Image1, Image2, Image3}) {
        box->setMouseTracking(true);
        box->installEventFilter(this);
    }
    const QRect openFile(352, 470, 608, 30);
    Label1 = label(TabSheet1, "Label1", ficheroAbiertoText(QString()), openFile, Px{17, bold});
    Label2 = label(TabSheet2, "Label2", ficheroAbiertoText(QString()), openFile, Px{17, bold});
    Label3 = label(TabSheet3, "Label3", ficheroAbiertoText(QString()), openFile, Px{17, bold});
    program_.registerPicture(picture_number::mainPage1, Image1);
    program_.registerPicture(picture_number::mainPage2, Image2);
    program_.registerPicture(picture_number::mainPage3, Image3);

    // The break reminder runs from the start; the blink notice waits for the preferences.
    Timer_Descanso = new platform::Timer(this, 900000, true);
    Timer_Descanso->setObjectName(QStringLiteral("Timer_Descanso"));
    Timer_Parpadeo = new platform::Timer(this, 30000, false);
    Timer_Parpadeo->setObjectName(QStringLiteral("Timer_Parpadeo"));
    program_.connectGuarded(Timer_Descanso, &platform::Timer::timeout, this,
                            [this] { Timer_DescansoTimer(); });
    program_.connectGuarded(Timer_Parpadeo, &platform::Timer::timeout, this,
                            [this] { Timer_ParpadeoTimer(); });

    // The hidden rich-text buffers.
    for (auto [buffer, name] : {std::pair{&RichEdit1, "RichEdit1"},
                                {&RichEdit2, "RichEdit2"},
                                {&RichEdit3, "RichEdit3"},
                                {&RE_Resp_Text, "RE_Resp_Text"},
                                {&RE_Estilo_Fuente, "RE_Estilo_Fuente"}}) {
        *buffer = richEdit(this, name, QRect());
        (*buffer)->hide();
    }

    setFocusPolicy(Qt::StrongFocus);
}

TPanta_Inicio_::~TPanta_Inicio_() = default;

QString TPanta_Inicio_::ficheroAbiertoText(const QString& studyFileName) {
    if (studyFileName.isEmpty())
        return QStringLiteral("Fichero Abierto:  (ninguno)");
    return QStringLiteral("Fichero Abierto: ") + studyFileName;
}

void TPanta_Inicio_::FormCreate() {
    RunState& state = program_.state();
    const QString dat =
        QDir(state.programFolder).filePath(QStringLiteral("dat")) + QLatin1Char('/');
    // Remembered-password files are keyed by the device that holds the study files.
    state.volumeSerial = platform::volumeSerialText(dat);
    state.openDialogFolder = dat;
    state.currentTablePath = dat;

    setWindowState(Qt::WindowMaximized);
    state.breaks.breakAllowed = true;
    state.breaks.breakNumber = 1;
    state.preferencesReload = true;

    showMainPicture();
    centrePanel();

    for (QLabel* label : {Label1, Label2, Label3})
        setTextColour(label, Qt::black);
}

void TPanta_Inicio_::FormActivate() {
    RunState& state = program_.state();
    if (!program_.beginActivation())
        return;
    // The filter the timed review narrowed is put back. It is taken out of the state first:
    // setting it loads the first card, whose damaged content shows a message, and the activation
    // that follows that message must not set it again.
    if (!state.savedTimedReviewFilter.isEmpty()) {
        const QString saved = std::exchange(state.savedTimedReviewFilter, QString());
        program_.data().Tabla_Activa.setFilter(saved);
    }
    // The font style file, into the font-style buffer.
    program_.data().Lee_Estilo_Fuente();
    rtf::readDocument(rtf::writeDocument(program_.data().fontStyleBuffer),
                      *RE_Estilo_Fuente->document());
    // After a quick-selection review the selection in force comes back; the base filter when none
    // was kept (never an empty filter, which would show the parked level-0 cards everywhere).
    if (program_.selecc_Repaso().mode() == review::SelectionMode::Quick)
        program_.data().Tabla_Activa.setFilter(review::handBackFilter(state.selection));
    setWindowTitle(QStringLiteral("  ") + productText().trimmed());
    Lee_Preferencias();
    const QDate today = program_.clock().today();
    state.todayKey = platform::dateKey(today);
    state.todayDisplay =
        platform::dateDisplay(today, state.prefs.dayFirstDates, platform::systemDateSeparator());
}

void TPanta_Inicio_::Lee_Preferencias() {
    RunState& state = program_.state();
    const QString path = files::findNoCase(state.programFolder, settings::kPreferencesFileName);
    const bool exists = !path.isEmpty();
    std::optional<QStringList> lines;
    if (exists) {
        QFile file(path);
        if (file.open(QIODevice::ReadOnly))
            lines = rtf::readLines(file.readAll());
    }

    settings::PreferencesState prefs{state.prefs, preferencesText(), state.preferencesReload};
    const settings::LoadSteps steps = settings::loadPreferences(exists, lines, prefs);
    if (steps.deleteFile)
        files::removeNoCase(path);
    state.prefs = prefs.values;
    setPreferencesText(prefs.text);
    state.preferencesReload = prefs.reloadFlag;

    if (steps.parsedLines12)
        applyTimerPreferences(prefs.values);
    // Same-day reviews and, on the first run, the choices the options screen shows.
    program_.selecc_Repaso().showPreferences(prefs.values);
    program_.configura_Progr().showPreferences(prefs.values, steps.firstRun);

    if (steps.firstRun) {
        Timer_Parpadeo->setInterval(settings::blinkTimerIntervalMs(prefs.values));
        Timer_Parpadeo->setEnabled(true);
        Timer_Descanso->setEnabled(true);
        settings::writePreferencesFile(state.programFolder, prefs.text);
        state.preferencesReload = true;
        // When the message closes, the main screen's activation parses the new file.
        program_.Ver_Mensaje(settings::kFirstRunMessage);
    }
}

void TPanta_Inicio_::applyTimerPreferences(const settings::Preferences& prefs) {
    Timer_Descanso->setInterval(settings::breakTimerIntervalMs(prefs));
    Timer_Parpadeo->setInterval(settings::blinkTimerIntervalMs(prefs));
    Timer_Parpadeo->setEnabled(prefs.blinkEnabled);
}

settings::Preferences TPanta_Inicio_::preferencesInForce() const {
    settings::Preferences prefs = program_.state().prefs;
    prefs.blinkPeriod = Timer_Parpadeo->interval() / 60000;
    prefs.blinkEnabled = Timer_Parpadeo->enabled();
    return prefs;
}

void TPanta_Inicio_::setBlinkNoticeEnabled(bool enabled) {
    Timer_Parpadeo->setEnabled(enabled);
}

void TPanta_Inicio_::breakNow() {
    Timer_Descanso->setInterval(review::kBreakNowIntervalMs);
    Timer_Descanso->setEnabled(true);
}

void TPanta_Inicio_::restartBreakCountdown() {
    Timer_Descanso->setEnabled(false);
    Timer_Descanso->setEnabled(true);
}

QStringList TPanta_Inicio_::preferencesText() const {
    const QString text = RichEdit2->toPlainText();
    return text.isEmpty() ? QStringList() : text.split(QLatin1Char('\n'));
}

void TPanta_Inicio_::setPreferencesText(const QStringList& lines) {
    RichEdit2->setPlainText(lines.join(QLatin1Char('\n')));
}

void TPanta_Inicio_::showProgramPicture(const picture::Picture& picture) {
    Image1->setPicture(picture);
    Actualiza_Imagenes(InfoPicture::No);
}

void TPanta_Inicio_::clearProgramPicture() {
    for (PictureBox* box : {Image1, Image2, Image3})
        box->clear();
}

void TPanta_Inicio_::Timer_DescansoTimer() {
    RunState& state = program_.state();
    // No break screen opens in the middle of long work; the next tick tries again.
    if (state.longOperation)
        return;
    const review::BreakSettings settings(state.prefs);
    review::BreakReminder reminder(state.breaks);
    if (!reminder.beginBreak(settings, program_.clock().now()))
        return;
    // The break screen ends the break when it closes.
    program_.runModal(program_.descanso());
    const std::optional<int> next = reminder.nextIntervalMs(settings);
    if (next)
        Timer_Descanso->setInterval(*next);
    else
        Timer_Descanso->setEnabled(false);
}

void TPanta_Inicio_::Timer_ParpadeoTimer() {
    if (program_.state().longOperation)
        return;
    program_.parpadeo_Aviso().Muestra();
    program_.state().skipNextActivation = true;
}

// --- keys, hover and clicks -------------------------------------------------------------------

void TPanta_Inicio_::FormKeyPress(int key, const QString& text) {
    if (key == Qt::Key_Escape) {
        SalirClick();
        return;
    }
    if (text.size() != 1)
        return;
    const QChar c = text.at(0).toUpper();
    for (const Entry& entry : entryTable()) {
        if (entry.key != 0 && c == QLatin1Char(entry.key)) {
            (this->*entry.handler)();
            return;
        }
    }
}

void TPanta_Inicio_::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    const QString text = event->text();
    program_.guard([this, key, text] { FormKeyPress(key, text); });
    event->accept();
}

const TPanta_Inicio_::Entry* TPanta_Inicio_::findEntry(const QObject* label) const {
    for (const Entry& entry : entryTable()) {
        if (this->*entry.member == label)
            return &entry;
    }
    return nullptr;
}

QColor TPanta_Inicio_::entryColour(const QLabel* label) const {
    const Entry* entry = findEntry(label);
    return entry != nullptr ? entry->colour : QColor();
}

QLabel* TPanta_Inicio_::hoverEntry() const {
    return hover_;
}

void TPanta_Inicio_::highlight(QLabel* label) {
    if (hover_ == label)
        return;
    unhighlight();
    hover_ = label;
    setTextColour(label, Qt::white);
    label->setCursor(Qt::PointingHandCursor);
}

void TPanta_Inicio_::unhighlight() {
    if (hover_ == nullptr)
        return;
    setTextColour(hover_, findEntry(hover_)->colour);
    hover_->unsetCursor();
    hover_ = nullptr;
}

void TPanta_Inicio_::setEntryColour(QLabel* label) {
    if (hover_ == label) {
        label->unsetCursor();
        hover_ = nullptr;
    }
    setTextColour(label, entryColour(label));
}

void TPanta_Inicio_::runEntry(const Entry& entry) {
    program_.guard([this, &entry] { (this->*entry.handler)(); });
}

bool TPanta_Inicio_::eventFilter(QObject* watched, QEvent* event) {
    const Entry* entry = findEntry(watched);
    if (entry != nullptr) {
        if (event->type() == QEvent::MouseMove) {
            // Consumed here: the page below would take it for a move over the background.
            highlight(this->*entry->member);
            return true;
        }
        if (event->type() == QEvent::MouseButtonRelease) {
            auto* mouse = static_cast<QMouseEvent*>(event);
            QLabel* label = this->*entry->member;
            if (mouse->button() == Qt::LeftButton && label->rect().contains(mouse->pos()))
                runEntry(*entry);
            return true;
        }
    } else if (event->type() == QEvent::MouseMove &&
               (watched == TabSheet1 || watched == TabSheet2 || watched == TabSheet3 ||
                watched == Image1 || watched == Image2 || watched == Image3)) {
        unhighlight();
    }
    return QMainWindow::eventFilter(watched, event);
}

void TPanta_Inicio_::closeEvent(QCloseEvent* event) {
    program_.shutdownHelp();
    event->accept();
}

void TPanta_Inicio_::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    centrePanel();
}

// The menu panel keeps the middle of the main window (of its client area), whatever the window's
// size: the window is where the learner sees it, maximised or not, and the panel never moves past
// the window's top-left corner.
void TPanta_Inicio_::centrePanel() {
    const QWidget* area = centralWidget();
    Panel1->move(qMax(0, (area->width() - Panel1->width()) / 2),
                 qMax(0, (area->height() - Panel1->height()) / 2));
}

// --- entries ----------------------------------------------------------------------------------

bool TPanta_Inicio_::guardOpenFile() {
    if (program_.state().fileOpen)
        return true;
    program_.Ver_Mensaje(noFileOpen);
    return false;
}

// The entries. Those whose screens are not part of the program yet check for an open study file
// when they need one and do nothing more.
void TPanta_Inicio_::Label6Click() {
    if (guardOpenFile())
        program_.runModal(program_.selecc_Repaso());
}

void TPanta_Inicio_::Label32Click() {
    if (!guardOpenFile())
        return;
    RunState& state = program_.state();
    table::Table& cards = program_.data().Tabla_Activa;
    const review::TimedReviewFilters filters =
        review::timedReviewFilters(cards.filter(), state.todayKey);
    cards.setFilter(filters.saved);
    state.savedTimedReviewFilter = filters.saved;
    cards.setFilter(filters.session);
    // A damaged first card shows its message while the filter is being set, and the main
    // screen's activation after that message puts the saved filter back: the review runs only
    // over the cards of its own filter.
    if (cards.filter() != filters.session)
        return;
    if (cards.isEmpty()) {
        program_.Ver_Mensaje(review::kNoCardsMessage);
        return;
    }
    program_.repasar().Inicia_Sesion();
}
void TPanta_Inicio_::Label7Click() {
    if (!guardOpenFile())
        return;
    program_.state().addMode = true;
    program_.runModal(program_.alta_Fichas());
}
void TPanta_Inicio_::Label8Click() {
    if (guardOpenFile())
        program_.runModal(program_.anade_n_Grupo());
}
void TPanta_Inicio_::Label9Click() {
    if (guardOpenFile())
        program_.runModal(program_.ver_Info());
}
void TPanta_Inicio_::Label10Click() {
    if (!guardOpenFile())
        return;
    // Full use: modifying and deleting enabled.
    program_.state().selectorMode = false;
    program_.runModal(program_.filtro_Env());
}
void TPanta_Inicio_::Label11Click() {
    Cierra_Fichero();
    program_.runModal(program_.crea_Fiche());
    setEntryColour(Label11);
}
void TPanta_Inicio_::Label16Click() {
    if (guardOpenFile())
        program_.runModal(program_.freeNiv0a1());
}
void TPanta_Inicio_::Label17Click() {
    program_.runModal(program_.configura_Progr());
}
void TPanta_Inicio_::Label19Click() {
    if (guardOpenFile())
        program_.runModal(program_.modif_glob());
}
void TPanta_Inicio_::Label22Click() {}
void TPanta_Inicio_::Label4Click() {}
void TPanta_Inicio_::Label23Click() {
    guardOpenFile();
}
void TPanta_Inicio_::Label24Click() {
    if (!guardOpenFile())
        return;
    program_.runModal(program_.importar_de_txt());
}
void TPanta_Inicio_::Label25Click() {}
void TPanta_Inicio_::Label26Click() {
    if (!guardOpenFile())
        return;
    program_.runModal(program_.importar_de_txt_e_Imag());
}

void TPanta_Inicio_::Label18Click() {
    // The print table is rebuilt before the guard, whether a study file is open or not.
    RunState& state = program_.state();
    state.printTableRequest = true;
    struct Reset {
        bool& flag;
        ~Reset() { flag = false; }
    } reset{state.printTableRequest};
    Crea_Tabla_Impresion();
    if (!guardOpenFile())
        return;
    program_.runModal(program_.imprimir());
}

void TPanta_Inicio_::Label13Click() {
    program_.showHelp(1);
}
void TPanta_Inicio_::Label20Click() {
    program_.showHelp(2);
}
void TPanta_Inicio_::Label27Click() {
    program_.showHelp(3);
}

void TPanta_Inicio_::Label14Click() {
    program_.runModal(program_.acercaDe());
}

void TPanta_Inicio_::SalirClick() {
    close();
}

void TPanta_Inicio_::setFicheroAbierto(const QString& text) {
    for (QLabel* label : {Label1, Label2, Label3})
        label->setText(text);
}

void TPanta_Inicio_::Actualiza_Imagenes(InfoPicture info) {
    Image2->setPicture(Image1->picture());
    Image3->setPicture(Image1->picture());
    Prepara_Imagen(program_, 1);
    Prepara_Imagen(program_, 2);
    Prepara_Imagen(program_, 3);
    if (info == InfoPicture::Yes) {
        // The information screen shows the study file's own picture, and none when it has none.
        TVer_Info_& information = program_.ver_Info();
        if (studyFilePicture().isEmpty()) {
            information.hideStudyFilePicture();
        } else {
            information.showStudyFilePicture(Image1->picture());
            Prepara_Imagen(program_, picture_number::information);
        }
    }
}

const QTextDocument& TPanta_Inicio_::descriptionDocument() const {
    return *RichEdit1->document();
}

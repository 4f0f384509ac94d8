#include "app/ui/panta_inicio.h"

#include "app/prepara_imagen.h"
#include "app/program.h"
#include "app/screen_helpers.h"
#include "app/ui.h"
#include "app/ui/acerca_de.h"
#include "platform/clock.h"
#include "platform/files.h"
#include "platform/picture/picture.h"
#include "platform/rtf/rtf.h"
#include "platform/ui/picture_box.h"
#include "platform/volume.h"
#include "review/breaks.h"
#include "review/ui/descanso.h"
#include "review/ui/parpadeo_aviso.h"
#include "review/ui/repasar.h"
#include "review/ui/selecc_repaso.h"
#include "settings/ui/configura_progr.h"
#include "studyfile/ui/crea_fiche.h"
#include "studyfile/ui/data_module.h"

#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QTabWidget>
#include <QTextEdit>

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

TPanta_Inicio_::TPanta_Inicio_(Program& program) : program_(program) {
    setObjectName(QStringLiteral("TPanta_Inicio_"));
    setWindowTitle(QStringLiteral("  ") + productText().trimmed());

    auto* ground = new QWidget(this);
    ground->setObjectName(QStringLiteral("Fondo"));
    ground->setAutoFillBackground(true);
    QPalette groundPalette = ground->palette();
    groundPalette.setColor(QPalette::Window, QColor(96, 112, 128));
    ground->setPalette(groundPalette);
    setCentralWidget(ground);

    Panel1 = new QWidget(ground);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setGeometry(0, 0, designWidth, designHeight);

    PageControl1 = new QTabWidget(Panel1);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    PageControl1->setGeometry(0, 0, designWidth, designHeight);
    PageControl1->setFont(arialFont(15, true));
    PageControl1->setFocusPolicy(Qt::NoFocus);

    const auto makePage = [this](const char* name, const QString& caption) {
        auto* page = new QWidget;
        page->setObjectName(QString::fromLatin1(name));
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

    int y = 18;
    Label5 = addEntry(TabSheet1, "Label5", QStringLiteral("1- Abrir  Fichero"), navy, y,
                      &TPanta_Inicio_::Label5Click);
    Label6 = addEntry(TabSheet1, "Label6", QStringLiteral("2- Repasar Fichas"), navy, y,
                      &TPanta_Inicio_::Label6Click);
    Label32 = addEntry(TabSheet1, "Label32", QStringLiteral("3- Repaso por tiempo"), navy, y,
                       &TPanta_Inicio_::Label32Click);
    Label7 = addEntry(TabSheet1, "Label7", QStringLiteral("4- Añadir Fichas"), navy, y,
                      &TPanta_Inicio_::Label7Click);
    Label8 = addEntry(TabSheet1, "Label8", QStringLiteral("5- Añadir Fichas en Grupo"), navy, y,
                      &TPanta_Inicio_::Label8Click);
    Label9 = addEntry(TabSheet1, "Label9", QStringLiteral("6- Información del Fichero"), navy, y,
                      &TPanta_Inicio_::Label9Click);
    Label10 = addEntry(TabSheet1, "Label10",
                       QStringLiteral("7-  Seleccionar, Modificar   o Borrar Fichas "), navy, y,
                       &TPanta_Inicio_::Label10Click);
    Label11 = addEntry(TabSheet1, "Label11", QStringLiteral("8-  Crear Fichero "), navy, y,
                       &TPanta_Inicio_::Label11Click);
    y += entryGap;
    Label13 = addEntry(TabSheet1, "Label13", QStringLiteral("0-  Ayuda"), maroon, y,
                       &TPanta_Inicio_::Label13Click);
    Label14 = addEntry(TabSheet1, "Label14", QStringLiteral("Acerca de..."), maroon, y,
                       &TPanta_Inicio_::Label14Click);
    Label15 = addEntry(TabSheet1, "Label15", QStringLiteral("Salir"), maroon, y,
                       &TPanta_Inicio_::SalirClick);

    y = 18;
    Label16 = addEntry(TabSheet2, "Label16", QStringLiteral("A- Pasar Fichas del   Nivel 0 al 1"),
                       blue, y, &TPanta_Inicio_::Label16Click);
    Label17 = addEntry(TabSheet2, "Label17", QStringLiteral("B- Opciones del Programa"), blue, y,
                       &TPanta_Inicio_::Label17Click);
    Label18 = addEntry(TabSheet2, "Label18", QStringLiteral("C- Imprimir Fichas "), blue, y,
                       &TPanta_Inicio_::Label18Click);
    Label19 = addEntry(TabSheet2, "Label19", QStringLiteral("D- Modificación Global "), blue, y,
                       &TPanta_Inicio_::Label19Click);
    y += entryGap;
    Label20 = addEntry(TabSheet2, "Label20", QStringLiteral("Z- Ayuda"), maroon, y,
                       &TPanta_Inicio_::Label20Click);
    Label21 = addEntry(TabSheet2, "Label21", QStringLiteral("Salir"), maroon, y,
                       &TPanta_Inicio_::SalirClick);

    y = 18;
    Label22 = addEntry(TabSheet3, "Label22", QStringLiteral("E- Ficheros de Transporte"), purple, y,
                       &TPanta_Inicio_::Label22Click);
    Label4 = addEntry(TabSheet3, "Label4", QStringLiteral("F- Reparar Fichero"), purple, y,
                      &TPanta_Inicio_::Label4Click);
    Label12 = addEntry(TabSheet3, "Label12", QStringLiteral("G- Borrar Fichero "), purple, y,
                       &TPanta_Inicio_::Label12Click);
    Label23 =
        addEntry(TabSheet3, "Label23", QStringLiteral("H- Exportar a un nuevo Fichero de Estudio"),
                 purple, y, &TPanta_Inicio_::Label23Click);
    Label24 = addEntry(TabSheet3, "Label24", QStringLiteral("I- Importar Fichas con texto"), purple,
                       y, &TPanta_Inicio_::Label24Click);
    Label25 =
        addEntry(TabSheet3, "Label25", QStringLiteral("J- Importar desde un Fichero de Estudio"),
                 purple, y, &TPanta_Inicio_::Label25Click);
    Label26 =
        addEntry(TabSheet3, "Label26", QStringLiteral("K- Importar Fichas con texto e imagenes"),
                 purple, y, &TPanta_Inicio_::Label26Click);
    y += entryGap;
    Label27 = addEntry(TabSheet3, "Label27", QStringLiteral("Y- Ayuda"), maroon, y,
                       &TPanta_Inicio_::Label27Click);
    Label28 = addEntry(TabSheet3, "Label28", QStringLiteral("Salir"), maroon, y,
                       &TPanta_Inicio_::SalirClick);

    // The page pictures and the "Fichero Abierto" labels below them.
    const auto makePicture = [this](QWidget* page, const char* name) {
        auto* box = new PictureBox(page);
        box->setObjectName(QString::fromLatin1(name));
        box->setStretch(true);
        box->setGeometry(352, 15, 0, 0);
        box->setMouseTracking(true);
        box->installEventFilter(this);
        return box;
    };
    Image1 = makePicture(TabSheet1, "Image1");
    Image2 = makePicture(TabSheet2, "Image2");
    Image3 = makePicture(TabSheet3, "Image3");

    const auto makeOpenLabel = [](QWidget* page, const char* name) {
        auto* label = new QLabel(ficheroAbiertoText(QString()), page);
        label->setObjectName(QString::fromLatin1(name));
        label->setTextFormat(Qt::PlainText);
        label->setFont(arialFont(17, true));
        label->setGeometry(352, 470, 608, 30);
        return label;
    };
    Label1 = makeOpenLabel(TabSheet1, "Label1");
    Label2 = makeOpenLabel(TabSheet2, "Label2");
    Label3 = makeOpenLabel(TabSheet3, "Label3");

    // The break reminder runs from the start; the blink notice waits for the preferences.
    Timer_Descanso = new Timer(this, 900000, true);
    Timer_Descanso->setObjectName(QStringLiteral("Timer_Descanso"));
    Timer_Parpadeo = new Timer(this, 30000, false);
    Timer_Parpadeo->setObjectName(QStringLiteral("Timer_Parpadeo"));
    program_.connectGuarded(Timer_Descanso, &Timer::timeout, this,
                            [this] { Timer_DescansoTimer(); });
    program_.connectGuarded(Timer_Parpadeo, &Timer::timeout, this,
                            [this] { Timer_ParpadeoTimer(); });

    const auto makeBuffer = [this](const char* name) {
        auto* edit = new QTextEdit(this);
        edit->setObjectName(QString::fromLatin1(name));
        edit->setAcceptRichText(true);
        edit->hide();
        return edit;
    };
    RichEdit1 = makeBuffer("RichEdit1");
    RichEdit2 = makeBuffer("RichEdit2");
    RichEdit3 = makeBuffer("RichEdit3");
    RE_Resp_Text = makeBuffer("RE_Resp_Text");
    RE_Estilo_Fuente = makeBuffer("RE_Estilo_Fuente");

    setFocusPolicy(Qt::StrongFocus);
}

TPanta_Inicio_::~TPanta_Inicio_() = default;

QLabel* TPanta_Inicio_::addEntry(QWidget* page, const char* name, const QString& caption,
                                 const QColor& colour, int& y, void (TPanta_Inicio_::*handler)()) {
    auto* label = new QLabel(caption, page);
    label->setObjectName(QString::fromLatin1(name));
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    label->setFont(arialFont(21, true));
    setTextColour(label, colour);
    label->setMouseTracking(true);
    label->installEventFilter(this);
    const int height = label->heightForWidth(entryWidth);
    label->setGeometry(entryLeft, y, entryWidth, height);
    y += height + entryGap;
    entries_.push_back({label, colour, handler});
    return label;
}

QString TPanta_Inicio_::ficheroAbiertoText(const QString& studyFileName) {
    if (studyFileName.isEmpty())
        return QStringLiteral("Fichero Abierto:  (ninguno)");
    return QStringLiteral("Fichero Abierto: ") + studyFileName;
}

void TPanta_Inicio_::FormCreate() {
    RunState& state = program_.state();
    state.volumeSerial = volumeSerialText(QDir::currentPath());
    const QString dat =
        QDir(state.programFolder).filePath(QStringLiteral("dat")) + QLatin1Char('/');
    state.openDialogFolder = dat;
    state.currentTablePath = dat;

    setWindowState(Qt::WindowMaximized);
    state.breakAllowed = true;
    state.breakNumber = 1;
    state.preferencesReload = true;

    program_.guard([this] { showMainPicture(); });
    centrePanel();

    for (QLabel* label : {Label1, Label2, Label3})
        setTextColour(label, Qt::black);
}

void TPanta_Inicio_::FormActivate() {
    RunState& state = program_.state();
    if (state.takeSkipNextActivation())
        return;
    // The filter the timed review narrowed is put back.
    if (!state.savedTimedReviewFilter.isEmpty()) {
        program_.data().Tabla_Activa.setFilter(state.savedTimedReviewFilter);
        state.savedTimedReviewFilter.clear();
    }
    // The font style file, into the font-style buffer.
    program_.data().Lee_Estilo_Fuente();
    rtf::readDocument(rtf::writeDocument(program_.data().fontStyleBuffer),
                      *RE_Estilo_Fuente->document());
    // After a quick-selection review the selection in force comes back.
    if (program_.selecc_Repaso().mode() == review::SelectionMode::Quick)
        program_.data().Tabla_Activa.setFilter(state.savedSelectionFilter);
    setWindowTitle(QStringLiteral("  ") + productText().trimmed());
    Lee_Preferencias();
    const QDate today = program_.clock().today();
    state.todayKey = dateKey(today);
    state.todayDisplay = dateDisplay(today, state.dayFirstDates, systemDateSeparator());
}

void TPanta_Inicio_::Lee_Preferencias() {
    settings::Lee_Preferencias(program_);
}

void TPanta_Inicio_::Timer_DescansoTimer() {
    RunState& state = program_.state();
    const review::BreakSettings settings{state.breaksEnabled, state.periodicBreaks,
                                         state.breakSchedule};
    review::BreakReminder reminder(state.breakAllowed, state.breakNumber, state.breakStart,
                                   state.accumulatedBreakMs);
    if (!reminder.beginBreak(settings, program_.clock().now()))
        return;
    state.breakAllowed = reminder.breakAllowed();
    state.breakStart = reminder.breakStart();
    // The break screen ends the break when it closes.
    program_.runModal(program_.descanso());
    reminder = review::BreakReminder(state.breakAllowed, state.breakNumber, state.breakStart,
                                     state.accumulatedBreakMs);
    const std::optional<int> next = reminder.nextIntervalMs(settings);
    state.breakNumber = reminder.breakNumber();
    if (next)
        Timer_Descanso->setInterval(*next);
    else
        Timer_Descanso->setEnabled(false);
}

void TPanta_Inicio_::Timer_ParpadeoTimer() {
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
    static const struct {
        char key;
        void (TPanta_Inicio_::*handler)();
    } keys[] = {
        {'1', &TPanta_Inicio_::Label5Click},  {'2', &TPanta_Inicio_::Label6Click},
        {'3', &TPanta_Inicio_::Label32Click}, {'4', &TPanta_Inicio_::Label7Click},
        {'5', &TPanta_Inicio_::Label8Click},  {'6', &TPanta_Inicio_::Label9Click},
        {'7', &TPanta_Inicio_::Label10Click}, {'8', &TPanta_Inicio_::Label11Click},
        {'0', &TPanta_Inicio_::Label13Click}, {'A', &TPanta_Inicio_::Label16Click},
        {'B', &TPanta_Inicio_::Label17Click}, {'C', &TPanta_Inicio_::Label18Click},
        {'D', &TPanta_Inicio_::Label19Click}, {'Z', &TPanta_Inicio_::Label20Click},
        {'E', &TPanta_Inicio_::Label22Click}, {'F', &TPanta_Inicio_::Label4Click},
        {'G', &TPanta_Inicio_::Label12Click}, {'H', &TPanta_Inicio_::Label23Click},
        {'I', &TPanta_Inicio_::Label24Click}, {'J', &TPanta_Inicio_::Label25Click},
        {'K', &TPanta_Inicio_::Label26Click}, {'Y', &TPanta_Inicio_::Label27Click},
    };
    for (const auto& k : keys) {
        if (c == QLatin1Char(k.key)) {
            (this->*k.handler)();
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
    for (const Entry& entry : entries_) {
        if (entry.label == label)
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
            highlight(entry->label);
            return true;
        }
        if (event->type() == QEvent::MouseButtonRelease) {
            auto* mouse = static_cast<QMouseEvent*>(event);
            if (mouse->button() == Qt::LeftButton && entry->label->rect().contains(mouse->pos()))
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

// Entries whose screens are not part of the program yet: those that need a study file check for
// one, the others do nothing.
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
    if (cards.isEmpty()) {
        program_.Ver_Mensaje(review::kNoCardsMessage);
        return;
    }
    program_.repasar().Inicia_Sesion();
}
void TPanta_Inicio_::Label7Click() {
    guardOpenFile();
}
void TPanta_Inicio_::Label8Click() {
    guardOpenFile();
}
void TPanta_Inicio_::Label9Click() {
    guardOpenFile();
}
void TPanta_Inicio_::Label10Click() {
    guardOpenFile();
}
void TPanta_Inicio_::Label11Click() {
    Cierra_Fichero();
    program_.runModal(program_.crea_Fiche());
    setEntryColour(Label11);
}
void TPanta_Inicio_::Label16Click() {
    guardOpenFile();
}
void TPanta_Inicio_::Label17Click() {
    program_.runModal(program_.configura_Progr());
}
void TPanta_Inicio_::Label19Click() {
    guardOpenFile();
}
void TPanta_Inicio_::Label22Click() {}
void TPanta_Inicio_::Label4Click() {}
void TPanta_Inicio_::Label23Click() {
    guardOpenFile();
}
void TPanta_Inicio_::Label24Click() {
    guardOpenFile();
}
void TPanta_Inicio_::Label25Click() {}
void TPanta_Inicio_::Label26Click() {
    guardOpenFile();
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
    guardOpenFile();
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

void TPanta_Inicio_::Actualiza_Imagenes(const QString& mode) {
    Image2->setPicture(Image1->picture());
    Image3->setPicture(Image1->picture());
    Prepara_Imagen(program_, 1);
    Prepara_Imagen(program_, 2);
    Prepara_Imagen(program_, 3);
    if (mode == QLatin1String("Info FE: SI")) {
        // The information screen's picture is set here once that screen is part of the program.
    }
}

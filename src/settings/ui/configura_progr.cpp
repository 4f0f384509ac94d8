#include "settings/ui/configura_progr.h"

#include "app/program.h"
#include "app/screen_helpers.h"
#include "app/ui.h"
#include "app/ui/panta_inicio.h"
#include "platform/clock.h"
#include "platform/files.h"
#include "platform/picture/picture.h"
#include "platform/rtf/rtf.h"
#include "platform/ui/picture_box.h"
#include "review/ui/selecc_repaso.h"
#include "studyfile/ui/data_module.h"

#include <QCheckBox>
#include <QDir>
#include <QEvent>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QSaveFile>
#include <QTextEdit>

#include <stdexcept>

namespace {

constexpr int kPanelWidth = 860;
constexpr int kPanelHeight = 660;

const QStringList kMainPictureNames = {QStringLiteral("Image.BMP"), QStringLiteral("Image.JPG"),
                                       QStringLiteral("Image.JPEG")};

const QString kPictureFilter = QStringLiteral(
    "All (*.jpg;*.jpeg;*.bmp;*.ico;*.emf;*.wmf)|*.jpg;*.jpeg;*.bmp|JPEG Image File (*.jpg, "
    "*.jpeg)|*.jpg, *.jpeg|Bitmaps (*.bmp)|*.bmp|All Files (*.*)|*.*");

const char* const kIntervalCaptions[9] = {
    "1er Repaso: ", "2do Repaso: ", "3er Repaso: ", "4º Repaso: ", "5º Repaso: ",
    "6º Repaso: ",  "7º Repaso: ",  "8º Repaso: ",  "9º Repaso: "};

// The preferences text of the main screen's hidden buffer, one line a paragraph.
QStringList bufferLines(const QTextEdit* buffer) {
    const QString text = buffer->toPlainText();
    return text.isEmpty() ? QStringList() : text.split(QLatin1Char('\n'));
}

void setBufferLines(QTextEdit* buffer, const QStringList& lines) {
    buffer->setPlainText(lines.join(QLatin1Char('\n')));
}

void writeWhole(const QString& path, const QByteArray& bytes) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        throw std::runtime_error(
            QStringLiteral("No se pudo escribir el archivo %1.").arg(path).toStdString());
}

} // namespace

namespace settings {

Preferences preferencesOf(const RunState& s) {
    Preferences p;
    p.dayFirstDates = s.dayFirstDates;
    p.languageCode = s.languageCode;
    p.timedReviewEnabled = s.timedReviewEnabled;
    p.reviewIntervals = s.reviewIntervals;
    p.breakRemindersEnabled = s.breaksEnabled;
    p.periodicBreaks = s.periodicBreaks;
    p.breakSchedule = s.breakSchedule;
    p.blinkEnabled = s.blinkEnabled;
    p.blinkPeriod = s.blinkPeriod;
    p.promotionFlag = s.promotionFlag;
    p.promotionThreshold = s.promotionThreshold;
    p.promotionCount = s.promotionCount;
    p.sameDayReviewsAllowed = s.sameDayReviewsAllowed;
    return p;
}

void setPreferences(RunState& s, const Preferences& p) {
    s.dayFirstDates = p.dayFirstDates;
    s.languageCode = p.languageCode;
    s.timedReviewEnabled = p.timedReviewEnabled;
    s.reviewIntervals = p.reviewIntervals;
    s.breaksEnabled = p.breakRemindersEnabled;
    s.periodicBreaks = p.periodicBreaks;
    s.breakSchedule = p.breakSchedule;
    s.blinkEnabled = p.blinkEnabled;
    s.blinkPeriod = p.blinkPeriod;
    s.promotionFlag = p.promotionFlag;
    s.promotionThreshold = p.promotionThreshold;
    s.promotionCount = p.promotionCount;
    s.sameDayReviewsAllowed = p.sameDayReviewsAllowed;
}

void Lee_Preferencias(Program& program) {
    RunState& state = program.state();
    TPanta_Inicio_& main = program.mainScreen();
    const QString path = files::findNoCase(state.programFolder, kPreferencesFileName);
    const bool exists = !path.isEmpty();
    std::optional<QStringList> lines;
    if (exists) {
        QFile file(path);
        if (file.open(QIODevice::ReadOnly))
            lines = rtf::readLines(file.readAll());
    }

    PreferencesState prefs{preferencesOf(state), bufferLines(main.RichEdit2),
                           state.preferencesReload};
    const LoadSteps steps = loadPreferences(exists, lines, prefs);
    if (steps.deleteFile)
        files::removeNoCase(path);
    setPreferences(state, prefs.values);
    setBufferLines(main.RichEdit2, prefs.text);
    state.preferencesReload = prefs.reloadFlag;

    if (steps.parsedLines12) {
        main.Timer_Descanso->setInterval(breakTimerIntervalMs(prefs.values));
        main.Timer_Parpadeo->setInterval(blinkTimerIntervalMs(prefs.values));
        main.Timer_Parpadeo->setEnabled(prefs.values.blinkEnabled);
    }
    // Same-day reviews: the tick boxes that show it.
    program.selecc_Repaso().CheckBox9->setChecked(prefs.values.sameDayReviewsAllowed);
    program.configura_Progr().CheckBox6->setChecked(prefs.values.sameDayReviewsAllowed);

    if (steps.firstRun) {
        main.Timer_Parpadeo->setInterval(blinkTimerIntervalMs(prefs.values));
        main.Timer_Parpadeo->setEnabled(true);
        main.Timer_Descanso->setEnabled(true);
        program.configura_Progr().CheckBox2->setChecked(state.timedReviewEnabled);
        program.configura_Progr().CheckBox1->setChecked(state.breaksEnabled);
        writeWhole(QDir(state.programFolder).filePath(kPreferencesFileName),
                   rtf::writeLines(prefs.text));
        state.preferencesReload = true;
        // When the message closes, the main screen's activation parses the new file.
        program.Ver_Mensaje(kFirstRunMessage);
    }
}

} // namespace settings

TConfigura_Progr_::TConfigura_Progr_(Program& program) : program_(program) {
    setObjectName(QStringLiteral("TConfigura_Progr_"));
    setWindowTitle(QStringLiteral("  Configuración del Programa"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint | Qt::WindowMaximizeButtonHint);
    resize(kPanelWidth + 24, kPanelHeight + 24);

    Panel1 = new QWidget(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setGeometry(12, 12, kPanelWidth, kPanelHeight);

    const auto group = [this](const QString& title, const QRect& g) {
        auto* box = new QGroupBox(title, Panel1);
        box->setFont(arialFont(14, true));
        box->setGeometry(g);
        return box;
    };
    const auto label = [this](const QString& text, int x, int y, int w = 200) {
        auto* l = new QLabel(text, Panel1);
        l->setTextFormat(Qt::PlainText);
        l->setFont(arialFont(13, true));
        l->setGeometry(x, y, w, 24);
        return l;
    };
    const auto check = [this](const char* name, const QString& text, int x, int y, int w) {
        auto* c = new QCheckBox(text, Panel1);
        c->setObjectName(QString::fromLatin1(name));
        c->setFont(arialFont(13, true));
        c->setGeometry(x, y, w, 24);
        return c;
    };
    const auto radio = [this](QWidget* parent, const char* name, const QString& text, int x, int y,
                              int w) {
        auto* r = new QRadioButton(text, parent);
        r->setObjectName(QString::fromLatin1(name));
        r->setFont(arialFont(13, true));
        r->setGeometry(x, y, w, 24);
        return r;
    };
    const auto field = [this](int number, int x, int y) {
        auto* e = new QLineEdit(Panel1);
        e->setObjectName(QStringLiteral("MaskEdit%1").arg(number));
        const int width = settings::fieldWidth(number);
        e->setMaxLength(width);
        e->setValidator(new QRegularExpressionValidator(
            QRegularExpression(QStringLiteral("[0-9 ]{0,%1}").arg(width)), e));
        e->setFont(arialFont(14, true));
        e->setAlignment(Qt::AlignRight);
        e->setGeometry(x, y, 16 + 12 * width, 26);
        e->installEventFilter(this);
        MaskEdit[static_cast<std::size_t>(number)] = e;
        return e;
    };
    const auto button = [this](const char* name, const QString& caption, const QRect& g) {
        auto* b = new QPushButton(caption, Panel1);
        b->setObjectName(QString::fromLatin1(name));
        b->setFont(arialFont(14, true));
        b->setGeometry(g);
        b->setAutoDefault(false);
        return b;
    };

    // Timed review and its review intervals.
    group(QStringLiteral(" Frecuencia del Repaso por Tiempo: "), QRect(8, 4, 420, 396));
    CheckBox2 = check("CheckBox2", QStringLiteral("Utilizar el Repaso por Tiempo"), 24, 32, 380);
    for (int k = 1; k <= 9; ++k) {
        const int y = 66 + 35 * (k - 1);
        QLabel* before = label(QString::fromUtf8(kIntervalCaptions[k - 1]), 24, y, 110);
        field(k, 136, y - 1);
        QLabel* after = label(k == 1 ? QStringLiteral("días tras crear ficha.")
                                     : QStringLiteral("días después."),
                              200, y, 210);
        captions_[static_cast<std::size_t>(k)] = {before, after};
    }

    // Breaks and blink notice.
    group(QStringLiteral(" Descansos: "), QRect(444, 4, 408, 300));
    CheckBox1 = check("CheckBox1", QStringLiteral("Si avisar en los descansos."), 460, 32, 380);
    QLabel* firstBefore = label(QStringLiteral("Primer descanso a los "), 460, 64, 180);
    field(10, 640, 63);
    QLabel* firstAfter = label(QStringLiteral("minutos."), 700, 64, 120);
    captions_[10] = {firstBefore, firstAfter};
    RadioButton1 =
        radio(Panel1, "RadioButton1", QStringLiteral("Siguientes descansos cada "), 460, 98, 220);
    field(11, 680, 97);
    captions_[11] = {label(QStringLiteral("min."), 740, 98, 60)};
    RadioButton2 = radio(Panel1, "RadioButton2", QStringLiteral("Definir siguientes descansos:"),
                         460, 132, 300);
    for (int j = 2; j <= 6; ++j) {
        const int y = 162 + 27 * (j - 2);
        QLabel* before = label(QStringLiteral("%1º:").arg(j), 490, y, 40);
        field(10 + j, 530, y - 1);
        QLabel* after = label(QStringLiteral("minutos después."), 590, y, 200);
        captions_[static_cast<std::size_t>(10 + j)] = {before, after};
    }
    CheckBox5 = check("CheckBox5", QStringLiteral("Aviso de parpadeo cada "), 452, 318, 200);
    field(19, 654, 317);
    captions_[19] = {label(QStringLiteral("minutos."), 700, 318, 120)};

    RadioGroup1 = group(QStringLiteral(" Formato de Fecha: "), QRect(444, 354, 408, 84));
    RadioGroup1->setObjectName(QStringLiteral("RadioGroup1"));
    RadioGroup1Item0 = radio(RadioGroup1, "RadioGroup1Item0",
                             QStringLiteral("Mes - Día - Año  (mm-dd-aa)"), 16, 24, 370);
    RadioGroup1Item1 = radio(RadioGroup1, "RadioGroup1Item1",
                             QStringLiteral("Día - Mes - Año  (dd-mm-aa)"), 16, 52, 370);
    RadioGroup2 = group(QStringLiteral(" Idioma: "), QRect(444, 446, 408, 84));
    RadioGroup2->setObjectName(QStringLiteral("RadioGroup2"));
    RadioGroup2Item0 =
        radio(RadioGroup2, "RadioGroup2Item0", QStringLiteral("English / Inglés "), 16, 24, 370);
    RadioGroup2Item1 =
        radio(RadioGroup2, "RadioGroup2Item1", QStringLiteral("Spanish / Español"), 16, 52, 370);
    RadioGroup2->hide();

    CheckBox6 =
        check("CheckBox6", QStringLiteral("Permitir repasar fichas varias veces el mismo día."), 8,
              414, 430);
    CheckBox6->setChecked(true);
    QLabel* note =
        label(QStringLiteral("(se puede modificar cada vez que vaya a repasar)"), 32, 438, 400);
    note->setFont(arialFont(12, false));

    Label37 = new QLabel(QStringLiteral("abc - ABC - 123"), Panel1);
    Label37->setObjectName(QStringLiteral("Label37"));
    Label37->setTextFormat(Qt::PlainText);
    Label37->setGeometry(8, 480, 270, 48);
    Button10 = button("Button10", QStringLiteral("&Tipo de letra"), QRect(288, 488, 140, 32));

    Label18 = label(QStringLiteral("Imagen del Programa:"), 8, 550, 200);
    Button2 = button("Button2", QStringLiteral("Nue&va"), QRect(8, 578, 120, 34));
    Button1 = button("Button1", QStringLiteral("Eli&minar"), QRect(140, 578, 120, 34));

    // The promotion settings are stored and carried along, never shown.
    CheckBox3 = check("CheckBox3", QStringLiteral("Si hay menos de "), 8, 620, 140);
    field(17, 150, 620);
    field(18, 250, 620);
    for (QWidget* w : std::initializer_list<QWidget*>{CheckBox3, MaskEdit[17], MaskEdit[18]})
        w->hide();

    Button3 = button("Button3", QStringLiteral("A&ceptar"), QRect(444, 590, 130, 44));
    BitBtn2 = button("BitBtn2", QStringLiteral("&Salir"), QRect(584, 590, 130, 44));
    BitBtn1 = button("BitBtn1", QStringLiteral("&Ayuda"), QRect(724, 590, 128, 44));

    program_.connectGuarded(Button10, &QPushButton::clicked, this, [this] { Button10Click(); });
    program_.connectGuarded(Button2, &QPushButton::clicked, this, [this] { Button2Click(); });
    program_.connectGuarded(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
    program_.connectGuarded(Button3, &QPushButton::clicked, this, [this] { Button3Click(); });
    program_.connectGuarded(BitBtn2, &QPushButton::clicked, this, [this] { BitBtn2Click(); });
    program_.connectGuarded(BitBtn1, &QPushButton::clicked, this,
                            [this] { program_.showHelp(23); });
    program_.connectGuarded(CheckBox2, &QCheckBox::clicked, this, [this] { CheckBox2Click(); });
    program_.connectGuarded(CheckBox1, &QCheckBox::clicked, this, [this] { CheckBox1Click(); });
    program_.connectGuarded(CheckBox5, &QCheckBox::clicked, this, [this] { CheckBox5Click(); });
    for (QRadioButton* r : {RadioButton1, RadioButton2})
        program_.connectGuarded(r, &QRadioButton::clicked, this, [this] { RadioButtonClick(); });
}

void TConfigura_Progr_::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    // Centred, a little above the middle.
    Panel1->move(qMax(0, (width() - kPanelWidth) / 2), qMax(0, (height() - kPanelHeight) / 2 - 18));
}

settings::OptionsForm TConfigura_Progr_::form() const {
    settings::OptionsForm f;
    for (int k = 1; k <= 19; ++k)
        f.maskEdit[static_cast<std::size_t>(k)] = MaskEdit[static_cast<std::size_t>(k)]->text();
    f.dayFirstDates = RadioGroup1Item1->isChecked();
    f.languageEnglish = RadioGroup2Item0->isChecked();
    f.timedReview = CheckBox2->isChecked();
    f.breakReminders = CheckBox1->isChecked();
    f.periodicBreaks = RadioButton1->isChecked();
    f.blinkNotice = CheckBox5->isChecked();
    f.sameDayReviews = CheckBox6->isChecked();
    f.promotionFlag = CheckBox3->isChecked();
    return f;
}

void TConfigura_Progr_::setForm(const settings::OptionsForm& f) {
    for (int k = 1; k <= 19; ++k)
        MaskEdit[static_cast<std::size_t>(k)]->setText(f.maskEdit[static_cast<std::size_t>(k)]);
    (f.dayFirstDates ? RadioGroup1Item1 : RadioGroup1Item0)->setChecked(true);
    (f.languageEnglish ? RadioGroup2Item0 : RadioGroup2Item1)->setChecked(true);
    CheckBox2->setChecked(f.timedReview);
    CheckBox1->setChecked(f.breakReminders);
    if (f.breakReminders)
        (f.periodicBreaks ? RadioButton1 : RadioButton2)->setChecked(true);
    CheckBox5->setChecked(f.blinkNotice);
    CheckBox3->setChecked(f.promotionFlag);
}

void TConfigura_Progr_::applyEnabling() {
    const settings::OptionsEnabling e = settings::optionsEnabling(form());
    const auto enable = [this](int number, bool on) {
        MaskEdit[static_cast<std::size_t>(number)]->setEnabled(on);
        for (QWidget* w : captions_[static_cast<std::size_t>(number)])
            w->setEnabled(on);
    };
    for (int k = 1; k <= 9; ++k)
        enable(k, e.intervals);
    enable(10, e.breaks);
    RadioButton1->setEnabled(e.breaks);
    RadioButton2->setEnabled(e.breaks);
    enable(11, e.periodField);
    for (int k = 12; k <= 16; ++k)
        enable(k, e.sequence);
    enable(19, e.blinkPeriod);
}

void TConfigura_Progr_::FormActivate() {
    RunState& state = program_.state();
    if (state.takeSkipNextActivation())
        return;
    if (program_.mainScreen().isMaximized())
        setWindowState(windowState() | Qt::WindowMaximized);

    Actualiza_Fuente_Conf();

    TPanta_Inicio_& main = program_.mainScreen();
    settings::Preferences inForce = settings::preferencesOf(state);
    inForce.blinkPeriod = main.Timer_Parpadeo->interval() / 60000;
    inForce.blinkEnabled = main.Timer_Parpadeo->enabled();
    inForce.sameDayReviewsAllowed = CheckBox6->isChecked();
    settings::OptionsForm f = settings::optionsForm(bufferLines(main.RichEdit2), inForce);
    f.sameDayReviews = CheckBox6->isChecked();
    setForm(f);
    applyEnabling();
    if (pictureFolder_.isEmpty())
        pictureFolder_ = state.programFolder;
}

void TConfigura_Progr_::Actualiza_Fuente_Conf() {
    const studyfile::FontStyle& style = program_.data().fontStyle;
    dialogFont = style.font;
    Label37->setFont(dialogFont);
    Label37->setStyleSheet(QStringLiteral("color: %1;").arg(style.colour.name()));
}

void TConfigura_Progr_::Guarda_Fuente() {
    TD_Module_& data = program_.data();
    data.Guarda_Estilo_Fuente(dialogFont);
    data.Lee_Estilo_Fuente();
}

void TConfigura_Progr_::Button10Click() {
    QFont font = dialogFont;
    if (!program_.ui().chooseFont(this, font))
        return;
    dialogFont = font;
    Label37->setFont(dialogFont);
}

void TConfigura_Progr_::CheckBox2Click() {
    program_.state().timedReviewEnabled = CheckBox2->isChecked();
    applyEnabling();
}

void TConfigura_Progr_::CheckBox1Click() {
    (program_.state().periodicBreaks ? RadioButton1 : RadioButton2)->setChecked(true);
    applyEnabling();
}

void TConfigura_Progr_::RadioButtonClick() {
    applyEnabling();
}

void TConfigura_Progr_::CheckBox5Click() {
    applyEnabling();
}

void TConfigura_Progr_::MaskEditExit(int number) {
    QLineEdit* edit = MaskEdit[static_cast<std::size_t>(number)];
    const QString text = settings::fieldTextOnExit(number, edit->text());
    if (text != edit->text())
        edit->setText(text);
}

bool TConfigura_Progr_::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusOut) {
        for (int k = 1; k <= 19; ++k) {
            if (MaskEdit[static_cast<std::size_t>(k)] == watched) {
                program_.guard([this, k] { MaskEditExit(k); });
                break;
            }
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TConfigura_Progr_::Button3Click() {
    RunState& state = program_.state();
    Guarda_Fuente();

    settings::Preferences prefs = settings::preferencesOf(state);
    const settings::SaveResult result = settings::saveOptions(form(), prefs);
    // The fields read before a faulty one are in force for the rest of the run.
    setPreferences(state, prefs);
    if (!result.ok)
        throw std::runtime_error(settings::conversionErrorMessage(result.badText).toStdString());

    TPanta_Inicio_& main = program_.mainScreen();
    main.Timer_Parpadeo->setEnabled(prefs.blinkEnabled);
    setBufferLines(main.RichEdit2, result.lines);
    writeWhole(QDir(state.programFolder).filePath(settings::kPreferencesFileName),
               rtf::writeLines(result.lines));
    state.preferencesReload = true;
    accept();
}

void TConfigura_Progr_::BitBtn2Click() {
    reject();
}

void TConfigura_Progr_::Button2Click() {
    const QString chosen = program_.ui().openPicture(
        this, {QStringLiteral("Imagen del Programa"), pictureFolder_, QString(), kPictureFilter});
    if (chosen.isEmpty())
        return;
    pictureFolder_ = QFileInfo(chosen).path();
    const QString lower = chosen.toLower();
    QString extension;
    if (lower.endsWith(QLatin1String(".jpg")) || lower.endsWith(QLatin1String("jpeg")))
        extension = QStringLiteral("jpg");
    else if (lower.endsWith(QLatin1String(".bmp")))
        extension = QStringLiteral("bmp");
    else
        return; // a file of no picture format is refused: the current picture stays
    // Read before anything is deleted: a picture that cannot be read leaves the old one.
    const Picture picture = Picture::fromFile(chosen);

    const QString folder = program_.state().programFolder;
    const QString current = files::findFirstNoCase(folder, kMainPictureNames);
    if (!current.isEmpty())
        files::removeNoCase(current);
    TPanta_Inicio_& main = program_.mainScreen();
    main.Image1->setPicture(picture);
    main.Actualiza_Imagenes(QStringLiteral("Info FE: NO"));
    if (!main.Image1->picture().isEmpty())
        main.Image1->picture().saveToFile(
            QDir(folder).filePath(QStringLiteral("image.") + extension));
}

void TConfigura_Progr_::Button1Click() {
    const QString current =
        files::findFirstNoCase(program_.state().programFolder, kMainPictureNames);
    if (!current.isEmpty())
        files::removeNoCase(current);
    TPanta_Inicio_& main = program_.mainScreen();
    for (PictureBox* box : {main.Image1, main.Image2, main.Image3})
        box->clear();
}

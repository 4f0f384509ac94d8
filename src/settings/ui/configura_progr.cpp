#include "settings/ui/configura_progr.h"

#include "app/ui.h"
#include "app/ui/panta_inicio.h"
#include "platform/clock.h"
#include "platform/error.h"
#include "platform/files.h"
#include "platform/picture/picture.h"
#include "platform/picture/picture_files.h"
#include "platform/rtf/rtf.h"
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
#include <QTextEdit>

namespace {

constexpr int kPanelWidth = 860;
constexpr int kPanelHeight = 660;

const char* const kIntervalCaptions[9] = {
    "1er Repaso: ", "2do Repaso: ", "3er Repaso: ", "4º Repaso: ", "5º Repaso: ",
    "6º Repaso: ",  "7º Repaso: ",  "8º Repaso: ",  "9º Repaso: "};

} // namespace

using namespace kit;

TConfigura_Progr_::TConfigura_Progr_(Program& program)
    : ProgramDialog(program, "TConfigura_Progr_", QStringLiteral("  Configuración del Programa"),
                    Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                        Qt::WindowCloseButtonHint | Qt::WindowMaximizeButtonHint) {
    resize(kPanelWidth + 24, kPanelHeight + 24);
    Panel1 = panel(this, "Panel1", QRect(12, 12, kPanelWidth, kPanelHeight));
    // Centred, a little above the middle.
    centreDesignArea(Panel1, 18);
    const Px text{13, bold};
    const Px frame{14, bold};
    // A caption or tick box of one line.
    const auto line = [](int x, int y, int width) { return QRect(x, y, width, 24); };
    // A number input: MaskEdit<number>, as wide as its digits.
    const auto field = [this](int number, int x, int y) {
        const int width = settings::fieldWidth(number);
        QLineEdit* e = edit(Panel1, nullptr, QRect(x, y, 16 + 12 * width, 26), Px{14, bold});
        e->setObjectName(QStringLiteral("MaskEdit%1").arg(number));
        e->setMaxLength(width);
        e->setValidator(new QRegularExpressionValidator(
            QRegularExpression(QStringLiteral("[0-9 ]{0,%1}").arg(width)), e));
        e->setAlignment(Qt::AlignRight);
        e->installEventFilter(this);
        MaskEdit[static_cast<std::size_t>(number)] = e;
    };

    // Timed review and its review intervals.
    group(Panel1, nullptr, QStringLiteral(" Frecuencia del Repaso por Tiempo: "),
          QRect(8, 4, 420, 396), frame);
    CheckBox2 = check(Panel1, "CheckBox2", QStringLiteral("Utilizar el Repaso por Tiempo"),
                      line(24, 32, 380), text);
    for (int k = 1; k <= 9; ++k) {
        const int y = 66 + 35 * (k - 1);
        QLabel* before = label(Panel1, nullptr, QString::fromUtf8(kIntervalCaptions[k - 1]),
                               line(24, y, 110), text);
        field(k, 136, y - 1);
        QLabel* after = label(Panel1, nullptr,
                              k == 1 ? QStringLiteral("días tras crear ficha.")
                                     : QStringLiteral("días después."),
                              line(200, y, 210), text);
        captions_[static_cast<std::size_t>(k)] = {before, after};
    }

    // Breaks and blink notice.
    group(Panel1, nullptr, QStringLiteral(" Descansos: "), QRect(444, 4, 408, 300), frame);
    CheckBox1 = check(Panel1, "CheckBox1", QStringLiteral("Si avisar en los descansos."),
                      line(460, 32, 380), text);
    QLabel* firstBefore =
        label(Panel1, nullptr, QStringLiteral("Primer descanso a los "), line(460, 64, 180), text);
    field(10, 640, 63);
    QLabel* firstAfter =
        label(Panel1, nullptr, QStringLiteral("minutos."), line(700, 64, 120), text);
    captions_[10] = {firstBefore, firstAfter};
    RadioButton1 = radio(Panel1, "RadioButton1", QStringLiteral("Siguientes descansos cada "),
                         line(460, 98, 220), text);
    field(11, 680, 97);
    captions_[11] = {label(Panel1, nullptr, QStringLiteral("min."), line(740, 98, 60), text)};
    RadioButton2 = radio(Panel1, "RadioButton2", QStringLiteral("Definir siguientes descansos:"),
                         line(460, 132, 300), text);
    for (int j = 2; j <= 6; ++j) {
        const int y = 162 + 27 * (j - 2);
        QLabel* before =
            label(Panel1, nullptr, QStringLiteral("%1º:").arg(j), line(490, y, 40), text);
        field(10 + j, 530, y - 1);
        QLabel* after =
            label(Panel1, nullptr, QStringLiteral("minutos después."), line(590, y, 200), text);
        captions_[static_cast<std::size_t>(10 + j)] = {before, after};
    }
    CheckBox5 = check(Panel1, "CheckBox5", QStringLiteral("Aviso de parpadeo cada "),
                      line(452, 318, 200), text);
    field(19, 654, 317);
    captions_[19] = {label(Panel1, nullptr, QStringLiteral("minutos."), line(700, 318, 120), text)};

    RadioGroup1 = group(Panel1, "RadioGroup1", QStringLiteral(" Formato de Fecha: "),
                        QRect(444, 354, 408, 84), frame);
    RadioGroup1Item0 =
        radio(RadioGroup1, "RadioGroup1Item0", QStringLiteral("Mes - Día - Año  (mm-dd-aa)"),
              line(16, 24, 370), text);
    RadioGroup1Item1 =
        radio(RadioGroup1, "RadioGroup1Item1", QStringLiteral("Día - Mes - Año  (dd-mm-aa)"),
              line(16, 52, 370), text);
    RadioGroup2 =
        group(Panel1, "RadioGroup2", QStringLiteral(" Idioma: "), QRect(444, 446, 408, 84), frame);
    RadioGroup2Item0 = radio(RadioGroup2, "RadioGroup2Item0", QStringLiteral("English / Inglés "),
                             line(16, 24, 370), text);
    RadioGroup2Item1 = radio(RadioGroup2, "RadioGroup2Item1", QStringLiteral("Spanish / Español"),
                             line(16, 52, 370), text);
    RadioGroup2->hide();

    CheckBox6 = check(Panel1, "CheckBox6",
                      QStringLiteral("Permitir repasar fichas varias veces el mismo día."),
                      line(8, 414, 430), text);
    CheckBox6->setChecked(true);
    label(Panel1, nullptr, QStringLiteral("(se puede modificar cada vez que vaya a repasar)"),
          line(32, 438, 400), Px{12, plain});

    Label37 = label(Panel1, "Label37", QStringLiteral("abc - ABC - 123"), QRect(8, 480, 270, 48));
    Button10 = button(Panel1, "Button10", QStringLiteral("&Tipo de letra"),
                      QRect(288, 488, 140, 32), frame);

    Label18 =
        label(Panel1, nullptr, QStringLiteral("Imagen del Programa:"), line(8, 550, 200), text);
    Button2 = button(Panel1, "Button2", QStringLiteral("Nue&va"), QRect(8, 578, 120, 34), frame);
    Button1 =
        button(Panel1, "Button1", QStringLiteral("Eli&minar"), QRect(140, 578, 120, 34), frame);

    // The promotion settings are stored and carried along, never shown.
    CheckBox3 =
        check(Panel1, "CheckBox3", QStringLiteral("Si hay menos de "), line(8, 620, 140), text);
    field(17, 150, 620);
    field(18, 250, 620);
    for (QWidget* w : std::initializer_list<QWidget*>{CheckBox3, MaskEdit[17], MaskEdit[18]})
        w->hide();

    Button3 =
        button(Panel1, "Button3", QStringLiteral("A&ceptar"), QRect(444, 590, 130, 44), frame);
    BitBtn2 = button(Panel1, "BitBtn2", QStringLiteral("&Salir"), QRect(584, 590, 130, 44), frame);
    BitBtn1 = button(Panel1, "BitBtn1", QStringLiteral("&Ayuda"), QRect(724, 590, 128, 44), frame);

    onClick(Button10, &TConfigura_Progr_::Button10Click);
    onClick(Button2, &TConfigura_Progr_::Button2Click);
    onClick(Button1, &TConfigura_Progr_::Button1Click);
    onClick(Button3, &TConfigura_Progr_::Button3Click);
    onClick(BitBtn2, &TConfigura_Progr_::BitBtn2Click);
    onClick(BitBtn1, [this] { program_.showHelp(23); });
    onClick(CheckBox2, &TConfigura_Progr_::CheckBox2Click);
    onClick(CheckBox1, &TConfigura_Progr_::CheckBox1Click);
    onClick(CheckBox5, &TConfigura_Progr_::CheckBox5Click);
    onClick(RadioButton1, &TConfigura_Progr_::RadioButtonClick);
    onClick(RadioButton2, &TConfigura_Progr_::RadioButtonClick);
}

void TConfigura_Progr_::showPreferences(const settings::Preferences& prefs, bool firstRun) {
    CheckBox6->setChecked(prefs.sameDayReviewsAllowed);
    if (firstRun) {
        CheckBox2->setChecked(prefs.timedReviewEnabled);
        CheckBox1->setChecked(prefs.breakRemindersEnabled);
    }
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
    // Also with break reminders off: "A&ceptar" stores the radio buttons as they stand, so the
    // stored periodic value is always shown (disabled) to be stored again.
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
    if (!beginActivation())
        return;
    maximiseWithMainWindow();

    Actualiza_Fuente_Conf();

    TPanta_Inicio_& main = program_.mainScreen();
    settings::Preferences inForce = main.preferencesInForce();
    inForce.sameDayReviewsAllowed = CheckBox6->isChecked();
    settings::OptionsForm f = settings::optionsForm(main.preferencesText(), inForce);
    f.sameDayReviews = CheckBox6->isChecked();
    setForm(f);
    applyEnabling();
    if (pictureFolder_.isEmpty())
        pictureFolder_ = program_.state().programFolder;
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
    program_.state().prefs.timedReviewEnabled = CheckBox2->isChecked();
    applyEnabling();
}

void TConfigura_Progr_::CheckBox1Click() {
    (program_.state().prefs.periodicBreaks ? RadioButton1 : RadioButton2)->setChecked(true);
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

    // The fields read before a faulty one are in force for the rest of the run.
    const settings::SaveResult result = settings::saveOptions(form(), state.prefs);
    if (!result.ok)
        throw platform::ConversionError(settings::conversionErrorMessage(result.badText));

    TPanta_Inicio_& main = program_.mainScreen();
    main.setBlinkNoticeEnabled(state.prefs.blinkEnabled);
    main.setPreferencesText(result.lines);
    settings::writePreferencesFile(state.programFolder, result.lines);
    state.preferencesReload = true;
    accept();
}

void TConfigura_Progr_::BitBtn2Click() {
    reject();
}

void TConfigura_Progr_::Button2Click() {
    const QString chosen =
        program_.ui().openPicture(this, {QStringLiteral("Imagen del Programa"), pictureFolder_,
                                         QString(), picture::kProgramPictureDialogFilter});
    if (chosen.isEmpty())
        return;
    pictureFolder_ = QFileInfo(chosen).path();
    const picture::Picture::Kind kind = picture::pictureKindOf(chosen);
    if (kind == picture::Picture::Kind::Empty)
        return; // a file of no picture format is refused: the current picture stays
    const QString extension =
        kind == picture::Picture::Kind::Jpeg ? QStringLiteral("jpg") : QStringLiteral("bmp");
    // Read before anything is deleted: a picture that cannot be read leaves the old one.
    const picture::Picture picture = picture::Picture::fromFile(chosen);

    const QString folder = program_.state().programFolder;
    const QString current = files::findFirstNoCase(folder, picture::mainPictureNames());
    if (!current.isEmpty())
        files::removeNoCase(current);
    program_.mainScreen().showProgramPicture(picture);
    if (!picture.isEmpty()) {
        // A file of the same name in other letters would be found before the new one at the next
        // start: every case variant goes first.
        const QString target = QDir(folder).filePath(QStringLiteral("image.") + extension);
        files::removeNoCase(target);
        picture.saveToFile(target);
    }
}

void TConfigura_Progr_::Button1Click() {
    const QString current =
        files::findFirstNoCase(program_.state().programFolder, picture::mainPictureNames());
    if (!current.isEmpty())
        files::removeNoCase(current);
    program_.mainScreen().clearProgramPicture();
}

// The preferences file through the main screen's activation, and the options screen.
#include "support/app_fixture.h"

#include "app/ui/panta_inicio.h"
#include "platform/rtf/rtf.h"
#include "platform/ui/picture_box.h"
#include "review/ui/selecc_repaso.h"
#include "settings/ui/configura_progr.h"

#include <QCheckBox>
#include <QImage>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace {

const QString kSameDay = QStringLiteral("[Permitir repasar las fichas varias veces el mismo día]");

} // namespace

class OptionsScreenTest : public AppTest {
protected:
    QString prefsPath() const { return folder.filePath("Study02.stu"); }
    void writePrefs(const QStringList& lines) { writeFile(prefsPath(), rtf::writeLines(lines)); }
    QStringList readPrefs() const {
        QFile f(prefsPath());
        EXPECT_TRUE(f.open(QIODevice::ReadOnly));
        return rtf::readLines(f.readAll());
    }
    TPanta_Inicio_& main() { return program->mainScreen(); }
    TConfigura_Progr_& options() { return program->configura_Progr(); }
    // Starts the program, keeping the records of the start.
    void startKeepingRecords() {
        program = std::make_unique<Program>(folder.path(), ui, clock);
        program->start();
    }
    // Opens the options screen and runs script in it.
    void withOptions(std::function<void(TConfigura_Progr_&)> script) {
        ui.queueScreen("TConfigura_Progr_", [script](QDialog& d) {
            script(static_cast<TConfigura_Progr_&>(d));
            return d.result();
        });
        main().Label17Click();
    }
};

TEST_F(OptionsScreenTest, FirstRunWritesTheDefaultsAndShowsTheMessageOnce) {
    startKeepingRecords();
    EXPECT_EQ(readPrefs(), settings::defaultPreferenceLines());
    EXPECT_EQ(ui.messages(), QStringList({settings::kFirstRunMessage}));
    EXPECT_EQ(main().Timer_Descanso->interval(), 35 * 60000);
    EXPECT_TRUE(main().Timer_Descanso->enabled());
    EXPECT_EQ(main().Timer_Parpadeo->interval(), 5 * 60000);
    EXPECT_TRUE(main().Timer_Parpadeo->enabled());
    EXPECT_FALSE(program->state().preferencesReload);
    // Later activations read the file and say nothing.
    ui.clearRecords();
    main().FormActivate();
    EXPECT_TRUE(ui.messages().isEmpty());
}

// An unreadable file is deleted and made anew, with the first-run message.
TEST_F(OptionsScreenTest, UnreadableFilesAreReplacedByTheDefaults) {
    const QStringList broken[] = {
        {"ddmmaa__ESP_S_000-001-007", "SI_SIPER_030-035-030-030-025-025-020-Parpad_SI_05__"},
        {"ddmmaa__ESP_S_000-001-007-021-045-090-120-150-180-",
         "SI_SIPER_030-035-0x0-030-025-025-020-Parpad_SI_05__"},
        {"ddmmaa__ESP_S_000-001-007-021-045-090-120-150-180-",
         "SI_SIPER_030-035-030-030-025-025-020-Parpad_SI_5___"},
    };
    for (const QStringList& lines : broken) {
        SCOPED_TRACE(lines.join("|").toStdString());
        writePrefs(lines);
        ui.clearRecords();
        startKeepingRecords();
        EXPECT_EQ(readPrefs(), settings::defaultPreferenceLines());
        EXPECT_EQ(ui.messages(), QStringList({settings::kFirstRunMessage}));
        program.reset();
    }
}

TEST_F(OptionsScreenTest, ValuesReadFromTheFile) {
    writePrefs({"MMDDAA__ING_N_001-002-003-004-005-006-007-008-009-",
                "NO_NOPER_010-011-012-013-014-015-016-Parpad_NO_07__", "NO__030__040__",
                "No       " + kSameDay});
    startKeepingRecords();
    EXPECT_TRUE(ui.messages().isEmpty());
    RunState& s = program->state();
    // Only an exact "mmddaa" means month first.
    EXPECT_TRUE(s.prefs.dayFirstDates);
    EXPECT_EQ(s.prefs.languageCode, "ING");
    EXPECT_FALSE(s.prefs.timedReviewEnabled);
    EXPECT_EQ(s.prefs.reviewIntervals, (std::array<int, 9>{1, 2, 3, 4, 5, 6, 7, 8, 9}));
    EXPECT_FALSE(s.prefs.breakRemindersEnabled);
    EXPECT_FALSE(s.prefs.periodicBreaks);
    EXPECT_EQ(main().Timer_Descanso->interval(), 11 * 60000);
    EXPECT_EQ(main().Timer_Parpadeo->interval(), 7 * 60000);
    EXPECT_FALSE(main().Timer_Parpadeo->enabled());
    // "No" reads as allowed: both tick boxes ticked.
    EXPECT_TRUE(program->selecc_Repaso().CheckBox9->isChecked());
    EXPECT_TRUE(options().CheckBox6->isChecked());

    // Lines 3 and 4 are read at every activation; an exact "NO" forbids.
    writePrefs({"mmddaa__ESP_S_000-001-007-021-045-090-120-150-180-",
                "SI_SIPER_030-035-030-030-025-025-020-Parpad_SI_05__", "SI__020__010__",
                "NO    " + kSameDay});
    main().FormActivate();
    EXPECT_FALSE(program->selecc_Repaso().CheckBox9->isChecked());
    EXPECT_FALSE(options().CheckBox6->isChecked());
    // Lines 1 and 2 wait for the reload flag.
    EXPECT_TRUE(s.prefs.dayFirstDates);
    EXPECT_EQ(s.prefs.reviewIntervals[0], 1);
}

// Fields show no leading zeros and are written with them; a blink notice switched off keeps its
// period.
TEST_F(OptionsScreenTest, SaveWritesTheFourLines) {
    start();
    withOptions([](TConfigura_Progr_& o) {
        EXPECT_EQ(o.MaskEdit[1]->text(), "0");
        EXPECT_EQ(o.MaskEdit[2]->text(), "1");
        EXPECT_EQ(o.MaskEdit[9]->text(), "180");
        EXPECT_EQ(o.MaskEdit[10]->text(), "35");
        EXPECT_EQ(o.MaskEdit[19]->text(), "5");
        EXPECT_TRUE(o.RadioGroup1Item1->isChecked());
        EXPECT_TRUE(o.RadioButton1->isChecked());
        EXPECT_TRUE(o.MaskEdit[11]->isEnabled());
        EXPECT_FALSE(o.MaskEdit[12]->isEnabled());
        o.CheckBox5->click();
        EXPECT_FALSE(o.MaskEdit[19]->isEnabled());
        o.MaskEdit[3]->setText("8");
        o.RadioButton2->click();
        EXPECT_FALSE(o.MaskEdit[11]->isEnabled());
        EXPECT_TRUE(o.MaskEdit[12]->isEnabled());
        o.MaskEdit[10]->setText("40");
        o.CheckBox6->setChecked(false);
        o.RadioGroup1Item0->setChecked(true);
        o.Button3->click();
    });
    EXPECT_TRUE(ui.errors().isEmpty()) << ui.errors().join("|").toStdString();
    EXPECT_EQ(readPrefs(), QStringList({"mmddaa__ESP_S_000-001-008-021-045-090-120-150-180-",
                                        "SI_NOPER_030-040-030-030-025-025-020-Parpad_NO_05__",
                                        "NO__020__010__", "NO    " + kSameDay}));
    // The main screen's activation after the options screen parsed the new file.
    EXPECT_EQ(main().Timer_Descanso->interval(), 40 * 60000);
    EXPECT_FALSE(main().Timer_Parpadeo->enabled());
    EXPECT_FALSE(program->state().prefs.dayFirstDates);
    EXPECT_EQ(program->state().prefs.reviewIntervals[2], 8);
    EXPECT_FALSE(program->selecc_Repaso().CheckBox9->isChecked());
}

// "A&ceptar" without a change stores line 2 as it was, also the periodic value while break
// reminders are off (the radio buttons are disabled then, but still show it). Each case runs in a
// fresh program, so the first opening of the options screen is the one that counts.
TEST_F(OptionsScreenTest, AcceptingUnchangedKeepsLineTwo) {
    const QString schedule = "030-035-030-030-025-025-020-Parpad_SI_05__";
    const QStringList starts = {"SI_SIPER_", "SI_NOPER_", "NO_SIPER_", "NO_NOPER_"};
    for (const QString& start : starts) {
        SCOPED_TRACE(start.toStdString());
        const QStringList lines = {"ddmmaa__ESP_S_000-001-007-021-045-090-120-150-180-",
                                   start + schedule, "NO__020__010__", "SI    " + kSameDay};
        writePrefs(lines);
        startKeepingRecords();
        withOptions([](TConfigura_Progr_& o) { o.Button3->click(); });
        EXPECT_TRUE(ui.errors().isEmpty()) << ui.errors().join("|").toStdString();
        EXPECT_EQ(readPrefs().value(1), start + schedule);
        program.reset();
        ui.clearRecords();
    }
}

TEST_F(OptionsScreenTest, AnEmptyFieldStopsTheSave) {
    start();
    const QStringList before = readPrefs();
    bool stillOpen = false;
    withOptions([&](TConfigura_Progr_& o) {
        o.MaskEdit[2]->setText("3");
        o.MaskEdit[5]->setText("");
        o.Button3->click();
        stillOpen = o.result() != QDialog::Accepted;
    });
    EXPECT_TRUE(stillOpen);
    ASSERT_EQ(ui.errors().size(), 1);
    EXPECT_TRUE(ui.errors().first().contains("''")) << ui.errors().first().toStdString();
    EXPECT_EQ(readPrefs(), before);
    // The fields read before the faulty one are in force.
    EXPECT_EQ(program->state().prefs.reviewIntervals[1], 3);
}

TEST_F(OptionsScreenTest, TimedReviewClickActsAtOnceAndFieldsAreCleanedOnExit) {
    start();
    withOptions([](TConfigura_Progr_& o) {
        o.CheckBox2->click();
        EXPECT_FALSE(o.MaskEdit[4]->isEnabled());
        o.MaskEdit[19]->setText("");
        o.MaskEditExit(19);
        EXPECT_EQ(o.MaskEdit[19]->text(), "0");
        o.MaskEdit[5]->setText("");
        o.MaskEditExit(5);
        EXPECT_EQ(o.MaskEdit[5]->text(), "");
        o.BitBtn2->click();
    });
    EXPECT_FALSE(program->state().prefs.timedReviewEnabled);
    EXPECT_EQ(readPrefs(), settings::defaultPreferenceLines());
}

TEST_F(OptionsScreenTest, MainScreenPictureNewAndRemove) {
    start();
    QImage image(800, 600, QImage::Format_RGB32);
    image.fill(Qt::green);
    const QString chosen = folder.filePath("Foto.JPEG");
    ASSERT_TRUE(image.save(chosen, "JPG"));
    writeFile(folder.filePath("Image.BMP"), "old");
    ui.queueFile(chosen);
    withOptions([](TConfigura_Progr_& o) { o.Button2->click(); });
    ASSERT_EQ(ui.fileRequests().size(), 1);
    EXPECT_EQ(ui.fileRequests().first().directory, program->state().programFolder);
    EXPECT_FALSE(QFile::exists(folder.filePath("Image.BMP")));
    EXPECT_TRUE(QFile::exists(folder.filePath("image.jpg")));
    EXPECT_EQ(main().Image1->picture().width(), 800);
    EXPECT_EQ(main().Image3->picture().width(), 800);

    // A file of no picture format is refused; the picture stays.
    ui.queueFile(folder.filePath("notas.txt"));
    withOptions([](TConfigura_Progr_& o) { o.Button2->click(); });
    EXPECT_TRUE(QFile::exists(folder.filePath("image.jpg")));
    EXPECT_FALSE(QFile::exists(folder.filePath("image.")));

    withOptions([](TConfigura_Progr_& o) { o.Button1->click(); });
    EXPECT_FALSE(QFile::exists(folder.filePath("image.jpg")));
    EXPECT_TRUE(main().Image1->picture().isEmpty());
    EXPECT_TRUE(main().Image2->picture().isEmpty());
}

TEST_F(OptionsScreenTest, NewPictureReplacesOneNamedInOtherLetters) {
    // Two old pictures: the first found is removed, and one named like the new file in other
    // letters would otherwise stay beside it and be found first at the next start.
    QImage old(300, 200, QImage::Format_RGB32);
    old.fill(Qt::red);
    ASSERT_TRUE(old.save(folder.filePath("Image.BMP"), "BMP"));
    ASSERT_TRUE(old.save(folder.filePath("Image.JPG"), "JPG"));
    start();
    QImage image(800, 600, QImage::Format_RGB32);
    image.fill(Qt::green);
    const QString chosen = folder.filePath("Foto.jpg");
    ASSERT_TRUE(image.save(chosen, "JPG"));
    ui.queueFile(chosen);
    withOptions([](TConfigura_Progr_& o) { o.Button2->click(); });

    QStringList pictures = QDir(folder.path()).entryList({"image.*"}, QDir::Files);
    EXPECT_EQ(pictures, QStringList{"image.jpg"});

    // The next run shows the new picture.
    program.reset();
    start();
    EXPECT_EQ(main().Image1->picture().width(), 800);
}

#include "support/app_fixture.h"

#include "app/ui/panta_inicio.h"
#include "platform/table/table.h"
#include "studyfile/design_record.h"

#include <QDialog>

#include <stdexcept>

namespace {

// A screen that counts its activations, honouring the skip-next-activation flag as every screen
// does.
class ProbeScreen : public QDialog, public ProgramScreen {
public:
    ProbeScreen(Program& program, const QString& name) : program_(program) { setObjectName(name); }
    void FormShow() override { ++shows; }
    void FormActivate() override {
        if (!program_.beginActivation())
            return;
        ++activations;
        if (throwOnActivate)
            throw std::runtime_error("fallo al activar");
    }
    int activations = 0;
    int shows = 0;
    bool throwOnActivate = false;

private:
    Program& program_;
};

} // namespace

TEST_F(AppTest, ClosingAScreenReactivatesTheOneBelow) {
    Program& p = start();
    ProbeScreen a(p, "A"), b(p, "B");
    ui.onScreen("A", [&](QDialog&) {
        EXPECT_EQ(a.activations, 1) << "activated when it opens";
        EXPECT_EQ(p.topWindow(), static_cast<QWidget*>(&a));
        EXPECT_EQ(p.runModal(b), QDialog::Accepted);
        EXPECT_EQ(b.activations, 1);
        EXPECT_EQ(a.activations, 2) << "B closed: A regains the focus";
        // Boxes and file dialogs re-activate nothing.
        ui.queueConfirm(true);
        EXPECT_TRUE(p.ui().confirm(&a, "¿Seguro?"));
        ui.queueFile("");
        p.ui().openFile(&a, {});
        p.ui().errorBox(&a, "error");
        EXPECT_EQ(a.activations, 2);
        // The message dialog is one of the program's screens: A is activated after it.
        p.Ver_Mensaje("hola");
        EXPECT_EQ(a.activations, 3);
        // Time passes while A is open; the main screen sees it only once A closes.
        clock.advanceDays(1);
        EXPECT_EQ(p.state().todayKey, "20240305");
        return int(QDialog::Rejected);
    });
    ui.onScreen("B", [&](QDialog&) {
        EXPECT_EQ(p.stackDepth(), 3);
        return int(QDialog::Accepted);
    });
    EXPECT_EQ(p.runModal(a), QDialog::Rejected);
    EXPECT_EQ(p.stackDepth(), 1);
    EXPECT_EQ(p.state().todayKey, "20240306") << "the main screen ran its activation";
    EXPECT_EQ(ui.screens(), (QStringList{"A", "B", "TMensaje"}));
}

TEST_F(AppTest, SkipFlagIsConsumedByTheNextActivationOnly) {
    Program& p = start();
    ProbeScreen a(p, "A"), b(p, "B");
    ui.onScreen("A", [&](QDialog&) {
        EXPECT_EQ(a.activations, 1);
        // The flag is set while the blink notice is on view: the next activation of a screen
        // that regains the focus only clears it.
        p.state().skipNextActivation = true;
        p.activateTop();
        EXPECT_EQ(a.activations, 1);
        EXPECT_FALSE(p.state().skipNextActivation);
        p.activateTop();
        EXPECT_EQ(a.activations, 2);
        // A screen that opens runs its whole activation and leaves the flag.
        p.state().skipNextActivation = true;
        p.runModal(b);
        EXPECT_EQ(b.activations, 1);
        EXPECT_EQ(b.shows, 1);
        EXPECT_EQ(a.activations, 2) << "A regained the focus: that activation took the flag";
        EXPECT_FALSE(p.state().skipNextActivation);
        return int(QDialog::Rejected);
    });
    ui.onScreen("B", [&](QDialog&) {
        EXPECT_TRUE(p.state().skipNextActivation);
        return int(QDialog::Rejected);
    });
    p.runModal(a);

    // On the main screen too.
    clock.advanceDays(3);
    p.state().skipNextActivation = true;
    p.activateTop();
    EXPECT_EQ(p.state().todayKey, "20240305");
    EXPECT_FALSE(p.state().skipNextActivation);
    p.activateTop();
    EXPECT_EQ(p.state().todayKey, "20240308");
}

TEST_F(AppTest, TheGuardShowsErrorsInTheErrorBox) {
    Program& p = start();
    bool after = false;
    p.guard([] { throw std::runtime_error("No existe la tabla x.db"); });
    p.guard([&] { after = true; });
    EXPECT_TRUE(after);
    EXPECT_EQ(ui.errors(), QStringList{"No existe la tabla x.db"});

    // An activation that fails is reported and the stack stays sound.
    ProbeScreen a(p, "A");
    a.throwOnActivate = true;
    ui.onScreen("A", [&](QDialog&) { return int(QDialog::Accepted); });
    EXPECT_EQ(p.runModal(a), QDialog::Accepted);
    EXPECT_EQ(ui.errors().size(), 2);
    EXPECT_EQ(ui.errors().last(), "fallo al activar");
    EXPECT_EQ(p.stackDepth(), 1);

    // A script that throws leaves the stack as it was.
    ui.onScreen("A", [&](QDialog&) -> int { throw std::logic_error("script"); });
    a.throwOnActivate = false;
    EXPECT_THROW(p.runModal(a), std::logic_error);
    EXPECT_EQ(p.stackDepth(), 1);
    EXPECT_EQ(p.topWindow(), static_cast<QWidget*>(&p.mainScreen()));
}

TEST_F(AppTest, TheGuardShowsTheTextOfTheProgramsOwnErrors) {
    Program& p = start();
    // Accents and line breaks reach the error box as they were written.
    p.guard([] { throw studyfile::DamagedRecord(); });
    p.guard([] { throw table::EngineError(QStringLiteral("La tabla «ñ.db»\rno está")); });
    EXPECT_EQ(ui.errors(), (QStringList{studyfile::kDamagedMessage,
                                        QStringLiteral("La tabla «ñ.db»\rno está")}));
}

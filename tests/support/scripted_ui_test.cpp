// The scripted Ui answers in order and records what a test did not script.
#include "support/app_fixture.h"

#include <QDialog>

TEST_F(AppTest, ScriptedUiAnswersInOrderAndRecordsTheUnscripted) {
    QFont font("Arial");
    ui.queueFont(QFont("Tahoma", 19));
    ui.queueFont(std::nullopt);
    EXPECT_TRUE(ui.chooseFont(nullptr, font));
    EXPECT_EQ(font.family(), "Tahoma");
    EXPECT_FALSE(ui.chooseFont(nullptr, font)) << "cancelled";
    EXPECT_EQ(font.family(), "Tahoma") << "unchanged when cancelled";

    ui.queueFile("/x/a.jpg");
    ui.queueFile("/x/b.db");
    EXPECT_EQ(ui.openPicture(nullptr, {"Imagen", "/x", "", "Imágenes|*.jpg"}), "/x/a.jpg");
    EXPECT_EQ(ui.saveFile(nullptr, {"Guardar", "/x", "b.db", ""}), "/x/b.db");
    ASSERT_EQ(ui.fileRequests().size(), 2);
    EXPECT_EQ(ui.fileRequests()[1].fileName, "b.db");

    EXPECT_TRUE(ui.unexpected().isEmpty());
    EXPECT_EQ(ui.openFile(nullptr, {"Abrir", "", "", ""}), QString());
    EXPECT_FALSE(ui.confirm(nullptr, "¿Seguro?"));
    EXPECT_FALSE(ui.chooseFont(nullptr, font));
    EXPECT_EQ(ui.unexpected(), (QStringList{"open: Abrir", "confirm: ¿Seguro?", "font"}));

    // Queued screen scripts come first, then the per-screen one; without a script: Rejected.
    QDialog screen;
    screen.setObjectName("TPrueba");
    int shown = 0;
    const auto show = [&] { ++shown; };
    EXPECT_EQ(ui.runModal(screen, nullptr, show), QDialog::Rejected);
    ui.onScreen("TPrueba", [](QDialog&) { return 7; });
    ui.queueScreen("TPrueba", [](QDialog&) { return 3; });
    EXPECT_EQ(ui.runModal(screen, nullptr, show), 3);
    EXPECT_EQ(ui.runModal(screen, nullptr, show), 7);
    EXPECT_EQ(ui.runModal(screen, nullptr, show), 7);
    EXPECT_EQ(shown, 4);
    EXPECT_EQ(ui.screens(), (QStringList{"TPrueba", "TPrueba", "TPrueba", "TPrueba"}));
}

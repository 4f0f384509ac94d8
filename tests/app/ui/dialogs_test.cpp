#include "support/app_fixture.h"

#include "app/ui/mensaje.h"
#include "app/ui/panta_inicio.h"
#include "app/ui/passw_fe.h"
#include "platform/ui/help_window.h"

#include <QCheckBox>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace {

QSize textSize(const QLabel* label, const QString& text) {
    return QFontMetrics(label->font())
        .boundingRect(QRect(0, 0, 100000, 100000), Qt::AlignLeft | Qt::AlignTop, text)
        .size();
}

} // namespace

TEST_F(AppTest, MessageDialogSizesItselfToItsText) {
    Program& p = start();
    TMensaje& m = p.mensaje();
    EXPECT_EQ(m.windowTitle(), "    Información");
    EXPECT_EQ(m.Label2->text(), "Pulsar tecla o Clic para Continuar");
    const QSize hint = textSize(m.Label2, m.Label2->text());

    struct Case {
        QString text;
        bool hintBound;
    };
    const Case cases[] = {
        {"Hola", true},
        {"", true},
        {"Una línea de mensaje bastante más larga que el texto de la indicación de abajo", false},
        {"No hay ninguna ficha para repasar.  Algunas posibles causas son:\r\r  *  Si ha "
         "seleccionado, puede que ninguna ficha cumpla con esa condición.",
         false},
    };
    for (const Case& c : cases) {
        p.Ver_Mensaje(c.text);
        QString lines = c.text;
        lines.replace('\r', '\n');
        const QSize text = textSize(m.Label1, lines);
        EXPECT_EQ(m.Label1->text(), lines);
        EXPECT_EQ(m.Label1->geometry(), QRect(27, 16, text.width(), text.height()));
        // Outer sizes: the client area plus the frame.
        const int outerWidth = m.width() + m.frameExtra().width();
        const int outerHeight = m.height() + m.frameExtra().height();
        const int width = c.hintBound ? hint.width() + 45 : text.width() + 54;
        EXPECT_EQ(outerWidth, width) << c.text.toStdString();
        EXPECT_EQ(outerWidth, qMax(text.width() + 54, hint.width() + 45));
        EXPECT_EQ(outerHeight, text.height() + 110);
        // The hint sits 54 pixels above the bottom and 36 from the right edge.
        EXPECT_EQ(m.Label2->geometry().bottom() + 1, outerHeight - 54);
        EXPECT_EQ(m.Label2->geometry().right() + 1, outerWidth - 36);
        EXPECT_GT(m.Label2->geometry().top(), m.Label1->geometry().bottom()) << "no overlap";
    }
    EXPECT_EQ(ui.messages().size(), 4);
    EXPECT_EQ(ui.messages().last(), cases[3].text) << "recorded as the program wrote it";
    // A line break makes the dialog taller.
    p.Ver_Mensaje("uno\r\rtres");
    const int threeLines = m.height();
    p.Ver_Mensaje("uno");
    EXPECT_GT(threeLines, m.height());
}

TEST_F(AppTest, MessageAfterTheBlinkNoticeShowsItsOwnText) {
    Program& p = start();
    p.Ver_Mensaje("primero");
    p.state().skipNextActivation = true;
    p.Ver_Mensaje("segundo");
    EXPECT_EQ(ui.messages(), (QStringList{"primero", "segundo"}));
    EXPECT_EQ(p.mensaje().Label1->text(), "segundo");
    // Opening the dialog left the flag; the main screen, regaining the focus, took it.
    EXPECT_FALSE(p.state().skipNextActivation);
}

TEST_F(AppTest, MessageDialogClosesOnAnyKeyOrClick) {
    Program& p = start();
    TMensaje& m = p.mensaje();
    const auto reopen = [&] {
        p.state().messageText = "Aviso";
        m.FormShow();
        m.show();
        ASSERT_TRUE(m.isVisible());
    };
    reopen();
    QTest::keyClick(&m, Qt::Key_Space);
    EXPECT_FALSE(m.isVisible());
    reopen();
    QTest::keyClick(&m, 'q');
    EXPECT_FALSE(m.isVisible());
    reopen();
    QTest::mouseClick(m.Label1, Qt::LeftButton);
    EXPECT_FALSE(m.isVisible()) << "a click on the text closes it";
    reopen();
    QTest::mouseClick(m.Label2, Qt::LeftButton);
    EXPECT_FALSE(m.isVisible()) << "a click on the hint closes it";
    reopen();
    QTest::mouseClick(&m, Qt::LeftButton, Qt::NoModifier, QPoint(2, m.height() - 3));
    EXPECT_FALSE(m.isVisible());
}

TEST_F(AppTest, PasswordDialogEnterAndSalir) {
    Program& p = start();
    TPassw_FE_& d = p.passw_FE();
    EXPECT_EQ(d.windowTitle(), "  Contraseña del Fichero de Estudio");
    EXPECT_EQ(d.BitBtn1->text(), " Ac&eptar");
    EXPECT_FALSE(d.CheckBox1->isChecked());
    EXPECT_FALSE(d.CheckBox2->isChecked());

    // Enter in the input accepts, exactly like the button.
    ui.queueScreen("TPassw_FE_", [&](QDialog&) {
        EXPECT_TRUE(d.Edit1->text().isEmpty());
        QTest::keyClicks(d.Edit1, "clave secreta");
        QTest::keyClick(d.Edit1, Qt::Key_Return);
        return d.result();
    });
    d.Edit1->setText("left from before");
    EXPECT_EQ(p.runModal(d), QDialog::Accepted);
    EXPECT_EQ(d.Edit1->text(), "clave secreta");
    EXPECT_TRUE(p.state().passwordAccepted);
    EXPECT_FALSE(p.state().rememberPasswordRequest);

    // Salir: flag false, input emptied.
    ui.queueScreen("TPassw_FE_", [&](QDialog&) {
        EXPECT_TRUE(d.Edit1->text().isEmpty()) << "emptied at each activation";
        QTest::keyClicks(d.Edit1, "otra");
        d.Button2->click();
        return d.result();
    });
    EXPECT_EQ(p.runModal(d), QDialog::Rejected);
    EXPECT_FALSE(p.state().passwordAccepted);
    EXPECT_TRUE(d.Edit1->text().isEmpty());

    // Esc leaves as Salir does.
    p.state().passwordAccepted = true;
    ui.queueScreen("TPassw_FE_", [&](QDialog&) {
        QTest::keyClicks(d.Edit1, "x");
        QTest::keyClick(&d, Qt::Key_Escape);
        return d.result();
    });
    EXPECT_EQ(p.runModal(d), QDialog::Rejected);
    EXPECT_FALSE(p.state().passwordAccepted);
    EXPECT_TRUE(d.Edit1->text().isEmpty());

    // "Guardar contraseña" sets the request and keeps its tick; "Ocultar" hides with "*".
    ui.queueScreen("TPassw_FE_", [&](QDialog&) {
        d.CheckBox1->click();
        EXPECT_EQ(d.Edit1->echoMode(), QLineEdit::Password);
        EXPECT_TRUE(d.Edit1->hasFocus() || !d.isVisible());
        d.CheckBox2->click();
        QTest::keyClicks(d.Edit1, "abc");
        d.BitBtn1->click();
        return d.result();
    });
    EXPECT_EQ(p.runModal(d), QDialog::Accepted);
    EXPECT_TRUE(p.state().rememberPasswordRequest);
    EXPECT_EQ(d.Edit1->text(), "abc");
    ui.queueScreen("TPassw_FE_", [&](QDialog&) {
        EXPECT_TRUE(d.CheckBox1->isChecked());
        EXPECT_TRUE(d.CheckBox2->isChecked());
        EXPECT_EQ(d.Edit1->echoMode(), QLineEdit::Password);
        d.CheckBox1->click();
        EXPECT_EQ(d.Edit1->echoMode(), QLineEdit::Normal);
        d.Button3->click();
        d.Button2->click();
        return d.result();
    });
    p.runModal(d);
    ASSERT_NE(p.helpWindow(), nullptr);
    EXPECT_EQ(p.helpWindow()->currentContext(), 52);
    EXPECT_EQ(p.helpWindow()->currentPage(), ":/help/52.html");
    EXPECT_TRUE(ui.errors().isEmpty());
}

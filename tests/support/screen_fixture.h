// A program over a temporary program folder (scripted Ui, manual clock) with a study file of a
// few cards in dat/, for the review screens' tests.
#pragma once

#include "support/app_fixture.h"

#include "app/ui/panta_inicio.h"
#include "app/ui/passw_fe.h"
#include "streams/qx_streams.h"
#include "studyfile/card_content.h"
#include "studyfile/card_store.h"
#include "studyfile/card_table.h"
#include "studyfile/creation.h"
#include "studyfile/ui/data_module.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <vector>

namespace review_test {

struct Card {
    QString question;
    QString answer;
    int level = 1;
    QString lastReview;
    int total = 0;
    QString nextReview;
    QString key;
    int importance = 0;
};

class ScreenTest : public AppTest {
protected:
    // A study file N in dat/ (question and short answer texts, unless the design says more)
    // holding the cards; returns its table path. With a password the design record is enciphered
    // with it; the cards are packed as the design asks.
    QString makeStudyFile(const QString& name, const std::vector<Card>& cards,
                          const studyfile::DesignOptions& design = {},
                          const QString& password = QString()) {
        studyfile::CreationRequest request;
        request.datFolder = dat();
        request.name = name;
        request.options = design;
        request.description = {"Descripción"};
        request.password = password;
        const QString path = studyfile::createStudyFile(request);
        studyfile::DesignOptions written = design;
        written.enciphered = !password.isEmpty();
        table::Table t;
        t.open(QFileInfo(path).path(), QFileInfo(path).fileName());
        streams::TQXStreams qxs;
        studyfile::configureContentContainer(qxs, written, password);
        for (const Card& c : cards) {
            t.append();
            studyfile::CardEdit content;
            content.question = c.question;
            content.shortAnswer = c.answer;
            content.level = c.level;
            content.cardKey = c.key;
            content.importance = c.importance;
            studyfile::writeCard(t, qxs, written, written.packedContent(), content, nullptr,
                                 "20000101");
            t.fieldByName("Nive_Fich").setInteger(c.level);
            t.fieldByName("Fech_Ulti_Repa").setString(c.lastReview);
            t.fieldByName("Total_Repa").setInteger(c.total);
            t.fieldByName("Fech_Prox_Repa").setString(c.nextReview);
            t.post();
        }
        t.close();
        return path;
    }

    // Starts the program (a preferences file with the defaults is created first, so that no
    // first-run message interferes) and opens the study file, typing its password in the password
    // dialog when one is given.
    void startWith(const QString& tablePath, const QString& password = QString()) {
        start();
        ui.clearRecords();
        if (!password.isEmpty()) {
            ui.queueScreen("TPassw_FE_", [this, password](QDialog&) {
                TPassw_FE_& d = program->passw_FE();
                d.Edit1->setText(password);
                d.BitBtn1->click();
                return d.result();
            });
        }
        ui.queueFile(tablePath);
        main().Label5Click();
        ASSERT_TRUE(program->state().fileOpen);
        ui.clearRecords();
    }

    TPanta_Inicio_& main() { return program->mainScreen(); }
    table::Table& cards() { return program->data().Tabla_Activa; }

    // The schedule fields of the card whose question is q (read with no filter).
    Card stored(const QString& name, const QString& q) {
        table::Table t;
        t.open(dat(), name + ".DB");
        for (t.first(); !t.eof(); t.next()) {
            if (t.fieldByName("Preg_Text").asString() == q)
                return {q,
                        QString(),
                        int(t.fieldByName("Nive_Fich").asInteger()),
                        t.fieldByName("Fech_Ulti_Repa").asString(),
                        int(t.fieldByName("Total_Repa").asInteger()),
                        t.fieldByName("Fech_Prox_Repa").asString()};
        }
        ADD_FAILURE() << "no card " << q.toStdString();
        return {};
    }
};

} // namespace review_test

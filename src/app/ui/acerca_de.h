// The about box.
#pragma once

#include "app/screen_kit.h"

#include <QColor>

class QLabel;
class QPushButton;
class QFrame;

class TAcercaDe_ : public ProgramDialog {
    Q_OBJECT
public:
    explicit TAcercaDe_(Program& program);

    void FormActivate() override;
    // The link label: opens the help window at its start page.
    void LinkLabelClick();
    void LinkLabelMouseMove();
    void Panel1MouseMove();
    void OKButtonClick();

    QFrame* Panel1;
    QLabel* ProgramIcon;
    QLabel* ProductName;
    QLabel* Comments;
    QLabel* LinkLabel;
    QLabel* Copyright;
    QPushButton* OKButton;

    // The link label's current text colour.
    QColor linkColour() const { return linkColour_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void setLinkColour(const QColor& colour);

    QColor linkColour_;
};

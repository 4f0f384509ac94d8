// A widget that shows a Picture: stretched to its own geometry (stretch on) or at its natural
// size from the top left corner (stretch off). A left click on it emits clicked().
#pragma once

#include "platform/picture/picture.h"

#include <QWidget>

class PictureBox : public QWidget {
    Q_OBJECT
public:
    explicit PictureBox(QWidget* parent = nullptr);

    void setPicture(const picture::Picture& picture);
    const picture::Picture& picture() const { return m_picture; }
    void clear();

    void setStretch(bool stretch);
    bool stretch() const { return m_stretch; }

    QSize sizeHint() const override;

signals:
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    picture::Picture m_picture;
    bool m_stretch = false;
    bool m_pressed = false;
};

// A framed group of radio buttons chosen by index, laid out in one or more columns: a click on an
// item reports its index; setting the index from code reports nothing.
#pragma once

#include <QGroupBox>
#include <QStringList>

#include <vector>

class QButtonGroup;
class QRadioButton;

class RadioGroup : public QGroupBox {
    Q_OBJECT
public:
    RadioGroup(QWidget* parent, const char* name, const QString& title, const QStringList& items,
               int columns = 1);

    int itemIndex() const;
    void setItemIndex(int index);
    QRadioButton* item(int index) const;
    int count() const { return static_cast<int>(buttons_.size()); }

signals:
    // The learner clicked the item at index.
    void itemClicked(int index);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void layoutItems();

    QButtonGroup* group_;
    std::vector<QRadioButton*> buttons_;
    int columns_;
};

#include "app/radio_group.h"

#include <QButtonGroup>
#include <QRadioButton>

RadioGroup::RadioGroup(QWidget* parent, const char* name, const QString& title,
                       const QStringList& items, int columns)
    : QGroupBox(title, parent), group_(new QButtonGroup(this)), columns_(std::max(1, columns)) {
    setObjectName(QString::fromLatin1(name));
    for (int i = 0; i < items.size(); ++i) {
        auto* button = new QRadioButton(items[i], this);
        button->setObjectName(QStringLiteral("%1_%2").arg(objectName()).arg(i));
        group_->addButton(button, i);
        buttons_.push_back(button);
    }
    connect(group_, &QButtonGroup::idClicked, this, &RadioGroup::itemClicked);
    layoutItems();
}

int RadioGroup::itemIndex() const {
    return group_->checkedId();
}

void RadioGroup::setItemIndex(int index) {
    if (index >= 0 && index < count())
        buttons_[static_cast<size_t>(index)]->setChecked(true);
}

QRadioButton* RadioGroup::item(int index) const {
    return buttons_.at(static_cast<size_t>(index));
}

void RadioGroup::resizeEvent(QResizeEvent* event) {
    QGroupBox::resizeEvent(event);
    layoutItems();
}

// Items fill the first column top to bottom, then the next, below the title.
void RadioGroup::layoutItems() {
    if (buttons_.empty())
        return;
    const int rows = (count() + columns_ - 1) / columns_;
    const int top = fontMetrics().height() + 6;
    const int left = 10;
    const int columnWidth = std::max(1, (width() - 2 * left) / columns_);
    const int rowHeight = std::max(1, (height() - top - 6) / rows);
    for (int i = 0; i < count(); ++i) {
        const int column = i / rows;
        const int row = i % rows;
        buttons_[static_cast<size_t>(i)]->setGeometry(
            left + column * columnWidth, top + row * rowHeight, columnWidth - 4, rowHeight);
    }
}

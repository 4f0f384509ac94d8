#include "app/date_box_edit.h"

DateBoxEdit::DateBoxEdit(QWidget* parent, const QString& separator) : QLineEdit(parent) {
    setInputMask(maskFor(separator));
}

QString DateBoxEdit::maskFor(const QString& separator) {
    const QString sep = QStringLiteral("\\") + separator;
    return QStringLiteral("00") + sep + QStringLiteral("00") + sep + QStringLiteral("99;_");
}

QString DateBoxEdit::programText() const {
    QString text = displayText();
    text.replace(u'_', u' ');
    return text;
}

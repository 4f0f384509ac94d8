#include "platform/ui/rich_text_edit.h"

#include <QMimeData>
#include <QRegularExpression>
#include <QTextCursor>
#include <QTextDocumentFragment>

namespace {

// HTML without its pictures.
QString withoutImages(QString html) {
    static const QRegularExpression img(QStringLiteral("<img\\b[^>]*>"),
                                        QRegularExpression::CaseInsensitiveOption);
    return html.remove(img);
}

} // namespace

bool RichTextEdit::canInsertFromMimeData(const QMimeData* source) const {
    return source != nullptr && (source->hasHtml() || source->hasText());
}

void RichTextEdit::insertFromMimeData(const QMimeData* source) {
    if (source == nullptr || isReadOnly())
        return;
    if (source->hasHtml() && acceptRichText())
        textCursor().insertFragment(QTextDocumentFragment::fromHtml(withoutImages(source->html())));
    else if (source->hasText())
        textCursor().insertText(source->text());
    ensureCursorVisible();
}

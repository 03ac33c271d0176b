#include "ui/PlainText.h"

#include <QLabel>
#include <QTextDocument>

namespace ui {

QLabel* NewPlainLabel(const QString& text, QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setTextFormat(Qt::PlainText);
    label->setText(text);
    return label;
}

QString PlainToolTip(const QString& text) {
    if (!Qt::mightBeRichText(text))
        return text;
    // Escaped and kept on one line, as a plain tool tip would be.
    return QStringLiteral("<p style='white-space:pre'>") + text.toHtmlEscaped() +
           QStringLiteral("</p>");
}

} // namespace ui

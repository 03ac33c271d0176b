#pragma once

#include <QString>

class QLabel;
class QWidget;

// Stored and typed text is shown as it is, never read as markup: Qt guesses rich text from a
// leading tag, and a last name like "<img src=/dev/zero>" would make a label read that device,
// "<font size=7>" would cover the text beside it. Every label is made here.
namespace ui {

QLabel* NewPlainLabel(const QString& text, QWidget* parent);

// A tool tip that shows `text` literally (tool tips have no text format of their own).
QString PlainToolTip(const QString& text);

} // namespace ui

#include "print/QtPageWriter.h"

#include "platform/Fonts.h"

#include <QFontMetricsF>
#include <QPageLayout>
#include <QPrinter>

namespace print {

QtPageWriter::QtPageWriter(QPrinter& printer)
    : printer_(printer), dpi_(static_cast<double>(printer.resolution())) {
    // "Arial" and the like print in the free fonts of the same metrics where installed; a
    // font that is missing altogether falls back to the desktop's own.
    platform::InstallFontSubstitutes();
}

QtPageWriter::~QtPageWriter() {
    if (painter_.isActive())
        painter_.end();
}

int QtPageWriter::Width() const {
    return qRound(printer_.pageLayout().fullRect(QPageLayout::Inch).width() * 1440);
}

namespace {
bool Same(const PrintFont& a, const PrintFont& b) {
    return a.name == b.name && a.size == b.size && a.bold == b.bold && a.italic == b.italic &&
           a.underline == b.underline;
}
} // namespace

const QFont& QtPageWriter::FontFor(const PrintFont& font) const {
    if (!cachedFont_ || !Same(font, cachedFor_)) {
        QFont f(font.name);
        f.setPointSizeF(font.size);
        f.setBold(font.bold);
        f.setItalic(font.italic);
        f.setUnderline(font.underline);
        // Measured and drawn at the printer's resolution, not the screen's.
        cachedFont_.emplace(f, &printer_);
        cachedMetrics_.emplace(*cachedFont_, &printer_);
        cachedFor_ = font;
    }
    return *cachedFont_;
}

const QFontMetricsF& QtPageWriter::MetricsFor(const PrintFont& font) const {
    FontFor(font);
    return *cachedMetrics_;
}

bool QtPageWriter::Begin() {
    if (started_ || failed_)
        return !failed_;
    if (!painter_.begin(&printer_)) {
        failed_ = true;
        return false;
    }
    started_ = true;
    printed_ = true;
    return true;
}

void QtPageWriter::Draw(double x, double y, const PrintFont& font, const QString& text) {
    if (!Begin())
        return;
    painter_.setFont(FontFor(font));
    // The position is the top of the text's line; QPainter draws on the baseline.
    painter_.drawText(QPointF(x * dpi_, y * dpi_ + MetricsFor(font).ascent()), text);
}

double QtPageWriter::Measure(const PrintFont& font, const QString& text) const {
    return MetricsFor(font).horizontalAdvance(text) / dpi_;
}

double QtPageWriter::LineHeight(const PrintFont& font) const {
    return MetricsFor(font).height() / dpi_;
}

void QtPageWriter::StartNewPage() {
    if (Begin() && !printer_.newPage())
        failed_ = true;
}

void QtPageWriter::EndDocument() {
    if (!started_)
        return;
    if (!painter_.end() || printer_.printerState() == QPrinter::Error)
        failed_ = true;
    started_ = false;
}

} // namespace print

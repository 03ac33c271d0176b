#pragma once

#include "print/PageWriter.h"

#include <QFontMetricsF>
#include <QPainter>
#include <optional>

class QPrinter;

// A page writer on a QPrinter: a real printer, a PDF file or a print preview. The document
// is begun by the first text, so a printout that prints nothing sends nothing.
namespace print {

class QtPageWriter : public PageWriter {
public:
    explicit QtPageWriter(QPrinter& printer);
    ~QtPageWriter() override;

    int Width() const override;

    // Whether a document was begun, and whether the printer refused or failed.
    bool Printed() const { return printed_; }
    bool Failed() const { return failed_; }

protected:
    void Draw(double x, double y, const PrintFont& font, const QString& text) override;
    double Measure(const PrintFont& font, const QString& text) const override;
    double LineHeight(const PrintFont& font) const override;
    void StartNewPage() override;
    void EndDocument() override;

private:
    // The font at the printer's resolution, and its metrics; the last one is kept, as a
    // report measures and draws in one font for long stretches.
    const QFont& FontFor(const PrintFont& font) const;
    const QFontMetricsF& MetricsFor(const PrintFont& font) const;
    bool Begin();

    QPrinter& printer_;
    QPainter painter_;
    double dpi_;
    mutable PrintFont cachedFor_;
    mutable std::optional<QFont> cachedFont_;
    mutable std::optional<QFontMetricsF> cachedMetrics_;
    bool started_ = false; // a document is open
    bool printed_ = false;
    bool failed_ = false;
};

} // namespace print

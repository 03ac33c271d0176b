#pragma once

#include "print/PageWriter.h"

#include <QList>

// A page writer that keeps what was printed instead of printing it, for tests to read back.
// Its font metrics are fixed so that positions can be worked out by hand: every character is
// half an em wide and a line is 1.15 em high (an em being the font size in points / 72 inch).
// Runs of "_" on one line, as PrintRule draws them, are kept as rules.
namespace print {

class RecordingPageWriter : public PageWriter {
public:
    struct Text {
        int page = 0;
        double x = 0;
        double y = 0;
        PrintFont font;
        QString text;
        double right = 0; // x + its width
    };
    struct Rule {
        int page = 0;
        double y = 0;
        double fromX = 0;
        double toX = 0;
    };

    int Width() const override { return 12240; } // 8.5 inches
    static double CharWidth(double points) { return points / 72.0 / 2.0; }
    static double LineOf(double points) { return points / 72.0 * 1.15; }

    QList<Text> texts;
    QList<Rule> rules;
    int pagesStarted = 0;    // NewPage calls
    int documentsEnded = 0;  // EndDoc calls
    int textsAtLastEnd = -1; // texts printed when the last document ended

    // The texts of one page, top to bottom, in the order printed.
    QList<Text> OnPage(int page) const;
    // The first text equal to `text` (nullptr if none).
    const Text* Find(const QString& text) const;
    int PageCount() const;

protected:
    void Draw(double x, double y, const PrintFont& font, const QString& text) override;
    double Measure(const PrintFont& font, const QString& text) const override;
    double LineHeight(const PrintFont& font) const override { return LineOf(font.size); }
    void StartNewPage() override { ++pagesStarted; }
    void EndDocument() override;
};

} // namespace print

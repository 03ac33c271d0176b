#pragma once

#include <QString>

// The printed page as the report printer sees it: a current position in inches from the
// top-left corner of the printable area, a page number and one font. Text printed stays on
// its line and moves CurrentX on by its width; ending the line moves down one line of the
// current font and back to the left edge; a new page starts again at 0, 0.
//
// The position, page and font are kept here once; a device only draws, measures and turns
// pages (QtPageWriter on a printer, a PDF or a preview; RecordingPageWriter for tests).
namespace print {

struct PrintFont {
    QString name = QStringLiteral("Arial");
    double size = 9; // points
    bool bold = false;
    bool italic = false;
    bool underline = false;
};

class PageWriter {
public:
    virtual ~PageWriter() = default;

    double CurrentX() const { return x_; }
    double CurrentY() const { return y_; }
    void SetCurrentX(double inches) { x_ = inches; }
    void SetCurrentY(double inches) { y_ = inches; }
    int Page() const { return page_; }
    // The whole sheet's width in twips (1/1440 inch).
    virtual int Width() const = 0;

    const PrintFont& Font() const { return font_; }
    void SetFontName(const QString& name) { font_.name = name; }
    void SetFontSize(double points) { font_.size = points; }
    void SetFontBold(bool on) { font_.bold = on; }
    void SetFontItalic(bool on) { font_.italic = on; }
    void SetFontUnderline(bool on) { font_.underline = on; }

    // Prints `text` at the current position and stays on the line.
    void Print(const QString& text);
    void EndLine();
    // The width `text` takes in the current font, in inches.
    double TextWidth(const QString& text) const { return Measure(font_, text); }
    void NewPage();
    // Sends the document on; the next text starts a new document on page 1.
    void EndDoc();

protected:
    virtual void Draw(double x, double y, const PrintFont& font, const QString& text) = 0;
    virtual double Measure(const PrintFont& font, const QString& text) const = 0;
    virtual double LineHeight(const PrintFont& font) const = 0;
    virtual void StartNewPage() = 0;
    virtual void EndDocument() = 0;

private:
    double x_ = 0;
    double y_ = 0;
    int page_ = 1;
    PrintFont font_;
};

} // namespace print

#include "print/PageWriter.h"

namespace print {

void PageWriter::Print(const QString& text) {
    if (text.isEmpty())
        return;
    Draw(x_, y_, font_, text);
    x_ += Measure(font_, text);
}

void PageWriter::EndLine() {
    x_ = 0;
    y_ += LineHeight(font_);
}

void PageWriter::NewPage() {
    StartNewPage();
    ++page_;
    x_ = 0;
    y_ = 0;
}

void PageWriter::EndDoc() {
    EndDocument();
    page_ = 1;
    x_ = 0;
    y_ = 0;
}

} // namespace print

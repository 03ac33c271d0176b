#include "print/RecordingPageWriter.h"

#include <QtMath>

namespace print {

namespace {
bool Near(double a, double b) {
    return qAbs(a - b) < 1e-9;
}
} // namespace

void RecordingPageWriter::Draw(double x, double y, const PrintFont& font, const QString& text) {
    const double right = x + Measure(font, text);
    if (text == QStringLiteral("_")) {
        if (!rules.isEmpty()) {
            Rule& last = rules.last();
            if (last.page == Page() && Near(last.y, y) && Near(last.toX, x)) {
                last.toX = right;
                return;
            }
        }
        rules.append({Page(), y, x, right});
        return;
    }
    texts.append({Page(), x, y, font, text, right});
}

double RecordingPageWriter::Measure(const PrintFont& font, const QString& text) const {
    return CharWidth(font.size) * text.size();
}

void RecordingPageWriter::EndDocument() {
    ++documentsEnded;
    textsAtLastEnd = static_cast<int>(texts.size());
}

QList<RecordingPageWriter::Text> RecordingPageWriter::OnPage(int page) const {
    QList<Text> result;
    for (const Text& t : texts)
        if (t.page == page)
            result.append(t);
    return result;
}

const RecordingPageWriter::Text* RecordingPageWriter::Find(const QString& text) const {
    for (const Text& t : texts)
        if (t.text == text)
            return &t;
    return nullptr;
}

int RecordingPageWriter::PageCount() const {
    int pages = 0;
    for (const Text& t : texts)
        pages = qMax(pages, t.page);
    return pages;
}

} // namespace print

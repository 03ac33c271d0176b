#pragma once

#include <QString>
#include <QStringList>
#include <array>
#include <vector>

namespace search {

// Whether a typed text occurs in a stored text field, ignoring case, tested on the field's
// bytes: each byte of the code page stands for one character, folded as a text comparison
// ignoring case folds it, so no text is made for the millions of fields a search reads.
// Gives the same answer as decoding the field, trimming it and asking QString::contains
// with Qt::CaseInsensitive, for a text without blanks or NULs at either end (typed texts are
// trimmed), which cannot lie in the padding.
class FieldMatch {
public:
    explicit FieldMatch(const QString& text);

    bool Empty() const { return needle_.empty(); }

    // The characters of `text` that no field can hold in any case (not on the files' code
    // page), each once, in order: a text with any of them is found nowhere.
    static QStringList Unstorable(const QString& text);
    // An empty text is found in every field.
    bool FoundIn(const char* field, int width) const;
    // The same where the field is known to hold padding alone (blanks and NULs) from
    // `textEnd` on: only the bytes before it are looked at. Only for a text that ends in
    // neither (EndsInText), which cannot lie in padding.
    bool FoundBefore(const char* field, int textEnd, int width) const;
    bool EndsInText() const { return endsInText_; }
    int Length() const { return int(needle_.size()); }

private:
    // Found in the field's first `end` bytes; its bytes up to `width` may be read.
    bool FoundWithin(const unsigned char* bytes, std::size_t end, int width) const;
    bool RestMatches(const unsigned char* at) const; // the text after its first character
    const std::array<char16_t, 256>* folded_;        // each byte's character, folded
    std::vector<char16_t> needle_;                   // the text, folded
    std::vector<char> starts_;        // the bytes whose folded character begins the text
    std::array<bool, 256> isStart_{}; // the same, by byte
    std::vector<char> seconds_;       // the bytes whose folded character is the text's second
    // The first two of each, sixteen times over, for comparing sixteen bytes at once: a place
    // is looked at more closely only when the text's first two characters both stand there.
    alignas(16) std::array<char, 32> splat_{};
    alignas(16) std::array<char, 32> secondSplat_{};
    bool pairs_ = false;        // the second character is tested sixteen places at a time too
    bool representable_ = true; // every character of the text is on the code page
    bool endsInText_ = false;   // the text's last character is neither a blank nor a NUL
};

} // namespace search

#include "store/Codepage.h"

#include "store/FieldEnd.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace store {

namespace {

// Bytes 0x80 to 0x9F of Windows-1252. The five bytes the code page leaves undefined (0x81,
// 0x8D, 0x8F, 0x90, 0x9D) stand for the C1 control characters of the same number, so that
// every byte reads and writes back unchanged. Every other byte is its Latin-1 character.
constexpr std::array<char16_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, // 80-87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F, // 88-8F
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, // 90-97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178, // 98-9F
};

constexpr std::array<char16_t, 256> BuildTable() {
    std::array<char16_t, 256> table{};
    for (int b = 0; b < 256; ++b)
        table[b] = (b >= 0x80 && b < 0xA0) ? kHighControls[b - 0x80] : static_cast<char16_t>(b);
    return table;
}

constexpr std::array<char16_t, 256> kTable = BuildTable();

bool IsHighControlByte(unsigned char b) {
    return b >= 0x80 && b < 0xA0;
}

// Records are read by the million: the scans below look at eight bytes at a time.
quint64 Word(const char* bytes) {
    quint64 word;
    std::memcpy(&word, bytes, sizeof word);
    return word;
}

bool HasHighControlByte(const char* bytes, int length) {
    int i = 0;
    for (; i + 8 <= length; i += 8) {
        if ((Word(bytes + i) & 0x8080808080808080ULL) == 0)
            continue; // plain ASCII
        for (int k = i; k < i + 8; ++k) {
            if (IsHighControlByte(static_cast<unsigned char>(bytes[k])))
                return true;
        }
    }
    for (; i < length; ++i) {
        if (IsHighControlByte(static_cast<unsigned char>(bytes[i])))
            return true;
    }
    return false;
}

void DecodeWithTable(QChar* out, const char* bytes, int length) {
    for (int i = 0; i < length; ++i)
        out[i] = QChar(kTable[static_cast<unsigned char>(bytes[i])]);
}

void DecodeInto(QChar* out, const char* bytes, int length) {
    if (HasHighControlByte(bytes, length)) {
        DecodeWithTable(out, bytes, length);
        return;
    }
    for (int i = 0; i < length; ++i)
        out[i] = QChar(static_cast<unsigned char>(bytes[i]));
}

// The byte for one character of the Basic Multilingual Plane, or '?' when the page lacks it.
char ByteFor(char16_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return static_cast<char>(c);
    for (int i = 0; i < 32; ++i) {
        if (kHighControls[i] == c)
            return static_cast<char>(0x80 + i);
    }
    return '?';
}

} // namespace

bool InCodepage(QChar c) {
    return c == u'?' || ByteFor(c.unicode()) != '?';
}

QString KeepCodepage(const QString& text) {
    QString kept;
    kept.reserve(text.size());
    for (const QChar c : text) {
        if (InCodepage(c))
            kept += c;
    }
    return kept;
}

QString FirstOutsideCodepage(const QString& text) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (InCodepage(text[i]))
            continue;
        const bool pair = text[i].isHighSurrogate() && i + 1 < text.size();
        return text.mid(i, pair ? 2 : 1);
    }
    return QString();
}

QStringList OutsideCodepageLines(const QString& character) {
    return {character + QStringLiteral(" cannot be stored;"),
            QStringLiteral("the files hold Western"), QStringLiteral("European letters only")};
}

QString OutsideCodepageReason(const QString& character) {
    return OutsideCodepageLines(character).join(u' ');
}

namespace {

bool IsPadding(QChar c) {
    return c == QLatin1Char(' ') || c.unicode() == 0;
}

} // namespace

int PaddedEnd(const char* bytes, int width) {
    return width > 0 ? int(FieldTextEnd(bytes, std::size_t(width))) : 0;
}

namespace {

// Encodes at most `limit` characters of `text` into `out`; returns the number of bytes written.
// A surrogate pair is one character and becomes one '?'.
int EncodeInto(const QString& text, char* out, int limit) {
    int written = 0;
    const qsizetype size = text.size();
    for (qsizetype i = 0; i < size && written < limit; ++i) {
        const QChar c = text.at(i);
        if (c.isHighSurrogate() && i + 1 < size && text.at(i + 1).isLowSurrogate()) {
            out[written++] = '?';
            ++i;
        } else if (c.isSurrogate()) {
            out[written++] = '?';
        } else {
            out[written++] = ByteFor(c.unicode());
        }
    }
    return written;
}

} // namespace

QString DecodeAnsi(const char* bytes, int length) {
    if (length <= 0)
        return QString();
    // Outside 0x80-0x9F the page is Latin-1, which Qt converts fastest.
    if (!HasHighControlByte(bytes, length))
        return QString::fromLatin1(bytes, length);
    QString text(length, Qt::Uninitialized);
    DecodeWithTable(text.data(), bytes, length);
    return text;
}

QByteArray EncodeAnsi(const QString& text) {
    QByteArray bytes(text.size(), Qt::Uninitialized);
    bytes.truncate(EncodeInto(text, bytes.data(), static_cast<int>(text.size())));
    return bytes;
}

QByteArray EncodeField(const QString& text, int width) {
    QByteArray bytes(width, ' ');
    EncodeInto(text, bytes.data(), width);
    return bytes;
}

QString DecodeField(const char* bytes, int width) {
    return DecodeAnsi(bytes, PaddedEnd(bytes, width));
}

void DecodeFieldInto(QString& text, const char* bytes, int width) {
    const int length = PaddedEnd(bytes, width);
    text.resize(length); // keeps the storage it has when that is large enough
    if (length > 0)
        DecodeInto(text.data(), bytes, length);
}

void AppendShownField(QString& out, const char* bytes, int width) {
    const qsizetype start = out.size();
    const int length = PaddedEnd(bytes, width);
    if (length == 0)
        return;
    out.resize(start + length);
    QChar* text = out.data() + start;
    DecodeInto(text, bytes, length);
    qsizetype end = length;
    while (end > 0 && text[end - 1].isSpace())
        --end;
    qsizetype begin = 0;
    while (begin < end && text[begin].isSpace())
        ++begin;
    if (begin > 0)
        std::copy(text + begin, text + end, text);
    out.truncate(start + end - begin);
}

QString TrimField(const QString& text) {
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && IsPadding(text.at(begin)))
        ++begin;
    while (end > begin && IsPadding(text.at(end - 1)))
        --end;
    return text.mid(begin, end - begin);
}

} // namespace store

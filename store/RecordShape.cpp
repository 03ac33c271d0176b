#include "store/RecordShape.h"

#include <QtEndian>
#include <cmath>

namespace store {

namespace {

constexpr double kFirstDay = -657434.0;    // 1 January 100
constexpr double kPastLastDay = 2958466.0; // 1 January 10000
constexpr double kSecondsPerDay = 86400.0;

double DateAt(const char* bytes, int offset) {
    return qFromLittleEndian<double>(bytes + offset);
}

// A date as a record may hold it: in the calendar's range, or not a number at all (damaged
// but real). Text read as a number mostly gives tiny or huge values.
bool IsDateLike(double value) {
    if (!std::isfinite(value))
        return true;
    if (value == 0.0)
        return true;
    return std::fabs(value) >= 1.0 / kSecondsPerDay && value >= kFirstDay && value < kPastLastDay;
}

// A creation stamp, or a key that copies one: always set, and a whole second.
bool IsStampLike(double value) {
    if (!std::isfinite(value))
        return true;
    if (value == 0.0 || !IsDateLike(value))
        return false;
    const double seconds = value * kSecondsPerDay;
    return std::fabs(seconds - std::round(seconds)) < 1e-3;
}

// Single-line text padded with blanks, or never assigned (NULs after the text only).
bool IsTextLike(const char* bytes, int offset, int width) {
    bool padding = false;
    for (int i = offset; i < offset + width; ++i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        if (b == 0) {
            padding = true;
            continue;
        }
        if (padding || b < 0x20 || b == 0x7F)
            return false;
    }
    return true;
}

// A mandatory text: text-like with at least one character that is not padding.
bool IsFilledText(const char* bytes, int offset, int width) {
    if (!IsTextLike(bytes, offset, width))
        return false;
    for (int i = offset; i < offset + width; ++i) {
        if (bytes[i] != ' ' && bytes[i] != '\0')
            return true;
    }
    return false;
}

} // namespace

bool LooksLikeRecordOf(DataFile file, const char* b) {
    switch (file) {
    case DataFile::UserList:
        return IsStampLike(DateAt(b, 0)) && IsFilledText(b, 8, 15) && IsTextLike(b, 23, 20) &&
               IsTextLike(b, 43, 16);
    case DataFile::NameList:
        return IsStampLike(DateAt(b, 0)) && IsFilledText(b, 8, 15) && IsTextLike(b, 23, 15) &&
               IsTextLike(b, 38, 20) && IsTextLike(b, 58, 30) && IsTextLike(b, 88, 20);
    case DataFile::CourseIndex:
        // Bytes 8 to 15 tell a course from a training record: a code, not a person's key.
        return IsStampLike(DateAt(b, 0)) && IsFilledText(b, 8, 8) && !IsStampLike(DateAt(b, 8)) &&
               IsTextLike(b, 16, 50) && IsTextLike(b, 66, 30);
    case DataFile::TrainingRecords:
        break;
    }
    return IsDateLike(DateAt(b, 0)) && IsStampLike(DateAt(b, 8)) && IsStampLike(DateAt(b, 16)) &&
           IsFilledText(b, 24, 8) && IsTextLike(b, 32, 50) && IsTextLike(b, 82, 30);
}

} // namespace store

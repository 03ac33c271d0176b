#pragma once

#include "store/Formats.h"

#include <QString>
#include <cmath>

namespace store {

// Whether a training record's CourseKey names the course created at `courseKey`: the text
// forms of the two keys are equal. Equal numbers always are; different numbers only when they
// agree to the 15 digits of the text, so the text is made only for keys that close. The
// update of a course's copies and every list of a course's credits ask it alike.
class CourseKeyMatch {
public:
    explicit CourseKeyMatch(double courseKey)
        : key_(courseKey), near_(std::abs(courseKey) * 1e-13),
          text_(formats::DoubleText(courseKey)) {}
    bool operator()(double recordKey) const {
        // One test turns away the keys of other courses; equal keys pass it.
        if (!(std::abs(recordKey - key_) <= near_))
            return false;
        return recordKey == key_ || formats::DoubleText(recordKey) == text_;
    }
    double Key() const { return key_; }
    // Keys farther than this from the course's differ in their text.
    double Near() const { return near_; }

private:
    double key_;
    double near_;
    QString text_;
};

} // namespace store

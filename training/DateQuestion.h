#pragma once

#include "training/TrainingDate.h"

#include <QDate>
#include <QString>
#include <optional>

// The one way a typed training date is accepted, wherever it is typed: read as ReadTypedDate
// reads it and, when it may be mistyped (no year, or outside 1955 to the end of next year),
// shown written out under "Is this date right?" before anything is stored.
namespace training {

struct DateAnswer {
    std::optional<TypedDate> typed; // nothing: the text is no date, and nothing was asked
    bool confirmed = false;         // the date may be stored: beyond doubt, or the user said so

    // The date to store; nothing when the text is no date or the user wants to change it.
    std::optional<double> Value() const {
        return confirmed ? std::optional<double>(typed->value) : std::nullopt;
    }
};

// Reads `text` against the clock's `today` and asks about a doubtful date.
DateAnswer ConfirmTypedDate(const QString& text, const QDate& today);

} // namespace training

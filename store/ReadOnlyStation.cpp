#include "store/ReadOnlyStation.h"

namespace store {

namespace {
struct Station {
    bool readOnly = false;
    QString heldBy;
};
Station& This() {
    static Station station;
    return station;
}
} // namespace

void SetReadOnlyStation(bool readOnly, const QString& heldBy) {
    This() = {readOnly, readOnly ? heldBy : QString()};
}

bool IsReadOnlyStation() {
    return This().readOnly;
}

QString ReadOnlyStationHeldBy() {
    return This().heldBy;
}

QString ReadOnlyStationReason() {
    return QStringLiteral("Another station holds the data folder; this one only reads it, so "
                          "nothing was saved.");
}

} // namespace store

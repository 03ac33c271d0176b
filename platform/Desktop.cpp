#include "platform/Desktop.h"

#include <QDesktopServices>
#include <utility>

namespace platform {

namespace {
TargetOpener& Opener() {
    static TargetOpener opener;
    return opener;
}
} // namespace

bool OpenTarget(const QUrl& target) {
    if (!target.isValid())
        return false;
    const TargetOpener opener = Opener();
    return opener ? opener(target) : QDesktopServices::openUrl(target);
}

void SetTargetOpener(TargetOpener opener) {
    Opener() = std::move(opener);
}

} // namespace platform

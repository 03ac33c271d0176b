#pragma once

#include <QString>

// "Mirtavel": the title used in window captions and messages.
inline QString AppTitle() {
    return QStringLiteral("Mirtavel");
}

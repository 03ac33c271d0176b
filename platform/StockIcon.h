#pragma once

#include <QPixmap>

namespace platform {

enum class StockIconKind { Application, Stop, Question, Exclamation, Information };

// The system's stock icon of `kind`, 32 by 32 pixels.
QPixmap StockIcon(StockIconKind kind);

} // namespace platform

#pragma once

#include <QString>

namespace ui {

// The line break of the program's own buttons, messages and texts: CR LF, as the data files
// and the printouts have it.
inline const QString CrLf = QStringLiteral("\r\n");

} // namespace ui

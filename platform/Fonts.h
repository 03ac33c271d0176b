#pragma once

#include <QFont>
#include <QString>

// The windows name the fonts they were designed with (Tahoma, Verdana, Arial, Arial Narrow,
// MS Sans Serif); these are mapped to free fonts of similar metrics.
namespace platform {

// Registers the substitutes once; called at start, harmless when called again.
void InstallFontSubstitutes();

// A font as the designs give it: family and size in points, e.g. ("Tahoma", 9.75).
QFont DesignFont(const QString& family, double points, bool bold = false);

} // namespace platform

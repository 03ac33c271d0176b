#pragma once

#include <QString>

class QWidget;

namespace backup {

// Lets the user choose a folder, with `prompt` (lines separated by CR LF) as its title,
// starting in `startFolder`; returns the folder's path (a root ends in a separator, other
// folders do not), or an empty text when the user cancels. Asked through the question seam,
// so tests answer it.
QString BrowseForFolder(QWidget* owner, const QString& prompt,
                        const QString& startFolder = QString());

} // namespace backup

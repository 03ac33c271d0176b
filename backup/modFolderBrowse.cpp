#include "backup/modFolderBrowse.h"

#include "platform/StandardDialogs.h"

namespace backup {

QString BrowseForFolder(QWidget* owner, const QString& prompt, const QString& startFolder) {
    const QString path = platform::PickFolder(prompt, owner, startFolder);
    // A path is never more than what comes before a NUL character.
    const qsizetype end = path.indexOf(QChar(u'\0'));
    return end < 0 ? path : path.left(end);
}

} // namespace backup

#include "lobby/StationWatch.h"

#include "platform/Twips.h"
#include "store/DataSet.h"
#include "store/ReadOnlyStation.h"
#include "ui/AppTitle.h"
#include "ui/PlainText.h"

#include <QAccessible>
#include <QDir>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QLabel>
#include <QTimer>

namespace lobby {

QLabel* MakeStationNotice(QWidget* parent) {
    if (!store::IsReadOnlyStation())
        return nullptr;
    const QString holder = store::ReadOnlyStationHeldBy();
    const QString text =
        (holder.isEmpty() ? QStringLiteral("Read only: another program holds the data folder.")
                          : QStringLiteral("Read only: the data folder is in use by ") + holder +
                                QStringLiteral(".")) +
        QStringLiteral(" Nothing can be changed here.");
    auto* notice = ui::NewPlainLabel(text, parent); // the holder comes from the lock file
    notice->setWordWrap(true);
    QFont font = notice->font();
    font.setBold(true);
    notice->setFont(font);
    QPalette ink = notice->palette();
    ink.setColor(QPalette::WindowText, QColor(128, 0, 0));
    notice->setPalette(ink);
    notice->setAccessibleName(QStringLiteral("Read only station"));
    notice->setAccessibleDescription(text);
    platform::PlaceTwips(notice, 4440, 90, 3480, 720);
    return notice;
}

void AnnounceStationNotice(QLabel* notice) {
    if (!notice || !QAccessible::isActive())
        return;
    QAccessibleEvent alert(notice, QAccessible::Alert);
    QAccessible::updateAccessibility(&alert);
}

DataFilesWatch::DataFilesWatch(std::function<void()> changed, QObject* parent)
    : QObject(parent), changed_(std::move(changed)), watcher_(new QFileSystemWatcher(this)),
      quiet_(new QTimer(this)) {
    quiet_->setSingleShot(true);
    quiet_->setInterval(QuietMs);
    connect(quiet_, &QTimer::timeout, this, [this] { changed_(); });
    for (const QString& name : store::DataSetFileNames())
        files_ << QDir::current().absoluteFilePath(name);
    // The folder tells of files made, removed and renamed; each file of its own changes.
    watcher_->addPath(QDir::currentPath());
    WatchFiles();
    connect(watcher_, &QFileSystemWatcher::directoryChanged, this, &DataFilesWatch::Seen);
    connect(watcher_, &QFileSystemWatcher::fileChanged, this, &DataFilesWatch::Seen);
}

void DataFilesWatch::WatchFiles() {
    const QStringList watched = watcher_->files();
    for (const QString& file : std::as_const(files_)) {
        if (!watched.contains(file) && QFileInfo::exists(file))
            watcher_->addPath(file);
    }
}

void DataFilesWatch::Seen() {
    WatchFiles();
    quiet_->start();
}

void DataFilesWatch::Later() {
    quiet_->start();
}

} // namespace lobby

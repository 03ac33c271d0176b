#pragma once

#include <QObject>
#include <QStringList>
#include <functional>

class QFileSystemWatcher;
class QLabel;
class QTimer;
class QWidget;

// What a read-only station (another program holds the data folder) shows and does in the
// Lobby: a line that says so and names the holder, and lists that follow the files as the
// holder changes them.
namespace lobby {

// The notice line on `parent`, made only on a read-only station (nullptr otherwise). It is
// named for screen readers, which are told of it once the window shows.
QLabel* MakeStationNotice(QWidget* parent);
void AnnounceStationNotice(QLabel* notice);

// Watches the data files in the data folder; `changed` runs once they have been still for a
// moment, so that a unit of work that writes many records refreshes the lists once. A file
// replaced whole (a removal, a restore) is watched again under its name.
class DataFilesWatch : public QObject {
    Q_OBJECT

public:
    static constexpr int QuietMs = 500;

    DataFilesWatch(std::function<void()> changed, QObject* parent = nullptr);
    // Runs `changed` again after the next quiet moment: for a Lobby that was busy.
    void Later();

private:
    void Seen();
    void WatchFiles();

    std::function<void()> changed_;
    QFileSystemWatcher* watcher_;
    QTimer* quiet_;
    QStringList files_;
};

} // namespace lobby

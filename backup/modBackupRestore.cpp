#include "backup/modBackupRestore.h"

#include "backup/BackupPlace.h"
#include "backup/modFolderBrowse.h"
#include "forms/Permits.h"
#include "platform/BusyCursor.h"
#include "platform/Events.h"
#include "platform/StandardDialogs.h"
#include "store/DataBackup.h"
#include "store/DataRestore.h"
#include "store/DataSet.h"
#include "store/FileCopy.h"
#include "ui/AppTitle.h"
#include "ui/modMsgBox.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>
#include <QWidget>
#include <algorithm>

namespace backup {

namespace {

const QString kOkay = QStringLiteral("&Okay");

int Say(const QString& title, int icon, const QStringList& lines, int defaultButton = 1,
        const QStringList& buttons = {kOkay}) {
    return ShowMessage(title, icon, lines.join(QStringLiteral("\r\n")), defaultButton, false,
                       buttons);
}

QString MarkerName() {
    return store::FileNameOf(store::DataFile::UserList);
}

QString Quoted(const QString& folder) {
    return u'\'' + folder + u'\'';
}

QString WithSeparator(const QString& folder) {
    return folder.endsWith(u'/') ? folder : folder + u'/';
}

bool Accessible(const QString& folder) {
    const QFileInfo info(folder);
    return info.isDir() && info.isReadable() && info.isExecutable();
}

// While files are copied the window is disabled under the hourglass and its caption names
// the file being copied; everything is as before once it ends.
class Copying {
public:
    explicit Copying(QWidget& window) : window_(window), caption_(window.windowTitle()) {
        window_.setEnabled(false);
    }
    ~Copying() {
        window_.setWindowTitle(caption_);
        window_.setEnabled(true);
        window_.repaint();
    }
    Copying(const Copying&) = delete;
    Copying& operator=(const Copying&) = delete;

    void Show(const QString& caption) {
        window_.setWindowTitle(caption);
        window_.repaint();
        platform::DoEvents();
    }

private:
    QWidget& window_;
    QString caption_;
    platform::BusyCursor busy_;
};

// The backups a folder holds in dated folders of their own, newest first.
QStringList DatedBackups(const QString& folder) {
    struct Dated {
        QString name;
        QDateTime when;
        int number = 1;
    };
    QList<Dated> found;
    const QDir dir(folder);
    for (const QString& name : dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        Dated dated{name, {}, 1};
        if (store::IsBackupFolderName(name, &dated.when, &dated.number) &&
            QFileInfo(QDir(dir.filePath(name)).filePath(MarkerName())).isFile())
            found.append(dated);
    }
    std::sort(found.begin(), found.end(), [](const Dated& a, const Dated& b) {
        return a.when != b.when ? a.when > b.when : a.number > b.number;
    });
    QStringList names;
    for (const Dated& dated : std::as_const(found))
        names.append(dated.name);
    return names;
}

QString TimeText(const QDateTime& time) {
    return time.toString(QStringLiteral("yyyy-MM-dd HH:mm"));
}

// What the check of the backup found and what it lacks, for the question that asks whether
// to restore it all the same.
QStringList Problems(const store::RestoreReview& review) {
    QStringList lines;
    if (!review.lacks.isEmpty()) {
        lines << QStringLiteral("It does not hold these files, which your data folder has:");
        for (const QString& name : review.lacks)
            lines << QStringLiteral("    ") + name;
        lines << QString();
    }
    if (review.findingCount > 0) {
        lines << QStringLiteral("Checking its files found:");
        for (const store::RestoreFinding& finding : review.findings)
            lines << QStringLiteral("    ") + finding.line;
        if (review.findingCount > review.findings.size())
            lines << QStringLiteral("    ... and %1 more.")
                         .arg(review.findingCount - review.findings.size());
        lines << QString();
    }
    return lines;
}

// Asks before anything is replaced. A whole and sound backup asks only when there are
// current data to replace; one with problems always asks, and names them.
bool AgreesToRestore(const QString& folder, const store::RestoreReview& review) {
    const QStringList about = {
        QStringLiteral("Backup folder: ") + Quoted(folder),
        QStringLiteral("Backup made: ") + TimeText(review.backupTime),
        QStringLiteral("Files replaced: ") +
            (review.replaced.isEmpty() ? QStringLiteral("none") : review.replaced.join(u", "))};
    if (!review.Clean()) {
        return Say(QStringLiteral("Problems found in the backup"), 4,
                   QStringList{QStringLiteral("The backup you chose is not whole or not sound."),
                               QString()} +
                       Problems(review) + about +
                       QStringList{QString(),
                                   QStringLiteral("A file the backup lacks is moved "
                                                  "out of the data folder as well."),
                                   QString(),
                                   QStringLiteral("Do you wish to restore it all the same?")},
                   2,
                   {QStringLiteral("&Yes, restore it all the same"),
                    QStringLiteral("&No, cancel this restore")}) == 1;
    }
    if (!QFileInfo(MarkerName()).isFile())
        return true; // no current data to replace
    return Say(QStringLiteral("Important! Please read carefully..."), 4,
               QStringList{QStringLiteral("Note:"), QString(),
                           QStringLiteral("You are about to replace your current data files"),
                           QStringLiteral("with previously made backup data files."), QString()} +
                   about +
                   QStringList{
                       QString(), QStringLiteral("Once completed, this action can not be undone."),
                       QString(), QStringLiteral("Are you sure you are ready to continue?")},
               2, {QStringLiteral("&Yes, continue"), QStringLiteral("&No, do NOT contintue")}) == 1;
}

} // namespace

void BackupDataFiles(QWidget& window, const Session& session) {
    if (!forms::MayWrite(session, forms::Action::BackupRestore))
        return;
    const QString title = AppTitle();
    const QString chosen =
        BrowseForFolder(&window,
                        QStringLiteral("Select a disk/drive/folder to copy (backup)\r\nyour ") +
                            title + QStringLiteral(" data files to..."),
                        BackupStartFolder());
    if (chosen.isEmpty())
        return;
    const QString cancelled = QStringLiteral("The backup process has been cancelled");
    QString status;
    const QString folder = WithSeparator(chosen);

    if (store::filecopy::SameFolder(chosen, QDir::currentPath())) {
        Say(QStringLiteral("What are you doing?"), 2,
            {QStringLiteral("You can't backup"), title + QStringLiteral(" data"),
             QStringLiteral("to itself in the same folder!")});
        status = cancelled;
    } else if (!Accessible(folder)) {
        Say(QStringLiteral("Drive or Folder Access Problem"), 4,
            {QStringLiteral("There is some kind of problem trying to"),
             QStringLiteral("access the selected backup location"),
             QStringLiteral("that you specified...")});
        status = cancelled;
    } else {
        const QDir dir(folder);
        const bool foreign = !dir.entryList(QDir::Files).isEmpty() &&
                             !QFileInfo(dir.filePath(MarkerName())).isFile();
        const int answer =
            foreign
                ? Say(QStringLiteral("Caution!"), 4,
                      {QStringLiteral("The data backup location you selected,"), QString(),
                       Quoted(folder), QString(),
                       QStringLiteral("contains files not related to ") + title +
                           QStringLiteral("!"),
                       QStringLiteral("Are you sure you wish to continue with this backup?")},
                      2,
                      {QStringLiteral("&Yes, continue"), QStringLiteral("&No, cancel this backup")})
                : Say(QStringLiteral("Ready to backup data files..."), 3,
                      {QStringLiteral("You have selected"), QString(), Quoted(folder), QString(),
                       QStringLiteral("as your data backup location."),
                       QStringLiteral("Do you wish to continue?")},
                      2,
                      {QStringLiteral("&Yes, backup the data"),
                       QStringLiteral("&No, cancel this backup")});
        if (answer != 1)
            status = cancelled;
    }

    QString made;
    if (status.isEmpty()) {
        store::StoreResult copied;
        {
            Copying copying(window);
            copied = store::BackupIntoNewFolder(
                folder, store::BackupFileNames(),
                [&](const QString& name) { copying.Show(QStringLiteral("Copying ") + name); },
                &made);
        }
        if (!copied) {
            Say(QStringLiteral("File Backup Error"), 2,
                {QStringLiteral("There is some kind of problem"),
                 QStringLiteral("trying to copy ") + copied.fileName(), QString(),
                 copied.reason()});
            status = cancelled;
        }
    }

    if (!status.isEmpty()) {
        Say(QStringLiteral("Cancel Backup"), 2, {status});
        return;
    }
    RememberBackup(chosen);
    Say(QStringLiteral("Backup Successful!"), 5,
        {QStringLiteral("Your current ") + title + QStringLiteral(" data files"),
         QStringLiteral("have been successfully backed up!"), QString(),
         QStringLiteral("Each copy was read back and verified"),
         QStringLiteral("to be the same as its data file."), QString(),
         QStringLiteral("The copies are in the folder"), Quoted(made)});
}

bool RestoreDataFiles(QWidget& window, const Session& session) {
    if (!forms::MayWrite(session, forms::Action::BackupRestore))
        return false;
    const QString title = AppTitle();
    const QString chosen =
        BrowseForFolder(&window,
                        QStringLiteral("Select the disk/drive/folder that contains your\r\n"
                                       "previously backed up ") +
                            title + QStringLiteral(" data files\r\nthat you wish to restore..."),
                        BackupStartFolder());
    if (chosen.isEmpty())
        return false;
    const QString cancelled = QStringLiteral("The restore process has been cancelled");
    QString status;
    QString folder = WithSeparator(chosen);
    const store::StoreResult unsettled = store::UnsettledWork();

    if (store::filecopy::SameFolder(chosen, QDir::currentPath())) {
        Say(QStringLiteral("What are you doing?"), 2,
            {QStringLiteral("You can't restore"), title + QStringLiteral(" data"),
             QStringLiteral("to itself in the same folder!")});
        status = cancelled;
    } else if (!Accessible(folder)) {
        Say(QStringLiteral("Drive or Folder Access Problem"), 4,
            {QStringLiteral("There is some kind of problem trying to"),
             QStringLiteral("access the backed up data files at"),
             QStringLiteral("the location that you specified.")});
        status = cancelled;
    } else if (!QFileInfo(QDir(folder).filePath(MarkerName())).isFile()) {
        // Backups in dated folders of their own: the user picks one, newest first.
        const QStringList dated = DatedBackups(folder);
        if (dated.isEmpty()) {
            Say(QStringLiteral("Required file(s) missing"), 2,
                {Quoted(folder), QStringLiteral("doesn't appear to contain previously saved"),
                 QStringLiteral("backup data file(s) you need to restore"),
                 QStringLiteral("your ") + title + QStringLiteral(" data.")});
            status = cancelled;
        } else {
            const int picked = platform::ChooseItem(
                QStringLiteral("Choose a backup to restore"),
                QStringLiteral("The folder ") + Quoted(folder) +
                    QStringLiteral("\r\nholds these backups, the newest first.\r\n"
                                   "Which one do you wish to restore?"),
                dated, &window);
            if (picked < 0)
                status = cancelled;
            else
                folder = WithSeparator(QDir(folder).filePath(dated.at(picked)));
        }
    }
    if (status.isEmpty() && !unsettled) {
        // Copying over the data files now could lose what the interrupted work left there.
        Say(QStringLiteral("Restore not possible now"), 2,
            {Quoted(unsettled.fileName()) + QStringLiteral(" is in the data folder."),
             unsettled.reason(), QString(),
             QStringLiteral("Please quit ") + title + QStringLiteral(" and start it again,"),
             QStringLiteral("so that it is settled before you restore.")});
        status = cancelled;
    }

    store::RestoreRun run;
    const auto failed = [&](const store::StoreResult& result, bool decided) {
        Say(QStringLiteral("File Restore Error"), 2,
            {QStringLiteral("There is some kind of problem"),
             QStringLiteral("trying to restore ") + result.fileName(), QString(), result.reason(),
             QString(),
             decided ? QStringLiteral("The restore is finished when ") + title +
                           QStringLiteral(" starts the next time.")
                     : QStringLiteral("Your current data files were not changed.")});
        status = cancelled;
    };
    if (status.isEmpty()) {
        store::StoreResult staged;
        {
            Copying copying(window);
            staged = run.Stage(folder, store::DataSetFileNames(), [&](const QString& name) {
                copying.Show(QStringLiteral("Restoring ") + name);
            });
        }
        if (!staged)
            failed(staged, false);
        else if (!AgreesToRestore(folder, run.Review()))
            status = cancelled;
    }
    QString kept;
    if (status.isEmpty()) {
        store::StoreResult restored;
        {
            Copying copying(window);
            restored = run.Commit(&kept);
        }
        if (!restored)
            failed(restored, store::RestoreSwapState() != store::SwapState::None);
    }

    if (!status.isEmpty()) {
        Say(QStringLiteral("Cancel Restore..."), 2, {status});
        return false;
    }
    QStringList lines = {QStringLiteral("Your previously backed up ") + title +
                             QStringLiteral(" data files"),
                         QStringLiteral("has been successfully restored!")};
    if (!kept.isEmpty())
        lines << QString() << QStringLiteral("The data files it replaced are kept in the folder")
              << Quoted(kept)
              << QStringLiteral("inside the ") + title + QStringLiteral(" data folder.");
    Say(QStringLiteral("Successfully restored data!"), 4, lines);
    return true;
}

} // namespace backup

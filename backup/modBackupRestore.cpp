#include "backup/modBackupRestore.h"

#include "backup/modFolderBrowse.h"
#include "platform/BusyCursor.h"
#include "platform/Events.h"
#include "store/DataBackup.h"
#include "store/DataRestore.h"
#include "store/FileCopy.h"
#include "store/Removal.h"
#include "ui/Globals.h"
#include "ui/modMsgBox.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>
#include <QWidget>

namespace backup {

namespace {

const QString kOkay = QStringLiteral("&Okay");

int Say(const QString& title, int icon, const QStringList& lines, int defaultButton = 1,
        const QStringList& buttons = {kOkay}) {
    return ShowMessage(title, icon, lines.join(QStringLiteral("\r\n")), defaultButton, false,
                       buttons);
}

QStringList DataFileNames() {
    return Globals().DataFileNames.mid(1);
}

QString MarkerName() {
    return Globals().DataFileNames.value(1);
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

// A removal's or a restore's leftover that must be settled (at the next start) first.
QString UnsettledLeftover() {
    for (const QString& name :
         {store::TempFileName, store::RestoreStagingName, store::RestoreSwapName}) {
        const QFileInfo info(name);
        if (info.exists() || info.isSymLink())
            return name;
    }
    return QString();
}

} // namespace

void BackupDataFiles(QWidget& window) {
    const QString title = AppTitle();
    const QString chosen = BrowseForFolder(
        &window, QStringLiteral("Select a disk/drive/folder to copy (backup)\r\nyour ") + title +
                     QStringLiteral(" data files to..."));
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

    if (status.isEmpty()) {
        store::StoreResult copied;
        {
            Copying copying(window);
            copied = store::BackupDataSet(folder, DataFileNames(), [&](const QString& name) {
                copying.Show(QStringLiteral("Copying ") + name);
            });
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
    Say(QStringLiteral("Backup Successful!"), 5,
        {QStringLiteral("Your current ") + title + QStringLiteral(" data files"),
         QStringLiteral("have been successfully backed up!")});
}

bool RestoreDataFiles(QWidget& window) {
    const QString title = AppTitle();
    const QString chosen = BrowseForFolder(
        &window, QStringLiteral("Select the disk/drive/folder that contains your\r\n"
                                "previously backed up ") +
                     title + QStringLiteral(" data files\r\nthat you wish to restore..."));
    if (chosen.isEmpty())
        return false;
    const QString cancelled = QStringLiteral("The restore process has been cancelled");
    QString status;
    const QString folder = WithSeparator(chosen);
    const QString leftover = UnsettledLeftover();

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
        Say(QStringLiteral("Required file(s) missing"), 2,
            {Quoted(folder), QStringLiteral("doesn't appear to contain previously saved"),
             QStringLiteral("backup data file(s) you need to restore"),
             QStringLiteral("your ") + title + QStringLiteral(" data.")});
        status = cancelled;
    } else if (!leftover.isEmpty()) {
        // Copying over the data files now could lose what an interrupted removal left there.
        Say(QStringLiteral("Restore not possible now"), 2,
            {QStringLiteral("An interrupted removal or restore has left"), Quoted(leftover),
             QStringLiteral("in the data folder."), QString(),
             QStringLiteral("Please quit ") + title + QStringLiteral(" and start it again,"),
             QStringLiteral("so that it is settled before you restore.")});
        status = cancelled;
    } else if (QFileInfo(MarkerName()).isFile()) {
        const int answer =
            Say(QStringLiteral("Important! Please read carefully..."), 4,
                {QStringLiteral("Note:"), QString(),
                 QStringLiteral("You are about to replace your current data files"),
                 QStringLiteral("with previously made backup data files."), QString(),
                 QStringLiteral("Once completed, this action can not be undone."), QString(),
                 QStringLiteral("Are you sure you are ready to continue?")},
                2, {QStringLiteral("&Yes, continue"), QStringLiteral("&No, do NOT contintue")});
        if (answer != 1)
            status = cancelled;
    }

    QString kept;
    if (status.isEmpty()) {
        store::StoreResult restored;
        {
            Copying copying(window);
            restored = store::RestoreDataSet(
                folder, DataFileNames(),
                [&](const QString& name) { copying.Show(QStringLiteral("Restoring ") + name); },
                &kept);
        }
        if (!restored) {
            Say(QStringLiteral("File Restore Error"), 2,
                {QStringLiteral("There is some kind of problem"),
                 QStringLiteral("trying to restore ") + restored.fileName(), QString(),
                 restored.reason(), QString(),
                 QStringLiteral("Your current data files were not changed.")});
            status = cancelled;
        }
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

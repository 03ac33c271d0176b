// Backup and restore as the Lobby runs them: the questions, messages, caption and outcome.

#include "backup/BackupPlace.h"
#include "backup/modBackupRestore.h"
#include "lobby/test_lobby_data.h"
#include "platform/Settings.h"
#include "store/ChangeLog.h"
#include "store/DataRestore.h"
#include "store/PersonTraining.h"
#include "store/RecordFile.h"
#include "store/Removal.h"
#include "support/ScriptedAnswers.h"
#include "support/TestFolder.h"
#include "ui/AppTitle.h"
#include "ui/FlexGrid.h"

#include <QAction>
#include <QDir>
#include <QEvent>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>

using namespace lobbytest;

namespace {

const QString kCaption = QStringLiteral("The Lobby");

QStringList Files(const QString& folder) {
    store::changelog::Settle(); // a write's done journal goes once its lines are synced
    return QDir(folder).entryList(QDir::Files, QDir::Name);
}

QByteArray Bytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void Write(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

// The window the operations run on; it remembers every caption it showed and whether it
// was enabled then.
class Window : public QWidget {
public:
    Window() { setWindowTitle(kCaption); }
    QStringList captions;

protected:
    void changeEvent(QEvent* event) override {
        if (event->type() == QEvent::WindowTitleChange && windowTitle() != kCaption)
            captions.append(windowTitle() + (isEnabled() ? QString() : QStringLiteral(" (off)")));
        QWidget::changeEvent(event);
    }
};

// A data folder with the four record files (and User.Log unless told) and a backup folder.
struct Setup {
    TestFolder data;
    QTemporaryDir backup;
    Window window;
    explicit Setup(bool withLog = true) {
        SignIn(4); // backup and restore need the full level
        WriteUser();
        WritePersons({{"Ann", "Lee"}, {"Bob", "Moe"}});
        WriteCourses({{"FIR-0010", "Handgun", 8}});
        WriteTrainings(1, StampOf(1001));
        if (withLog)
            Write(QStringLiteral("User.Log"), "03/15/2024 at 10:30:00 - in\r\n");
    }
    QString backupPath() const { return backup.path() + u'/'; }
    // A backup as the program makes it: the data files as they are now.
    void copyDataTo(const QString& folder) const {
        QDir().mkpath(folder);
        for (const QString& name : Files(data.path()))
            QFile::copy(name, QDir(folder).filePath(name));
    }
};

const QString kDated = QStringLiteral("Mirtavel backup 2024-03-15 10-30");

QString Joined(const ScriptedAnswers::Asked& asked) {
    return asked.lines.join(u'\n');
}

} // namespace

class TestBackup : public QObject {
    Q_OBJECT

private slots:
    void ownFolderIsRefused_data() {
        QTest::addColumn<bool>("restore");
        QTest::addColumn<QString>("how");
        for (bool restore : {false, true}) {
            for (const char* how : {"path", "trailing separator", "link"})
                QTest::addRow("%s, %s", restore ? "restore" : "backup", how) << restore << how;
        }
    }

    void ownFolderIsRefused() {
        QFETCH(bool, restore);
        QFETCH(QString, how);
        Setup s;
        QString chosen = s.data.path();
        if (how == QLatin1String("trailing separator"))
            chosen += u'/';
        if (how == QLatin1String("link")) {
            chosen = s.backup.path() + QStringLiteral("/data");
            QVERIFY(QFile::link(s.data.path(), chosen));
        }
        const QStringList before = Files(s.data.path());
        ScriptedAnswers answers;
        answers.expectFolder(chosen)
            .expectMessage(QStringLiteral("What are you doing?"), 1)
            .expectMessage(
                restore ? QStringLiteral("Cancel Restore...") : QStringLiteral("Cancel Backup"), 1);
        if (restore)
            QVERIFY(!backup::RestoreDataFiles(s.window, TestSession()));
        else
            backup::BackupDataFiles(s.window, TestSession());
        QVERIFY(answers.verifyDone());
        QCOMPARE(answers.asked().at(1).lines.first(), restore ? QStringLiteral("You can't restore")
                                                              : QStringLiteral("You can't backup"));
        QCOMPARE(answers.lastAsked().lines,
                 QStringList{restore ? "The restore process has been cancelled"
                                     : "The backup process has been cancelled"});
        QCOMPARE(Files(s.data.path()), before);
    }

    void backupAsksAndCopies_data() {
        QTest::addColumn<QString>("folderHolds");
        QTest::addColumn<bool>("withLog");
        QTest::addColumn<QString>("question");
        QTest::newRow("empty folder") << "" << true << "Ready to backup data files...";
        QTest::newRow("former backup") << "User.List" << true << "Ready to backup data files...";
        QTest::newRow("other files") << "Letter.txt" << true << "Caution!";
        QTest::newRow("no User.Log") << "" << false << "Ready to backup data files...";
    }

    void backupAsksAndCopies() {
        QFETCH(QString, folderHolds);
        QFETCH(bool, withLog);
        QFETCH(QString, question);
        Setup s(withLog);
        if (!folderHolds.isEmpty())
            Write(s.backup.filePath(folderHolds), "former");
        ScriptedAnswers answers;
        answers.expectFolder(s.backup.path())
            .expectMessage(question, 1)
            .expectMessage(QStringLiteral("Backup Successful!"), 1);
        backup::BackupDataFiles(s.window, TestSession());
        QVERIFY(answers.verifyDone());
        const auto& asked = answers.asked().at(1);
        QVERIFY(asked.lines.contains(u'\'' + s.backupPath() + u'\''));
        QCOMPARE(asked.defaultButton, 2);
        QCOMPARE(asked.icon, question == QLatin1String("Caution!") ? 4 : 3);
        // The change log last: the lines of the writes that made the files above.
        const QStringList names =
            withLog ? QStringList{"User.List",    "User.Log",         "Name.List",
                                  "Course.Index", "Training.Records", "Change.Log"}
                    : QStringList{"User.List", "Name.List", "Course.Index", "Training.Records",
                                  "Change.Log"};
        QStringList progress;
        const QString made = s.backup.filePath(kDated);
        for (const QString& name : names) {
            progress.append(QStringLiteral("Copying ") + name + QStringLiteral(" (off)"));
            QCOMPARE(Bytes(QDir(made).filePath(name)), Bytes(name));
        }
        QCOMPARE(s.window.captions, progress);
        QCOMPARE(s.window.windowTitle(), kCaption);
        QVERIFY(s.window.isEnabled());
        QCOMPARE(answers.lastAsked().lines,
                 QStringList(
                     {"Your current Mirtavel data files", "have been successfully backed up!", "",
                      "Each copy was read back and verified", "to be the same as its data file.",
                      "", "The copies are in the folder", u'\'' + made + u'\''}));
    }

    // The picker starts in Documents the first time, then where the last backup went; each
    // backup gets its own dated folder and the earlier ones stay.
    void backupsAreKeptAndTheFolderRemembered() {
        Setup s;
        for (int round = 1; round <= 2; ++round) {
            ScriptedAnswers answers;
            answers.expectFolder(s.backup.path())
                .expectMessage(QStringLiteral("Ready to backup data files..."), 1)
                .expectMessage(QStringLiteral("Backup Successful!"), 1);
            backup::BackupDataFiles(s.window, TestSession());
            QVERIFY(answers.verifyDone());
            QCOMPARE(answers.asked().at(0).defaultText,
                     round == 1
                         ? QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation)
                         : s.backup.path());
        }
        QCOMPARE(QDir(s.backup.path()).entryList(QDir::Dirs | QDir::NoDotAndDotDot),
                 QStringList({kDated, kDated + " (2)"}));
    }

    void backupCancelledOrRefused_data() {
        QTest::addColumn<QString>("how");
        QTest::newRow("picker cancelled") << "picker";
        QTest::newRow("question declined") << "declined";
        QTest::newRow("folder not there") << "missing";
        QTest::newRow("copy fails midway") << "copy";
    }

    void backupCancelledOrRefused() {
        QFETCH(QString, how);
        Setup s;
        Write(s.backup.filePath(QStringLiteral("User.List")), "former");
        ScriptedAnswers answers;
        if (how == QLatin1String("picker")) {
            answers.expectFolder(QString());
        } else if (how == QLatin1String("declined")) {
            answers.expectFolder(s.backup.path())
                .expectMessage(QStringLiteral("Ready to backup data files..."), 2)
                .expectMessage(QStringLiteral("Cancel Backup"), 1);
        } else if (how == QLatin1String("missing")) {
            answers.expectFolder(s.backup.filePath(QStringLiteral("gone")))
                .expectMessage(QStringLiteral("Drive or Folder Access Problem"), 1)
                .expectMessage(QStringLiteral("Cancel Backup"), 1);
        } else {
            QVERIFY(QFile::remove(QStringLiteral("Course.Index")));
            QVERIFY(QDir().mkdir(QStringLiteral("Course.Index")));
            answers.expectFolder(s.backup.path())
                .expectMessage(QStringLiteral("Ready to backup data files..."), 1)
                .expectMessage(QStringLiteral("File Backup Error"), 1)
                .expectMessage(QStringLiteral("Cancel Backup"), 1);
        }
        backup::BackupDataFiles(s.window, TestSession());
        QVERIFY(answers.verifyDone());
        if (how == QLatin1String("copy")) {
            const QStringList told = answers.asked().at(2).lines;
            QCOMPARE(told.mid(0, 2),
                     QStringList({"There is some kind of problem", "trying to copy Course.Index"}));
            QVERIFY(!told.value(3).isEmpty()); // and why
        }
        // The former backup is untouched, and no copy was left behind.
        QCOMPARE(Files(s.backup.path()), QStringList{"User.List"});
        QCOMPARE(Bytes(s.backup.filePath(QStringLiteral("User.List"))), QByteArray("former"));
        QVERIFY(s.window.isEnabled());
    }

    void restoreRefusedOrDeclinedChangesNothing_data() {
        QTest::addColumn<QString>("how");
        QTest::addColumn<QStringList>("told"); // after the folder picker
        QTest::addColumn<QString>("named");    // in the question before "Cancel Restore..."
        QTest::newRow("declined") << "declined"
                                  << QStringList{"Important! Please read carefully..."} << "";
        QTest::newRow("no backup there")
            << "marker" << QStringList{"Required file(s) missing"} << "";
        QTest::newRow("folder not there")
            << "missing" << QStringList{"Drive or Folder Access Problem"} << "";
        QTest::newRow("removal leftover")
            << "pending" << QStringList{"Restore not possible now"} << store::TempFileName;
        for (const QString& journal : {store::RecordWriteJournal, store::PersonRemovalJournal})
            QTest::addRow("pending %s", qPrintable(journal))
                << "pending" << QStringList{"Restore not possible now"} << journal;
        QTest::newRow("lacks Course.Index")
            << "lacks" << QStringList{"Problems found in the backup"} << "    Course.Index";
        QTest::newRow("cut-short Training.Records")
            << "damaged" << QStringList{"Problems found in the backup"}
            << "    Training.Records: length";
        QTest::newRow("dated backup not chosen")
            << "dated" << QStringList{"Choose a backup to restore"} << "";
        QTest::newRow("User.Log linked to a private file")
            << "link" << QStringList{"File Restore Error"} << "It is a symbolic link";
    }

    void restoreRefusedOrDeclinedChangesNothing() {
        QFETCH(QString, how);
        QFETCH(QStringList, told);
        QFETCH(QString, named);
        Setup s;
        s.copyDataTo(how == QLatin1String("dated") ? s.backup.filePath(kDated) : s.backup.path());
        if (how == QLatin1String("marker"))
            QVERIFY(QFile::remove(s.backup.filePath(QStringLiteral("User.List"))));
        if (how == QLatin1String("lacks"))
            QVERIFY(QFile::remove(s.backup.filePath(QStringLiteral("Course.Index"))));
        if (how == QLatin1String("damaged"))
            QVERIFY(QFile::resize(s.backup.filePath(QStringLiteral("Training.Records")), 299));
        if (how == QLatin1String("pending"))
            Write(named, QByteArray(300, 'x'));
        if (how == QLatin1String("link")) {
            Write(s.backup.filePath(QStringLiteral("secret")), "private");
            QVERIFY(QFile::remove(s.backup.filePath(QStringLiteral("User.Log"))) &&
                    QFile::link(QStringLiteral("./secret"),
                                s.backup.filePath(QStringLiteral("User.Log"))));
        }
        QMap<QString, QByteArray> before;
        for (const QString& name : Files(s.data.path()))
            before.insert(name, Bytes(name));

        ScriptedAnswers answers;
        answers.expectFolder(how == QLatin1String("missing") ? s.backup.filePath("gone")
                                                             : s.backup.path());
        for (const QString& title : told) {
            if (how == QLatin1String("dated"))
                answers.expectChoice(0, title); // cancelled
            else
                answers.expectMessage(title, 2);
        }
        answers.expectMessage(QStringLiteral("Cancel Restore..."), 1);
        QVERIFY(!backup::RestoreDataFiles(s.window, TestSession()));
        QVERIFY(answers.verifyDone());
        if (!named.isEmpty())
            QVERIFY2(Joined(answers.asked().at(answers.asked().size() - 2)).contains(named),
                     qPrintable(Joined(answers.asked().at(answers.asked().size() - 2))));
        QMap<QString, QByteArray> after;
        for (const QString& name : Files(s.data.path()))
            after.insert(name, Bytes(name));
        QCOMPARE(after, before);
        QVERIFY(!QDir().exists(store::RestoreStagingName));
        QVERIFY(!QDir().exists(store::RestoreSwapName));
        QVERIFY(!QDir().exists(QStringLiteral("Before restore 2024-03-15 10-30")));
        QVERIFY(s.window.isEnabled());
    }

    void restoreWithoutCurrentDataAsksNothing() {
        TestFolder data;
        QTemporaryDir backup;
        WriteUser();
        QVERIFY(QFile::rename(QStringLiteral("User.List"), backup.filePath("User.List")));
        SignIn(4);
        Window window;
        ScriptedAnswers answers;
        answers.expectFolder(backup.path())
            .expectMessage(QStringLiteral("Successfully restored data!"), 1);
        QVERIFY(backup::RestoreDataFiles(window, TestSession()));
        QVERIFY(answers.verifyDone());
        QCOMPARE(answers.lastAsked().lines,
                 QStringList({"Your previously backed up Mirtavel data files",
                              "has been successfully restored!"}));
        QCOMPARE(window.captions, QStringList{"Restoring User.List (off)"});
        // The restore is told in a new change log.
        QCOMPARE(Files(data.path()), QStringList({"Change.Log", "User.List"}));
    }

    // The Lobby shows the restored lists at once; the replaced files are kept, and the
    // message says where.
    void theLobbyShowsTheRestoredData() {
        Setup s;
        QVERIFY(QFile::copy(QStringLiteral("User.List"), s.backup.filePath("User.List")));
        const QByteArray persons = Bytes(QStringLiteral("Name.List"));
        QVERIFY(QFile::rename(QStringLiteral("Name.List"), s.backup.filePath("Name.List")));
        WritePersons({{"Cy", "Ray"}}); // what the Lobby shows before the restore
        SignIn(4);
        auto lobby = OpenLobby();
        QCOMPARE(ColumnTexts(*lobby->nameControls.gridName, 0), QStringList{"Cy Ray"});

        ScriptedAnswers answers;
        answers.expectFolder(s.backup.path())
            .expectMessage(QStringLiteral("Problems found in the backup"), 1)
            .expectMessage(QStringLiteral("Successfully restored data!"), 1);
        lobby->menuBackupRestore[2]->trigger();
        for (const char* lacked : {"User.Log", "Course.Index", "Training.Records"})
            QVERIFY(answers.asked().at(1).lines.contains(QStringLiteral("    ") + lacked));
        QVERIFY(answers.verifyDone());
        QCOMPARE(ColumnTexts(*lobby->nameControls.gridName, 0),
                 QStringList({"Ann Lee", "Bob Moe"}));
        QCOMPARE(lobby->courseControls.gridCourse->Rows(), 1); // no course in the backup
        const QString kept = QStringLiteral("Before restore 2024-03-15 10-30");
        QCOMPARE(answers.lastAsked().lines.mid(2),
                 QStringList({"", "The data files it replaced are kept in the folder",
                              u'\'' + kept + u'\'', "inside the Mirtavel data folder."}));
        QCOMPARE(Files(kept), QStringList({"Course.Index", "Name.List", "Training.Records",
                                           "User.List", "User.Log"}));
        // Exactly the backup's files (the Lobby opening the Course Index makes an empty one).
        QVERIFY(!QFile::exists(QStringLiteral("User.Log")));
        QVERIFY(!QFile::exists(QStringLiteral("Training.Records")));
        QCOMPARE(QFileInfo(QStringLiteral("Course.Index")).size(), 0);
        QCOMPARE(Bytes(QStringLiteral("Name.List")), persons);
        QVERIFY(lobby->isEnabled());
    }

    // Backups in dated folders are offered newest first; the confirmation names the folder,
    // the backup's date and each file it replaces.
    void restoreOffersDatedBackupsNewestFirst() {
        Setup s;
        const QStringList dated = {kDated, kDated + " (2)", "Mirtavel backup 2024-03-14 09-00"};
        for (const QString& name : dated)
            s.copyDataTo(s.backup.filePath(name));
        const QDateTime made(QDate(2024, 3, 15), QTime(10, 30));
        for (const QString& name : Files(s.backup.filePath(dated.at(1)))) {
            QFile file(QDir(s.backup.filePath(dated.at(1))).filePath(name));
            QVERIFY(file.open(QIODevice::ReadWrite) &&
                    file.setFileTime(made, QFileDevice::FileModificationTime));
        }
        QVERIFY(QDir(s.backup.path()).mkdir(QStringLiteral("Mirtavel backup 2024-03-16 08-00")));
        ScriptedAnswers answers;
        answers.expectFolder(s.backup.path())
            .expectChoice(1, QStringLiteral("Choose a backup to restore"))
            .expectMessage(QStringLiteral("Important! Please read carefully..."), 1)
            .expectMessage(QStringLiteral("Successfully restored data!"), 1);
        QVERIFY(backup::RestoreDataFiles(s.window, TestSession()));
        QVERIFY(answers.verifyDone());
        // An empty dated folder holds no backup and is not offered.
        QCOMPARE(answers.asked().at(1).items, QStringList({dated.at(1), dated.at(0), dated.at(2)}));
        const QStringList asked = answers.asked().at(2).lines;
        QVERIFY(asked.contains("Backup folder: '" + s.backup.filePath(dated.at(1)) + "/'"));
        QVERIFY(asked.contains(QStringLiteral("Backup made: 2024-03-15 10:30")));
        QVERIFY(asked.contains(QStringLiteral(
            "Files replaced: User.List, User.Log, Name.List, Course.Index, Training.Records")));
    }

    // A user with full access is reminded, once, of a backup more than a week old.
    void theLobbyRemindsOfAnOldBackup_data() {
        QTest::addColumn<int>("level");
        QTest::addColumn<int>("daysAgo");
        QTest::addColumn<bool>("reminded");
        QTest::newRow("full access, 8 days") << 4 << 8 << true;
        QTest::newRow("full access, 7 days") << 4 << 7 << false;
        QTest::newRow("full access, never") << 4 << -1 << false;
        QTest::newRow("less access, 30 days") << 3 << 30 << false;
    }

    void theLobbyRemindsOfAnOldBackup() {
        QFETCH(int, level);
        QFETCH(int, daysAgo);
        QFETCH(bool, reminded);
        Setup s;
        backup::testing::ForgetReminder();
        if (daysAgo >= 0) {
            QVERIFY(platform::SaveSetting("Mirtavel", "Backup", "LastFolder", s.backup.path()));
            QVERIFY(platform::SaveSetting(
                "Mirtavel", "Backup", "LastTime",
                TestFolder::FixedNow().addDays(-daysAgo).toString(Qt::ISODate)));
        }
        SignIn(level);
        {
            ScriptedAnswers answers;
            if (reminded)
                answers.expectMessage(QStringLiteral("Time for a backup"), 1);
            auto lobby = OpenLobby();
            QVERIFY(answers.verifyDone());
            if (reminded)
                QVERIFY(Joined(answers.lastAsked()).contains(s.backup.path()));
        }
        ScriptedAnswers again; // a second visit in the same run is not reminded
        auto lobby = OpenLobby();
        QVERIFY(again.verifyDone());
    }
};

QTEST_MAIN(TestBackup)
#include "test_backup.moc"

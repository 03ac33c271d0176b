// Backup and restore as the Lobby runs them: the questions, messages, caption and outcome.

#include "backup/modBackupRestore.h"
#include "lobby/test_lobby_data.h"
#include "store/DataRestore.h"
#include "store/Removal.h"
#include "support/ScriptedAnswers.h"
#include "support/TestFolder.h"
#include "ui/FlexGrid.h"
#include "ui/Globals.h"

#include <QAction>
#include <QDir>
#include <QEvent>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>

using namespace lobbytest;

namespace {

const QString kCaption = QStringLiteral("The Lobby");

QStringList Files(const QString& folder) {
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
        WriteUser();
        WritePersons({{"Ann", "Lee"}, {"Bob", "Moe"}});
        WriteCourses({{"FIR-0010", "Handgun", 8}});
        WriteTrainings(1, StampOf(1001));
        if (withLog)
            Write(QStringLiteral("User.Log"), "03/15/2024 at 10:30:00 - in\r\n");
    }
    QString backupPath() const { return backup.path() + u'/'; }
};

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
            QVERIFY(!backup::RestoreDataFiles(s.window));
        else
            backup::BackupDataFiles(s.window);
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
        backup::BackupDataFiles(s.window);
        QVERIFY(answers.verifyDone());
        const auto& asked = answers.asked().at(1);
        QVERIFY(asked.lines.contains(u'\'' + s.backupPath() + u'\''));
        QCOMPARE(asked.defaultButton, 2);
        QCOMPARE(asked.icon, question == QLatin1String("Caution!") ? 4 : 3);
        const QStringList names =
            withLog ? QStringList{"User.List", "User.Log", "Name.List", "Course.Index",
                                  "Training.Records"}
                    : QStringList{"User.List", "Name.List", "Course.Index", "Training.Records"};
        QStringList progress;
        for (const QString& name : names) {
            progress.append(QStringLiteral("Copying ") + name + QStringLiteral(" (off)"));
            QCOMPARE(Bytes(s.backup.filePath(name)), Bytes(name));
        }
        QCOMPARE(s.window.captions, progress);
        QCOMPARE(s.window.windowTitle(), kCaption);
        QVERIFY(s.window.isEnabled());
        QCOMPARE(answers.lastAsked().lines,
                 QStringList({"Your current Mirtavel data files", "have been successfully backed "
                                                                  "up!"}));
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
        backup::BackupDataFiles(s.window);
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
        QTest::addColumn<QString>("told");
        QTest::newRow("declined") << "declined"
                                  << "";
        QTest::newRow("no backup there") << "marker"
                                         << "Required file(s) missing";
        QTest::newRow("folder not there") << "missing"
                                          << "Drive or Folder Access Problem";
        QTest::newRow("removal leftover") << "temp"
                                          << "Restore not possible now";
        QTest::newRow("damaged backup") << "damaged"
                                        << "File Restore Error";
    }

    void restoreRefusedOrDeclinedChangesNothing() {
        QFETCH(QString, how);
        QFETCH(QString, told);
        Setup s;
        QVERIFY(QFile::copy(QStringLiteral("Name.List"), s.backup.filePath("Name.List")));
        if (how != QLatin1String("marker"))
            Write(s.backup.filePath(QStringLiteral("User.List")), QByteArray(500, 'n'));
        if (how == QLatin1String("damaged"))
            Write(s.backup.filePath(QStringLiteral("Course.Index")), QByteArray(299, 'n'));
        if (how == QLatin1String("temp"))
            Write(store::TempFileName, QByteArray(300, 'x'));
        QMap<QString, QByteArray> before;
        for (const QString& name : Files(s.data.path()))
            before.insert(name, Bytes(name));

        ScriptedAnswers answers;
        answers.expectFolder(how == QLatin1String("missing") ? s.backup.filePath("gone")
                                                             : s.backup.path());
        if (how == QLatin1String("declined") || how == QLatin1String("damaged"))
            answers.expectMessage(QStringLiteral("Important! Please read carefully..."),
                                  how == QLatin1String("declined") ? 2 : 1);
        if (!told.isEmpty())
            answers.expectMessage(told, 1);
        answers.expectMessage(QStringLiteral("Cancel Restore..."), 1);
        QVERIFY(!backup::RestoreDataFiles(s.window));
        QVERIFY(answers.verifyDone());
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
        Write(backup.filePath(QStringLiteral("User.List")), QByteArray(500, 'n'));
        Window window;
        ScriptedAnswers answers;
        answers.expectFolder(backup.path())
            .expectMessage(QStringLiteral("Successfully restored data!"), 1);
        QVERIFY(backup::RestoreDataFiles(window));
        QVERIFY(answers.verifyDone());
        QCOMPARE(answers.lastAsked().lines,
                 QStringList({"Your previously backed up Mirtavel data files",
                              "has been successfully restored!"}));
        QCOMPARE(window.captions, QStringList{"Restoring User.List (off)"});
        QCOMPARE(Files(data.path()), QStringList{"User.List"});
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
            .expectMessage(QStringLiteral("Important! Please read carefully..."), 1)
            .expectMessage(QStringLiteral("Successfully restored data!"), 1);
        lobby->menuBackupRestore[2]->trigger();
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
};

QTEST_MAIN(TestBackup)
#include "test_backup.moc"

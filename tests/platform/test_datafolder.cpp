#include "platform/DataFolder.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <sys/stat.h>

using namespace platform;

// The data folder of a menu start and of a terminal start, with HOME pointed at a
// temporary folder.
class TestDataFolder : public QObject {
    Q_OBJECT

private:
    QTemporaryDir home_;
    QString startDir_;
    QByteArray savedHome_;

    QString DataFolder() const { return home_.filePath(QStringLiteral("Mirtavel")); }

private slots:
    void initTestCase() {
        QVERIFY(home_.isValid());
        savedHome_ = qgetenv("HOME");
        qputenv("HOME", QFile::encodeName(home_.path()));
        startDir_ = home_.filePath(QStringLiteral("terminal"));
        QVERIFY(QDir().mkpath(startDir_));
    }
    void init() { QVERIFY(QDir::setCurrent(startDir_)); }
    void cleanupTestCase() {
        QDir::setCurrent(QDir::tempPath());
        qputenv("HOME", savedHome_);
    }

    // Without the option the current directory stays the data folder, whatever else is
    // passed; ~/Mirtavel is not made.
    void terminalStartKeepsTheCurrentDirectory_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::newRow("no arguments") << QStringList{QStringLiteral("mirtavel")};
        QTest::newRow("other arguments") << QStringList{
            QStringLiteral("mirtavel"), QStringLiteral("--menus"), QStringLiteral("menu")};
    }
    void terminalStartKeepsTheCurrentDirectory() {
        QFETCH(QStringList, arguments);
        QString problem;
        QVERIFY(EnterDataFolder(arguments, &problem));
        QCOMPARE(QDir::currentPath(), QDir(startDir_).canonicalPath());
        QVERIFY(!QFile::exists(DataFolder()));
        QVERIFY(problem.isEmpty());
    }

    // A menu start makes ~/Mirtavel the first time and enters it; later starts find the
    // files already there and leave them be.
    void menuStartEntersMirtavelInTheHomeFolder() {
        QCOMPARE(MenuDataFolder(), DataFolder());
        const QStringList menu{QStringLiteral("mirtavel"), MenuStartOption};
        QVERIFY(EnterDataFolder(menu, nullptr));
        QCOMPARE(QDir::currentPath(), QDir(DataFolder()).canonicalPath());

        QFile records(QDir(DataFolder()).filePath(QStringLiteral("Name.List")));
        QVERIFY(records.open(QIODevice::WriteOnly));
        QCOMPARE(records.write("kept"), 4);
        records.close();
        QVERIFY(QDir::setCurrent(startDir_));
        QVERIFY(EnterDataFolder(menu, nullptr));
        QCOMPARE(QDir::currentPath(), QDir(DataFolder()).canonicalPath());
        QVERIFY(records.open(QIODevice::ReadOnly));
        QCOMPARE(records.readAll(), QByteArray("kept"));
        records.close();
        QVERIFY(QDir(DataFolder()).removeRecursively());
    }

    // MIRTAVEL_DATA names the folder for a terminal start and a menu start alike; it is made
    // like the menu's the first time.
    void theVariableNamesTheFolder_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::newRow("terminal") << QStringList{QStringLiteral("mirtavel")};
        QTest::newRow("menu") << QStringList{QStringLiteral("mirtavel"), MenuStartOption};
    }
    void theVariableNamesTheFolder() {
        QFETCH(QStringList, arguments);
        const QString named = home_.filePath(QStringLiteral("records/station"));
        qputenv(DataFolderVariable, QFile::encodeName(named));
        const bool entered = EnterDataFolder(arguments, nullptr);
        qunsetenv(DataFolderVariable);
        QVERIFY(entered);
        QCOMPARE(QDir::currentPath(), QDir(named).canonicalPath());
        QVERIFY(!QFile::exists(DataFolder()));
        QVERIFY(QDir(named).removeRecursively());
    }

    // The folder a menu start makes is its owner's alone, whatever the umask; one that is
    // there already keeps its mode.
    void menuStartMakesAPrivateFolderAndKeepsAnExistingMode_data() {
        QTest::addColumn<bool>("existing");
        QTest::addColumn<int>("expectedMode");
        QTest::newRow("made") << false << 0700;
        QTest::newRow("existing 0770") << true << 0770;
    }
    void menuStartMakesAPrivateFolderAndKeepsAnExistingMode() {
        QFETCH(bool, existing);
        QFETCH(int, expectedMode);
        QDir(DataFolder()).removeRecursively();
        const mode_t umaskBefore = ::umask(022);
        if (existing) {
            QVERIFY(QDir().mkdir(DataFolder()));
            QVERIFY(::chmod(QFile::encodeName(DataFolder()).constData(), 0770) == 0);
        }
        const bool entered =
            EnterDataFolder({QStringLiteral("mirtavel"), MenuStartOption}, nullptr);
        ::umask(umaskBefore);
        QVERIFY(entered);
        struct stat st {};
        QCOMPARE(::stat(QFile::encodeName(DataFolder()).constData(), &st), 0);
        QCOMPARE(int(st.st_mode & 07777), expectedMode);
        QVERIFY(QDir::setCurrent(startDir_));
        QVERIFY(QDir(DataFolder()).removeRecursively());
    }

    // A file where the folder should be: refused with the folder named, nothing entered.
    void menuStartRefusesWhenTheFolderCannotBeMade() {
        QFile blocker(DataFolder());
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        QString problem;
        QVERIFY(!EnterDataFolder({QStringLiteral("mirtavel"), MenuStartOption}, &problem));
        QVERIFY2(problem.contains(DataFolder()), qPrintable(problem));
        QCOMPARE(QDir::currentPath(), QDir(startDir_).canonicalPath());
        QVERIFY(blocker.remove());
    }
};

QTEST_GUILESS_MAIN(TestDataFolder)
#include "test_datafolder.moc"

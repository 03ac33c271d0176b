#include "platform/Settings.h"
#include "signin/AccessCode.h"
#include "signin/OrganizationName.h"
#include "store/DataSet.h"
#include "store/ReadOnlyStation.h"
#include "support/TestFolder.h"
#include "ui/AppTitle.h"

#include <QDir>
#include <QFile>
#include <QTest>
#include <sys/stat.h>

using namespace signin;

namespace {

QByteArray FileBytes(const QString& name) {
    QFile file(name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString SettingsCopy() {
    return platform::GetSetting(QStringLiteral("Mirtavel"), AccessCodeSection, AccessCodeKey);
}

} // namespace

class TestAccessCode : public QObject {
    Q_OBJECT

private slots:
    // Published PBKDF2-HMAC-SHA256 results for "password" / "salt".
    void pbkdf2MatchesKnownResults_data() {
        QTest::addColumn<int>("iterations");
        QTest::addColumn<int>("length");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("1 round") << 1 << 32
                                 << QByteArray("120fb6cffcf8b32c43e7225256c4f837"
                                               "a86548c92ccc35480805987cb70be17b");
        QTest::newRow("2 rounds") << 2 << 32
                                  << QByteArray("ae4d0c95af6b46d32d0adff928f06dd0"
                                                "2a303f8ef3c251dfd6e2d85a95474c43");
        QTest::newRow("4096 rounds") << 4096 << 32
                                     << QByteArray("c5e478d59288c841aa530db6845c4c8d"
                                                   "962893a001ce4e11a4963873aa98134a");
    }
    void pbkdf2MatchesKnownResults() {
        QFETCH(int, iterations);
        QFETCH(int, length);
        QFETCH(QByteArray, expected);
        QCOMPARE(Pbkdf2Sha256("password", "salt", iterations, length).toHex(), expected);
    }

    // A key longer than one digest takes a second block.
    void pbkdf2LongerKeyTakesASecondBlock() {
        const QByteArray expected(
            "55ac046e56e3089fec1691c22544b605f94185216dde0465e68b9d57c20dacbc"
            "49ca9cccf179b645991664b39d77ef317c71b845b1e30bd509112041d3a19783");
        QCOMPARE(Pbkdf2Sha256("passwd", "salt", 1, 64).toHex(), expected);
    }

    void recordHoldsSchemeRoundsSaltAndDigest() {
        const QString record = MakeAccessCodeRecord(QStringLiteral("Badge#4711"), 1000);
        const QStringList parts = record.split(u'$');
        QCOMPARE(parts.size(), 4);
        QCOMPARE(parts.at(0), QStringLiteral("pbkdf2-sha256"));
        QCOMPARE(parts.at(1), QStringLiteral("1000"));
        QCOMPARE(QByteArray::fromBase64(parts.at(2).toLatin1()).size(), 16);
        QCOMPARE(QByteArray::fromBase64(parts.at(3).toLatin1()).size(), 32);
        QVERIFY(!record.contains(QStringLiteral("Badge")));
        // A fresh salt every time.
        QVERIFY(MakeAccessCodeRecord(QStringLiteral("Badge#4711"), 1000) != record);
    }

    void onlyTheExactCodeMatches() {
        const QString record = MakeAccessCodeRecord(QStringLiteral("Badge#4711"), 1000);
        QVERIFY(AccessCodeMatches(record, QStringLiteral("Badge#4711")));
        QVERIFY(!AccessCodeMatches(record, QStringLiteral("badge#4711")));
        QVERIFY(!AccessCodeMatches(record, QStringLiteral("Badge#4711 ")));
        QVERIFY(!AccessCodeMatches(record, QStringLiteral("Badge#471")));
        QVERIFY(!AccessCodeMatches(record, QString()));
    }

    void damagedRecordsMatchNothing_data() {
        QTest::addColumn<QString>("record");
        const QString good = MakeAccessCodeRecord(QStringLiteral("secret"), 10);
        const QStringList parts = good.split(u'$');
        QTest::newRow("empty") << QString();
        QTest::newRow("clear text") << QStringLiteral("secret");
        QTest::newRow("other scheme")
            << QStringLiteral("md5$10$") + parts.at(2) + u'$' + parts.at(3);
        QTest::newRow("no rounds")
            << QStringLiteral("pbkdf2-sha256$0$") + parts.at(2) + u'$' + parts.at(3);
        QTest::newRow("too many rounds")
            << QStringLiteral("pbkdf2-sha256$999999999$") + parts.at(2) + u'$' + parts.at(3);
        QTest::newRow("bad salt") << QStringLiteral("pbkdf2-sha256$10$!!!$") + parts.at(3);
        QTest::newRow("missing digest") << QStringLiteral("pbkdf2-sha256$10$") + parts.at(2);
    }
    void damagedRecordsMatchNothing() {
        QFETCH(QString, record);
        QVERIFY(!AccessCodeMatches(record, QStringLiteral("secret")));
    }

    // The code belongs to the folder: the check reads the folder's file, never the settings.
    void theCodeIsKeptInTheDataFolderAsDigest() {
        TestFolder folder;
        QVERIFY(!AccessCodeIsSet());
        QVERIFY(!CheckAccessCode(QStringLiteral("Sergeant42")));
        QVERIFY(SaveAccessCode(QStringLiteral("Sergeant42")));
        QVERIFY(AccessCodeIsSet());
        QVERIFY(CheckAccessCode(QStringLiteral("Sergeant42")));
        QVERIFY(!CheckAccessCode(QStringLiteral("Sergeant43")));
        const QString stored = QString::fromLatin1(FileBytes(store::AccessCodeFileName));
        QVERIFY(stored.startsWith(QStringLiteral("pbkdf2-sha256$100000$")));
        QVERIFY(stored.endsWith(u'\n'));
        QVERIFY(!stored.contains(QStringLiteral("Sergeant")));
        QCOMPARE(SettingsCopy(), QString());
        QCOMPARE(QDir().entryList(QDir::Files), QStringList{store::AccessCodeFileName});

        // A code in the settings alone opens nothing.
        QVERIFY(QFile::remove(store::AccessCodeFileName));
        QVERIFY(platform::SaveSetting(QStringLiteral("Mirtavel"), AccessCodeSection, AccessCodeKey,
                                      stored.trimmed()));
        QVERIFY(!AccessCodeIsSet());
        QVERIFY(!CheckAccessCode(QStringLiteral("Sergeant42")));
        // Whatever is under the file's name counts as a code, even one that cannot be read.
        QVERIFY(QDir().mkdir(store::AccessCodeFileName));
        QVERIFY(AccessCodeIsSet());
        QString record;
        QVERIFY(!ReadAccessCode(record));
    }

    // Shared with the folder's group where the folder is; never with the rest of the machine.
    void aNewCodeFileTakesTheFoldersOwnerAndGroupBits_data() {
        QTest::addColumn<int>("folderMode");
        QTest::addColumn<int>("fileMode");
        QTest::newRow("private") << 0700 << 0600;
        QTest::newRow("department group") << 0770 << 0660;
        QTest::newRow("group reads") << 0750 << 0640;
        QTest::newRow("open to all") << 0777 << 0660;
    }
    void aNewCodeFileTakesTheFoldersOwnerAndGroupBits() {
        QFETCH(int, folderMode);
        QFETCH(int, fileMode);
        TestFolder folder;
        QVERIFY(::chmod(".", static_cast<mode_t>(folderMode)) == 0);
        const mode_t mask = ::umask(0);
        const bool saved =
            SaveAccessCodeRecord(MakeAccessCodeRecord(QStringLiteral("abcdef"), 1)).ok();
        ::umask(mask);
        QVERIFY(saved);
        struct stat st;
        QVERIFY(::stat(QFile::encodeName(store::AccessCodeFileName).constData(), &st) == 0);
        QCOMPARE(static_cast<int>(st.st_mode & 07777), fileMode);
    }

    // What moving a code out of the settings leaves in the folder and in the settings.
    void aCodeInTheSettingsMovesToTheFolder_data() {
        QTest::addColumn<QString>("inFolder");   // the folder's record before; empty: none
        QTest::addColumn<QString>("inSettings"); // the settings' record before
        QTest::addColumn<bool>("readOnly");
        QTest::addColumn<QString>("folderAfter");
        QTest::addColumn<QString>("settingsAfter");
        const QString mine = MakeAccessCodeRecord(QStringLiteral("settings1"), 1);
        const QString folders = MakeAccessCodeRecord(QStringLiteral("folder1"), 1);
        QTest::newRow("folder without code") << QString() << mine << false << mine << QString();
        QTest::newRow("the folder's code wins") << folders << mine << false << folders << QString();
        QTest::newRow("nothing to move") << folders << QString() << false << folders << QString();
        QTest::newRow("a damaged copy is dropped")
            << QString() << QStringLiteral("pbkdf2-sha256$1$") << false << QString() << QString();
        QTest::newRow("a read-only station writes nothing")
            << QString() << mine << true << QString() << mine;
    }
    void aCodeInTheSettingsMovesToTheFolder() {
        QFETCH(QString, inFolder);
        QFETCH(QString, inSettings);
        QFETCH(bool, readOnly);
        QFETCH(QString, folderAfter);
        QFETCH(QString, settingsAfter);
        TestFolder folder;
        if (!inFolder.isEmpty())
            QVERIFY(SaveAccessCodeRecord(inFolder));
        if (!inSettings.isEmpty())
            QVERIFY(platform::SaveSetting(QStringLiteral("Mirtavel"), AccessCodeSection,
                                          AccessCodeKey, inSettings));
        store::SetReadOnlyStation(readOnly);
        const AccessCodeMove moved = MoveAccessCodeFromSettings();
        QVERIFY(moved.written);
        QVERIFY(moved.removed);
        QString record;
        QCOMPARE(ReadAccessCode(record).ok(), !folderAfter.isEmpty());
        QCOMPARE(record, folderAfter);
        QCOMPARE(SettingsCopy(), settingsAfter);
    }

    void organizationNameHasADefaultAndIsKept() {
        TestFolder folder;
        QCOMPARE(StoredOrganizationName(), QStringLiteral("Police Department"));
        QVERIFY(SaveOrganizationName(QStringLiteral("  Lakeview Police Department  ")));
        QCOMPARE(StoredOrganizationName(), QStringLiteral("Lakeview Police Department"));
        QVERIFY(SaveOrganizationName(QString(70, u'x')));
        QCOMPARE(StoredOrganizationName().size(), OrganizationNameMaxLength);
        QVERIFY(SaveOrganizationName(QStringLiteral("   ")));
        QCOMPARE(StoredOrganizationName(), QStringLiteral("Police Department"));
    }
};

QTEST_MAIN(TestAccessCode)
#include "test_accesscode.moc"

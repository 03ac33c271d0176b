#include "platform/Settings.h"
#include "signin/AccessCode.h"
#include "signin/OrganizationName.h"
#include "support/TestFolder.h"
#include "ui/Globals.h"

#include <QFile>
#include <QTest>

using namespace signin;

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

    void savedCodeIsKeptOnlyAsDigest() {
        TestFolder folder;
        QVERIFY(!AccessCodeIsSet());
        QVERIFY(!CheckAccessCode(QStringLiteral("Sergeant42")));
        QVERIFY(SaveAccessCode(QStringLiteral("Sergeant42")));
        QVERIFY(AccessCodeIsSet());
        QVERIFY(CheckAccessCode(QStringLiteral("Sergeant42")));
        QVERIFY(!CheckAccessCode(QStringLiteral("Sergeant43")));
        const QString stored = platform::GetSetting(
            QStringLiteral("Mirtavel"), QStringLiteral("Admin"), QStringLiteral("AccessCode"));
        QVERIFY(stored.startsWith(QStringLiteral("pbkdf2-sha256$100000$")));
        QVERIFY(!stored.contains(QStringLiteral("Sergeant")));
        // Removing the key starts over.
        QVERIFY(platform::DeleteSetting(QStringLiteral("Mirtavel"), QStringLiteral("Admin"),
                                        QStringLiteral("AccessCode")));
        QVERIFY(!AccessCodeIsSet());
    }

    void organizationNameHasADefaultAndIsKept() {
        TestFolder folder;
        QCOMPARE(StoredOrganizationName(), QStringLiteral("Police Department"));
        QVERIFY(SaveOrganizationName(QStringLiteral("  Lakeview Police Department  ")));
        QCOMPARE(StoredOrganizationName(), QStringLiteral("Lakeview Police Department"));
        QCOMPARE(Globals().OrganizationName, QStringLiteral("Lakeview Police Department"));
        QVERIFY(SaveOrganizationName(QString(70, u'x')));
        QCOMPARE(StoredOrganizationName().size(), OrganizationNameMaxLength);
        QVERIFY(SaveOrganizationName(QStringLiteral("   ")));
        QCOMPARE(StoredOrganizationName(), QStringLiteral("Police Department"));
    }
};

QTEST_MAIN(TestAccessCode)
#include "test_accesscode.moc"

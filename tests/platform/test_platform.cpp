#include "platform/BusyCursor.h"
#include "platform/Desktop.h"
#include "platform/Fonts.h"
#include "platform/Settings.h"
#include "platform/Sound.h"
#include "platform/StockIcon.h"
#include "platform/TextMeasure.h"
#include "platform/Twips.h"
#include "platform/VersionInfo.h"
#include "support/TestFolder.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFontInfo>
#include <QScreen>
#include <QStandardPaths>
#include <QTest>

using namespace platform;

class TestPlatform : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void settingsRoundTrip() {
        TestFolder folder;
        const QString app = QStringLiteral("Mirtavel");
        const QString section = QStringLiteral("Defaults");
        QCOMPARE(GetSetting(app, section, QStringLiteral("NewUser")), QString());
        QCOMPARE(GetSetting(app, section, QStringLiteral("NewUser"), QStringLiteral("x")),
                 QStringLiteral("x"));

        QVERIFY(SaveSetting(app, section, QStringLiteral("NewUser"), QStringLiteral("NoShow")));
        QVERIFY(SaveSetting(app, QStringLiteral("Other"), QStringLiteral("NewUser"),
                            QStringLiteral("2")));
        QCOMPARE(GetSetting(app, section, QStringLiteral("NewUser")), QStringLiteral("NoShow"));
        QCOMPARE(GetSetting(app, QStringLiteral("Other"), QStringLiteral("NewUser")),
                 QStringLiteral("2"));
        QCOMPARE(GetSetting(QStringLiteral("SomeoneElse"), section, QStringLiteral("NewUser")),
                 QString());
        // Kept in the test's own folder, never in the user's real store.
        QVERIFY(QFile::exists(folder.filePath(QStringLiteral("settings/Mirtavel.ini"))));

        QVERIFY(DeleteSetting(app, section, QStringLiteral("NewUser")));
        QCOMPARE(GetSetting(app, section, QStringLiteral("NewUser")), QString());
        QCOMPARE(GetSetting(app, QStringLiteral("Other"), QStringLiteral("NewUser")),
                 QStringLiteral("2"));
        QVERIFY(DeleteSetting(app));
        QCOMPARE(GetSetting(app, QStringLiteral("Other"), QStringLiteral("NewUser")), QString());
    }

    void aSettingThatCannotBeWrittenIsAFailure() {
        TestFolder folder;
        QVERIFY(QDir().mkpath(QStringLiteral("settings/Mirtavel.ini")));
        const store::StoreResult saved = SaveSetting(
            QStringLiteral("Mirtavel"), QStringLiteral("Admin"), QStringLiteral("Key"), "x");
        QVERIFY(!saved);
        QCOMPARE(saved.fileName(), folder.filePath(QStringLiteral("settings/Mirtavel.ini")));
        QVERIFY(!saved.reason().isEmpty());
        QVERIFY(!DeleteSetting(QStringLiteral("Mirtavel")));
    }

    void settingsStartEmptyInEachTestFolder() {
        {
            TestFolder folder;
            QVERIFY(SaveSetting(QStringLiteral("Mirtavel"), QStringLiteral("Defaults"),
                                QStringLiteral("NewUser"), QStringLiteral("NoShow")));
        }
        TestFolder folder;
        QCOMPARE(GetSetting(QStringLiteral("Mirtavel"), QStringLiteral("Defaults"),
                            QStringLiteral("NewUser")),
                 QString());
    }

    void openTargetGoesThroughTheOpener() {
        QList<QUrl> opened;
        bool succeed = true;
        SetTargetOpener([&](const QUrl& url) {
            opened.append(url);
            return succeed;
        });
        QVERIFY(OpenTarget(QUrl(QStringLiteral("mailto:info@example.com"))));
        succeed = false;
        QVERIFY(!OpenTarget(QUrl(QStringLiteral("https://example.com/"))));
        QVERIFY(!OpenTarget(QUrl()));
        SetTargetOpener({});
        QCOMPARE(opened, (QList<QUrl>{QUrl(QStringLiteral("mailto:info@example.com")),
                                      QUrl(QStringLiteral("https://example.com/"))}));
    }

    void versionRecord() {
        QCOMPARE(VersionMajor(), MIRTAVEL_VERSION_MAJOR);
        QCOMPARE(VersionMinor(), MIRTAVEL_VERSION_MINOR);
        QCOMPARE(VersionRevision(), MIRTAVEL_VERSION_PATCH);
        QCOMPARE(FileDescription(), QStringLiteral("Training Records Management"));
        QCOMPARE(ProductName(), QStringLiteral("Mirtavel"));
        QVERIFY(LegalCopyright().startsWith(QStringLiteral("Copyright \u00A9 ")));
    }

    void stockIconsAreDistinct32PixelPictures() {
        const QList<StockIconKind> kinds = {StockIconKind::Application, StockIconKind::Stop,
                                            StockIconKind::Question, StockIconKind::Exclamation,
                                            StockIconKind::Information};
        QList<QImage> images;
        for (StockIconKind kind : kinds) {
            const QPixmap icon = StockIcon(kind);
            QVERIFY(!icon.isNull());
            QCOMPARE(icon.deviceIndependentSize().toSize(), QSize(32, 32));
            images.append(icon.toImage());
        }
        for (int i = 1; i < images.size(); ++i)
            QVERIFY2(images.at(i) != images.at(i - 1), qPrintable(QString::number(i)));
    }

    void beepsAreRecorded() {
        ResetBeeps();
        QCOMPARE(BeepCount(), 0);
        QCOMPARE(LastBeepType(), -1);
        MessageBeep(Beep::Question);
        MessageBeep(Beep::Hand);
        QCOMPARE(BeepCount(), 2);
        QCOMPARE(LastBeepType(), Beep::Hand);
        ResetBeeps();
        QCOMPARE(BeepCount(), 0);
    }

    void busyCursorRestoresWhenNested() {
        QVERIFY(!QGuiApplication::overrideCursor());
        {
            BusyCursor outer;
            QVERIFY(QGuiApplication::overrideCursor());
            QCOMPARE(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
            {
                BusyCursor inner;
                QCOMPARE(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
            }
            QVERIFY(QGuiApplication::overrideCursor());
            QCOMPARE(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
        }
        QVERIFY(!QGuiApplication::overrideCursor());
    }

    void twipsAt96Dpi() {
        QCOMPARE(qRound(QGuiApplication::primaryScreen()->logicalDotsPerInch()), 96);
        QCOMPARE(TwipsPerPixel(), 15);
        QCOMPARE(Twips(8745), 583);
        QCOMPARE(Twips(15), 1);
        QCOMPARE(PixelsToTwips(800), 12000);
        QCOMPARE(ScreenWidthTwips(), ScreenWidthPixels() * 15);
        QCOMPARE(ScreenHeightTwips(), ScreenHeightPixels() * 15);
    }

    void designFontsFindFreeSubstitutes() {
        InstallFontSubstitutes();
        InstallFontSubstitutes();
        // Installing twice does not repeat an entry (Qt keeps the names in lower case).
        QCOMPARE(QFont::substitutes(QStringLiteral("Verdana")),
                 QStringList{QStringLiteral("dejavu sans")});
        const QFont tahoma = DesignFont(QStringLiteral("Tahoma"), 9.75, true);
        QCOMPARE(tahoma.pointSizeF(), 9.75);
        QVERIFY(tahoma.bold());
        QVERIFY(QFontInfo(tahoma).family().startsWith(QStringLiteral("DejaVu Sans")));
        QCOMPARE(QFontInfo(DesignFont(QStringLiteral("Arial"), 8.25)).family(),
                 QStringLiteral("Liberation Sans"));
        QCOMPARE(QFontInfo(DesignFont(QStringLiteral("Verdana"), 8.25)).family(),
                 QStringLiteral("DejaVu Sans"));
    }

    void textMeasuredInTwips() {
        const QFont font = DesignFont(QStringLiteral("Tahoma"), 9.75, true);
        const int one = TextWidthTwips(font, QStringLiteral(" &Okay "));
        QVERIFY(one > 0);
        QCOMPARE(one % 15, 0);
        QVERIFY(TextWidthTwips(font, QStringLiteral(" &Okay &Okay ")) > one);
        const int line = TextHeightTwips(font, QStringLiteral("one"));
        QCOMPARE(TextHeightTwips(font, QStringLiteral("one\r\ntwo\r\n")), 3 * line);
    }
};

QTEST_MAIN(TestPlatform)
#include "test_platform.moc"

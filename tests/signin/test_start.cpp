#include "LobbySeam.h"
#include "SigninTesting.h"
#include "app/basMirtavel.h"
#include "platform/Desktop.h"
#include "platform/Instance.h"
#include "platform/Settings.h"
#include "platform/Twips.h"
#include "signin/frmAdmin.h"
#include "signin/frmTitlePage.h"
#include "store/DataRestore.h"
#include "store/RecordStore.h"
#include "support/ScriptedAnswers.h"
#include "support/TestFolder.h"
#include "ui/AppTitle.h"
#include "ui/ZovButton.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPointer>
#include <QProcess>
#include <QTest>
#include <iostream>
#include <string>

using signintest::Press;

namespace {

const char* const HoldArgument = "--hold-lock";

// Run as another copy of the program: take the lock, say so, keep it until stdin closes.
int HoldLock(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const bool busy = platform::PreviousInstanceRunning(QString::fromLocal8Bit(argv[2]));
    std::cout << (busy ? "busy" : "held") << std::endl;
    std::string line;
    while (std::getline(std::cin, line)) {
    }
    return 0;
}

template <class Window> QList<Window*> OpenWindows() {
    QList<Window*> found;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* window = qobject_cast<Window*>(widget); window && window->isVisible())
            found.append(window);
    }
    return found;
}

void CloseAllWindows() {
    for (QWidget* widget : QApplication::topLevelWidgets())
        widget->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void WriteFile(const QString& name, const QByteArray& bytes) {
    QFile file(name);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

} // namespace

class TestStart : public QObject {
    Q_OBJECT

    std::unique_ptr<TestFolder> folder_;
    QString lockName_;
    int ended_ = 0;

    frmTitlePage* StartProgram() {
        if (!Main(lockName_))
            return nullptr;
        signintest::UseLobbySeam();
        const auto titles = OpenWindows<frmTitlePage>();
        return titles.size() == 1 ? titles.first() : nullptr;
    }

private slots:
    void init() {
        static int run = 0;
        lockName_ = QStringLiteral("mirtavel-signin-test-%1-%2")
                        .arg(QCoreApplication::applicationPid())
                        .arg(++run);
        folder_ = std::make_unique<TestFolder>();
        ended_ = 0;
        SetProgramEnd([this] { ++ended_; });
    }
    void cleanup() {
        CloseAllWindows();
        platform::ReleaseInstanceLock();
        platform::SetTargetOpener({});
        SetProgramEnd({});
        folder_.reset();
    }

    void mainShowsTheTitleWindow() {
        frmTitlePage* title = StartProgram();
        QVERIFY(title);

        QCOMPARE(title->windowTitle(), QStringLiteral("Title Window"));
        QCOMPARE(title->size(), QSize(platform::Twips(8745), platform::Twips(4965)));
        QCOMPARE(title->imgBackground->geometry(),
                 QRect(platform::Twips(-10), platform::Twips(-10),
                       platform::Twips(title->WidthTwips() + 20),
                       platform::Twips(title->HeightTwips() + 20)));
        QCOMPARE(title->cmdQuit->Caption(), QStringLiteral("Quit Mirtavel"));
        QCOMPARE(title->cmdContinue->Caption(), QStringLiteral("&Continue"));
        QCOMPARE(title->labelAppTitle->text(), QStringLiteral("Mirtavel"));
        QCOMPARE(title->labelAppDescription->text(), QStringLiteral("Training Records Management"));
        QCOMPARE(title->labelVersion->text(), QStringLiteral("Version w1.0.0"));
        QCOMPARE(title->labelZovSoftware->text(), QStringLiteral("ZOV Software"));
        QCOMPARE(title->labelZovAddress->text().count(u'\n'), 1);
        QCOMPARE(title->labelZovContact[1]->toolTip(),
                 QStringLiteral(" Click here to email ZOV Software! "));
        QCOMPARE(title->labelZovContact[2]->toolTip(),
                 QStringLiteral(" Click here to visit ZOV Software! "));
        QVERIFY(title->labelZovContact[1]->text().endsWith(QStringLiteral(".example")));
        QVERIFY(title->timerFlashButton.isActive());
        QCOMPARE(title->timerFlashButton.interval(), 2000);
        QVERIFY(title->cmdHelpTopic->isVisible());
        QCOMPARE(title->cmdHelpTopic->toolTip(),
                 QStringLiteral(" Click here for helpful information! <F1> "));
        // Starting looked at no data file.
        QCOMPARE(QDir().entryList(QDir::Files), QStringList());
    }

    void theStoredOrganizationNameIsLoaded() {
        QVERIFY(platform::SaveSetting(QStringLiteral("Mirtavel"), QStringLiteral("Defaults"),
                                      QStringLiteral("OrganizationName"),
                                      QStringLiteral("Lakeview PD")));
        frmTitlePage* title = StartProgram();
        QVERIFY(title);
        ScriptedAnswers answers;
        answers.expectWindow({}, QStringLiteral(" Mirtavel - New User Overview"))
            .expectMessage(QStringLiteral("'User List' Empty"), 1);
        Press(title->cmdContinue);
        QVERIFY(answers.verifyDone());
        QCOMPARE(OpenWindows<frmAdmin>().first()->OrganizationName(),
                 QStringLiteral("Lakeview PD"));
    }

    void theVersionShowsEveryPart_data() {
        QTest::addColumn<int>("major");
        QTest::addColumn<int>("minor");
        QTest::addColumn<int>("revision");
        QTest::addColumn<QString>("caption");
        QTest::newRow("zeros") << 1 << 0 << 0 << "Version w1.0.0";
        QTest::newRow("all zero") << 0 << 0 << 0 << "Version w0.0.0";
        QTest::newRow("wide") << 3 << 12 << 18 << "Version w3.12.18";
        QTest::newRow("four-digit revision") << 2 << 5 << 1234 << "Version w2.5.1234";
    }
    void theVersionShowsEveryPart() {
        QFETCH(int, major);
        QFETCH(int, minor);
        QFETCH(int, revision);
        QFETCH(QString, caption);
        QCOMPARE(frmTitlePage::VersionCaption(major, minor, revision), caption);
    }

    void continueFlashesAfterTwoSeconds() {
        frmTitlePage* title = StartProgram();
        QVERIFY(title);
        title->timerFlashButton_Timer();
        QCOMPARE(title->timerFlashButton.interval(), 16);
        QCOMPARE(title->Flash().FlashFore, 4);
        QCOMPARE(title->Flash().FlashBack, 244);
        QCOMPARE(title->Flash().FlashStep, 4);
        QCOMPARE(title->cmdContinue->BackColor(), QColor(244, 244, 0));
        QCOMPARE(title->cmdContinue->ForeColor(), QColor(4, 4, 0));
        // Up by 4 to above 248...
        for (int tick = 2; tick <= 63; ++tick)
            title->timerFlashButton_Timer();
        QCOMPARE(title->Flash().FlashFore, 252);
        QCOMPARE(title->Flash().FlashBack, 0);
        QCOMPARE(title->cmdContinue->BackColor(), QColor(0, 0, 0));
        QCOMPARE(title->cmdContinue->ForeColor(), QColor(252, 252, 0));
        // ...then down by 4 to below 8, and up again.
        title->timerFlashButton_Timer();
        QCOMPARE(title->Flash().FlashFore, 248);
        QCOMPARE(title->Flash().FlashBack, 6);
        QCOMPARE(title->Flash().FlashStep, -4);
        for (int tick = 0; tick < 61; ++tick)
            title->timerFlashButton_Timer();
        QCOMPARE(title->Flash().FlashFore, 4);
        title->timerFlashButton_Timer();
        QCOMPARE(title->Flash().FlashFore, 8);
        QCOMPARE(title->Flash().FlashBack, 244);
        QCOMPARE(title->timerFlashButton.interval(), 16);
    }

    void theContactLinksOpenMailAndWeb() {
        QList<QUrl> opened;
        bool works = true;
        platform::SetTargetOpener([&](const QUrl& target) {
            opened.append(target);
            return works;
        });
        frmTitlePage* title = StartProgram();
        QVERIFY(title);
        QTest::mouseClick(title->labelZovContact[1], Qt::LeftButton);
        QTest::mouseClick(title->labelZovContact[2], Qt::LeftButton);
        QCOMPARE(opened, QList<QUrl>({QUrl(QStringLiteral("mailto:info@zovsoftware.example")),
                                      QUrl(QStringLiteral("http://www.zovsoftware.example"))}));
        works = false;
        ScriptedAnswers answers;
        answers.expectStandard(platform::StandardAnswer::Ok, QStringLiteral("Error"));
        QTest::mouseClick(title->labelZovContact[2], Qt::LeftButton);
        QVERIFY(answers.verifyDone());
        QCOMPARE(answers.lastAsked().lines, QStringList{"Could not establish a connection!"});
        QCOMPARE(answers.lastAsked().icon, static_cast<int>(platform::StandardIcon::Stop));
    }

    void continueGoesOnToTheAdminWindow() {
        frmTitlePage* title = StartProgram();
        QVERIFY(title);
        const QPointer<frmTitlePage> alive(title);
        ScriptedAnswers answers;
        // An 800-pixel screen is wide enough: no notice; after the overview, the Admin window.
        QCOMPARE(platform::ScreenWidthPixels(), 800);
        answers.expectWindow({}, QStringLiteral(" Mirtavel - New User Overview"))
            .expectMessage(QStringLiteral("'User List' Empty"), 1);
        Press(title->cmdContinue);
        QVERIFY(answers.verifyDone());
        QCOMPARE(OpenWindows<frmAdmin>().size(), 1);
        QVERIFY(!alive || !alive->isVisible());
        QVERIFY(!OpenWindows<frmAdmin>().first()->IsAdminMode());
        QCOMPARE(OpenWindows<frmAdmin>().first()->OrganizationName(),
                 QStringLiteral("Police Department"));
    }

    void quitEndsWithoutTouchingAFile() {
        frmTitlePage* title = StartProgram();
        QVERIFY(title);
        const QPointer<frmTitlePage> alive(title);
        Press(title->cmdQuit);
        QVERIFY(!alive || !alive->isVisible());
        QVERIFY(OpenWindows<QWidget>().isEmpty());
        QCOMPARE(QDir().entryList(QDir::Files), QStringList());
        QCOMPARE(ended_, 0); // the last window closing ends the program, not ShutDown
    }

    void aSecondCopyIsRefused() {
        QProcess first;
        first.start(QCoreApplication::applicationFilePath(),
                    {QString::fromLatin1(HoldArgument), lockName_});
        QVERIFY(first.waitForStarted());
        QVERIFY(first.waitForReadyRead());
        QCOMPARE(first.readLine().trimmed(), QByteArray("held"));

        ScriptedAnswers answers;
        answers.expectStandard(platform::StandardAnswer::Ok, QStringLiteral("Terminating..."));
        QVERIFY(!Main(lockName_));
        QVERIFY(answers.verifyDone());
        QCOMPARE(answers.lastAsked().lines,
                 QStringList({"Mirtavel is already loaded", "and running on your computer!"}));
        QCOMPARE(answers.lastAsked().icon, static_cast<int>(platform::StandardIcon::Stop));
        QVERIFY(OpenWindows<QWidget>().isEmpty());
        QCOMPARE(QDir().entryList(QDir::Files), QStringList());

        first.closeWriteChannel();
        QVERIFY(first.waitForFinished());
        // With the first copy gone, the program starts.
        QVERIFY(StartProgram());
    }

    void anInterruptedRemovalIsSettledAtStart() {
        signintest::AddUser(QStringLiteral("Al"), QStringLiteral("Able"), QStringLiteral("pw12"),
                            4);
        // An older program stopped between deleting User.List and renaming its copy.
        QVERIFY(QFile::rename(QStringLiteral("User.List"), QStringLiteral("TempFile.$$$")));
        ScriptedAnswers answers;
        answers.expectMessage(QStringLiteral("Data Files Repaired"), 1);
        QVERIFY(StartProgram());
        QVERIFY(answers.verifyDone());
        QVERIFY(QFile::exists(QStringLiteral("User.List")));
        QVERIFY(!QFile::exists(QStringLiteral("TempFile.$$$")));
    }

    void anInterruptedRestoreIsFinishedAtStart() {
        WriteFile(QStringLiteral("User.List"), QByteArray(500, 'o'));
        // A restore was stopped after its deciding step, before it placed its copy.
        QVERIFY(QDir().mkdir(store::RestoreSwapName));
        WriteFile(store::RestoreSwapName + QStringLiteral("/User.List"), QByteArray(500, 'n'));
        WriteFile(store::RestoreSwapName + QStringLiteral("/Restore.list"),
                  "kept Before restore 2024-03-15 10-30\nrestore User.List\n");
        ScriptedAnswers answers;
        answers.expectMessage(QStringLiteral("Data Files Repaired"), 1);
        QVERIFY(StartProgram());
        QVERIFY(answers.verifyDone());
        QVERIFY(answers.lastAsked().lines.join(u' ').contains(
            QStringLiteral("\"Before restore 2024-03-15 10-30\"")));
        QFile restored(QStringLiteral("User.List"));
        QVERIFY(restored.open(QIODevice::ReadOnly));
        QCOMPARE(restored.readAll(), QByteArray(500, 'n'));
        QVERIFY(!QDir().exists(store::RestoreSwapName));
    }

    void shutDownRemovesEmptyFilesAndClosesEveryWindow() {
        WriteFile(QStringLiteral("User.List"), {});
        WriteFile(QStringLiteral("User.Log"), {});
        WriteFile(QStringLiteral("Name.List"), {});
        WriteFile(QStringLiteral("Training.Records"), {});
        WriteFile(QStringLiteral("Course.Index"), QByteArray(300, ' '));
        frmTitlePage* title = StartProgram();
        QVERIFY(title);
        ScriptedAnswers answers;
        answers.expectWindow({}, QStringLiteral(" Mirtavel - New User Overview"));
        Press(title->cmdContinue); // an empty User.List: no message, an empty grid
        QVERIFY(answers.verifyDone());
        QVERIFY(store::OpenNameList().ok()); // a file somebody left open
        ShutDown();
        QVERIFY(ShuttingDown());
        QVERIFY(!store::Persons().IsOpen());
        QCOMPARE(QDir().entryList(QDir::Files), QStringList{QStringLiteral("Course.Index")});
        QVERIFY(OpenWindows<QWidget>().isEmpty());
        QCOMPARE(ended_, 1);
    }
};

int main(int argc, char* argv[]) {
    if (argc == 3 && qstrcmp(argv[1], HoldArgument) == 0)
        return HoldLock(argc, argv);
    QApplication app(argc, argv);
    TestStart test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_start.moc"

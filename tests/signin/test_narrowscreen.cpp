#include "SigninTesting.h"
#include "platform/Twips.h"
#include "signin/AdminEntry.h"
#include "signin/frmAdmin.h"
#include "signin/frmTitlePage.h"
#include "support/ScriptedAnswers.h"
#include "support/TestFolder.h"
#include "ui/WindowFlow.h"

#include <QApplication>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

// Runs on a screen of the size given as the first argument ("640x480"), set up before the
// application starts.
namespace {
QSize screen;
} // namespace

class TestNarrowScreen : public QObject {
    Q_OBJECT

private slots:
    // Continue goes on to the real Admin window.
    void initTestCase() { flow::SetAdminWindow(signin::OpenAdminWindow); }

    void continueTellsAboutANarrowScreen() {
        TestFolder folder;
        QCOMPARE(platform::ScreenWidthPixels(), screen.width());
        QCOMPARE(platform::ScreenHeightPixels(), screen.height());
        auto* title = new frmTitlePage();
        title->setAttribute(Qt::WA_DeleteOnClose);
        title->show();
        ScriptedAnswers answers;
        answers.expectWindow({}, QStringLiteral(" Mirtavel - New User Overview"));
        const bool narrow = screen.width() < 800;
        if (narrow)
            answers.expectStandard(platform::StandardAnswer::Ok,
                                   QStringLiteral("Screen Resolution Issue"));
        answers.expectMessage(QStringLiteral("'User List' Empty"), 1);
        signintest::Press(title->cmdContinue);
        QVERIFY(answers.verifyDone());
        if (narrow) {
            const auto& notice = answers.asked().at(1);
            QCOMPARE(notice.icon, static_cast<int>(platform::StandardIcon::None));
            QCOMPARE(notice.buttons, QStringList{QStringLiteral("OK")});
            QCOMPARE(notice.lines,
                     QStringList({"Mirtavel is designed for use on a",
                                  "screen resolution of at least 800x600. ", "",
                                  "Mirtavel will not display correctly on",
                                  QStringLiteral("your current screen resolution (%1x%2).")
                                      .arg(screen.width())
                                      .arg(screen.height()),
                                  "", "You can adjust your screen resolution by",
                                  "right-clicking anywhere on your desktop,",
                                  "select <Properties>, then <Settings>,",
                                  "and then select and accept at least",
                                  "800x600 as your 'Screen Area'."}));
        }
        // The program goes on to the Admin window either way.
        bool adminShown = false;
        for (QWidget* window : QApplication::topLevelWidgets())
            adminShown = adminShown || (qobject_cast<frmAdmin*>(window) && window->isVisible());
        QVERIFY(adminShown);
        for (QWidget* window : QApplication::topLevelWidgets())
            window->close();
    }
};

int main(int argc, char* argv[]) {
    static const QRegularExpression size(QStringLiteral("^(\\d+)x(\\d+)$"));
    const auto match = argc > 1 ? size.match(QString::fromLocal8Bit(argv[1]))
                                : size.match(QStringLiteral("640x480"));
    screen = QSize(match.captured(1).toInt(), match.captured(2).toInt());
    if (argc > 1 && match.hasMatch()) {
        for (int i = 1; i + 1 < argc; ++i)
            argv[i] = argv[i + 1];
        --argc;
    }
    // The headless platform takes its screen from a configuration file.
    QTemporaryDir dir;
    const QString config = dir.filePath(QStringLiteral("screen.json"));
    QFile file(config);
    if (!file.open(QIODevice::WriteOnly))
        return 1;
    file.write(QStringLiteral("{\"screens\": [{\"name\": \"test\", \"x\": 0, \"y\": 0, "
                              "\"width\": %1, \"height\": %2, \"logicalDpi\": 96}]}")
                   .arg(screen.width())
                   .arg(screen.height())
                   .toUtf8());
    file.close();
    qputenv("QT_QPA_PLATFORM", QByteArray("offscreen:configfile=") + config.toLocal8Bit());
    QApplication app(argc, argv);
    TestNarrowScreen test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_narrowscreen.moc"

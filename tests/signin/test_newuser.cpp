// The new-user overview at Continue and its stored preference.

#include "SigninTesting.h"
#include "help/HelpTopics.h"
#include "platform/Settings.h"
#include "platform/Twips.h"
#include "signin/AdminEntry.h"
#include "signin/frmNewUser.h"
#include "signin/frmTitlePage.h"
#include "support/ScriptedAnswers.h"
#include "support/TestFolder.h"
#include "ui/WindowFlow.h"
#include "ui/ZovButton.h"

#include <QApplication>
#include <QCheckBox>
#include <QPlainTextEdit>
#include <QTest>

namespace {

const QString kCaption = QStringLiteral(" Mirtavel - New User Overview");

// One start of the program up to the Admin window; `overview` drives the overview when it is
// expected, otherwise it must not appear. The Admin window that follows is closed.
void StartOnce(const std::function<void(frmNewUser&)>& overview) {
    auto* title = new frmTitlePage();
    title->setAttribute(Qt::WA_DeleteOnClose);
    title->show();
    ScriptedAnswers answers;
    if (overview) {
        answers.expectWindow(
            [&overview](QWidget* window) {
                auto* shown = qobject_cast<frmNewUser*>(window);
                QVERIFY(shown);
                overview(*shown);
            },
            kCaption);
    }
    answers.expectMessage(QStringLiteral("'User List' Empty"), 1);
    signintest::Press(title->cmdContinue);
    QVERIFY(answers.verifyDone());
    for (QWidget* window : QApplication::topLevelWidgets())
        window->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

QString Stored() {
    return platform::GetSetting(QStringLiteral("Mirtavel"), QStringLiteral("Defaults"),
                                QStringLiteral("NewUser"));
}

} // namespace

class TestNewUser : public QObject {
    Q_OBJECT

private slots:
    // Continue goes on to the real Admin window.
    void initTestCase() { flow::SetAdminWindow(signin::OpenAdminWindow); }

    void greetsWithTheOverview() {
        TestFolder folder;
        StartOnce([](frmNewUser& overview) {
            QCOMPARE(overview.size(), QSize(platform::Twips(6915), platform::Twips(6135)));
            QCOMPARE(overview.chkNoShow->text(), QStringLiteral("Don't show this screen again"));
            QVERIFY(!overview.chkNoShow->isChecked());
            QCOMPARE(overview.cmdContinue->Caption(), QStringLiteral("&Continue"));
            QVERIFY(overview.txtBox->isReadOnly());
            QCOMPARE(overview.txtBox->toPlainText(),
                     QStringLiteral("Welcome from ZOV Software! Are you a new user? If so, then "
                                    "let's take a moment for a brief but important overview.\n\n") +
                         help::TopicText(300));
            overview.cmdContinue->Click();
            QVERIFY(!overview.isVisible());
        });
    }

    // Unticked, the overview comes again at the next start; ticked, never again.
    void theStoredPreference() {
        TestFolder folder;
        QVERIFY(platform::SaveSetting(QStringLiteral("Mirtavel"), QStringLiteral("Defaults"),
                                      QStringLiteral("NewUser"), QStringLiteral("Show")));
        StartOnce([](frmNewUser& overview) { signintest::Press(overview.cmdContinue); });
        QCOMPARE(Stored(), QStringLiteral("Show"));
        StartOnce([](frmNewUser& overview) {
            overview.chkNoShow->click();
            signintest::Press(overview.cmdContinue);
        });
        QCOMPARE(Stored(), QStringLiteral("NoShow"));
        StartOnce({});
        StartOnce({});
    }

    void closedWithoutContinueStoresNothing() {
        TestFolder folder;
        StartOnce([](frmNewUser& overview) { overview.chkNoShow->click(); });
        QCOMPARE(Stored(), QString());
    }
};

QTEST_MAIN(TestNewUser)
#include "test_newuser.moc"

#include "SigninTesting.h"

#include "forms/ShutDown.h"
#include "signin/AccessCode.h"
#include "signin/SignInBrake.h"
#include "signin/frmAddEditUser.h"
#include "support/ScriptedAnswers.h"
#include "support/TestFolder.h"

#include "store/Clock.h"
#include "store/RecordStore.h"
#include "store/UserLog.h"
#include "ui/ZovButton.h"

#include <QDir>
#include <QFile>
#include <QRadioButton>
#include <QTest>
#include <QWidget>

namespace signintest {

AdminFolder::AdminFolder(const QString& codeRecord) : folder_(std::make_unique<TestFolder>()) {
    SetProgramEnd([] {});
    // Each test is a run of its own: no wrong tries of an earlier one hold it back.
    signin::PasswordBrake().Clear();
    signin::AccessCodeBrake().Clear();
    QVERIFY(signin::SaveAccessCodeRecord(codeRecord));
}

AdminFolder::~AdminFolder() {
    SetProgramEnd({});
}

int AddUser(const QString& first, const QString& last, const QString& password, int level,
            const QString& comments) {
    auto& users = store::Users();
    if (!users.Open())
        return 0;
    const int number = users.Count() + 1;
    store::UserRecord& user = users.Buffer();
    user = store::UserRecord{};
    user.DateCreated = store::CurrentDateValue();
    user.FirstName = first;
    user.LastName = last;
    user.Password = store::ScramblePassword(password);
    user.AccessLevel = static_cast<qint16>(level);
    user.Comments = comments;
    const bool written = users.Write(number).ok();
    users.Close();
    return written ? number : 0;
}

void Press(ZovButton* button) {
    QVERIFY2(button, "no button");
    QVERIFY2(button->isVisible(), qPrintable(button->Caption() + QStringLiteral(" is hidden")));
    QVERIFY2(button->isEnabled(), qPrintable(button->Caption() + QStringLiteral(" is disabled")));
    QTest::mouseClick(button, Qt::LeftButton);
}

void Type(QWidget* box, const QString& text) {
    for (const QChar c : text) {
        if (c.unicode() < 128)
            QTest::keyClick(box, c.toLatin1());
        else // keys beyond ASCII arrive as text alone, as from a compose key
            QTest::sendKeyEvent(QTest::Click, box, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
}

QStringList LogLines() {
    QFile log(store::UserLogFileName);
    if (!log.open(QIODevice::ReadOnly))
        return {};
    QStringList lines = QString::fromLatin1(log.readAll()).split(QStringLiteral("\r\n"));
    if (!lines.isEmpty() && lines.constLast().isEmpty())
        lines.removeLast();
    return lines;
}

void ShowActive(QWidget* window) {
    window->show();
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window));
}

void BlockFile(const QString& name) {
    QFile::remove(name);
    QVERIFY(QDir().mkpath(name));
}

void ExpectFirstAdministrator(ScriptedAnswers& answers) {
    answers.expectInput(QStringLiteral("Captain77"), QStringLiteral("New Access Code"))
        .expectInput(QStringLiteral("Captain77"), QStringLiteral("Confirm Access Code"))
        .expectMessage(QStringLiteral("Access Code Saved"), 1)
        .expectWindow(
            [](QWidget* window) {
                auto* editor = qobject_cast<frmAddEditUser*>(window);
                QVERIFY(editor);
                Type(editor->txtField[1], QStringLiteral("Dana"));
                Type(editor->txtField[2], QStringLiteral("Dorsey"));
                Type(editor->txtField[3], QStringLiteral("Chief01"));
                QTest::mouseClick(editor->optAccessLevel[4], Qt::LeftButton);
                Press(editor->cmdSave);
            },
            QStringLiteral("Mirtavel - Add a User"));
}

} // namespace signintest

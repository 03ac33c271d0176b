#include "support/ScriptedAnswers.h"

#include <QRegularExpression>
#include <QTest>
#include <utility>

using platform::Question;
using Kind = platform::Question::Kind;

namespace {

QString KindName(Kind kind) {
    switch (kind) {
    case Kind::Message:
        return QStringLiteral("message box");
    case Kind::StandardMessage:
        return QStringLiteral("standard message box");
    case Kind::Input:
        return QStringLiteral("input box");
    case Kind::Folder:
        return QStringLiteral("folder picker");
    case Kind::SaveFile:
        return QStringLiteral("save dialog");
    case Kind::OpenFile:
        return QStringLiteral("open dialog");
    case Kind::Window:
        return QStringLiteral("window");
    case Kind::Choice:
        return QStringLiteral("choice");
    }
    return QString();
}

QString Describe(const Question& q) {
    return KindName(q.kind) + QStringLiteral(" \"") + q.title + QStringLiteral("\": ") +
           QString(q.text).replace(QStringLiteral("\r\n"), QStringLiteral(" / "));
}

int StandardButton(platform::StandardAnswer answer) {
    switch (answer) {
    case platform::StandardAnswer::Ok:
    case platform::StandardAnswer::Yes:
        return 1;
    case platform::StandardAnswer::No:
        return 2;
    case platform::StandardAnswer::None:
        break;
    }
    return 0;
}

} // namespace

ScriptedAnswers::ScriptedAnswers() {
    platform::SetAnswerer([this](const Question& q) { return Answer(q); });
}

ScriptedAnswers::~ScriptedAnswers() {
    platform::SetAnswerer({});
    // A test that did not check the script itself still fails when a question never came.
    if (!verified_ && !expected_.isEmpty()) {
        verifyDone();
        if (!QTest::currentTestFailed())
            QTest::qFail("expected questions were never asked", __FILE__, __LINE__);
    }
}

ScriptedAnswers& ScriptedAnswers::expectMessage(const QString& title, int button, bool dontAsk) {
    return Queue({Kind::Message, title, {button, dontAsk, {}}, {}});
}

ScriptedAnswers& ScriptedAnswers::expectStandard(platform::StandardAnswer answer,
                                                 const QString& title) {
    return Queue({Kind::StandardMessage, title, {StandardButton(answer), false, {}}, {}});
}

ScriptedAnswers& ScriptedAnswers::expectInput(const QString& text, const QString& title) {
    return Queue({Kind::Input, title, {text.isEmpty() ? 0 : 1, false, text}, {}});
}

ScriptedAnswers& ScriptedAnswers::expectFolder(const QString& path, const QString& title) {
    return Queue({Kind::Folder, title, {path.isEmpty() ? 0 : 1, false, path}, {}});
}

ScriptedAnswers& ScriptedAnswers::expectSaveFile(const QString& path, const QString& title) {
    return Queue({Kind::SaveFile, title, {path.isEmpty() ? 0 : 1, false, path}, {}});
}

ScriptedAnswers& ScriptedAnswers::expectOpenFile(const QString& path, const QString& title) {
    return Queue({Kind::OpenFile, title, {path.isEmpty() ? 0 : 1, false, path}, {}});
}

ScriptedAnswers& ScriptedAnswers::expectWindow(Drive drive, const QString& title) {
    return Queue({Kind::Window, title, {}, std::move(drive)});
}

ScriptedAnswers& ScriptedAnswers::expectChoice(int item, const QString& title) {
    return Queue({Kind::Choice, title, {item, false, {}}, {}});
}

ScriptedAnswers& ScriptedAnswers::Queue(Expected expected) {
    verified_ = false;
    expected_.append(std::move(expected));
    return *this;
}

platform::Answer ScriptedAnswers::Answer(const Question& q) {
    static const QRegularExpression lineBreak(QStringLiteral("\r?\n"));
    asked_.append({q.kind, q.title, q.text.split(lineBreak), q.buttons, q.defaultButton, q.icon,
                   q.defaultText, q.secret, q.items});
    if (expected_.isEmpty()) {
        Fail(QStringLiteral("unexpected ") + Describe(q));
        return {};
    }
    const Expected next = expected_.takeFirst();
    if (next.kind != q.kind || (!next.title.isEmpty() && next.title != q.title)) {
        Fail(QStringLiteral("expected ") + KindName(next.kind) + QStringLiteral(" \"") +
             next.title + QStringLiteral("\", got ") + Describe(q));
        return {};
    }
    if (next.drive)
        next.drive(q.window);
    return next.answer;
}

void ScriptedAnswers::Fail(const QString& why) {
    failures_.append(why);
    // The question was asked deep inside the program; fail the test there and then, once.
    if (!QTest::currentTestFailed())
        QTest::qFail(qPrintable(why), __FILE__, __LINE__);
}

bool ScriptedAnswers::verifyDone() {
    verified_ = true;
    for (const Expected& e : std::as_const(expected_)) {
        failures_.append(QStringLiteral("never asked: ") + KindName(e.kind) +
                         QStringLiteral(" \"") + e.title + u'"');
        qWarning("%s", qPrintable(failures_.constLast()));
    }
    expected_.clear();
    return failures_.isEmpty();
}

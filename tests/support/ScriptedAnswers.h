#pragma once

#include "platform/Questions.h"
#include "platform/StandardDialogs.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

// Answers the program's questions from a script while it lives: each expect...() queues the
// next question the program is meant to ask and how to answer it. A question that is not the
// next one expected, or an expectation left over at the end, fails the running test.
//
//     ScriptedAnswers answers;
//     answers.expectMessage("Incorrect Access Code", 1).expectInput("");
//     window.cmdAddUser->click();
//     QVERIFY(answers.verifyDone());
class ScriptedAnswers {
public:
    // One question as the program asked it.
    struct Asked {
        platform::Question::Kind kind = platform::Question::Kind::Message;
        QString title;
        QStringList lines; // the text split at its line breaks
        QStringList buttons;
        int defaultButton = 0;
        int icon = 0;
        QString defaultText;
        bool secret = false; // Input: typed with the password echo
        QStringList items;   // Choice: the items offered
    };
    using Drive = std::function<void(QWidget*)>;

    ScriptedAnswers();
    ~ScriptedAnswers(); // fails the test if an expected question was never asked
    ScriptedAnswers(const ScriptedAnswers&) = delete;
    ScriptedAnswers& operator=(const ScriptedAnswers&) = delete;

    // An empty title matches any title.
    ScriptedAnswers& expectMessage(const QString& title, int button, bool dontAsk = false);
    ScriptedAnswers& expectStandard(platform::StandardAnswer answer,
                                    const QString& title = QString());
    ScriptedAnswers& expectInput(const QString& text, const QString& title = QString());
    ScriptedAnswers& expectFolder(const QString& path, const QString& title = QString());
    // The save dialog; an empty path answers Cancel. Asked::defaultText holds the suggestion.
    ScriptedAnswers& expectSaveFile(const QString& path, const QString& title = QString());
    // The open dialog, the same way; Asked::defaultText holds the folder it starts in.
    ScriptedAnswers& expectOpenFile(const QString& path, const QString& title = QString());
    ScriptedAnswers& expectWindow(Drive drive, const QString& title = QString());
    // The choice of an item; `item` is 1-based, 0 answers Cancel.
    ScriptedAnswers& expectChoice(int item, const QString& title = QString());

    const QList<Asked>& asked() const { return asked_; }
    const Asked& lastAsked() const { return asked_.constLast(); }
    QStringList failures() const { return failures_; }
    int pending() const { return static_cast<int>(expected_.size()); }

    // True when every expected question was asked and nothing else; reports any failure.
    bool verifyDone();

private:
    struct Expected {
        platform::Question::Kind kind;
        QString title;
        platform::Answer answer;
        Drive drive;
    };

    ScriptedAnswers& Queue(Expected expected);
    platform::Answer Answer(const platform::Question& question);
    void Fail(const QString& why);

    QList<Expected> expected_;
    QList<Asked> asked_;
    QStringList failures_;
    bool verified_ = false;
};

#pragma once

#include "platform/Questions.h"

#include <QDir>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

class QWidget;
class ZovButton;

// Takes the pictures for window_shots: each window brought to rest (no flashing, no pending
// paint) and grabbed into <folder>/<name>.png. While it lives it answers the program's
// questions from its queue, so that no window waits for a user; a question out of turn, a
// button that cannot be pressed or a picture that cannot be written is a fault, and the run
// ends with a failure.
class Camera {
public:
    explicit Camera(const QString& folder);
    ~Camera();
    Camera(const Camera&) = delete;
    Camera& operator=(const Camera&) = delete;

    // The next question expected: its kind, its title and the answer it gets.
    void Expect(platform::Question::Kind kind, const QString& title, platform::Answer answer);

    // Presses `button` as a click does, without moving the pointer (which would leave the
    // hover look on it).
    void Press(ZovButton* button);

    // Stops every timer of `window`'s children (the flashing, which would make each picture
    // different), lets the pending events run and saves the picture. A window's own timer
    // members are stopped by whoever opened it, before calling this.
    void Snap(QWidget& window, const QString& name);

    void Fault(const QString& why);
    const QStringList& Faults() const { return faults_; }
    int Taken() const { return taken_; }

private:
    struct Expected {
        platform::Question::Kind kind;
        QString title;
        platform::Answer answer;
    };

    platform::Answer Answer(const platform::Question& question);

    QDir folder_;
    QList<Expected> expected_;
    QStringList faults_;
    int taken_ = 0;
};

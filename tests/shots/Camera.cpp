#include "shots/Camera.h"

#include "ui/ZovButton.h"

#include <QCoreApplication>
#include <QPixmap>
#include <QTimer>
#include <QWidget>

Camera::Camera(const QString& folder) : folder_(folder) {
    platform::SetAnswerer([this](const platform::Question& q) { return Answer(q); });
}

Camera::~Camera() {
    platform::SetAnswerer({});
}

void Camera::Expect(platform::Question::Kind kind, const QString& title, platform::Answer answer) {
    expected_.append({kind, title, std::move(answer)});
}

platform::Answer Camera::Answer(const platform::Question& question) {
    if (expected_.isEmpty() || expected_.constFirst().kind != question.kind ||
        expected_.constFirst().title != question.title) {
        Fault(QStringLiteral("question out of turn: \"%1\"").arg(question.title));
        return {};
    }
    return expected_.takeFirst().answer;
}

void Camera::Press(ZovButton* button) {
    if (!button->isVisible() || !button->isEnabled()) {
        Fault(QStringLiteral("cannot press \"%1\"").arg(button->Caption()));
        return;
    }
    button->PerformClick();
}

void Camera::Snap(QWidget& window, const QString& name) {
    for (QTimer* timer : window.findChildren<QTimer*>())
        timer->stop();
    // Layouts, deferred updates and deletions settle in a few rounds; no timer is left to fire.
    for (int round = 0; round < 3; ++round) {
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
    }
    if (!expected_.isEmpty())
        Fault(QStringLiteral("%1: question never asked: \"%2\"").arg(name, expected_[0].title));
    expected_.clear();
    const QString file = folder_.filePath(name + QStringLiteral(".png"));
    if (!window.grab().save(file, "PNG"))
        Fault(QStringLiteral("cannot write ") + file);
    else
        ++taken_;
}

void Camera::Fault(const QString& why) {
    faults_.append(why);
}

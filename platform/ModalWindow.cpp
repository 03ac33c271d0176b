#include "platform/ModalWindow.h"

#include "platform/Questions.h"

#include <QDialog>
#include <QEvent>
#include <QEventLoop>
#include <QPointer>
#include <QWidget>

namespace platform {

namespace {

// Ends a modal loop when its window is hidden for good (closed), not when minimised.
class CloseWatcher : public QObject {
public:
    CloseWatcher(QWidget* window, QEventLoop* loop) : QObject(window), loop_(loop) {
        window->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Hide && !event->spontaneous())
            loop_->quit();
        return QObject::eventFilter(watched, event);
    }

private:
    QEventLoop* loop_;
};

void RunOnScreen(QWidget* window) {
    if (auto* dialog = qobject_cast<QDialog*>(window)) {
        dialog->exec();
        return;
    }
    QEventLoop loop;
    const QPointer<QWidget> guard(window);
    auto* watcher = new CloseWatcher(window, &loop);
    QObject::connect(window, &QObject::destroyed, &loop, &QEventLoop::quit);
    window->show();
    if (window->isVisible())
        loop.exec(QEventLoop::DialogExec);
    if (guard)
        delete watcher;
}

void MakeSureClosed(const QPointer<QWidget>& window) {
    if (window && window->isVisible())
        window->close();
    // A window that refused to close still has to go: the answerer is done with it.
    if (window && window->isVisible())
        window->hide();
}

} // namespace

void RunModal(QWidget* window) {
    if (!window)
        return;
    const QPointer<QWidget> guard(window);
    window->setWindowModality(Qt::ApplicationModal);
    if (HasAnswerer()) {
        // Set up before it is asked about, as the user would first see it.
        window->show();
        if (!guard)
            return;
    }
    Question q;
    q.kind = Question::Kind::Window;
    q.title = window->windowTitle();
    q.window = window;
    Ask(q, [window] {
        RunOnScreen(window);
        return Answer{};
    });
    MakeSureClosed(guard);
}

} // namespace platform

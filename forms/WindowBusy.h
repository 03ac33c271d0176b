#pragma once

#include "ui/Form.h"

#include <QPointer>

// Keeps a window disabled under the hourglass for as long as it lives, and gives it back
// enabled with its pointer restored however the work ends. A window that is busy already (the
// work runs inside a longer task) is left to its owner, and so is one when `active` is false.
class WindowBusy {
public:
    explicit WindowBusy(Form& window, bool active = true)
        : window_(&window), owner_(active && !window.IsBusy()) {
        if (owner_)
            window_->SetBusy(true);
    }
    ~WindowBusy() {
        if (owner_ && window_)
            window_->SetBusy(false);
    }
    WindowBusy(const WindowBusy&) = delete;
    WindowBusy& operator=(const WindowBusy&) = delete;

private:
    QPointer<Form> window_;
    bool owner_;
};

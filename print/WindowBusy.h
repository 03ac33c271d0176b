#pragma once

#include "ui/Form.h"

#include <QPointer>

// Keeps the window that asked for a printout disabled under the hourglass while it lives, and
// gives it back enabled with its pointer restored however the printing ends. A window that
// is busy already (printing from inside a longer task) is left to its owner.
namespace print {

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

} // namespace print

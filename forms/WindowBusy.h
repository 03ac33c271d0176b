#pragma once

#include "ui/Form.h"

// Keeps a window disabled under the hourglass for as long as it lives. Nested inside
// another, it leaves the window to the outer one.
class WindowBusy {
public:
    explicit WindowBusy(Form& window) : window_(window), outer_(window.IsBusy()) {
        if (!outer_)
            window_.SetBusy(true);
    }
    ~WindowBusy() {
        if (!outer_)
            window_.SetBusy(false);
    }
    WindowBusy(const WindowBusy&) = delete;
    WindowBusy& operator=(const WindowBusy&) = delete;

private:
    Form& window_;
    bool outer_;
};

#pragma once

#include "ui/Form.h"

// Keeps a window disabled under the hourglass for as long as it lives. Nested inside
// another, it leaves the window to the outer one.
class LobbyBusy {
public:
    explicit LobbyBusy(Form& window) : window_(window), outer_(window.IsBusy()) {
        if (!outer_)
            window_.SetBusy(true);
    }
    ~LobbyBusy() {
        if (!outer_)
            window_.SetBusy(false);
    }
    LobbyBusy(const LobbyBusy&) = delete;
    LobbyBusy& operator=(const LobbyBusy&) = delete;

private:
    Form& window_;
    bool outer_;
};

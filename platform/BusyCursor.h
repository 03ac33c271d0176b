#pragma once

namespace platform {

// Shows the hourglass pointer for as long as it lives. Nested ones stack: the normal pointer
// comes back when the outermost ends.
class BusyCursor {
public:
    BusyCursor();
    ~BusyCursor();
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};

} // namespace platform

#pragma once

namespace platform {

// Lets pending window events run (repaints, clicks that arrived during a long operation).
void DoEvents();

} // namespace platform

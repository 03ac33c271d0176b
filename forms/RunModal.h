#pragma once

#include "ui/Form.h"

#include <QPointer>

namespace forms {

// Shows `window` modally over `parent`, hands it to `read` for what it leaves behind, and
// deletes it. A window closed for good may be gone by then: `read` is not called and the
// result is the default one ("nothing saved").
template <class Window, class Read>
auto RunModal(Form& parent, Window* window, Read read) -> decltype(read(*window)) {
    QPointer<Window> shown = window;
    shown->ShowModal(&parent);
    decltype(read(*window)) result{};
    if (shown)
        result = read(*shown);
    delete shown.data();
    return result;
}

} // namespace forms

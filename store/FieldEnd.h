#pragma once

#include <cstddef>

namespace store {

// Where the text of a stored text field ends: its width less the blanks and NULs (as an older
// program left them) that pad its end. 0 for a field of padding alone.
std::size_t FieldTextEnd(const char* field, std::size_t width);

} // namespace store

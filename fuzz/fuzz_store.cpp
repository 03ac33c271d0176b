// libFuzzer entry: build with -DMIRTAVEL_FUZZ=ON and clang (scripts/fuzz).
#include "fuzz/FuzzInput.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzzing::RunInput(data, size);
    return 0;
}

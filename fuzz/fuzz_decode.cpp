#include <cstddef>
#include <cstdint>

#include "fuzz/FuzzTarget.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzOneMessage(data, size);
    return 0;
}

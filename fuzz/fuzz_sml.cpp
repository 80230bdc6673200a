#include <cstddef>
#include <cstdint>

#include "fuzz/FuzzSml.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzOneSml(data, size);
    return 0;
}

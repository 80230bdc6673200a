#include <cstddef>
#include <cstdint>

#include "fuzz/FuzzImport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzSmlLog(data, size);
    return 0;
}

#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>
#include <vector>

#include "decode/Decode.h"
#include "render/JsonWriter.h"
#include "render/SmlWriter.h"

namespace {

// The bytes of a 50,000-cell status reply: an outer list of 4,999 reports,
// each a list of nine mixed values, plus nine loose values.
std::vector<unsigned char> LargeMessageBytes() {
    std::vector<unsigned char> bytes = {0x00, 0x01, 0x06, 0x10, 0x80, 0x01, 0, 0, 0, 1};
    auto Put = [&](std::initializer_list<unsigned char> b) { bytes.insert(bytes.end(), b); };
    auto Values = [&] {
        Put({0xB1, 4, 0xEE, 0x6B, 0x28, 0x01});                             // U4 4000000001
        Put({0x41, 10, 'L', 'O', 'T', '-', '0', '0', '0', '1', '2', '3'});  // A
        Put({0x91, 4, 0x41, 0x48, 0x00, 0x00});                             // F4 12.5
        Put({0xA5, 1, 200});                                                // U1
        Put({0x21, 4, 0xDE, 0xAD, 0xBE, 0xEF});                             // B
        Put({0x25, 2, 1, 0});                                               // BOOLEAN
        Put({0x69, 2, 0xFB, 0x2E});                                         // I2 -1234
        Put({0xA9, 2, 0xFD, 0xE8});                                         // U2 65000
        Put({0xA1, 8, 0, 0, 0, 0, 0x07, 0x5B, 0xCD, 0x15});                 // U8 123456789
    };
    Put({0x02, 0x13, 0x90});  // L[5008]
    for (int i = 0; i < 4999; ++i) {
        Put({0x01, 9});
        Values();
    }
    Values();
    return bytes;
}

// Target: under 20 ms for the 50,000 cells, decoding of the header included.
void BM_Json50k(benchmark::State& state) {
    const std::vector<unsigned char> bytes = LargeMessageBytes();
    CDecode decoder;
    const auto pMsg = decoder.Decode(bytes.data(), static_cast<unsigned>(bytes.size()), nullptr);
    for (auto _ : state) {
        std::string str = MessageToJson("large.BIG", *pMsg->m_pDoc);
        benchmark::DoNotOptimize(str.data());
    }
    state.counters["cells"] = static_cast<double>(pMsg->m_cells.size());
}
BENCHMARK(BM_Json50k)->Unit(benchmark::kMillisecond);

void BM_Sml50k(benchmark::State& state) {
    const std::vector<unsigned char> bytes = LargeMessageBytes();
    CDecode decoder;
    const auto pMsg = decoder.Decode(bytes.data(), static_cast<unsigned>(bytes.size()), nullptr);
    for (auto _ : state) {
        std::string str = MessageToSml(*pMsg->m_pDoc, ESmlDialect::kStandard);
        benchmark::DoNotOptimize(str.data());
    }
    state.counters["cells"] = static_cast<double>(pMsg->m_cells.size());
}
BENCHMARK(BM_Sml50k)->Unit(benchmark::kMillisecond);

}  // namespace

// Import speed: the hex reader over 100 MB logs in three layouts, and a
// 100 MB capture of 300,000 HSMS messages (replies matched, index built;
// files are not written). BREVIX_BENCH_CAPTURE=PATH also saves the capture,
// so that other tools can be timed on the very same bytes.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "BenchCapture.h"
#include "io/HexText.h"
#include "io/Importer.h"
#include "io/SessionIndex.h"

namespace {

constexpr std::size_t kTextSize = 100u << 20;
constexpr int kPairs = 150000;  // 300,000 messages

const char kDigits[] = "0123456789abcdef";

void PutHex(std::string& str, unsigned char c) {
    str += kDigits[c >> 4];
    str += kDigits[c & 15];
}

// 16 bytes a line, in the layout nLayout: 0 plain pairs, 1 hexdump -C, 2 log lines.
std::string LogText(int nLayout) {
    std::string str;
    str.reserve(kTextSize + 256);
    std::mt19937 rng(7);
    for (std::size_t nOffset = 0; str.size() < kTextSize; nOffset += 16) {
        unsigned char line[16];
        for (unsigned char& c : line) c = static_cast<unsigned char>(rng());
        if (nLayout == 1) {
            for (int nShift = 28; nShift >= 0; nShift -= 4)
                str += kDigits[(nOffset >> nShift) & 15];
            str += ' ';
        }
        if (nLayout == 2) str += "2026-12-07 10:00:00.123 Out: ";
        for (int i = 0; i < 16; ++i) {
            str += ' ';
            if (nLayout == 1 && i == 8) str += ' ';
            PutHex(str, line[i]);
        }
        if (nLayout == 1) str += "  |................|";
        str += '\n';
    }
    return str;
}

void BM_HexReader(benchmark::State& state) {
    const std::string strText = LogText(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        const CHexText text = ReadHexText(strText);
        benchmark::DoNotOptimize(text.m_bytes.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * strText.size()));
}
BENCHMARK(BM_HexReader)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

void BM_ImportCapture(benchmark::State& state) {
    const std::vector<unsigned char> capture = HsmsCapture(kPairs);
    if (const char* szPath = std::getenv("BREVIX_BENCH_CAPTURE")) {
        if (std::FILE* pFile = std::fopen(szPath, "wb")) {
            std::fwrite(capture.data(), 1, capture.size(), pFile);
            std::fclose(pFile);
        }
    }
    std::size_t nMessages = 0;
    CSessionOptions opts;
    opts.bCheckBodies = false;
    for (auto _ : state) {
        state.PauseTiming();
        std::vector<unsigned char> copy = capture;
        state.ResumeTiming();
        CSession session;
        std::string strError;
        SessionFromBytes(std::move(copy), opts, session, strError);
        const std::string strIndex = ImportIndex({&session}, false);
        benchmark::DoNotOptimize(strIndex.data());
        nMessages = session.Messages().size();
    }
    state.counters["messages"] = static_cast<double>(nMessages);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * capture.size()));
}
BENCHMARK(BM_ImportCapture)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

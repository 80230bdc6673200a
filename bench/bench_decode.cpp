// Decoder speed and memory. Each benchmark decodes one message image per
// iteration; freeing the message is kept out of the timing. Doc*: the one
// walk into the document (the bytes are handed over, as the front ends do);
// "bytes/row" is the heap the document takes beyond its bytes, per item
// (the row table's reserve included). The others: the
// classic cells made from the document; "bytes/cell" is the heap growth of
// one decoded message (document, cells, storage blocks, m_cells slots and
// allocator overhead) divided by its cells.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <memory>
#include <vector>

#include "decode/Decode.h"
#include "decode/MsgDocWalk.h"

namespace {

std::vector<unsigned char> Header() { return {0x00, 0x01, 0x86, 0x0B, 0x80, 0x01, 0, 0, 0, 1}; }

void Append(std::vector<unsigned char>& bytes, std::initializer_list<unsigned char> more) {
    bytes.insert(bytes.end(), more);
}

// L[50000]{U1, ...}
std::vector<unsigned char> ListOfU1(int nCount) {
    auto bytes = Header();
    Append(bytes,
           {0x02, static_cast<unsigned char>(nCount >> 8), static_cast<unsigned char>(nCount)});
    for (int i = 0; i < nCount; ++i) Append(bytes, {0xA5, 0x01, static_cast<unsigned char>(i)});
    return bytes;
}

// One binary item of nSize bytes (three length bytes).
std::vector<unsigned char> Binary(int nSize) {
    auto bytes = Header();
    Append(bytes, {0x23, static_cast<unsigned char>(nSize >> 16),
                   static_cast<unsigned char>(nSize >> 8), static_cast<unsigned char>(nSize)});
    bytes.resize(bytes.size() + static_cast<std::size_t>(nSize), 0x5A);
    return bytes;
}

// L[n]{L[3]{A[16], U4, F8}, ...}: an outer list of event reports.
std::vector<unsigned char> EventReports(int nCount) {
    auto bytes = Header();
    Append(bytes,
           {0x02, static_cast<unsigned char>(nCount >> 8), static_cast<unsigned char>(nCount)});
    for (int i = 0; i < nCount; ++i) {
        Append(bytes, {0x01, 0x03, 0x41, 0x10});
        for (int k = 0; k < 16; ++k)
            bytes.push_back(static_cast<unsigned char>('A' + (i + k) % 26));
        Append(bytes, {0xB1, 0x04, 0x00, 0x01, static_cast<unsigned char>(i >> 8),
                       static_cast<unsigned char>(i)});
        Append(bytes, {0x81, 0x08, 0x40, 0x09, 0x21, 0xFB, 0x54, 0x44, 0x2D, 0x18});
    }
    return bytes;
}

double BytesPerCell(CDecode& decoder, const std::vector<unsigned char>& bytes) {
    const std::size_t nBefore = mallinfo2().uordblks;
    auto pMsg = decoder.Decode(bytes.data(), static_cast<unsigned int>(bytes.size()), nullptr);
    const std::size_t nAfter = mallinfo2().uordblks;
    return static_cast<double>(nAfter - nBefore) / static_cast<double>(pMsg->m_cells.size());
}

void Run(benchmark::State& state, const std::vector<unsigned char>& bytes) {
    CDecode decoder;
    const double dBytesPerCell = BytesPerCell(decoder, bytes);
    std::size_t nCells = 0;
    for (auto _ : state) {
        auto pMsg = decoder.Decode(bytes.data(), static_cast<unsigned int>(bytes.size()), nullptr);
        nCells = pMsg->m_cells.size();
        benchmark::DoNotOptimize(pMsg.get());
        state.PauseTiming();
        pMsg.reset();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
    state.counters["cells"] = static_cast<double>(nCells);
    state.counters["cells/s"] =
        benchmark::Counter(static_cast<double>(nCells) * static_cast<double>(state.iterations()),
                           benchmark::Counter::kIsRate);
    state.counters["bytes/cell"] = dBytesPerCell;
}

void RunDoc(benchmark::State& state, std::vector<unsigned char> bytes) {
    const std::size_t nSize = bytes.size();
    const std::size_t nBefore = mallinfo2().uordblks;
    CMsgDoc doc = DecodeMsgDoc(std::move(bytes));
    const double dPerRow = static_cast<double>(mallinfo2().uordblks - nBefore) /
                           static_cast<double>(doc.m_rows.size());
    const std::size_t nRows = doc.m_rows.size();
    for (auto _ : state) {
        // The walk leaves the bytes as they are: take them back for the next round.
        state.PauseTiming();
        bytes = std::move(doc.m_bytes);
        doc = CMsgDoc();
        state.ResumeTiming();
        doc = DecodeMsgDoc(std::move(bytes));
        benchmark::DoNotOptimize(doc.m_rows.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * nSize));
    state.counters["rows"] = static_cast<double>(nRows);
    state.counters["bytes/row"] = dPerRow;
}

void BM_DocListOf50000U1(benchmark::State& state) { RunDoc(state, ListOfU1(50000)); }
void BM_DocBinary10MB(benchmark::State& state) { RunDoc(state, Binary(10 * 1024 * 1024)); }
void BM_DocEventReports10000(benchmark::State& state) { RunDoc(state, EventReports(10000)); }
BENCHMARK(BM_DocListOf50000U1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DocBinary10MB)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DocEventReports10000)->Unit(benchmark::kMillisecond);

void BM_ListOf50000U1(benchmark::State& state) { Run(state, ListOfU1(50000)); }
void BM_Binary10MB(benchmark::State& state) { Run(state, Binary(10 * 1024 * 1024)); }
void BM_EventReports10000(benchmark::State& state) { Run(state, EventReports(10000)); }

BENCHMARK(BM_ListOf50000U1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Binary10MB)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EventReports10000)->Unit(benchmark::kMillisecond);

}  // namespace

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <ostream>
#include <sstream>
#include <streambuf>
#include <string>
#include <vector>

#include "cli/DumpOptions.h"
#include "cli/DumpRun.h"
#include "decode/Decode.h"
#include "model/MsgMgr.h"
#include "render/TreeLabels.h"

namespace {

// About 50,000 cells shaped like a large status reply: an outer list of
// 4,999 reports, each a list of nine mixed values, plus nine loose values.
std::unique_ptr<CMsgInfo> MakeLargeMessage() {
    auto pMsg = std::make_unique<CMsgInfo>();
    pMsg->m_nStream = 6;
    pMsg->m_nFunction = 16;
    CMsgMgr mgr;
    CMsgInfo* p = pMsg.get();
    const std::uint32_t u4 = 4000000001u;
    const float f4 = 12.5f;
    const std::uint8_t u1 = 200;
    const unsigned char bin[4] = {0xDE, 0xAD, 0xBE, 0xEF};
    const std::uint16_t b[2] = {1, 0};
    const std::int16_t i2 = -1234;
    const std::uint16_t u2 = 65000;
    const double u8 = 123456789.0;
    auto AppendValues = [&] {
        mgr.AppendU4(p, &u4, 1);
        mgr.AppendAscii(p, "LOT-000123", 10);
        mgr.AppendF4(p, &f4, 1);
        mgr.AppendU1(p, &u1, 1);
        mgr.AppendBinary(p, bin, 4);
        mgr.AppendBoolean(p, b, 2);
        mgr.AppendI2(p, &i2, 1);
        mgr.AppendU2(p, &u2, 1);
        mgr.AppendU8(p, &u8, 1);
    };
    mgr.OpenList(p);
    for (int i = 0; i < 4999; ++i) {
        mgr.OpenList(p);
        AppendValues();
        mgr.CloseList(p);
    }
    AppendValues();
    mgr.CloseList(p);
    return pMsg;
}

void BM_Listing50k(benchmark::State& state) {
    const auto pMsg = MakeLargeMessage();
    CDecode decoder;
    const int nStyle = static_cast<int>(state.range(0));
    for (auto _ : state) {
        std::string str = decoder.GetMsgText(pMsg.get(), 0, nStyle);
        benchmark::DoNotOptimize(str.data());
    }
    state.counters["cells"] = static_cast<double>(pMsg->m_cells.size());
    state.SetLabel(nStyle ? "column" : "bracket");
}
BENCHMARK(BM_Listing50k)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_TreeLabels50k(benchmark::State& state) {
    const auto pMsg = MakeLargeMessage();
    for (auto _ : state) {
        CLabelTree tree = BuildLabelTree(*pMsg, 1);
        benchmark::DoNotOptimize(tree.m_nodes.data());
    }
    state.counters["cells"] = static_cast<double>(pMsg->m_cells.size());
}
BENCHMARK(BM_TreeLabels50k)->Unit(benchmark::kMillisecond);

// Bytes of a typical S6F11 event report: DATAID, CEID and two reports of
// a few values each, about 25 cells and 150 bytes.
std::vector<unsigned char> TypicalMessage(int n) {
    std::vector<unsigned char> m = {0x00, 0x01, 0x86, 0x0B, 0x80,
                                    0x01, 0,    0,    0,    static_cast<unsigned char>(n)};
    auto U4 = [&](std::uint32_t v) {
        m.insert(m.end(), {0xB1, 0x04, static_cast<unsigned char>(v >> 24),
                           static_cast<unsigned char>(v >> 16), static_cast<unsigned char>(v >> 8),
                           static_cast<unsigned char>(v)});
    };
    auto A = [&](const std::string& s) {
        m.push_back(0x41);
        m.push_back(static_cast<unsigned char>(s.size()));
        m.insert(m.end(), s.begin(), s.end());
    };
    auto L = [&](unsigned char count) { m.insert(m.end(), {0x01, count}); };
    L(3);
    U4(static_cast<std::uint32_t>(n));
    U4(100 + static_cast<std::uint32_t>(n % 7));
    L(2);
    for (int r = 0; r < 2; ++r) {
        L(2);
        U4(static_cast<std::uint32_t>(r + 1));
        L(8);
        A("LOT-" + std::to_string(n));
        A("WAFER-" + std::to_string(r));
        U4(static_cast<std::uint32_t>(n * 31));
        m.insert(m.end(), {0x91, 0x04, 0x42, 0x48, 0x00, 0x00});  // F4 50.0
        m.insert(m.end(), {0x25, 0x01, 0x01});                    // BOOL true
        m.insert(m.end(), {0x21, 0x04, 0x01, 0x02, 0x03, 0x04});  // B 4 bytes
        A("PROCESSING");
        m.insert(m.end(), {0xA9, 0x02, 0x01, 0x2C});  // U2 300
    }
    return m;
}

class CNullBuffer : public std::streambuf {
protected:
    std::streamsize xsputn(const char*, std::streamsize n) override { return n; }
    int overflow(int c) override { return c; }
};

// brevix-dump over a folder of 1,000 typical message files, in-process:
// reading, decoding and listing (with its TECHV.TXT), output discarded.
void BM_DumpFolder1000(benchmark::State& state) {
    namespace fs = std::filesystem;
    char templ[] = "/tmp/brevix-bench-XXXXXX";
    if (!mkdtemp(templ)) {
        state.SkipWithError("no scratch folder");
        return;
    }
    const fs::path dir = templ;
    CDumpOptions opts;
    opts.m_nStyle = static_cast<int>(state.range(0));
    for (int i = 0; i < 1000; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "%04d.BIG", i);
        const auto bytes = TypicalMessage(i);
        std::ofstream(dir / name, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
        opts.m_files.push_back((dir / name).string());
    }
    const fs::path cwd = fs::current_path();
    fs::current_path(dir);  // TECHV.TXT lands in the scratch folder
    CNullBuffer nullBuffer;
    std::ostream out(&nullBuffer);
    std::istringstream in;
    for (auto _ : state) benchmark::DoNotOptimize(RunDump(opts, out, out, in));
    fs::current_path(cwd);
    fs::remove_all(dir);
    state.SetItemsProcessed(state.iterations() * 1000);
    state.SetLabel("items = files");
}
BENCHMARK(BM_DumpFolder1000)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace

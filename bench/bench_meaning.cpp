// What the numbers mean: annotating one large event report against a large
// dictionary (target: at most 5 ms more than decoding it), and learning
// over the messages of a long session.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "decode/Decode.h"
#include "decode/MsgDocWalk.h"
#include "io/SessionMeaning.h"
#include "model/Dictionary.h"
#include "render/DictionaryLearning.h"
#include "render/DocViews.h"
#include "render/ItemMeaning.h"
#include "render/MeaningText.h"

namespace {

constexpr int kReports = 1000;
constexpr int kValuesPerReport = 47;  // 1,000 x (3 + 47) + 4 = 50,004 items

void Put(std::vector<unsigned char>& bytes, std::initializer_list<unsigned char> more) {
    bytes.insert(bytes.end(), more);
}

void PutU4(std::vector<unsigned char>& bytes, std::uint32_t n) {
    Put(bytes, {0xB1, 4, static_cast<unsigned char>(n >> 24), static_cast<unsigned char>(n >> 16),
                static_cast<unsigned char>(n >> 8), static_cast<unsigned char>(n)});
}

// S6F11 L[3]{DATAID CEID L[1000]{L[2]{RPTID L[47]{U4 ...}}}}
std::vector<unsigned char> LargeEventReport() {
    std::vector<unsigned char> bytes = {0x00, 0x01, 0x86, 0x0B, 0x80, 0x01, 0, 0, 0, 1};
    Put(bytes, {0x01, 3});
    PutU4(bytes, 1);
    PutU4(bytes, 4001);
    Put(bytes, {0x02, kReports >> 8, kReports & 0xFF});
    for (int r = 0; r < kReports; ++r) {
        Put(bytes, {0x01, 2});
        PutU4(bytes, static_cast<std::uint32_t>(r));
        Put(bytes, {0x01, kValuesPerReport});
        for (int v = 0; v < kValuesPerReport; ++v) PutU4(bytes, static_cast<std::uint32_t>(v));
    }
    return bytes;
}

// Every report defined, its VIDs named: 47,000 VIDs (nVidSets 1,000), or the
// same 47 in every report (nVidSets 1), as equipment with few variables has.
CDictionary LargeDictionary(int nVidSets) {
    CDictionary dict;
    dict.Define({EDefKind::kCeid, "4001", "LotStarted", "", "", "", "", {}, false, -1});
    for (int r = 0; r < kReports; ++r) {
        SDefinition report{EDefKind::kRptid, std::to_string(r), "", "", "", "", "", {}, false, -1};
        for (int v = 0; v < kValuesPerReport; ++v) {
            const std::string strVid =
                std::to_string(100000 + (r % nVidSets) * kValuesPerReport + v);
            report.members.push_back(strVid);
            dict.Define(
                {EDefKind::kVid, strVid, "Variable" + strVid, "mm", "", "", "", {}, false, -1});
        }
        dict.Define(std::move(report));
    }
    return dict;
}

// The baseline: decoding the message as the viewer does.
void BM_Decode50k(benchmark::State& state) {
    const std::vector<unsigned char> bytes = LargeEventReport();
    CDecode decoder;
    for (auto _ : state) {
        auto pMsg = decoder.Decode(bytes.data(), static_cast<unsigned>(bytes.size()), nullptr);
        benchmark::DoNotOptimize(pMsg.get());
    }
}
BENCHMARK(BM_Decode50k)->Unit(benchmark::kMillisecond);

// Matching, ids, the report's VIDs and their definitions, and the role
// text of every item; the views are the document's, built once.
void BM_Annotate50k(benchmark::State& state) {
    const std::vector<unsigned char> bytes = LargeEventReport();
    const std::vector<SItemView> views = ItemViewsOfBytes(bytes.data(), bytes.size());
    const CDictionary dict = LargeDictionary(static_cast<int>(state.range(0)));
    std::size_t nNamed = 0;
    for (auto _ : state) {
        const std::vector<SItemMeaning> meanings = AnnotateItems(6, 11, views, 1, dict);
        nNamed = 0;
        for (const SItemMeaning& m : meanings) {
            std::string str = RoleText(m);
            nNamed += m.pDef != nullptr;
            benchmark::DoNotOptimize(str.data());
        }
    }
    state.counters["items"] = static_cast<double>(views.size());
    state.counters["named"] = static_cast<double>(nNamed);
}
BENCHMARK(BM_Annotate50k)->Unit(benchmark::kMillisecond)->Arg(kReports)->Arg(1);

// What the inspector and the session window add to a shown message: its
// views, the annotation, every row's role text and the structure's notes.
void BM_MeaningTexts50k(benchmark::State& state) {
    std::vector<unsigned char> bytes = LargeEventReport();
    const CMsgDoc doc = DecodeMsgDoc(std::move(bytes));
    const CDictionary dict = LargeDictionary(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        const SMeaningTexts texts = DocMeaningTexts(doc, dict, 1);
        benchmark::DoNotOptimize(texts.roles.data());
    }
}
BENCHMARK(BM_MeaningTexts50k)->Unit(benchmark::kMillisecond)->Arg(kReports)->Arg(1);

// What a session index adds: 1,000,000 messages, a quarter of them of a
// kind that defines something (S5F1, S2F33; the same definitions again,
// as equipment repeats them), the rest event reports and replies.
void BM_Learn1M(benchmark::State& state) {
    const struct {
        int nStream, nFunction;
        const char* szBody;
    } kBodies[] = {
        {6, 11, "01 03 B104 00000001 B104 00000FA1 0101 0102 B104 0000000A 0101 A902 0005"},
        {6, 12, "2101 00"},
        {5, 1, "01 03 2101 86 B104 00000003 4104 446F6F72"},
        {5, 2, "2101 00"},
        {2, 33, "0102 B104 00000001 0101 0102 B104 0000000A 0102 A902 0005 A902 0006"},
        {2, 34, "2101 00"},
        {1, 3, "0101 A902 0005"},
        {1, 4, "0101 A501 07"},
    };
    std::vector<std::vector<unsigned char>> bytes;
    for (const auto& body : kBodies) {
        std::vector<unsigned char> b(10, 0);
        for (const char* p = body.szBody; *p;) {
            if (*p == ' ') {
                ++p;
                continue;
            }
            b.push_back(static_cast<unsigned char>(std::stoi(std::string(p, 2), nullptr, 16)));
            p += 2;
        }
        bytes.push_back(std::move(b));
    }
    for (auto _ : state) {
        CDictionary dict;
        for (std::int64_t n = 0; n < 1000000; ++n) {
            const std::size_t k = static_cast<std::size_t>(n) % std::size(kBodies);
            const int nStream = kBodies[k].nStream, nFunction = kBodies[k].nFunction;
            if (!LearnsFrom(nStream, nFunction)) continue;
            // The items of a defining message, as the session walks it.
            const std::vector<unsigned char>& b = bytes[k];
            const std::vector<SItemView> items = ItemViewsOfBytes(b.data(), b.size());
            LearnDefinitions(nStream, nFunction, items, n, dict);
        }
        benchmark::DoNotOptimize(&dict);
    }
}
BENCHMARK(BM_Learn1M)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

#include "io/SessionIndex.h"
#include "io/SessionMessages.h"
#include "render/MessageDiff.h"
#include "render/SessionDiff.h"

namespace {

// An event report message of 4,546 reports of eleven items each (the report
// list, its id, a list of eight values): 50,007 items. Every mth report gets
// another value in B, every (m + 7)th is left out of B and every (m + 11)th
// of A; m = 1 changes every report.
struct SReportPair {
    std::vector<unsigned char> a;
    std::vector<unsigned char> b;
};

void PutReport(std::vector<unsigned char>& out, int nId, int nValue) {
    const unsigned char id[] = {
        0xB1, 4, 0, 0, static_cast<unsigned char>(nId >> 8), static_cast<unsigned char>(nId)};
    out.insert(out.end(), {0x01, 2});
    out.insert(out.end(), std::begin(id), std::end(id));
    out.insert(out.end(), {0x01, 8});
    out.insert(out.end(), {0x41, 6, 'L', 'O', 'T', '-', '0', '1'});
    out.insert(out.end(), {0xA9, 2, static_cast<unsigned char>(nValue >> 8),
                           static_cast<unsigned char>(nValue)});
    out.insert(out.end(), {0x91, 4, 0x41, 0x48, 0x00, 0x00});
    out.insert(out.end(), {0xA5, 1, 200});
    out.insert(out.end(), {0x21, 2, 0xBE, 0xEF});
    out.insert(out.end(), {0x25, 1, 1});
    out.insert(out.end(), {0x69, 2, 0xFB, 0x2E});
    out.insert(out.end(), {0xA1, 8, 0, 0, 0, 0, 0x07, 0x5B, 0xCD, 0x15});
}

SReportPair ReportPair(int nEvery) {
    SReportPair pair;
    std::vector<unsigned char> bodyA, bodyB;
    int nCountA = 0, nCountB = 0;
    for (int i = 0; i < 4546; ++i) {
        if (i % (nEvery + 11) != 3) PutReport(bodyA, i, i), ++nCountA;
        if (i % (nEvery + 7) != 5) PutReport(bodyB, i, i % nEvery == 0 ? i + 1 : i), ++nCountB;
    }
    const auto Put = [](std::vector<unsigned char>& out, int nCount,
                        const std::vector<unsigned char>& body) {
        out = {0x00,
               0x01,
               0x86,
               0x0B,
               0x80,
               0x01,
               0,
               0,
               0,
               1,
               0x02,
               static_cast<unsigned char>(nCount >> 8),
               static_cast<unsigned char>(nCount)};
        out.insert(out.end(), body.begin(), body.end());
    };
    Put(pair.a, nCountA, bodyA);
    Put(pair.b, nCountB, bodyB);
    return pair;
}

// Target: 50 ms for the two 50,000-item messages, reading their items included.
void BM_DiffMessages50k(benchmark::State& state) {
    const SReportPair pair = ReportPair(static_cast<int>(state.range(0)));
    std::size_t nDiffs = 0, nItems = 0;
    for (auto _ : state) {
        const SDiffMessage a = DiffMessageOfBytes(pair.a.data(), pair.a.size());
        const SDiffMessage b = DiffMessageOfBytes(pair.b.data(), pair.b.size());
        const SMessageDiff diff = DiffMessages(a, b);
        nDiffs = diff.items.size();
        nItems = a.items.size();
        benchmark::DoNotOptimize(diff.rows.data());
    }
    state.counters["items"] = static_cast<double>(nItems);
    state.counters["diffs"] = static_cast<double>(nDiffs);
}
BENCHMARK(BM_DiffMessages50k)->Arg(100)->Arg(10)->Arg(1)->Unit(benchmark::kMillisecond);

// Target: 2 s for two sessions of 100,000 messages: a cycle of host and
// equipment exchanges; B leaves out every nth message, adds one after every
// (n + 3)th and changes the body of every (n + 5)th.
std::vector<SSessionMessage> Session(int nEvery, bool bB) {
    struct SKey {
        int nStream, nFunction;
        bool bW;
    };
    static const SKey kCycle[] = {{6, 11, true}, {6, 12, false}, {1, 3, true},  {1, 4, false},
                                  {2, 41, true}, {2, 42, false}, {5, 1, true},  {5, 2, false},
                                  {6, 11, true}, {6, 12, false}, {1, 13, true}, {1, 14, false}};
    const auto body = std::make_shared<std::vector<unsigned char>>(std::vector<unsigned char>{
        0, 1, 0x86, 0x0B, 0x80, 1, 0, 0, 0, 1, 0x01, 2, 0xB1, 4, 0, 0, 0, 7, 0xA5, 1, 1});
    auto other = std::make_shared<std::vector<unsigned char>>(*body);
    other->back() = 2;
    std::vector<SSessionMessage> session;
    for (int i = 0; session.size() < 100000; ++i) {
        const SKey& k = kCycle[i % std::size(kCycle)];
        if (bB && i % nEvery == 1) continue;
        SSessionMessage m;
        m.nStream = k.nStream;
        m.nFunction = k.nFunction;
        m.bWBit = k.bW;
        const auto bytes = bB && i % (nEvery + 5) == 2 ? other : body;
        m.load = [bytes](std::vector<unsigned char>& out) {
            out = *bytes;
            return true;
        };
        session.push_back(m);
        if (bB && i % (nEvery + 3) == 0) {
            m.nStream = 9;
            m.nFunction = 1;
            session.push_back(m);
        }
    }
    return session;
}

void BM_DiffSessions100k(benchmark::State& state) {
    const int nEvery = static_cast<int>(state.range(0));
    const std::vector<SSessionMessage> a = Session(nEvery, false), b = Session(nEvery, true);
    SSessionDiff diff;
    for (auto _ : state) {
        diff = DiffSessions(a, b);
        benchmark::DoNotOptimize(diff.pairs.data());
    }
    state.counters["changed"] = static_cast<double>(diff.nCount[1]);
    state.counters["onlyA"] = static_cast<double>(diff.nCount[2]);
    state.counters["onlyB"] = static_cast<double>(diff.nCount[3]);
}
BENCHMARK(BM_DiffSessions100k)->Arg(1000)->Arg(100)->Arg(10)->Unit(benchmark::kMillisecond);

}  // namespace

namespace {

// The same through the session index: two hex logs of 100,000 messages read
// once (outside the timing), then the adapter's sequences aligned and the
// candidates' bodies read from the sessions and compared.
std::string TwoDigits(int n) {
    return {static_cast<char>('0' + n / 10 % 10), static_cast<char>('0' + n % 10)};
}

CSession HexLogSession(int nEvery, bool bB) {
    // Lines as a logging host writes them: a time stamp, a direction, the bytes.
    const char* const kLines[] = {
        "Out: 00 01 86 0B 80 00 00 00 00 01 01 02 B1 04 00 00 00 07 A5 01 01\n",
        "In : 00 01 06 0C 80 00 00 00 00 01 21 01 00\n",
        "Out: 00 01 81 03 80 00 00 00 00 02 01 00\n", "In : 00 01 01 04 80 00 00 00 00 02 01 00\n"};
    std::string strLog;
    std::size_t nMessages = 0;
    for (int i = 0; nMessages < 100000; ++i) {
        if (bB && i % nEvery == 1) continue;
        std::string strLine = kLines[i % 4];
        if (bB && i % (nEvery + 5) == 0) strLine[strLine.size() - 2] = '2';
        const int nSeconds = i / 10;
        strLog += "2026-12-07 " + TwoDigits(nSeconds / 3600) + ":" + TwoDigits(nSeconds / 60 % 60) +
                  ":" + TwoDigits(nSeconds % 60) + "." + TwoDigits(i % 10) + "0 " + strLine;
        ++nMessages;
    }
    CSession session;
    std::string strError;
    CSessionOptions opts;
    opts.bCheckBodies = false;
    SessionFromBytes(std::vector<unsigned char>(strLog.begin(), strLog.end()), opts, session,
                     strError);
    return session;
}

void BM_DiffSessionSources100k(benchmark::State& state) {
    const int nEvery = static_cast<int>(state.range(0));
    const CSession a = HexLogSession(nEvery, false), b = HexLogSession(nEvery, true);
    SSessionDiff diff;
    for (auto _ : state) {
        diff = DiffSessions(SessionMessagesOf(a), SessionMessagesOf(b));
        benchmark::DoNotOptimize(diff.pairs.data());
    }
    state.counters["messages"] = static_cast<double>(a.Messages().size());
    state.counters["changed"] = static_cast<double>(diff.nCount[1]);
    state.counters["onlyA"] = static_cast<double>(diff.nCount[2]);
}
BENCHMARK(BM_DiffSessionSources100k)->Arg(1000)->Arg(10)->Unit(benchmark::kMillisecond);

}  // namespace

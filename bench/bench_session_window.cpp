// The session window on the 1,000,000-message capture of bench_session
// ($BREVIX_BENCH_CAPTURE, default /tmp/brevix-bench-1m.pcap; written when
// missing), offscreen: from Open to the list painted (the whole index; the
// first rows found while it is built), a filter over every row, and a row
// selected until its tree is painted. Targets: 1 s to the first rows
// (3 s for the whole index), 150 ms a filter, 50 ms a selection.
#include <benchmark/benchmark.h>
#include <sys/stat.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QPixmap>
#include <QTableView>
#include <QTreeView>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "BenchCapture.h"
#include "session/SessionDetails.h"
#include "session/SessionTableModel.h"
#include "session/SessionWindow.h"

namespace {

std::string CapturePath() {
    const char* szPath = std::getenv("BREVIX_BENCH_CAPTURE");
    const std::string strPath = szPath ? szPath : "/tmp/brevix-bench-1m.pcap";
    struct stat st {};
    if (::stat(strPath.c_str(), &st) == 0) return strPath;
    const std::vector<unsigned char> capture = HsmsCapture(500000);
    if (std::FILE* pFile = std::fopen(strPath.c_str(), "wb")) {
        std::fwrite(capture.data(), 1, capture.size(), pFile);
        std::fclose(pFile);
    }
    return strPath;
}

// One window read once for the filter and selection benchmarks.
CSessionWindow& OpenedWindow() {
    static std::unique_ptr<CSessionWindow> pWindow;
    if (!pWindow) {
        pWindow = std::make_unique<CSessionWindow>();
        pWindow->show();
        pWindow->Open(CapturePath());
        pWindow->WaitForOpen();
    }
    return *pWindow;
}

void BM_OpenToFirstRowsPainted(benchmark::State& state) {
    const std::string strPath = CapturePath();
    std::size_t nMessages = 0;
    for (auto _ : state) {
        CSessionWindow window;
        window.show();
        window.Open(strPath);
        window.WaitForOpen();
        QPixmap painted = window.m_tableMessages->grab();
        benchmark::DoNotOptimize(painted);
        nMessages = window.Session() ? window.Session()->Messages().size() : 0;
    }
    if (nMessages == 0) state.SkipWithError("nothing was read");
    state.counters["messages"] = static_cast<double>(nMessages);
}
BENCHMARK(BM_OpenToFirstRowsPainted)->Unit(benchmark::kMillisecond)->Iterations(2);

// From Open until the first rows found are painted, the index still being
// built on the loader's thread.
void BM_OpenToFoundRowsPainted(benchmark::State& state) {
    const std::string strPath = CapturePath();
    int nRows = 0;
    for (auto _ : state) {
        auto pWindow = std::make_unique<CSessionWindow>();
        pWindow->show();
        pWindow->Open(strPath);
        QElapsedTimer waited;
        waited.start();
        while (pWindow->m_pModel->rowCount({}) == 0 && waited.elapsed() < 20000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QPixmap painted = pWindow->m_tableMessages->grab();
        benchmark::DoNotOptimize(painted);
        nRows = pWindow->m_pModel->rowCount({});
        state.PauseTiming();
        pWindow->WaitForOpen();
        pWindow.reset();
        state.ResumeTiming();
    }
    if (nRows == 0) state.SkipWithError("no rows while reading");
    state.counters["rows"] = nRows;
}
BENCHMARK(BM_OpenToFoundRowsPainted)->Unit(benchmark::kMillisecond)->Iterations(3);

const char* const kFilters[] = {"S6F12", "S6F* unanswered", "\"LOT\"", "", "\"ZZZZ\""};

void BM_FilterAllRows(benchmark::State& state) {
    CSessionWindow& window = OpenedWindow();
    const QString strExpr = QString::fromLatin1(kFilters[state.range(0)]);
    for (auto _ : state) {
        window.ApplyFilter(strExpr);
        QPixmap painted = window.m_tableMessages->grab();
        benchmark::DoNotOptimize(painted);
    }
    state.SetLabel(kFilters[state.range(0)]);
    state.counters["rows"] = window.m_pModel->rowCount({});
}
BENCHMARK(BM_FilterAllRows)->DenseRange(0, 4)->Unit(benchmark::kMillisecond);

void BM_SelectRowAndPaintTree(benchmark::State& state) {
    CSessionWindow& window = OpenedWindow();
    window.ApplyFilter(QString());
    std::size_t nIndex = 0;
    const std::size_t nCount = window.Session()->Messages().size();
    for (auto _ : state) {
        nIndex = (nIndex + 7919 * 13) % nCount;
        window.SelectMessage(nIndex);
        QPixmap painted = window.m_pDetails->m_treeItems->grab();
        benchmark::DoNotOptimize(painted);
    }
}
BENCHMARK(BM_SelectRowAndPaintTree)->Unit(benchmark::kMillisecond);

}  // namespace

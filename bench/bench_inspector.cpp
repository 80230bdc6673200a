// The inspector, from the request to show a file to the window painted once,
// on the offscreen platform: read, decode, model, expand, hex, paint (labels
// are made for the rows painted). Targets: 50,000 cells (flat or nested)
// within 150 ms, a 10 MB binary item within 100 ms, that item selected and
// its value shown within 100 ms, 5,000,000 items within 1 s.
#include <benchmark/benchmark.h>

#include <QPixmap>
#include <QTemporaryDir>
#include <fstream>
#include <vector>

#include "inspect/InspectorWindow.h"

namespace {

std::vector<unsigned char> Header() { return {0x00, 0x00, 0x86, 0x0B, 0x00, 0x00, 0, 0, 0, 1}; }

void AppendListHead(std::vector<unsigned char>& bytes, int nCount) {
    bytes.insert(bytes.end(),
                 {0x03, static_cast<unsigned char>(nCount >> 16),
                  static_cast<unsigned char>(nCount >> 8), static_cast<unsigned char>(nCount)});
}

// nCells cells: one list of U1 items, or lists nested one in another around
// a single U1 item.
std::vector<unsigned char> MessageOfCells(int nCells, bool bNested) {
    std::vector<unsigned char> bytes = Header();
    for (int i = 0; i < (bNested ? nCells - 1 : 1); ++i)
        AppendListHead(bytes, bNested ? 1 : nCells - 1);
    for (int i = 0; i < (bNested ? 1 : nCells - 1); ++i) bytes.insert(bytes.end(), {0xA5, 1, 7});
    return bytes;
}

std::vector<unsigned char> Binary(int nSize) {
    std::vector<unsigned char> bytes = Header();
    bytes.insert(bytes.end(),
                 {0x23, static_cast<unsigned char>(nSize >> 16),
                  static_cast<unsigned char>(nSize >> 8), static_cast<unsigned char>(nSize)});
    bytes.resize(bytes.size() + static_cast<std::size_t>(nSize), 0x5A);
    return bytes;
}

void ShowInInspector(benchmark::State& state, const std::vector<unsigned char>& bytes,
                     int nSelect = -1) {
    QTemporaryDir dir;
    const std::string strPath = dir.filePath("M.BIG").toStdString();
    std::ofstream(strPath, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    CInspectorWindow window;
    window.setAttribute(Qt::WA_DeleteOnClose, false);
    window.resize(1000, 700);
    window.show();
    for (auto _ : state) {
        if (!window.ShowFile(strPath, 1)) state.SkipWithError("the file was not shown");
        if (nSelect >= 0) window.SelectCell(nSelect);
        QPixmap painted = window.grab();
        benchmark::DoNotOptimize(painted);
    }
    state.counters["items"] = window.Document() ? window.Document()->m_rows.size() : 0;
}

void Flat(benchmark::State& state) {
    ShowInInspector(state, MessageOfCells(static_cast<int>(state.range(0)), false));
}
void Nested(benchmark::State& state) {
    ShowInInspector(state, MessageOfCells(static_cast<int>(state.range(0)), true));
}
void Binary10MB(benchmark::State& state) { ShowInInspector(state, Binary(10 * 1024 * 1024)); }
void Binary10MBSelected(benchmark::State& state) {
    ShowInInspector(state, Binary(10 * 1024 * 1024), 0);
}

BENCHMARK(Flat)->Arg(50000)->Arg(5000000)->Unit(benchmark::kMillisecond);
BENCHMARK(Nested)->Arg(50000)->Unit(benchmark::kMillisecond);
BENCHMARK(Binary10MB)->Unit(benchmark::kMillisecond);
BENCHMARK(Binary10MBSelected)->Unit(benchmark::kMillisecond);

}  // namespace

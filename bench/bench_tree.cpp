// From the selection of a message file to its fully expanded tree painted
// once, on the offscreen platform: read, decode, labels, model, expand, paint.
#include <benchmark/benchmark.h>

#include <QItemSelectionModel>
#include <QListView>
#include <QPixmap>
#include <QTemporaryDir>
#include <QTreeView>
#include <QTreeWidget>
#include <fstream>
#include <vector>

#include "app/BrevixDlg.h"
#include "app/Prompter.h"
#include "bench/SilentPrompter.h"

namespace {

// S6F11W holding nCells cells: one list of U1 items, or lists nested one in
// another around a single U1 item.
std::vector<unsigned char> MessageOfCells(int nCells, bool bNested) {
    std::vector<unsigned char> bytes = {0x00, 0x00, 0x86, 0x0B, 0x00, 0x00, 0x00, 0x00, 0x00, 0x01};
    const int nLists = bNested ? nCells - 1 : 1;
    const int nItems = bNested ? 1 : nCells - 1;
    for (int i = 0; i < nLists; ++i) {
        const int nCount = bNested ? 1 : nItems;
        bytes.insert(bytes.end(),
                     {0x03, static_cast<unsigned char>(nCount >> 16),
                      static_cast<unsigned char>(nCount >> 8), static_cast<unsigned char>(nCount)});
    }
    for (int i = 0; i < nItems; ++i) bytes.insert(bytes.end(), {0xA5, 0x01, 0x07});
    return bytes;
}

void TreeFromSelection(benchmark::State& state, bool bNested) {
    const int nCells = static_cast<int>(state.range(0));
    QTemporaryDir dir;
    const std::vector<unsigned char> bytes = MessageOfCells(nCells, bNested);
    std::ofstream(dir.filePath("M.BIG").toStdString(), std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    CSilentPrompter prompter;
    CBrevixDlg dlg(prompter);
    dlg.show();
    std::string strError;
    dlg.OpenArgument(dir.path().toStdString(), strError);
    for (auto _ : state) {
        QItemSelectionModel* pSelection = dlg.m_listFiles->selectionModel();
        pSelection->clear();
        pSelection->setCurrentIndex(dlg.m_listFiles->model()->index(0, 0),
                                    QItemSelectionModel::ClearAndSelect);
        QPixmap painted = dlg.m_treeMessage->grab();
        benchmark::DoNotOptimize(painted);
    }
    if (prompter.m_nMessages != 0 || !dlg.m_pMessage) state.SkipWithError("the file was not shown");
    state.counters["cells"] = nCells;
}

BENCHMARK_CAPTURE(TreeFromSelection, flat, false)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(50000)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(TreeFromSelection, nested, true)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(50000)
    ->Unit(benchmark::kMillisecond);

// The road not taken, for comparison: the same labels put into a
// QTreeWidget item by item, after clearing the previous fill.
void TreeWidgetFill(benchmark::State& state) {
    const int nCells = static_cast<int>(state.range(0));
    QTreeWidget tree;
    tree.setHeaderHidden(true);
    tree.resize(550, 700);
    tree.show();
    for (auto _ : state) {
        tree.clear();
        auto* pRoot = new QTreeWidgetItem(&tree, QStringList(QStringLiteral("S6F11W")));
        auto* pList = new QTreeWidgetItem(pRoot, QStringList(QStringLiteral("LIST  [49999] ")));
        for (int i = 1; i < nCells; ++i)
            new QTreeWidgetItem(pList, QStringList(QStringLiteral("UINT1 [1] 7 ")));
        tree.expandAll();
        QPixmap painted = tree.grab();
        benchmark::DoNotOptimize(painted);
    }
}

BENCHMARK(TreeWidgetFill)->Arg(50000)->Unit(benchmark::kMillisecond);

}  // namespace

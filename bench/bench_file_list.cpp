// From a folder's path to its file list painted once, on the offscreen
// platform: read the folder, sort, fill the list, lay it out, paint.
#include <benchmark/benchmark.h>

#include <QListView>
#include <QPixmap>
#include <QTemporaryDir>
#include <fstream>
#include <string>

#include "app/BrevixDlg.h"
#include "app/Prompter.h"
#include "bench/SilentPrompter.h"

namespace {

// nFiles empty message files with names of mixed letter case, so that the
// list's upper-casing and ordering have work to do.
void MakeFolder(const QString& strFolder, int nFiles) {
    for (int i = 0; i < nFiles; ++i) {
        std::string strName = std::to_string(i * 7919 % nFiles) + (i % 2 ? "_log.big" : "_LOG.BIG");
        std::ofstream(strFolder.toStdString() + "/" + strName);
    }
}

void FileListFromFolder(benchmark::State& state) {
    const int nFiles = static_cast<int>(state.range(0));
    QTemporaryDir dir;
    MakeFolder(dir.path(), nFiles);
    CSilentPrompter prompter;
    CBrevixDlg dlg(prompter);
    dlg.show();
    std::string strError;
    for (auto _ : state) {
        dlg.OpenArgument(dir.path().toStdString(), strError);
        QPixmap painted = dlg.m_listFiles->grab();
        benchmark::DoNotOptimize(painted);
    }
    if (prompter.m_nMessages != 0 || dlg.m_listFiles->model()->rowCount() != nFiles)
        state.SkipWithError("the folder was not listed");
    state.counters["files"] = nFiles;
}

BENCHMARK(FileListFromFolder)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace

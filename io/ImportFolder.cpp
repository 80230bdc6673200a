#include "io/ImportFolder.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

#include "io/HexConvert.h"
#include "io/Importer.h"
#include "io/MsgFraming.h"

namespace {

// An index at least as new as the file: an import of this very content.
bool IsEarlierImport(const std::string& strFolder, const std::string& strFile) {
    struct stat index {
    }, file{};
    if (::stat((strFolder + "/INDEX.tsv").c_str(), &index) != 0) return false;
    if (::stat(strFile.c_str(), &file) != 0) return false;
    return index.st_mtim.tv_sec > file.st_mtim.tv_sec ||
           (index.st_mtim.tv_sec == file.st_mtim.tv_sec &&
            index.st_mtim.tv_nsec >= file.st_mtim.tv_nsec);
}

// The first of base, base-2, ... that is an earlier import or can be made
// new; empty with errno set when the parent cannot take a folder.
std::string ClaimFolder(const std::string& strBase, const std::string& strFile, bool& bReuse) {
    for (std::size_t n = 1; n < 1000; ++n) {
        const std::string strFolder = n == 1 ? strBase : strBase + "-" + DecimalText(n);
        if (::mkdir(strFolder.c_str(), 0777) == 0) {
            bReuse = false;
            return strFolder;
        }
        if (errno != EEXIST) return {};
        if (IsEarlierImport(strFolder, strFile)) {
            bReuse = true;
            return strFolder;
        }
    }
    errno = EEXIST;
    return {};
}

}  // namespace

bool ImportIntoFolder(const std::string& strFile, const std::string& strCacheDir,
                      std::string& strFolder, std::string& strSummary, std::string& strError) {
    bool bReuse = false;
    strFolder = ClaimFolder(strFile + ".messages", strFile, bReuse);
    if (strFolder.empty() && !strCacheDir.empty()) {
        const std::size_t nSlash = strFile.find_last_of('/');
        const std::string strName =
            nSlash == std::string::npos ? strFile : strFile.substr(nSlash + 1);
        ::mkdir(strCacheDir.c_str(), 0777);
        strFolder = ClaimFolder(strCacheDir + "/" + strName + ".messages", strFile, bReuse);
    }
    if (strFolder.empty()) {
        strError = std::strerror(errno);
        return false;
    }
    strSummary.clear();
    if (bReuse) return true;
    CSession session;
    CSessionOptions opts;
    opts.bCheckBodies = false;
    if (!OpenSession(strFile, opts, session, strError)) {
        ::rmdir(strFolder.c_str());
        strFolder.clear();
        return false;
    }
    CImportWrite written;
    const bool bOk = WriteImport(strFolder, {&session}, false, written);
    ::rmdir(strFolder.c_str());  // only an empty folder goes: nothing was found or written
    if (!bOk) strError = written.m_errors.front();
    std::size_t nWarnings = session.Warnings().size();
    for (const SSessionMsg& m : session.Messages()) nWarnings += m.nNote ? 1 : 0;
    strSummary =
        DecimalText(written.m_nMessages) + " messages, " + DecimalText(nWarnings) + " warnings";
    return bOk;
}

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "io/CaptureFile.h"
#include "io/MsgFile.h"
#include "io/MsgFraming.h"
#include "io/PacketDump.h"
#include "io/SessionBuilder.h"
#include "io/SessionIndex.h"
#include "io/SmlLog.h"
#include "io/TextLog.h"

namespace {

bool EndsWithBig(const std::string& strName) {
    if (strName.size() < 4) return false;
    const std::string strExt = strName.substr(strName.size() - 4);
    return strExt == ".BIG" || strExt == ".big" || strExt == ".Big";
}

// Text has no NUL and few control bytes; a message file has a binary header.
bool LooksLikeText(const unsigned char* p, std::size_t n) {
    const std::size_t nLook = std::min<std::size_t>(n, 4096);
    std::size_t nControl = 0;
    for (std::size_t i = 0; i < nLook; ++i) {
        if (p[i] == 0) return false;
        if (p[i] < 0x20 && p[i] != '\n' && p[i] != '\r' && p[i] != '\t' && p[i] != '\f') ++nControl;
    }
    return nControl * 20 <= nLook;
}

void IndexCapture(CSessionBuilder& builder, const CSessionOptions& opts,
                  const FSessionProgress& progress, bool& bOk, std::string& strError) {
    // A packet carries at least 70 bytes of headers besides what it holds.
    builder.Reserve(builder.Size() / 64, builder.Size() / 256);
    CTcpHsms tcp(builder, opts.nPort);
    bOk = ReadCapture(builder.Data(), builder.Size(), tcp, strError, progress);
}

void IndexText(CSessionBuilder& builder, const CSessionOptions& opts,
               const FSessionProgress& progress) {
    const std::string_view text(reinterpret_cast<const char*>(builder.Data()), builder.Size());
    if (IsPacketDump(text)) {
        builder.SetKind(ESourceKind::kPacketDump);
        IndexPacketDump(builder, text, opts.nPort);
    } else if (IsSmlLog(text)) {
        builder.SetKind(ESourceKind::kSmlLog);
        IndexSmlLog(builder, text, progress);
    } else {
        builder.SetKind(ESourceKind::kHexLog);
        IndexHexLog(builder, text, progress);
    }
}

// Messages of text sources that do not decode are named with their line.
void WarnDamagedLines(CSession& session, CSessionBuilder& builder) {
    for (std::size_t i = 0; i < session.Messages().size(); ++i) {
        const SSessionMsg& m = session.Messages()[i];
        if (m.eStatus == EMsgStatus::kDamaged && m.nLine)
            builder.Warn("line " + DecimalText(m.nLine) + ": " + session.MessageName(i) +
                             " does not decode cleanly",
                         m.nMicros, m.nLine);
    }
}

// Progress as the caller asked for it, and the records found so far handed
// over with it: always before Finish sorts them or sets their statuses.
FSessionProgress ProgressAndFound(CSessionBuilder& builder, const CSessionOptions& opts,
                                  const FSessionProgress& progress) {
    return [&builder, &opts, &progress](std::uint64_t nDone, std::uint64_t nTotal) {
        if (opts.fnFound) builder.Publish(opts.fnFound);
        return !progress || progress(nDone, nTotal);
    };
}

bool IndexSource(CSessionBuilder& builder, CSession& session, const CSessionOptions& opts,
                 const FSessionProgress& callerProgress, bool bNamedBig, std::string& strError) {
    const FSessionProgress progress = ProgressAndFound(builder, opts, callerProgress);
    const unsigned char* p = builder.Data();
    const std::size_t n = builder.Size();
    bool bOk = true;
    if (IsCaptureFile(p, n)) {
        builder.SetKind(ESourceKind::kCapture);
        IndexCapture(builder, opts, progress, bOk, strError);
        if (!bOk) return false;
    } else if (bNamedBig || !LooksLikeText(p, n)) {
        if (n > UINT32_MAX) {
            strError = "File too large";
            return false;
        }
        builder.SetKind(ESourceKind::kFile);
        builder.Add(std::span<const unsigned char>(p, n), {});
    } else {
        IndexText(builder, opts, progress);
    }
    if (!progress(n, n)) {
        strError = "cancelled";
        return false;
    }
    builder.Finish(opts);
    if (session.Kind() != ESourceKind::kCapture) WarnDamagedLines(session, builder);
    return true;
}

// Every .BIG directly in the folder, in name order, copied into the own store.
bool IndexFolder(const std::string& strPath, CSessionBuilder& builder, const CSessionOptions& opts,
                 const FSessionProgress& callerProgress, std::string& strError) {
    const FSessionProgress progress = ProgressAndFound(builder, opts, callerProgress);
    DIR* pDir = ::opendir(strPath.c_str());
    if (!pDir) {
        strError = std::strerror(errno);
        return false;
    }
    std::vector<std::string> names;
    while (const dirent* pEntry = ::readdir(pDir))
        if (EndsWithBig(pEntry->d_name)) names.emplace_back(pEntry->d_name);
    ::closedir(pDir);
    std::sort(names.begin(), names.end());
    std::vector<unsigned char> bytes;
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (!progress(i, names.size())) {
            strError = "cancelled";
            return false;
        }
        std::string strFileError;
        if (!ReadMessageFile(strPath + "/" + names[i], bytes, strFileError)) {
            builder.Warn(names[i] + ": " + strFileError);
            continue;
        }
        std::vector<unsigned char>& own = builder.Own();
        const std::size_t nAt = own.size();
        own.insert(own.end(), bytes.begin(), bytes.end());
        builder.Add(std::span<const unsigned char>(own.data() + nAt, bytes.size()), {});
    }
    if (!progress(names.size(), names.size())) {
        strError = "cancelled";
        return false;
    }
    builder.Finish(opts);
    return true;
}

}  // namespace

bool OpenSession(const std::string& strPath, const CSessionOptions& opts, CSession& session,
                 std::string& strError, const FSessionProgress& progress) {
    struct stat st {};
    if (::stat(strPath.c_str(), &st) != 0) {
        strError = std::strerror(errno);
        return false;
    }
    if (S_ISDIR(st.st_mode)) {
        CSessionBuilder builder(session, ESourceKind::kFolder);
        return IndexFolder(strPath, builder, opts, progress, strError);
    }
    CSessionBuilder builder(session, ESourceKind::kFile);
    if (!builder.MapSource(strPath, strError)) return false;
    return IndexSource(builder, session, opts, progress, EndsWithBig(strPath), strError);
}

bool IsSessionSource(const std::string& strName, const unsigned char* p, std::size_t n) {
    if (IsCaptureFile(p, n)) return true;
    return n > 0 && !EndsWithBig(strName) && LooksLikeText(p, n);
}

bool SessionFromBytes(std::vector<unsigned char> bytes, const CSessionOptions& opts,
                      CSession& session, std::string& strError, const FSessionProgress& progress) {
    CSessionBuilder builder(session, ESourceKind::kFile);
    builder.SetSource(std::move(bytes));
    return IndexSource(builder, session, opts, progress, false, strError);
}

#include "cli/DumpInspect.h"

#include <climits>
#include <ostream>
#include <string>
#include <vector>

#include "cli/DumpRun.h"
#include "decode/Decode.h"
#include "decode/HeaderFields.h"
#include "render/DiagnosticText.h"
#include "render/HeaderText.h"

namespace {

void PrintHeader(std::ostream& out, const std::vector<unsigned char>& bytes, const CMsgInfo& msg) {
    const SHeaderFields h = ReadHeaderFields(bytes.data(), bytes.size());
    out << FieldLinesText(HeaderFieldLines(h, msg, bytes.size()));
}

// True when the file is clean.
bool PrintDamage(std::ostream& out, const std::string& strPath, const CMsgInfo& msg) {
    bool bClean = true;
    for (const SDiagnostic& d : msg.m_diagnostics) {
        if (!IsDamage(d.eKind)) continue;
        out << DiagnosticLine(strPath, d) << '\n';
        bClean = false;
    }
    return bClean;
}

}  // namespace

int RunInspect(const CDumpOptions& opts, std::ostream& out, std::ostream& err, std::istream& in) {
    const bool bHeaders = opts.m_eMode == EDumpMode::kHeader && opts.m_files.size() > 1;
    CDecode decoder;
    int nStatus = 0;
    for (const std::string& strPath : opts.m_files) {
        std::vector<unsigned char> bytes;
        std::string strError;
        if (!ReadInput(strPath, in, bytes, strError) || bytes.size() > UINT_MAX) {
            err << "brevix-dump: " << strPath << ": "
                << (strError.empty() ? "File too large" : strError) << '\n';
            nStatus = 1;
            continue;
        }
        int nStyle = 1;  // a file's style byte says nothing about the next file here
        const auto pMsg =
            decoder.Decode(bytes.data(), static_cast<unsigned int>(bytes.size()), &nStyle);
        if (opts.m_eMode == EDumpMode::kCheck) {
            if (!PrintDamage(out, strPath, *pMsg)) nStatus = 1;
            continue;
        }
        if (bHeaders) out << "==> " << strPath << " <==\n";
        PrintHeader(out, bytes, *pMsg);
        if (bHeaders) out << '\n';
    }
    return nStatus;
}

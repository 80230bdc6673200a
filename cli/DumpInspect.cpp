#include "cli/DumpInspect.h"

#include <climits>
#include <ostream>
#include <string>
#include <vector>

#include "cli/DumpRun.h"
#include "decode/HeaderFields.h"
#include "decode/MsgDocWalk.h"
#include "render/DiagnosticText.h"
#include "render/HeaderText.h"

namespace {

void PrintHeader(std::ostream& out, const CMsgDoc& doc) {
    out << FieldLinesText(HeaderFieldLines(DocHeader(doc), doc.m_findings, doc.m_bytes.size()));
}

// True when the file is clean.
bool PrintDamage(std::ostream& out, const std::string& strPath, const CMsgDoc& doc) {
    bool bClean = true;
    for (const SDiagnostic& d : doc.m_findings) {
        if (!IsDamage(d.eKind)) continue;
        out << DiagnosticLine(strPath, d) << '\n';
        bClean = false;
    }
    return bClean;
}

}  // namespace

int RunInspect(const CDumpOptions& opts, std::ostream& out, std::ostream& err, std::istream& in) {
    const bool bHeaders = opts.m_eMode == EDumpMode::kHeader && opts.m_files.size() > 1;
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
        const CMsgDoc doc = DecodeMsgDoc(std::move(bytes));
        if (opts.m_eMode == EDumpMode::kCheck) {
            if (!PrintDamage(out, strPath, doc)) nStatus = 1;
            continue;
        }
        if (bHeaders) out << "==> " << strPath << " <==\n";
        PrintHeader(out, doc);
        if (bHeaders) out << '\n';
    }
    return nStatus;
}

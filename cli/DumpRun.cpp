#include "cli/DumpRun.h"

#include <sys/stat.h>

#include <cerrno>
#include <climits>
#include <cstring>
#include <istream>
#include <iterator>
#include <ostream>
#include <vector>

#include "cli/DumpInspect.h"
#include "cli/DumpSession.h"
#include "decode/Decode.h"
#include "io/HexConvert.h"
#include "io/HexLog.h"
#include "io/ListingFile.h"
#include "io/MsgFile.h"
#include "io/SmlReader.h"
#include "render/JsonWriter.h"
#include "render/SmlWriter.h"

namespace {

void ReportError(std::ostream& err, const std::string& strName, const std::string& strReason) {
    err << "brevix-dump: " << strName << ": " << strReason << '\n';
}

// One message file: decoded, then listed, drawn as a tree or saved. The
// style flag carries over from file to file as in the viewer.
class CDumpFile {
public:
    CDumpFile(const CDumpOptions& opts, std::ostream& out, std::ostream& err, std::istream& in)
        : m_opts(opts), m_out(out), m_err(err), m_in(in) {}

    bool Run(const std::string& strPath, bool bHeaders) {
        std::vector<unsigned char> bytes;
        std::string strError;
        if (!ReadInput(strPath, m_in, bytes, strError)) {
            ReportError(m_err, strPath, strError);
            return false;
        }
        if (bytes.size() > UINT_MAX) {
            ReportError(m_err, strPath, "File too large");
            return false;
        }
        auto pMsg =
            m_decoder.Decode(bytes.data(), static_cast<unsigned int>(bytes.size()), &m_nStyleFlag);
        const int nStyle = m_opts.m_nStyle < 0 ? m_nStyleFlag : m_opts.m_nStyle;
        if (m_opts.m_eMode == EDumpMode::kSave) return Save(strPath, *pMsg, nStyle);
        if (m_opts.m_eMode == EDumpMode::kSml) {
            m_out << Sml(*pMsg, bytes);
            return true;
        }
        if (m_opts.m_eMode == EDumpMode::kJson) {
            m_out << MessageToJson(strPath, *pMsg, bytes.data(), bytes.size());
            return true;
        }
        const std::string strText = m_opts.m_eMode == EDumpMode::kTree
                                        ? TreeText(BuildLabelTree(*pMsg, nStyle))
                                        : m_decoder.GetMsgText(pMsg.get(), 0, nStyle);
        if (bHeaders) m_out << "==> " << strPath << " <==\n";
        m_out << strText;
        if (bHeaders) m_out << '\n';
        return true;
    }

private:
    // One message after another: each ends in a line feed even where its
    // dialect's own text does not.
    std::string Sml(const CMsgInfo& msg, const std::vector<unsigned char>& bytes) const {
        ESmlDialect eDialect = ESmlDialect::kStandard;
        FindSmlDialect(m_opts.m_strSmlDialect, eDialect);
        std::string str = MessageToSml(msg, bytes.data(), bytes.size(), eDialect);
        if (str.empty() || str.back() != '\n') str += '\n';
        return str;
    }

    bool Save(const std::string& strPath, CMsgInfo& msg, int nStyle) {
        const std::string strListingPath = ListingPathFor(strPath);
        std::string strError;
        if (WriteListingFile(strListingPath, m_decoder.GetMsgText(&msg, 0, nStyle), strError))
            return true;
        ReportError(m_err, strListingPath, strError);
        return false;
    }

    const CDumpOptions& m_opts;
    std::ostream& m_out;
    std::ostream& m_err;
    std::istream& m_in;
    CDecode m_decoder;
    int m_nStyleFlag = 1;  // as the viewer starts
};

// Writes OUT.BIG, OUT-2.BIG, ... and names on err whatever framing was
// stripped or looks doubtful, one line per message that has a note.
int RunFromHex(const CDumpOptions& opts, std::ostream& err, std::istream& in) {
    std::vector<unsigned char> text;
    std::string strError;
    if (!ReadInput(opts.m_strHexInput, in, text, strError)) {
        ReportError(err, opts.m_strHexInput, strError);
        return 1;
    }
    CHexConversion conversion;
    const bool bOk =
        ConvertHexLog(std::string_view(reinterpret_cast<const char*>(text.data()), text.size()),
                      opts.m_strOutput, conversion);
    for (std::size_t i = 0; i < conversion.m_paths.size(); ++i)
        if (!conversion.m_msgs[i].m_strNote.empty())
            ReportError(err, conversion.m_paths[i], conversion.m_msgs[i].m_strNote);
    if (conversion.m_msgs.empty()) {
        err << "HEX LOG is empty !!!\n";
        return 1;
    }
    if (!bOk) ReportError(err, conversion.m_strFailedPath, conversion.m_strError);
    return bOk ? 0 : 1;
}

// OUT.BIG for the first message, OUT-2.BIG, OUT-3.BIG ... for the others.
std::string NumberedOutput(const std::string& strOutput, std::size_t nIndex) {
    if (nIndex == 0) return strOutput;
    const std::size_t nSlash = strOutput.find_last_of('/');
    const std::size_t nStart = nSlash == std::string::npos ? 0 : nSlash + 1;
    std::size_t nDot = strOutput.find_last_of('.');
    if (nDot == std::string::npos || nDot <= nStart) nDot = strOutput.size();
    return strOutput.substr(0, nDot) + "-" + std::to_string(nIndex + 1) + strOutput.substr(nDot);
}

// Reads every message before writing any, so a mistake anywhere in the text
// leaves no file behind.
int RunFromSml(const CDumpOptions& opts, std::ostream& err, std::istream& in) {
    std::vector<unsigned char> text;
    std::string strError;
    if (!ReadInput(opts.m_strSmlInput, in, text, strError)) {
        ReportError(err, opts.m_strSmlInput, strError);
        return 1;
    }
    std::vector<SSmlMessage> messages;
    SSmlError error;
    if (!ReadSml(std::string(text.begin(), text.end()), messages, error)) {
        ReportError(err,
                    opts.m_strSmlInput + ":" + std::to_string(error.nLine) + ":" +
                        std::to_string(error.nColumn),
                    error.strText);
        return 1;
    }
    if (messages.empty()) {
        ReportError(err, opts.m_strSmlInput, "no message found");
        return 1;
    }
    for (std::size_t i = 0; i < messages.size(); ++i) {
        const std::vector<unsigned char> file =
            SmlMessageFile(messages[i], static_cast<std::uint32_t>(i + 1));
        const std::string strPath = NumberedOutput(opts.m_strOutput, i);
        if (!WriteWholeFile(strPath, file.data(), file.size(), strError)) {
            ReportError(err, strPath, strError);
            return 1;
        }
    }
    return 0;
}

}  // namespace

bool ReadInput(const std::string& strPath, std::istream& in, std::vector<unsigned char>& bytes,
               std::string& strError) {
    if (strPath != "-") return ReadMessageFile(strPath, bytes, strError);
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    if (in.bad()) {
        strError = "Input/output error";
        return false;
    }
    return true;
}

std::string TreeText(const CLabelTree& tree) {
    std::string str = tree.m_strRoot;
    str += '\n';
    for (const CLabelNode& node : tree.m_nodes) {
        str.append(2 * static_cast<size_t>(node.m_nDepth + 1), ' ');
        for (char c : node.m_strLabel) {
            if (c == '\n')
                str += "\\n";
            else
                str += c;
        }
        str += '\n';
    }
    return str;
}

int RunDump(const CDumpOptions& opts, std::ostream& out, std::ostream& err, std::istream& in) {
    if (opts.m_eMode == EDumpMode::kFromHex) return RunFromHex(opts, err, in);
    if (opts.m_eMode == EDumpMode::kFromSml) return RunFromSml(opts, err, in);
    if (opts.m_eMode == EDumpMode::kHeader || opts.m_eMode == EDumpMode::kCheck)
        return RunInspect(opts, out, err, in);
    if (opts.m_eMode == EDumpMode::kImport) return RunImport(opts, err);
    if (opts.m_eMode == EDumpMode::kList) return RunList(opts, out, err);
    CDumpFile dump(opts, out, err, in);
    // SML messages and JSON lines delimit themselves: a reader takes the output whole.
    const bool bHeaders = opts.m_files.size() > 1 &&
                          (opts.m_eMode == EDumpMode::kListing || opts.m_eMode == EDumpMode::kTree);
    int nStatus = 0;
    for (const std::string& strPath : opts.m_files) {
        if (!dump.Run(strPath, bHeaders)) nStatus = 1;
    }
    return nStatus;
}

#include "cli/DumpRun.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>
#include <istream>
#include <iterator>
#include <ostream>
#include <vector>

#include "cli/DumpDiff.h"
#include "cli/DumpInspect.h"
#include "cli/DumpMeaning.h"
#include "cli/DumpSession.h"
#include "decode/Decode.h"
#include "decode/MsgDocWalk.h"
#include "io/AtomicFile.h"
#include "io/HexConvert.h"
#include "io/HexLog.h"
#include "io/ListingFile.h"
#include "io/MsgFile.h"
#include "io/SmlReader.h"
#include "io/TechvFile.h"
#include "render/JsonWriter.h"
#include "render/MsgText.h"
#include "render/NumberText.h"
#include "render/SmlWriter.h"

namespace {

void ReportError(std::ostream& err, const std::string& strName, const std::string& strReason) {
    err << "brevix-dump: " << strName << ": " << strReason << '\n';
}

bool IsFolder(const std::string& strPath) {
    struct stat st {};
    return strPath != "-" && ::stat(strPath.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// One message file: decoded, then listed, drawn as a tree or saved. The
// style flag carries over from file to file as in the viewer.
class CDumpFile {
public:
    CDumpFile(const CDumpOptions& opts, std::ostream& out, std::ostream& err, std::istream& in,
              const CDictionary& dict)
        : m_opts(opts), m_out(out), m_err(err), m_in(in), m_dict(dict) {}

    bool Run(const std::string& strPath, bool bHeaders) {
        const bool bMeaning =
            m_opts.m_eMode == EDumpMode::kSml || m_opts.m_eMode == EDumpMode::kJson;
        if (bMeaning && IsFolder(strPath))
            return WriteSessionMeaning(m_opts, strPath, nullptr, m_dict, m_flush, m_err);
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
        if (bMeaning && IsSessionInput(strPath, bytes))
            return WriteSessionMeaning(m_opts, strPath, &bytes, m_dict, m_flush, m_err);
        // The viewer lists such a file as S0,F0 without a word; here it is said.
        if (bytes.size() < 10)
            ReportError(m_err, strPath,
                        "file shorter than a message header: " + DecimalText(bytes.size()) +
                            " of 10 bytes");
        auto pDoc = std::make_shared<const CMsgDoc>(DecodeMsgDoc(std::move(bytes)));
        ApplyStyleByte(*pDoc, &m_nStyleFlag);
        const int nStyle = m_opts.m_nStyle < 0 ? m_nStyleFlag : m_opts.m_nStyle;
        if (bMeaning) {
            WriteMessageMeaning(m_opts, strPath, *pDoc, m_dict, m_flush);
            return true;
        }
        // The listing modes keep the viewer's promise of an empty TECHV.TXT.
        if (pDoc->m_bBodyWalked) LeaveTechvFile();
        if (m_opts.m_eMode == EDumpMode::kSave) return Save(strPath, *pDoc, nStyle);
        if (bHeaders) m_out << "==> " << strPath << " <==\n";
        std::string out;
        m_cLast = '\n';
        if (m_opts.m_eMode == EDumpMode::kTree)
            out = TreeText(BuildLabelTree(*m_decoder.MakeMsgInfo(std::move(pDoc)), nStyle));
        else
            ListDoc(*pDoc, 0, nStyle, out, m_flush);
        m_flush(out);
        // A bracket listing ends in ">" without a line feed: end its line,
        // then leave the empty line that parts one file from the next.
        if (m_cLast != '\n') m_out << '\n';
        if (bHeaders) m_out << '\n';
        return true;
    }

private:
    bool Save(const std::string& strPath, const CMsgDoc& doc, int nStyle) {
        const std::string strListingPath = ListingPathFor(strPath);
        std::string strError, strText;
        ListDoc(doc, 0, nStyle, strText);
        if (WriteListingFile(strListingPath, strText, strError)) return true;
        ReportError(m_err, strListingPath, strError);
        return false;
    }

    const CDumpOptions& m_opts;
    std::ostream& m_out;
    std::ostream& m_err;
    std::istream& m_in;
    const CDictionary& m_dict;  // --dict files; a session adds its own definitions
    CDecode m_decoder;
    int m_nStyleFlag = 1;  // as the viewer starts
    // Listings, JSON and SML of big messages go out in pieces.
    char m_cLast = '\n';  // last character of the listing written so far
    const TextFlush m_flush = [this](std::string& str) {
        if (!str.empty()) m_cLast = str.back();
        m_out << str;
        str.clear();
    };
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

// Writes every message or none. A path the user named is replaced; the
// default one, made from the input's name, never replaces a file: the next
// free numbered name is taken instead, and said.
int WriteSmlFiles(const CDumpOptions& opts, std::vector<std::vector<unsigned char>>& files,
                  std::ostream& err) {
    std::string strFailedPath, strError;
    bool bOk = true;
    if (opts.m_bOutputNamed) {
        std::vector<SFileBytes> named;
        for (std::size_t i = 0; i < files.size(); ++i)
            named.push_back({NumberedPath(opts.m_strOutput, i + 1), std::move(files[i])});
        bOk = WriteWholeFiles(named, strFailedPath, strError);
    } else {
        std::vector<std::string> paths;
        bOk = WriteNewNumberedFiles(opts.m_strOutput, files, paths, strFailedPath, strError);
        for (std::size_t i = 0; i < paths.size(); ++i) {
            const std::string strWanted = NumberedPath(opts.m_strOutput, i + 1);
            if (paths[i] != strWanted)
                ReportError(err, strWanted, "exists, written as " + paths[i]);
        }
    }
    if (!bOk) ReportError(err, strFailedPath, strError);
    return bOk ? 0 : 1;
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
    std::vector<std::vector<unsigned char>> files;
    for (std::size_t i = 0; i < messages.size(); ++i)
        files.push_back(SmlMessageFile(messages[i], static_cast<std::uint32_t>(i + 1)));
    return WriteSmlFiles(opts, files, err);
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
    if (opts.m_eMode == EDumpMode::kDiff) return RunDiff(opts, out, err, in);
    CDictionary dict;
    const bool bDictsRead = LoadDumpDictionaries(opts, dict, err, in);
    if (opts.m_eMode == EDumpMode::kList)
        return std::max(RunList(opts, dict, out, err), bDictsRead ? 0 : 1);
    CDumpFile dump(opts, out, err, in, dict);
    // SML messages and JSON lines delimit themselves: a reader takes the output whole.
    const bool bHeaders = opts.m_files.size() > 1 &&
                          (opts.m_eMode == EDumpMode::kListing || opts.m_eMode == EDumpMode::kTree);
    int nStatus = bDictsRead ? 0 : 1;
    for (const std::string& strPath : opts.m_files) {
        if (!dump.Run(strPath, bHeaders)) nStatus = 1;
    }
    return nStatus;
}

#include "io/DictionaryFile.h"

#include "decode/MsgDocWalk.h"
#include "io/MsgFile.h"
#include "io/SmlReader.h"
#include "model/Dictionary.h"
#include "render/DictionaryLearning.h"
#include "render/DocViews.h"

namespace {

std::string_view Trim(std::string_view str) {
    while (!str.empty() && (str.front() == ' ' || str.front() == '\t')) str.remove_prefix(1);
    while (!str.empty() && (str.back() == ' ' || str.back() == '\t' || str.back() == '\r'))
        str.remove_suffix(1);
    return str;
}

// Tabs win over commas and commas over blanks, so that a name may hold
// blanks in a tab- or comma-separated file.
std::vector<std::string_view> SplitFields(std::string_view strLine) {
    const char cSep = strLine.find('\t') != std::string_view::npos  ? '\t'
                      : strLine.find(',') != std::string_view::npos ? ','
                                                                    : ' ';
    std::vector<std::string_view> fields;
    while (true) {
        const std::size_t nEnd = strLine.find(cSep);
        const std::string_view strField = Trim(strLine.substr(0, nEnd));
        if (cSep != ' ' || !strField.empty()) fields.push_back(strField);
        if (nEnd == std::string_view::npos) return fields;
        strLine.remove_prefix(nEnd + 1);
    }
}

// Empty when the line defined something, else the reason it did not.
std::string DefineLine(std::string_view strLine, CDictionary& dict) {
    const std::vector<std::string_view> fields = SplitFields(strLine);
    if (fields.size() < 3) return "expected kind, id and name";
    if (fields.size() > 4) return "more than kind, id, name and units";
    SDefinition def;
    if (!DefKindFromName(fields[0], def.eKind))
        return "unknown kind \"" + std::string(fields[0]) + "\"";
    if (fields[1].empty()) return "empty id";
    if (fields[2].empty()) return "empty name";
    def.strId = fields[1];
    def.strName = fields[2];
    if (fields.size() == 4) def.strUnits = fields[3];
    dict.Define(std::move(def));
    return {};
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// "S1F12", "s1f12 W": a line that starts an SML message.
bool IsSmlHeader(std::string_view strLine) {
    std::size_t n = 0;
    for (const char cLetter : {'S', 'F'}) {
        if (n >= strLine.size() || (strLine[n] | 0x20) != (cLetter | 0x20)) return false;
        const std::size_t nDigits = ++n;
        while (n < strLine.size() && IsDigit(strLine[n])) ++n;
        if (n == nDigits) return false;
    }
    return n == strLine.size() || strLine[n] == ' ' || strLine[n] == '\t' || strLine[n] == '\r';
}

// The next line of strText, trimmed; strText moves past it.
std::string_view NextLine(std::string_view& strText) {
    const std::size_t nEnd = strText.find('\n');
    const std::string_view strLine = Trim(strText.substr(0, nEnd));
    strText.remove_prefix(nEnd == std::string_view::npos ? strText.size() : nEnd + 1);
    return strLine;
}

bool IsSmlFile(const std::string& strFile, std::string_view strText) {
    const std::size_t nDot = strFile.rfind('.');
    if (nDot != std::string::npos && strFile.size() - nDot == 4) {
        std::string strExt = strFile.substr(nDot + 1);
        for (char& c : strExt) c = static_cast<char>(c | 0x20);
        if (strExt == "sml") return true;
    }
    while (!strText.empty()) {
        const std::string_view strLine = NextLine(strText);
        if (strLine.empty() || strLine.front() == '#' || strLine.starts_with("//")) continue;
        return IsSmlHeader(strLine);
    }
    return false;
}

// Each message is read on its own, so that one bad message is reported and
// the others still load; a chunk runs from one header line to the next.
struct SSmlChunk {
    int nFirstLine;
    std::string strText;
};
std::vector<SSmlChunk> SmlChunks(std::string_view strText) {
    std::vector<SSmlChunk> chunks;
    for (int nLine = 1; !strText.empty(); ++nLine) {
        const std::string_view strRest = strText;
        const std::string_view strLine = NextLine(strText);
        if (chunks.empty() || IsSmlHeader(strLine)) chunks.push_back({nLine, {}});
        chunks.back().strText.append(strRest.substr(0, strRest.size() - strText.size()));
    }
    return chunks;
}

SDictionaryLoad LoadSmlDictionary(std::string_view strText, const std::string& strFile,
                                  CDictionary& dict) {
    SDictionaryLoad load;
    for (const SSmlChunk& chunk : SmlChunks(strText)) {
        std::vector<SSmlMessage> messages;
        SSmlError error;
        if (!ReadSml(chunk.strText, messages, error)) {
            load.errors.push_back(strFile + ":" +
                                  std::to_string(chunk.nFirstLine + error.nLine - 1) + ": " +
                                  error.strText);
            continue;
        }
        for (const SSmlMessage& msg : messages) {
            const CMsgDoc doc = DecodeMsgDoc(SmlMessageFile(msg, 0));
            load.nDefined += LearnDefinitions(msg.nStream, msg.nFunction, DocItemViews(doc),
                                              kBeforeAllMessages, dict);
        }
    }
    return load;
}

}  // namespace

SDictionaryLoad LoadDictionaryText(std::string_view strText, const std::string& strFile,
                                   CDictionary& dict) {
    if (strText.starts_with("\xEF\xBB\xBF")) strText.remove_prefix(3);
    if (IsSmlFile(strFile, strText)) return LoadSmlDictionary(strText, strFile, dict);
    SDictionaryLoad load;
    for (int nLine = 1; !strText.empty(); ++nLine) {
        const std::string_view strLine = NextLine(strText);
        if (strLine.empty() || strLine.front() == '#') continue;
        const std::string strError = DefineLine(strLine, dict);
        if (strError.empty())
            ++load.nDefined;
        else
            load.errors.push_back(strFile + ":" + std::to_string(nLine) + ": " + strError);
    }
    return load;
}

SDictionaryLoad LoadDictionaryFile(const std::string& strPath, CDictionary& dict) {
    std::vector<unsigned char> bytes;
    std::string strError;
    if (!ReadMessageFile(strPath, bytes, strError)) return {0, {strPath + ": " + strError}};
    const std::string_view strText(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    return LoadDictionaryText(strText, strPath, dict);
}

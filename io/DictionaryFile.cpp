#include "io/DictionaryFile.h"

#include "io/MsgFile.h"
#include "model/Dictionary.h"

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

}  // namespace

SDictionaryLoad LoadDictionaryText(std::string_view strText, const std::string& strFile,
                                   CDictionary& dict) {
    SDictionaryLoad load;
    if (strText.starts_with("\xEF\xBB\xBF")) strText.remove_prefix(3);
    for (int nLine = 1; !strText.empty(); ++nLine) {
        const std::size_t nEnd = strText.find('\n');
        const std::string_view strLine = Trim(strText.substr(0, nEnd));
        strText.remove_prefix(nEnd == std::string_view::npos ? strText.size() : nEnd + 1);
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

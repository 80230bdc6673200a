#include "RenderTestHelpers.h"

#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <stdexcept>
#include <vector>

#include "model/MsgMgr.h"

namespace {

std::vector<std::string> Words(const std::string& str) {
    std::istringstream in(str);
    std::vector<std::string> words;
    for (std::string w; in >> w;) words.push_back(w);
    return words;
}

template <typename T>
std::vector<T> Integers(const std::string& strValues, int nBase = 10) {
    std::vector<T> values;
    for (const std::string& w : Words(strValues)) {
        if (w[0] == '-')
            values.push_back(static_cast<T>(std::strtoll(w.c_str(), nullptr, nBase)));
        else
            values.push_back(static_cast<T>(std::strtoull(w.c_str(), nullptr, nBase)));
    }
    return values;
}

template <typename T>
std::vector<T> Floats(const std::string& strValues) {
    std::vector<T> values;
    for (const std::string& w : Words(strValues))
        values.push_back(static_cast<T>(std::strtod(w.c_str(), nullptr)));
    return values;
}

int Count(size_t n) { return static_cast<int>(n); }

void AppendData(CMsgMgr& mgr, CMsgInfo* pMsg, const std::string& strName,
                const std::string& strValues) {
    int nOk = 0;
    if (strName == "A") {
        nOk = mgr.AppendAscii(pMsg, strValues.c_str(), Count(strValues.size()));
    } else if (strName == "B" || strName == "J") {
        auto v = Integers<unsigned char>(strValues, 16);
        nOk = strName == "B" ? mgr.AppendBinary(pMsg, v.data(), Count(v.size()))
                             : mgr.AppendJis8(pMsg, v.data(), Count(v.size()));
    } else if (strName == "BOOL") {
        auto v = Integers<std::uint16_t>(strValues);
        nOk = mgr.AppendBoolean(pMsg, v.data(), Count(v.size()));
    } else if (strName == "I1") {
        auto v = Integers<std::int8_t>(strValues);
        nOk = mgr.AppendI1(pMsg, v.data(), Count(v.size()));
    } else if (strName == "I2") {
        auto v = Integers<std::int16_t>(strValues);
        nOk = mgr.AppendI2(pMsg, v.data(), Count(v.size()));
    } else if (strName == "I4") {
        auto v = Integers<std::int32_t>(strValues);
        nOk = mgr.AppendI4(pMsg, v.data(), Count(v.size()));
    } else if (strName == "I8") {
        auto v = Integers<std::int64_t>(strValues);
        nOk = mgr.AppendI8(pMsg, v.data(), Count(v.size()));
    } else if (strName == "U1") {
        auto v = Integers<std::uint8_t>(strValues);
        nOk = mgr.AppendU1(pMsg, v.data(), Count(v.size()));
    } else if (strName == "U2") {
        auto v = Integers<std::uint16_t>(strValues);
        nOk = mgr.AppendU2(pMsg, v.data(), Count(v.size()));
    } else if (strName == "U4") {
        auto v = Integers<std::uint32_t>(strValues);
        nOk = mgr.AppendU4(pMsg, v.data(), Count(v.size()));
    } else if (strName == "U8") {
        auto v = Floats<double>(strValues);
        nOk = mgr.AppendU8(pMsg, v.data(), Count(v.size()));
    } else if (strName == "F8") {
        auto v = Floats<double>(strValues);
        nOk = mgr.AppendF8(pMsg, v.data(), Count(v.size()));
    } else if (strName == "F4") {
        auto v = Floats<float>(strValues);
        nOk = mgr.AppendF4(pMsg, v.data(), Count(v.size()));
    } else {
        throw std::invalid_argument("unknown item " + strName);
    }
    if (!nOk) throw std::invalid_argument("builder refused " + strName);
}

}  // namespace

std::unique_ptr<CMsgInfo> BuildMessage(int nStream, int nFunction, bool bWait,
                                       const std::string& strScript) {
    auto pMsg = std::make_unique<CMsgInfo>();
    pMsg->m_nStream = nStream;
    pMsg->m_nFunction = nFunction;
    pMsg->m_bWBit = bWait ? 1 : 0;
    CMsgMgr mgr;
    std::vector<int> declared;  // per open list: count to store on closing, -1 none
    const std::string& s = strScript;
    size_t i = 0;
    while (i < s.size()) {
        if (std::isspace(static_cast<unsigned char>(s[i]))) {
            ++i;
        } else if (s[i] == '}') {
            if (declared.empty()) throw std::invalid_argument("unbalanced } in " + s);
            CMsgCell* pList = pMsg->m_pCurrent;
            mgr.CloseList(pMsg.get());
            if (declared.back() >= 0) pList->m_nCount = declared.back();
            declared.pop_back();
            ++i;
        } else {
            size_t j = i;
            while (j < s.size() && std::isalnum(static_cast<unsigned char>(s[j]))) ++j;
            const std::string strName = s.substr(i, j - i);
            if (j >= s.size()) throw std::invalid_argument("truncated script " + s);
            if (strName[0] == 'L' && s[j] == '{') {
                declared.push_back(strName.size() > 1 ? std::atoi(strName.c_str() + 1) : -1);
                mgr.OpenList(pMsg.get());
                i = j + 1;
                continue;
            }
            const size_t nClose = s.find(')', j);
            if (s[j] != '(' || nClose == std::string::npos)
                throw std::invalid_argument("bad item at " + s.substr(i));
            AppendData(mgr, pMsg.get(), strName, s.substr(j + 1, nClose - j - 1));
            i = nClose + 1;
        }
    }
    if (!declared.empty()) throw std::invalid_argument("unclosed list in " + s);
    return pMsg;
}

std::string Visible(const std::string& str) {
    std::string out;
    for (size_t i = 0; i < str.size(); ++i) {
        const bool bTrailingBlank =
            str[i] == ' ' && str.find_first_not_of(' ', i) != std::string::npos
                ? str[str.find_first_not_of(' ', i)] == '\n'
                : str[i] == ' ';
        if (bTrailingBlank)
            out += "\u00B7";
        else if (str[i] == '\t')
            out += "\u2192";
        else
            out += str[i];
    }
    return out;
}

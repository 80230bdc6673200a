#include "TestHelpers.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <cctype>
#include <cinttypes>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <stdexcept>

#include "decode/Decode.h"
#include "model/FormatTable.h"
#include "model/MsgMgr.h"

std::vector<unsigned char> BytesFromHex(const std::string& strHex) {
    std::vector<unsigned char> bytes;
    int nHigh = -1;
    for (char c : strHex) {
        if (std::isspace(static_cast<unsigned char>(c))) continue;
        if (!std::isxdigit(static_cast<unsigned char>(c))) throw std::invalid_argument(strHex);
        const int v =
            std::isdigit(static_cast<unsigned char>(c)) ? c - '0' : std::toupper(c) - 'A' + 10;
        if (nHigh < 0) {
            nHigh = v;
        } else {
            bytes.push_back(static_cast<unsigned char>(nHigh * 16 + v));
            nHigh = -1;
        }
    }
    if (nHigh >= 0) throw std::invalid_argument("odd digit count: " + strHex);
    return bytes;
}

namespace {

std::string ElementText(const CMsgCell& cell, int i) {
    char buf[64];
    switch (cell.m_nFormat) {
        case kFormatBinary:
        case kFormatJis8:
        case kFormatU1:
            std::snprintf(buf, sizeof buf, "%u", Element<std::uint8_t>(cell, i));
            break;
        case kFormatI1:
            std::snprintf(buf, sizeof buf, "%d", Element<std::int8_t>(cell, i));
            break;
        case kFormatBoolean:
        case kFormatU2:
            std::snprintf(buf, sizeof buf, "%u", Element<std::uint16_t>(cell, i));
            break;
        case kFormatI2:
            std::snprintf(buf, sizeof buf, "%d", Element<std::int16_t>(cell, i));
            break;
        case kFormatI4:
            std::snprintf(buf, sizeof buf, "%" PRId32, Element<std::int32_t>(cell, i));
            break;
        case kFormatU4:
            std::snprintf(buf, sizeof buf, "%" PRIu32, Element<std::uint32_t>(cell, i));
            break;
        case kFormatI8:
            std::snprintf(buf, sizeof buf, "%" PRId64, Element<std::int64_t>(cell, i));
            break;
        case kFormatF4:
            std::snprintf(buf, sizeof buf, "%.9g", Element<float>(cell, i));
            break;
        case kFormatF8:
        case kFormatU8:
            std::snprintf(buf, sizeof buf, "%.17g", Element<double>(cell, i));
            break;
        default:
            return "?";
    }
    return buf;
}

void DumpOne(const CMsgCell& cell, std::string& out) {
    const SFormat* pFormat = FindFormat(cell.m_nFormat);
    if (cell.m_nFormat == kFormatList) {
        out += "L[" + std::to_string(cell.m_nCount) + "]{";
        for (const CMsgCell* c = cell.m_pFirstChild; c; c = c->m_pNext) {
            if (c != cell.m_pFirstChild) out += ", ";
            DumpOne(*c, out);
        }
        out += "}";
        return;
    }
    out += pFormat ? pFormat->szShort : "?";
    while (!out.empty() && out.back() == ' ') out.pop_back();
    if (cell.m_nFormat == kFormatAscii) {
        out += " \"" + std::string(static_cast<const char*>(cell.m_pValues), cell.m_nCount) + "\"";
        return;
    }
    for (int i = 0; i < cell.m_nCount; ++i) out += " " + ElementText(cell, i);
}

}  // namespace

// Recursive on purpose: test messages are small, and the recursion mirrors
// the nesting the assertion spells out.
std::string DumpCells(const CMsgInfo& msg) {
    std::string out;
    if (msg.m_cells.empty()) return out;
    for (const CMsgCell* c = msg.m_cells.front().get(); c; c = c->m_pNext) {
        if (!out.empty()) out += "; ";
        DumpOne(*c, out);
    }
    return out;
}

std::vector<unsigned char> MessageBytes(int nStream, int nFunction, const std::string& strBodyHex) {
    std::vector<unsigned char> bytes = {0x00,
                                        0x01,
                                        static_cast<unsigned char>(0x80 | nStream),
                                        static_cast<unsigned char>(nFunction),
                                        0x80,
                                        0x01,
                                        0x00,
                                        0x00,
                                        0x00,
                                        0x01};
    const auto body = BytesFromHex(strBodyHex);
    bytes.insert(bytes.end(), body.begin(), body.end());
    return bytes;
}

namespace {

void AppendListHeader(std::vector<unsigned char>& bytes, int nCount) {
    bytes.push_back(0x03);  // list, three length bytes
    bytes.push_back(static_cast<unsigned char>(nCount >> 16));
    bytes.push_back(static_cast<unsigned char>(nCount >> 8));
    bytes.push_back(static_cast<unsigned char>(nCount));
}

}  // namespace

std::vector<unsigned char> FlatListMessage(int nItems) {
    std::vector<unsigned char> bytes = MessageBytes(6, 11, "");
    AppendListHeader(bytes, nItems);
    for (int i = 0; i < nItems; ++i) bytes.insert(bytes.end(), {0xA5, 0x01, 0x07});
    return bytes;
}

std::vector<unsigned char> NestedListMessage(int nLists) {
    std::vector<unsigned char> bytes = MessageBytes(6, 11, "");
    for (int i = 0; i < nLists; ++i) bytes.insert(bytes.end(), {0x01, 0x01});
    bytes.insert(bytes.end(), {0xA5, 0x01, 0x07});
    return bytes;
}

std::unique_ptr<CMsgInfo> DecodeExact(const std::vector<unsigned char>& bytes, int* pStyle) {
    const std::unique_ptr<unsigned char[]> pExact(
        new unsigned char[bytes.size() ? bytes.size() : 1]);
    std::copy(bytes.begin(), bytes.end(), pExact.get());
    CDecode decoder;
    return decoder.Decode(bytes.empty() ? nullptr : pExact.get(),
                          static_cast<unsigned int>(bytes.size()), pStyle);
}

std::unique_ptr<CMsgInfo> DecodeBody(const std::string& strBodyHex, int* pStyle) {
    return DecodeExact(MessageBytes(6, 11, strBodyHex), pStyle);
}

std::string TreeFault(const CMsgInfo& msg) {
    std::size_t nIndex = 0;
    const CMsgCell* pCell = msg.m_cells.empty() ? nullptr : msg.m_cells.front().get();
    if (pCell && pCell->m_pPrev) return "first cell has a previous sibling";
    for (const CMsgCell* pTop = pCell; pTop; pTop = pTop->m_pNext)
        if (pTop->m_pParent) return "top-level cell names a parent";
    while (pCell) {
        if (nIndex >= msg.m_cells.size()) return "tree holds more cells than m_cells";
        if (msg.m_cells[nIndex].get() != pCell)
            return "m_cells[" + std::to_string(nIndex) + "] is not in document order";
        ++nIndex;
        if (pCell->m_pNext && pCell->m_pNext->m_pPrev != pCell)
            return "m_pPrev does not mirror m_pNext";
        if (pCell->m_pNext && pCell->m_pNext->m_pParent != pCell->m_pParent)
            return "siblings with different parents";
        if (pCell->m_pFirstChild) {
            if (pCell->m_pFirstChild->m_pParent != pCell) return "child does not name its parent";
            if (pCell->m_pFirstChild->m_pPrev) return "first child has a previous sibling";
            pCell = pCell->m_pFirstChild;
            continue;
        }
        // Climb to the next cell in preorder: the next sibling of this cell or
        // of the nearest ancestor that has one.
        while (pCell && !pCell->m_pNext) {
            const CMsgCell* pParent = pCell->m_pParent;
            if (pParent && pParent->m_pLastChild != pCell)
                return "m_pLastChild is not the last child";
            pCell = pParent;
        }
        if (pCell) {
            if (pCell->m_pParent && pCell->m_pParent->m_pLastChild == pCell)
                return "m_pLastChild has a next sibling";
            pCell = pCell->m_pNext;
        }
    }
    if (nIndex != msg.m_cells.size()) return "m_cells holds cells the tree does not reach";
    return "";
}

void ExpectBodies(std::span<const BodyCase> cases) {
    for (const BodyCase& c : cases) {
        SCOPED_TRACE(c.name);
        const auto pMsg = DecodeBody(c.body);
        EXPECT_EQ(DumpCells(*pMsg), c.cells);
        EXPECT_EQ(TreeFault(*pMsg), "");
    }
}

int Depth(const CMsgCell* pCell) {
    if (!pCell) return -1;
    int d = 0;
    for (; pCell->m_pParent; pCell = pCell->m_pParent) ++d;
    return d;
}

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

template <typename T>
int Put(CMsgMgr& mgr, CMsgInfo* pMsg, int (CMsgMgr::*fn)(CMsgInfo*, const T*, int),
        const std::vector<T>& values) {
    return (mgr.*fn)(pMsg, values.data(), static_cast<int>(values.size()));
}

int AppendData(CMsgMgr& mgr, CMsgInfo* p, const std::string& n, const std::string& s) {
    using M = CMsgMgr;
    if (n == "A") return mgr.AppendAscii(p, s.c_str(), static_cast<int>(s.size()));
    if (n == "B") return Put(mgr, p, &M::AppendBinary, Integers<unsigned char>(s, 16));
    if (n == "J") return Put(mgr, p, &M::AppendJis8, Integers<unsigned char>(s, 16));
    if (n == "BOOL") return Put(mgr, p, &M::AppendBoolean, Integers<std::uint16_t>(s));
    if (n == "I1") return Put(mgr, p, &M::AppendI1, Integers<std::int8_t>(s));
    if (n == "I2") return Put(mgr, p, &M::AppendI2, Integers<std::int16_t>(s));
    if (n == "I4") return Put(mgr, p, &M::AppendI4, Integers<std::int32_t>(s));
    if (n == "I8") return Put(mgr, p, &M::AppendI8, Integers<std::int64_t>(s));
    if (n == "U1") return Put(mgr, p, &M::AppendU1, Integers<std::uint8_t>(s));
    if (n == "U2") return Put(mgr, p, &M::AppendU2, Integers<std::uint16_t>(s));
    if (n == "U4") return Put(mgr, p, &M::AppendU4, Integers<std::uint32_t>(s));
    if (n == "U8") return Put(mgr, p, &M::AppendU8, Floats<double>(s));
    if (n == "F8") return Put(mgr, p, &M::AppendF8, Floats<double>(s));
    if (n == "F4") return Put(mgr, p, &M::AppendF4, Floats<float>(s));
    throw std::invalid_argument("unknown item " + n);
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
            if (!AppendData(mgr, pMsg.get(), strName, s.substr(j + 1, nClose - j - 1)))
                throw std::invalid_argument("builder refused " + strName);
            i = nClose + 1;
        }
    }
    if (!declared.empty()) throw std::invalid_argument("unclosed list in " + s);
    return pMsg;
}

std::unique_ptr<CMsgInfo> DeepMessage(int nLists) {
    auto pMsg = std::make_unique<CMsgInfo>();
    CMsgMgr mgr;
    for (int i = 0; i < nLists; ++i) mgr.OpenList(pMsg.get());
    const std::uint8_t one = 1;
    mgr.AppendU1(pMsg.get(), &one, 1);
    return pMsg;
}

std::unique_ptr<CMsgInfo> WideMessage(int nItems) {
    auto pMsg = std::make_unique<CMsgInfo>();
    CMsgMgr mgr;
    mgr.OpenList(pMsg.get());
    const std::uint8_t one = 1;
    for (int i = 0; i < nItems; ++i) mgr.AppendU1(pMsg.get(), &one, 1);
    return pMsg;
}

std::string Repeat(const std::string& strPart, int n) {
    std::string strAll;
    for (int i = 0; i < n; ++i) strAll += strPart;
    return strAll;
}

std::string Spell(const std::string& str) {
    std::string out = str;
    std::replace(out.begin(), out.end(), '`', ' ');
    std::replace(out.begin(), out.end(), '|', '\t');
    return out;
}

std::string Visible(const std::string& str) {
    std::string out;
    for (size_t i = 0; i < str.size(); ++i) {
        const size_t nNext = str.find_first_not_of(' ', i);
        if (str[i] == ' ' && (nNext == std::string::npos || str[nNext] == '\n'))
            out += "\u00B7";
        else if (str[i] == '\t')
            out += "\u2192";
        else
            out += str[i];
    }
    return out;
}

std::string CrLf(const std::string& str) {
    std::string out;
    for (char c : str) {
        if (c == '\n') out += '\r';
        out += c;
    }
    return out;
}

std::string ReadAll(const std::string& strPath) {
    std::ifstream in(strPath, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string MakeTempDir(const std::string& strPrefix) {
    std::string strTemplate = "/tmp/" + strPrefix + "-XXXXXX";
    if (!mkdtemp(strTemplate.data())) throw std::runtime_error("mkdtemp " + strTemplate);
    return strTemplate;
}

void RemoveTree(const std::string& strPath) {
    namespace fs = std::filesystem;
    std::error_code ec;
    fs::permissions(strPath, fs::perms::owner_all, ec);
    for (auto it = fs::recursive_directory_iterator(strPath, ec);
         !ec && it != fs::recursive_directory_iterator(); it.increment(ec))
        if (it->is_directory(ec)) fs::permissions(it->path(), fs::perms::owner_all, ec);
    fs::remove_all(strPath, ec);
}

namespace {

bool UsesDecimalComma() {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%.1f", 1.5);
    return std::string(buf) == "1,5";
}

// localedef needs the locales package's sources; built once per machine,
// before the first lookup, since the C library remembers a failed one.
bool GenerateGermanLocale() {
    const std::string strDir = "/tmp/brevix-test-locales";
    const std::string strCommand = "test -d " + strDir + "/de_DE.UTF-8 || (mkdir -p " + strDir +
                                   " && localedef -i de_DE -f UTF-8 " + strDir +
                                   "/de_DE.UTF-8 >/dev/null 2>&1)";
    if (std::system(strCommand.c_str()) != 0) return false;
    ::setenv("LOCPATH", strDir.c_str(), 1);
    return std::setlocale(LC_ALL, "de_DE.UTF-8") != nullptr;
}

void PutLe(std::vector<unsigned char>& out, unsigned long long v, int nBytes) {
    for (int i = 0; i < nBytes; ++i) out.push_back(static_cast<unsigned char>(v >> (8 * i)));
}
void PutBe(std::vector<unsigned char>& out, unsigned long long v, int nBytes) {
    for (int i = nBytes - 1; i >= 0; --i) out.push_back(static_cast<unsigned char>(v >> (8 * i)));
}

}  // namespace

CCommaLocale::CCommaLocale() {
    m_bOk = (std::setlocale(LC_ALL, "de_DE.UTF-8") || GenerateGermanLocale()) && UsesDecimalComma();
}

CCommaLocale::~CCommaLocale() { std::setlocale(LC_ALL, "C"); }

std::vector<unsigned char> EthernetFrame(const CTestSegment& seg) {
    const std::vector<unsigned char> payload = BytesFromHex(seg.strHex);
    const unsigned int nClient = 0x0A000001, nServer = 0x0A000002;
    const unsigned int nIsn = seg.bToServer ? 1000 : 9000;
    std::vector<unsigned char> f(12, 0x02);  // two made-up MAC addresses
    PutBe(f, 0x0800, 2);
    PutBe(f, 0x4500, 2);
    PutBe(f, 40 + payload.size(), 2);
    PutBe(f, 0, 4);       // id, flags, fragment offset
    PutBe(f, 0x4006, 2);  // TTL 64, TCP
    PutBe(f, 0, 2);       // checksum, not checked by readers of captures
    PutBe(f, seg.bToServer ? nClient : nServer, 4);
    PutBe(f, seg.bToServer ? nServer : nClient, 4);
    PutBe(f, seg.bToServer ? 40000 : 5000, 2);
    PutBe(f, seg.bToServer ? 5000 : 40000, 2);
    PutBe(f, seg.bSyn ? nIsn : nIsn + 1 + seg.nOffset, 4);
    PutBe(f, 0, 4);
    PutBe(f, seg.bSyn ? 0x5002 : 0x5018, 2);  // header length 20; SYN, or PSH ACK
    PutBe(f, 0xFFFF0000, 4);                  // window, checksum
    PutBe(f, 0, 2);
    f.insert(f.end(), payload.begin(), payload.end());
    return f;
}

std::vector<unsigned char> PcapOfFrames(int nLink,
                                        const std::vector<std::vector<unsigned char>>& frames) {
    std::vector<unsigned char> out;
    for (unsigned long long v : {0xA1B2C3D4ull, 0x00040002ull, 0ull, 0ull, 65535ull})
        PutLe(out, v, 4);
    PutLe(out, static_cast<unsigned long long>(nLink), 4);
    for (std::size_t i = 0; i < frames.size(); ++i) {
        const unsigned long long n = frames[i].size();
        for (unsigned long long v : {1ull, 0ull + i, n, n}) PutLe(out, v, 4);
        out.insert(out.end(), frames[i].begin(), frames[i].end());
    }
    return out;
}

std::vector<unsigned char> CaptureBytes(const std::vector<CTestSegment>& segments, bool bPcapng) {
    std::vector<unsigned char> out;
    if (bPcapng) {
        for (unsigned long long v : {0x0A0D0D0Aull, 28ull, 0x1A2B3C4Dull}) PutLe(out, v, 4);
        PutLe(out, 1, 2);
        PutLe(out, 0, 2);
        PutLe(out, ~0ull, 8);
        PutLe(out, 28, 4);
        for (unsigned long long v : {1ull, 20ull, 1ull, 65535ull, 20ull}) PutLe(out, v, 4);
    } else {
        PutLe(out, 0xA1B2C3D4, 4);
        PutLe(out, 2, 2);
        PutLe(out, 4, 2);
        for (unsigned long long v : {0ull, 0ull, 65535ull, 1ull}) PutLe(out, v, 4);
    }
    for (const CTestSegment& seg : segments) {
        const std::vector<unsigned char> frame = EthernetFrame(seg);
        const unsigned long long nMicros = static_cast<unsigned long long>(seg.nMicros);
        if (bPcapng) {
            const size_t nPadded = (frame.size() + 3) / 4 * 4;
            PutLe(out, 6, 4);
            PutLe(out, 32 + nPadded, 4);
            PutLe(out, 0, 4);
            PutLe(out, nMicros >> 32, 4);
            PutLe(out, nMicros & 0xFFFFFFFF, 4);
            PutLe(out, frame.size(), 4);
            PutLe(out, frame.size(), 4);
            out.insert(out.end(), frame.begin(), frame.end());
            out.resize(out.size() + nPadded - frame.size(), 0);
            PutLe(out, 32 + nPadded, 4);
        } else {
            PutLe(out, nMicros / 1000000, 4);
            PutLe(out, nMicros % 1000000, 4);
            PutLe(out, frame.size(), 4);
            PutLe(out, frame.size(), 4);
            out.insert(out.end(), frame.begin(), frame.end());
        }
    }
    return out;
}

std::vector<SMessageFile> ReadBigFiles(const std::vector<std::string>& folders) {
    std::vector<SMessageFile> files;
    for (const std::string& strFolder : folders)
        for (const auto& entry : std::filesystem::directory_iterator(strFolder))
            if (entry.path().extension() == ".BIG") files.push_back({entry.path().string(), {}});
    std::sort(files.begin(), files.end(),
              [](const SMessageFile& a, const SMessageFile& b) { return a.strPath < b.strPath; });
    for (SMessageFile& f : files) {
        const std::string strBytes = ReadAll(f.strPath);
        f.bytes.assign(strBytes.begin(), strBytes.end());
    }
    return files;
}

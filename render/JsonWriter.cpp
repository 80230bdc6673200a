#include "render/JsonWriter.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

#include "decode/HeaderFields.h"
#include "decode/WireItems.h"
#include "model/FormatTable.h"
#include "render/DiagnosticText.h"
#include "render/FloatText.h"
#include "render/FormatText.h"
#include "render/MessageNames.h"

namespace {

constexpr char kHex[] = "0123456789ABCDEF";

template <std::size_t N>
void Raw(std::string& out, const char (&sz)[N]) {
    out.append(sz, N - 1);
}

template <typename T>
void AppendNumber(std::string& out, T v) {
    char buf[24];
    const auto res = std::to_chars(buf, buf + sizeof buf, v);
    out.append(buf, res.ptr);
}

// "name":value, with the comma before every member but the first.
class CJsonObject {
public:
    explicit CJsonObject(std::string& out) : m_out(out) { m_out += '{'; }
    std::string& Key(const char* szKey) {
        if (m_bAny) m_out += ',';
        m_bAny = true;
        m_out += '"';
        m_out += szKey;
        m_out += "\":";
        return m_out;
    }
    template <typename T>
    void Number(const char* szKey, T v) {
        AppendNumber(Key(szKey), v);
    }
    void Bool(const char* szKey, bool b) { Key(szKey) += b ? "true" : "false"; }
    void Close() { m_out += '}'; }

private:
    std::string& m_out;
    bool m_bAny = false;
};

void AppendHeader(std::string& out, const SHeaderFields& h) {
    CJsonObject header(out);
    CJsonObject secs1(header.Key("secs1"));
    secs1.Bool("r", h.bRBit);
    secs1.Number("device", h.nDeviceId);
    secs1.Bool("w", h.bWBit);
    secs1.Number("stream", h.nStream);
    secs1.Number("function", h.nFunction);
    secs1.Bool("e", h.bEBit);
    secs1.Number("block", h.nBlock);
    secs1.Number("system", h.dwSystemBytes);
    secs1.Close();
    CJsonObject hsms(header.Key("hsms"));
    hsms.Number("session", h.nSessionId);
    hsms.Bool("w", h.nByte2 & 0x80);
    hsms.Number("stream", h.nByte2 & 0x7F);
    hsms.Number("function", h.nByte3);
    hsms.Number("ptype", h.nPType);
    hsms.Number("stype", h.nSType);
    hsms.Number("system", h.dwSystemBytes);
    hsms.Close();
    header.Close();
}

void AppendText(std::string& out, const std::string& str) {
    AppendJsonString(out, reinterpret_cast<const unsigned char*>(str.data()), str.size());
}

// Every finding of the decoder, the clean end and the style byte included.
void AppendDiagnostics(std::string& out, const CMsgInfo& msg) {
    out += '[';
    for (std::size_t i = 0; i < msg.m_diagnostics.size(); ++i) {
        if (i) out += ',';
        const SDiagnostic& d = msg.m_diagnostics[i];
        CJsonObject obj(out);
        obj.Number("offset", d.nOffset);
        obj.Bool("damage", IsDamage(d.eKind));
        AppendText(obj.Key("text"), DiagnosticText(d));
        obj.Close();
    }
    out += ']';
}

void AppendFloat(std::string& out, double v, bool bSingle) {
    if (std::isnan(v)) {
        out += "\"nan\"";
    } else if (std::isinf(v)) {
        out += v < 0 ? "\"-inf\"" : "\"inf\"";
    } else if (bSingle) {
        AppendShortest(out, static_cast<float>(v));
    } else {
        AppendShortest(out, v);
    }
}

void AppendValues(std::string& out, const SWireItem& item, const unsigned char* pData) {
    const unsigned char* p = pData + item.nDataOffset;
    const std::size_t nCount = WireElementCount(item);
    if (item.nFormat == kFormatAscii || item.nFormat == kFormatJis8) {
        AppendJsonString(out, p, nCount);
        return;
    }
    if (item.nFormat == kFormatBinary) {
        out += '"';
        for (std::size_t i = 0; i < nCount; ++i) {
            out += kHex[p[i] >> 4];
            out += kHex[p[i] & 15];
        }
        out += '"';
        return;
    }
    const int nWidth = FindFormat(item.nFormat)->nWireWidth;
    const bool bSigned = item.nFormat >= kFormatI8 && item.nFormat <= kFormatI4;
    out += '[';
    for (std::size_t i = 0; i < nCount; ++i) {
        if (i) out += ',';
        const std::uint64_t bits = ReadBigEndian(p + i * static_cast<std::size_t>(nWidth), nWidth);
        if (item.nFormat == kFormatF4) {
            const auto n32 = static_cast<std::uint32_t>(bits);
            float f;
            std::memcpy(&f, &n32, sizeof f);
            AppendFloat(out, f, true);
        } else if (item.nFormat == kFormatF8) {
            double v;
            std::memcpy(&v, &bits, sizeof v);
            AppendFloat(out, v, false);
        } else if (bSigned) {
            const int nShift = 64 - 8 * nWidth;
            AppendNumber(out, static_cast<std::int64_t>(bits << nShift) >> nShift);
        } else {
            AppendNumber(out, bits);
        }
    }
    out += ']';
}

// Bytes each item takes in the file, header and contents: a list reaches to
// the end of its last descendant. Items come in document order, so one
// backward pass carries every end up to its parents.
std::vector<std::size_t> ItemEnds(const SWireMessage& wire) {
    std::vector<std::size_t> ends(wire.items.size());
    for (std::size_t i = 0; i < wire.items.size(); ++i)
        ends[i] = wire.items[i].nDataOffset +
                  (wire.items[i].nFormat == kFormatList ? 0 : wire.items[i].nPresent);
    for (std::size_t i = wire.items.size(); i-- > 0;) {
        const int nParent = wire.items[i].nParent;
        if (nParent >= 0 && ends[static_cast<std::size_t>(nParent)] < ends[i])
            ends[static_cast<std::size_t>(nParent)] = ends[i];
    }
    return ends;
}

std::vector<std::size_t> ChildCounts(const SWireMessage& wire) {
    std::vector<std::size_t> counts(wire.items.size(), 0);
    for (const SWireItem& item : wire.items) {
        if (item.nParent >= 0) ++counts[static_cast<std::size_t>(item.nParent)];
    }
    return counts;
}

// Items as nested objects; a list's "items" array closes when an item at
// its depth or above comes, or at the end. No recursion.
void AppendItems(std::string& out, const SWireMessage& wire, const unsigned char* pData) {
    const std::vector<std::size_t> ends = ItemEnds(wire);
    const std::vector<std::size_t> counts = ChildCounts(wire);
    std::vector<int> open;  // depths of lists whose "items" array is open
    out += '[';
    for (std::size_t i = 0; i < wire.items.size(); ++i) {
        const SWireItem& item = wire.items[i];
        for (; !open.empty() && open.back() >= item.nDepth; open.pop_back()) out += "]}";
        if (out.back() != '[') out += ',';
        const char* szName = SmlFormatName(item.nFormat);
        // Written with literal pieces: this loop runs once per cell, and the
        // 50,000-cell message has a time budget.
        Raw(out, "{\"format\":\"");
        out += szName ? szName : "unknown";
        Raw(out, "\",\"code\":");
        AppendNumber(out, item.nFormat);
        Raw(out, ",\"count\":");
        AppendNumber(out, item.nFormat == kFormatList ? counts[i] : WireElementCount(item));
        Raw(out, ",\"offset\":");
        AppendNumber(out, item.nOffset);
        Raw(out, ",\"length\":");
        AppendNumber(out, ends[i] - item.nOffset);
        if (item.nFormat == kFormatList) {
            Raw(out, ",\"items\":[");
            open.push_back(item.nDepth);
            continue;
        }
        if (szName) {
            Raw(out, ",\"values\":");
            AppendValues(out, item, pData);
        }
        out += '}';
    }
    for (; !open.empty(); open.pop_back()) out += "]}";
    out += ']';
}

}  // namespace

void AppendJsonString(std::string& out, const unsigned char* p, std::size_t n) {
    out += '"';
    for (std::size_t i = 0; i < n; ++i) {
        const unsigned char c = p[i];
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c < 0x20 || c == 0x7F) {
            out += "\\u00";
            out += kHex[c >> 4];
            out += kHex[c & 15];
        } else if (c >= 0x80) {  // Latin-1 code point in UTF-8
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(c);
        }
    }
    out += '"';
}

std::string MessageToJson(const std::string& strFile, const CMsgInfo& msg,
                          const unsigned char* pData, std::size_t nSize) {
    const SWireMessage wire = ReadWireItems(pData, nSize);
    std::string out;
    out.reserve(256 + wire.items.size() * 96 + nSize * 2);  // one allocation as a rule
    CJsonObject obj(out);
    AppendText(obj.Key("file"), strFile);
    obj.Number("size", nSize);
    const SHeaderFields h = ReadHeaderFields(pData, nSize);
    AppendHeader(obj.Key("header"), h);
    const SMessageName* pName = FindMessageName(h.nStream, h.nFunction);
    if (pName)
        AppendText(obj.Key("name"), pName->szName);
    else
        obj.Key("name") += "null";
    if (wire.nStyleByte >= 0)
        obj.Number("style", wire.nStyleByte);
    else
        obj.Key("style") += "null";
    AppendDiagnostics(obj.Key("diagnostics"), msg);
    AppendItems(obj.Key("items"), wire, pData);
    obj.Close();
    out += '\n';
    return out;
}

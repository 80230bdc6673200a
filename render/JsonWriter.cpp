#include "render/JsonWriter.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <utility>
#include <vector>

#include "decode/HeaderFields.h"
#include "decode/MsgDocWalk.h"
#include "model/Bytes.h"
#include "model/FormatTable.h"
#include "render/DiagnosticText.h"
#include "render/FloatText.h"
#include "render/FormatText.h"
#include "render/MessageNames.h"

namespace {

// One byte below 0x80 as the content of a JSON string.
void AppendEscaped(std::string& out, unsigned char c) {
    if (c == '"' || c == '\\') {
        out += '\\';
        out += static_cast<char>(c);
    } else if (c < 0x20 || c == 0x7F) {
        out += "\\u00";
        AppendHexByte(out, c);
    } else {
        out += static_cast<char>(c);
    }
}

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
void AppendDiagnostics(std::string& out, const CMsgDoc& doc) {
    out += '[';
    for (std::size_t i = 0; i < doc.m_findings.size(); ++i) {
        if (i) out += ',';
        const SDiagnostic& d = doc.m_findings[i];
        CJsonObject obj(out);
        obj.Number("offset", d.nOffset);
        obj.Bool("damage", IsDamage(d.eKind));
        AppendText(obj.Key("text"), DiagnosticText(d));
        obj.Close();
    }
    out += ']';
}

// Length of the valid UTF-8 sequence at p (at most n bytes), 0 when there is
// none: no overlong forms, no surrogates, nothing above U+10FFFF.
std::size_t Utf8Length(const unsigned char* p, std::size_t n) {
    const unsigned char c = p[0];
    std::size_t nLen = 0;
    unsigned char lo = 0x80, hi = 0xBF;
    if (c < 0x80) return 1;
    if (c >= 0xC2 && c <= 0xDF) nLen = 2;
    if (c >= 0xE0 && c <= 0xEF) nLen = 3;
    if (c >= 0xF0 && c <= 0xF4) nLen = 4;
    if (c == 0xE0) lo = 0xA0;
    if (c == 0xED) hi = 0x9F;
    if (c == 0xF0) lo = 0x90;
    if (c == 0xF4) hi = 0x8F;
    if (nLen == 0 || nLen > n || p[1] < lo || p[1] > hi) return 0;
    for (std::size_t i = 2; i < nLen; ++i)
        if (p[i] < 0x80 || p[i] > 0xBF) return 0;
    return nLen;
}

// File names are bytes; JSON text is Unicode. A UTF-8 name goes as it is;
// any other byte shows as U+FFFD, and the exact bytes follow as file_hex.
void AppendFileName(CJsonObject& obj, const std::string& strFile) {
    const auto* p = reinterpret_cast<const unsigned char*>(strFile.data());
    std::string& out = obj.Key("file");
    out += '"';
    bool bValid = true;
    for (std::size_t i = 0; i < strFile.size();) {
        const std::size_t nLen = Utf8Length(p + i, strFile.size() - i);
        if (nLen == 0) {
            out += "\xEF\xBF\xBD";
            bValid = false;
            ++i;
        } else if (nLen > 1) {
            out.append(strFile, i, nLen);
            i += nLen;
        } else {
            AppendEscaped(out, p[i++]);
        }
    }
    out += '"';
    if (bValid) return;
    std::string& hex = obj.Key("file_hex");
    hex += '"';
    for (const unsigned char c : strFile) AppendHexByte(hex, c);
    hex += '"';
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

void AppendValues(std::string& out, const CMsgDoc& doc, std::size_t nRow) {
    const SItemRow& item = doc.m_rows[nRow];
    const unsigned char* p = RowData(doc, nRow).data();
    const std::size_t nCount = RowElementCount(item);
    if (item.nFormat == kFormatAscii || item.nFormat == kFormatJis8) {
        AppendJsonString(out, p, nCount);
        return;
    }
    if (item.nFormat == kFormatBinary) {
        out += '"';
        for (std::size_t i = 0; i < nCount; ++i) AppendHexByte(out, p[i]);
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

void AppendMeaning(std::string& out, const std::vector<SJsonMeaning>* pItems, std::size_t nRow) {
    if (!pItems || nRow >= pItems->size()) return;
    const SJsonMeaning& m = (*pItems)[nRow];
    const std::pair<const char*, const std::string*> fields[] = {
        {",\"role\":", &m.strRole}, {",\"name\":", &m.strName}, {",\"units\":", &m.strUnits}};
    for (const auto& [szKey, pValue] : fields) {
        if (pValue->empty()) continue;
        out += szKey;
        AppendText(out, *pValue);
    }
}

// Items as nested objects; a list's "items" array closes when an item at
// its depth or above comes, or at the end. No recursion.
void AppendItems(std::string& out, const CMsgDoc& doc, const TextFlush* pFlush,
                 const std::vector<SJsonMeaning>* pMeanings) {
    std::vector<std::uint32_t> open;  // depths of lists whose "items" array is open
    out += '[';
    for (std::size_t i = 0; i < doc.m_rows.size(); ++i) {
        FlushIfFull(out, pFlush);
        const SItemRow& item = doc.m_rows[i];
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
        AppendNumber(out, item.nFormat == kFormatList ? item.nChildren : RowElementCount(item));
        Raw(out, ",\"offset\":");
        AppendNumber(out, item.nOffset);
        Raw(out, ",\"length\":");
        AppendNumber(out, RowDataEnd(item) - item.nOffset);
        AppendMeaning(out, pMeanings, i);
        if (item.nFormat == kFormatList) {
            Raw(out, ",\"items\":[");
            open.push_back(item.nDepth);
            continue;
        }
        if (szName) {
            Raw(out, ",\"values\":");
            AppendValues(out, doc, i);
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
        if (c >= 0x80) {  // Latin-1 code point in UTF-8
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            AppendEscaped(out, c);
        }
    }
    out += '"';
}

void AppendMessageJson(std::string& out, const std::string& strFile, const CMsgDoc& doc,
                       const TextFlush& flush, const SJsonExtras& extras) {
    const std::size_t nSize = doc.m_bytes.size();
    CJsonObject obj(out);
    AppendFileName(obj, strFile);
    if (extras.nNumber) obj.Number("number", extras.nNumber);
    obj.Number("size", nSize);
    const SHeaderFields h = DocHeader(doc);
    AppendHeader(obj.Key("header"), h);
    const SMessageName* pName = FindMessageName(h.nStream, h.nFunction);
    if (pName)
        AppendText(obj.Key("name"), pName->szName);
    else
        obj.Key("name") += "null";
    if (doc.m_nStyleByte >= 0)
        obj.Number("style", doc.m_nStyleByte);
    else
        obj.Key("style") += "null";
    AppendDiagnostics(obj.Key("diagnostics"), doc);
    AppendItems(obj.Key("items"), doc, &flush, extras.pItems);
    obj.Close();
    out += '\n';
}

std::string MessageToJson(const std::string& strFile, const CMsgDoc& doc) {
    std::string out;
    out.reserve(256 + doc.m_rows.size() * 96 + doc.m_bytes.size() * 2);  // one allocation as a rule
    AppendMessageJson(out, strFile, doc);
    return out;
}

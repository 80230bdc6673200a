#include "TestHelpers.h"

#include <algorithm>
#include <cctype>
#include <cinttypes>
#include <cstdio>
#include <cstring>
#include <stdexcept>

#include "decode/Decode.h"
#include "model/FormatTable.h"

std::vector<unsigned char> BytesFromHex(const std::string& strHex) {
    std::vector<unsigned char> bytes;
    int nHigh = -1;
    for (char c : strHex) {
        if (std::isspace(static_cast<unsigned char>(c))) continue;
        if (!std::isxdigit(static_cast<unsigned char>(c))) throw std::invalid_argument(strHex);
        const int v = std::isdigit(static_cast<unsigned char>(c)) ? c - '0' : std::toupper(c) - 'A' + 10;
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

template <typename T>
T Element(const CMsgCell& cell, int i) {
    T v;
    std::memcpy(&v, static_cast<const char*>(cell.m_pValues) + i * sizeof(T), sizeof(T));
    return v;
}

std::string ElementText(const CMsgCell& cell, int i) {
    char buf[64];
    switch (cell.m_nFormat) {
    case kFormatBinary: case kFormatJis8: case kFormatU1:
        std::snprintf(buf, sizeof buf, "%u", Element<std::uint8_t>(cell, i)); break;
    case kFormatI1: std::snprintf(buf, sizeof buf, "%d", Element<std::int8_t>(cell, i)); break;
    case kFormatBoolean: case kFormatU2:
        std::snprintf(buf, sizeof buf, "%u", Element<std::uint16_t>(cell, i)); break;
    case kFormatI2: std::snprintf(buf, sizeof buf, "%d", Element<std::int16_t>(cell, i)); break;
    case kFormatI4: std::snprintf(buf, sizeof buf, "%" PRId32, Element<std::int32_t>(cell, i)); break;
    case kFormatU4: std::snprintf(buf, sizeof buf, "%" PRIu32, Element<std::uint32_t>(cell, i)); break;
    case kFormatI8: std::snprintf(buf, sizeof buf, "%" PRId64, Element<std::int64_t>(cell, i)); break;
    case kFormatF4: std::snprintf(buf, sizeof buf, "%.9g", Element<float>(cell, i)); break;
    case kFormatF8: case kFormatU8: std::snprintf(buf, sizeof buf, "%.17g", Element<double>(cell, i)); break;
    default: return "?";
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
    std::vector<unsigned char> bytes = {0x00, 0x01, static_cast<unsigned char>(0x80 | nStream),
                                        static_cast<unsigned char>(nFunction), 0x80, 0x01,
                                        0x00, 0x00, 0x00, 0x01};
    const auto body = BytesFromHex(strBodyHex);
    bytes.insert(bytes.end(), body.begin(), body.end());
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

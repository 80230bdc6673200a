#include "render/SmlWriter.h"

#include <charconv>
#include <vector>

#include "model/FormatTable.h"
#include "render/DiagnosticText.h"
#include "render/SmlDialect.h"

namespace {

// Items written under each list: its children of known formats (an item of
// an unknown format has no SML form and is left out).
std::vector<std::size_t> WrittenChildren(const SWireMessage& wire) {
    std::vector<std::size_t> counts(wire.items.size(), 0);
    for (const SWireItem& item : wire.items) {
        if (item.nParent >= 0 && FindFormat(item.nFormat))
            ++counts[static_cast<std::size_t>(item.nParent)];
    }
    return counts;
}

class CSmlLines {
public:
    CSmlLines(std::string& out, const SSmlDialect& dialect, int nBaseDepth)
        : m_out(out), m_dialect(dialect), m_nBaseDepth(nBaseDepth) {}

    // Items [nFirst, nEnd) in document order; lists close when an item at
    // their depth or above comes, or at the end. No recursion.
    void Write(const SWireMessage& wire, std::size_t nFirst, std::size_t nEnd,
               const unsigned char* pData) {
        const std::vector<std::size_t> children = WrittenChildren(wire);
        for (std::size_t i = nFirst; i < nEnd; ++i) {
            const SWireItem& item = wire.items[i];
            if (!FindFormat(item.nFormat)) continue;
            CloseTo(item.nDepth);
            if (item.nFormat != kFormatList) {
                Line(item.nDepth);
                m_dialect.pData(m_out,
                                {item.nFormat, pData + item.nDataOffset, WireElementCount(item)});
            } else if (children[i] == 0 && m_dialect.szEmptyList) {
                Line(item.nDepth);
                m_out += m_dialect.szEmptyList;
            } else {
                Line(item.nDepth);
                m_dialect.pListOpen(m_out, children[i]);
                m_open.push_back(item.nDepth);
            }
        }
        CloseTo(m_nBaseDepth);
    }

private:
    // Starts a line at the indentation of nDepth.
    void Line(int nDepth) {
        m_out += '\n';
        m_out.append(static_cast<std::size_t>(m_dialect.nFirstIndent +
                                              (nDepth - m_nBaseDepth) * m_dialect.nIndent),
                     ' ');
    }

    void CloseTo(int nDepth) {
        while (!m_open.empty() && m_open.back() >= nDepth) {
            Line(m_open.back());
            m_out += m_dialect.szListClose;
            m_open.pop_back();
        }
    }

    std::string& m_out;
    const SSmlDialect& m_dialect;
    int m_nBaseDepth;
    std::vector<int> m_open;  // depths of the lists whose '>' is still to come
};

// One comment line for each thing the decoder found wrong, with its offset.
void AppendDamage(std::string& out, const CMsgInfo& msg) {
    for (const SDiagnostic& d : msg.m_diagnostics) {
        if (!IsDamage(d.eKind)) continue;
        if (out.empty() || out.back() != '\n') out += '\n';
        char buf[24];
        const auto res = std::to_chars(buf, buf + sizeof buf, d.nOffset);
        out += "// damage at offset ";
        out.append(buf, res.ptr);
        out += ": ";
        out += DiagnosticText(d);
        out += '\n';
    }
}

}  // namespace

bool FindSmlDialect(const std::string& strName, ESmlDialect& eDialect) {
    if (strName.empty()) {
        eDialect = ESmlDialect::kStandard;
        return true;
    }
    for (int i = 0; i < SmlDialectCount(); ++i) {
        if (strName == SmlDialectOf(i).szName) {
            eDialect = static_cast<ESmlDialect>(i);
            return true;
        }
    }
    return false;
}

std::string MessageToSml(const CMsgInfo& msg, const unsigned char* pData, std::size_t nSize,
                         ESmlDialect eDialect) {
    const SWireMessage wire = ReadWireItems(pData, nSize);
    const SSmlDialect& dialect = SmlDialectOf(static_cast<int>(eDialect));
    std::string out;
    dialect.pHeader(out, {msg.m_nStream, msg.m_nFunction, msg.m_bWBit != 0, msg.m_nDeviceId,
                          msg.m_dwSystemBytes});
    const std::size_t nHeader = out.size();
    CSmlLines(out, dialect, 0).Write(wire, 0, wire.items.size(), pData);
    if (out.size() == nHeader) out += dialect.szEmptyBody;
    out += dialect.szEnd;
    AppendDamage(out, msg);
    return out;
}

std::string ItemToSml(const SWireMessage& wire, std::size_t nItem, const unsigned char* pData,
                      ESmlDialect eDialect) {
    if (nItem >= wire.items.size()) return std::string();
    const int nDepth = wire.items[nItem].nDepth;
    std::size_t nEnd = nItem + 1;
    while (nEnd < wire.items.size() && wire.items[nEnd].nDepth > nDepth) ++nEnd;
    std::string out;
    CSmlLines(out, SmlDialectOf(static_cast<int>(eDialect)), nDepth)
        .Write(wire, nItem, nEnd, pData);
    if (!out.empty()) out.erase(0, 1);  // the line break before the first line
    return out;
}

int WireItemOfCell(const SWireMessage& wire, int nCell) {
    int nSeen = 0;
    for (std::size_t i = 0; i < wire.items.size(); ++i) {
        if (!FindFormat(wire.items[i].nFormat)) continue;
        if (nSeen++ == nCell) return static_cast<int>(i);
    }
    return -1;
}

std::string TreeNodeToSml(const CMsgInfo& msg, const unsigned char* pData, std::size_t nSize,
                          int nNode) {
    if (nNode < 0) {
        std::string str = MessageToSml(msg, pData, nSize, ESmlDialect::kStandard);
        if (str.back() != '\n') str += '\n';
        return str;
    }
    const SWireMessage wire = ReadWireItems(pData, nSize);
    const int nItem = WireItemOfCell(wire, nNode);
    if (nItem < 0) return std::string();
    return ItemToSml(wire, static_cast<std::size_t>(nItem), pData, ESmlDialect::kStandard) + "\n";
}

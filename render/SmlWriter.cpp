#include "render/SmlWriter.h"

#include <charconv>
#include <cstdint>
#include <vector>

#include "decode/HeaderFields.h"
#include "decode/MsgDocWalk.h"
#include "model/FormatTable.h"
#include "render/DiagnosticText.h"
#include "render/SmlDialect.h"

namespace {

// Items written under a list: its items of known formats (an item of an
// unknown format has no SML form and is left out).
std::size_t WrittenChildren(const CMsgDoc& doc, std::size_t nList) {
    std::size_t nCount = 0;
    const SItemRow& list = doc.m_rows[nList];
    std::int32_t nChild = list.nChildren ? static_cast<std::int32_t>(nList + 1) : -1;
    for (; nChild >= 0; nChild = doc.m_rows[static_cast<std::size_t>(nChild)].nNext)
        if (IsKnownRow(doc.m_rows[static_cast<std::size_t>(nChild)])) ++nCount;
    return nCount;
}

class CSmlLines {
public:
    CSmlLines(std::string& out, const SSmlDialect& dialect, std::uint32_t nBaseDepth,
              const TextFlush* pFlush = nullptr,
              const std::vector<std::string>* pComments = nullptr)
        : m_out(out),
          m_dialect(dialect),
          m_nBaseDepth(nBaseDepth),
          m_pFlush(pFlush),
          m_pComments(pComments) {}

    // Rows [nFirst, nEnd) in document order; lists close when an item at
    // their depth or above comes, or at the end. No recursion.
    void Write(const CMsgDoc& doc, std::size_t nFirst, std::size_t nEnd) {
        for (std::size_t i = nFirst; i < nEnd; ++i) {
            const SItemRow& item = doc.m_rows[i];
            if (!IsKnownRow(item)) continue;
            FlushIfFull(m_out, m_pFlush);
            CloseTo(item.nDepth);
            Line(item.nDepth);
            if (item.nFormat != kFormatList) {
                m_dialect.pData(m_out,
                                {item.nFormat, RowData(doc, i).data(), RowElementCount(item)});
                Comment(i);
                continue;
            }
            const std::size_t nChildren = WrittenChildren(doc, i);
            if (nChildren == 0 && m_dialect.szEmptyList) {
                m_out += m_dialect.szEmptyList;
            } else {
                m_dialect.pListOpen(m_out, nChildren);
                m_open.push_back(item.nDepth);
            }
            Comment(i);
        }
        CloseTo(m_nBaseDepth);
    }

private:
    void Comment(std::size_t nRow) {
        if (!m_pComments || nRow >= m_pComments->size() || (*m_pComments)[nRow].empty()) return;
        m_out += ' ';
        m_out += (*m_pComments)[nRow];
    }

    // Starts a line at the indentation of nDepth.
    void Line(std::uint32_t nDepth) {
        m_out += '\n';
        m_out.append(static_cast<std::size_t>(m_dialect.nFirstIndent) +
                         static_cast<std::size_t>(nDepth - m_nBaseDepth) *
                             static_cast<std::size_t>(m_dialect.nIndent),
                     ' ');
    }

    void CloseTo(std::uint32_t nDepth) {
        while (!m_open.empty() && m_open.back() >= nDepth) {
            Line(m_open.back());
            m_out += m_dialect.szListClose;
            m_open.pop_back();
        }
    }

    std::string& m_out;
    const SSmlDialect& m_dialect;
    std::uint32_t m_nBaseDepth;
    const TextFlush* m_pFlush;
    const std::vector<std::string>* m_pComments;
    std::vector<std::uint32_t> m_open;  // depths of the lists whose '>' is still to come
};

// One comment line for each damage found within [nBegin, nEnd] of the file.
void AppendDamage(std::string& out, const CMsgDoc& doc, std::uint64_t nBegin, std::uint64_t nEnd) {
    for (const SDiagnostic& d : doc.m_findings) {
        if (!IsDamage(d.eKind)) continue;
        const std::uint64_t nAt = DiagnosticRange(d).nBegin;
        if (nAt < nBegin || nAt > nEnd) continue;
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

// The end of row nRow's subtree: the next row at its depth or above.
std::size_t SubtreeEnd(const CMsgDoc& doc, std::size_t nRow) {
    const std::uint32_t nDepth = doc.m_rows[nRow].nDepth;
    std::size_t nEnd = nRow + 1;
    while (nEnd < doc.m_rows.size() && doc.m_rows[nEnd].nDepth > nDepth) ++nEnd;
    return nEnd;
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

void AppendMessageSml(std::string& out, const CMsgDoc& doc, ESmlDialect eDialect,
                      const TextFlush& flush, const std::vector<std::string>* pComments) {
    const SSmlDialect& dialect = SmlDialectOf(static_cast<int>(eDialect));
    const SHeaderFields h = DocHeader(doc);
    dialect.pHeader(out, {h.nStream, h.nFunction, h.bWBit != 0, h.nDeviceId, h.dwSystemBytes});
    const std::size_t nHeader = out.size();
    CSmlLines(out, dialect, 0, &flush, pComments).Write(doc, 0, doc.m_rows.size());
    if (out.size() == nHeader) out += dialect.szEmptyBody;
    out += dialect.szEnd;
    AppendDamage(out, doc, 0, UINT64_MAX);
}

std::string MessageToSml(const CMsgDoc& doc, ESmlDialect eDialect) {
    std::string out;
    AppendMessageSml(out, doc, eDialect);
    return out;
}

std::string ItemToSml(const CMsgDoc& doc, std::size_t nRow, ESmlDialect eDialect) {
    if (nRow >= doc.m_rows.size()) return std::string();
    std::string out;
    CSmlLines(out, SmlDialectOf(static_cast<int>(eDialect)), doc.m_rows[nRow].nDepth)
        .Write(doc, nRow, SubtreeEnd(doc, nRow));
    if (!out.empty()) out.erase(0, 1);  // the line break before the first line
    return out;
}

std::string DocNodeToSml(const CMsgDoc& doc, int nRow) {
    if (nRow < 0) {
        std::string str = MessageToSml(doc, ESmlDialect::kStandard);
        if (str.back() != '\n') str += '\n';
        return str;
    }
    if (static_cast<std::size_t>(nRow) >= doc.m_rows.size()) return std::string();
    const SItemRow& row = doc.m_rows[static_cast<std::size_t>(nRow)];
    if (!IsKnownRow(row)) return std::string();  // no SML form
    std::string str = ItemToSml(doc, static_cast<std::size_t>(nRow), ESmlDialect::kStandard);
    str += '\n';
    AppendDamage(str, doc, row.nOffset, RowDataEnd(row));
    return str;
}

std::string TreeNodeToSml(const CMsgInfo& msg, int nNode) {
    if (!msg.m_pDoc) return std::string();
    const int nRow = nNode < 0 ? -1 : RowOfCell(msg, nNode);
    if (nNode >= 0 && nRow < 0) return std::string();
    return DocNodeToSml(*msg.m_pDoc, nRow);
}

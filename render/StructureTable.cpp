#include "render/StructureTable.h"

#include <algorithm>
#include <string>
#include <string_view>

#include "model/FormatTable.h"
#include "render/MessageStructures.h"

namespace {

// "BOOL  " is printed padded; the notation writes "BOOL".
std::string_view TrimmedShortName(const SFormat& f) {
    std::string_view str = f.szShort;
    while (!str.empty() && str.back() == ' ') str.remove_suffix(1);
    return str;
}

int FormatIndexOfName(std::string_view strName) {
    for (int i = 0; i < kFormatCount; ++i)
        if (TrimmedShortName(kFormats[i]) == strName) return i;
    return -1;
}

// Data item names are upper-case ASCII letters and digits.
bool IsNameChar(char c) { return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'); }

std::string MessageLabel(int nStream, int nFunction) {
    return "S" + std::to_string(nStream) + "F" + std::to_string(nFunction);
}

// One open list while a shape is read.
struct SOpenList {
    int nNode;
    std::vector<int> kids;
};

}  // namespace

const CStructureTable& CStructureTable::Get() {
    static const CStructureTable table;
    return table;
}

CStructureTable::CStructureTable() {
    ParseItems();
    int nCount = 0;
    const SMessageStructure* pAll = AllMessageStructures(&nCount);
    for (int i = 0; i < nCount; ++i)
        ParseShape(pAll[i].nStream, pAll[i].nFunction, pAll[i].szShape);
}

const std::vector<int>* CStructureTable::Find(int nStream, int nFunction) const {
    const SMessageStructure* p = FindMessageStructure(nStream, nFunction);
    if (!p) return nullptr;
    int nCount = 0;
    const std::vector<int>& roots = m_entries[p - AllMessageStructures(&nCount)].roots;
    return roots.empty() ? nullptr : &roots;
}

// "U1 U2 A" allows three formats; "B[1]" one format and at most one element.
void CStructureTable::ParseItems() {
    int nCount = 0;
    const SDataItemFormats* pAll = AllDataItemFormats(&nCount);
    for (int i = 0; i < nCount; ++i) {
        SShapeItem item;
        item.szName = pAll[i].szName;
        std::string_view strRest = pAll[i].szFormats;
        while (!strRest.empty()) {
            const std::size_t nEnd = std::min(strRest.find(' '), strRest.size());
            std::string_view strToken = strRest.substr(0, nEnd);
            strRest.remove_prefix(std::min(nEnd + 1, strRest.size()));
            if (const std::size_t nBracket = strToken.find('[');
                nBracket != std::string_view::npos) {
                item.nMaxElements = static_cast<std::uint32_t>(
                    std::stoul(std::string(strToken.substr(nBracket + 1))));
                strToken = strToken.substr(0, nBracket);
            }
            const int nIndex = FormatIndexOfName(strToken);
            if (nIndex < 0) {
                m_errors.push_back(std::string(item.szName) + ": unknown format " +
                                   std::string(strToken));
                continue;
            }
            item.nFormats |= 1u << nIndex;
            item.strExpects += (item.strExpects.empty() ? "" : "/") + std::string(strToken);
        }
        m_items.push_back(std::move(item));
    }
}

int CStructureTable::AddItemNode(const std::string& strName) {
    const SDataItemFormats* p = FindDataItemFormats(strName);
    if (!p) return -1;
    int nCount = 0;
    SShapeNode node;
    node.nItem = static_cast<int>(p - AllDataItemFormats(&nCount));
    m_nodes.push_back(node);
    return static_cast<int>(m_nodes.size()) - 1;
}

// "n", "3" or "2|0" between the brackets of L[...]; -1 for anything else.
int CStructureTable::AddListNode(std::string_view strCount) {
    SShapeNode node;
    node.eKind = strCount == "n" ? SShapeNode::kListOfAny : SShapeNode::kList;
    node.bMayBeEmpty = strCount.ends_with("|0");
    if (node.eKind == SShapeNode::kList) {
        const std::string strDigits(strCount.substr(0, strCount.find('|')));
        if (strDigits.empty() || strDigits.size() > 4 ||
            strDigits.find_first_not_of("0123456789") != std::string::npos)
            return -1;
        node.nCount = static_cast<std::uint32_t>(std::stoul(strDigits));
    }
    m_nodes.push_back(node);
    return static_cast<int>(m_nodes.size()) - 1;
}

// False when the list's items do not fit its count (one for L[n]).
bool CStructureTable::CloseList(int nNode, const std::vector<int>& kids) {
    SShapeNode& node = m_nodes[nNode];
    node.nFirstChild = static_cast<int>(m_children.size());
    node.nChildren = static_cast<int>(kids.size());
    m_children.insert(m_children.end(), kids.begin(), kids.end());
    return node.eKind == SShapeNode::kListOfAny ? node.nChildren == 1
                                                : node.nChildren == static_cast<int>(node.nCount);
}

// Reads the notation of MessageStructures.h without recursion; a fault
// leaves the message without a structure and an entry in Errors().
void CStructureTable::ParseShape(int nStream, int nFunction, const char* szShape) {
    SEntry entry{nStream, nFunction, {}};
    const std::string strLabel = MessageLabel(nStream, nFunction) + ": ";
    std::vector<SOpenList> open;
    std::string strError;
    bool bRoot = false;  // the current alternative has its shape
    const std::string_view str = szShape;
    std::size_t i = 0;
    const auto place = [&](int nNode) {
        if (!open.empty())
            open.back().kids.push_back(nNode);
        else if (bRoot)
            strError = "two shapes without |";
        else {
            entry.roots.push_back(nNode);
            bRoot = true;
        }
    };
    while (i < str.size() && strError.empty()) {
        const char c = str[i];
        if (c == ' ') {
            ++i;
        } else if (c == '|' && open.empty() && bRoot) {
            bRoot = false;
            ++i;
        } else if (c == '-' && open.empty()) {
            place(-1);
            ++i;
        } else if (c == '}' && !open.empty()) {
            const int nNode = open.back().nNode;
            if (!CloseList(nNode, open.back().kids)) strError = "list count and items differ";
            open.pop_back();
            place(nNode);
            ++i;
        } else if (str.substr(i, 2) == "L[") {
            const std::size_t nClose = str.find("]{", i);
            if (nClose == std::string_view::npos) {
                strError = "L[...] without {";
                break;
            }
            const int nNode = AddListNode(str.substr(i + 2, nClose - i - 2));
            if (nNode < 0) strError = "bad list count";
            open.push_back({nNode, {}});
            i = nClose + 2;
        } else if (IsNameChar(c)) {
            std::size_t nEnd = i;
            while (nEnd < str.size() && IsNameChar(str[nEnd])) ++nEnd;
            const std::string strName(str.substr(i, nEnd - i));
            const int nNode = AddItemNode(strName);
            if (nNode < 0) strError = "unknown data item " + strName;
            place(nNode);
            i = nEnd;
        } else {
            strError = std::string("unexpected '") + c + "'";
        }
    }
    if (strError.empty() && (!open.empty() || !bRoot)) strError = "shape ends early";
    if (!strError.empty()) {
        m_errors.push_back(strLabel + strError);
        entry.roots.clear();
    }
    m_entries.push_back(std::move(entry));
}

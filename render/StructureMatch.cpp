#include "render/StructureMatch.h"

#include "model/FormatTable.h"
#include "render/StructureTable.h"

namespace {

std::string FormatName(int nCode) {
    std::string str = FindFormat(nCode)->szShort;
    while (!str.empty() && str.back() == ' ') str.pop_back();
    return str;
}

// "1 item", "3 items".
std::string Count(std::uint32_t n, const char* szWhat) {
    return std::to_string(n) + " " + szWhat + (n == 1 ? "" : "s");
}

std::string ListText(const SShapeNode& node) {
    if (node.eKind == SShapeNode::kListOfAny) return "L";
    const std::string str = "L[" + std::to_string(node.nCount) + "]";
    return node.bMayBeEmpty ? str + " or L[0]" : str;
}

// One walk of the items against one alternative shape.
class CShapeWalk {
public:
    CShapeWalk(const CStructureTable& table, std::span<const SItemView> items,
               std::string strPrefix)
        : m_table(table), m_items(items), m_strPrefix(std::move(strPrefix)) {
        m_roles.assign(items.size(), "");
    }

    void Run(int nRoot) {
        if (nRoot < 0) {
            if (!m_items.empty()) Note("header only expected, the body has items");
            return;
        }
        if (m_items.empty()) {
            Note("the body is empty, " + Expected(nRoot) + " expected");
            return;
        }
        m_open.assign(m_items.size(), -1);
        m_seen.assign(m_items.size(), 0);
        bool bTop = false;
        for (std::size_t i = 0; i < m_items.size(); ++i) {
            const int nNode = ExpectedNode(i, nRoot, bTop);
            if (nNode >= 0) Check(i, nNode);
        }
    }

    std::vector<const char*> m_roles;
    std::vector<std::string> m_notes;

private:
    // Shape node that item i should match, or -1 when nothing is expected
    // of it (below a value, beyond a list's count, after a mismatch).
    int ExpectedNode(std::size_t i, int nRoot, bool& bTop) {
        const int nParent = m_items[i].nParent;
        if (nParent < 0) {
            if (!bTop) {
                bTop = true;
                return nRoot;
            }
            if (!m_bExtraNoted) Note("extra item at offset " + Offset(i) + " after the body");
            m_bExtraNoted = true;
            return -1;
        }
        if (static_cast<std::size_t>(nParent) >= i || m_open[nParent] < 0) return -1;
        const SShapeNode& list = m_table.Node(m_open[nParent]);
        const std::uint32_t j = m_seen[nParent]++;
        if (list.eKind == SShapeNode::kListOfAny) return m_table.Child(list, 0);
        return j < static_cast<std::uint32_t>(list.nChildren) ? m_table.Child(list, j) : -1;
    }

    void Check(std::size_t i, int nNode) {
        const SShapeNode& node = m_table.Node(nNode);
        const SItemView& item = m_items[i];
        if (!FindFormat(item.nFormat)) return;
        const bool bList = item.nFormat == kFormatList;
        if (node.eKind != SShapeNode::kItem) {
            if (!bList)
                return Note("item at offset " + Offset(i) + " is " + FormatName(item.nFormat) +
                            ", " + ListText(node) + " expected");
            if (node.eKind == SShapeNode::kList && item.nCount != node.nCount &&
                !(item.nCount == 0 && node.bMayBeEmpty))
                Note("list at offset " + Offset(i) + " holds " + Count(item.nCount, "item") + ", " +
                     ListText(node) + " expected");
            m_open[i] = nNode;
            return;
        }
        const SShapeItem& shape = m_table.Item(node.nItem);
        const bool bAllowed = shape.nFormats & (1u << FormatIndexOf(item.nFormat));
        if (bList && !bAllowed) return NoteFormat(i, shape);
        m_roles[i] = shape.szName;
        if (!bAllowed) NoteFormat(i, shape);
        if (!bList && shape.nMaxElements && item.nCount > shape.nMaxElements)
            Note("item at offset " + Offset(i) + " has " + Count(item.nCount, "element") + ", " +
                 shape.szName + " expects at most " + std::to_string(shape.nMaxElements));
    }

    void NoteFormat(std::size_t i, const SShapeItem& shape) {
        Note("item at offset " + Offset(i) + " is " + FormatName(m_items[i].nFormat) + ", " +
             shape.szName + " expects " + shape.strExpects);
    }

    std::string Expected(int nNode) const {
        const SShapeNode& node = m_table.Node(nNode);
        return node.eKind == SShapeNode::kItem ? m_table.Item(node.nItem).szName : ListText(node);
    }

    std::string Offset(std::size_t i) const { return std::to_string(m_items[i].nOffset); }
    void Note(const std::string& str) { m_notes.push_back(m_strPrefix + str); }

    const CStructureTable& m_table;
    std::span<const SItemView> m_items;
    std::string m_strPrefix;
    std::vector<int> m_open;            // per item: the list shape its children follow, or -1
    std::vector<std::uint32_t> m_seen;  // per list item: children matched so far
    bool m_bExtraNoted = false;
};

}  // namespace

SStructureMatch MatchStructure(int nStream, int nFunction, std::span<const SItemView> items) {
    SStructureMatch match;
    match.roles.assign(items.size(), "");
    const CStructureTable& table = CStructureTable::Get();
    const std::vector<int>* pRoots = table.Find(nStream, nFunction);
    if (!pRoots) return match;
    match.bKnown = true;
    const std::string strPrefix =
        "S" + std::to_string(nStream) + "F" + std::to_string(nFunction) + ": ";
    bool bFirst = true;
    for (const int nRoot : *pRoots) {
        CShapeWalk walk(table, items, strPrefix);
        walk.Run(nRoot);
        if (bFirst || walk.m_notes.size() < match.notes.size()) {
            match.roles = std::move(walk.m_roles);
            match.notes = std::move(walk.m_notes);
        }
        bFirst = false;
    }
    return match;
}

#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The shapes and data items of MessageStructures.h, parsed once into nodes
// that the matcher walks without looking at text again.

struct SShapeItem {
    const char* szName = "";         // "CEID"
    std::uint32_t nFormats = 0;      // bit FormatIndexOf(code) set for each allowed format
    std::uint32_t nMaxElements = 0;  // 0: any number
    std::string strExpects;          // "U1/U2/U4/U8/I1/I2/I4/I8/A", as notes print it
};

struct SShapeNode {
    enum EKind { kItem, kList, kListOfAny };
    EKind eKind = kItem;
    int nItem = -1;            // kItem: index into CStructureTable::Item
    std::uint32_t nCount = 0;  // kList: items the list holds
    bool bMayBeEmpty = false;  // kList: L[k|0]
    int nFirstChild = 0;       // children are Child(nFirstChild) ... + nChildren - 1
    int nChildren = 0;         // kListOfAny: one, the shape of every element
};

class CStructureTable {
public:
    // Parsed on first use; the table is never changed afterwards.
    static const CStructureTable& Get();

    // Root node of each alternative shape, -1 for "header only"; null for a
    // message without a structure.
    const std::vector<int>* Find(int nStream, int nFunction) const;
    const SShapeNode& Node(int n) const { return m_nodes[n]; }
    int Child(const SShapeNode& node, int j) const { return m_children[node.nFirstChild + j]; }
    const SShapeItem& Item(int n) const { return m_items[n]; }

    // "S6F11: unknown data item CEDI"; empty when every entry parsed.
    const std::vector<std::string>& Errors() const { return m_errors; }

private:
    CStructureTable();
    void ParseItems();
    void ParseShape(int nStream, int nFunction, const char* szShape);
    int AddItemNode(const std::string& strName);
    int AddListNode(std::string_view strCount);
    bool CloseList(int nNode, const std::vector<int>& kids);

    struct SEntry {
        int nStream;
        int nFunction;
        std::vector<int> roots;
    };
    std::vector<SShapeItem> m_items;  // in the order of AllDataItemFormats
    std::vector<SShapeNode> m_nodes;
    std::vector<int> m_children;
    std::vector<SEntry> m_entries;  // in the order of AllMessageStructures
    std::vector<std::string> m_errors;
};

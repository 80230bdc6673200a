#pragma once
#include <string>
#include <vector>

#include "model/MsgInfo.h"

// The message tree as the viewer shows it and brevix-dump --tree prints it:
// one node per cell reachable from the first cell, in document order, lists
// holding their entries, top-level items side by side under the root. Built
// without recursion, so any depth or width is safe.
struct CLabelNode {
    std::string m_strLabel;
    int m_nParent = -1;  // index into m_nodes; -1 directly under the root
    int m_nDepth = 0;    // 0 directly under the root
    int m_nRow = 0;      // position among its parent's children
    int m_nChildCount = 0;
    int m_nFirstChild = -1;  // index, -1 when none
    int m_nNext = -1;        // next sibling's index, -1 when none
};

struct CLabelTree {
    std::string m_strRoot;            // "S%dF%d%s", e.g. "S6F11W"
    std::vector<CLabelNode> m_nodes;  // document order: a parent precedes its children
    int m_nTopCount = 0;              // nodes directly under the root
};

std::string GetRootLabel(const CMsgInfo& msg);
// "S6F11W" from the header fields.
std::string RootLabelText(int nStream, int nFunction, bool bWait);
// Label of one cell: "%s[%d] " head and its values, untrimmed.
std::string GetTreeLabel(const CMsgCell& cell, int nStyleFlag);
CLabelTree BuildLabelTree(const CMsgInfo& msg, int nStyleFlag);

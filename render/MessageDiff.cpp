#include "render/MessageDiff.h"

#include <algorithm>

#include "render/ExactValue.h"
#include "render/NumberText.h"
#include "render/SeqAlign.h"

namespace {

// Children, subtree ends, depths and alignment keys of one message's items.
class CDiffTree {
public:
    explicit CDiffTree(const SDiffMessage& msg) : m_msg(msg) {
        const int n = static_cast<int>(msg.items.size());
        m_parent.resize(static_cast<std::size_t>(n));
        m_depth.resize(m_parent.size());
        m_childStart.assign(m_parent.size() + 2, 0);
        for (int i = 0; i < n; ++i) {
            int p = msg.items[At(i)].nParent;
            if (p < -1 || p >= i) p = -1;
            m_parent[At(i)] = p;
            m_depth[At(i)] = p < 0 ? 0 : m_depth[At(p)] + 1;
            ++m_childStart[Slot(p) + 1];
        }
        for (std::size_t s = 1; s < m_childStart.size(); ++s)
            m_childStart[s] += m_childStart[s - 1];
        m_children.resize(static_cast<std::size_t>(n));
        std::vector<int> fill(m_childStart.begin(), m_childStart.end() - 1);
        for (int i = 0; i < n; ++i) m_children[At(fill[Slot(m_parent[At(i)])]++)] = i;
        BuildKeys();
    }

    std::span<const int> Children(int nItem) const {
        const std::size_t s = Slot(nItem);
        return std::span<const int>(m_children)
            .subspan(At(m_childStart[s]), At(m_childStart[s + 1] - m_childStart[s]));
    }
    const SDiffItem& Item(int i) const { return m_msg.items[At(i)]; }
    const SDiffHeader& Header() const { return m_msg.header; }
    bool IsList(int i) const { return Item(i).nFormat == 0; }
    std::size_t Count(int i) const { return IsList(i) ? Children(i).size() : Item(i).nCount; }
    int End(int i) const { return m_end[At(i)]; }
    int Depth(int i) const { return m_depth[At(i)]; }
    int Parent(int i) const { return m_parent[At(i)]; }
    std::uint64_t Hash(int i) const { return m_hash[At(i)]; }
    std::uint64_t Shape(int i) const { return m_shape[At(i)]; }

private:
    static std::size_t At(int i) { return static_cast<std::size_t>(i); }
    std::size_t Slot(int nItem) const { return nItem < 0 ? m_parent.size() : At(nItem); }

    // From the last item back, so that every child is done before its list.
    void BuildKeys() {
        const std::size_t n = m_parent.size();
        m_hash.resize(n);
        m_shape.resize(n);
        m_end.resize(n);
        for (std::size_t i = n; i-- > 0;) {
            const int nItem = static_cast<int>(i);
            const SDiffItem& item = Item(nItem);
            std::uint64_t h =
                MixKey(MixKey(0, static_cast<std::uint64_t>(item.nFormat)), Count(nItem));
            if (!item.bIgnoreValue)
                for (unsigned char c : item.data) h = (h ^ c) * 0x100000001B3ull;
            const std::span<const int> kids = Children(nItem);
            for (int c : kids) h = MixKey(h, Hash(c));
            m_hash[i] = h;
            m_end[i] = kids.empty() ? nItem + 1 : End(kids.back());
            const bool bFirstIsData = !kids.empty() && !IsList(kids.front());
            m_shape[i] = IsList(nItem) ? MixKey(2, bFirstIsData ? Hash(kids.front()) : 0)
                                       : MixKey(1, static_cast<std::uint64_t>(item.nFormat));
        }
    }

    const SDiffMessage& m_msg;
    std::vector<int> m_parent;
    std::vector<int> m_depth;
    std::vector<int> m_childStart;  // slot i for item i, the last slot for the top
    std::vector<int> m_children;
    std::vector<int> m_end;
    std::vector<std::uint64_t> m_hash;
    std::vector<std::uint64_t> m_shape;
};

bool SameItem(const CDiffTree& ta, int i, const CDiffTree& tb, int j) {
    const SDiffItem& a = ta.Item(i);
    const SDiffItem& b = tb.Item(j);
    return a.nFormat == b.nFormat && ta.Count(i) == tb.Count(j) &&
           (a.bIgnoreValue || b.bIgnoreValue ||
            std::equal(a.data.begin(), a.data.end(), b.data.begin(), b.data.end()));
}

// Equal keys are only a hint: the subtrees are compared item by item.
bool SameSubtree(const CDiffTree& ta, int i, const CDiffTree& tb, int j) {
    const int nLen = ta.End(i) - i;
    if (tb.End(j) - j != nLen) return false;
    for (int t = 0; t < nLen; ++t) {
        if (!SameItem(ta, i + t, tb, j + t)) return false;
        if (t > 0 && ta.Parent(i + t) - i != tb.Parent(j + t) - j) return false;
    }
    return true;
}

enum class EStep { kEqual, kPair, kOnlyA, kOnlyB };

struct SStep {
    EStep eStep;
    int nA = -1;
    int nB = -1;
    std::size_t nPosA = 0;  // 1-based among the children
    std::size_t nPosB = 0;
};

class CChildAlign {
public:
    CChildAlign(const CDiffTree& ta, const CDiffTree& tb, std::span<const int> ca,
                std::span<const int> cb)
        : m_ta(ta), m_tb(tb), m_ca(ca), m_cb(cb) {}

    std::vector<SStep> Run() {
        std::vector<std::uint64_t> ka, kb;
        for (int i : m_ca) ka.push_back(m_ta.Hash(i));
        for (int j : m_cb) kb.push_back(m_tb.Hash(j));
        std::size_t nA = 0, nB = 0;
        for (const SAlignPair& p : AlignKeys(ka, kb)) {
            if (!SameSubtree(m_ta, m_ca[p.nA], m_tb, m_cb[p.nB])) continue;
            Gap(nA, p.nA, nB, p.nB);
            Add(EStep::kEqual, p.nA, p.nB);
            nA = p.nA + 1;
            nB = p.nB + 1;
        }
        Gap(nA, m_ca.size(), nB, m_cb.size());
        return std::move(m_steps);
    }

private:
    void Add(EStep e, std::size_t nA, std::size_t nB) {
        SStep s{e};
        if (e != EStep::kOnlyB) s.nA = m_ca[nA], s.nPosA = nA + 1;
        if (e != EStep::kOnlyA) s.nB = m_cb[nB], s.nPosB = nB + 1;
        m_steps.push_back(s);
    }

    // Between two equal subtrees: items of one shape are partners.
    void Gap(std::size_t nA0, std::size_t nA1, std::size_t nB0, std::size_t nB1) {
        std::vector<std::uint64_t> ka, kb;
        if (nA0 < nA1 && nB0 < nB1) {
            for (std::size_t i = nA0; i < nA1; ++i) ka.push_back(m_ta.Shape(m_ca[i]));
            for (std::size_t j = nB0; j < nB1; ++j) kb.push_back(m_tb.Shape(m_cb[j]));
        }
        std::size_t nA = nA0, nB = nB0;
        for (const SAlignPair& p : AlignKeys(ka, kb)) {
            ByPosition(nA, nA0 + p.nA, nB, nB0 + p.nB);
            Add(EStep::kPair, nA0 + p.nA, nB0 + p.nB);
            nA = nA0 + p.nA + 1;
            nB = nB0 + p.nB + 1;
        }
        ByPosition(nA, nA1, nB, nB1);
    }

    void ByPosition(std::size_t nA0, std::size_t nA1, std::size_t nB0, std::size_t nB1) {
        while (nA0 < nA1 && nB0 < nB1) Add(EStep::kPair, nA0++, nB0++);
        while (nA0 < nA1) Add(EStep::kOnlyA, nA0++, 0);
        while (nB0 < nB1) Add(EStep::kOnlyB, 0, nB0++);
    }

    const CDiffTree& m_ta;
    const CDiffTree& m_tb;
    std::span<const int> m_ca;
    std::span<const int> m_cb;
    std::vector<SStep> m_steps;
};

struct SHeaderField {
    const char* szField;
    std::uint32_t (*pRead)(const SDiffHeader&);
};
constexpr SHeaderField kHeaderFields[] = {
    {"stream", [](const SDiffHeader& h) { return static_cast<std::uint32_t>(h.nStream); }},
    {"function", [](const SDiffHeader& h) { return static_cast<std::uint32_t>(h.nFunction); }},
    {"W-bit", [](const SDiffHeader& h) { return static_cast<std::uint32_t>(h.bWBit); }},
    {"device id", [](const SDiffHeader& h) { return static_cast<std::uint32_t>(h.nDeviceId); }},
    {"system bytes", [](const SDiffHeader& h) { return h.dwSystemBytes; }},
};

// The children of one pair of partnered lists, walked in order. Paths are
// built from the frames only for a difference: a deep nest would otherwise
// hold a path per level, quadratic in the depth.
struct SFrame {
    std::vector<SStep> steps;
    std::size_t nNext = 0;
    std::size_t nPosA = 0;  // of the lists among their siblings; 0 for the top
    std::size_t nPosB = 0;
    int nDepth = 0;
};

class CMessageDiff {
public:
    CMessageDiff(const SDiffMessage& a, const SDiffMessage& b) : m_ta(a), m_tb(b) {}

    SMessageDiff Run() {
        for (const SHeaderField& f : kHeaderFields) {
            const std::uint32_t nA = f.pRead(m_ta.Header());
            const std::uint32_t nB = f.pRead(m_tb.Header());
            if (nA != nB) m_out.header.push_back({f.szField, nA, nB});
        }
        Push(-1, -1, 0, 0, 0);
        while (!m_frames.empty()) {
            SFrame& f = m_frames.back();
            if (f.nNext == f.steps.size()) {
                m_frames.pop_back();
                continue;
            }
            Take(f.steps[f.nNext++]);
        }
        return std::move(m_out);
    }

private:
    void Push(int nA, int nB, std::size_t nPosA, std::size_t nPosB, int nDepth) {
        SFrame f;
        f.steps = CChildAlign(m_ta, m_tb, m_ta.Children(nA), m_tb.Children(nB)).Run();
        f.nPosA = nPosA;
        f.nPosB = nPosB;
        f.nDepth = nDepth;
        m_frames.push_back(std::move(f));
    }

    // Path of child nPos of the lists on top of the frame stack.
    std::string PathOf(bool bA, std::size_t nPos) const {
        std::string str;
        for (std::size_t k = 1; k < m_frames.size(); ++k)
            str = ChildPath(str, bA ? m_frames[k].nPosA : m_frames[k].nPosB);
        return ChildPath(str, nPos);
    }

    // Frames may be added on the way: s is a copy.
    void Take(SStep s) {
        const int nDepth = m_frames.back().nDepth;
        switch (s.eStep) {
            case EStep::kEqual:
                for (int t = 0; t < m_ta.End(s.nA) - s.nA; ++t)
                    Row(s.nA + t, s.nB + t, nDepth + m_ta.Depth(s.nA + t) - m_ta.Depth(s.nA), -1);
                return;
            case EStep::kOnlyA:
                Subtree(m_ta, s.nA, true, nDepth, Diff(EDiffKind::kOnlyA, s));
                return;
            case EStep::kOnlyB:
                Subtree(m_tb, s.nB, false, nDepth, Diff(EDiffKind::kOnlyB, s));
                return;
            case EStep::kPair:
                Pair(s, nDepth);
                return;
        }
    }

    void Pair(const SStep& s, int nDepth) {
        const bool bListA = m_ta.IsList(s.nA), bListB = m_tb.IsList(s.nB);
        if (bListA && bListB) {
            Row(s.nA, s.nB, nDepth, -1);
            Push(s.nA, s.nB, s.nPosA, s.nPosB, nDepth + 1);
            return;
        }
        const SDiffItem& a = m_ta.Item(s.nA);
        const SDiffItem& b = m_tb.Item(s.nB);
        if (SameItem(m_ta, s.nA, m_tb, s.nB)) return Row(s.nA, s.nB, nDepth, -1);
        const bool bShape = a.nFormat != b.nFormat || m_ta.Count(s.nA) != m_tb.Count(s.nB);
        const int nDiff = Diff(bShape ? EDiffKind::kFormat : EDiffKind::kValue, s);
        Row(s.nA, s.nB, nDepth, nDiff);
        for (int t = s.nA + 1; t < m_ta.End(s.nA); ++t)
            Row(t, -1, nDepth + m_ta.Depth(t) - m_ta.Depth(s.nA), nDiff);
        for (int t = s.nB + 1; t < m_tb.End(s.nB); ++t)
            Row(-1, t, nDepth + m_tb.Depth(t) - m_tb.Depth(s.nB), nDiff);
    }

    void Subtree(const CDiffTree& t, int nItem, bool bA, int nDepth, int nDiff) {
        for (int i = nItem; i < t.End(nItem); ++i)
            Row(bA ? i : -1, bA ? -1 : i, nDepth + t.Depth(i) - t.Depth(nItem), nDiff);
    }

    void Row(int nA, int nB, int nDepth, int nDiff) {
        m_out.rows.push_back({nA, nB, nDepth, nDiff});
    }

    int Diff(EDiffKind eKind, const SStep& s) {
        SItemDiff d;
        d.eKind = eKind;
        if (s.nA >= 0) d.a = Side(m_ta, s.nA, PathOf(true, s.nPosA));
        if (s.nB >= 0) d.b = Side(m_tb, s.nB, PathOf(false, s.nPosB));
        m_out.items.push_back(std::move(d));
        return static_cast<int>(m_out.items.size() - 1);
    }

    static SDiffSide Side(const CDiffTree& t, int nItem, std::string strPath) {
        const SDiffItem& item = t.Item(nItem);
        SDiffSide side;
        side.nItem = nItem;
        side.strPath = std::move(strPath);
        side.nOffset = item.nOffset;
        side.nFormat = item.nFormat;
        side.nCount = t.Count(nItem);
        side.strValue = ExactValueText(item.nFormat, item.data.data(), item.data.size());
        return side;
    }

    CDiffTree m_ta;
    CDiffTree m_tb;
    std::vector<SFrame> m_frames;
    SMessageDiff m_out;
};

}  // namespace

std::string ChildPath(const std::string& strParent, std::size_t nPosition) {
    std::string str;
    if (strParent.empty()) {
        if (nPosition == 1) return "/";
        str = "#";
    } else {
        str = strParent == "/" ? "/" : strParent + "/";
    }
    AppendUnsigned(str, nPosition);
    return str;
}

SMessageDiff DiffMessages(const SDiffMessage& a, const SDiffMessage& b) {
    return CMessageDiff(a, b).Run();
}

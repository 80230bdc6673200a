#include "inspect/CompareWindow.h"

#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QScrollBar>
#include <QShortcut>
#include <QSplitter>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "decode/Decode.h"
#include "render/DiffText.h"
#include "render/DocViews.h"
#include "render/TreeLabels.h"

namespace {

// Nodes deeper than this are shown flat under their ancestor at this depth,
// since QTreeView lays out expanded rows recursively.
constexpr int kFlatDepth = 100;

struct SKindColour {
    EDiffKind eKind;
    QRgb rgbLight;
    QRgb rgbDark;
};
constexpr SKindColour kKindColours[] = {
    {EDiffKind::kValue, qRgb(0xFF, 0xF0, 0xA8), qRgb(0x5C, 0x50, 0x18)},
    {EDiffKind::kFormat, qRgb(0xFF, 0xD2, 0xA0), qRgb(0x70, 0x40, 0x14)},
    {EDiffKind::kOnlyA, qRgb(0xFF, 0xC8, 0xC8), qRgb(0x6E, 0x26, 0x26)},
    {EDiffKind::kOnlyB, qRgb(0xC4, 0xEE, 0xC4), qRgb(0x22, 0x5C, 0x2A)},
};

QString Latin1(const std::string& str) {
    return QString::fromLatin1(str.data(), static_cast<qsizetype>(str.size()));
}

// Labels of the document's rows as the main tree shows them, and the root's label.
std::vector<std::string> RowLabels(const std::shared_ptr<const CMsgDoc>& pDoc, int nStyleFlag,
                                   std::string& strRoot) {
    CDecode decoder;
    const std::unique_ptr<CMsgInfo> pMsg = decoder.MakeMsgInfo(pDoc);
    strRoot = GetRootLabel(*pMsg);
    std::vector<std::string> labels(pDoc->m_rows.size());
    for (std::size_t k = 0; k < pMsg->m_cells.size(); ++k) {
        const int nRow = RowOfCell(*pMsg, static_cast<int>(k));
        if (nRow >= 0 && static_cast<std::size_t>(nRow) < labels.size())
            labels[static_cast<std::size_t>(nRow)] = GetTreeLabel(*pMsg->m_cells[k], nStyleFlag);
    }
    // A row of an unknown format makes no cell; it still has a row to show.
    for (std::size_t r = 0; r < labels.size(); ++r)
        if (labels[r].empty())
            labels[r] = FormatCountText(pDoc->m_rows[r].nFormat, RowElementCount(pDoc->m_rows[r]));
    return labels;
}

}  // namespace

QColor DiffRowColour(EDiffKind eKind, bool bDark) {
    for (const SKindColour& c : kKindColours)
        if (c.eKind == eKind) return QColor::fromRgb(bDark ? c.rgbDark : c.rgbLight);
    return {};
}

CCompareWindow::CCompareWindow(QWidget* pParent) : QWidget(pParent, Qt::Window) {
    setAttribute(Qt::WA_DeleteOnClose);
    CreatePanes();
    auto* pNext = new QShortcut(QKeySequence(Qt::Key_F8), this);
    connect(pNext, &QShortcut::activated, this, [this] { GoToDifference(true); });
    auto* pPrev = new QShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F8), this);
    connect(pPrev, &QShortcut::activated, this, [this] { GoToDifference(false); });
    resize(1000, 700);
}

void CCompareWindow::CreatePanes() {
    auto* pLayout = new QVBoxLayout(this);
    auto* pSplitV = new QSplitter(Qt::Vertical, this);
    auto* pSplitH = new QSplitter(Qt::Horizontal, pSplitV);
    m_treeA = new QTreeWidget(pSplitH);
    m_treeB = new QTreeWidget(pSplitH);
    for (QTreeWidget* pTree : {m_treeA, m_treeB}) {
        pTree->setUniformRowHeights(true);
        pTree->setColumnCount(1);
        pTree->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
        pTree->header()->setStretchLastSection(true);
    }
    m_listDiffs = new QListWidget(pSplitV);
    m_labelSummary = new QLabel(this);
    pSplitV->setStretchFactor(0, 4);
    pSplitV->setStretchFactor(1, 1);
    pLayout->addWidget(pSplitV);
    pLayout->addWidget(m_labelSummary);
    LinkTrees(m_treeA, m_treeB);
    LinkTrees(m_treeB, m_treeA);
    connect(m_listDiffs, &QListWidget::currentRowChanged, this, [this](int nLine) {
        const int nDiff = nLine - static_cast<int>(m_diff.header.size());
        if (nDiff >= 0 && nDiff < static_cast<int>(m_diffRows.size()))
            SelectRow(m_diffRows[static_cast<std::size_t>(nDiff)]);
    });
}

// Both trees have the same rows, so positions carry over as they are.
void CCompareWindow::LinkTrees(QTreeWidget* pFrom, QTreeWidget* pTo) {
    connect(pFrom->verticalScrollBar(), &QScrollBar::valueChanged, pTo->verticalScrollBar(),
            &QScrollBar::setValue);
    // Every item holds its row (-1 for the root): the twin is at the same row.
    const auto twin = [this, pTo](QTreeWidgetItem* pItem) -> QTreeWidgetItem* {
        const int nRow = pItem->data(0, Qt::UserRole).toInt();
        const std::vector<QTreeWidgetItem*>& to = pTo == m_treeA ? m_itemsA : m_itemsB;
        if (nRow < 0) return pTo->topLevelItem(0);
        return nRow < static_cast<int>(to.size()) ? to[static_cast<std::size_t>(nRow)] : nullptr;
    };
    connect(pFrom, &QTreeWidget::itemExpanded, this, [this, twin](QTreeWidgetItem* pItem) {
        if (m_bSyncing) return;
        if (QTreeWidgetItem* p = twin(pItem)) p->setExpanded(true);
    });
    connect(pFrom, &QTreeWidget::itemCollapsed, this, [this, twin](QTreeWidgetItem* pItem) {
        if (m_bSyncing) return;
        if (QTreeWidgetItem* p = twin(pItem)) p->setExpanded(false);
    });
    connect(pFrom, &QTreeWidget::currentItemChanged, this,
            [this, twin, pTo](QTreeWidgetItem* pItem) {
                if (m_bSyncing || !pItem) return;
                m_bSyncing = true;
                if (QTreeWidgetItem* p = twin(pItem)) pTo->setCurrentItem(p);
                m_bSyncing = false;
            });
}

void CCompareWindow::Compare(std::shared_ptr<const CMsgDoc> pA, const std::string& strNameA,
                             std::shared_ptr<const CMsgDoc> pB, const std::string& strNameB,
                             int nStyleFlag) {
    m_pDocA = pA ? std::move(pA) : std::make_shared<const CMsgDoc>();
    m_pDocB = pB ? std::move(pB) : std::make_shared<const CMsgDoc>();
    m_diff = DiffMessages(DiffMessageOfDoc(*m_pDocA), DiffMessageOfDoc(*m_pDocB));
    m_bSyncing = true;
    FillTree(m_treeA, m_pDocA, true, strNameA, nStyleFlag);
    FillTree(m_treeB, m_pDocB, false, strNameB, nStyleFlag);
    m_bSyncing = false;
    FillDifferences();
    setWindowTitle(QStringLiteral("Compare %1 with %2").arg(Latin1(strNameA), Latin1(strNameB)));
}

void CCompareWindow::FillTree(QTreeWidget* pTree, const std::shared_ptr<const CMsgDoc>& pDoc,
                              bool bA, const std::string& strName, int nStyleFlag) {
    pTree->clear();
    pTree->setHeaderLabel(Latin1(strName));
    std::string strRoot;
    const std::vector<std::string> labels = RowLabels(pDoc, nStyleFlag, strRoot);
    const bool bDark = palette().color(QPalette::Base).lightness() < 128;
    auto* pRoot = new QTreeWidgetItem(pTree, QStringList(Latin1(strRoot)));
    pRoot->setData(0, Qt::UserRole, -1);
    if (!m_diff.header.empty()) pRoot->setBackground(0, DiffRowColour(EDiffKind::kValue, bDark));
    std::vector<QTreeWidgetItem*>& items = bA ? m_itemsA : m_itemsB;
    items.assign(m_diff.rows.size(), nullptr);
    std::vector<QTreeWidgetItem*> parents(kFlatDepth + 1, pRoot);
    for (std::size_t r = 0; r < m_diff.rows.size(); ++r) {
        const SDiffRow& row = m_diff.rows[r];
        const int nItem = bA ? row.nItemA : row.nItemB;
        const int nDepth = std::min(row.nDepth, kFlatDepth);
        auto* pItem = new QTreeWidgetItem(parents[static_cast<std::size_t>(nDepth)]);
        if (nItem >= 0 && static_cast<std::size_t>(nItem) < labels.size())
            pItem->setText(0, Latin1(labels[static_cast<std::size_t>(nItem)]));
        pItem->setData(0, Qt::UserRole, static_cast<int>(r));
        if (row.nDiff >= 0)
            pItem->setBackground(
                0, DiffRowColour(m_diff.items[static_cast<std::size_t>(row.nDiff)].eKind, bDark));
        if (nDepth < kFlatDepth) parents[static_cast<std::size_t>(nDepth) + 1] = pItem;
        items[r] = pItem;
    }
    pTree->expandAll();
}

void CCompareWindow::FillDifferences() {
    m_listDiffs->clear();
    for (const SHeaderDiff& h : m_diff.header) m_listDiffs->addItem(Latin1(HeaderDiffText(h)));
    m_diffRows.assign(m_diff.items.size(), -1);
    for (std::size_t r = m_diff.rows.size(); r-- > 0;)
        if (m_diff.rows[r].nDiff >= 0)
            m_diffRows[static_cast<std::size_t>(m_diff.rows[r].nDiff)] = static_cast<int>(r);
    for (const SItemDiff& d : m_diff.items) m_listDiffs->addItem(Latin1(ItemDiffText(d)));
    const bool bDark = palette().color(QPalette::Base).lightness() < 128;
    for (std::size_t i = 0; i < m_diff.items.size(); ++i)
        m_listDiffs->item(static_cast<int>(m_diff.header.size() + i))
            ->setBackground(DiffRowColour(m_diff.items[i].eKind, bDark));
    std::string str;
    str = m_diff.items.empty() ? "The bodies are equal" : "The bodies differ";
    m_labelSummary->setText(
        QStringLiteral("%1. Item differences: %2; header differences: %3. F8: next difference, "
                       "Shift+F8: previous.")
            .arg(Latin1(str))
            .arg(m_diff.items.size())
            .arg(m_diff.header.size()));
}

int CCompareWindow::CurrentRow() const {
    const QTreeWidgetItem* pItem = m_treeA->currentItem();
    return pItem ? pItem->data(0, Qt::UserRole).toInt() : -1;
}

void CCompareWindow::SelectRow(int nRow) {
    if (nRow < 0 || nRow >= static_cast<int>(m_itemsA.size())) return;
    QTreeWidgetItem* pA = m_itemsA[static_cast<std::size_t>(nRow)];
    m_treeA->setCurrentItem(pA);
    m_treeA->scrollToItem(pA, QAbstractItemView::PositionAtCenter);
    m_treeB->setCurrentItem(m_itemsB[static_cast<std::size_t>(nRow)]);
}

bool CCompareWindow::GoToDifference(bool bForward) {
    if (m_diffRows.empty()) return false;
    const int nCurrent = CurrentRow();
    // m_diffRows rises with the difference's index, as the rows do.
    int nTarget = bForward ? m_diffRows.front() : m_diffRows.back();
    if (bForward) {
        const auto it = std::upper_bound(m_diffRows.begin(), m_diffRows.end(), nCurrent);
        if (it != m_diffRows.end()) nTarget = *it;
    } else {
        const auto it = std::lower_bound(m_diffRows.begin(), m_diffRows.end(), nCurrent);
        if (nCurrent >= 0 && it != m_diffRows.begin()) nTarget = *(it - 1);
    }
    SelectRow(nTarget);
    return true;
}

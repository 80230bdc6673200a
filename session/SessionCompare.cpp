#include "session/SessionCompare.h"

#include <QHeaderView>
#include <QLabel>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "inspect/CompareWindow.h"
#include "io/MsgFraming.h"
#include "io/SessionExport.h"
#include "io/SessionMessages.h"
#include "io/TimeText.h"

namespace {

// In the order of ESessionMatch.
const char* const kMatchWords[] = {"equal", "changed", "only in A", "only in B"};

QString Latin1(const std::string& str) {
    return QString::fromLatin1(str.data(), static_cast<qsizetype>(str.size()));
}

// "12  10:00:01.000000": the number as the session list shows it, and the time.
QString SideText(const SSessionMessage* pMsg, bool bTimesOfDay) {
    if (!pMsg) return {};
    std::string str = DecimalText(pMsg->nIndex + 1);
    if (pMsg->nMicros != INT64_MIN) str += "  " + IsoTimeText(pMsg->nMicros, bTimesOfDay);
    return Latin1(str);
}

std::string MessageLabel(const std::string& strSource, const SSessionMessage& msg) {
    return strSource + ": message " + DecimalText(msg.nIndex + 1) + " (" + msg.strName + ")";
}

}  // namespace

CCompareWindow* CompareSessionMessages(QWidget* pOwner, const CSession& a, std::size_t nA,
                                       const std::string& strNameA, const CSession& b,
                                       std::size_t nB, const std::string& strNameB) {
    auto* pWindow = new CCompareWindow(pOwner);
    pWindow->Compare(SessionMessageDoc(a, nA), strNameA, SessionMessageDoc(b, nB), strNameB, 1);
    pWindow->show();
    return pWindow;
}

CSessionCompareList::CSessionCompareList(std::unique_ptr<CSession> pA, const std::string& strNameA,
                                         std::unique_ptr<CSession> pB, const std::string& strNameB,
                                         QWidget* pParent)
    : QWidget(pParent, Qt::Window),
      m_pA(std::move(pA)),
      m_pB(std::move(pB)),
      m_strNameA(strNameA),
      m_strNameB(strNameB) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Compare %1 with %2").arg(Latin1(strNameA), Latin1(strNameB)));
    auto* pLayout = new QVBoxLayout(this);
    m_labelSummary = new QLabel(this);
    m_treePairs = new QTreeWidget(this);
    m_treePairs->setRootIsDecorated(false);
    m_treePairs->setUniformRowHeights(true);
    m_treePairs->setHeaderLabels({QStringLiteral("Difference"), QStringLiteral("Message"),
                                  QStringLiteral("A: number, time"),
                                  QStringLiteral("B: number, time")});
    m_treePairs->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    pLayout->addWidget(m_labelSummary);
    pLayout->addWidget(m_treePairs);
    connect(m_treePairs, &QTreeWidget::itemActivated, this,
            [this](QTreeWidgetItem* pItem) { OpenRow(m_treePairs->indexOfTopLevelItem(pItem)); });
    m_msgsA = SessionMessagesOf(*m_pA);
    m_msgsB = SessionMessagesOf(*m_pB);
    m_diff = DiffSessions(m_msgsA, m_msgsB);
    Fill();
    resize(760, 480);
}

void CSessionCompareList::Fill() {
    std::string str;
    for (int i = 0; i < 4; ++i) {
        if (i) str += ", ";
        str += kMatchWords[i] + std::string(" ") + DecimalText(m_diff.nCount[i]);
    }
    m_labelSummary->setText(Latin1(str + ". A changed pair opens side by side on Enter or a "
                                         "double click."));
    const bool bDark = palette().color(QPalette::Base).lightness() < 128;
    for (std::size_t p = 0; p < m_diff.pairs.size(); ++p) {
        const SSessionPair& pair = m_diff.pairs[p];
        if (pair.eMatch == ESessionMatch::kEqual) continue;
        const SSessionMessage* pA =
            pair.nA >= 0 ? &m_msgsA[static_cast<std::size_t>(pair.nA)] : nullptr;
        const SSessionMessage* pB =
            pair.nB >= 0 ? &m_msgsB[static_cast<std::size_t>(pair.nB)] : nullptr;
        std::string strKind = kMatchWords[static_cast<int>(pair.eMatch)];
        if (pair.bUnreadable) strKind += " (could not be read)";
        auto* pItem = new QTreeWidgetItem(
            m_treePairs, {Latin1(strKind), Latin1((pA ? pA : pB)->strName),
                          SideText(pA, m_pA->TimesOfDay()), SideText(pB, m_pB->TimesOfDay())});
        static constexpr EDiffKind kColour[] = {EDiffKind::kValue, EDiffKind::kValue,
                                                EDiffKind::kOnlyA, EDiffKind::kOnlyB};
        const QColor colour = DiffRowColour(kColour[static_cast<int>(pair.eMatch)], bDark);
        for (int c = 0; c < 4; ++c) pItem->setBackground(c, colour);
        m_pairOfRow.push_back(static_cast<int>(p));
    }
}

CCompareWindow* CSessionCompareList::OpenRow(int nRow) {
    if (nRow < 0 || static_cast<std::size_t>(nRow) >= m_pairOfRow.size()) return nullptr;
    const SSessionPair& pair =
        m_diff.pairs[static_cast<std::size_t>(m_pairOfRow[static_cast<std::size_t>(nRow)])];
    if (pair.nA < 0 || pair.nB < 0) return nullptr;
    const SSessionMessage& a = m_msgsA[static_cast<std::size_t>(pair.nA)];
    const SSessionMessage& b = m_msgsB[static_cast<std::size_t>(pair.nB)];
    return CompareSessionMessages(this, *m_pA, a.nIndex, MessageLabel(m_strNameA, a), *m_pB,
                                  b.nIndex, MessageLabel(m_strNameB, b));
}

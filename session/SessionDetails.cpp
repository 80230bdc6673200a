#include "session/SessionDetails.h"

#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QListWidget>
#include <QPushButton>
#include <QSplitter>
#include <QTreeView>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "decode/HeaderFields.h"
#include "decode/MsgDocWalk.h"
#include "io/SessionExport.h"
#include "io/SessionMeaning.h"
#include "render/DiagnosticText.h"
#include "render/HeaderText.h"
#include "render/SmlWriter.h"
#include "render/TreeLabels.h"
#include "session/RoleTreeModel.h"

namespace {

QString FromUtf8(const std::string& str) { return QString::fromUtf8(str.data(), str.size()); }

// The one place the selected message's tree is made; style 1 gives the
// classic format names.
CLabelTree SessionMessageTree(const CMsgInfo& msg) { return BuildLabelTree(msg, 1); }

}  // namespace

CSessionDetails::CSessionDetails(QWidget* pParent) : QWidget(pParent) {
    m_treeItems = new QTreeView(this);
    m_treeItems->setObjectName(QStringLiteral("treeItems"));
    m_treeItems->setHeaderHidden(true);
    m_treeItems->setUniformRowHeights(true);
    m_treeItems->header()->setStretchLastSection(false);
    m_treeItems->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_pTreeModel = new CRoleTreeModel(this);
    m_treeItems->setModel(m_pTreeModel);

    m_treeHeader = new QTreeWidget(this);
    m_treeHeader->setObjectName(QStringLiteral("treeHeader"));
    m_treeHeader->setColumnCount(2);
    m_treeHeader->setHeaderLabels({QStringLiteral("Field"), QStringLiteral("Value")});
    m_treeHeader->setRootIsDecorated(false);
    m_treeHeader->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);

    m_listFindings = new QListWidget(this);
    m_listFindings->setObjectName(QStringLiteral("listFindings"));
    m_listFindings->setWordWrap(true);

    m_btnCopySml = new QPushButton(QStringLiteral("Copy as &SML"), this);
    connect(m_btnCopySml, &QPushButton::clicked, this,
            [this] { QApplication::clipboard()->setText(QString::fromLatin1(Sml())); });

    m_split = new QSplitter(Qt::Vertical, this);
    m_split->setObjectName(QStringLiteral("splitDetails"));
    m_split->addWidget(m_treeItems);
    m_split->addWidget(m_treeHeader);
    m_split->addWidget(m_listFindings);
    m_split->setStretchFactor(0, 3);
    m_split->setStretchFactor(1, 2);
    m_split->setStretchFactor(2, 1);
    auto* pLayout = new QVBoxLayout(this);
    pLayout->setContentsMargins(0, 0, 0, 0);
    pLayout->addWidget(m_split, 1);
    pLayout->addWidget(m_btnCopySml, 0, Qt::AlignLeft);
}

CSessionDetails::~CSessionDetails() = default;

void CSessionDetails::Clear() {
    m_pMsg.reset();
    m_pDoc.reset();
    m_pTreeModel->Clear();
    m_treeHeader->clear();
    m_listFindings->clear();
}

void CSessionDetails::ShowMessage(const CSession& session, std::size_t nIndex,
                                  const CDictionary* pDict) {
    Clear();
    if (nIndex >= session.Messages().size()) return;
    m_pDoc = SessionMessageDoc(session, nIndex);
    if (m_pDoc->m_rows.size() <= kMaxTreeCells) m_pMsg = m_decoder.MakeMsgInfo(m_pDoc);
    SMeaningTexts meaning;
    if (pDict && m_pMsg) meaning = SessionMeaningTexts(session, nIndex, *pDict);
    if (m_pMsg) {
        m_pTreeModel->SetTree(SessionMessageTree(*m_pMsg));
        m_pTreeModel->SetRoles(m_pMsg, std::move(meaning.roles));
        m_treeItems->expandAll();
        m_treeItems->setCurrentIndex(m_pTreeModel->RootIndex());
    }
    ShowHeader();
    ShowFindings(session, nIndex, meaning.notes);
}

void CSessionDetails::ShowHeader() {
    QList<QTreeWidgetItem*> items;
    for (const SFieldLine& line :
         HeaderFieldLines(DocHeader(*m_pDoc), m_pDoc->m_findings, m_pDoc->m_bytes.size()))
        items.append(new QTreeWidgetItem({FromUtf8(line.strName), FromUtf8(line.strValue)}));
    m_treeHeader->addTopLevelItems(items);
}

// The decoder's findings, then what the source said about the message
// (framing stripped, doubts), which no decoder can see.
// Notes on the structure come last and say what they are: never damage.
void CSessionDetails::ShowFindings(const CSession& session, std::size_t nIndex,
                                   const std::vector<std::string>& notes) {
    for (const SDiagnostic& d : m_pDoc->m_findings)
        if (IsDamage(d.eKind)) m_listFindings->addItem(FromUtf8(DiagnosticText(d)));
    if (!m_pMsg)
        m_listFindings->addItem(
            QStringLiteral("Too many items to show as a tree (%1)").arg(m_pDoc->m_rows.size()));
    const std::uint32_t nNote = session.Messages()[nIndex].nNote;
    if (nNote != 0 && nNote <= session.Notes().size())
        m_listFindings->addItem(FromUtf8("Source: " + session.Notes()[nNote - 1]));
    if (m_listFindings->count() == 0) m_listFindings->addItem(QStringLiteral("No findings"));
    for (const std::string& strNote : notes) m_listFindings->addItem(FromUtf8("Note: " + strNote));
}

std::string CSessionDetails::Sml() const {
    if (!m_pDoc) return {};
    return MessageToSml(*m_pDoc, ESmlDialect::kStandard);
}

#include "inspect/InspectorWindow.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QScreen>
#include <QSettings>
#include <QShortcut>
#include <QSplitter>
#include <QTreeView>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <filesystem>

#include "decode/HeaderFields.h"
#include "decode/MsgDocWalk.h"
#include "inspect/HexView.h"
#include "inspect/InspectTreeModel.h"
#include "io/AtomicFile.h"
#include "io/MsgFile.h"
#include "model/Bytes.h"
#include "model/FormatTable.h"
#include "render/DiagnosticText.h"
#include "render/HeaderText.h"
#include "render/MsgText.h"
#include "render/NumberText.h"
#include "render/SmlWriter.h"
#include "render/TreeLabels.h"

namespace {

QString Latin1(const std::string& str) {
    return QString::fromLatin1(str.data(), static_cast<qsizetype>(str.size()));
}

QString Utf8(const std::string& str) {
    return QString::fromUtf8(str.data(), static_cast<qsizetype>(str.size()));
}

// The settings file of the main dialog; the inspector keeps its layout there.
QSettings Settings() {
    return QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("KELMARON"),
                     QStringLiteral("Brevix"));
}

struct SReading {
    const char* szName;
    ETextReading eReading;
};
constexpr SReading kReadings[] = {{"ASCII, escaped", ETextReading::kEscaped},
                                  {"UTF-8", ETextReading::kUtf8},
                                  {"Shift-JIS", ETextReading::kShiftJis},
                                  {"GBK", ETextReading::kGbk}};

// Bytes no cell accounts for: skipped items, ignored tails, stray bytes
// after the last element, a body that was not decoded.
std::vector<CHexView::SRange> GreyRanges(const CMsgInfo& msg) {
    std::vector<CHexView::SRange> ranges;
    for (const SDiagnostic& d : msg.m_diagnostics) {
        const SByteRange r = DiagnosticRange(d);
        switch (d.eKind) {
            case EDiagnostic::kTerminator:
            case EDiagnostic::kUnknownFormat:
            case EDiagnostic::kNonFinalBlock:
                ranges.push_back({r.nBegin, r.nEnd});
                break;
            case EDiagnostic::kPartialElement:
                ranges.push_back({r.nEnd - d.nPresent, r.nEnd});
                break;
            default:
                break;
        }
    }
    return ranges;
}

}  // namespace

CInspectorWindow::CInspectorWindow(QWidget* pParent) : QWidget(pParent, Qt::Window) {
    setWindowTitle(QStringLiteral("Brevix Inspector"));
    setAttribute(Qt::WA_DeleteOnClose);
    CreatePanes();
    CreateShortcuts();
    m_splitMain->setSizes({440, 660});  // the hex pane needs room for 16 bytes and their text
    if (!RestoreGeometry()) PlaceBesideParent();
}

// The first time: as large as the screen allows up to 1100 x 720, beside
// the main dialog where there is room, so that both stay in sight.
void CInspectorWindow::PlaceBesideParent() {
    const QScreen* pScreen = parentWidget() ? parentWidget()->screen() : screen();
    const QRect area = pScreen ? pScreen->availableGeometry() : QRect(0, 0, 1100, 720);
    resize(std::min(1100, area.width()), std::min(720, area.height()));
    if (!parentWidget()) return;
    const QRect owner = parentWidget()->frameGeometry();
    int nX = owner.right() + 1;
    if (nX + width() > area.right() + 1) nX = std::max(area.left(), area.right() + 1 - width());
    const int nY =
        std::clamp(owner.top(), area.top(), std::max(area.top(), area.bottom() + 1 - height()));
    move(nX, nY);
}

CInspectorWindow::~CInspectorWindow() { SaveGeometry(); }

void CInspectorWindow::CreatePanes() {
    m_editFind = new QLineEdit(this);
    m_editFind->setObjectName(QStringLiteral("editFind"));
    m_editFind->setPlaceholderText(QStringLiteral("Find in labels and values (Ctrl+F, F3)"));
    m_labelMatches = new QLabel(this);
    m_labelMatches->setObjectName(QStringLiteral("labelMatches"));
    auto* pFindRow = new QHBoxLayout;
    pFindRow->addWidget(m_editFind, 1);
    pFindRow->addWidget(m_labelMatches);

    m_treeHeader = new QTreeWidget(this);
    m_treeHeader->setObjectName(QStringLiteral("treeHeader"));
    m_treeHeader->setColumnCount(2);
    m_treeHeader->setHeaderLabels({QStringLiteral("Header field"), QStringLiteral("Value")});
    m_treeHeader->setRootIsDecorated(false);

    m_pModel = new CInspectTreeModel(this);
    m_treeItems = new QTreeView(this);
    m_treeItems->setObjectName(QStringLiteral("treeItems"));
    m_treeItems->setModel(m_pModel);
    m_treeItems->setUniformRowHeights(true);  // keeps 50,000 rows cheap to lay out
    m_treeItems->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_treeItems->setContextMenuPolicy(Qt::CustomContextMenu);
    m_treeItems->header()->setStretchLastSection(false);
    m_treeItems->header()->resizeSection(CInspectTreeModel::kColumnItem, 250);
    m_treeItems->header()->resizeSection(CInspectTreeModel::kColumnOffset, 60);
    m_treeItems->header()->resizeSection(CInspectTreeModel::kColumnSize, 60);
    m_treeItems->installEventFilter(this);

    m_hexView = new CHexView(this);
    m_hexView->setObjectName(QStringLiteral("hexView"));

    m_editValue = new QPlainTextEdit(this);
    m_editValue->setObjectName(QStringLiteral("editValue"));
    m_editValue->setReadOnly(true);
    m_comboReading = new QComboBox(this);
    m_comboReading->setObjectName(QStringLiteral("comboReading"));
    for (const SReading& r : kReadings) m_comboReading->addItem(QString::fromLatin1(r.szName));
    auto* pValuePane = new QWidget(this);
    auto* pValueLayout = new QVBoxLayout(pValuePane);
    pValueLayout->setContentsMargins(0, 0, 0, 0);
    pValueLayout->addWidget(m_comboReading);
    pValueLayout->addWidget(m_editValue);

    m_listFindings = new QListWidget(this);
    m_listFindings->setObjectName(QStringLiteral("listFindings"));

    m_splitLeft = new QSplitter(Qt::Vertical, this);
    m_splitLeft->addWidget(m_treeHeader);
    m_splitLeft->addWidget(m_treeItems);
    m_splitLeft->setStretchFactor(1, 3);
    m_splitRight = new QSplitter(Qt::Vertical, this);
    m_splitRight->addWidget(m_hexView);
    m_splitRight->addWidget(pValuePane);
    m_splitRight->addWidget(m_listFindings);
    m_splitRight->setStretchFactor(0, 3);
    m_splitMain = new QSplitter(Qt::Horizontal, this);
    m_splitMain->addWidget(m_splitLeft);
    m_splitMain->addWidget(m_splitRight);

    auto* pLayout = new QVBoxLayout(this);
    pLayout->addLayout(pFindRow);
    pLayout->addWidget(m_splitMain, 1);

    connect(m_treeItems->selectionModel(), &QItemSelectionModel::currentChanged, this,
            &CInspectorWindow::OnCellSelected);
    connect(m_hexView, &CHexView::ByteClicked, this, &CInspectorWindow::OnByteClicked);
    connect(m_listFindings, &QListWidget::itemClicked, this, &CInspectorWindow::OnFindingClicked);
    connect(m_treeItems, &QWidget::customContextMenuRequested, this, &CInspectorWindow::OnTreeMenu);
    connect(m_comboReading, &QComboBox::currentIndexChanged, this, [this] { OnCellSelected(); });
    connect(m_editFind, &QLineEdit::returnPressed, this, [this] {
        if (m_editFind->text() == m_strSearched)
            FindNext(true);
        else
            Find(m_editFind->text());
    });
}

void CInspectorWindow::CreateShortcuts() {
    auto* pFind = new QShortcut(QKeySequence::Find, this);
    connect(pFind, &QShortcut::activated, this, [this] {
        m_editFind->setFocus();
        m_editFind->selectAll();
    });
    auto* pNext = new QShortcut(QKeySequence(Qt::Key_F3), this);
    connect(pNext, &QShortcut::activated, this, [this] { FindNext(true); });
    auto* pPrevious = new QShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F3), this);
    connect(pPrevious, &QShortcut::activated, this, [this] { FindNext(false); });
}

const std::vector<unsigned char>& CInspectorWindow::Bytes() const {
    static const std::vector<unsigned char> kNone;
    return m_pMsg && m_pMsg->m_pDoc ? m_pMsg->m_pDoc->m_bytes : kNone;
}

bool CInspectorWindow::ShowFile(const std::string& strPath, int nStyleFlag) {
    std::vector<unsigned char> bytes;
    std::string strError;
    if (!ReadMessageFile(strPath, bytes, strError)) {
        ShowMessage(strPath, nullptr, nStyleFlag);
        m_listFindings->addItem(QStringLiteral("Cannot read the file: ") + Latin1(strError));
        return false;
    }
    ShowMessage(
        strPath,
        m_decoder.MakeMsgInfo(std::make_shared<const CMsgDoc>(DecodeMsgDoc(std::move(bytes)))),
        nStyleFlag);
    return true;
}

void CInspectorWindow::ShowMessage(const std::string& strPath, std::shared_ptr<CMsgInfo> pMsg,
                                   int nStyleFlag) {
    m_strPath = strPath;
    m_nStyle = nStyleFlag;
    m_matches.clear();
    m_nMatch = -1;
    m_strSearched.clear();
    const std::string strName = std::filesystem::path(strPath).filename().native();
    setWindowTitle(QStringLiteral("Brevix Inspector - ") + QString::fromLocal8Bit(strName));
    m_hexView->SetData(nullptr, 0);
    m_pModel->Clear();
    m_pMsg = std::move(pMsg);
    if (!m_pMsg) {
        m_treeHeader->clear();
        m_listFindings->clear();
        m_editValue->clear();
        ShowMatchCount();
        return;
    }
    const std::vector<unsigned char>& bytes = Bytes();
    m_hexView->SetData(bytes.data(), bytes.size());
    m_hexView->SetGreyRanges(GreyRanges(*m_pMsg));
    m_pModel->SetMessage(m_pMsg.get(), BuildLabelTree(*m_pMsg, m_nStyle), DamagedCells(),
                         bytes.size());
    m_treeItems->expandAll();
    ShowHeader();
    ShowFindings();
    ShowMatchCount();
    SelectCell(-1);
}

// A finding marks the item it is about: the cut item, the open list, the
// list that lost an item of unknown format.
std::vector<char> CInspectorWindow::DamagedCells() const {
    std::vector<char> damaged(m_pMsg->m_cells.size(), 0);
    for (const SDiagnostic& d : m_pMsg->m_diagnostics) {
        if (!IsDamage(d.eKind)) continue;
        const std::uint64_t nAt = d.eKind == EDiagnostic::kListOpen ? d.nValue : d.nOffset;
        const int nCell = CellAtOffset(*m_pMsg, nAt);
        if (nCell >= 0) damaged[static_cast<std::size_t>(nCell)] = 1;
    }
    return damaged;
}

void CInspectorWindow::ShowHeader() {
    m_treeHeader->clear();
    const std::vector<unsigned char>& bytes = Bytes();
    const SHeaderFields h = ReadHeaderFields(bytes.data(), bytes.size());
    QList<QTreeWidgetItem*> items;
    for (const SFieldLine& line : HeaderFieldLines(h, m_pMsg->m_diagnostics, bytes.size()))
        items.append(new QTreeWidgetItem({Latin1(line.strName), Latin1(line.strValue)}));
    m_treeHeader->addTopLevelItems(items);
    m_treeHeader->resizeColumnToContents(0);
}

void CInspectorWindow::ShowFindings() {
    m_listFindings->clear();
    for (std::size_t i = 0; i < m_pMsg->m_diagnostics.size(); ++i) {
        const SDiagnostic& d = m_pMsg->m_diagnostics[i];
        std::string str = "offset ";
        AppendOffset(str, d.nOffset);
        str += ": " + DiagnosticText(d);
        auto* pItem = new QListWidgetItem(Latin1(str), m_listFindings);
        pItem->setData(Qt::UserRole, static_cast<int>(i));
        if (IsDamage(d.eKind)) {
            pItem->setForeground(QColor(0xC0, 0x10, 0x10));
            pItem->setText(QStringLiteral("\u26A0 ") + pItem->text());
        }
    }
}

void CInspectorWindow::SelectCell(int nCell) {
    const QModelIndex index = nCell < 0 ? m_pModel->RootIndex() : m_pModel->IndexOfCell(nCell);
    if (!index.isValid()) return;
    m_treeItems->setCurrentIndex(index);
    m_treeItems->scrollTo(index);
}

int CInspectorWindow::SelectedCell() const { return m_pModel->CellOf(m_treeItems->currentIndex()); }

ETextReading CInspectorWindow::Reading() const {
    const int n = m_comboReading->currentIndex();
    return n >= 0 && n < static_cast<int>(std::size(kReadings)) ? kReadings[n].eReading
                                                                : ETextReading::kEscaped;
}

// The message itself: the header bytes in the first colour, the body in the
// second. An item: its format and length bytes, then its data (a list: the
// items it spans).
void CInspectorWindow::OnCellSelected() {
    if (!m_pMsg) return;
    const int nCell = SelectedCell();
    if (nCell < 0 || static_cast<std::size_t>(nCell) >= m_pMsg->m_cellBytes.size()) {
        const std::uint64_t nSize = Bytes().size();
        const std::uint64_t nHeader = nSize < 10 ? nSize : 10;
        m_hexView->SetHighlight({0, nHeader}, {nHeader, nSize});
        m_hexView->ShowOffset(0);
    } else {
        const SCellBytes& b = m_pMsg->m_cellBytes[static_cast<std::size_t>(nCell)];
        m_hexView->SetHighlight({b.nOffset, DataStart(b)}, {DataStart(b), DataEnd(b)});
        m_hexView->ShowOffset(b.nOffset);
    }
    ShowValue(nCell);
}

void CInspectorWindow::ShowValue(int nCell) {
    std::string str;
    if (nCell < 0) {
        str = GetRootLabel(*m_pMsg) + ": " + std::to_string(Bytes().size()) + " bytes, " +
              std::to_string(m_pMsg->m_cells.size()) + " items";
        m_editValue->setPlainText(Latin1(str));
        return;
    }
    const SCellBytes& b = m_pMsg->m_cellBytes[static_cast<std::size_t>(nCell)];
    const CMsgCell& cell = *m_pMsg->m_cells[static_cast<std::size_t>(nCell)];
    str = "offset ";
    AppendOffset(str, b.nOffset);
    str += ", " + std::to_string(b.nLengthBytes) + " length bytes, ";
    if (cell.m_nFormat == kFormatList) {
        int nChildren = 0;
        for (const CMsgCell* p = cell.m_pFirstChild; p; p = p->m_pNext) ++nChildren;
        str += "list of " + std::to_string(b.nDeclared) + " items declared, " +
               std::to_string(nChildren) + " decoded, items take " + std::to_string(b.nPresent) +
               " bytes";
        m_editValue->setPlainText(Latin1(str));
        return;
    }
    str += std::to_string(b.nDeclared) + " data bytes declared, " + std::to_string(b.nPresent) +
           " present\n";
    // A big value is shown by its beginning; the menu copies or saves it whole.
    std::string strValue = ExactValuePreview(cell.m_nFormat, Bytes().data() + DataStart(b),
                                             b.nPresent, kShownValueBytes, Reading());
    if (b.nPresent > kShownValueBytes)
        strValue += "; Copy Exact Value or Save Exact Value As gives it all";
    m_editValue->setPlainText(Latin1(str) + Utf8(strValue));
}

// The whole exact value into a file the user names, through the atomic writer.
void CInspectorWindow::SaveExactValue(int nCell) {
    const QString strPath =
        QFileDialog::getSaveFileName(this, QStringLiteral("Save Exact Value As"));
    if (strPath.isEmpty()) return;
    const std::string strValue = ExactValueOf(nCell, Reading());
    std::string strError;
    if (!WriteWholeFile(strPath.toStdString(), strValue.data(), strValue.size(), strError))
        QMessageBox::warning(this, windowTitle(), Latin1("Cannot save: " + strError));
}

std::string CInspectorWindow::SmlOf(int nCell) const {
    if (!m_pMsg) return std::string();
    return TreeNodeToSml(*m_pMsg, nCell);
}

std::string CInspectorWindow::ExactValueOf(int nCell, ETextReading eReading) const {
    if (!m_pMsg || nCell < 0 || static_cast<std::size_t>(nCell) >= m_pMsg->m_cells.size())
        return {};
    return CellExactValue(*m_pMsg, *m_pMsg->m_cells[static_cast<std::size_t>(nCell)],
                          Bytes().data(), Bytes().size(), eReading);
}

bool CInspectorWindow::HasValue(int nCell) const {
    if (!m_pMsg || nCell < 0 || static_cast<std::size_t>(nCell) >= m_pMsg->m_cells.size())
        return false;
    const int nFormat = m_pMsg->m_cells[static_cast<std::size_t>(nCell)]->m_nFormat;
    return nFormat != kFormatList && FindFormat(nFormat);
}

std::string CInspectorWindow::BytesHexOf(int nCell) const {
    std::uint64_t nBegin = 0;
    const std::vector<unsigned char>& bytes = Bytes();
    std::uint64_t nEnd = bytes.size();
    if (m_pMsg && nCell >= 0 && static_cast<std::size_t>(nCell) < m_pMsg->m_cellBytes.size()) {
        const SCellBytes& b = m_pMsg->m_cellBytes[static_cast<std::size_t>(nCell)];
        nBegin = b.nOffset;
        nEnd = DataEnd(b);
    }
    std::string str;
    for (std::uint64_t i = nBegin; i < nEnd && i < bytes.size(); ++i) {
        if (i > nBegin) str += ' ';
        AppendHexByte(str, bytes[i]);
    }
    return str;
}

std::string CInspectorWindow::SubtreeText() {
    if (!m_pMsg) return {};
    const int nCell = SelectedCell();
    if (nCell < 0) return m_decoder.GetMsgText(m_pMsg.get(), 0, m_nStyle);
    return ListSubtree(m_pMsg->m_cells[static_cast<std::size_t>(nCell)].get(), m_nStyle);
}

void CInspectorWindow::OnByteClicked(std::uint64_t nOffset) {
    if (!m_pMsg) return;
    SelectCell(CellAtOffset(*m_pMsg, nOffset));
}

void CInspectorWindow::OnFindingClicked(QListWidgetItem* pItem) {
    if (!m_pMsg || !pItem) return;
    const int i = pItem->data(Qt::UserRole).toInt();
    if (i < 0 || static_cast<std::size_t>(i) >= m_pMsg->m_diagnostics.size()) return;
    const SByteRange r = DiagnosticRange(m_pMsg->m_diagnostics[static_cast<std::size_t>(i)]);
    m_hexView->SetHighlight({}, {r.nBegin, r.nEnd});
    m_hexView->ShowOffset(r.nBegin);
}

void CInspectorWindow::OnTreeMenu(const QPoint& pos) {
    const QModelIndex index = m_treeItems->indexAt(pos);
    if (!index.isValid()) return;
    m_treeItems->setCurrentIndex(index);
    const int nCell = SelectedCell();
    QMenu menu(this);
    menu.addAction(QStringLiteral("&Copy Subtree\tCtrl+C"), this,
                   [this] { QApplication::clipboard()->setText(Latin1(SubtreeText())); });
    QAction* pValue = menu.addAction(QStringLiteral("Copy &Exact Value"), this, [this, nCell] {
        QApplication::clipboard()->setText(Utf8(ExactValueOf(nCell, Reading())));
    });
    QAction* pSave = menu.addAction(QStringLiteral("Save Exact &Value As..."), this,
                                    [this, nCell] { SaveExactValue(nCell); });
    const bool bValue = HasValue(nCell);
    pValue->setEnabled(bValue);
    pSave->setEnabled(bValue);
    menu.addAction(QStringLiteral("Copy &Bytes as Hex"), this, [this, nCell] {
        QApplication::clipboard()->setText(Latin1(BytesHexOf(nCell)));
    });
    menu.addAction(QStringLiteral("Copy as &SML"), this,
                   [this, nCell] { QApplication::clipboard()->setText(Latin1(SmlOf(nCell))); });
    menu.exec(m_treeItems->viewport()->mapToGlobal(pos));
}

// Ctrl+C in the item tree copies the subtree, not just the label.
bool CInspectorWindow::eventFilter(QObject* pWatched, QEvent* pEvent) {
    if (pWatched == m_treeItems &&
        (pEvent->type() == QEvent::KeyPress || pEvent->type() == QEvent::ShortcutOverride)) {
        auto* pKey = static_cast<QKeyEvent*>(pEvent);
        if (pKey->matches(QKeySequence::Copy)) {
            if (pEvent->type() == QEvent::KeyPress)
                QApplication::clipboard()->setText(Latin1(SubtreeText()));
            pEvent->accept();
            return true;
        }
    }
    return QWidget::eventFilter(pWatched, pEvent);
}

int CInspectorWindow::Find(const QString& strText) {
    m_strSearched = strText;
    m_matches.clear();
    m_nMatch = -1;
    if (m_pMsg && !strText.isEmpty()) {
        const CLabelTree& tree = m_pModel->Tree();
        for (std::size_t i = 0; i < tree.m_nodes.size(); ++i) {
            const int nCell = static_cast<int>(i);
            if (Latin1(tree.m_nodes[i].m_strLabel).contains(strText, Qt::CaseInsensitive) ||
                Utf8(ExactValueOf(nCell, Reading())).contains(strText, Qt::CaseInsensitive))
                m_matches.push_back(nCell);
        }
    }
    const int nFrom = SelectedCell();
    for (std::size_t k = 0; k < m_matches.size() && m_nMatch < 0; ++k)
        if (m_matches[k] >= nFrom) m_nMatch = static_cast<int>(k);
    if (m_nMatch < 0 && !m_matches.empty()) m_nMatch = 0;
    if (m_nMatch >= 0) SelectCell(m_matches[static_cast<std::size_t>(m_nMatch)]);
    ShowMatchCount();
    return MatchCount();
}

void CInspectorWindow::FindNext(bool bForward) {
    if (m_editFind->text() != m_strSearched) {
        Find(m_editFind->text());
        return;
    }
    if (m_matches.empty()) return;
    const int n = MatchCount();
    m_nMatch = ((m_nMatch < 0 ? 0 : m_nMatch) + (bForward ? 1 : n - 1)) % n;
    SelectCell(m_matches[static_cast<std::size_t>(m_nMatch)]);
    ShowMatchCount();
}

void CInspectorWindow::ShowMatchCount() {
    if (m_strSearched.isEmpty()) {
        m_labelMatches->clear();
        return;
    }
    if (m_matches.empty()) {
        m_labelMatches->setText(QStringLiteral("no matches"));
        return;
    }
    m_labelMatches->setText(QStringLiteral("%1 of %2 matches").arg(m_nMatch + 1).arg(MatchCount()));
}

void CInspectorWindow::closeEvent(QCloseEvent* pEvent) {
    SaveGeometry();
    QWidget::closeEvent(pEvent);
}

void CInspectorWindow::SaveGeometry() const {
    QSettings settings = Settings();
    settings.setValue(QStringLiteral("Inspector/Geometry"), saveGeometry());
    settings.setValue(QStringLiteral("Inspector/Panes"), m_splitMain->saveState());
    settings.setValue(QStringLiteral("Inspector/LeftPanes"), m_splitLeft->saveState());
    settings.setValue(QStringLiteral("Inspector/RightPanes"), m_splitRight->saveState());
}

bool CInspectorWindow::RestoreGeometry() {
    const QSettings settings = Settings();
    if (!restoreGeometry(settings.value(QStringLiteral("Inspector/Geometry")).toByteArray()))
        return false;
    m_splitMain->restoreState(settings.value(QStringLiteral("Inspector/Panes")).toByteArray());
    m_splitLeft->restoreState(settings.value(QStringLiteral("Inspector/LeftPanes")).toByteArray());
    m_splitRight->restoreState(
        settings.value(QStringLiteral("Inspector/RightPanes")).toByteArray());
    return true;
}

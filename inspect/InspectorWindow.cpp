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
#include <QScrollBar>
#include <QSettings>
#include <QShortcut>
#include <QSplitter>
#include <QStyle>
#include <QTreeView>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <filesystem>

#include "decode/HeaderFields.h"
#include "decode/MsgDocWalk.h"
#include "inspect/HexView.h"
#include "inspect/InspectTreeModel.h"
#include "inspect/ViewerDictionary.h"
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

// The value pane lays out a paragraph whole before it paints any of it: a
// long value is broken at blanks into lines of about 100 characters, which
// it lays out only as they come into view. Copies keep the value as it is.
void BreakLongLines(std::string& str) {
    constexpr std::size_t kLine = 100;
    std::size_t nStart = 0;
    for (std::size_t i = 0; i < str.size(); ++i) {
        if (str[i] == '\n') nStart = i + 1;
        if (str[i] == ' ' && i - nStart >= kLine) {
            str[i] = '\n';
            nStart = i + 1;
        }
    }
}

// Bytes no cell accounts for: skipped items, ignored tails, stray bytes
// after the last element, a body that was not decoded.
std::vector<CHexView::SRange> GreyRanges(const std::vector<SDiagnostic>& findings) {
    std::vector<CHexView::SRange> ranges;
    for (const SDiagnostic& d : findings) {
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
    // Offsets and sizes up to the largest file read ("10485760") fit whole.
    const int nNumberWidth =
        m_treeItems->fontMetrics().horizontalAdvance(QStringLiteral("10485760")) +
        2 * style()->pixelMetric(QStyle::PM_HeaderMargin) + 8;
    m_treeItems->header()->resizeSection(CInspectTreeModel::kColumnOffset, nNumberWidth);
    m_treeItems->header()->resizeSection(CInspectTreeModel::kColumnSize, nNumberWidth);
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
    return m_pDoc ? m_pDoc->m_bytes : kNone;
}

const CMsgInfo* CInspectorWindow::Message() const {
    if (!m_pMsg && m_pDoc) m_pMsg = m_decoder.MakeMsgInfo(m_pDoc);
    return m_pMsg.get();
}

bool CInspectorWindow::ShowFile(const std::string& strPath, int nStyleFlag) {
    // The message on show goes first: two big files are never held at once.
    ShowDocument(strPath, nullptr, nullptr, nStyleFlag);
    std::vector<unsigned char> bytes;
    std::string strError;
    if (!ReadMessageFile(strPath, bytes, strError)) {
        m_listFindings->addItem(QStringLiteral("Cannot read the file: ") + Latin1(strError));
        return false;
    }
    ShowDocument(strPath, std::make_shared<const CMsgDoc>(DecodeMsgDoc(std::move(bytes))), nullptr,
                 nStyleFlag);
    return true;
}

void CInspectorWindow::ShowMessage(const std::string& strPath, std::shared_ptr<CMsgInfo> pMsg,
                                   int nStyleFlag) {
    auto pDoc = pMsg ? pMsg->m_pDoc : nullptr;
    ShowDocument(strPath, std::move(pDoc), std::move(pMsg), nStyleFlag);
}

void CInspectorWindow::ShowDocument(const std::string& strPath, std::shared_ptr<const CMsgDoc> pDoc,
                                    std::shared_ptr<CMsgInfo> pMsg, int nStyleFlag) {
    m_strPath = strPath;
    m_nStyle = nStyleFlag;
    m_matches.clear();
    m_nMatch = -1;
    m_strSearched.clear();
    const std::string strName = std::filesystem::path(strPath).filename().native();
    setWindowTitle(QStringLiteral("Brevix Inspector - ") + QString::fromLocal8Bit(strName));
    m_hexView->SetData(nullptr, 0);
    m_pModel->Clear();
    m_pDoc = std::move(pDoc);
    m_pMsg = m_pDoc ? std::move(pMsg) : nullptr;
    if (!m_pDoc) {
        m_treeHeader->clear();
        m_listFindings->clear();
        m_editValue->clear();
        ShowMatchCount();
        return;
    }
    m_hexView->SetData(m_pDoc->m_bytes.data(), m_pDoc->m_bytes.size());
    m_hexView->SetGreyRanges(GreyRanges(m_pDoc->m_findings));
    m_pModel->SetDocument(m_pDoc, m_nStyle, DamagedRows());
    // Expanding every row lays all of them out: a huge message opens with
    // its top level and first lists open instead.
    if (m_pModel->RowCount() <= kExpandAllRows) {
        m_treeItems->expandAll();
    } else {
        m_treeItems->expand(m_pModel->RootIndex());
        for (int i = 0; i < m_pModel->rowCount(m_pModel->RootIndex()); ++i)
            m_treeItems->expand(m_pModel->index(i, 0, m_pModel->RootIndex()));
    }
    ShowHeader();
    m_notes.clear();
    ShowFindings();
    if (m_pDoc->m_rows.size() <= kMaxMeaningRows)
        ShowMeaning(DocMeaningTexts(*m_pDoc, *ViewerDictionary()));
    else
        m_treeItems->setColumnHidden(CInspectTreeModel::kColumnRole, true);
    ShowMatchCount();
    SelectCell(-1);
}

void CInspectorWindow::ShowMeaning(SMeaningTexts texts) {
    if (!m_pDoc) return;
    m_treeItems->setColumnHidden(CInspectTreeModel::kColumnRole, texts.roles.empty());
    m_pModel->SetRoles(std::move(texts.roles));
    m_notes = std::move(texts.notes);
    ShowFindings();
}

// A finding marks the item it is about: the cut item, the open list, the
// skipped item.
std::vector<char> CInspectorWindow::DamagedRows() const {
    std::vector<char> damaged(m_pDoc->m_rows.size(), 0);
    for (const SDiagnostic& d : m_pDoc->m_findings) {
        if (!IsDamage(d.eKind)) continue;
        const std::uint64_t nAt = d.eKind == EDiagnostic::kListOpen ? d.nValue : d.nOffset;
        const int nRow = RowAtOffset(*m_pDoc, nAt);
        if (nRow >= 0) damaged[static_cast<std::size_t>(nRow)] = 1;
    }
    return damaged;
}

void CInspectorWindow::ShowHeader() {
    m_treeHeader->clear();
    QList<QTreeWidgetItem*> items;
    for (const SFieldLine& line :
         HeaderFieldLines(DocHeader(*m_pDoc), m_pDoc->m_findings, m_pDoc->m_bytes.size()))
        items.append(new QTreeWidgetItem({Latin1(line.strName), Latin1(line.strValue)}));
    m_treeHeader->addTopLevelItems(items);
    m_treeHeader->resizeColumnToContents(0);
    // Never shorter than its rows, so the last field is not cut off (room
    // kept for a horizontal scroll bar).
    const int nRows = m_treeHeader->topLevelItemCount();
    m_treeHeader->setMinimumHeight(m_treeHeader->header()->sizeHint().height() +
                                   nRows * (nRows ? m_treeHeader->sizeHintForRow(0) : 0) +
                                   2 * m_treeHeader->frameWidth() +
                                   m_treeHeader->horizontalScrollBar()->sizeHint().height());
}

void CInspectorWindow::ShowFindings() {
    m_listFindings->clear();
    for (std::size_t i = 0; i < m_pDoc->m_findings.size(); ++i) {
        const SDiagnostic& d = m_pDoc->m_findings[i];
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
    ShowNotes();
}

// Under a heading of their own: a message that differs from its structure
// is not damaged, and a click on a note selects nothing.
void CInspectorWindow::ShowNotes() {
    if (m_notes.empty()) return;
    auto* pHeading = new QListWidgetItem(QStringLiteral("Notes"), m_listFindings);
    QFont font = pHeading->font();
    font.setBold(true);
    pHeading->setFont(font);
    pHeading->setFlags(Qt::ItemIsEnabled);
    pHeading->setData(Qt::UserRole, -1);
    for (const std::string& strNote : m_notes) {
        auto* pItem = new QListWidgetItem(Utf8(strNote), m_listFindings);
        pItem->setData(Qt::UserRole, -1);
    }
}

void CInspectorWindow::SelectCell(int nRow) {
    const QModelIndex index = nRow < 0 ? m_pModel->RootIndex() : m_pModel->IndexOfRow(nRow);
    if (!index.isValid()) return;
    m_treeItems->setCurrentIndex(index);
    m_treeItems->scrollTo(index);
}

int CInspectorWindow::SelectedCell() const { return m_pModel->RowOf(m_treeItems->currentIndex()); }

ETextReading CInspectorWindow::Reading() const {
    const int n = m_comboReading->currentIndex();
    return n >= 0 && n < static_cast<int>(std::size(kReadings)) ? kReadings[n].eReading
                                                                : ETextReading::kEscaped;
}

const SItemRow* CInspectorWindow::Row(int nRow) const {
    if (!m_pDoc || nRow < 0 || static_cast<std::size_t>(nRow) >= m_pDoc->m_rows.size())
        return nullptr;
    return &m_pDoc->m_rows[static_cast<std::size_t>(nRow)];
}

// The message itself: the header bytes in the first colour, the body in the
// second. An item: its format and length bytes, then its data (a list: the
// items it spans).
void CInspectorWindow::OnCellSelected() {
    if (!m_pDoc) return;
    const int nRow = SelectedCell();
    if (const SItemRow* pRow = Row(nRow)) {
        m_hexView->SetHighlight({pRow->nOffset, RowDataStart(*pRow)},
                                {RowDataStart(*pRow), RowDataEnd(*pRow)});
        m_hexView->ShowOffset(pRow->nOffset);
    } else {
        const std::uint64_t nSize = Bytes().size();
        const std::uint64_t nHeader = nSize < 10 ? nSize : 10;
        m_hexView->SetHighlight({0, nHeader}, {nHeader, nSize});
        m_hexView->ShowOffset(0);
    }
    ShowValue(nRow);
}

void CInspectorWindow::ShowValue(int nRow) {
    const SItemRow* pRow = Row(nRow);
    std::string str;
    if (!pRow) {
        const SHeaderFields h = DocHeader(*m_pDoc);
        str = RootLabelText(h.nStream, h.nFunction, h.bWBit != 0) + ": " +
              CountText(Bytes().size(), "byte") + ", " + CountText(m_pDoc->m_rows.size(), "item");
        m_editValue->setPlainText(Latin1(str));
        return;
    }
    str = "offset ";
    AppendOffset(str, pRow->nOffset);
    str += ", " + CountText(pRow->nLengthRead, "length byte") + ", ";
    if (pRow->nFormat == kFormatList) {
        int nDecoded = 0;
        std::int32_t nChild = pRow->nChildren ? nRow + 1 : -1;
        for (; nChild >= 0; nChild = m_pDoc->m_rows[static_cast<std::size_t>(nChild)].nNext)
            nDecoded += IsKnownRow(m_pDoc->m_rows[static_cast<std::size_t>(nChild)]);
        str += "list of " + CountText(pRow->nDeclared, "item") + " declared, " +
               std::to_string(nDecoded) + " decoded, items take " +
               CountText(pRow->nPresent, "byte");
        m_editValue->setPlainText(Latin1(str));
        return;
    }
    str += CountText(pRow->nDeclared, "data byte") + " declared, " +
           std::to_string(pRow->nPresent) + " present\n";
    // A big value is shown by its beginning; the menu copies or saves it whole.
    const auto data = RowData(*m_pDoc, static_cast<std::size_t>(nRow));
    std::string strValue =
        ExactValuePreview(pRow->nFormat, data.data(), data.size(), kShownValueBytes, Reading());
    if (data.size() > kShownValueBytes)
        strValue += "; Copy Exact Value or Save Exact Value As gives it all";
    BreakLongLines(strValue);
    m_editValue->setPlainText(Latin1(str) + Utf8(strValue));
}

// The whole exact value into a file the user names, through the atomic writer.
void CInspectorWindow::SaveExactValue(int nRow) {
    const QString strPath =
        QFileDialog::getSaveFileName(this, QStringLiteral("Save Exact Value As"));
    if (strPath.isEmpty()) return;
    const std::string strValue = ExactValueOf(nRow, Reading());
    std::string strError;
    if (!WriteWholeFile(strPath.toStdString(), strValue.data(), strValue.size(), strError))
        QMessageBox::warning(this, windowTitle(), Latin1("Cannot save: " + strError));
}

std::string CInspectorWindow::SmlOf(int nRow) const {
    if (!m_pDoc) return std::string();
    return DocNodeToSml(*m_pDoc, nRow);
}

std::string CInspectorWindow::ExactValueOf(int nRow, ETextReading eReading) const {
    const SItemRow* pRow = Row(nRow);
    if (!pRow) return {};
    const auto data = RowData(*m_pDoc, static_cast<std::size_t>(nRow));
    return ExactValueText(pRow->nFormat, data.data(), data.size(), eReading);
}

bool CInspectorWindow::HasValue(int nRow) const {
    const SItemRow* pRow = Row(nRow);
    return pRow && pRow->nFormat != kFormatList && IsKnownRow(*pRow);
}

std::string CInspectorWindow::BytesHexOf(int nRow) const {
    const std::vector<unsigned char>& bytes = Bytes();
    std::uint64_t nBegin = 0;
    std::uint64_t nEnd = bytes.size();
    if (const SItemRow* pRow = Row(nRow)) {
        nBegin = pRow->nOffset;
        nEnd = RowDataEnd(*pRow);
    }
    std::string str;
    for (std::uint64_t i = nBegin; i < nEnd && i < bytes.size(); ++i) {
        if (i > nBegin) str += ' ';
        AppendHexByte(str, bytes[i]);
    }
    return str;
}

// The listing of the selected subtree; an item of an unknown format has no
// cell and so no listing.
std::string CInspectorWindow::SubtreeText() {
    if (!m_pDoc) return {};
    const int nRow = SelectedCell();
    if (nRow < 0) {
        std::string str;
        ListDoc(*m_pDoc, 0, m_nStyle, str);
        return str;
    }
    const CMsgInfo* pMsg = Message();
    const int nCell = CellAtOffset(*pMsg, m_pDoc->m_rows[static_cast<std::size_t>(nRow)].nOffset);
    if (nCell < 0 || RowOfCell(*pMsg, nCell) != nRow) return {};
    return ListSubtree(pMsg->m_cells[static_cast<std::size_t>(nCell)].get(), m_nStyle);
}

void CInspectorWindow::OnByteClicked(std::uint64_t nOffset) {
    if (!m_pDoc) return;
    SelectCell(RowAtOffset(*m_pDoc, nOffset));
}

void CInspectorWindow::OnFindingClicked(QListWidgetItem* pItem) {
    if (!m_pDoc || !pItem) return;
    const int i = pItem->data(Qt::UserRole).toInt();
    if (i < 0 || static_cast<std::size_t>(i) >= m_pDoc->m_findings.size()) return;
    const SByteRange r = DiagnosticRange(m_pDoc->m_findings[static_cast<std::size_t>(i)]);
    m_hexView->SetHighlight({}, {r.nBegin, r.nEnd});
    m_hexView->ShowOffset(r.nBegin);
}

void CInspectorWindow::OnTreeMenu(const QPoint& pos) {
    const QModelIndex index = m_treeItems->indexAt(pos);
    if (!index.isValid()) return;
    m_treeItems->setCurrentIndex(index);
    const int nRow = SelectedCell();
    QMenu menu(this);
    menu.addAction(QStringLiteral("&Copy Subtree\tCtrl+C"), this,
                   [this] { QApplication::clipboard()->setText(Latin1(SubtreeText())); });
    QAction* pValue = menu.addAction(QStringLiteral("Copy &Exact Value"), this, [this, nRow] {
        QApplication::clipboard()->setText(Utf8(ExactValueOf(nRow, Reading())));
    });
    QAction* pSave = menu.addAction(QStringLiteral("Save Exact &Value As..."), this,
                                    [this, nRow] { SaveExactValue(nRow); });
    const bool bValue = HasValue(nRow);
    pValue->setEnabled(bValue);
    pSave->setEnabled(bValue);
    menu.addAction(QStringLiteral("Copy &Bytes as Hex"), this,
                   [this, nRow] { QApplication::clipboard()->setText(Latin1(BytesHexOf(nRow))); });
    menu.addAction(QStringLiteral("Copy as &SML"), this,
                   [this, nRow] { QApplication::clipboard()->setText(Latin1(SmlOf(nRow))); });
    menu.addSeparator();
    menu.addAction(QStringLiteral("&Dictionary File..."), this, [this] {
        if (ChooseDictionaryFile(this) && m_pDoc)
            ShowMeaning(DocMeaningTexts(*m_pDoc, *ViewerDictionary()));
    });
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
    if (m_pDoc && !strText.isEmpty()) {
        for (int i = 0; i < m_pModel->RowCount(); ++i) {
            if (Latin1(m_pModel->Label(i)).contains(strText, Qt::CaseInsensitive) ||
                Utf8(ExactValueOf(i, Reading())).contains(strText, Qt::CaseInsensitive))
                m_matches.push_back(i);
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

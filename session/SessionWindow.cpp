#include "session/SessionWindow.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QSettings>
#include <QSplitter>
#include <QStatusBar>
#include <QTabWidget>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

#include "inspect/InspectorWindow.h"
#include "session/SessionDetails.h"
#include "session/SessionLoader.h"
#include "session/SessionStatsPane.h"
#include "session/SessionTableModel.h"

namespace {

QSettings Settings() {
    return QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("KELMARON"),
                     QStringLiteral("Brevix"));
}

struct SExportEntry {
    const char* szText;
    ESessionExport eKind;
};
const SExportEntry kExports[] = {
    {"&Message Files and INDEX.tsv...", ESessionExport::kFolder},
    {"&SML...", ESessionExport::kSml},
    {"&JSON Lines...", ESessionExport::kJsonLines},
};

}  // namespace

CSessionWindow::CSessionWindow(QWidget* pParent) : QMainWindow(pParent) {
    setWindowTitle(QStringLiteral("Brevix Session"));
    setAcceptDrops(true);
    m_pLoader = new CSessionLoader(this);
    connect(m_pLoader, &CSessionLoader::finished, this, &CSessionWindow::OnLoaded);
    connect(m_pLoader, &CSessionLoader::found, this, &CSessionWindow::OnFound);
    connect(m_pLoader, &CSessionLoader::progress, this,
            [this](int nPermille) { m_progress->setValue(nPermille); });
    CreatePanes();
    CreateMenus();
    RestoreGeometry();
    ShowCount();
}

CSessionWindow::~CSessionWindow() {
    // The model and panes point into the session: let go of them first.
    m_pModel->SetSession(nullptr, {});
    SaveGeometry();
}

void CSessionWindow::CreatePanes() {
    m_editFilter = new QLineEdit(this);
    m_editFilter->setObjectName(QStringLiteral("editFilter"));
    m_editFilter->setClearButtonEnabled(true);
    m_editFilter->setPlaceholderText(
        QStringLiteral("Filter (Ctrl+F): S6F11 S1F* S9  unanswered damaged control  "
                       "10:00..10:05  \"LOT1\"  Linktest"));
    // Typing filters once the keys rest a moment; Enter filters at once.
    auto* pTyping = new QTimer(this);
    pTyping->setSingleShot(true);
    pTyping->setInterval(300);
    connect(pTyping, &QTimer::timeout, this, [this] { ApplyFilter(m_editFilter->text()); });
    connect(m_editFilter, &QLineEdit::textEdited, pTyping, qOverload<>(&QTimer::start));
    connect(m_editFilter, &QLineEdit::returnPressed, this, [this, pTyping] {
        pTyping->stop();
        ApplyFilter(m_editFilter->text());
    });
    m_labelCount = new QLabel(this);
    m_labelCount->setObjectName(QStringLiteral("labelCount"));
    auto* pFilterRow = new QHBoxLayout;
    pFilterRow->addWidget(m_editFilter, 1);
    pFilterRow->addWidget(m_labelCount);

    m_pModel = new CSessionTableModel(this);
    m_tableMessages = new QTableView(this);
    m_tableMessages->setObjectName(QStringLiteral("tableMessages"));
    m_tableMessages->setModel(m_pModel);
    m_tableMessages->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_tableMessages->setWordWrap(false);
    m_tableMessages->setShowGrid(false);
    m_tableMessages->setContextMenuPolicy(Qt::CustomContextMenu);
    // One line per row, the same for every row: a million rows lay out at once.
    m_tableMessages->verticalHeader()->hide();
    m_tableMessages->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_tableMessages->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
    m_tableMessages->horizontalHeader()->setStretchLastSection(true);
    // Widths from sample texts, not from the rows: measuring a million rows
    // would take longer than reading them.
    for (int nColumn = 0; nColumn < static_cast<int>(SessionColumns().size()); ++nColumn)
        m_tableMessages->setColumnWidth(
            nColumn,
            fontMetrics().horizontalAdvance(QString::fromUtf8(SessionColumns()[nColumn].szSample)) +
                16);
    m_tableMessages->installEventFilter(this);
    connect(m_tableMessages->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            &CSessionWindow::OnRowChanged);
    connect(m_tableMessages, &QTableView::doubleClicked, this, &CSessionWindow::InspectCurrent);
    connect(m_tableMessages, &QWidget::customContextMenuRequested, this,
            &CSessionWindow::OnTableMenu);

    auto* pListPane = new QWidget(this);
    auto* pListLayout = new QVBoxLayout(pListPane);
    pListLayout->setContentsMargins(0, 0, 0, 0);
    pListLayout->addLayout(pFilterRow);
    pListLayout->addWidget(m_tableMessages, 1);

    m_pDetails = new CSessionDetails(this);
    m_pStats = new CSessionStatsPane(this);
    connect(m_pStats, &CSessionStatsPane::messageClicked, this,
            [this](std::uint32_t nIndex) { SelectMessage(nIndex); });
    connect(m_pStats, &CSessionStatsPane::t3Changed, this, &CSessionWindow::OnT3Changed);
    connect(m_pStats, &CSessionStatsPane::filterAsked, this, [this](const QString& strExpr) {
        m_editFilter->setText(strExpr);
        ApplyFilter(strExpr);
    });
    m_tabs = new QTabWidget(this);
    m_tabs->addTab(m_pDetails, QStringLiteral("&Message"));
    m_tabs->addTab(m_pStats, QStringLiteral("S&tatistics"));

    m_split = new QSplitter(Qt::Horizontal, this);
    m_split->setObjectName(QStringLiteral("splitSession"));
    m_split->addWidget(pListPane);
    m_split->addWidget(m_tabs);
    m_split->setStretchFactor(0, 3);
    m_split->setStretchFactor(1, 2);
    setCentralWidget(m_split);

    m_progress = new QProgressBar(this);
    m_progress->setRange(0, 1000);
    m_progress->setMaximumWidth(240);
    m_btnCancel = new QPushButton(QStringLiteral("Cancel"), this);
    connect(m_btnCancel, &QPushButton::clicked, m_pLoader, &CSessionLoader::Cancel);
    statusBar()->addPermanentWidget(m_progress);
    statusBar()->addPermanentWidget(m_btnCancel);
    m_progress->hide();
    m_btnCancel->hide();
}

void CSessionWindow::CreateMenus() {
    QMenu* pFile = menuBar()->addMenu(QStringLiteral("&File"));
    pFile->addAction(QStringLiteral("&Open..."), QKeySequence::Open, this,
                     &CSessionWindow::OnOpenFile);
    pFile->addAction(QStringLiteral("Open &Folder..."), this, &CSessionWindow::OnOpenFolder);
    m_menuRecent = pFile->addMenu(QStringLiteral("Open &Recent"));
    connect(m_menuRecent, &QMenu::aboutToShow, this, &CSessionWindow::FillRecentMenu);
    for (const bool bFiltered : {false, true}) {
        QMenu* pExport = pFile->addMenu(bFiltered ? QStringLiteral("&Export Filtered Rows")
                                                  : QStringLiteral("Export &Selected Rows"));
        for (const SExportEntry& e : kExports)
            pExport->addAction(QString::fromLatin1(e.szText), this,
                               [this, e, bFiltered] { OnExport(e.eKind, bFiltered); });
    }
    pFile->addAction(QStringLiteral("Compare With &Session..."), this,
                     [this] { OnCompareWithSession(false); });
    pFile->addAction(QStringLiteral("Compare With Session Fol&der..."), this,
                     [this] { OnCompareWithSession(true); });
    pFile->addSeparator();
    pFile->addAction(QStringLiteral("&Close"), QKeySequence(Qt::CTRL | Qt::Key_W), this,
                     &QWidget::close);
    pFile->addAction(QStringLiteral("&Quit"), QKeySequence(Qt::CTRL | Qt::Key_Q), qApp,
                     &QApplication::closeAllWindows);

    QMenu* pView = menuBar()->addMenu(QStringLiteral("&View"));
    pView->addAction(QStringLiteral("&Filter"), QKeySequence::Find, this, [this] {
        m_editFilter->setFocus();
        m_editFilter->selectAll();
    });
    QAction* pUtc = pView->addAction(QStringLiteral("Times in &UTC"));
    pUtc->setCheckable(true);
    pUtc->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_U));
    connect(pUtc, &QAction::toggled, this, &CSessionWindow::SetUtc);
    pView->addAction(QStringLiteral("&Jump to Reply or Primary"),
                     QKeySequence(Qt::CTRL | Qt::Key_J), this, &CSessionWindow::JumpToPartner);
    pView->addAction(QStringLiteral("&Inspect Message..."), QKeySequence(Qt::CTRL | Qt::Key_I),
                     this, &CSessionWindow::InspectCurrent);
    pView->addAction(QStringLiteral("&Compare Messages"), QKeySequence(Qt::CTRL | Qt::Key_D), this,
                     &CSessionWindow::CompareSelected);
}

// Enter on a row opens the inspector; the table would only move down.
bool CSessionWindow::eventFilter(QObject* pWatched, QEvent* pEvent) {
    if (pWatched == m_tableMessages && pEvent->type() == QEvent::KeyPress) {
        const int nKey = static_cast<QKeyEvent*>(pEvent)->key();
        if (nKey == Qt::Key_Return || nKey == Qt::Key_Enter) {
            InspectCurrent();
            return true;
        }
    }
    return QMainWindow::eventFilter(pWatched, pEvent);
}

void CSessionWindow::closeEvent(QCloseEvent* pEvent) {
    m_pLoader->Cancel();
    SaveGeometry();
    QMainWindow::closeEvent(pEvent);
}

void CSessionWindow::SaveGeometry() const {
    QSettings settings = Settings();
    settings.setValue(QStringLiteral("Session/Geometry"), saveGeometry());
    settings.setValue(QStringLiteral("Session/Panes"), m_split->saveState());
    settings.setValue(QStringLiteral("Session/DetailPanes"), m_pDetails->m_split->saveState());
    settings.setValue(QStringLiteral("Session/Columns"),
                      m_tableMessages->horizontalHeader()->saveState());
}

// The first time: most of the screen, at most 1400 x 900.
void CSessionWindow::RestoreGeometry() {
    const QSettings settings = Settings();
    if (!restoreGeometry(settings.value(QStringLiteral("Session/Geometry")).toByteArray())) {
        const QRect avail = screen()->availableGeometry();
        resize(std::min(1400, avail.width() * 9 / 10), std::min(900, avail.height() * 9 / 10));
        move(avail.center() - rect().center());
    }
    if (!m_split->restoreState(settings.value(QStringLiteral("Session/Panes")).toByteArray()))
        m_split->setSizes({width() * 62 / 100, width() * 38 / 100});
    m_pDetails->m_split->restoreState(
        settings.value(QStringLiteral("Session/DetailPanes")).toByteArray());
    m_tableMessages->horizontalHeader()->restoreState(
        settings.value(QStringLiteral("Session/Columns")).toByteArray());
}

CSessionWindow* OpenSessionWindow(const std::string& strPath, QWidget* pOwner) {
    auto* pWindow = new CSessionWindow(pOwner);
    pWindow->setWindowFlag(Qt::Window);
    pWindow->setAttribute(Qt::WA_DeleteOnClose);
    pWindow->show();
    if (!strPath.empty()) pWindow->Open(strPath);
    return pWindow;
}

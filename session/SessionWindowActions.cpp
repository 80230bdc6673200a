#include <QClipboard>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QSettings>
#include <QStatusBar>
#include <QTableView>
#include <algorithm>
#include <filesystem>
#include <set>
#include <system_error>

#include "app/DroppedFile.h"
#include "inspect/InspectorWindow.h"
#include "inspect/ViewerDictionary.h"
#include "io/AtomicFile.h"
#include "io/MsgFraming.h"
#include "io/SessionExport.h"
#include "io/SessionMeaning.h"
#include "session/SessionDetails.h"
#include "session/SessionLoader.h"
#include "session/SessionStatsPane.h"
#include "session/SessionTableModel.h"
#include "session/SessionWindow.h"

namespace {

constexpr int kRecentCount = 8;

QSettings Settings() {
    return QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("KELMARON"),
                     QStringLiteral("Brevix"));
}

std::string Encoded(const QString& str) { return QFile::encodeName(str).toStdString(); }
QString Decoded(const std::string& str) {
    return QFile::decodeName(QByteArray::fromStdString(str));
}

std::int64_t FirstTime(const CSession& session) {
    for (const SSessionMsg& m : session.Messages())
        if (m.nMicros != SSessionMsg::kNoTime) return m.nMicros;
    return SSessionMsg::kNoTime;
}

}  // namespace

// Every body is decoded once for the damaged status while the index is
// built, whatever the source's size: an in-memory walk, a fraction of the
// index's time.
bool CSessionWindow::Open(const std::string& strPath) {
    CSessionOptions opts;
    opts.nT3Micros = m_nT3Micros;
    if (!m_pLoader->Start(strPath, opts, ViewerDictionary())) return false;
    m_strLoading = strPath;
    m_progress->setValue(0);
    m_progress->show();
    m_btnCancel->show();
    statusBar()->showMessage(QStringLiteral("Reading %1...").arg(Decoded(strPath)));
    return true;
}

void CSessionWindow::WaitForOpen() { m_pLoader->Wait(); }

// Rows as they are found: the first records let go of the session on show;
// filter, statistics and selection wait for the finished index.
void CSessionWindow::OnFound() {
    SSessionFound found = m_pLoader->TakeFound();
    if (!m_pLoader->Busy() || found.msgs.empty()) return;
    if (!m_pPartial) {
        m_pModel->SetSession(nullptr, {});
        m_pDetails->Clear();
        m_pStats->ShowSession(nullptr, m_nT3Micros);
        m_pSession.reset();
        m_pPartial = std::make_unique<CSession>();
    }
    const std::size_t nFrom = m_pPartial->Messages().size();
    m_pPartial->AppendFound(std::move(found));
    if (nFrom == 0) {
        m_pModel->SetZone(
            MakeSessionZone(m_bUtc, m_pPartial->TimesOfDay(), FirstTime(*m_pPartial)));
        m_pModel->SetSession(m_pPartial.get(), {});
    }
    m_pModel->AppendRows(nFrom);
    ShowCount();
}

// The records found while reading are let go once the model shows the
// finished index, or nothing.
void CSessionWindow::OnLoaded(bool bOk, const QString& strError) {
    const std::unique_ptr<CSession> pPartial = std::move(m_pPartial);
    m_progress->hide();
    m_btnCancel->hide();
    if (!bOk) {
        if (pPartial) {  // the session that was on show went when the first rows came
            m_pModel->SetSession(nullptr, {});
            setWindowTitle(QStringLiteral("Brevix Session"));
        }
        ShowCount();
        statusBar()->showMessage(QStringLiteral("%1: %2").arg(Decoded(m_strLoading), strError));
        emit opened(false);
        return;
    }
    m_pModel->SetSession(nullptr, {});
    m_pDetails->Clear();
    m_pSession = m_pLoader->TakeSession();
    m_pDict = m_pLoader->TakeDictionary();
    m_summaries = m_pLoader->TakeSummaries();
    m_pModel->SetSummaries(&m_summaries);
    m_strPath = m_strLoading;
    Remember(m_strPath);
    setWindowTitle(QFileInfo(Decoded(m_strPath)).fileName() + QStringLiteral(" - Brevix Session"));
    const std::size_t nWarnings = m_pSession->Warnings().size();
    statusBar()->showMessage(nWarnings ? QStringLiteral("%1 warnings: %2")
                                             .arg(nWarnings)
                                             .arg(Decoded(m_pSession->Warnings().front().strText))
                                       : QString());
    m_pModel->SetZone(MakeSessionZone(m_bUtc, m_pSession->TimesOfDay(), FirstTime(*m_pSession)));
    m_pModel->SetSession(m_pSession.get(), {});
    if (!ApplyFilter(m_editFilter->text())) ApplyFilter(QString());
    m_pStats->ShowSession(m_pSession.get(), m_nT3Micros);
    if (!m_pModel->Rows().empty()) m_tableMessages->selectRow(0);
    emit opened(true);
}

bool CSessionWindow::ApplyFilter(const QString& strExpr) {
    std::string strError;
    CSessionFilter filter;
    if (!filter.Parse(strExpr.toStdString(), m_pModel->Zone(), strError)) {
        m_labelCount->setText(Decoded(strError));
        return false;
    }
    m_filter = filter;
    if (m_pPartial) return true;  // applied once the index is finished
    const int nKeep = CurrentMessage();
    m_pModel->SetRows(m_pSession ? FilterSession(*m_pSession, m_filter)
                                 : std::vector<std::uint32_t>());
    ShowCount();
    if (nKeep >= 0) SelectMessage(static_cast<std::size_t>(nKeep));
    return true;
}

void CSessionWindow::ShowCount() {
    if (m_pPartial) {
        m_labelCount->setText(
            QStringLiteral("%1 messages found so far").arg(m_pPartial->Messages().size()));
        return;
    }
    const std::size_t nAll = m_pSession ? m_pSession->Messages().size() : 0;
    m_labelCount->setText(
        QStringLiteral("%1 of %2 messages").arg(m_pModel->Rows().size()).arg(nAll));
}

// Times of day written in the filter follow the zone shown, so the filter
// is read again.
void CSessionWindow::SetUtc(bool bUtc) {
    m_bUtc = bUtc;
    const CSession* pShown = m_pPartial ? m_pPartial.get() : m_pSession.get();
    const std::int64_t nFirst = pShown ? FirstTime(*pShown) : SSessionMsg::kNoTime;
    m_pModel->SetZone(MakeSessionZone(bUtc, pShown && pShown->TimesOfDay(), nFirst));
    ApplyFilter(m_editFilter->text());
}

bool CSessionWindow::SelectMessage(std::size_t nIndex) {
    const int nRow = m_pModel->RowOf(nIndex);
    if (nRow < 0) return false;
    const QModelIndex index = m_pModel->index(nRow, 0);
    m_tableMessages->selectionModel()->setCurrentIndex(
        index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    m_tableMessages->scrollTo(index);
    return true;
}

int CSessionWindow::CurrentMessage() const {
    return m_pModel->IndexAt(m_tableMessages->currentIndex().row());
}

void CSessionWindow::OnRowChanged() {
    const int nIndex = CurrentMessage();
    if (nIndex < 0 || !m_pSession) return m_pDetails->Clear();
    m_pDetails->ShowMessage(*m_pSession, static_cast<std::size_t>(nIndex), m_pDict.get());
}

// A reply leads to its primary; a primary to its reply. A partner the
// filter hides is shown by clearing the filter first.
bool CSessionWindow::JumpToPartner() {
    const int nIndex = CurrentMessage();
    if (nIndex < 0 || !m_pSession) return false;
    const SSessionMsg& m = m_pSession->Messages()[static_cast<std::size_t>(nIndex)];
    const std::uint32_t nPartner = m.nReplyTo ? m.nReplyTo : m.nReplyBy;
    if (nPartner == 0 || nPartner > m_pSession->Messages().size()) return false;
    if (m_pModel->RowOf(nPartner - 1) < 0) {
        m_editFilter->clear();
        ApplyFilter(QString());
    }
    return SelectMessage(nPartner - 1);
}

std::vector<std::uint32_t> CSessionWindow::ChosenRows(bool bFiltered) const {
    if (bFiltered) return m_pModel->Rows();
    std::set<std::uint32_t> chosen;
    for (const QModelIndex& index : m_tableMessages->selectionModel()->selectedRows())
        if (const int nIndex = m_pModel->IndexAt(index.row()); nIndex >= 0)
            chosen.insert(static_cast<std::uint32_t>(nIndex));
    if (chosen.empty() && CurrentMessage() >= 0)
        chosen.insert(static_cast<std::uint32_t>(CurrentMessage()));
    return {chosen.begin(), chosen.end()};
}

bool CSessionWindow::Export(ESessionExport eKind, const std::vector<std::uint32_t>& rows,
                            const std::string& strPath, std::string& strError) const {
    if (!m_pSession) {
        strError = "no session is open";
        return false;
    }
    switch (eKind) {
        case ESessionExport::kFolder:
            return ExportSessionFolder(*m_pSession, rows, strPath, strError);
        case ESessionExport::kSml:
            return WriteExportText(strPath, SessionToSml(*m_pSession, rows, m_pModel->Zone()),
                                   strError);
        default:
            return WriteExportText(strPath, SessionToJsonLines(*m_pSession, rows), strError);
    }
}

void CSessionWindow::OnExport(ESessionExport eKind, bool bFiltered) {
    const std::vector<std::uint32_t> rows = ChosenRows(bFiltered);
    if (rows.empty()) return statusBar()->showMessage(QStringLiteral("No rows to export"));
    const auto options = QFileDialog::DontUseNativeDialog;
    const QString strPath =
        eKind == ESessionExport::kFolder
            ? QFileDialog::getExistingDirectory(this, QStringLiteral("Export into an Empty Folder"),
                                                QString(), options | QFileDialog::ShowDirsOnly)
            : QFileDialog::getSaveFileName(
                  this, QStringLiteral("Export"), QString(),
                  eKind == ESessionExport::kSml
                      ? QStringLiteral("SML (*.sml);;All files (*)")
                      : QStringLiteral("JSON Lines (*.jsonl);;All files (*)"),
                  nullptr, options);
    if (strPath.isEmpty()) return;
    std::string strError;
    if (!Export(eKind, rows, Encoded(strPath), strError))
        return statusBar()->showMessage(QStringLiteral("Export failed: %1").arg(Decoded(strError)));
    statusBar()->showMessage(
        QStringLiteral("%1 messages exported to %2").arg(rows.size()).arg(strPath));
}

void CSessionWindow::OnT3Changed(std::int64_t nT3Micros) {
    m_nT3Micros = nT3Micros;
    if (!m_pSession) return;
    m_pSession->SetT3(nT3Micros);
    ApplyFilter(m_editFilter->text());
    m_pModel->Refresh();
    m_pStats->ShowSession(m_pSession.get(), m_nT3Micros);
}

// The inspector shows the document the details pane holds: nothing is
// decoded again and nothing is written anywhere.
void CSessionWindow::InspectCurrent() {
    const int nIndex = CurrentMessage();
    if (nIndex < 0 || !m_pSession || !m_pDetails->Doc()) return;
    const std::string strName = "message " + DecimalText(static_cast<unsigned>(nIndex + 1)) + " (" +
                                m_pSession->MessageName(static_cast<std::size_t>(nIndex)) + ")";
    if (!m_pInspector) m_pInspector = new CInspectorWindow(this);
    m_pInspector->ShowDocument(strName, m_pDetails->Doc(), m_pDetails->Msg(), 1);
    if (m_pDict && m_pDetails->Doc()->m_rows.size() <= CInspectorWindow::kMaxMeaningRows)
        m_pInspector->ShowMeaning(
            SessionMeaningTexts(*m_pSession, static_cast<std::size_t>(nIndex), *m_pDict));
    m_pInspector->SelectCell(-1);
    m_pInspector->show();
    m_pInspector->raise();
}

void CSessionWindow::OnTableMenu(const QPoint& pos) {
    if (CurrentMessage() < 0) return;
    QMenu menu(this);
    menu.addAction(QStringLiteral("&Inspect Message...\tEnter"), this,
                   &CSessionWindow::InspectCurrent);
    menu.addAction(QStringLiteral("&Jump to Reply or Primary\tCtrl+J"), this,
                   &CSessionWindow::JumpToPartner);
    menu.addAction(QStringLiteral("&Compare Messages\tCtrl+D"), this,
                   &CSessionWindow::CompareSelected)
        ->setEnabled(ChosenRows(false).size() == 2);
    menu.addAction(QStringLiteral("Copy as &SML"), this, [this] {
        QGuiApplication::clipboard()->setText(QString::fromLatin1(m_pDetails->Sml()));
    });
    menu.exec(m_tableMessages->viewport()->mapToGlobal(pos));
}

void CSessionWindow::OnOpenFile() {
    const QString strPath = QFileDialog::getOpenFileName(
        this, QStringLiteral("Open Session"), QString(),
        QStringLiteral("Logs and captures (*);;Captures (*.pcap *.pcapng)"), nullptr,
        QFileDialog::DontUseNativeDialog);
    if (!strPath.isEmpty()) Open(Encoded(strPath));
}

void CSessionWindow::OnOpenFolder() {
    const QString strPath = QFileDialog::getExistingDirectory(
        this, QStringLiteral("Open Folder as Session"), QString(),
        QFileDialog::DontUseNativeDialog | QFileDialog::ShowDirsOnly);
    if (!strPath.isEmpty()) Open(Encoded(strPath));
}

void CSessionWindow::Remember(const std::string& strPath) {
    QSettings settings = Settings();
    QStringList recent = settings.value(QStringLiteral("Session/Recent")).toStringList();
    const QString strShown = Decoded(strPath);
    recent.removeAll(strShown);
    recent.prepend(strShown);
    while (recent.size() > kRecentCount) recent.removeLast();
    settings.setValue(QStringLiteral("Session/Recent"), recent);
}

void CSessionWindow::FillRecentMenu() {
    m_menuRecent->clear();
    for (const QString& strPath : Settings().value(QStringLiteral("Session/Recent")).toStringList())
        m_menuRecent->addAction(strPath, this, [this, strPath] { Open(Encoded(strPath)); });
    if (m_menuRecent->isEmpty())
        m_menuRecent->addAction(QStringLiteral("(none)"))->setEnabled(false);
}

void CSessionWindow::dragEnterEvent(QDragEnterEvent* pEvent) {
    QString strPath;
    if (DroppedLocalFile(pEvent->mimeData(), strPath)) pEvent->acceptProposedAction();
}

void CSessionWindow::dropEvent(QDropEvent* pEvent) {
    QString strPath;
    if (!DroppedLocalFile(pEvent->mimeData(), strPath)) return;
    pEvent->acceptProposedAction();
    if (!Open(Encoded(strPath)))
        statusBar()->showMessage(QStringLiteral("Still reading: drop it again when done"));
}

#include "session/SessionLoader.h"

#include <QThread>

#include "io/SessionMeaning.h"

CSessionLoader::CSessionLoader(QObject* pParent) : QObject(pParent) {}

CSessionLoader::~CSessionLoader() {
    Cancel();
    if (m_pThread) {
        m_pThread->wait();
        delete m_pThread;
    }
}

// The worker touches only m_pWork, m_pDict, m_summaries, m_bOk and m_strError,
// which the owning thread reads after the worker has ended, and m_found under
// its mutex.
bool CSessionLoader::Start(const std::string& strPath, const CSessionOptions& opts,
                           std::shared_ptr<const CDictionary> pBase) {
    if (m_pThread) return false;
    m_bCancel = false;
    m_nPermille = -1;
    m_pWork = std::make_unique<CSession>();
    {
        const std::lock_guard<std::mutex> lock(m_mutexFound);
        m_found = SSessionFound();  // nothing of an earlier read may reach this one
    }
    CSessionOptions optsFound = opts;
    optsFound.fnFound = [this](SSessionFound found) { Hand(std::move(found)); };
    const FSessionProgress fnProgress = [this](std::uint64_t nDone, std::uint64_t nTotal) {
        const int nPermille = nTotal ? static_cast<int>(nDone * 1000 / nTotal) : 0;
        if (m_nPermille.exchange(nPermille) != nPermille)
            QMetaObject::invokeMethod(
                this, [this, nPermille] { emit progress(nPermille); }, Qt::QueuedConnection);
        return !m_bCancel;
    };
    m_pDict.reset();
    m_summaries.clear();
    m_pThread = QThread::create([this, strPath, optsFound, fnProgress, pBase] {
        m_bOk = OpenSession(strPath, optsFound, *m_pWork, m_strError, fnProgress);
        if (!m_bOk) return;
        auto pDict =
            pBase ? std::make_shared<CDictionary>(*pBase) : std::make_shared<CDictionary>();
        LearnSession(*m_pWork, *pDict);
        m_summaries = SessionSummaries(*m_pWork, *pDict);
        m_pDict = std::move(pDict);
    });
    connect(m_pThread, &QThread::finished, this, &CSessionLoader::OnThreadEnded,
            Qt::QueuedConnection);
    m_pThread->start();
    return true;
}

void CSessionLoader::OnThreadEnded() {
    if (!m_pThread || m_pThread->isRunning()) return;
    m_pThread->wait();
    delete m_pThread;
    m_pThread = nullptr;
    if (m_bOk) m_pSession = std::move(m_pWork);
    m_pWork.reset();
    emit finished(m_bOk, QString::fromStdString(m_strError));
}

void CSessionLoader::Wait() {
    if (!m_pThread) return;
    m_pThread->wait();
    OnThreadEnded();
}

// On the worker: copies join those not taken yet; one queued signal stands
// for all of them, so a slow window is not flooded.
void CSessionLoader::Hand(SSessionFound found) {
    bool bFirst = false;
    {
        const std::lock_guard<std::mutex> lock(m_mutexFound);
        bFirst = m_found.msgs.empty() && !found.msgs.empty();
        m_found.msgs.insert(m_found.msgs.end(), found.msgs.begin(), found.msgs.end());
        for (SSessionFlow& flow : found.flows) m_found.flows.push_back(std::move(flow));
        for (std::string& str : found.notes) m_found.notes.push_back(std::move(str));
        m_found.bTimesOfDay = found.bTimesOfDay;
    }
    if (bFirst)
        QMetaObject::invokeMethod(
            this, [this] { emit this->found(); }, Qt::QueuedConnection);
}

// Flows and notes wait for the records that name them.
SSessionFound CSessionLoader::TakeFound() {
    SSessionFound found;
    const std::lock_guard<std::mutex> lock(m_mutexFound);
    if (!m_found.msgs.empty()) std::swap(found, m_found);
    return found;
}

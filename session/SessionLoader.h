#pragma once
#include <QObject>
#include <QString>
#include <atomic>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "io/SessionIndex.h"
#include "model/Dictionary.h"

class QThread;

// Builds a session index on a worker thread, so the window stays usable;
// progress and the end are reported on the thread that owns the loader.
class CSessionLoader : public QObject {
    Q_OBJECT
public:
    explicit CSessionLoader(QObject* pParent = nullptr);
    // Cancels the work and waits for the thread: nothing outlives the loader.
    ~CSessionLoader() override;

    // Starts reading strPath; false while another read is under way.
    // The session's dictionary starts from pBase (the viewer's dictionary
    // file) and learns what the messages define, on the worker too.
    bool Start(const std::string& strPath, const CSessionOptions& opts,
               std::shared_ptr<const CDictionary> pBase = nullptr);
    void Cancel() { m_bCancel = true; }
    bool Busy() const { return m_pThread != nullptr; }
    // Blocks until the current read (if any) has ended and been reported.
    void Wait();
    // The session read, once finished(true) was emitted; null afterwards.
    std::unique_ptr<CSession> TakeSession() { return std::move(m_pSession); }
    // The records found since the last call, once found() was emitted.
    SSessionFound TakeFound();
    // Its dictionary and the list's names (SessionSummaries), taken with it.
    std::shared_ptr<const CDictionary> TakeDictionary() { return std::move(m_pDict); }
    std::vector<std::string> TakeSummaries() { return std::move(m_summaries); }

signals:
    void progress(int nPermille);
    // Records were found; one signal may stand for several hand-overs.
    void found();
    void finished(bool bOk, const QString& strError);

private:
    void OnThreadEnded();
    void Hand(SSessionFound found);

    QThread* m_pThread = nullptr;
    std::atomic<bool> m_bCancel = false;
    std::atomic<int> m_nPermille = -1;
    std::unique_ptr<CSession> m_pSession;
    std::unique_ptr<CSession> m_pWork;
    std::shared_ptr<const CDictionary> m_pDict;
    std::vector<std::string> m_summaries;
    bool m_bOk = false;
    std::string m_strError;
    // Records the worker handed over and the window has not taken yet.
    std::mutex m_mutexFound;
    SSessionFound m_found;
};

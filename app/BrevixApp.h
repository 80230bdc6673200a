#pragma once
#include <QApplication>
#include <functional>
#include <string>

// The application: one main dialog, run modally, and the session windows it
// opens, or a session window alone; the program ends with the dialog, or
// with the last window when there is no dialog.
class CBrevixApp : public QApplication {
    Q_OBJECT
public:
    CBrevixApp(int& argc, char** argv);
    // Runs the main dialog, first showing strPath (a folder or a file) unless
    // it is empty; a log or capture, or any path with bSession, opens in a
    // session window instead. Returns the process's exit code.
    int InitInstance(const std::string& strPath, bool bSession = false);

    // Opens a session window on a path, as a window of its own owned by
    // pOwner (null: none). The session window lives above the dialog's
    // library, so the program hands it in.
    std::function<void(const std::string&, QWidget* pOwner)> m_fnOpenSession;
};

// True when strPath is to open as a session: a regular file that is not a
// message file (.BIG), or anything when bSession.
bool OpensAsSession(const std::string& strPath, bool bSession);

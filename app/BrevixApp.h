#pragma once
#include <QApplication>
#include <string>

// The application: one main dialog, run modally; the program ends with it.
class CBrevixApp : public QApplication {
    Q_OBJECT
public:
    CBrevixApp(int& argc, char** argv);
    // Runs the main dialog, first showing strPath (a folder or a file) unless
    // it is empty. Returns the process's exit code.
    int InitInstance(const std::string& strPath);
};

#pragma once
#include <QApplication>

// The application: one main dialog, run modally; the program ends with it.
class CBrevixApp : public QApplication {
    Q_OBJECT
public:
    CBrevixApp(int& argc, char** argv);
    // Runs the main dialog; argument 1, if any, names a folder or a file to
    // show at start. Returns the process's exit code.
    int InitInstance();
};

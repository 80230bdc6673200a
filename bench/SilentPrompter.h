#pragma once
#include "app/Prompter.h"

// Counts what would have interrupted a person; a benchmark must see none.
class CSilentPrompter : public CPrompter {
public:
    void ShowMessage(QWidget*, const QString&) override { ++m_nMessages; }
    QString BrowseForFolder(const QString&, QWidget*) override { return QString(); }
    int RunModal(QDialog&) override { return 0; }
    int m_nMessages = 0;
};

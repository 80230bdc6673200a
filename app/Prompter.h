#pragma once
#include <QString>

class QDialog;
class QWidget;

// The one seam between the dialogs and a person: message boxes, the folder
// chooser and every nested modal loop go through it, so that tests answer
// them without a window ever blocking.
class CPrompter {
public:
    virtual ~CPrompter() = default;
    // A modal box with an OK button only.
    virtual void ShowMessage(QWidget* pOwner, const QString& strText) = 0;
    // The chosen folder, or an empty text when the person cancels.
    virtual QString BrowseForFolder(const QString& strInitial, QWidget* pOwner) = 0;
    // Runs a dialog modally; QDialog::Accepted or QDialog::Rejected.
    virtual int RunModal(QDialog& dlg) = 0;
    // A chosen file to import, or an empty text when the person cancels.
    virtual QString BrowseForFile(const QString& strCaption, QWidget* pOwner) {
        (void)strCaption;
        (void)pOwner;
        return {};
    }
};

// The prompter a person sees: QMessageBox, Qt's own directory chooser (never
// the platform's, which could hang headless runs) and QDialog::exec.
class CQtPrompter : public CPrompter {
public:
    void ShowMessage(QWidget* pOwner, const QString& strText) override;
    QString BrowseForFolder(const QString& strInitial, QWidget* pOwner) override;
    int RunModal(QDialog& dlg) override;
    QString BrowseForFile(const QString& strCaption, QWidget* pOwner) override;
};

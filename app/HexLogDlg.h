#pragma once
#include <QDialog>
#include <string>
#include <vector>

class CPrompter;
class CHexLogEdit;
class CMacButton;

// The hex log converter: pasted hex text becomes "HexToSECS.BIG" in the
// current directory, or with several messages also "HexToSECS-2.BIG" and on.
// Accepted only once every file has been written whole.
class CHexLogDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr const char* kFileName = "HexToSECS.BIG";

    CHexLogDlg(CPrompter& prompter, QWidget* pParent = nullptr);

    CMacButton* m_btnCancel = nullptr;
    CMacButton* m_btnOK = nullptr;
    CHexLogEdit* m_editHexLog = nullptr;
    std::vector<std::string> m_files;  // names written by the accepted OK, in order

public slots:
    void OnOK();

protected:
    bool eventFilter(QObject* pWatched, QEvent* pEvent) override;

private:
    void CreateControls();
    CPrompter& m_prompter;
};

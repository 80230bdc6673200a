#pragma once
#include <gtest/gtest.h>

#include <QDir>
#include <QString>
#include <QTemporaryDir>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/BrevixDlg.h"
#include "app/Prompter.h"
#include "ui/MacButton.h"

class QModelIndex;

using Strings = std::vector<std::string>;

// Answers every box and chooser from a script and records what was asked.
class CFakePrompter : public CPrompter {
public:
    void ShowMessage(QWidget* pOwner, const QString& strText) override;
    QString BrowseForFolder(const QString& strInitial, QWidget* pOwner) override;
    int RunModal(QDialog& dlg) override;

    std::vector<std::string> m_messages;
    std::vector<std::string> m_browseStarts;
    std::deque<QString> m_folderAnswers;  // none left: the person cancels
    // Plays the person in a nested dialog; unset: the dialog is cancelled.
    std::function<int(QDialog&)> m_fnModal;
};

// A temporary home for the settings file, the folders and the current
// directory of one test; everything is put back afterwards.
class CGuiTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    std::string Dir(const std::string& strName);  // made on first use
    static void WriteFile(const std::string& strPath, const std::vector<unsigned char>& bytes);
    std::unique_ptr<CBrevixDlg> StartDialog();
    // Writes the files into the folder, stores it as Path and starts the dialog.
    std::unique_ptr<CBrevixDlg> ShowFolder(
        const std::string& strFolder,
        const std::vector<std::pair<std::string, std::vector<unsigned char>>>& files);
    // The "Path" setting, "" when unset; ClearSettings forgets every setting.
    static void StorePath(const std::string& strFolder);
    static std::string StoredPath();
    static void ClearSettings();
    static void Click(QWidget* pWidget);
    // A person clicking the entry shown on row nRow of the file list.
    static void ClickFile(CBrevixDlg& dlg, int nRow);
    static void ChooseFolder(CBrevixDlg& dlg, int nIndex);

    static std::vector<std::string> FileListTexts(const CBrevixDlg& dlg);
    static int CurrentFileRow(const CBrevixDlg& dlg);  // -1: none
    static std::vector<std::string> ComboTexts(const CBrevixDlg& dlg);
    // Every row of the tree in display order, one level of indent per depth
    // as two blanks.
    static std::vector<std::string> TreeRows(const CBrevixDlg& dlg);
    static bool AllExpanded(const CBrevixDlg& dlg);

    CFakePrompter m_prompter;
    std::unique_ptr<QTemporaryDir> m_pTemp;
    QString m_strOldCurrent;
};

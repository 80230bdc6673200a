#include "app/Prompter.h"

#include <QDialog>
#include <QFileDialog>
#include <QMessageBox>

void CQtPrompter::ShowMessage(QWidget* pOwner, const QString& strText) {
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Brevix"), strText, QMessageBox::Ok,
                    pOwner);
    box.exec();
}

QString CQtPrompter::BrowseForFolder(const QString& strInitial, QWidget* pOwner) {
    return QFileDialog::getExistingDirectory(
        pOwner, QStringLiteral("디렉토리를 선택하세요"), strInitial,
        QFileDialog::DontUseNativeDialog | QFileDialog::ShowDirsOnly);
}

int CQtPrompter::RunModal(QDialog& dlg) { return dlg.exec(); }

QString CQtPrompter::BrowseForFile(const QString& strCaption, QWidget* pOwner) {
    return QFileDialog::getOpenFileName(pOwner, strCaption, QString(), QString(), nullptr,
                                        QFileDialog::DontUseNativeDialog);
}

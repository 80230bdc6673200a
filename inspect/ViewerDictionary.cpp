#include "inspect/ViewerDictionary.h"

#include <QDateTime>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QSettings>

#include "io/DictionaryFile.h"

namespace {

// The settings file of the main dialog.
QSettings Settings() {
    return QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("KELMARON"),
                     QStringLiteral("Brevix"));
}

const QString kKey = QStringLiteral("Dictionary");

struct SLoaded {
    QString strPath;
    QDateTime changed;
    std::shared_ptr<const CDictionary> pDict = std::make_shared<const CDictionary>();
    std::vector<std::string> errors;
};

SLoaded& Loaded() {
    static SLoaded loaded;
    return loaded;
}

}  // namespace

QString DictionaryFilePath() { return Settings().value(kKey).toString(); }

std::shared_ptr<const CDictionary> ViewerDictionary(std::vector<std::string>* pErrors) {
    SLoaded& loaded = Loaded();
    const QString strPath = DictionaryFilePath();
    const QDateTime changed = strPath.isEmpty() ? QDateTime() : QFileInfo(strPath).lastModified();
    if (strPath != loaded.strPath || changed != loaded.changed) {
        auto pDict = std::make_shared<CDictionary>();
        loaded.errors.clear();
        if (!strPath.isEmpty())
            loaded.errors = LoadDictionaryFile(strPath.toLocal8Bit().toStdString(), *pDict).errors;
        loaded.strPath = strPath;
        loaded.changed = changed;
        loaded.pDict = std::move(pDict);
    }
    if (pErrors) *pErrors = loaded.errors;
    return loaded.pDict;
}

bool ChooseDictionaryFile(QWidget* pParent) {
    const QString strPath = QFileDialog::getOpenFileName(
        pParent, QStringLiteral("Dictionary File"), DictionaryFilePath(),
        QStringLiteral("Dictionaries (*.txt *.tsv *.csv *.sml);;All Files (*)"));
    if (strPath.isEmpty()) return false;
    Settings().setValue(kKey, strPath);
    std::vector<std::string> errors;
    ViewerDictionary(&errors);
    if (errors.empty()) return true;
    QString strText;
    for (std::size_t i = 0; i < errors.size() && i < 10; ++i)
        strText += QString::fromLocal8Bit(errors[i].c_str()) + QLatin1Char('\n');
    if (errors.size() > 10) strText += QStringLiteral("(%1 more)").arg(errors.size() - 10);
    QMessageBox::warning(pParent, QStringLiteral("Dictionary File"), strText.trimmed());
    return true;
}

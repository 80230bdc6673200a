#include "app/Registry.h"

#include <QFile>
#include <QSettings>

namespace {

const QString kOrganisation = QStringLiteral("KELMARON");
const QString kApplication = QStringLiteral("Brevix");

}  // namespace

int ReadRegistryValue(const char* szValueName, std::string& strValue) {
    strValue.clear();
    if (szValueName == nullptr) return 0;
    QSettings settings(QSettings::IniFormat, QSettings::UserScope, kOrganisation, kApplication);
    const QVariant value = settings.value(QString::fromLatin1(szValueName));
    if (settings.status() != QSettings::NoError || !value.isValid()) return 0;
    strValue = QFile::encodeName(value.toString()).toStdString();
    return 1;
}

// sync() writes the file now, so that a failure is seen here and not lost
// when the settings object goes.
int WriteRegistryValue(const char* szValueName, const std::string& strText) {
    if (szValueName == nullptr) return 0;
    QSettings settings(QSettings::IniFormat, QSettings::UserScope, kOrganisation, kApplication);
    settings.setValue(QString::fromLatin1(szValueName),
                      QFile::decodeName(QByteArray::fromStdString(strText)));
    settings.sync();
    return settings.status() == QSettings::NoError ? 1 : 0;
}

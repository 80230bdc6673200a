#include "app/Registry.h"

#include <QFile>
#include <QSettings>

namespace {

QSettings::Status Flush(QSettings& settings) {
    settings.sync();
    return settings.status();
}

}  // namespace

int ReadRegistryValue(const char* szValueName, std::string& strValue) {
    strValue.clear();
    if (szValueName == nullptr) return 0;
    QSettings settings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("KELMARON"),
                       QStringLiteral("Brevix"));
    const QVariant value = settings.value(QString::fromLatin1(szValueName));
    if (settings.status() != QSettings::NoError || !value.isValid()) return 0;
    strValue = QFile::encodeName(value.toString()).toStdString();
    return 1;
}

int WriteRegistryValue(const char* szValueName, const std::string& strText) {
    if (szValueName == nullptr) return 0;
    QSettings settings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("KELMARON"),
                       QStringLiteral("Brevix"));
    settings.setValue(QString::fromLatin1(szValueName),
                      QFile::decodeName(QByteArray::fromStdString(strText)));
    return Flush(settings) == QSettings::NoError ? 1 : 0;
}

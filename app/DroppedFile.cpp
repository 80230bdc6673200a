#include "app/DroppedFile.h"

#include <QMimeData>
#include <QUrl>

bool DroppedLocalFile(const QMimeData* pData, QString& strPath) {
    if (!pData) return false;
    const QList<QUrl> urls = pData->urls();
    if (urls.size() != 1 || !urls.front().isLocalFile()) return false;
    strPath = urls.front().toLocalFile();
    return true;
}

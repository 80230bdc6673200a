#pragma once
#include <QString>

class QMimeData;

// The one local file a drag carries; false for none, several or a remote
// one, which neither window knows how to open. Both windows accept a drop
// only where this says yes.
bool DroppedLocalFile(const QMimeData* pData, QString& strPath);

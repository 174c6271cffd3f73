#include "model/core/DocumentFolder.h"

#include "platform/Alert.h"
#include "platform/Log.h"

#include <QFileInfo>

QString checkedDocumentFolder(const QString& folder)
{
    if (!folder.isEmpty() && !QFileInfo::exists(folder)) {
        lq::log(QStringLiteral("Can't find %1").arg(folder));
        lq::runAlert(QStringLiteral("Fatal Error!"),
            QStringLiteral("Can't find this file-\n\n %1.\n\nThis file has been renamed or moved to another "
                           "location. This is a fatal error.  Please close your document.")
                .arg(folder),
            QStringLiteral("OK"));
    }
    return folder;
}

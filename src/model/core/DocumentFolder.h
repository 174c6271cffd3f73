#pragma once

#include <QString>

// The folder of an open document, as its file roots (site and theme) answer
// it: when the folder has gone (renamed or moved while the document is
// open), the log and an alert say so; the folder is answered all the same.
QString checkedDocumentFolder(const QString& folder);

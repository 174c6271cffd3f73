#pragma once

// The HTML 4.01 validator the page tests share: OpenSP's onsgmls with the
// catalogue of the W3C DTDs (package w3c-sgml-lib), whose entries map the
// HTML 4.01 identifiers onto the local DTD files, so nothing is fetched.
#include "platform/Process.h"

#include <QFileInfo>
#include <QStandardPaths>
#include <QString>

inline const QString& sgmlCatalog()
{
    static const QString catalog = QStringLiteral("/usr/share/xml/w3c-sgml-lib/schema/dtd/sgml.soc");
    return catalog;
}

// Whether onsgmls and the DTDs are installed (packages opensp, w3c-sgml-lib).
inline bool htmlValidatorAvailable()
{
    return !QStandardPaths::findExecutable(QStringLiteral("onsgmls")).isEmpty() && QFileInfo::exists(sgmlCatalog());
}

// The validator's complaints about the page, or "" when it is valid.
inline QString validationErrors(const QString& page)
{
    lq::ProcessOptions options;
    options.environment.insert(QStringLiteral("SGML_CATALOG_FILES"), sgmlCatalog());
    const lq::ProcessResult check = lq::runProcess(QStandardPaths::findExecutable(QStringLiteral("onsgmls")), { QStringLiteral("-s"), page }, options);
    if (check.succeeded() && check.error.isEmpty())
        return QString();
    if (!check.error.isEmpty())
        return QString::fromUtf8(check.error);
    return check.started ? QStringLiteral("onsgmls failed") : QStringLiteral("onsgmls did not start: ") + check.startError;
}

#pragma once

// The HTML 4.01 validator the page tests share: OpenSP's onsgmls with the
// catalogue of the W3C DTDs (package w3c-sgml-lib), whose entries map the
// HTML 4.01 identifiers onto the local DTD files, so nothing is fetched.
// Each page is read in the character set it declares, as a browser reads it.
#include "platform/Process.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
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

// The character set the page declares in its head (a meta element's
// "charset=", or the encoding of an XML declaration), in lower case; "" when
// it declares none.
inline QString declaredCharset(const QByteArray& page)
{
    const qsizetype headEnd = page.indexOf("</head>");
    const QString head = QString::fromLatin1(headEnd < 0 ? page : page.left(headEnd));
    static const QRegularExpression meta(QStringLiteral(R"(<meta\b[^>]*\bcharset\s*=\s*["']?([A-Za-z0-9._:-]+))"),
                                         QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression xml(QStringLiteral(R"(^\s*<\?xml\b[^>]*\bencoding\s*=\s*["']([A-Za-z0-9._:-]+))"));
    for (const QRegularExpression* declaration : { &meta, &xml }) {
        const QRegularExpressionMatch match = declaration->match(head);
        if (match.hasMatch())
            return match.captured(1).toLower();
    }
    return QString();
}

// The name OpenSP reads the character set by, or "" when it cannot read it.
inline QString openSpEncoding(const QString& charset)
{
    static const QRegularExpression latin(QStringLiteral("^iso[-_]?8859-([1-9])$"));
    if (const QRegularExpressionMatch match = latin.match(charset); match.hasMatch())
        return QStringLiteral("iso-8859-") + match.captured(1);
    if (charset == u"utf-8" || charset == u"utf8")
        return QStringLiteral("utf-8");
    for (const char* name : { "utf-16", "euc-jp", "euc-kr", "shift_jis", "big5", "gb2312", "koi8-r" }) {
        if (charset == QLatin1String(name))
            return charset;
    }
    return QString();
}

// The validator's complaints about the page, or "" when it is valid.
inline QString validationErrors(const QString& page)
{
    lq::ProcessOptions options;
    options.environment.insert(QStringLiteral("SGML_CATALOG_FILES"), sgmlCatalog());
    QFile file(page);
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("the page cannot be read: ") + file.errorString();
    const QString charset = declaredCharset(file.readAll());
    if (!charset.isEmpty()) {
        const QString encoding = openSpEncoding(charset);
        if (encoding.isEmpty())
            return QStringLiteral("the page declares the character set \"") + charset + QStringLiteral("\", which the validator cannot read");
        // Read in that character set (the DTDs are ASCII, alike in every one).
        options.environment.insert(QStringLiteral("SP_CHARSET_FIXED"), QStringLiteral("1"));
        options.environment.insert(QStringLiteral("SP_ENCODING"), encoding);
    }
    const lq::ProcessResult check = lq::runProcess(QStandardPaths::findExecutable(QStringLiteral("onsgmls")), { QStringLiteral("-s"), page }, options);
    if (check.succeeded() && check.error.isEmpty())
        return QString();
    if (!check.error.isEmpty())
        return QString::fromUtf8(check.error);
    return check.started ? QStringLiteral("onsgmls failed") : QStringLiteral("onsgmls did not start: ") + check.startError;
}

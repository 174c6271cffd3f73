#include "ui/app/BugReport.h"

#include <QDateTime>
#include <QDir>
#include <QRegularExpression>
#include <QUrl>

namespace BugReport {

QString redactCredentials(const QString& text)
{
    static const QRegularExpression authorization(QStringLiteral("^(.*?\\bauthorization\\b\\s*[:=]).*$"),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::MultilineOption);
    static const QRegularExpression secret(
        QStringLiteral("\\b(password|passwd|passphrase|pass phrase|credentials?|secret|token|api[_-]?key)(\\s*[:=]\\s*)(\"[^\"]*\"|'[^']*'|\\S+)"),
        QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression userInAddress(QStringLiteral("\\b([a-z][a-z0-9+.-]*://)[^/@\\s:]+:[^/@\\s]*@"),
        QRegularExpression::CaseInsensitiveOption);
    QString result = text;
    result.replace(authorization, QStringLiteral("\\1 [redacted]"));
    result.replace(secret, QStringLiteral("\\1\\2[redacted]"));
    result.replace(userInAddress, QStringLiteral("\\1[redacted]@"));
    return result;
}

std::optional<QStringList> curlArgumentsFromConfiguration(const QByteArray& reply, QString* error)
{
    auto refuse = [error](const QString& reason) -> std::optional<QStringList> {
        if (error)
            *error = reason;
        return std::nullopt;
    };
    for (char c : reply) {
        if (static_cast<unsigned char>(c) > 0x7F || (c < 0x20 && c != '\n' && c != '\r' && c != '\t'))
            return refuse(QStringLiteral("the configuration is not plain text"));
    }
    static const QRegularExpression field(QStringLiteral("^-F\\s*([A-Za-z0-9_.-]+)=(.*)$"));
    QStringList fields;
    QString address;
    for (QString line : QString::fromLatin1(reply).split(QLatin1Char('\n'))) {
        line = line.trimmed();
        if (line.isEmpty())
            continue;
        if (const QRegularExpressionMatch match = field.match(line); match.hasMatch()) {
            fields << QStringLiteral("--form-string") << match.captured(1) + QLatin1Char('=') + match.captured(2);
            continue;
        }
        const QUrl url(line, QUrl::StrictMode);
        const bool web = url.isValid() && (url.scheme() == QLatin1String("http") || url.scheme() == QLatin1String("https"))
            && !url.host().isEmpty() && !line.contains(QLatin1Char(' '));
        if (!web)
            return refuse(QStringLiteral("the configuration holds a line that is neither an address nor a form field"));
        if (!address.isEmpty())
            return refuse(QStringLiteral("the configuration names more than one address"));
        address = url.toString(QUrl::FullyEncoded);
    }
    if (address.isEmpty())
        return refuse(QStringLiteral("the configuration names no address"));
    // "--" ends the options: the address can never be read as one.
    fields << QStringLiteral("--") << address;
    return fields;
}

QString tempfile()
{
    return QDir::tempPath() + QLatin1Char('/') + QDateTime::currentDateTime().toString(QStringLiteral("'LQ'yyyyMMddHHmmss")) + QStringLiteral(".txt");
}

} // namespace BugReport

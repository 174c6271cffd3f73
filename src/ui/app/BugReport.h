#pragma once
// What a bug report may send and how.
#include <QString>
#include <QStringList>

#include <optional>

namespace BugReport {

// The text with passwords, credentials, tokens and Authorization lines
// replaced by "[redacted]", and user:password@ removed from addresses.
QString redactCredentials(const QString& text);

// The curl arguments the server's configuration reply stands for: exactly one
// http or https address, and form fields written "-Fname=value" or
// "-F name=value" whose values are taken literally (never read from a file).
// Anything else refuses the whole reply (nothing, with the reason in error).
std::optional<QStringList> curlArgumentsFromConfiguration(const QByteArray& reply, QString* error);

// "<temporary folder>/LQ<YYYYMMDDhhmmss>.txt" for the current local time.
QString tempfile();

} // namespace BugReport

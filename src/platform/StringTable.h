#pragma once

#include <QHash>
#include <QString>

#include <functional>

namespace lq {

// A table of user-visible strings, read from a UTF-8 file of our own format:
//
//     // comment
//     "key" = "value";
//
// one entry a line; inside the quotes \" \\ \n \t and \uXXXX are escapes.
// A later entry for the same key replaces an earlier one.
class StringTable {
public:
    StringTable() = default;

    // Reads the file; answers false (and keeps what was read before) when it
    // cannot be read. Malformed lines are skipped.
    bool loadFile(const QString& path);
    void parse(const QString& text);

    void insert(const QString& key, const QString& value) { _entries.insert(key, value); }
    bool contains(const QString& key) const { return _entries.contains(key); }
    QString value(const QString& key, const QString& missing) const { return _entries.value(key, missing); }
    qsizetype size() const { return _entries.size(); }

private:
    QHash<QString, QString> _entries;
};

// The application's string look-up, for the platform code that needs the
// application's strings. The application services install theirs while they
// live; without one, every key gives a single blank " " (as a missing entry does).
void setLocalizer(std::function<QString(const QString&)> localizer);
QString localized(const QString& key);

} // namespace lq

#pragma once

// A folder outside every site holding known files, which hostile sites link
// to, and its state byte for byte and mode for mode: a test made with one
// checks at its end that nothing there changed (isUnchanged names every
// difference).
#include <QByteArray>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QMap>
#include <QString>

#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

class OutsideTree {
public:
    // Fills the folder at the path (made when missing): five plain files,
    // one of them the owner's alone, "secret.txt", and a folder "inner"
    // holding a file.
    explicit OutsideTree(const QString& path)
        : _path(path)
    {
        QDir().mkpath(path + QStringLiteral("/inner"));
        for (int i = 1; i <= 4; ++i)
            put(QStringLiteral("image%1.jpg").arg(i), "outside picture " + QByteArray::number(i), 0644);
        put(QStringLiteral("secret.txt"), "the outside secret", 0600);
        put(QStringLiteral("inner/kept.txt"), "inside the outside folder", 0640);
        ::chmod(QFile::encodeName(path + QStringLiteral("/inner")).constData(), 0750);
        _made = state();
    }

    // Adds a known file (kept in the state the tree is checked against).
    void add(const QString& name, const QByteArray& bytes, mode_t mode = 0644)
    {
        put(name, bytes, mode);
        _made = state();
    }

    const QString& path() const { return _path; }
    QString filePath(const QString& name) const { return _path + QLatin1Char('/') + name; }

    // Every entry below the folder (links not followed) with its kind, its
    // permission bits and its bytes (a link: where it points).
    QMap<QString, QByteArray> state() const
    {
        QMap<QString, QByteArray> entries;
        entries.insert(QStringLiteral("."), describe(_path));
        QDirIterator it(_path, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString entry = it.next();
            entries.insert(QDir(_path).relativeFilePath(entry), describe(entry));
        }
        return entries;
    }

    // Success when the folder is exactly as it was made; else each entry
    // that changed, came or went.
    ::testing::AssertionResult isUnchanged() const
    {
        const QMap<QString, QByteArray> now = state();
        if (now == _made)
            return ::testing::AssertionSuccess();
        QString differences;
        for (auto it = _made.cbegin(); it != _made.cend(); ++it)
            if (now.value(it.key()) != it.value())
                differences += QStringLiteral("\n  ") + it.key() + QStringLiteral(": was \"") + QString::fromUtf8(it.value())
                    + QStringLiteral("\", now \"") + QString::fromUtf8(now.value(it.key(), "gone")) + QLatin1Char('"');
        for (auto it = now.cbegin(); it != now.cend(); ++it)
            if (!_made.contains(it.key()))
                differences += QStringLiteral("\n  ") + it.key() + QStringLiteral(": came, \"") + QString::fromUtf8(it.value()) + QLatin1Char('"');
        return ::testing::AssertionFailure() << "the folder outside changed:" << differences.toStdString();
    }

private:
    void put(const QString& name, const QByteArray& bytes, mode_t mode)
    {
        QFile file(filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << name.toStdString();
        ASSERT_EQ(file.write(bytes), bytes.size());
        file.close();
        ::chmod(QFile::encodeName(filePath(name)).constData(), mode);
    }

    static QByteArray describe(const QString& path)
    {
        struct stat status {};
        const QByteArray native = QFile::encodeName(path);
        if (::lstat(native.constData(), &status) != 0)
            return "gone";
        const QByteArray mode = QByteArray::number(status.st_mode & 07777, 8);
        if (S_ISLNK(status.st_mode)) {
            char target[4096];
            const ssize_t length = ::readlink(native.constData(), target, sizeof target);
            return "link " + QByteArray(target, length < 0 ? 0 : int(length));
        }
        if (S_ISDIR(status.st_mode))
            return "folder " + mode;
        QFile file(path);
        return "file " + mode + " " + (file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("unreadable"));
    }

    QString _path;
    QMap<QString, QByteArray> _made;
};

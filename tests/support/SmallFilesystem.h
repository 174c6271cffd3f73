#pragma once

// A real, nearly full file system for tests of what happens when the disk
// runs out: a small tmpfs mounted on a private folder for the life of the
// object. Mounting needs the right to mount (root in the test machines);
// where it is missing, isMounted() is false and the test is skipped.
#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <sys/mount.h>
#include <sys/statvfs.h>

#include <gtest/gtest.h>

class SmallFilesystem {
public:
    // Mounted on a private folder, or on the folder given (which must exist:
    // a server's folder, say, so that the server writes into it). With
    // inodes, at most that many files and folders (the root among them).
    explicit SmallFilesystem(qint64 bytes, const QString& at = QString(), qint64 inodes = 0)
        : _at(at)
    {
        if (_at.isEmpty() && !_dir.isValid())
            return;
        const QByteArray options = "size=" + QByteArray::number(bytes) + ",mode=0755"
            + (inodes > 0 ? ",nr_inodes=" + QByteArray::number(inodes) : QByteArray());
        _mounted = ::mount("tmpfs", QFile::encodeName(path()).constData(), "tmpfs", MS_NOSUID | MS_NODEV, options.constData()) == 0;
    }
    ~SmallFilesystem()
    {
        if (_mounted)
            ::umount2(QFile::encodeName(path()).constData(), MNT_DETACH);
    }
    SmallFilesystem(const SmallFilesystem&) = delete;
    SmallFilesystem& operator=(const SmallFilesystem&) = delete;

    bool isMounted() const { return _mounted; }
    QString path() const { return _at.isEmpty() ? _dir.path() : _at; }
    QString filePath(const QString& name) const { return path() + QLatin1Char('/') + name; }

    // The bytes still free.
    qint64 available() const
    {
        struct statvfs info {};
        if (::statvfs(QFile::encodeName(path()).constData(), &info) != 0)
            return -1;
        return qint64(info.f_bavail) * qint64(info.f_frsize);
    }

    // Fills the file system with one file until only `left` bytes are free
    // (rounded to whole blocks).
    void fillLeaving(qint64 left)
    {
        QFile filler(filePath(QStringLiteral(".filler")));
        ASSERT_TRUE(filler.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered));
        const QByteArray block(4096, 'f');
        while (available() - block.size() >= left)
            if (filler.write(block) != block.size())
                break;
    }

private:
    QString _at;
    QTemporaryDir _dir;
    bool _mounted = false;
};

// Skips the test when no small file system can be mounted here.
#define LQ_REQUIRE_MOUNTED(filesystem)                                                                        \
    if (!(filesystem).isMounted())                                                                            \
    GTEST_SKIP() << "no small file system can be mounted here (mounting needs the right to mount)"

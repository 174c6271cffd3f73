#pragma once
// Files a user gives an import: two whole pictures and one of every kind an
// import leaves out (a JPEG cut short, a text file named like a picture, a
// pipe, a file gone between choosing and reading), written into a folder.
#include "support/TestFiles.h"
#include "support/TestPictures.h"

#include <QFile>
#include <QImage>
#include <QList>
#include <QStringList>

#include <gtest/gtest.h>

#include <sys/stat.h>

// "Vanished.jpg" is a whole picture the test removes once it is chosen.
class LeftOutFiles {
public:
    explicit LeftOutFiles(const QString& folder)
        : _folder(folder)
    {
        QImage gradient(320, 240, QImage::Format_RGB32);
        for (int y = 0; y < gradient.height(); ++y)
            for (int x = 0; x < gradient.width(); ++x)
                gradient.setPixel(x, y, qRgb(x % 256, y % 256, (x * y) % 256));
        const QByteArray jpeg = encoded(gradient, "JPG");
        writeAll(path("Anchor.jpg"), jpegBytes(90, 60, Qt::darkBlue));
        writeAll(path("Beach.png"), encoded(solid(80, 60, Qt::yellow), "PNG"));
        writeAll(path("Cut.jpg"), jpeg.left(jpeg.size() / 2));
        writeAll(path("Letter.jpg"), QByteArray("Dear Ann,\nthe photos follow.\n"));
        EXPECT_EQ(::mkfifo(QFile::encodeName(path("Pipe.jpg")).constData(), 0600), 0);
        writeAll(path("Vanished.jpg"), jpegBytes(90, 60, Qt::darkRed));
    }
    QString path(const char* name) const { return _folder + QLatin1Char('/') + QLatin1String(name); }
    QStringList all() const
    {
        QStringList paths;
        for (const char* name : { "Anchor.jpg", "Beach.png", "Cut.jpg", "Letter.jpg", "Pipe.jpg", "Vanished.jpg" })
            paths.append(path(name));
        return paths;
    }
    void vanish() { ASSERT_TRUE(QFile::remove(path("Vanished.jpg"))); }

    // The rows the sheet shows for them, in the order of their names.
    static QList<QStringList> expectedRows()
    {
        return { { "Cut.jpg", "damaged" }, { "Letter.jpg", "not a picture" }, { "Pipe.jpg", "unreadable" }, { "Vanished.jpg", "unreadable" } };
    }

private:
    QString _folder;
};


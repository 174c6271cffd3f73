#include "ui/editors/photo/ImageWell.h"

#include "model/imaging/XmlImage.h"
#include "model/imaging/XmlShape.h"
#include "platform/graphics/GraphicsImage.h"
#include "templates/XmlCSSImage.h"
#include "support/FakeDocument.h"
#include "support/Printers.h"
#include "support/TestFiles.h"
#include "support/TestPictures.h"
#include "support/ThemeInFolder.h"
#include "support/ui/ScriptedModalHandler.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QUrl>

namespace {

// The temporary folder of the program, pointed at a folder of the test's own.
class OwnTemporaryFolder {
public:
    OwnTemporaryFolder()
        : _previous(qgetenv("TMPDIR"))
    {
        qputenv("TMPDIR", _folder.path().toUtf8());
    }
    ~OwnTemporaryFolder() { qputenv("TMPDIR", _previous); }
    QString path() const { return _folder.path(); }
    // The names of the files in it.
    QStringList files() const { return QDir(_folder.path()).entryList(QDir::Files); }

private:
    QTemporaryDir _folder;
    QByteArray _previous;
};

// A well in a shown window, showing a background image of a theme in a
// document folder, with a target that records the actions it gets.
class ImageWellTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        theme = ThemeInFolder::create(folder.path());
        theme->setDocument(&document);
        record->setParent(theme.get());
        record->setImageUUID(QStringLiteral("0000000000000001"));
        document.changes = 0;
        well = new ImageWell(&window);
        well->setGeometry(10, 10, 100, 80);
        window.resize(200, 200);
        window.show();
        well->setXmlImage(record);
        well->setTargetActionTag(&target, [this](ImageWell* sender) { sent.append(sender); }, 360);
    }
    void TearDown() override
    {
        record->setParent(nullptr);
        theme->setDocument(nullptr);
    }

    // A picture file of the test's folder.
    QString pictureFile(const QString& name, const QImage& picture)
    {
        const QString path = folder.filePath(QStringLiteral("incoming/") + name);
        writeAll(path, encoded(picture, "PNG"));
        return path;
    }

    // Drags the data onto the well and drops it there, as the window system
    // would; answers whether the drop was taken.
    bool drop(const QMimeData& data)
    {
        entered(data);
        QDropEvent event(QPointF(20, 20), Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(well, &event);
        return event.isAccepted();
    }

    bool entered(const QMimeData& data, Qt::DropAction* action = nullptr)
    {
        QDragEnterEvent event(QPoint(20, 20), Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(well, &event);
        if (action)
            *action = event.dropAction();
        return event.isAccepted();
    }

    QByteArray storedPicture() { return readAll(folder.filePath(QStringLiteral("bitmaps2/") + record->imageFileName())); }

    QTemporaryDir folder;
    FakeDocument document;
    std::shared_ptr<ThemeInFolder> theme;
    std::shared_ptr<XmlCSSImage> record = XmlCSSImage::create();
    QWidget window;
    ImageWell* well = nullptr;
    QObject target;
    QList<ImageWell*> sent;
};

const QRegularExpression droppedPictureName(QStringLiteral("^[0-9A-F]{16}\\.png$"));

} // namespace

TEST_F(ImageWellTest, TakesTheFirstOfTheDroppedFilesThenSendsItsAction)
{
    const QString first = pictureFile(QStringLiteral("first.png"), solid(40, 30, Qt::red));
    const QString second = pictureFile(QStringLiteral("second.png"), solid(20, 20, Qt::blue));
    QMimeData data;
    data.setUrls({ QUrl::fromLocalFile(first), QUrl::fromLocalFile(second) });

    Qt::DropAction action = Qt::IgnoreAction;
    EXPECT_TRUE(entered(data, &action));
    EXPECT_EQ(action, Qt::CopyAction);
    EXPECT_TRUE(drop(data));

    EXPECT_NE(record->imageUUID(), QStringLiteral("0000000000000001"));
    EXPECT_EQ(record->iType(), 2);
    EXPECT_EQ(storedPicture(), readAll(first));
    EXPECT_EQ(record->image()->image().size(), lq::Size(40, 30));
    EXPECT_GT(document.changes, 0);
    // The action comes after the picture is in place, with the well as sender.
    ASSERT_EQ(sent, QList<ImageWell*>{ well });
    EXPECT_EQ(sent.first()->tag(), 360);
}

TEST_F(ImageWellTest, APictureFromAnotherApplicationBecomesATemporaryPngFile)
{
    OwnTemporaryFolder temporary;
    QMimeData data;
    data.setImageData(solid(30, 20, Qt::green));
    EXPECT_TRUE(entered(data));
    EXPECT_TRUE(drop(data));

    const QStringList files = temporary.files();
    ASSERT_EQ(files.size(), 1) << files.join(' ').toStdString();
    EXPECT_TRUE(droppedPictureName.match(files.first()).hasMatch()) << files.first().toStdString();
    const QString written = temporary.path() + QLatin1Char('/') + files.first();
    const QImage picture(written);
    EXPECT_EQ(picture.size(), QSize(30, 20));
    EXPECT_EQ(QColor(picture.pixel(15, 10)), QColor(Qt::green));
    // The background image took that file as it is; the file stays.
    EXPECT_EQ(record->iType(), 2);
    EXPECT_EQ(storedPicture(), readAll(written));
    EXPECT_EQ(sent.size(), 1);

    // Picture bytes of a type of their own are read as well.
    QMimeData jpeg;
    jpeg.setData(QStringLiteral("image/jpeg"), jpegBytes(16, 12, Qt::blue));
    EXPECT_TRUE(drop(jpeg));
    EXPECT_EQ(temporary.files().size(), 2);
    EXPECT_EQ(record->image()->image().size(), lq::Size(16, 12));
    EXPECT_EQ(sent.size(), 2);
}

TEST_F(ImageWellTest, RefusesDropsWhileHiddenAndFromItself)
{
    const QString file = pictureFile(QStringLiteral("picture.png"), solid(10, 10, Qt::red));
    QMimeData data;
    data.setUrls({ QUrl::fromLocalFile(file) });

    // From the well itself.
    EXPECT_FALSE(well->performDragOperation(&data, well));

    // Hidden itself, or inside a hidden view.
    well->hide();
    EXPECT_FALSE(entered(data));
    EXPECT_FALSE(drop(data));
    EXPECT_FALSE(well->performDragOperation(&data, nullptr));

    QWidget* box = new QWidget(&window);
    well->setParent(box);
    well->show();
    box->hide();
    EXPECT_FALSE(entered(data));
    EXPECT_FALSE(drop(data));

    EXPECT_EQ(record->imageUUID(), QStringLiteral("0000000000000001"));
    EXPECT_TRUE(sent.isEmpty());
    EXPECT_EQ(document.changes, 0);

    // Shown again, the same drop from elsewhere in the program is taken.
    box->show();
    EXPECT_TRUE(well->performDragOperation(&data, &window));
    EXPECT_EQ(storedPicture(), readAll(file));
    EXPECT_EQ(sent.size(), 1);
}

TEST_F(ImageWellTest, DropsWithoutAPictureAreTakenButChangeNothing)
{
    OwnTemporaryFolder temporary;
    QMimeData colour;
    colour.setColorData(QColor(Qt::red));
    QMimeData noFiles;
    noFiles.setUrls({});
    QMimeData webAddress;
    webAddress.setUrls({ QUrl(QStringLiteral("https://example.org/picture.png")) });

    for (const QMimeData* data : { &colour, &noFiles, &webAddress }) {
        EXPECT_TRUE(drop(*data)) << data->formats().join(' ').toStdString();
    }
    EXPECT_TRUE(entered(colour));
    EXPECT_EQ(record->imageUUID(), QStringLiteral("0000000000000001"));
    EXPECT_TRUE(sent.isEmpty());
    EXPECT_TRUE(temporary.files().isEmpty());
    EXPECT_EQ(document.changes, 0);

    // Plain text is not a kind the well takes.
    QMimeData text;
    text.setText(QStringLiteral("hello"));
    EXPECT_FALSE(entered(text));
}

TEST_F(ImageWellTest, TheFilesTypeIsTheBackgroundImagesBusiness)
{
    // A picture under a name that is no picture type: the well hands it over
    // all the same, and the background image stores it as JPEG.
    const QString picture = folder.filePath(QStringLiteral("scan.dat"));
    writeAll(picture, encoded(solid(24, 18, Qt::yellow), "PNG"));
    QMimeData data;
    data.setUrls({ QUrl::fromLocalFile(picture) });
    EXPECT_TRUE(drop(data));
    EXPECT_EQ(record->iType(), 0);
    EXPECT_TRUE(storedPicture().startsWith("\xFF\xD8"));
    EXPECT_EQ(record->image()->image().size(), lq::Size(24, 18));
    EXPECT_EQ(sent.size(), 1);
}

TEST_F(ImageWellTest, AFileThatIsNoPictureIsRefusedAndTheUserToldWhy)
{
    ScopedModalHandler modal;
    const QString notes = folder.filePath(QStringLiteral("holiday.png"));
    writeAll(notes, "Pack the camera.\n");
    QMimeData data;
    data.setUrls({ QUrl::fromLocalFile(notes) });
    drop(data);

    ASSERT_EQ(modal.state->alerts.size(), 1);
    const lq::AlertRequest& alert = modal.state->alerts.first();
    EXPECT_EQ(alert.title, QStringLiteral("The background picture was not changed"));
    EXPECT_TRUE(alert.message.contains(QStringLiteral("\"holiday.png\""))) << alert.message.toStdString();
    EXPECT_TRUE(alert.message.contains(QStringLiteral("not a picture"))) << alert.message.toStdString();
    // Nothing changed, so nothing is sent.
    EXPECT_EQ(record->imageUUID(), QStringLiteral("0000000000000001"));
    EXPECT_TRUE(sent.isEmpty());
    EXPECT_TRUE(QDir(folder.filePath(QStringLiteral("bitmaps2"))).entryList(QDir::Files).isEmpty());
    EXPECT_EQ(document.changes, 0);
}

TEST_F(ImageWellTest, AWellWithoutBackgroundImageStillSendsItsAction)
{
    OwnTemporaryFolder temporary;
    // Anything but a background image is not kept.
    well->setXmlImage(XmlShape::create());
    EXPECT_EQ(well->xmlImage(), nullptr);

    QMimeData file;
    file.setUrls({ QUrl::fromLocalFile(pictureFile(QStringLiteral("a.png"), solid(8, 8, Qt::red))) });
    QMimeData image;
    image.setImageData(solid(8, 8, Qt::blue));
    EXPECT_TRUE(drop(file));
    EXPECT_TRUE(drop(image));
    EXPECT_EQ(sent.size(), 2);
    // With nothing to take it, the picture is not written anywhere.
    EXPECT_TRUE(temporary.files().isEmpty());
    EXPECT_EQ(record->imageUUID(), QStringLiteral("0000000000000001"));

    // A target that is gone gets nothing.
    auto* shortLived = new QObject;
    int calls = 0;
    well->setTargetActionTag(shortLived, [&](ImageWell*) { ++calls; }, 361);
    delete shortLived;
    EXPECT_TRUE(drop(file));
    EXPECT_EQ(calls, 0);
    EXPECT_EQ(well->tag(), 361);
}

TEST_F(ImageWellTest, ShowsTheBackgroundImageFittedAndFramed)
{
    record->setNewImageFromFile(pictureFile(QStringLiteral("wide.png"), solid(400, 100, Qt::red)));
    // A drawable of its own shows only while no background image is set.
    well->setXmlobject(XmlImage::createFromImage(lq::GraphicsImage(solid(50, 50, Qt::blue))));

    QImage shot = well->grab().toImage();
    ASSERT_EQ(shot.size(), QSize(100, 80));
    // A quarter of its size: 100 x 25, centred from y 27.5.
    EXPECT_FLOAT_EQ(well->scale(), 0.25f);
    EXPECT_EQ(QColor(shot.pixel(50, 40)), QColor(Qt::red));
    EXPECT_EQ(QColor(shot.pixel(50, 29)), QColor(Qt::red));
    EXPECT_GE(qGray(shot.pixel(50, 10)), 249); // the checkerboard
    for (const QPoint& corner : { QPoint(0, 0), QPoint(99, 0), QPoint(0, 79), QPoint(99, 79), QPoint(50, 0), QPoint(0, 40) })
        EXPECT_EQ(QColor(shot.pixel(corner)), QColor(Qt::black)) << corner.x() << "," << corner.y();

    well->setXmlImage(nullptr);
    shot = well->grab().toImage();
    EXPECT_FLOAT_EQ(well->scale(), 1.0f);
    EXPECT_EQ(QColor(shot.pixel(50, 40)), QColor(Qt::blue));
    EXPECT_GE(qGray(shot.pixel(10, 40)), 249);
}

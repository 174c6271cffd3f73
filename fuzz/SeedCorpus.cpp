// Writes the seed corpus of every fuzz target from the program's own writers:
// element trees of every kind, the texts of the escapes and value strings,
// codec inputs and archives made by the zip layer.
//
//     lumenquill_fuzz_seeds <folder>     (makes <folder>/<target>/...)
#include "FuzzSupport.h"

#include "model/core/ElementFactory.h"
#include "model/core/XmlBase.h"
#include "model/core/XmlTextFormat.h"
#include "model/site/XmlAlbum.h"
#include "model/site/XmlCaption.h"
#include "model/site/XmlPhoto.h"
#include "model/site/XmlSite.h"
#include "platform/Codecs.h"
#include "platform/Colour.h"
#include "platform/Escaping.h"
#include "platform/Geometry.h"
#include "platform/ValueStrings.h"
#include "platform/Zip.h"
#include "platform/text/RtfCodec.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <cstdio>

namespace {

// Element names of every kind of element the reader makes.
const char* const elementNames[] = {
    "xmlbase", "IWcanvas", "IWimage", "IWletter", "IWletterbox", "IWdrawobject", "IWdrawcloud", "IWdrawballoon",
    "IWdrawlabel", "IWdrawarrow", "IWdrawcircle", "IWdrawsquare", "IWdrawobjects", "IWwatermark", "IWshape", "IWdraw",
    "file", "files", "QZsite", "QZgroup", "QZhomepage", "QZtrash", "QZalbum", "QZwebpage2", "QZphoto", "QZwidgetphoto",
    "headHTML", "bodyHTML", "QZprocessor", "QZcreate", "QZcopy", "QZpassword", "QZlocation", "QZcreateWebImage",
    "QZcreateWebBitmap", "QZcreateBitmapSlice", "QZcreateWinIEBitmap", "QZcreateSlide", "QZD", "QZF", "cssStyleSheet",
    "QZimage", "cssFont", "cssWebBox", "cssWebFooter", "cssWebContent", "cssWebMenu", "cssPhotoAlbum", "cssPictureFrame",
    "cssSlideShow", "cssSidebar", "cssVornBox", "QZtheme", "theme", "QZrss", "QZrssitem",
};

// Texts with what the formats must carry: markup, entities, the block
// markers, runs of blanks, tabs before hyphens, line feeds.
const char* const texts[] = {
    "<p>Sunset <b>over</b> the <a href=\"x.html\" target=\"_blank\">bay</a></p><p>Second</p>",
    "Tom & Jerry  \"quoted\" <tag> caf\u00e9 \u2022 bullet\t-dash",
    "<p>see ]]><!-- x --></QZcaption></QZphoto><QZphoto name=\"injected\"/><QZphoto>x</p>",
    "a <!-- lumenquill-verbatim-7Q2 --> b",
    "line one\nline two",
    " Intro",
    "http://example.com/a b/c.html?x=1&y=%22two%22#top",
    "1.000000 0.500000 0.250000 1.000000",
    "#FFAA00",
    "YES",
    "0x1F",
};

void write(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
}

// Each seed is named after its content, so that writing the corpus again
// adds no copies.
void seed(const QString& folder, const QByteArray& bytes)
{
    write(folder + QLatin1Char('/') + QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Sha1).toHex()), bytes);
}

void xmlSeeds(const QString& folder)
{
    QList<XmlBasePtr> kinds;
    for (const char* name : elementNames) {
        const XmlBasePtr element = lq::factoryCreateChildFromTag(QString::fromLatin1(name));
        if (!element)
            continue;
        element->setName(QStringLiteral("a \"name\" & more"));
        seed(folder, element->createXml().toUtf8());
        kinds.append(element);
    }
    // Every element that can hold others, with one of each kind it takes.
    for (const char* name : elementNames) {
        const XmlBasePtr parent = lq::factoryCreateChildFromTag(QString::fromLatin1(name));
        if (!parent || !parent->canHaveChildren())
            continue;
        bool any = false;
        for (const char* childName : elementNames) {
            const XmlBasePtr child = lq::factoryCreateChildFromTag(QString::fromLatin1(childName));
            if (child && parent->canYouBeMyParent(child.get())) {
                parent->addChild(child);
                any = true;
            }
        }
        if (any)
            seed(folder, parent->createXml().toUtf8());
    }

    // A site whose photos hold captions with markup and the block markers.
    const auto site = XmlSite::create();
    site->newDocument();
    const auto album = XmlAlbum::create();
    for (const char* text : texts) {
        const auto photo = XmlPhoto::create();
        photo->caption()->setContent(QString::fromUtf8(text));
        album->addChild(photo);
    }
    seed(folder, album->createXml().toUtf8());
    seed(folder, site->createXml().toUtf8());

    // The legacy forms the reader takes.
    QString legacy = QStringLiteral("<xmlbase name=\"legacy\"><![CDATA[<b>bare</b>]]>");
    XmlTextFormat::appendVerbatimBlock(legacy, u"<p class=\"x\">verbatim ]]> <![CDATA[</p>");
    legacy += QStringLiteral("<!-- data -->SGVsbG8=<!-- data --><unknown a=0\"><xmlbase/></unknown></xmlbase>");
    seed(folder, legacy.toUtf8());
}

void textSeeds(const QString& folder)
{
    for (const char* text : texts) {
        const QString plain = QString::fromUtf8(text);
        seed(folder, plain.toUtf8());
        seed(folder, lq::escape(plain).toUtf8());
        seed(folder, lq::urlEscape(plain).toUtf8());
    }
    seed(folder, lq::colorToString(lq::Colour(0.25f, 0.5f, 1.0f, 0.75f)).toUtf8());
    seed(folder, lq::rectToString(lq::stringToRect(QStringLiteral("{{1, 2}, {30, 40}}"))).toUtf8());
    seed(folder, lq::pointToString(lq::stringToPoint(QStringLiteral("{5, 6}"))).toUtf8());
    seed(folder, lq::sizeToString(lq::stringToSize(QStringLiteral("{7, 8}"))).toUtf8());
}

void codecSeeds(const QString& folder)
{
    seed(folder, QByteArray());
    seed(folder, QByteArray("\x08" "key12345" "user:pass word", 23));
    seed(folder, QByteArray("\x00" "plain text without a key", 25));
    seed(folder, QByteArray("\x03" "abc" "zero\0inside", 15));
    seed(folder, lq::usernamePassword(QStringLiteral("user"), QStringLiteral("p:ss")).toUtf8());
}

void zipSeeds(const QString& folder)
{
    QTemporaryDir work;
    const QString source = work.filePath(QStringLiteral("source"));
    write(source + QStringLiteral("/theme.xmlbase"), QByteArrayLiteral("<theme>\n</theme>\n"));
    write(source + QStringLiteral("/bitmaps2/b1.png"), QByteArrayLiteral("pixels"));
    write(source + QStringLiteral("/caf\u00e9.txt"), QByteArrayLiteral("name outside ASCII"));
    const QString archive = work.filePath(QStringLiteral("theme.qvzip"));
    lq::zipAdd(archive, source, QStringLiteral("theme.xmlbase"), false);
    lq::zipAdd(archive, source, QStringLiteral("bitmaps2"), true);
    QFile plain(archive);
    if (plain.open(QIODevice::ReadOnly))
        seed(folder, plain.readAll());
    plain.close();
    lq::zipAdd(archive, source, QStringLiteral("caf\u00e9.txt"), false);
    lq::setZipComment(archive, QStringLiteral("Website exported"));
    QImage icon(4, 4, QImage::Format_RGB32);
    icon.fill(Qt::gray);
    lq::setZipIcon(archive, icon);
    QFile full(archive);
    if (full.open(QIODevice::ReadOnly))
        seed(folder, full.readAll());
}

// Property lists as the photo library writes them: preferences and album data.
void propertyListSeeds(const QString& folder)
{
    const QByteArray head = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                            "<!DOCTYPE plist PUBLIC \"-//Apple//DTD PLIST 1.0//EN\" \"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">\n"
                            "<plist version=\"1.0\">\n";
    seed(folder, head + "<dict><key>RootDirectory</key><string>~/Pictures/iPhoto Library</string></dict>\n</plist>\n");
    seed(folder, head
            + "<dict>\n<key>List of Albums</key><array>\n"
              "<dict><key>AlbumId</key><integer>10</integer><key>AlbumName</key><string>Trips &amp; more</string>"
              "<key>Album Type</key><string>Folder</string><key>KeyList</key><array/></dict>\n"
              "<dict><key>AlbumId</key><integer>11</integer><key>Parent</key><integer>10</integer><key>AlbumName</key><string>Beach</string>"
              "<key>KeyList</key><array><string>1</string></array><key>Master</key><true/></dict>\n"
              "</array>\n<key>Master Image List</key><dict><key>1</key><dict><key>ImagePath</key><string>/p/a.jpg</string>"
              "<key>Caption</key><string>Sandy</string><key>MediaType</key><string>Image</string>"
              "<key>DateAsTimerInterval</key><real>2.5e8</real><key>Added</key><date>2008-03-01T12:30:00Z</date>"
              "<key>Thumb</key><data>aGVsbG8=</data><key>Hidden</key><false/></dict></dict>\n</dict>\n</plist>\n");
}

// Styled texts as the writer puts them out (every style, control
// characters, characters outside ASCII, paragraph ends of each kind), and the
// RTF of older documents.
void rtfSeeds(const QString& folder)
{
    lq::TextAttributes heading;
    heading.font = lq::Font(QStringLiteral("Times-Roman"), 24).withBold(true);
    heading.foregroundColour = lq::Colour(1, 0, 0);
    lq::ParagraphStyle centred;
    centred.alignment = lq::TextAlignment::Center;
    heading.paragraphStyle = centred;
    lq::TextAttributes body;
    body.font = lq::Font(QStringLiteral("Courier New"), 10.5).withItalic(true);
    body.underlineStyle = 1;
    lq::StyledText text;
    text.append(QStringLiteral("Caf\u00e9 {braces} \\ \u20ac\U0001F600\r\n"), heading);
    text.append(QStringLiteral("bell\a nul") + QChar(0) + QStringLiteral(" esc\x1b\tdel\x7f\u2028line\u2029"), body);
    text.append(QStringLiteral("plain\rend"), lq::TextAttributes());
    seed(folder, lq::RtfCodec::toRtf(text));
    seed(folder, lq::RtfCodec::toRtf(lq::StyledText(QStringLiteral("\x01\x02\x1f"))));
    seed(folder, "{\\rtf1\\mac\\ansicpg1252\\cocoartf824\n"
                 "{\\fonttbl\\f0\\fswiss\\fcharset77 Helvetica-Bold;\\f1\\fnil\\fcharset77 Georgia;}\n"
                 "{\\colortbl;\\red255\\green255\\blue255;\\red0\\green128\\blue255;}\n"
                 "{\\*\\expandedcolortbl;;}\n{\\info{\\title x}}\n"
                 "\\pard\\tx560\\ql\\qnatural\\qc\n"
                 "\\f0\\b\\fs48 \\cf2 Caf\\'e9 \\uc2\\u8364?? \\ul under\\ulnone  \\i it\\i0 \\line \\b0 x\\par\n"
                 "\\pard\\qr\\f1\\fs20\\cf0 {\\*\\unknown skipped}line\\tab two\\~\\_\\emdash\\plain}");
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <folder>\n", argv[0]);
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    fuzz::setUp(&argc, &argv);
    xmlSeeds(folder + QStringLiteral("/xml_reader"));
    textSeeds(folder + QStringLiteral("/text"));
    codecSeeds(folder + QStringLiteral("/codecs"));
    zipSeeds(folder + QStringLiteral("/zip_directory"));
    propertyListSeeds(folder + QStringLiteral("/property_list"));
    rtfSeeds(folder + QStringLiteral("/rtf"));
    return 0;
}

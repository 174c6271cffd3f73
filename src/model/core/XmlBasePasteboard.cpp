// The pasteboard operations of XmlBase: what views take from a drop or a
// paste, and which files count as pictures to import. File names become file
// elements through what the file trees register (pastedFiles).
#include "model/core/XmlBase.h"

#include "model/core/ModelSettings.h"
#include "platform/ExceptionFrame.h"
#include "platform/Pasteboard.h"
#include "platform/Strings.h"

namespace {

// The text after the last "." of the path's last component ("" when there is
// none). A leading dot counts too, so ".png" has the extension "png".
QString extensionOf(const QString& path)
{
    const QString last = lq::lastPathComponent(path);
    const qsizetype dot = last.lastIndexOf(QLatin1Char('.'));
    return dot < 0 ? QString(QLatin1String("")) : last.mid(dot + 1);
}

XmlBase::PastedFilesMaker& pastedFilesMaker()
{
    static XmlBase::PastedFilesMaker make = nullptr;
    return make;
}

} // namespace

void XmlBase::putOnPasteboard(lq::Pasteboard& pasteboard)
{
    lq::modelFrame(this, "putOnPasteboard:", [&] { pasteboard.declareString(createXml()); });
}

XmlBasePtr XmlBase::createFromPasteboard(const lq::Pasteboard& pasteboard)
{
    return lq::classFrame("XmlBase +createFromPasteboard:", [&]() -> XmlBasePtr {
        if (const std::optional<QString> text = pasteboard.string()) {
            if (XmlBasePtr element = createWithXmlRootDir(*text, QString()))
                return element;
        }
        const std::optional<QStringList> paths = pasteboard.filenames();
        if (!paths || !pastedFilesMaker())
            return nullptr;
        return pastedFilesMaker()(*paths);
    });
}

void XmlBase::registerPastedFiles(PastedFilesMaker make)
{
    pastedFilesMaker() = make;
}

bool XmlBase::canWeImport(const QString& path)
{
    return lq::classFrame("XmlBase +canWeImport:", [&] {
        return ModelSettings::shared().allowedImportFileTypes().contains(extensionOf(path), Qt::CaseSensitive);
    });
}

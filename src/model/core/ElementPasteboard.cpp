// What views take from a drop or a paste, and which files count as pictures
// to import. File names become file elements through what the file trees
// register (registerPastedFiles).
#include "model/core/ElementPasteboard.h"

#include "model/core/ModelSettings.h"
#include "platform/ExceptionFrame.h"
#include "platform/Pasteboard.h"
#include "platform/Strings.h"

namespace lq {

namespace {

// The text after the last "." of the path's last component ("" when there is
// none). A leading dot counts too, so ".png" has the extension "png".
QString extensionOf(const QString& path)
{
    const QString last = lastPathComponent(path);
    const qsizetype dot = last.lastIndexOf(QLatin1Char('.'));
    return dot < 0 ? QString(QLatin1String("")) : last.mid(dot + 1);
}

PastedFilesMaker& pastedFilesMaker()
{
    static PastedFilesMaker make = nullptr;
    return make;
}

} // namespace

XmlBasePtr createFromPasteboard(const Pasteboard& pasteboard)
{
    return classFrame("XmlBase +createFromPasteboard:", [&]() -> XmlBasePtr {
        if (const std::optional<QString> text = pasteboard.string()) {
            if (XmlBasePtr element = XmlBase::createWithXmlRootDir(*text, QString()))
                return element;
        }
        const std::optional<QStringList> paths = pasteboard.filenames();
        if (!paths || !pastedFilesMaker())
            return nullptr;
        return pastedFilesMaker()(*paths);
    });
}

void registerPastedFiles(PastedFilesMaker make)
{
    pastedFilesMaker() = make;
}

bool canWeImport(const QString& path)
{
    return classFrame("XmlBase +canWeImport:", [&] {
        return ModelSettings::shared().allowedImportFileTypes().contains(extensionOf(path), Qt::CaseSensitive);
    });
}

void putOnPasteboard(XmlBase& element, Pasteboard& pasteboard)
{
    modelFrame(&element, "putOnPasteboard:", [&] { pasteboard.declareString(element.createXml()); });
}

} // namespace lq

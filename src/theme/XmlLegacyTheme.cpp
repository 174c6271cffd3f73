#include "theme/XmlLegacyTheme.h"

#include "model/site/XmlAlbum.h"
#include "model/site/XmlHomePage.h"
#include "model/site/XmlSite.h"
#include "platform/ExceptionFrame.h"
#include "platform/Scanner.h"
#include "templates/XmlCSSImage.h"
#include "templates/XmlStyleSheet.h"
#include "elements/XmlWebPhotoAlbum.h"
#include "model/site/XmlPhoto.h"

#include <array>

namespace {

// The standard elements that a later template may take from the first one.
const std::array<const char*, 7> sharedElements = {
    "Content", "Masthead", "Footer", "Page Title", "Navigation", "Photo Album", "Slideshow"
};

void removeGroupNav(XmlStyleSheet& sheet)
{
    if (const XmlBasePtr groupNav = sheet.getElementWithName(QStringLiteral("Group Nav")))
        sheet.removeChild(groupNav.get());
}

// The first photo album box of the template with that name, or nothing.
XmlBase* firstPhotoAlbumNamed(XmlStyleSheet& sheet, const QString& name)
{
    return sheet.firstChildOfType<XmlWebPhotoAlbum>([&](const XmlWebPhotoAlbum& album) { return album.name() == name; }).get();
}

} // namespace

XmlLegacyTheme::XmlLegacyTheme(Key key)
    : XmlThemeRoot(key)
{
}

std::shared_ptr<XmlLegacyTheme> XmlLegacyTheme::create()
{
    return make<XmlLegacyTheme>();
}

void XmlLegacyTheme::unpackToDirectory(const QString& folder)
{
    lq::modelFrame(this, "unpackToDirectory:", [&] {
        if (!content().isEmpty()) {
            lq::Scanner scanner(content());
            parseXml(scanner);
            setContent(QStringLiteral(""));
        }
        const XmlBaseList templates = children();
        if (templates.isEmpty()) {
            postload();
            return;
        }
        XmlStyleSheet* master = XmlStyleSheet::cast(templates.first().get());
        if (master) {
            master->unpackToDirectory(folder);
            std::array<XmlBasePtr, sharedElements.size()> masterElements;
            for (std::size_t i = 0; i < sharedElements.size(); ++i)
                masterElements[i] = master->getElementWithName(QString::fromLatin1(sharedElements[i]));
            const int mode = master->bkgnd();
            const lq::Colour colour = master->bkgndColor();
            const int top = master->topSlice();
            const int bottom = master->bottomSlice();
            const std::shared_ptr<XmlCSSImage> image = master->image();
            removeGroupNav(*master);

            for (qsizetype t = 1; t < templates.size(); ++t) {
                XmlStyleSheet* sheet = XmlStyleSheet::cast(templates[t].get());
                if (!sheet)
                    continue;
                removeGroupNav(*sheet);
                if (sheet->sameas()) {
                    sheet->setBkgnd(mode);
                    sheet->setBkgndColor(colour);
                    sheet->setTopSlice(top);
                    sheet->setBottomSlice(bottom);
                    if (mode >= 2 && image) {
                        const auto copy = std::dynamic_pointer_cast<XmlCSSImage>(createWithXmlRootDir(image->createXml(), QString()));
                        if (copy)
                            sheet->setImage(copy);
                    }
                }
                for (std::size_t i = 0; i < sharedElements.size(); ++i) {
                    if (!masterElements[i])
                        continue;
                    const XmlBasePtr own = sheet->getElementWithName(QString::fromLatin1(sharedElements[i]));
                    XmlCSS* element = XmlCSS::cast(own.get());
                    if (element && element->sameas())
                        sheet->replaceChildWithCopyOf(own.get(), masterElements[i].get());
                }
                sheet->unpackToDirectory(folder);
            }
        }
        postload();
    });
}

void XmlLegacyTheme::convert1_2Theme(XmlSite* site)
{
    lq::modelFrame(this, "convert1_2Theme:", [&] {
        XmlHomePage* home = site ? site->homepage() : nullptr;
        const XmlBaseList pages = home ? home->webItems() : XmlBaseList();
        for (const XmlBasePtr& child : children()) {
            XmlStyleSheet* sheet = XmlStyleSheet::cast(child.get());
            if (!sheet)
                continue;
            if (sheet->custom() != 0) {
                for (const XmlBasePtr& item : pages) {
                    XmlAlbum* page = XmlAlbum::cast(item.get());
                    if (page && page->templateNum() == sheet->templateSeqNum()) {
                        sheet->setName(page->fileName());
                        break;
                    }
                }
                sheet->setCustom(0);
            }
            sheet->convert1_2Bitmaps();
        }
    });
}

void XmlLegacyTheme::addLegacyStyleSheet(const std::shared_ptr<XmlStyleSheet>& sheet)
{
    lq::modelFrame(this, "addLegacyStyleSheet:", [&] {
        if (!sheet)
            return;
        addChild(sheet);
        sheet->setTemplateSeqNum(templateSeqNumber());
    });
}

void XmlLegacyTheme::addLegacyStyleSheetAlbum(const std::shared_ptr<XmlStyleSheet>& sheet, XmlAlbum* page)
{
    lq::modelFrame(this, "addLegacyStyleSheet:album:", [&] {
        if (!sheet)
            return;
        addChild(sheet);
        sheet->setTemplateSeqNum(templateSeqNumber());
        if (page)
            page->setTemplateNum(sheet->templateSeqNum());
    });
}

std::shared_ptr<XmlLegacyTheme> XmlLegacyTheme::generateThemeFromLegacy1_0(XmlSite& site)
{
    return lq::modelFrame(&site, "generateThemeFromLegacy1_0", [&] {
        auto theme = XmlLegacyTheme::create();
        XmlHomePage* home = site.homepage();
        if (!home)
            return theme;
        theme->addLegacyStyleSheet(generateAlbumStyleFromLegacy1_0(*home));
        theme->addLegacyStyleSheet(generateGroupStyleFromLegacy1_0(*home));
        for (const XmlBasePtr& item : home->webItems())
            if (XmlAlbum* page = XmlAlbum::cast(item.get()))
                theme->addLegacyStyleSheetAlbum(generateStyleFromLegacy1_0(*page), page);
        return theme;
    });
}

std::shared_ptr<XmlStyleSheet> XmlLegacyTheme::generateStyleFromLegacy1_0(XmlAlbum& page)
{
    return lq::modelFrame(&page, "generateStyleFromLegacy1_0", [&]() -> std::shared_ptr<XmlStyleSheet> {
        const std::shared_ptr<XmlStyleSheet> sheet = std::dynamic_pointer_cast<XmlStyleSheet>(page.legacyStyleSheet());
        if (!sheet) {
            page.setTemplateNum(page.legacyStyle().templateNum);
            return nullptr;
        }
        const QString removed = page.legacyStyle().removedBox;
        if (auto album = sheet->firstChildOfType<XmlWebPhotoAlbum>([&](const XmlWebPhotoAlbum& a) { return a.name() == removed; }))
            sheet->removeChild(album.get());
        XmlWebPhotoAlbum* last = nullptr;
        for (const auto& album : sheet->childrenOfType<XmlWebPhotoAlbum>()) {
            if (album->name() == u"Group Nav")
                album->setName(QStringLiteral("Photo Album"));
            last = album.get();
        }
        // The page's own template: the theme conversion names it after the page.
        sheet->setCustom(1);
        // A free-form 1.0 page keeps its photos where they were, below the text.
        if (page.wasVerdanePage() && last) {
            last->settings().setAfterDescription(2);
            const XmlBaseList photos = page.children();
            last->settings().setNumFloatingRects(int(photos.size()));
            for (qsizetype i = 0; i < photos.size(); ++i)
                if (XmlPhoto* photo = XmlPhoto::cast(photos[i].get()))
                    last->settings().setFloatingRectForIndex(photo->legacyRect(), int(i));
        }
        return sheet;
    });
}

std::shared_ptr<XmlStyleSheet> XmlLegacyTheme::copyOfLegacyStyleSheet(XmlHomePage& home, const QString& name)
{
    if (!home.legacyStyleSheet())
        return nullptr;
    std::shared_ptr<XmlStyleSheet> copy = std::dynamic_pointer_cast<XmlStyleSheet>(home.legacyStyleSheet()->copyWithZone());
    if (copy)
        copy->setName(name);
    return copy;
}

std::shared_ptr<XmlStyleSheet> XmlLegacyTheme::generateAlbumStyleFromLegacy1_0(XmlHomePage& home)
{
    return lq::modelFrame(&home, "generateAlbumStyleFromLegacy1_0", [&]() -> std::shared_ptr<XmlStyleSheet> {
        std::shared_ptr<XmlStyleSheet> copy = copyOfLegacyStyleSheet(home, QStringLiteral("Default Album"));
        if (copy) {
            if (XmlBase* navigation = firstPhotoAlbumNamed(*copy, QStringLiteral("Group Nav")))
                copy->removeChild(navigation);
        }
        return copy;
    });
}

std::shared_ptr<XmlStyleSheet> XmlLegacyTheme::generateGroupStyleFromLegacy1_0(XmlHomePage& home)
{
    return lq::modelFrame(&home, "generateGroupStyleFromLegacy1_0", [&]() -> std::shared_ptr<XmlStyleSheet> {
        std::shared_ptr<XmlStyleSheet> copy = copyOfLegacyStyleSheet(home, QStringLiteral("Group Album"));
        if (!copy)
            return nullptr;
        if (XmlBase* album = firstPhotoAlbumNamed(*copy, QStringLiteral("Photo Album")))
            copy->removeChild(album);
        for (const auto& album : copy->childrenOfType<XmlWebPhotoAlbum>()) {
            if (album->name() == u"Group Nav")
                album->setName(QStringLiteral("Photo Album"));
        }
        return copy;
    });
}

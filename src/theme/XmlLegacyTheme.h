#pragma once

#include "theme/XmlThemeRoot.h"

class XmlAlbum;
class XmlHomePage;
class XmlSite;
class XmlStyleSheet;

// A theme of an earlier document generation (read from "QZtheme"), converted
// into a current theme. It writes itself as "theme" with the same counters as
// a current theme, so a converted file reads back as an XmlTheme. A change
// inside it marks nothing.
class XmlLegacyTheme final : public XmlThemeRoot {
public:
    explicit XmlLegacyTheme(Key key);

    static std::shared_ptr<XmlLegacyTheme> create();
    static XmlLegacyTheme* cast(XmlBase* object) { return dynamic_cast<XmlLegacyTheme*>(object); }
    // The theme of a site just read from a 1.0 document: the home page's
    // album and group templates, then each page's own template, numbered in
    // that order, each page bound to its own.
    static std::shared_ptr<XmlLegacyTheme> generateThemeFromLegacy1_0(XmlSite& site);
    // The page's 1.0 template converted for the theme, or nothing (the page
    // then takes the number of its kind's converted template).
    static std::shared_ptr<XmlStyleSheet> generateStyleFromLegacy1_0(XmlAlbum& page);
    // Templates converted from the home page's 1.0 template for album and
    // group pages; nothing without a 1.0 template.
    static std::shared_ptr<XmlStyleSheet> generateAlbumStyleFromLegacy1_0(XmlHomePage& home);
    static std::shared_ptr<XmlStyleSheet> generateGroupStyleFromLegacy1_0(XmlHomePage& home);

    void setDocument(DocumentBase* document) { myDoc = document; }
    DocumentBase* myDocument() override { return myDoc; }

    // Converts the templates of a theme file of the earlier kind: reads the
    // templates carried as text, unpacks embedded pictures into the folder,
    // drops every "Group Nav" element and turns the links to the first
    // template's settings ("sameas") into copies.
    void unpackToDirectory(const QString& folder);
    // The conversion of a 1.2 theme: page-specific templates become ordinary
    // ones named after their page, and the 1.2 bitmaps become current ones.
    void convert1_2Theme(XmlSite* site);

    // Appends the template and numbers it.
    void addLegacyStyleSheet(const std::shared_ptr<XmlStyleSheet>& sheet);
    // The same, and binds the page to it; nothing for no template.
    void addLegacyStyleSheetAlbum(const std::shared_ptr<XmlStyleSheet>& sheet, XmlAlbum* page);

private:
    // A copy of the home page's 1.0 template under the name, or nothing.
    static std::shared_ptr<XmlStyleSheet> copyOfLegacyStyleSheet(XmlHomePage& home, const QString& name);

    DocumentBase* myDoc = nullptr;
};

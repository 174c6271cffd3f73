#pragma once

// A theme kept in a document folder of the test's own.
#include "theme/XmlTheme.h"

#include <QString>

#include <memory>

class ThemeInFolder : public XmlTheme {
public:
    explicit ThemeInFolder(Key key) : XmlTheme(key) {}
    static std::shared_ptr<ThemeInFolder> create(const QString& folder)
    {
        auto theme = make<ThemeInFolder>();
        theme->folder = folder;
        return theme;
    }
    QString rootDir() override { return folder; }
    QString folder;
};

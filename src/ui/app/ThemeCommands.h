#pragma once

#include <QString>

class MyDocumentWindow;

// The theme commands of a document window: bringing a theme into the site
// (adding its templates or replacing the site's theme) and exporting the
// site's theme as an archive. It takes the window and keeps nothing of its
// own.
class ThemeCommands {
public:
    explicit ThemeCommands(MyDocumentWindow& window);

    // Chooses a theme archive (or a theme file of the first format) and
    // brings its templates into the site (setNewTheme).
    void importTemplate();
    // Saves ("autosave before new Theme selected"), then adds the theme's
    // templates to the site's or replaces the site's theme with it, and
    // shows the site anew. The theme library's "apply" comes here too.
    void setNewTheme(const QString& path);
    // Asks which site files go along and where, then writes a theme archive.
    void exportTemplate();
    // The theme library ("Themes" tab).
    void themes();

private:
    enum class ThemeChoice { Cancel = 0, Add = 1, Replace = 2 };
    ThemeChoice askAddOrReplace();
    bool importThemeArchive(const QString& path);
    bool importLegacyTheme(const QString& path);

    MyDocumentWindow& _window;
};

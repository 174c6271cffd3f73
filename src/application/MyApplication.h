#pragma once

#include "model/core/ElementRegistry.h"
#include "model/core/ModelSettings.h"
#include "model/core/XmlBase.h"
#include "platform/StringTable.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>

// The application services object: the application-wide settings, string
// look-up and fixed policies, and the element registry it holds for the
// run. One instance lives for the whole run; main() creates it beside the Qt
// application object, and the application code reaches it through shared().
class MyApplication final : public ModelSettings {
public:
    MyApplication();
    ~MyApplication() override;
    MyApplication(const MyApplication&) = delete;
    MyApplication& operator=(const MyApplication&) = delete;

    // The one instance; a program must create it before any element.
    static MyApplication& shared();
    // The one instance, or nothing before it is made and after it is gone.
    static MyApplication* instance();

    // --- Services beside the registry ---------------------------------------
    // Shows the text in the bug-report window (the shell installs the handler).
    void bug(const QString& text);
    void setBugHandler(std::function<void(const QString&)> handler) { _bugHandler = std::move(handler); }
    static bool checkUnixAvail(const QString& path);
    QString fileInfoFilename(const QString& tool, const QString& filename);
    // The photo-library reader, made and read on first use by the factory the
    // editors install; nothing while none is installed. A new factory drops
    // the library the one before made.
    XmlBasePtr iPhotoLibrary();
    void setIPhotoLibraryFactory(std::function<XmlBasePtr()> factory)
    {
        _iPhotoFactory = std::move(factory);
        _iPhotoLibrary.reset();
    }

    // --- Strings --------------------------------------------------------------
    // The entry for "S" + key, else for the key, else a single blank " ".
    QString localized(const QString& key);
    // Replaces the string table (by default the resource folder's strings/Localizable.strings).
    void setStringTable(lq::StringTable table) { _strings = std::move(table); }

    // --- Stored credentials -------------------------------------------------
    QString encodeStringForKey(const QString& value, const QString& key) const;
    QString decodeStringForKey(const QString& text, const QString& key) const;
    static QString passPhrase();

    // --- Settings ---------------------------------------------------------------
    int developer() const { return _developer; }
    void setDeveloper(int value) { _developer = value; }
    int prefsVersion() const { return _prefsVersion; }
    void setPrefsVersion(int value) { _prefsVersion = value; }
    int checkForUpdates() const { return _checkForUpdates; }
    void setCheckForUpdates(int value) { _checkForUpdates = value; }
    int maxPictureWidth() const override { return _maxPictureWidth; }
    void setMaxPictureWidth(int value) { _maxPictureWidth = value; }
    int maxPictureHeight() const override { return _maxPictureHeight; }
    void setMaxPictureHeight(int value) { _maxPictureHeight = value; }
    // The JPEG factor that image writing uses for a compression of 0.0.
    float jpgCompressionFactor() const override { return 0.95f; }
    // Stores the value clamped to 0.6..0.95; jpgCompressionFactor keeps answering 0.95.
    void setJpgCompressionFactor(float factor);
    float storedJpgCompressionFactor() const { return _jpgCompressionFactor; }
    bool resizeOnImport() const { return true; }
    QStringList allowedImportFileTypes() const override;
    QStringList allowedDynamicFileTypes() const;
    bool autoLaunchBrowser() const { return _autoLaunchBrowser; }
    void setAutoLaunchBrowser(bool value) { _autoLaunchBrowser = value; }
    int enableRTL() const { return _enableRTL; }
    void setEnableRTL(int value) { _enableRTL = value; }
    int importCaptions() const { return _importCaptions; }
    void setImportCaptions(int value) { _importCaptions = value; }
    int enableBeforeAfter() const override { return _enableBeforeAfter; }
    void setEnableBeforeAfter(int value) { _enableBeforeAfter = value; }
    // The hosts of a .Mac-compatible service (host names, without scheme):
    // WebDAV for publishing, and the home pages where the site is seen. The
    // original service closed, so both are empty until the user sets them.
    const QString& macWebDAVHost() const { return _macWebDAVHost; }
    void setMacWebDAVHost(const QString& host) { _macWebDAVHost = host; }
    const QString& macHomePageHost() const { return _macHomePageHost; }
    void setMacHomePageHost(const QString& host) { _macHomePageHost = host; }

private:
    // Made first and gone last: every element of the run lives within it.
    ElementRegistry _registry;
    std::optional<lq::StringTable> _strings;
    std::function<void(const QString&)> _bugHandler;
    std::function<XmlBasePtr()> _iPhotoFactory;
    XmlBasePtr _iPhotoLibrary;

    int _developer = 0;
    int _prefsVersion = 0;
    int _checkForUpdates = 0;
    int _maxPictureWidth = 0;
    int _maxPictureHeight = 0;
    float _jpgCompressionFactor = 0;
    bool _autoLaunchBrowser = false;
    int _enableRTL = 0;
    int _importCaptions = 0;
    int _enableBeforeAfter = 0;
    QString _macWebDAVHost;
    QString _macHomePageHost;
};

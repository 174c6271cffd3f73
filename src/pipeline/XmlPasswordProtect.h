#pragma once

#include "pipeline/XmlRun.h"

// The step that password-protects a generated page with the helper tool
// "qvtea": the page under its own name becomes a password prompt that holds
// the page encrypted. The step waits for the tool; a page whose protection
// failed is removed from the generated site, so it is never published open.
class XmlPasswordProtect final : public XmlRun {
public:
    explicit XmlPasswordProtect(Key key);

    static std::shared_ptr<XmlPasswordProtect> create();
    static XmlPasswordProtect* cast(XmlBase* object) { return dynamic_cast<XmlPasswordProtect*>(object); }
    // A step for the page of the UUID, its file, the name the tool may use
    // for the page's second file and the prompt's background colour.
    static std::shared_ptr<XmlPasswordProtect> createForAlbumFilenameNewnameBkgnd(
        const QString& album, const QString& filename, const QString& newname, const QString& bkgnd);

    QString elementName() const override;
    // "album", "filename", "newname" and "bkgnd"; the rest goes to the base.
    void setAttributeTo(const QString& key, const QString& value) override;
    // The base's, then ` album="%@" filename="%@" newname="%@" bkgnd="%@"`, escaped.
    void appendAttributes(QString& xml) override;

    const QString& album() const { return _album; }
    const QString& filename() const { return _filename; }
    const QString& newname() const { return _newname; }
    const QString& bkgnd() const { return _bkgnd; }

    // Runs the tool in the site's "homepage" folder with the arguments
    // filename, newname, "-" (the page's password follows on standard input,
    // never in the process list), the home page's pass phrase, its submit
    // label and the background; waits for it. A failure is reported in the
    // Activity log and the unprotected page is deleted. False when the page
    // or its site is gone (the tool is not started), else true.
    bool run() override;
    // "<status> password protecting file:<filename>" and a line feed; "" when
    // the page is gone or the parent is no processor.
    QString statusMessage() override;

    // The tool's name among the program's helper tools.
    static QString toolName() { return QStringLiteral("qvtea"); }

private:
    QString _album = QStringLiteral("");
    QString _filename = QStringLiteral("");
    QString _newname = QStringLiteral("");
    QString _bkgnd = QStringLiteral("");
};

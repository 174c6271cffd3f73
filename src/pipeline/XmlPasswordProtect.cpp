#include "pipeline/XmlPasswordProtect.h"

#include "pipeline/BuildSteps.h"
#include "model/site/XmlAlbum.h"
#include "model/site/XmlHomePage.h"
#include "model/site/XmlSite.h"
#include "platform/AuxiliaryTools.h"
#include "platform/ConfinedFolder.h"
#include "platform/Escaping.h"
#include "platform/ExceptionFrame.h"
#include "platform/Process.h"


namespace {

// A plain file name inside the folder: no folder part, not "." or "..".
bool isPlainName(const QString& name)
{
    return !name.isEmpty() && !name.contains(QLatin1Char('/')) && !name.contains(QLatin1Char('\\'))
        && name != QStringLiteral(".") && name != QStringLiteral("..");
}

} // namespace

XmlPasswordProtect::XmlPasswordProtect(Key key)
    : XmlRun(key)
{
}

std::shared_ptr<XmlPasswordProtect> XmlPasswordProtect::create()
{
    return make<XmlPasswordProtect>();
}

std::shared_ptr<XmlPasswordProtect> XmlPasswordProtect::createForAlbumFilenameNewnameBkgnd(
    const QString& album, const QString& filename, const QString& newname, const QString& bkgnd)
{
    return lq::classFrame("XmlPasswordProtect +createForAlbum:filename:newname:bkgnd:", [&] {
        std::shared_ptr<XmlPasswordProtect> step = create();
        step->_album = album;
        step->_filename = filename;
        step->_newname = newname;
        step->_bkgnd = bkgnd;
        return step;
    });
}

QString XmlPasswordProtect::elementName() const
{
    return QStringLiteral("QZpassword");
}

void XmlPasswordProtect::setAttributeTo(const QString& key, const QString& value)
{
    lq::modelFrame(this, "setAttribute:to:", [&] {
        if (key == QStringLiteral("album"))
            _album = value;
        else if (key == QStringLiteral("filename"))
            _filename = value;
        else if (key == QStringLiteral("newname"))
            _newname = value;
        else if (key == QStringLiteral("bkgnd"))
            _bkgnd = value;
        else
            XmlRun::setAttributeTo(key, value);
    });
}

void XmlPasswordProtect::appendAttributes(QString& xml)
{
    lq::modelFrame(this, "appendAttributes:", [&] {
        XmlRun::appendAttributes(xml);
        xml += QStringLiteral(" album=\"") + lq::escape(_album) + QStringLiteral("\" filename=\"") + lq::escape(_filename)
            + QStringLiteral("\" newname=\"") + lq::escape(_newname) + QStringLiteral("\" bkgnd=\"") + lq::escape(_bkgnd)
            + QLatin1Char('"');
    });
}

bool XmlPasswordProtect::run()
{
    return lq::modelFrame(this, "run", [&] {
        XmlAlbum* page = lq::registered<XmlAlbum>(_album);
        if (!page)
            return false;
        XmlSite* site = dynamic_cast<XmlSite*>(page->root());
        if (!site)
            return false;
        // The tool works in the generated site's folder as the site's
        // gateway opened it, never by a path it would look up again.
        QString why;
        const std::shared_ptr<lq::ConfinedFolder> root = site->rootDir().isEmpty() ? nullptr : lq::ConfinedFolder::open(site->rootDir(), &why);
        const std::shared_ptr<lq::ConfinedFolder> folder = root ? root->folder(QStringLiteral("homepage"), &why) : nullptr;
        const auto fail = [&](const QString& why) {
            reportFailure(QStringLiteral("XmlPasswordProtect run: error protecting ") + _filename + QStringLiteral(": ")
                + why);
            // An unprotected copy must never reach the server.
            QString ignored;
            if (folder && isPlainName(_filename))
                folder->remove(_filename, &ignored);
        };
        if (!folder) {
            fail(why);
            return true;
        }
        if (!isPlainName(_filename) || !isPlainName(_newname)) {
            fail(QStringLiteral("not a file name of the site's folder"));
            return true;
        }
        const QString tool = lq::auxiliaryTool(toolName());
        if (tool.isEmpty()) {
            fail(QStringLiteral("the tool ") + toolName() + QStringLiteral(" is missing"));
            return true;
        }
        XmlHomePage* home = site->homepage();
        const QString passPhrase = home ? home->passPhrase() : QString();
        const QString submitLabel = home ? home->submitLabel() : QString();
        lq::ProcessOptions options;
        options.workingDescriptor = folder->descriptor();
        options.input = page->password().toUtf8();
        const lq::ProcessResult result = lq::runProcess(tool,
            { _filename, _newname, QStringLiteral("-"), passPhrase, submitLabel, _bkgnd }, options);
        if (!result.succeeded())
            fail(result.failureDetail(tool));
        return true;
    });
}

QString XmlPasswordProtect::statusMessage()
{
    return lq::modelFrame(this, "statusMessage", [&]() -> QString {
        if (!processor() || !lq::registered<XmlAlbum>(_album))
            return QStringLiteral("");
        return processorStatus() + QStringLiteral(" password protecting file:") + _filename + QLatin1Char('\n');
    });
}

#include "model/files/XmlFolder.h"

#include "model/files/XmlFile.h"
#include "platform/ConfinedFolder.h"
#include "platform/Escaping.h"
#include "platform/ExceptionFrame.h"
#include "platform/Image.h"
#include "platform/Log.h"

XmlFolder::XmlFolder(Key key)
    : XmlFiles(key)
{
}

std::shared_ptr<XmlFolder> XmlFolder::create()
{
    return make<XmlFolder>();
}

QString XmlFolder::elementName() const
{
    return QStringLiteral("folder");
}

QImage XmlFolder::iconImage()
{
    return lq::namedImage(QStringLiteral("xmlgroup"));
}

QString XmlFolder::fullname() const
{
    return lq::modelFrame(this, "fullname", [&]() -> QString {
        if (!_parent)
            return QString();
        const QString folder = _parent->fullname();
        if (folder.isNull())
            return QString();
        return folder + QLatin1Char('/') + foldername();
    });
}

QString XmlFolder::filenameWithRoot(const QString& root)
{
    return lq::modelFrame(this, "filenameWithRoot:", [&]() -> QString {
        const QString above = _parent ? _parent->filenameWithRoot(root) : QString();
        return above + foldername() + QLatin1Char('/');
    });
}

void XmlFolder::setAttributeTo(const QString& key, const QString& value)
{
    lq::modelFrame(this, "setAttribute:to:", [&] {
        if (key == QLatin1String("foldername"))
            setFoldername(value);
        else
            XmlFiles::setAttributeTo(key, value);
    });
}

void XmlFolder::appendAttributes(QString& xml)
{
    lq::modelFrame(this, "appendAttributes:", [&] {
        XmlFiles::appendAttributes(xml);
        xml += QLatin1String(" foldername=\"");
        xml += lq::escape(_foldername);
        xml += QLatin1Char('"');
    });
}

QString XmlFolder::name() const
{
    return _foldername;
}

int XmlFolder::check() const
{
    return lq::modelFrame(this, "check", [&]() -> int {
        if (!_children || _children->empty())
            return 0;
        std::size_t checked = 0;
        for (const XmlBasePtr& child : *_children) {
            if (checkOf(child.get()) != 0)
                ++checked;
        }
        if (checked == 0)
            return 0;
        return checked == _children->size() ? 1 : -1;
    });
}

void XmlFolder::setCheck(bool check)
{
    lq::modelFrame(this, "setCheck:", [&] {
        for (const XmlBasePtr& child : children())
            setCheckOf(child.get(), check);
    });
}

QString XmlFolder::foldername() const
{
    return _foldername.isNull() ? QStringLiteral("untitled") : _foldername;
}

void XmlFolder::setFoldername(const QString& foldername)
{
    setStored(_foldername, foldername, "setFoldername:");
}

bool XmlFolder::renameFoldername(const QString& newName, QString* why)
{
    return lq::modelFrame(this, "renameFoldername:", [&]() -> bool {
        if (!_parent || !XmlFile::isPlainName(newName) || !XmlFile::isPlainName(foldername()))
            return false;
        QString failure;
        const std::shared_ptr<lq::ConfinedFolder> folder = treeFolder(&failure);
        const QString above = pathInTree(_parent);
        if (!folder
            || !folder->rename(pathInTree(this), above.isEmpty() ? newName : above + QLatin1Char('/') + newName,
                lq::ConfinedFolder::Replace::Never, &failure)) {
            lq::log(failure);
            if (why)
                *why = failure;
            return false;
        }
        setFoldername(newName);
        return true;
    });
}

int XmlFolder::checkOf(const XmlBase* element)
{
    if (const XmlFolder* folder = dynamic_cast<const XmlFolder*>(element))
        return folder->check();
    return element ? element->check() : 0;
}

void XmlFolder::setCheckOf(XmlBase* element, bool check)
{
    if (XmlFolder* folder = XmlFolder::cast(element))
        folder->setCheck(check);
    else if (element)
        element->setCheck(check);
}

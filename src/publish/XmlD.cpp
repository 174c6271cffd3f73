#include "publish/XmlD.h"

#include "platform/ExceptionFrame.h"
#include "publish/XmlF.h"

#include <typeinfo>

XmlD::XmlD(Key key)
    : XmlBase(key)
{
    _have_children = true;
}

std::shared_ptr<XmlD> XmlD::create()
{
    return make<XmlD>();
}

QString XmlD::elementName() const
{
    return QStringLiteral("QZD");
}

bool XmlD::canYouBeMyParent(XmlBase* child)
{
    return lq::modelFrame(this, "canYouBeMyParent:", [&] {
        return XmlD::cast(child) != nullptr;
    });
}

bool XmlD::isFolderNode(const XmlBase* node)
{
    return node && typeid(*node) == typeid(XmlD);
}

bool XmlD::isFileNode(const XmlBase* node)
{
    return node && typeid(*node) == typeid(XmlF);
}

XmlD* XmlD::folderNamed(const QString& name) const
{
    for (const XmlBasePtr& child : children())
        if (isFolderNode(child.get()) && child->name() == name)
            return static_cast<XmlD*>(child.get());
    return nullptr;
}

XmlF* XmlD::fileNamed(const QString& name) const
{
    for (const XmlBasePtr& child : children())
        if (isFileNode(child.get()) && child->name() == name)
            return static_cast<XmlF*>(child.get());
    return nullptr;
}

int XmlD::fileCount() const
{
    int count = 0;
    for (const XmlBasePtr& child : children()) {
        if (isFileNode(child.get()))
            ++count;
        else if (isFolderNode(child.get()))
            count += static_cast<XmlD*>(child.get())->fileCount();
    }
    return count;
}

QStringList XmlD::filePaths() const
{
    QStringList paths;
    for (const XmlBasePtr& child : children()) {
        if (isFileNode(child.get())) {
            paths.append(child->name());
        } else if (isFolderNode(child.get())) {
            for (const QString& path : static_cast<XmlD*>(child.get())->filePaths())
                paths.append(child->name() + QLatin1Char('/') + path);
        }
    }
    return paths;
}

void XmlD::addFileMd5(const QString& path, const QString& md5)
{
    lq::modelFrame(this, "addFile:md5:", [&] {
        if (path.isEmpty() || md5.isNull())
            return;
        const qsizetype slash = path.indexOf(QLatin1Char('/'));
        const QString first = slash < 0 ? path : path.left(slash);
        const QString rest = slash < 0 ? QString() : path.mid(slash + 1);
        for (const XmlBasePtr& child : children()) {
            if (child->name() != first)
                continue;
            if (XmlF* file = XmlF::cast(child.get())) {
                file->setMd5(md5);
                return;
            }
            if (XmlD* folder = XmlD::cast(child.get()); folder && !rest.isEmpty())
                folder->addFileMd5(rest, md5);
            return;
        }
        if (rest.isEmpty()) {
            auto file = XmlF::create();
            file->setName(first);
            file->setMd5(md5);
            addChild(file);
            return;
        }
        auto folder = XmlD::create();
        folder->setName(first);
        addChild(folder);
        folder->addFileMd5(rest, md5);
    });
}

void XmlD::removeFileMd5(const QString& path, const QString& md5)
{
    lq::modelFrame(this, "removeFile:md5:", [&] {
        if (path.isEmpty())
            return;
        const qsizetype slash = path.indexOf(QLatin1Char('/'));
        const QString first = slash < 0 ? path : path.left(slash);
        const QString rest = slash < 0 ? QString() : path.mid(slash + 1);
        for (const XmlBasePtr& child : children()) {
            if (child->name() != first)
                continue;
            if (XmlF::cast(child.get())) {
                removeChild(child.get());
                return;
            }
            if (XmlD* folder = XmlD::cast(child.get()); folder && !rest.isEmpty())
                folder->removeFileMd5(rest, md5);
            return;
        }
    });
}

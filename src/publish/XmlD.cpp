#include "publish/XmlD.h"

#include "platform/Escaping.h"
#include "platform/ExceptionFrame.h"
#include "publish/XmlF.h"

#include <algorithm>
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
    forEachEntry([&](const DigestEntry& entry) {
        if (entry.file)
            paths.append(entry.path);
    });
    return paths;
}

QString XmlD::addressSegment(const QString& name)
{
    QString escaped = lq::urlEscape(name);
    escaped.replace(QLatin1Char('#'), QStringLiteral("%23"));
    escaped.replace(QLatin1Char('?'), QStringLiteral("%3F"));
    escaped.replace(QLatin1Char(';'), QStringLiteral("%3B"));
    escaped.replace(QLatin1Char('/'), QStringLiteral("%2F"));
    escaped.replace(QLatin1Char('\\'), QStringLiteral("%5C"));
    return escaped;
}

bool XmlD::isSafeName(const QString& name)
{
    if (name.isEmpty() || name == QStringLiteral(".") || name == QStringLiteral(".."))
        return false;
    for (const QChar c : name) {
        if (c == QLatin1Char('/') || c == QLatin1Char('\\') || c.category() == QChar::Other_Control)
            return false;
    }
    return true;
}

bool XmlD::isSafePath(const QString& path)
{
    const QStringList parts = path.split(QLatin1Char('/'));
    return std::all_of(parts.cbegin(), parts.cend(), [](const QString& part) { return isSafeName(part); });
}

namespace {

// A name for a message: control characters are shown as escapes, so that a
// name cannot break or hide the line it stands in.
QString shownName(const QString& name)
{
    QString shown = QStringLiteral("\"");
    for (const QChar c : name) {
        if (c.category() == QChar::Other_Control)
            shown += QStringLiteral("\\x") + QString::number(c.unicode(), 16).rightJustified(2, QLatin1Char('0'));
        else
            shown += c;
    }
    return shown + QLatin1Char('"');
}

} // namespace

QString XmlD::firstUnsafeName() const
{
    for (const XmlBasePtr& child : children()) {
        if (!isFileNode(child.get()) && !isFolderNode(child.get()))
            continue;
        const QString name = child->name();
        if (!isSafeName(name))
            return shownName(name);
        if (isFolderNode(child.get())) {
            const QString below = static_cast<const XmlD*>(child.get())->firstUnsafeName();
            if (!below.isEmpty())
                return name + QLatin1Char('/') + below;
        }
    }
    return QString();
}

void XmlD::forEachEntry(const std::function<void(const DigestEntry&)>& visit) const
{
    forEachEntryBelow(QString(), QString(), visit);
}

void XmlD::forEachEntryBelow(const QString& path, const QString& address, const std::function<void(const DigestEntry&)>& visit) const
{
    auto joined = [](const QString& folder, const QString& name) { return folder.isEmpty() ? name : folder + QLatin1Char('/') + name; };
    for (const XmlBasePtr& child : children()) {
        DigestEntry entry;
        entry.name = child->name();
        entry.path = joined(path, entry.name);
        entry.address = joined(address, addressSegment(entry.name));
        if (isFileNode(child.get())) {
            entry.file = static_cast<XmlF*>(child.get());
            visit(entry);
        } else if (isFolderNode(child.get())) {
            entry.folder = static_cast<XmlD*>(child.get());
            visit(entry);
            entry.folder->forEachEntryBelow(entry.path, entry.address, visit);
        }
    }
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

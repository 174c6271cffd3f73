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
    return unsafeNameReason(name).isEmpty();
}

QString XmlD::unsafeNameReason(const QString& name)
{
    if (name.isEmpty() || name == QStringLiteral(".") || name == QStringLiteral(".."))
        return QStringLiteral("its name leads out of the folder");
    for (qsizetype i = 0; i < name.size(); ++i) {
        const QChar c = name.at(i);
        if (c == QLatin1Char('/') || c == QLatin1Char('\\') || c.unicode() == 0)
            return QStringLiteral("its name leads out of the folder");
        if (c.isHighSurrogate() && i + 1 < name.size() && name.at(i + 1).isLowSurrogate()) {
            ++i;
            continue;
        }
        // Half of a character: no file name on disk holds one, and any
        // text made of it would name another file.
        if (c.isSurrogate())
            return QStringLiteral("its name is not text: it holds half of a character (U+")
                + QString::number(c.unicode(), 16).toUpper() + QLatin1Char(')');
    }
    return QString();
}

bool XmlD::isSafePath(const QString& path)
{
    const QStringList parts = path.split(QLatin1Char('/'));
    return std::all_of(parts.cbegin(), parts.cend(), [](const QString& part) { return isSafeName(part); });
}

QString XmlD::shownName(const QString& name)
{
    QString shown;
    shown.reserve(name.size());
    for (qsizetype i = 0; i < name.size(); ++i) {
        const QChar c = name.at(i);
        const bool pair = c.isHighSurrogate() && i + 1 < name.size() && name.at(i + 1).isLowSurrogate();
        if (c.category() == QChar::Other_Control)
            shown += QStringLiteral("\\x") + QString::number(c.unicode(), 16).rightJustified(2, QLatin1Char('0'));
        else if (c.isSurrogate() && !pair && !(c.isLowSurrogate() && i > 0 && name.at(i - 1).isHighSurrogate()))
            shown += QStringLiteral("\\u") + QString::number(c.unicode(), 16).toUpper();
        else
            shown += c;
    }
    return shown;
}

namespace {

// Whether the element reader would take the character apart from the
// name: markup, control and format characters (it drops them), line
// separators. Blanks are judged by where they stand.
bool needsReference(QChar c)
{
    switch (c.unicode()) {
    case '&': case '<': case '>': case '"':
        return true;
    default:
        break;
    }
    switch (c.category()) {
    case QChar::Other_Control:
    case QChar::Other_Format:
    case QChar::Other_Surrogate:
    case QChar::Other_NotAssigned:
    case QChar::Separator_Line:
    case QChar::Separator_Paragraph:
        return true;
    default:
        return false;
    }
}

bool isBlank(QChar c)
{
    return c.category() == QChar::Separator_Space;
}

void appendReference(QString& text, char32_t code)
{
    text += QStringLiteral("&#x") + QString::number(code, 16).toUpper() + QLatin1Char(';');
}

} // namespace

QString XmlD::escapedName(const QString& name)
{
    QString text;
    text.reserve(name.size() + 8);
    for (qsizetype i = 0; i < name.size(); ++i) {
        const QChar c = name.at(i);
        if (c.isHighSurrogate() && i + 1 < name.size() && name.at(i + 1).isLowSurrogate()) {
            const char32_t code = QChar::surrogateToUcs4(c, name.at(i + 1));
            if ((code & 0xFFFE) == 0xFFFE)
                appendReference(text, code);
            else
                text += name.mid(i, 2);
            ++i;
            continue;
        }
        const bool edge = i == 0 || i == name.size() - 1;
        const bool afterBlank = i > 0 && isBlank(name.at(i - 1));
        const bool nonCharacter = c.unicode() == 0xFFFE || c.unicode() == 0xFFFF;
        if (needsReference(c) || nonCharacter || (isBlank(c) && (edge || afterBlank)) || (edge && c == QLatin1Char('=')))
            appendReference(text, c.unicode());
        else
            text += c;
    }
    return text;
}

QString XmlD::nameFromEscaped(QStringView text)
{
    if (!text.contains(u"&#x", Qt::CaseInsensitive))
        return text.toString();
    QString name;
    name.reserve(text.size());
    qsizetype copied = 0;
    for (qsizetype at = text.indexOf(u'&'); at >= 0; at = text.indexOf(u'&', at + 1)) {
        const qsizetype end = text.indexOf(u';', at);
        if (end < 0)
            break;
        if (end - at < 4 || end - at > 9 || text.at(at + 1) != u'#' || (text.at(at + 2) != u'x' && text.at(at + 2) != u'X'))
            continue;
        bool ok = false;
        const uint code = text.sliced(at + 3, end - at - 3).toUInt(&ok, 16);
        // Half of a character comes back as the half it was written for,
        // so that the name is refused as it is instead of read as other text.
        if (!ok || code == 0 || code > 0x10FFFF)
            continue;
        name += text.sliced(copied, at - copied);
        // By code point, as it stands: a conversion from UCS-4 would take
        // U+FEFF for a byte-order mark and drop it.
        if (QChar::requiresSurrogates(code)) {
            name += QChar(QChar::highSurrogate(code));
            name += QChar(QChar::lowSurrogate(code));
        } else {
            name += QChar(char16_t(code));
        }
        copied = end + 1;
        at = end;
    }
    name += text.sliced(copied);
    return name;
}

void XmlD::appendAttributes(QString& xml)
{
    lq::modelFrame(this, "appendAttributes:", [&] {
        const QString name = this->name();
        if (name.isEmpty())
            return;
        xml += QLatin1String(" name=\"");
        xml += escapedName(name);
        xml += QLatin1Char('"');
    });
}

void XmlD::setAttributeTo(const QString& key, const QString& value)
{
    lq::modelFrame(this, "setAttribute:to:", [&] {
        if (key == u"name")
            setName(nameFromEscaped(value));
        else
            XmlBase::setAttributeTo(key, value);
    });
}

QString XmlD::firstUnsafeName() const
{
    for (const XmlBasePtr& child : children()) {
        if (!isFileNode(child.get()) && !isFolderNode(child.get()))
            continue;
        const QString name = child->name();
        if (!isSafeName(name))
            return QLatin1Char('"') + shownName(name) + QLatin1Char('"');
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

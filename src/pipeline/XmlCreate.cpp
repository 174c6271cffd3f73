#include "pipeline/XmlCreate.h"

#include "pipeline/XmlProcessor.h"
#include "platform/ConfinedFolder.h"
#include "platform/Escaping.h"
#include "platform/ExceptionFrame.h"


namespace {

// Whether the relative path stays below the folder it is taken from.
bool staysInside(const QString& relative)
{
    if (relative.startsWith(QLatin1Char('/')) || relative.startsWith(QLatin1Char('\\')))
        return false;
    const QStringList parts = relative.split(QLatin1Char('/'));
    return !parts.contains(QStringLiteral(".."));
}

} // namespace

XmlCreate::XmlCreate(Key key)
    : XmlRun(key)
{
}

std::shared_ptr<XmlCreate> XmlCreate::create()
{
    return make<XmlCreate>();
}

QString XmlCreate::elementName() const
{
    return QStringLiteral("QZcreate");
}

void XmlCreate::setAttributeTo(const QString& key, const QString& value)
{
    lq::modelFrame(this, "setAttribute:to:", [&] {
        if (key == QStringLiteral("dir"))
            setDir(value);
        else if (key == QStringLiteral("filename"))
            setFilename(value);
        else
            XmlRun::setAttributeTo(key, value);
    });
}

void XmlCreate::appendAttributes(QString& xml)
{
    lq::modelFrame(this, "appendAttributes:", [&] {
        XmlRun::appendAttributes(xml);
        xml += QStringLiteral(" dir=\"") + lq::escape(_dir) + QStringLiteral("\" filename=\"") + lq::escape(_filename) + QLatin1Char('"');
    });
}

std::shared_ptr<lq::ConfinedFolder> XmlCreate::siteFolder(QString& why)
{
    XmlProcessor* owner = processor();
    const QString root = owner ? owner->rootDir() : QString();
    if (root.isEmpty()) {
        why = QStringLiteral("no site folder");
        return nullptr;
    }
    return lq::ConfinedFolder::open(root, &why);
}

QString XmlCreate::targetName(QString& why)
{
    if (_filename.isEmpty() || !staysInside(_dir) || !staysInside(_filename)) {
        why = QStringLiteral("refused, the path leads out of the site folder");
        return QString();
    }
    QStringList parts = _dir.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    parts += _filename.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    const QString name = parts.join(QLatin1Char('/'));
    if (const QString unsafe = lq::ConfinedFolder::unsafeName(name); !unsafe.isEmpty()) {
        why = QStringLiteral("refused, ") + unsafe;
        return QString();
    }
    return name;
}

bool XmlCreate::run()
{
    return lq::modelFrame(this, "run", [&] {
        QString why;
        const QString name = targetName(why);
        const std::shared_ptr<lq::ConfinedFolder> folder = name.isEmpty() ? nullptr : siteFolder(why);
        if (!folder) {
            reportFailure(QStringLiteral("error saving file:") + _filename + QStringLiteral(": ") + why);
            return false;
        }
        // A build starts its site afresh: most files are new and are written
        // in one go; one already there is replaced whole or not at all. A
        // link on the way, or in the file's place, is never written through.
        const QByteArray bytes = content().toUtf8();
        bool existed = false;
        if (!folder->writeNewFile(name, bytes, &why, &existed) && (!existed || !folder->writeFileAtomically(name, bytes, &why)))
            reportFailure(QStringLiteral("error saving file:") + _filename + QStringLiteral(": ") + why);
        return false;
    });
}

QString XmlCreate::statusMessage()
{
    return lq::modelFrame(this, "statusMessage", [&] {
        return processorStatus() + QStringLiteral(" saving file:") + _filename + QLatin1Char('\n');
    });
}

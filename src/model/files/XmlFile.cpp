#include "model/files/XmlFile.h"

#include "model/files/XmlFiles.h"
#include "platform/ConfinedFolder.h"
#include "platform/Escaping.h"
#include "platform/ExceptionFrame.h"
#include "platform/Image.h"
#include "platform/Log.h"

#include <clocale>
#include <ctime>
#include <locale.h>

namespace {

// The format of dated names: the display names of revert snapshots.
constexpr const char* dateFormat = "%a %b %d,%Y %I:%M:%S %p";

// The C locale, for day and month names and AM/PM whatever the user's locale.
locale_t cLocale()
{
    static const locale_t locale = newlocale(LC_ALL_MASK, "C", locale_t(nullptr));
    return locale;
}

// Seconds since 1970 (local time) of the date the whole text spells, or 0.
double parseDate(const QString& text)
{
    if (text.isEmpty())
        return 0.0;
    const QByteArray bytes = text.toUtf8();
    std::tm parts {};
    const char* rest = strptime_l(bytes.constData(), dateFormat, &parts, cLocale());
    if (!rest)
        return 0.0;
    while (*rest == ' ' || *rest == '\t' || *rest == '\n')
        ++rest;
    // A counter may follow the date: the second snapshot of one second.
    while (*rest >= '0' && *rest <= '9')
        ++rest;
    if (*rest != '\0')
        return 0.0;
    parts.tm_isdst = -1;
    const std::time_t seconds = std::mktime(&parts);
    if (seconds == std::time_t(-1))
        return 0.0;
    return static_cast<double>(seconds);
}

} // namespace

XmlFile::XmlFile(Key key)
    : XmlBase(key)
{
    _edit_name = false;
}

std::shared_ptr<XmlFile> XmlFile::create()
{
    return make<XmlFile>();
}

QString XmlFile::elementName() const
{
    return QStringLiteral("file");
}

QImage XmlFile::iconImage()
{
    return lq::namedImage(QStringLiteral("xmlpage"));
}

QString XmlFile::fullname() const
{
    return lq::modelFrame(this, "fullname", [&]() -> QString {
        if (_parent) {
            const QString folder = _parent->fullname();
            if (!folder.isNull())
                _savedFullname = folder + QLatin1Char('/') + _filename;
        }
        return _savedFullname;
    });
}

QString XmlFile::filenameWithRoot(const QString& root)
{
    return lq::modelFrame(this, "filenameWithRoot:", [&]() -> QString {
        const QString folder = _parent ? _parent->filenameWithRoot(root) : QString();
        return folder + _filename;
    });
}

void XmlFile::listOfFilesToCopyAll(QStringList& files, bool)
{
    lq::modelFrame(this, "listOfFilesToCopy:all:", [&] {
        files.append(filenameWithRoot(QStringLiteral("files")));
    });
}

XmlBasePtr XmlFile::createChildFromTag(const QString&)
{
    return nullptr;
}

void XmlFile::setAttributeTo(const QString& key, const QString& value)
{
    lq::modelFrame(this, "setAttribute:to:", [&] {
        if (key == QLatin1String("filename"))
            setFilename(value);
        else
            XmlBase::setAttributeTo(key, value);
    });
}

void XmlFile::appendAttributes(QString& xml)
{
    lq::modelFrame(this, "appendAttributes:", [&] {
        XmlBase::appendAttributes(xml);
        xml += QLatin1String(" filename=\"");
        xml += lq::escape(_filename);
        xml += QLatin1Char('"');
    });
}

QString XmlFile::name() const
{
    return _filename;
}

void XmlFile::setFilename(const QString& filename)
{
    setStored(_filename, filename, "setFilename:");
}

bool XmlFile::renameFilename(const QString& newName, QString* why)
{
    return lq::modelFrame(this, "renameFilename:", [&]() -> bool {
        if (!_parent || !isPlainName(newName) || !isPlainName(_filename))
            return false;
        QString failure;
        const std::shared_ptr<lq::ConfinedFolder> folder = XmlFiles::treeFolderOf(this, &failure);
        const QString above = XmlFiles::pathInTree(_parent);
        // Never over an item of the name, a dangling link included.
        if (!folder
            || !folder->rename(XmlFiles::pathInTree(this), above.isEmpty() ? newName : above + QLatin1Char('/') + newName,
                lq::ConfinedFolder::Replace::Never, &failure)) {
            lq::log(failure);
            if (why)
                *why = failure;
            return false;
        }
        setFilename(newName);
        return true;
    });
}

double XmlFile::creationDate()
{
    return lq::modelFrame(this, "creationDate", [&]() -> double {
        if (_creationDate == 0.0)
            _creationDate = parseDate(name());
        return _creationDate;
    });
}

int XmlFile::compareCreationDate(XmlBase* other)
{
    return lq::modelFrame(this, "compareCreationDate:", [&] { return compareCreationDates(this, other); });
}

bool XmlFile::isPlainName(const QString& name)
{
    return !name.isEmpty() && name != QLatin1String(".") && name != QLatin1String("..")
        && !name.contains(QLatin1Char('/')) && !name.contains(QChar(u'\0'));
}

std::optional<double> XmlFile::creationDateOf(XmlBase* element)
{
    if (XmlFile* file = XmlFile::cast(element))
        return file->creationDate();
    if (XmlFiles* files = XmlFiles::cast(element))
        return files->creationDate();
    return std::nullopt;
}

int XmlFile::compareCreationDates(XmlBase* element, XmlBase* other)
{
    const std::optional<double> theirs = creationDateOf(other);
    if (!theirs)
        return -1;
    // The element's own date is only worked out once the other has one.
    const double mine = creationDateOf(element).value_or(0.0);
    if (*theirs > mine)
        return 1;
    if (mine > *theirs)
        return -1;
    return 0;
}

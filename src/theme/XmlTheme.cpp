#include "theme/XmlTheme.h"

#include "model/core/DocumentBase.h"
#include "model/site/XmlSite.h"
#include "platform/ExceptionFrame.h"
#include "platform/Strings.h"
#include "templates/XmlStyleSheet.h"

using namespace lq::literals;

XmlTheme::XmlTheme(Key key)
    : XmlThemeRoot(key)
{
}

std::shared_ptr<XmlTheme> XmlTheme::create()
{
    return make<XmlTheme>();
}

void XmlTheme::setAttributeTo(const QString& key, const QString& value)
{
    lq::modelFrame(this, "setAttribute:to:", [&] {
        if (key == u"autoAdd"_sv)
            _autoAdd = value.toInt();
        else
            XmlThemeRoot::setAttributeTo(key, value);
    });
}

DocumentBase* XmlTheme::fileRootDocument()
{
    return _myDocument;
}

void XmlTheme::docChanged()
{
    lq::modelFrame(this, "docChanged", [&] {
        if (_myDocument)
            _myDocument->updateChangeCount(DocumentBase::ChangeDone);
    });
}

void XmlTheme::falseAlarm(bool suppress)
{
    lq::modelFrame(this, "falseAlarm:", [&] {
        if (_myDocument)
            _myDocument->falseAlarm(suppress);
    });
}

void XmlTheme::addTemplate(const std::shared_ptr<XmlStyleSheet>& sheet)
{
    lq::modelFrame(this, "addTemplate:", [&] {
        if (!sheet)
            return;
        sheet->setTemplateSeqNum(templateSeqNumber());
        addChild(sheet);
    });
}

int XmlTheme::vornboxSeqNumber()
{
    return XmlThemeRoot::vornboxSeqNumber();
}

void XmlTheme::listOfBitmaps(QStringList& names)
{
    lq::modelFrame(this, "listOfBitmaps:", [&] {
        for (const auto& sheet : childrenOfType<XmlStyleSheet>())
            sheet->listOfBitmaps(names);
    });
}

void XmlTheme::checkTemplateSeqNums()
{
    lq::modelFrame(this, "checkTemplateSeqNums", [&] {
        XmlStyleSheet* first = XmlStyleSheet::cast(firstChild().get());
        if (!first)
            return;
        first->setTemplateSeqNum(0);
        bool changed = true;
        while (changed) {
            changed = false;
            const XmlBaseList list = children();
            for (int i = 0; i < list.size(); ++i) {
                XmlStyleSheet* earlier = XmlStyleSheet::cast(list[i].get());
                if (!earlier)
                    continue;
                for (int j = i + 1; j < list.size(); ++j) {
                    XmlStyleSheet* later = XmlStyleSheet::cast(list[j].get());
                    if (later && later->templateSeqNum() == earlier->templateSeqNum()) {
                        later->setTemplateSeqNum(templateSeqNumber());
                        changed = true;
                    }
                }
            }
        }
    });
}

void XmlTheme::crossReferenceXmlSite(XmlSite* site)
{
    lq::modelFrame(this, "crossReferenceXmlSite:", [&] {
        // Background bitmaps with the same content are shared: every picture
        // UUID of a group of identical files maps to the last one listed.
        QHash<QString, QString> renaming;
        if (_myDocument && !storedRootDir().isEmpty()) {
            const QList<FileDigest> bitmaps = _myDocument->fileDigests(rootDir() + QStringLiteral("/bitmaps2/"));
            const auto stem = [](const QString& name) {
                const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
                return dot < 0 ? name : name.left(dot);
            };
            QHash<QString, QString> byDigest;
            byDigest.reserve(bitmaps.size());
            for (const FileDigest& file : bitmaps)
                byDigest.insert(file.md5, stem(file.name));
            for (const FileDigest& file : bitmaps) {
                const QString name = stem(file.name);
                const QString shared = byDigest.value(file.md5);
                if (name != shared)
                    renaming.insert(name, shared);
            }
        }
        checkTemplateSeqNums();
        for (const auto& sheet : childrenOfType<XmlStyleSheet>()) {
            if (site)
                site->setTemplateForUUID(sheet->templateSeqNum(), sheet->UUID());
            if (!renaming.isEmpty())
                sheet->changeImageUUID(renaming);
        }
    });
}

#include "model/theme/XmlTheme.h"

#include "model/core/DocumentBase.h"
#include "model/core/DocumentFolder.h"
#include "model/site/XmlSite.h"
#include "platform/ExceptionFrame.h"
#include "templates/XmlStyleSheet.h"


XmlTheme::XmlTheme(Key key)
    : XmlBase(key)
{
    _have_children = true;
    setHaveContent(true);
}

std::shared_ptr<XmlTheme> XmlTheme::create()
{
    return make<XmlTheme>();
}

QString XmlTheme::elementName() const
{
    return QStringLiteral("theme");
}

bool XmlTheme::canYouBeMyParent(XmlBase* child)
{
    return lq::modelFrame(this, "canYouBeMyParent:", [&] {
        return XmlStyleSheet::cast(child) != nullptr;
    });
}

void XmlTheme::setAttributeTo(const QString& key, const QString& value)
{
    lq::modelFrame(this, "setAttribute:to:", [&] {
        if (key == u"tseq")
            template_sequence_number = value.toInt();
        else if (key == u"xseq")
            vornbox_sequence_number = value.toInt();
        else if (key == u"autoAdd")
            _autoAdd = value.toInt();
        else
            XmlBase::setAttributeTo(key, value);
    });
}

void XmlTheme::appendAttributes(QString& xml)
{
    lq::modelFrame(this, "appendAttributes:", [&] {
        XmlBase::appendAttributes(xml);
        xml += QStringLiteral(" tseq=\"%1\" xseq=\"%2\"").arg(QString::number(template_sequence_number), QString::number(vornbox_sequence_number));
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

int XmlTheme::templateSeqNumber()
{
    return lq::modelFrame(this, "templateSeqNumber", [&] { return template_sequence_number++; });
}

int XmlTheme::vornboxSeqNumber()
{
    return lq::modelFrame(this, "vornboxSeqNumber", [&] { return vornbox_sequence_number++; });
}

void XmlTheme::listOfBitmaps(QStringList& names)
{
    lq::modelFrame(this, "listOfBitmaps:", [&] {
        for (const auto& sheet : childrenOfType<XmlStyleSheet>())
            sheet->listOfBitmaps(names);
    });
}

QString XmlTheme::rootDir()
{
    return lq::modelFrame(this, "rootDir", [&] {
        return checkedDocumentFolder(_rootDir);
    });
}

void XmlTheme::setRootDir(const QString& path)
{
    setStored(_rootDir, path, "setRootDir:");
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
        if (_myDocument && !_rootDir.isEmpty()) {
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

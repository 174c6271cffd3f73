#include "theme/XmlThemeRoot.h"

#include "model/core/DocumentFolder.h"
#include "platform/ExceptionFrame.h"
#include "platform/Strings.h"
#include "templates/XmlStyleSheet.h"

using namespace lq::literals;

XmlThemeRoot::XmlThemeRoot(Key key)
    : XmlBase(key)
{
    _have_children = true;
    setHaveContent(true);
}

QString XmlThemeRoot::elementName() const
{
    return QStringLiteral("theme");
}

bool XmlThemeRoot::canYouBeMyParent(XmlBase* child)
{
    return lq::modelFrame(this, "canYouBeMyParent:", [&] {
        return XmlStyleSheet::cast(child) != nullptr;
    });
}

void XmlThemeRoot::setAttributeTo(const QString& key, const QString& value)
{
    lq::modelFrame(this, "setAttribute:to:", [&] {
        if (key == u"tseq"_sv)
            template_sequence_number = value.toInt();
        else if (key == u"xseq"_sv)
            vornbox_sequence_number = value.toInt();
        else
            XmlBase::setAttributeTo(key, value);
    });
}

void XmlThemeRoot::appendAttributes(QString& xml)
{
    lq::modelFrame(this, "appendAttributes:", [&] {
        XmlBase::appendAttributes(xml);
        xml += QStringLiteral(" tseq=\"%1\" xseq=\"%2\"").arg(QString::number(template_sequence_number), QString::number(vornbox_sequence_number));
    });
}

int XmlThemeRoot::templateSeqNumber()
{
    return lq::modelFrame(this, "templateSeqNumber", [&] { return template_sequence_number++; });
}

int XmlThemeRoot::vornboxSeqNumber()
{
    return lq::modelFrame(this, "vornboxSeqNumber", [&] { return vornbox_sequence_number++; });
}

QString XmlThemeRoot::rootDir()
{
    return lq::modelFrame(this, "rootDir", [&] {
        return checkedDocumentFolder(_rootDir);
    });
}

void XmlThemeRoot::setRootDir(const QString& path)
{
    setStored(_rootDir, path, "setRootDir:");
}

#include "document/ThemeImport.h"

#include "document/MyDocument.h"
#include "document/ThemeArchive.h"
#include "model/site/XmlAlbum.h"
#include "model/site/XmlSite.h"
#include "theme/XmlTheme.h"
#include "platform/ExceptionFrame.h"
#include "platform/Log.h"
#include "templates/XmlStyleSheet.h"

ThemeImport::ThemeImport(MyDocument& document)
    : _document(document)
{
}

bool ThemeImport::importTheme(const ThemeArchive& archive, bool replace, const QString& comment, QStringList* kept)
{
    _document._lastError.clear();
    const std::shared_ptr<XmlTheme>& incoming = archive.theme();
    XmlSite* site = _document.site();
    if (!site || !_document._theme || !incoming)
        return _document.fail(QStringLiteral("could not import the theme: there is no site or no theme"));
    // What the templates were, for a failed import to take back.
    const bool wasEdited = _document.isDocumentEdited();
    const std::shared_ptr<XmlTheme> before = _document._theme;
    const int nextTemplate = before->peekTemplateSeqNumber();
    struct Binding {
        XmlAlbum* page;
        int number;
        QString uuid;
    };
    QList<Binding> bindings;
    const std::function<void(XmlBase*)> collect = [&](XmlBase* node) {
        if (auto* page = dynamic_cast<XmlAlbum*>(node))
            bindings.append({ page, page->templateNum(), page->templateUUID() });
        for (const XmlBasePtr& child : node->children())
            collect(child.get());
    };
    collect(site);
    QList<std::shared_ptr<XmlStyleSheet>> added;

    if (replace) {
        _document.replaceTheme(incoming);
        if (XmlStyleSheet* first = _document.defaultTemplate())
            site->setTemplateForUUID(-1, first->UUID());
    } else {
        // The new templates come after the site's own, numbered by its theme.
        for (const XmlBasePtr& child : incoming->children()) {
            auto sheet = std::dynamic_pointer_cast<XmlStyleSheet>(child);
            if (!sheet)
                break;
            added.append(std::dynamic_pointer_cast<XmlStyleSheet>(sheet->copyWithZone()));
            before->addTemplate(added.last());
        }
    }
    if (_document.save(_document.fileName(), comment, &archive, kept))
        return true;

    const QString why = _document._lastError;
    if (replace) {
        _document.replaceTheme(before);
        for (const Binding& binding : bindings) {
            binding.page->setTemplateForUUID(-1, binding.uuid);
            binding.page->setTemplateNum(binding.number);
        }
    } else {
        for (const auto& sheet : added)
            before->removeChild(sheet.get());
        before->setTemplateSeqNumber(nextTemplate);
    }
    if (!wasEdited)
        _document.clearChangeCount();
    _document._lastError = why;
    return false;
}

// The site document's theme import: new templates saved with their pictures
// and files in one change of the document's files.
#include "document/MyDocument.h"

#include "document/ThemeArchive.h"
#include "model/site/XmlAlbum.h"
#include "model/site/XmlSite.h"
#include "model/theme/XmlTheme.h"
#include "platform/ExceptionFrame.h"
#include "platform/Log.h"
#include "templates/XmlStyleSheet.h"

bool MyDocument::importTheme(const ThemeArchive& archive, bool replace, const QString& comment, QStringList* kept)
{
    _lastError.clear();
    const std::shared_ptr<XmlTheme>& incoming = archive.theme();
    if (!_site || !_theme || !incoming)
        return fail(QStringLiteral("could not import the theme: there is no site or no theme"));
    // What the templates were, for a failed import to take back.
    const bool wasEdited = isDocumentEdited();
    const std::shared_ptr<XmlTheme> before = _theme;
    const int nextTemplate = _theme->peekTemplateSeqNumber();
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
    collect(_site.get());
    QList<std::shared_ptr<XmlStyleSheet>> added;

    if (replace) {
        replaceTheme(incoming);
        if (XmlStyleSheet* first = defaultTemplate())
            _site->setTemplateForUUID(-1, first->UUID());
    } else {
        // The new templates come after the site's own, numbered by its theme.
        for (const XmlBasePtr& child : incoming->children()) {
            auto sheet = std::dynamic_pointer_cast<XmlStyleSheet>(child);
            if (!sheet)
                break;
            added.append(std::dynamic_pointer_cast<XmlStyleSheet>(sheet->copyWithZone()));
            _theme->addTemplate(added.last());
        }
    }
    if (save(fileName(), comment, &archive, kept))
        return true;

    const QString why = _lastError;
    if (replace) {
        replaceTheme(before);
        for (const Binding& binding : bindings) {
            binding.page->setTemplateForUUID(-1, binding.uuid);
            binding.page->setTemplateNum(binding.number);
        }
    } else {
        for (const auto& sheet : added)
            _theme->removeChild(sheet.get());
        _theme->setTemplateSeqNumber(nextTemplate);
    }
    if (!wasEdited)
        clearChangeCount();
    _lastError = why;
    return false;
}

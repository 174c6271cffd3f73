#include "ui/app/CopyElements.h"

#include "document/MyDocument.h"
#include "ui/editors/XmlOutlineView.h"
#include "elements/XmlVornBox.h"
#include "model/core/XmlEnvelop.h"
#include "model/core/XmlEnvelops.h"
#include "theme/XmlTheme.h"
#include "platform/ExceptionFrame.h"
#include "templates/XmlCSSImage.h"
#include "templates/XmlStyleSheet.h"

#include <QHBoxLayout>

CopyElements::CopyElements(QWidget* window, MyDocument& document)
    : CheckListSheet(window, QStringLiteral("Copy Elements"))
    , _document(document)
    , _elementList(addCheckList(QStringLiteral("Copy these parts:")))
    , _templateList(addCheckList(QStringLiteral("Into these templates:")))
{
}

void CopyElements::copyElements(XmlStyleSheet* source)
{
    lq::uiFrame(this, "copyElements:", [&] {
        XmlTheme* theme = _document.theme();
        if (!theme)
            return;
        const std::shared_ptr<XmlEnvelops> targets = referenceTree();
        for (const auto& sheet : theme->childrenOfType<XmlStyleSheet>()) {
            if (sheet.get() != source)
                addReference(*targets, sheet->name(), *sheet);
        }
        const std::shared_ptr<XmlEnvelops> parts = referenceTree();
        if (!source) {
            // Nothing to copy from: the list still shows what a template offers.
            auto settings = XmlEnvelop::create();
            settings->setName(QStringLiteral("Page Settings"));
            parts->addChild(settings);
        } else {
            addReference(*parts, QStringLiteral("Page Settings"), *source);
            for (const XmlBasePtr& element : source->children()) {
                const auto* box = dynamic_cast<const XmlVornBox*>(element.get());
                addReference(*parts, box ? box->fullname() : element->name(), *element);
            }
        }
        _templateList->setXmlBase(targets->UUID());
        _elementList->setXmlBase(parts->UUID());
        if (!runSheet(QStringLiteral("Copy")) || !source)
            return;
        const XmlBaseList chosen = checkedElements(*parts);
        for (const XmlBasePtr& target : checkedElements(*targets)) {
            if (auto* sheet = XmlStyleSheet::cast(target.get()); sheet && sheet != source)
                copyElementsFromToSheet(*source, *sheet, chosen);
        }
    });
}

void CopyElements::copyElementsFromToSheet(XmlStyleSheet& source, XmlStyleSheet& target, const XmlBaseList& parts)
{
    lq::uiFrame(this, "copyElementsFrom:toSheet:", [&] {
        for (const XmlBasePtr& part : parts) {
            if (part.get() == &source) {
                target.setCenterHorz(source.centerHorz());
                target.setCenterVert(source.centerVert());
                target.setBkgnd(source.bkgnd());
                target.setBkgndColor(source.bkgndColor());
                if (source.image())
                    target.setImage(std::dynamic_pointer_cast<XmlCSSImage>(source.image()->copyWithZone()));
                target.setBxoffset(source.bxoffset());
                target.setByoffset(source.byoffset());
                target.setTopSlice(source.topSlice());
                target.setBottomSlice(source.bottomSlice());
            } else if (dynamic_cast<XmlVornBox*>(part.get())) {
                target.addChild(part->copyWithZone());
            } else if (XmlCSS::cast(part.get())) {
                if (const XmlBasePtr own = target.getElementWithName(part->name()))
                    target.replaceChildWithCopyOf(own.get(), part.get());
            }
        }
    });
}

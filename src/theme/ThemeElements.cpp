#include "theme/ThemeElements.h"

#include "elements/PageElements.h"
#include "model/core/ElementFactory.h"
#include "theme/XmlLegacyTheme.h"
#include "theme/XmlTheme.h"

namespace lq {

void registerThemeElements()
{
    registerPageElements();
    lq::addFactoryTags({
        { "QZtheme", &lq::makeElement<XmlLegacyTheme> },
        { "theme", &lq::makeElement<XmlTheme> },
    });
}

} // namespace lq

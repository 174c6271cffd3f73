#include "model/theme/ThemeElements.h"

#include "elements/PageElements.h"
#include "model/core/ElementFactory.h"
#include "model/theme/XmlLegacyTheme.h"
#include "model/theme/XmlTheme.h"

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

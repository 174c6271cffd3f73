#include "model/theme/ThemeElements.h"

#include "elements/PageElements.h"
#include "model/theme/XmlLegacyTheme.h"
#include "model/theme/XmlTheme.h"

namespace lq {

void registerThemeElements()
{
    registerPageElements();
    XmlBase::addFactoryTags({
        { "QZtheme", &XmlBase::makeElement<XmlLegacyTheme> },
        { "theme", &XmlBase::makeElement<XmlTheme> },
    });
}

} // namespace lq

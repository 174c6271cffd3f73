#include "model/imaging/TemplateIcons.h"

#include "model/imaging/XmlImage.h"
#include "platform/ExceptionFrame.h"
#include "platform/ImageFiles.h"
#include "platform/Resources.h"

#include <array>

namespace lq {

std::shared_ptr<XmlImage> ticon(int index)
{
    static std::array<std::shared_ptr<XmlImage>, 7> ticons;
    return lq::classFrame("TemplateIcons ticon:", [&] {
        if (index < 0 || index >= static_cast<int>(ticons.size()))
            index = 0;
        std::shared_ptr<XmlImage>& slot = ticons[static_cast<std::size_t>(index)];
        if (!slot) {
            const QString path = QStringLiteral("%1/templates/ticon%2.png").arg(lq::resourceFolder(), QString::number(index + 1));
            slot = XmlImage::createFromImage(lq::GraphicsImage(lq::loadImageFile(path)));
        }
        return slot;
    });
}

} // namespace lq

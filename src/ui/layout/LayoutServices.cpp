#include "ui/layout/LayoutServices.h"

#include "ui/app/MyDocumentWindow.h"
#include "ui/layout/LayoutController.h"
#include "platform/Services.h"

namespace lq {

void registerLayoutServices(Services& services)
{
    services.layoutFactory = [](MyDocumentWindow& window) -> std::unique_ptr<LayoutControllerBase> {
        return std::make_unique<LayoutController>(window);
    };
}

} // namespace lq

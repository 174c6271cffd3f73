#include "ui/widgets/WidgetServices.h"

#include "platform/Services.h"
#include "ui/widgets/CanvasTextEditor.h"
#include "ui/widgets/ModalHandler.h"

namespace lq {

void registerWidgetServices(Services& services)
{
    services.alertHandler = [](const QString& title, const QString& message, const QString& button) {
        runAlert(nullptr, title, message, {button});
    };
    services.inPlaceTextEditorFactory = [] { return std::make_unique<CanvasTextEditor>(); };
}

} // namespace lq

#include "platform/text/InPlaceTextEditor.h"

#include "platform/Services.h"

namespace lq {

InPlaceTextEditor::~InPlaceTextEditor() = default;

std::unique_ptr<InPlaceTextEditor> InPlaceTextEditor::make()
{
    const auto& factory = services().inPlaceTextEditorFactory;
    return factory ? factory() : nullptr;
}

} // namespace lq

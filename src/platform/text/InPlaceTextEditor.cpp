#include "platform/text/InPlaceTextEditor.h"

namespace lq {

namespace {

InPlaceTextEditor::Factory& installedFactory()
{
    static InPlaceTextEditor::Factory factory;
    return factory;
}

} // namespace

InPlaceTextEditor::~InPlaceTextEditor() = default;

void InPlaceTextEditor::setFactory(Factory factory)
{
    installedFactory() = std::move(factory);
}

std::unique_ptr<InPlaceTextEditor> InPlaceTextEditor::make()
{
    const Factory& factory = installedFactory();
    return factory ? factory() : nullptr;
}

} // namespace lq

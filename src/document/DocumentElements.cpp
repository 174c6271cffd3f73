#include "document/DocumentElements.h"

#include "pipeline/ScriptSteps.h"
#include "publish/PublishElements.h"

namespace lq {

void registerDocumentElements()
{
    registerScriptSteps();
    registerPublishElements();
}

} // namespace lq

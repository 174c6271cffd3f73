#include "ui/app/HostKeyQuestion.h"

#include "publish/HostKey.h"
#include "publish/TransferMessages.h"
#include "ui/widgets/ModalHandler.h"

bool askToTrustHostKey(QWidget* window, const HostKey& key)
{
    // Trusting a key stays for every later connection: Return answers Cancel,
    // and only a click on Trust trusts it.
    lq::AlertRequest request;
    request.window = window;
    request.title = lq::hostKeyQuestionTitle(key);
    request.message = lq::hostKeyQuestion(key);
    request.buttons = { QStringLiteral("Trust"), QStringLiteral("Cancel") };
    request.defaultButton = 1;
    return lq::modalHandler().runAlert(request) == 0;
}

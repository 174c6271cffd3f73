#include "ui/app/HostKeyQuestion.h"

#include "publish/HostKey.h"
#include "publish/TransferMessages.h"
#include "ui/widgets/ModalHandler.h"

bool askToTrustHostKey(QWidget* window, const HostKey& key)
{
    return lq::runAlert(window, lq::hostKeyQuestionTitle(key), lq::hostKeyQuestion(key), { QStringLiteral("Trust"), QStringLiteral("Cancel") }) == 0;
}

#include "publish/PublishRequest.h"

#include "publish/ServerKind.h"
#include "publish/XmlLocation.h"

PublishRequest PublishRequest::fromLocation(XmlLocation& where, const QString& pathName, bool changesOnly)
{
    PublishRequest request;
    request.pathName = pathName;
    request.changesOnly = changesOnly;
    const ServerKind& kind = ServerKind::of(where.serverType());
    request.road = kind.road;
    kind.fillRequest(where, request);
    return request;
}

#include "publish/Publisher.h"

#include "model/core/DocumentBase.h"
#include "publish/PublishObserver.h"
#include "publish/SendController.h"
#include "publish/SiteBuilder.h"
#include "publish/XmlBom.h"
#include "publish/XmlD.h"

Publisher::Publisher(DocumentBase& document, SendController& uploader)
    : _document(document)
    , _uploader(uploader)
{
    _uploader.setRetryHandler([this] {
        PublishRequest again = _last;
        again.changesOnly = true;
        // The destination as it is now: a revert may have read it anew.
        if (again.location && _builder)
            again.location = _builder->destination();
        send(again);
    });
}

Publisher::~Publisher()
{
    _uploader.setRetryHandler({});
}

void Publisher::addObserver(PublishObserver* observer)
{
    _uploader.addObserver(observer);
}

void Publisher::removeObserver(PublishObserver* observer)
{
    _uploader.removeObserver(observer);
}

ChangeSet Publisher::changeSet(bool changesOnly)
{
    std::shared_ptr<XmlD> current;
    QString error;
    QString notice;
    _bom = SendController::changesToPublish(&_document, !changesOnly, &current, &_lastPublished, &error, &notice);
    _uploader.setNotice(notice);
    if (!_bom)
        _uploader.showStartError(error);
    return { _bom.get(), current, _lastPublished };
}

void Publisher::publish(const PublishRequest& request)
{
    buildThenSend(request);
}

void Publisher::publishChanges(const PublishRequest& request)
{
    PublishRequest changes = request;
    changes.changesOnly = true;
    buildThenSend(changes);
}

void Publisher::sendChanges()
{
    XmlLocation* where = _builder ? _builder->destination() : nullptr;
    if (!where)
        return;
    const PublishRequest request = PublishRequest::fromLocation(*where, _builder->generatedFolder(), true);
    if (request.destinationChanged)
        _document.updateChangeCount(DocumentBase::ChangeDone);
    if (request.road == PublishRequest::Road::Folder) {
        _uploader.observers().tell([](PublishObserver& observer) { observer.destinationNeeded(); });
        return;
    }
    if (!request.isValid()) {
        _uploader.observers().tell([&](PublishObserver& observer) { observer.publicationRefused(request.errorTitle, request.error); });
        return;
    }
    _uploader.setSending(true);
    publishChanges(request);
}

void Publisher::buildThenSend(const PublishRequest& request)
{
    _last = request;
    if (!_builder) {
        send(request);
        return;
    }
    // The run begins with the build, so that Cancel stops it there too.
    const quint64 build = ++_builds;
    _uploader.beginBuild([this] {
        if (_builder)
            _builder->cancelBuild();
    });
    _builder->buildSite(
        [this, request, build] {
            if (build != _builds || !_uploader.isBuilding())
                return;
            _uploader.buildEnded();
            send(request);
        },
        [this, build](const QString& why) {
            if (build != _builds || !_uploader.isBuilding())
                return;
            _uploader.buildFailed(why);
            _uploader.observers().tell([&](PublishObserver& observer) { observer.buildFailed(why); });
        },
        // What the build made goes to the run's details, not to the Activity log.
        [this](const QString& line) {
            if (const QString made = line.trimmed(); !made.isEmpty())
                _uploader.debug(made);
        });
}

void Publisher::testConnection(const PublishRequest& request)
{
    _uploader.test(request);
}

void Publisher::send(const PublishRequest& request)
{
    _last = request;
    if (!_uploader.roadFor(request.road))
        return;
    const ChangeSet changes = changeSet(request.changesOnly);
    if (!changes.bom)
        return;
    _uploader.send(request, changes);
}

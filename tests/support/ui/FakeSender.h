#pragma once
// An uploader that only notes what the publish panel and the document's
// commands ask of it.
#include "app/SendControllerBase.h"

#include <QList>
#include <QStringList>

struct FakeSender : SendControllerBase {
    QStringList calls;
    QList<Request> requests;
    QString folder;
    bool changesOnly = false;
    void startSending(const Request& r) override { calls << "startSending"; requests << r; }
    void sendBom(const Request& r) override { calls << "sendBom"; requests << r; }
    void sendFTPBom(XmlLocation*, const QString&, bool only) override { calls << "sendFTPBom"; changesOnly = only; }
    void ftpTestExport(XmlLocation*, const QString&) override { calls << "ftpTestExport"; }
    void webDAVTest(const Request& r) override
    {
        calls << "webDAVTest";
        requests << r;
    }
    void exportToFolder(const QString&, const QString& to, bool only) override
    {
        calls << "exportToFolder";
        folder = to;
        changesOnly = only;
    }
    void sendChanges() override { calls << "sendChanges"; }
};

#include "model/files/XmlStandAloneFiles.h"

#include "platform/ExceptionFrame.h"

XmlStandAloneFiles::XmlStandAloneFiles(Key key)
    : XmlFiles(key)
{
}

std::shared_ptr<XmlStandAloneFiles> XmlStandAloneFiles::create()
{
    return make<XmlStandAloneFiles>();
}

QString XmlStandAloneFiles::fullname() const
{
    return _rootDir.isNull() ? QStringLiteral("no root dir") : _rootDir;
}

QString XmlStandAloneFiles::rootDir()
{
    return _rootDir;
}

void XmlStandAloneFiles::setRootDir(const QString& path)
{
    _rootDir = path;
}

void XmlStandAloneFiles::setFoldersFiles(bool folders, bool files)
{
    _folders = folders;
    _files = files;
}

void XmlStandAloneFiles::refresh()
{
    lq::modelFrame(this, "refresh", [&] {
        removeAllChildren();
        if (_rootDir.isEmpty())
            return;
        addDirectoryTreeToFoldersFiles(fullname(), this, _folders, _files);
    });
}

#include "model/files/XmlStandAloneFiles.h"

#include "model/files/DirectoryWalk.h"
#include "platform/ConfinedFolder.h"
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
    _folder.reset();
}

void XmlStandAloneFiles::setFolder(const std::shared_ptr<lq::ConfinedFolder>& folder)
{
    _folder = folder;
    _rootDir = folder ? folder->path() : QString();
}

std::shared_ptr<lq::ConfinedFolder> XmlStandAloneFiles::treeFolder(QString* error)
{
    if (_folder)
        return _folder;
    return _rootDir.isEmpty() ? nullptr : lq::ConfinedFolder::open(_rootDir, error);
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
        const std::shared_ptr<lq::ConfinedFolder> folder = treeFolder();
        if (!folder)
            return;
        using Folders = DirectoryWalk::Folders;
        addDirectoryTree(*folder, QString(), this,
            { .folders = _folders ? Folders::AsElements : Folders::Skip, .files = _files, .hiddenFiles = false, .archives = true });
    });
}

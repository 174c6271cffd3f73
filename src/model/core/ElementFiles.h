#pragma once

#include "model/core/XmlBase.h"

#include <QByteArray>
#include <QImage>
#include <QString>

#include <memory>
#include <optional>

namespace lq {

class ConfinedFolder;

// --- Document files ------------------------------------------------------------
// The tree of the document file at the path (UTF-8, or the enciphered form),
// its root folder the file's folder; nothing when it cannot be read, holds
// no element or more than the bound on document files.
XmlBasePtr createWithFile(const QString& path);
// The same for the file at the name below the folder, read through its
// gateway (no link followed).
XmlBasePtr createWithFile(const ConfinedFolder& folder, const QString& name);
// The tree of a document file's bytes; nothing when they hold no element.
XmlBasePtr createWithData(const QByteArray& bytes, const QString& rootDir);

// Atomic write of the element's XML text as UTF-8, on the disk before it
// replaces the old file and readable by its owner only; answers whether it
// was written.
bool saveToFile(XmlBase& element, const QString& path);
// The same through a folder's gateway, to the name below it.
bool saveInto(XmlBase& element, ConfinedFolder& folder, const QString& name);

// --- Files of an element's root folder -------------------------------------------
// The gateway to the folder of the element's file root: its document's own,
// or, for a tree that no document with a folder holds, one opened on
// rootDir. Nothing when that folder cannot be opened. Names given to it are
// relative to rootDir.
std::shared_ptr<ConfinedFolder> rootFolder(XmlBase& element);
// Writes the image (JPEG at the compression, or by the name's extension) to
// the name below the element's root folder, through its gateway, making the
// folders on the way; answers whether it was written, and why not.
bool saveImageInRootFolder(XmlBase& element, const QImage& image, const QString& name, float compression, QString* error = nullptr);
// The bytes of the file at the path: read through the root folder's gateway
// when the path lies below the element's root folder (so a name the site
// gives never reads a file outside it), else from the path itself (a file
// the user chose, outside every site). Nothing when it cannot be read, or
// holds more than the bound (negative: none).
std::optional<QByteArray> readFileAt(XmlBase& element, const QString& path, qint64 bound = -1, QString* error = nullptr);

} // namespace lq

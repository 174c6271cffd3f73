#pragma once

#include "model/files/XmlFile.h"

#include <optional>

// A zip archive in a file list (extension "qvzip"): a theme or a snapshot of
// a document, with a preview icon ("icon.jpg") and a comment kept inside the
// archive itself. Icon and comment are read from the archive once and kept;
// setting them writes the archive, not the document.
class XmlQVZIPFile final : public XmlFile {
public:
    explicit XmlQVZIPFile(Key key);

    static std::shared_ptr<XmlQVZIPFile> create();
    static XmlQVZIPFile* cast(XmlBase* object) { return dynamic_cast<XmlQVZIPFile*>(object); }

    // The archive's icon; the "noimage" image when it has none. Looked for once.
    QImage iconImage() override;
    void setIconImage(const QImage& image);
    // The archive's comment; "" when it cannot be read. Read once.
    QString comment();
    void setComment(const QString& comment);

    // The file name without its extension, every "_" shown as ":"
    // ("my_theme.qvzip" is "my:theme"), so a snapshot's name reads as its date.
    QString name() const override;

private:
    std::optional<QImage> _iconImage;
    QString _comment;
};

#pragma once

#include "platform/Pasteboard.h"

namespace lq {

// A pasteboard held in memory, private to its owner.
class MemoryPasteboard : public Pasteboard {
public:
    void clearContents() override;
    void setString(const QString& text) override;
    void setFilenames(const QStringList& paths) override;
    std::optional<QString> string() const override;
    std::optional<QStringList> filenames() const override;

private:
    std::optional<QString> _string;
    std::optional<QStringList> _filenames;
};

} // namespace lq

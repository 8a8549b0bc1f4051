#pragma once
// The real questions of searching and replacing.

#include "search/core/SearchDialogs.h"

class QWidget;

namespace orvel {

class TQtSearchDialogs : public ISearchDialogs {
public:
    explicit TQtSearchDialogs(QWidget* parent) : m_parent(parent) {}
    TReplaceAction confirmReplace(QPoint screenPos, const QString& prompt) override;
    TFileReplaceAnswer confirmFileReplace(const TFileReplaceQuestion& question) override;

private:
    QWidget* m_parent;
};

} // namespace orvel

#pragma once

#include "vdrNvList.h"

// The support library's name=value list: the program's own without
// SetDefault, so its DefaultValue stays empty.
class TkvxNvList : public TvdrNvList {
public:
    using TvdrNvList::TvdrNvList;

    void SetDefault(const QString &text) = delete;
    void SetDefault(qint64 number) = delete;
};

#pragma once

#include "kvxStreamFile.h"

#include <QString>

// A database with every table bound and loaded, the user's formats and the
// language texts beside the tool; everything unbound again at the end, also
// after an error.
class TvdrCliSession {
public:
    enum class Mode { Read, Change, ChangeOrCreate };

    TvdrCliSession(const QString &fileName, Mode mode);
    ~TvdrCliSession();
    TvdrCliSession(const TvdrCliSession &) = delete;
    TvdrCliSession &operator=(const TvdrCliSession &) = delete;

private:
    TkvxStreamFile m_db;
};

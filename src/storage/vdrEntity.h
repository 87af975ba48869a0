#pragma once

#include "vdrField.h"
#include "vdrNvList.h"

// A keyed table with one field accessor, owned by the table and rebound to a
// row by each Field call: a caller finishes with one row's field before it
// asks for the next.
class TvdrEntity : public TvdrNvList {
public:
    explicit TvdrEntity(const QString &streamId = QString());
    ~TvdrEntity() override;

    // Binds the field to the row of the trimmed `name` and returns it; writes
    // through it go to SetValue of this table (not saved).
    TvdrField &Field(const QString &name);

private:
    TvdrField m_field;
};

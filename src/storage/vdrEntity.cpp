#include "vdrEntity.h"

TvdrEntity::TvdrEntity(const QString &streamId) : TvdrNvList(streamId) {}

TvdrEntity::~TvdrEntity() = default;

TvdrField &TvdrEntity::Field(const QString &name) {
    TvdrWriteGuard guard(Lock());
    // Unhook first, so that binding the new row never writes the old one.
    m_field.SetOnChange(nullptr);
    m_field.SetRowName(name);
    m_field.SetRowValue(GetValue(name));
    m_field.SetOnChange([this](const QString &row, const QString &value) { SetValue(row, value); });
    return m_field;
}

#pragma once

#include "vdrEntity.h"

#include <QStringList>
#include <vector>

// The shared list of repair descriptions: rows FormatKey(RepairNbr) =
// Description. Besides the rows it keeps a display order in memory: the
// numbers sorted by description, ascending or descending, which the views,
// the filter dialog, the reports and the exports walk by position.
// No operation saves. One per process: reach it through Repairs().
class TvdrRepairs : public TvdrEntity {
public:
    TvdrRepairs();

    // Reading gives the trimmed description (empty without a row); writing
    // replaces it with the trimmed text.
    TvdrField &RepairField(qint32 repairNbr);
    // The trimmed description, without rebinding the table's field.
    QString Description(qint32 repairNbr) const;

    // One past the last number; the description is stored as passed (a
    // blank one stores nothing, yet the number is returned). Rebuilds the
    // display order in its current direction, unless told not to by a
    // caller that adds many and calls BuildOrder once after the last.
    qint32 AddRepair(const QString &description, bool buildOrder = true);
    void RemoveRepair(qint32 repairNbr);
    // The first row whose stored text equals `description` ignoring letter
    // case (blanks count); -1 when none does.
    qint32 FindRepair(const QString &description) const;
    // Every stored description, ascending ignoring case, each text that
    // differs from an earlier one only in letter case left out.
    void GetDescriptions(QStringList &list) const;

    void BuildOrder(bool descending);
    bool Descending() const { return m_descending; }
    // Position from 0 to OrderCount() - 1.
    qint32 RepairNbrAt(int position) const;
    int OrderCount() const { return int(m_order.size()); }

    // Removes every description that no repair link uses. The display order
    // is stale until the next BuildOrder.
    void RemoveUnlinked();

    // Keyed by one record number.
    QString RowProblem(const QString &row) const override;

private:
    bool m_descending = false;
    std::vector<qint32> m_order;
};

TvdrRepairs &Repairs();

// The repair dialog's select mode: the number of the description equal to
// `text` ignoring letter case; when there is none, a new description of
// `text`, saved. Raises "WM-RepairDescriptionIsBlank"'s text for a blank one.
qint32 SelectRepair(const QString &text);

// The information text shown when a description in use is to be deleted:
// "IM-RepairInUsePart1", then for every car using it (sorted, once each) CR,
// TAB and the car's description, then two CRs and "IM-RepairInUsePart2".
// Empty when no event uses the description.
QString RepairInUseText(qint32 repairNbr);

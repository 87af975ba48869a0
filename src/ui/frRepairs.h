#pragma once

#include "vdrFrame.h"

#include <QIcon>
#include <QList>

#include <memory>

class QTreeWidgetItem;
namespace Ui {
class TfraRepairs;
}

// The view of the repair descriptions node: every description in the
// repair table's display order, ascending or descending as the user last
// chose (kept in the options between views and runs). Double-click or Enter
// changes a description; the main window's Insert, Delete and Delete unused
// commands call in.
class TfraRepairs : public TvdrFrame {
public:
    explicit TfraRepairs(QWidget *parent = nullptr);
    ~TfraRepairs() override;

    // The column sort images: 0 ascending, 1 descending.
    void SetSortImages(const QList<QIcon> &images);
    // Opens the view: the direction from the options, the list filled, the
    // first row selected.
    void LoadRepairs();
    // Refills the list in the current direction and selects the row of
    // `repairNbr` (none when it is not there).
    void ShowAddedRepair(qint32 repairNbr);
    // Deletes the selected description when no event uses it and the user
    // agrees; one in use is refused with the cars that use it.
    void DeleteSelectedRepair();
    void DeleteUnusedRepairs();
    // Stores the direction in the options and saves them.
    void CloseView() override;

    void lvwRepairsDblClick();
    void lvwRepairsKeyPress();
    void lvwRepairsColumnClick();

    // The number of the selected row; -1 when none is selected.
    qint32 SelectedRepairNbr() const;
    Ui::TfraRepairs &Form() const { return *m_ui; }

private:
    void FillList();
    void ModifySelected();

    std::unique_ptr<Ui::TfraRepairs> m_ui;
    QList<QIcon> m_sortImages;
};

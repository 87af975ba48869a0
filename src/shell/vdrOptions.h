#pragma once

#include "vdrEntity.h"

// The options table: window placements, column sort choices, the toolbar
// layout and the tree width, as rows inside the database, so a database
// opened elsewhere brings its own layout. Readers set the default right
// before each read; the users save the table.
class TvdrOptions : public TvdrEntity {
public:
    TvdrOptions();

    // A row's key is a name, never blank.
    QString RowProblem(const QString &row) const override;
};

TvdrOptions &Options();

// Keys and defaults of the rows the program reads and writes. A window's
// placement is stored under its class name.
namespace vdrOptionKeys {
inline constexpr const char *MainWindow = "TfrmMain";
inline constexpr const char *TreeWidth = "TfrmMain.tvwMain.Width";
inline constexpr int TreeWidthDefault = 202;
inline constexpr const char *CheckedSortItem = "TfrmMain.tbSortTree.CheckedItemIndex";
inline constexpr const char *LogPath = "LogPath"; // not used; removed at shut-down
inline constexpr const char *DBSetup = "TfrmDBSetup";
inline constexpr const char *RepairsDialog = "TfrmRepairs";
inline constexpr const char *MaintDialog = "TfrmMaint";
inline constexpr const char *MaintDialogRepairsOrder = "TfrmMaint.RepairsSortOrder";
inline constexpr const char *MaintFilterDialog = "TfrmMaintFilter";
inline constexpr const char *MaintFilterPage = "MaintFilterActivePageIndex";
inline constexpr const char *UdfDialog = "TfrmUDF";
inline constexpr const char *SortTreeEditor = "TfrmSortTreeEditor";
inline constexpr const char *SortOrderFieldEditor = "TfrmSortOrderFieldEditor";
inline constexpr const char *MaintSortColumn = "TfraMaint.MaintSortColumn";
inline constexpr const char *MaintSortOrder = "TfraMaint.MaintSortOrder";
inline constexpr const char *MaintViewRepairsOrder = "TfraMaint.RepairsSortOrder";
inline constexpr const char *RepairsViewOrder = "TfraRepairs.RepairsSortOrder";
} // namespace vdrOptionKeys

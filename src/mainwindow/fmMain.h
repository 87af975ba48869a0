#pragma once

#include "vdrCarRec.h"
#include "vdrSortOrderRec.h"
#include "vdrTreeNodeData.h"

#include <QHash>
#include <QIcon>
#include <QList>
#include <QMainWindow>
#include <QStringList>

#include <functional>
#include <memory>

class QAction;
class QActionGroup;
class QMenu;
class QTreeWidgetItem;
class TkvxStreamFile;
class TkvxTrimWorkingSet;
class TvdrFrame;
class TvdrReport;
namespace Ui {
class TfrmMain;
}

// The main window: the program's life cycle (start-up, File > Locations,
// shut-down), the navigation tree, the view of the selected node and the
// commands that act on it.
//
// Owns the database container, the tree with one TvdrTreeNodeData per node,
// the current view and the two scratch car records of the tree's comparison.
class TfrmMain : public QMainWindow {
public:
    explicit TfrmMain(QWidget *parent = nullptr);
    // Runs FormDestroy unless it ran already.
    ~TfrmMain() override;

    // Start-up. False when the program must end at once (the language file
    // cannot be opened, or the locations wizard was cancelled).
    bool FormCreate();
    // Shut-down: saves the layout, compacts and closes the database. Runs
    // once; every error ends it silently.
    void FormDestroy();

    bool OpenLanguage();
    // False when the user cancelled the locations wizard.
    bool OpenDatabase();
    void WarnOfUnreadTables();
    // Waits for the tables that start-up left loading in the background and
    // warns of those that could not be read; queued by the background when
    // it is done. Does nothing when the tables are in.
    void FinishTableLoads();
    bool LocateDatabase();
    void SaveToolbars();
    void RestoreToolbars();

    // The tree.
    void BuildTree();
    void ClearTree();
    QTreeWidgetItem *AddCarNode(qint32 carNbr, QTreeWidgetItem *parent, const QString &text);
    // Closes the current view (it writes its pending edits) before the
    // selection moves.
    void tvwMainChanging();
    void tvwMainChange(QTreeWidgetItem *node);
    int tvwMainCompare(const TvdrTreeItem &node1, const TvdrTreeItem &node2);
    // Selects `node` and shows its view, even when it is selected already.
    void SelectNode(QTreeWidgetItem *node);

    // Commands.
    void mmiInsertClick();
    void mmiDeleteClick();
    void mmiFilterClick();
    void mmiCancelFilterClick();
    void mmiDeleteUnusedClick();
    void mmiUDFClick();
    void mmiFileLocationsClick();
    void mmiPrintPreviewClick();
    void mmiPrintClick();
    void mmiSaveReportPdfClick();
    void mmiExportXMLClick();
    void mmiExportTSVClick();
    void mmiImportXMLClick();
    void mmiImportTSVClick();
    void mmiExitClick();
    void mmiHelpHelpClick();
    void InsertCar();
    void InsertMaint(qint32 carNbr);
    void InsertRepair();
    void InsertPicture();
    void DeleteCar(QTreeWidgetItem *node);
    void ClearPicture();

    // The sort drop-down.
    void BuildSortMenu();
    void ApplySortOrder(QAction *item);
    // Makes `item`'s sort order the tree's, without sorting; false when the
    // item names none.
    bool ChooseSortOrder(QAction *item);
    void ShowSortOrderHint();
    void tbSortTreeClick();
    void EditSortOrders();
    // Checks item `index` of the sort menu without applying it; the first
    // item when `index` is past the last sort order.
    void CheckSortItem(int index);
    QMenu *SortMenu() const { return m_sortMenu; }
    // The sort order editor; it answers whether the user confirmed.
    void SetSortTreeEditor(std::function<bool()> editor) { m_sortTreeEditor = std::move(editor); }

    void RebuildAfterImport();
    void CreateSortGlyphs();
    const QList<QIcon> &SortGlyphs() const { return m_sortGlyphs; }

    // Callbacks of the car view.
    void SetCarNodeText(const QString &text);
    void ResortTree();
    void FocusTree();

    void AppendCarToCaption(qint32 carNbr);
    void UpdatePictureCommands(qint32 carNbr);

    // What runs once the window has closed.
    void SetOnClosed(std::function<void()> onClosed) { m_onClosed = std::move(onClosed); }

    // For the views, the tests and the commands of other windows.
    TkvxStreamFile *Database() const { return m_database.get(); }
    TvdrFrame *CurrentView() const { return m_view; }
    const TvdrTreeNodeData *SelectedNodeData() const;
    Ui::TfrmMain &Form() const { return *m_ui; }
    bool Destroyed() const { return m_destroyed; }

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void ConnectCommands();
    void WriteBanner();
    void SetUpTree();
    void SetUpToolbars();
    // The toolbar buttons follow the Edit commands.
    void CopyEditCommandsToToolbar();
    void CloseDatabase();
    void FreeTreeNodes();
    // The report of the selected node and the name it has in the log lines
    // ("Car", "Maintenance", ...); null on the Cars node.
    std::unique_ptr<TvdrReport> SelectedReport(QString &logName);
    // Print or preview the selected node's report, logging `logLine` + its name.
    void RunReport(const QString &logLine, void (*run)(TvdrReport &, QWidget *));
    // An export or import command; after an import the tree is rebuilt.
    void RunExchange(bool (*command)(QWidget *, QString &), bool import);
    void ShowViewAgain();
    void SaveLayout();
    int CheckedSortItem() const;
    QTreeWidgetItem *CarsNode() const;
    // Creates the view of `kind` in the view area; null for a kind without
    // a view.
    void CreateView(const TvdrTreeNodeData &data);

    std::unique_ptr<Ui::TfrmMain> m_ui;
    std::unique_ptr<TkvxStreamFile> m_database;
    std::unique_ptr<TvdrCarRec> m_scratch1;
    std::unique_ptr<TvdrCarRec> m_scratch2;
    // While the tree sorts: each car's record, read once instead of at every
    // comparison.
    QHash<qint32, TvdrCarRec> m_sortRecs;
    std::unique_ptr<TkvxTrimWorkingSet> m_trimmer;
    TvdrSortOrderRec m_sortOrder;
    TvdrFrame *m_view = nullptr; // a child of pnlClient
    QTreeWidgetItem *m_shownNode = nullptr;
    QAction *m_editSeparator = nullptr;
    QMenu *m_sortMenu = nullptr;
    QActionGroup *m_sortGroup = nullptr;
    QList<QIcon> m_sortGlyphs;
    std::function<bool()> m_sortTreeEditor;
    std::function<void()> m_onClosed;
    bool m_tablesLoading = false; // BindTables left tables to the background
    bool m_created = false;
    bool m_destroyed = false;
};

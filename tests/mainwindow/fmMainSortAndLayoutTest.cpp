#include "fmDBSetup.h"
#include "kvxSfFaults.h"
#include "kvxStreamFile.h"
#include "ui_fmDBSetup.h"
#include "ui_fmMain.h"
#include "vdrCars.h"
#include "vdrExtFiles.h"
#include "vdrMainWindowFixture.h"
#include "vdrMaint.h"
#include "vdrModal.h"
#include "vdrNvList.h"
#include "vdrOptions.h"
#include "vdrPicture.h"
#include "vdrReportCommands.h"
#include "vdrSortOrder.h"
#include "vdrSortOrderField.h"
#include "vdrSortOrderList.h"
#include "vdrSortOrderRec.h"
#include "vdrTestDatabase.h"
#include "vdrToolbarLayout.h"
#include "vdrWindowRoutines.h"

#include <QAction>
#include <QDir>
#include <QMenu>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QSettings>
#include <QStatusBar>
#include <QToolBar>

#include <cerrno>

namespace {

QStringList CarLabels(TfrmMain &window) {
    QStringList labels;
    QTreeWidgetItem *cars = window.Form().tvwMain->topLevelItem(0);
    for (int i = 0; i < cars->childCount(); ++i)
        labels.append(cars->child(i)->text(0));
    return labels;
}

void AddSortOrder(qint32 number, const QString &name, qint32 field, quint8 direction) {
    TvdrSortOrderRec rec;
    rec.SortOrderNbr = number;
    rec.SetName(name);
    rec.AddSortField(field, TvdrSortOrderField::BuiltIn, direction);
    SortOrder().AddSortOrder(rec);
    SortOrder().Save();
}

// The options rows of a closed database.
std::unique_ptr<TvdrNvList> StoredOptions(const QString &fileName) {
    TkvxStreamFile db;
    db.Open(fileName, true);
    auto options = std::make_unique<TvdrNvList>(QStringLiteral("TvdrOptions"));
    options->SetStreamFile(&db);
    options->Load();
    options->SetStreamFile(nullptr);
    return options;
}

// What an editor confirmed with OK would leave: the sort order renamed.
bool RenameSortOrder(const QString &from, const QString &to) {
    TvdrSortOrderRec *found = SortOrder().FindSortOrder(from);
    TvdrSortOrderRec renamed = found->Clone();
    SortOrder().Delete(SortOrder().IndexOf(found->Encode()));
    renamed.SetName(to);
    SortOrder().AddSortOrder(renamed);
    return true;
}

int FreeGaps(const QString &fileName) {
    TkvxStreamFile db;
    db.Open(fileName, true);
    int gaps = 0;
    for (int i = 0; i < db.Toc().Count(); ++i)
        gaps += db.Toc().Entry(i).Free ? 1 : 0;
    return gaps;
}

} // namespace

class SortDropDown : public TvdrMainWindowTest {
protected:
    // Four cars and three sort orders: by year (the default), newest
    // first, by make.
    void MakeCarsAndOrders() {
        WriteIni();
        MakeDatabase([] {
            AddCar(2001, QStringLiteral("ford"), QStringLiteral("Ka"));
            AddCar(1999, QStringLiteral("Opel"), QStringLiteral("Astra"));
            AddCar(2005, QStringLiteral("Audi"), QStringLiteral("A6"));
            AddCar(2003, QStringLiteral("Ford"), QStringLiteral("Focus"));
            SortOrder().SortOrderList(); // the default, number 0
            AddSortOrder(1, QStringLiteral("Newest first"), TvdrSortOrderField::Year, 1);
            AddSortOrder(2, QStringLiteral("By make"), TvdrSortOrderField::Make, 0);
        });
    }
};

TEST_F(SortDropDown, OrdersTheCarNodesByTheCheckedSortOrderAndCyclesThroughThem) {
    MakeCarsAndOrders();
    TfrmMain &window = Start();
    const QList<QAction *> items = window.SortMenu()->actions();
    ASSERT_EQ(items.size(), 5);
    EXPECT_TRUE(items[3]->isSeparator());
    EXPECT_EQ(items[4]->text(), QStringLiteral("Edit sort orders..."));
    EXPECT_TRUE(items[0]->isChecked());
    EXPECT_EQ(CarLabels(window),
              QStringList({"1999 Opel Astra", "2001 ford Ka", "2003 Ford Focus", "2005 Audi A6"}));

    window.tbSortTreeClick();
    EXPECT_TRUE(items[1]->isChecked());
    EXPECT_EQ(CarLabels(window),
              QStringList({"2005 Audi A6", "2003 Ford Focus", "2001 ford Ka", "1999 Opel Astra"}));
    // The status bar shows the same hint, never its unfilled form.
    EXPECT_EQ(window.Form().tbSortTree->toolTip(), QStringLiteral("Sort order: Newest first"));
    EXPECT_EQ(window.Form().tbSortTree->statusTip(), QStringLiteral("Sort order: Newest first"));

    window.tbSortTreeClick();
    EXPECT_EQ(CarLabels(window),
              QStringList({"2005 Audi A6", "2003 Ford Focus", "2001 ford Ka", "1999 Opel Astra"}))
        << "Ford and ford sort as equal and keep their order";
    window.ApplySortOrder(items[0]);
    window.ApplySortOrder(items[2]);
    EXPECT_EQ(CarLabels(window),
              QStringList({"2005 Audi A6", "2001 ford Ka", "2003 Ford Focus", "1999 Opel Astra"}));

    window.tbSortTreeClick();
    EXPECT_TRUE(items[0]->isChecked()) << "after the last sort order comes the first";
    EXPECT_EQ(CarLabels(window),
              QStringList({"1999 Opel Astra", "2001 ford Ka", "2003 Ford Focus", "2005 Audi A6"}));
}

TEST_F(SortDropDown, SortingKeepsTheSelectedNodeAndWhichNodesAreOpen) {
    MakeCarsAndOrders();
    TfrmMain &window = Start();
    QTreeWidgetItem *audi = Node(QStringLiteral("2005 Audi A6"));
    audi->setExpanded(false);
    window.SelectNode(audi->child(1));
    window.tbSortTreeClick();
    EXPECT_EQ(window.Form().tvwMain->currentItem(), audi->child(1));
    EXPECT_FALSE(audi->isExpanded());
    EXPECT_TRUE(Node(QStringLiteral("2003 Ford Focus"))->isExpanded());
}

TEST_F(SortDropDown, AStoredIndexPastTheLastSortOrderChecksTheFirst) {
    MakeCarsAndOrders();
    MakeDatabase([] {
        Options().SetValue(QStringLiteral("TfrmMain.tbSortTree.CheckedItemIndex"), QStringLiteral("3"));
        Options().Save();
    });
    TfrmMain &window = Start();
    EXPECT_TRUE(window.SortMenu()->actions().at(0)->isChecked());
    Stop();
    MakeDatabase([] {
        Options().SetValue(QStringLiteral("TfrmMain.tbSortTree.CheckedItemIndex"), QStringLiteral("2"));
        Options().Save();
    });
    TfrmMain &again = Start();
    EXPECT_TRUE(again.SortMenu()->actions().at(2)->isChecked());
    EXPECT_EQ(CarLabels(again).first(), QStringLiteral("2005 Audi A6"));
}

TEST_F(SortDropDown, TheEditorsResultIsAppliedByNameOrFallsBackToTheFirst) {
    MakeCarsAndOrders();
    TfrmMain &window = Start();
    window.ApplySortOrder(window.SortMenu()->actions().at(1));
    window.SetSortTreeEditor([] { return false; });
    window.EditSortOrders();
    EXPECT_TRUE(window.SortMenu()->actions().at(1)->isChecked()) << "a cancelled editor changes nothing";

    window.SetSortTreeEditor(
        [] { return RenameSortOrder(QStringLiteral("Newest first"), QStringLiteral("NEWEST FIRST")); });
    window.EditSortOrders();
    EXPECT_TRUE(window.SortMenu()->actions().at(1)->isChecked()) << "the same name in other letter case";
    EXPECT_EQ(CarLabels(window).first(), QStringLiteral("2005 Audi A6"));

    window.SetSortTreeEditor(
        [] { return RenameSortOrder(QStringLiteral("NEWEST FIRST"), QStringLiteral("Latest")); });
    window.EditSortOrders();
    EXPECT_TRUE(window.SortMenu()->actions().at(0)->isChecked())
        << "a renamed order matches nothing: the first";
    EXPECT_EQ(CarLabels(window).first(), QStringLiteral("1999 Opel Astra"));
}

using ShutDown = TvdrMainWindowTest;

TEST_F(ShutDown, LeavesTheLayoutNoLogPathRowAndNoFreeGaps) {
    WriteIni();
    MakeDatabase([] {
        AddCar(2004, QStringLiteral("Ford"), QStringLiteral("Taurus"));
        Options().SetValue(QStringLiteral("LogPath"), QStringLiteral("left over"));
        Options().Save();
    });
    TfrmMain &window = Start();
    window.show();
    window.mmiInsertClick(); // rewrites the cars table, which leaves a gap
    window.SortMenu()->actions().at(0)->setChecked(true);
    Stop();

    EXPECT_EQ(FreeGaps(DatabaseFile()), 0);
    const std::unique_ptr<TvdrNvList> stored = StoredOptions(DatabaseFile());
    const TvdrNvList &options = *stored;
    EXPECT_EQ(options.IndexOfName(QStringLiteral("LogPath")), -1);
    EXPECT_EQ(options.GetValue(QStringLiteral("TfrmMain.tbSortTree.CheckedItemIndex")), QStringLiteral("0"));
    EXPECT_EQ(options.GetValue(QStringLiteral("TfrmMain.tvwMain.Width")).toInt() > 0, true);
    EXPECT_EQ(options.GetValue(QStringLiteral("TfrmMain")).split(QLatin1Char(' ')).size(), 5);
    for (const char *bar : {"tbtMenu", "tbtButtons"})
        for (const char *key : {"CurrentDock", "LastDock", "DockPos", "DockRow", "FloatingPosition.X",
                                "FloatingPosition.Y", "FloatingWidth", "Visible"})
            EXPECT_NE(
                options.IndexOfName(QStringLiteral("%1.%2").arg(QLatin1String(bar), QLatin1String(key))), -1)
                << bar << "." << key;
    EXPECT_EQ(options.GetValue(QStringLiteral("tbtButtons.CurrentDock")), QStringLiteral("tbdTop"));
    EXPECT_EQ(options.GetValue(QStringLiteral("tbtButtons.DockRow")), QStringLiteral("1"));
    EXPECT_EQ(options.GetValue(QStringLiteral("tbtMenu.DockRow")), QStringLiteral("0"));
    EXPECT_EQ(options.GetValue(QStringLiteral("tbtButtons.Visible")), QStringLiteral("1"));
    const QStringList log = LogLines();
    EXPECT_EQ(log.mid(log.size() - 4), QStringList({"Vandor is shutting down", "  Tree nodes freed",
                                                    "  Positions saved", "  DB closed"}));
}

// The compaction runs beside the freeing of the tree; its failure must still
// end shut-down quietly, with the layout committed and the file closed.
TEST_F(ShutDown, AFailedCompactionKeepsTheLayoutAndClosesTheFile) {
    WriteIni();
    MakeDatabase([] { AddCar(2004, QStringLiteral("Ford"), QStringLiteral("Taurus")); });
    TfrmMain &window = Start();
    window.show();
    window.mmiInsertClick();
    window.Form().splMain->setSizes({230, 470});
    TkvxSfFaults::FailAt(1, ENOSPC); // the compacted file cannot be made
    Stop();
    TkvxSfFaults::Reset();

    const QStringList log = LogLines();
    EXPECT_EQ(log.mid(log.size() - 3),
              QStringList({"Vandor is shutting down", "  Tree nodes freed", "  Positions saved"}));
    EXPECT_GT(FreeGaps(DatabaseFile()), 0) << "not compacted";
    const std::unique_ptr<TvdrNvList> stored = StoredOptions(DatabaseFile());
    EXPECT_EQ(stored->GetValue(QStringLiteral("TfrmMain.tvwMain.Width")), QStringLiteral("230"));
    EXPECT_EQ(stored->IndexOfName(QStringLiteral("LogPath")), -1);
    EXPECT_EQ(CarLabels(Start()).size(), 2) << "the file opens again, with both cars";
}

TEST_F(ShutDown, TheWindowAndItsToolbarsComeBackWhereTheyWere) {
    WriteIni();
    MakeDatabase([] {});
    TfrmMain &window = Start();
    window.show();
    SetPlacement(&window, QStringLiteral("0 40 30 500 700"));
    window.Form().splMain->setSizes({260, 440});
    window.addToolBar(Qt::LeftToolBarArea, window.Form().tbtMenu);
    vdrToolbarLayout::Float(window.Form().tbtButtons, QPoint(300, 200), 0);
    Stop();

    TfrmMain &again = Start();
    again.show();
    EXPECT_EQ(again.pos(), QPoint(30, 40));
    EXPECT_EQ(again.size(), QSize(700, 500));
    EXPECT_EQ(again.Form().tvwMain->width(), 260);
    EXPECT_EQ(again.toolBarArea(again.Form().tbtMenu), Qt::LeftToolBarArea);
    EXPECT_FALSE(again.Form().tbtMenu->isFloating());
    EXPECT_TRUE(again.Form().tbtButtons->isFloating());
    EXPECT_EQ(again.Form().tbtButtons->pos(), QPoint(300, 200));
    EXPECT_TRUE(again.Form().tbtButtons->isVisible());
}

TEST_F(ShutDown, AToolbarWithoutSavedKeysKeepsItsDesignedDock) {
    WriteIni();
    MakeDatabase([] {
        Options().SetValue(QStringLiteral("tbtMenu.CurrentDock"), QStringLiteral("tbdRight"));
        Options().SetValue(QStringLiteral("tbtMenu.Visible"), QStringLiteral("1"));
        Options().Save();
    });
    TfrmMain &window = Start();
    EXPECT_EQ(window.toolBarArea(window.Form().tbtMenu), Qt::RightToolBarArea);
    EXPECT_EQ(window.toolBarArea(window.Form().tbtButtons), Qt::TopToolBarArea);
    EXPECT_FALSE(window.Form().tbtButtons->isHidden());
}

using Locations = TvdrMainWindowTest;

TEST_F(Locations, MovingTheDatabaseReopensItThereSortedAsBefore) {
    WriteIni();
    MakeDatabase([] {
        AddCar(2001, QStringLiteral("Ford"), QStringLiteral("Ka"));
        AddCar(2005, QStringLiteral("Audi"), QStringLiteral("A6"));
        TvdrSortOrderRec rec;
        rec.SortOrderNbr = 1;
        rec.SetName(QStringLiteral("Newest first"));
        rec.AddSortField(TvdrSortOrderField::Year, TvdrSortOrderField::BuiltIn, 1);
        SortOrder().SortOrderList();
        SortOrder().AddSortOrder(rec);
        SortOrder().Save();
    });
    TfrmMain &window = Start();
    window.tbSortTreeClick();
    const QString target = DataDir() + QStringLiteral("/moved");
    QueueDialogScript([target](QDialog &dialog) {
        auto &wizard = static_cast<TfrmDBSetup &>(dialog);
        wizard.Form().edtDBFolder->setText(target);
        wizard.btnNextClick();
        wizard.btnNextClick();
    });
    window.mmiFileLocationsClick();

    EXPECT_FALSE(QFileInfo::exists(DatabaseFile()));
    EXPECT_TRUE(QFileInfo::exists(target + QStringLiteral("/Vandor.dat")));
    EXPECT_EQ(window.Database()->FileName(), target + QStringLiteral("/Vandor.dat"));
    EXPECT_EQ(ExtFiles().DBFolder(), target);
    EXPECT_EQ(CarLabels(window), QStringList({"2005 Audi A6", "2001 Ford Ka"}));
    EXPECT_TRUE(window.SortMenu()->actions().at(1)->isChecked());
    const QStringList log = LogLines();
    EXPECT_TRUE(log.contains(QStringLiteral("show locations dialog")));
    EXPECT_TRUE(log.contains(QStringLiteral("locations dialog (finish button)")));
    EXPECT_TRUE(log.contains(QStringLiteral("DB path changed; new path is ") + target));
    EXPECT_FALSE(log.join(QLatin1Char('\n')).contains(QStringLiteral("log path changed")));
}

TEST_F(Locations, AFailedMoveIsShownAndTheDatabaseStaysWhereItWas) {
    WriteIni();
    MakeDatabase([] { AddCar(2001, QStringLiteral("Ford"), QStringLiteral("Ka")); });
    const QString target = DataDir() + QStringLiteral("/taken");
    QDir().mkpath(target);
    WriteWholeFile(target + QStringLiteral("/Vandor.dat"), "someone else's");
    TfrmMain &window = Start();
    QueueDialogScript([target](QDialog &dialog) {
        auto &wizard = static_cast<TfrmDBSetup &>(dialog);
        wizard.Form().edtDBFolder->setText(target);
        wizard.btnNextClick();
        wizard.btnNextClick();
    });
    window.mmiFileLocationsClick();
    ASSERT_EQ(m_prompts->Asked.size(), 1);
    EXPECT_EQ(m_prompts->Asked[0].Kind, QStringLiteral("error"));
    EXPECT_TRUE(m_prompts->Asked[0].Text.startsWith(QStringLiteral("[17]-")))
        << m_prompts->Asked[0].Text.toStdString();
    EXPECT_EQ(ReadWholeFile(target + QStringLiteral("/Vandor.dat")), QByteArray("someone else's"));
    EXPECT_EQ(window.Database()->FileName(), DatabaseFile());
    EXPECT_EQ(ExtFiles().DBFolder(), DataDir());
    EXPECT_EQ(CarLabels(window), QStringList({"2001 Ford Ka"}));
    EXPECT_TRUE(LogLines().contains(m_prompts->Asked[0].Text));
}

TEST_F(Locations, UnchangedFoldersChangeNothingAndANewLogFolderOnlyRewritesItsKey) {
    WriteIni();
    MakeDatabase([] {});
    TfrmMain &window = Start();
    QSettings ini(ExtFiles().IniFileName(), QSettings::IniFormat);
    const QString dbPath = ini.value(QStringLiteral("Files/DBPath")).toString();
    QueueDialogScript([](QDialog &dialog) {
        static_cast<TfrmDBSetup &>(dialog).btnNextClick();
        static_cast<TfrmDBSetup &>(dialog).btnNextClick();
    });
    window.mmiFileLocationsClick();
    EXPECT_EQ(window.Database()->FileName(), DatabaseFile());

    const QString logs = DataDir() + QStringLiteral("/logs");
    QueueDialogScript([logs](QDialog &dialog) {
        auto &wizard = static_cast<TfrmDBSetup &>(dialog);
        wizard.btnNextClick();
        wizard.Form().edtLogLocation->setText(logs);
        wizard.btnNextClick();
    });
    window.mmiFileLocationsClick();
    ini.sync();
    EXPECT_EQ(ini.value(QStringLiteral("Files/DBPath")).toString(), dbPath);
    EXPECT_EQ(ExtFiles().LogFolder(), logs);
    EXPECT_EQ(window.Database()->FileName(), DatabaseFile()) << "the database did not move";
    EXPECT_TRUE(LogLines().contains(QStringLiteral("log path changed; new path is ") + logs))
        << "the running log keeps its file";
}

TEST_F(Locations, TheWizardWarnsAboutEmptyFolders) {
    LoadBuiltLanguage();
    QString db = DataDir();
    QString log = DataDir();
    QueueDialogScript([](QDialog &dialog) {
        auto &wizard = static_cast<TfrmDBSetup &>(dialog);
        wizard.Form().edtDBFolder->clear();
        wizard.btnNextClick();
        EXPECT_EQ(wizard.PageIndex(), 0);
        wizard.Form().edtDBFolder->setText(QStringLiteral("/x"));
        wizard.btnNextClick();
        wizard.Form().edtLogLocation->clear();
        wizard.btnNextClick();
        EXPECT_EQ(wizard.PageIndex(), 1);
        wizard.btnBackClick();
        EXPECT_EQ(wizard.PageIndex(), 0);
        EXPECT_EQ(wizard.Form().btnNext->text(), QStringLiteral("&Next >"));
        wizard.btnCancelClick();
    });
    EXPECT_FALSE(RunLocations(db, log));
    EXPECT_EQ(db, DataDir()) << "Cancel leaves the folders";
    EXPECT_EQ(m_prompts->Transcript(), QStringList({"warning: Please enter the folder for the database file.",
                                                    "warning: Please enter the folder for the log file."}));
}

using Exchange = TvdrMainWindowTest;

TEST_F(Exchange, ExportAndImportFromTheMenuReportWhatTheyDidAndRebuildTheTree) {
    WriteIni();
    MakeDatabase([] {
        AddCar(2001, QStringLiteral("Ford"), QStringLiteral("Ka"));
        AddCar(2005, QStringLiteral("Audi"), QStringLiteral("A6"));
    });
    TfrmMain &window = Start();
    const QString folder = DataDir() + QStringLiteral("/out");
    QDir().mkpath(folder);
    m_prompts->Folders = {QString(), folder, folder};
    window.mmiExportXMLClick();
    EXPECT_FALSE(QFileInfo::exists(folder + QStringLiteral("/VandorDB.xml"))) << "a cancelled folder dialog";
    window.mmiExportXMLClick();
    EXPECT_EQ(window.statusBar()->currentMessage(),
              QStringLiteral("Exported 2 cars, 0 maintenance events and 0 repair descriptions to ") + folder +
                  QStringLiteral("/VandorDB.xml."));
    window.mmiExportTSVClick();
    EXPECT_TRUE(QFileInfo::exists(folder + QStringLiteral("/Cars.tsv")));
    EXPECT_EQ(m_prompts->Asked[0].Text, QStringLiteral("Select location for file"));
    EXPECT_EQ(m_prompts->Asked[2].Text, QStringLiteral("Select location for files"));

    m_prompts->Files = {folder + QStringLiteral("/VandorDB.xml"), folder + QStringLiteral("/Maint.tsv")};
    window.mmiImportXMLClick();
    EXPECT_EQ(m_prompts->Asked[3].Text, QStringLiteral("Select XML file to import"));
    EXPECT_TRUE(m_prompts->Asked[3].Detail.startsWith(QStringLiteral("XML files (*.xml) in ")));
    EXPECT_EQ(CarLabels(window).size(), 4) << "the tree is rebuilt with the merged cars";
    EXPECT_EQ(window.statusBar()->currentMessage(),
              QStringLiteral("Merged 2 cars, 0 maintenance events and 0 repair descriptions from ") + folder +
                  QStringLiteral("/VandorDB.xml."));
    window.mmiImportTSVClick();
    EXPECT_EQ(CarLabels(window).size(), 6);
    EXPECT_EQ(Cars().Count(), 6);
}

TEST_F(Exchange, AnExportWarnsAfterwardsOfThePicturesItLeftOut) {
    WriteIni();
    MakeDatabase([] {
        const qint32 ford = AddCar(2001, QStringLiteral("Ford"), QStringLiteral("Ka"));
        AddCar(2005, QStringLiteral("Audi"), QStringLiteral("A6"));
        // A picture stored before pictures were checked.
        TvdrCarRec rec = Cars().CarRec(ford);
        rec.SetPictureExtension(QStringLiteral("bmp"));
        Cars().StoreCarRec(rec);
        Cars().Save();
        TvdrPicture picture(ford);
        picture.SetStreamFile(Cars().StreamFile());
        picture.write("not a bitmap");
        picture.Save();
    });
    TfrmMain &window = Start();
    const QString folder = DataDir() + QStringLiteral("/out");
    m_prompts->Folders = {folder};
    window.mmiExportXMLClick();
    EXPECT_TRUE(QFileInfo::exists(folder + QStringLiteral("/VandorDB.xml")));
    EXPECT_EQ(m_prompts->Transcript().mid(1),
              QStringList(
                  {QStringLiteral("warning: Everything else was exported, but the pictures of these cars do "
                                  "not decode and were left out:\r\n\t2001 Ford Ka (CarPic000000000.bmp is "
                                  "not a Windows bitmap)")}));
    EXPECT_EQ(window.statusBar()->currentMessage(),
              QStringLiteral("Exported 2 cars, 0 maintenance events and 0 repair descriptions to ") + folder +
                  QStringLiteral("/VandorDB.xml."));
}

TEST_F(Exchange, AFailedImportShowsItsErrorAndLeavesTheTreeAlone) {
    WriteIni();
    MakeDatabase([] { AddCar(2001, QStringLiteral("Ford"), QStringLiteral("Ka")); });
    const QString broken = DataDir() + QStringLiteral("/broken.xml");
    WriteWholeFile(broken, "<VandorDB><Cars><Car>");
    TfrmMain &window = Start();
    QTreeWidgetItem *before = window.Form().tvwMain->topLevelItem(0)->child(0);
    ASSERT_NE(window.CurrentView(), nullptr);
    m_prompts->Files = {broken};
    EXPECT_THROW(window.mmiImportXMLClick(), std::exception);
    EXPECT_EQ(window.Form().tvwMain->topLevelItem(0)->child(0), before) << "the tree was not rebuilt";
    EXPECT_TRUE(window.statusBar()->currentMessage().isEmpty());
    EXPECT_NE(window.CurrentView(), nullptr) << "the selected node's view is back";

    m_prompts->Files = {QString()};
    window.mmiImportTSVClick();
    EXPECT_NE(window.CurrentView(), nullptr) << "and after a cancelled import too";
}

using Reports = TvdrMainWindowTest;

TEST_F(Reports, PreviewPrintAndPdfFollowTheSelectedNodeAndTheirLogLines) {
    WriteIni();
    MakeDatabase([] {
        const qint32 car = AddCar(2004, QStringLiteral("Ford"), QStringLiteral("Taurus"));
        Maint().StoreEvent(MakeEvent(car, 0, QDate(2004, 3, 15), 12345, 45.5));
        Maint().Save();
    });
    TfrmMain &window = Start();
    vdrReportCommands::SetHavePrinter(0);
    const QString pdf = DataDir() + QStringLiteral("/car.pdf");

    window.SelectNode(Node(QStringLiteral("2004 Ford Taurus")));
    m_prompts->YesNo = {false, true};
    m_prompts->SaveFiles = {pdf};
    window.mmiPrintClick();
    EXPECT_FALSE(QFileInfo::exists(pdf)) << "No to the PDF instead of a printer";
    window.mmiPrintClick();
    EXPECT_TRUE(QFileInfo::exists(pdf)) << "Yes writes the PDF";
    EXPECT_TRUE(
        m_prompts->Asked[0].Text.startsWith(QStringLiteral("No printer is set up on this computer.")));

    window.SelectNode(Node(QStringLiteral("Maintenance")));
    const QString maint = DataDir() + QStringLiteral("/maint");
    m_prompts->SaveFiles = {maint};
    QueueDialogScript([](QDialog &dialog) {
        auto &preview = dynamic_cast<QPrintPreviewDialog &>(dialog);
        preview.findChild<QAction *>(QStringLiteral("actSavePdf"))->trigger();
        preview.reject();
    });
    window.mmiPrintPreviewClick();
    EXPECT_TRUE(QFileInfo::exists(maint + QStringLiteral(".pdf")))
        << "the preview's button saves, .pdf added";

    window.SelectNode(Node(QStringLiteral("Repair descriptions")));
    const QString repairs = DataDir() + QStringLiteral("/repairs.pdf");
    m_prompts->SaveFiles = {QString(), repairs};
    window.mmiSaveReportPdfClick();
    EXPECT_TRUE(window.statusBar()->currentMessage().isEmpty()) << "a cancelled save dialog";
    window.mmiSaveReportPdfClick();
    EXPECT_EQ(window.statusBar()->currentMessage(),
              QStringLiteral("The report was written to ") + repairs + QStringLiteral("."));

    window.SelectNode(Node(QStringLiteral("Cars")));
    EXPECT_FALSE(window.Form().mmiSaveReportPdf->isEnabled());
    const QStringList log = LogLines();
    EXPECT_EQ(log.count(QStringLiteral("Printing - Car")), 2);
    EXPECT_EQ(log.count(QStringLiteral("Print preview - Maintenance")), 1);
    vdrReportCommands::SetHavePrinter(-1);
}

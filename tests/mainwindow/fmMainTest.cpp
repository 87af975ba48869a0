#include "fmDBSetup.h"
#include "fmMaintFilter.h"
#include "fmUDF.h"
#include "frCars.h"
#include "frMaint.h"
#include "frPicture.h"
#include "kvxStreamFile.h"
#include "ui_fmDBSetup.h"
#include "ui_fmMain.h"
#include "ui_fmMaintFilter.h"
#include "ui_frCars.h"
#include "ui_frPicture.h"
#include "vdrCarPicture.h"
#include "vdrCarRec.h"
#include "vdrCars.h"
#include "vdrCarsUDF.h"
#include "vdrError.h"
#include "vdrExtFiles.h"
#include "vdrMainWindowFixture.h"
#include "vdrMaint.h"
#include "vdrMaintFilter.h"
#include "vdrMaintNotes.h"
#include "vdrMaintRepairs.h"
#include "vdrModal.h"
#include "vdrOptions.h"
#include "vdrPicture.h"
#include "vdrSortOrder.h"
#include "vdrTestDatabase.h"
#include "vdrTestPictures.h"
#include "vdrUDF.h"

#include <QAction>
#include <QDir>
#include <QElapsedTimer>
#include <QMenu>
#include <QRegularExpression>
#include <QSettings>
#include <QTest>

namespace {

QStringList Children(QTreeWidgetItem *parent) {
    QStringList labels;
    for (int i = 0; i < parent->childCount(); ++i)
        labels.append(parent->child(i)->text(0));
    return labels;
}

// A script for the locations wizard: set the two folders (when given) and
// press Next, then Finish.
TvdrDialogScript FinishWizard(const QString &dbFolder = QString(), const QString &logFolder = QString()) {
    return [dbFolder, logFolder](QDialog &dialog) {
        auto &wizard = static_cast<TfrmDBSetup &>(dialog);
        if (!dbFolder.isEmpty())
            wizard.Form().edtDBFolder->setText(dbFolder);
        if (!logFolder.isEmpty())
            wizard.Form().edtLogLocation->setText(logFolder);
        wizard.btnNextClick();
        wizard.btnNextClick();
    };
}

TvdrDialogScript CancelWizard() {
    return [](QDialog &dialog) { static_cast<TfrmDBSetup &>(dialog).btnCancelClick(); };
}

} // namespace

using StartUp = TvdrMainWindowTest;

TEST_F(StartUp, AFirstRunAsksForTheFoldersThenCreatesAnEmptyDatabase) {
    const QString program = QDir::toNativeSeparators(ProgramDir());
    QueueDialogScript([program](QDialog &dialog) {
        auto &wizard = static_cast<TfrmDBSetup &>(dialog);
        EXPECT_EQ(wizard.Form().edtDBFolder->text(), program) << "both folders start at the program's folder";
        EXPECT_EQ(wizard.Form().edtLogLocation->text(), program);
        EXPECT_FALSE(wizard.Form().btnBack->isEnabled());
        wizard.btnNextClick();
        EXPECT_EQ(wizard.PageIndex(), 1);
        EXPECT_EQ(wizard.Form().btnNext->text(), QStringLiteral("&Finish"));
        wizard.btnNextClick();
    });
    m_prompts->YesNo = {true};
    TfrmMain &window = Start();

    const QString created = ProgramDir() + QStringLiteral("/Vandor.dat");
    ASSERT_EQ(m_prompts->Asked.size(), 1);
    EXPECT_TRUE(m_prompts->Asked[0].Text.startsWith(QStringLiteral("The database file ") +
                                                    QDir::toNativeSeparators(created) +
                                                    QStringLiteral(" does not exist.")));
    EXPECT_EQ(QFileInfo(created).size(), 4) << "a new container is its 4-byte header";
    EXPECT_EQ(Cars().Count(), 0);
    QSettings ini(ExtFiles().IniFileName(), QSettings::IniFormat);
    EXPECT_EQ(ini.value(QStringLiteral("Files/DBPath")).toString(), QStringLiteral("{AppPath}/Vandor.dat"));
    ASSERT_EQ(window.Form().tvwMain->topLevelItemCount(), 2);
    EXPECT_EQ(window.Form().tvwMain->topLevelItem(0)->text(0), QStringLiteral("Cars"));
    EXPECT_EQ(window.Form().tvwMain->topLevelItem(1)->text(0), QStringLiteral("Repair descriptions"));
    EXPECT_EQ(window.SortMenu()->actions().size(), 3) << "the default sort order, a separator and the editor";
}

TEST_F(StartUp, NoToTheNotFoundQuestionClearsThePathAndShowsTheWizardAgain) {
    QueueDialogScript(FinishWizard(DataDir()));
    QueueDialogScript(CancelWizard());
    m_prompts->YesNo = {false};
    m_window = std::make_unique<TfrmMain>();
    EXPECT_FALSE(m_window->FormCreate()) << "a cancelled wizard ends the program";
    EXPECT_TRUE(ExtFiles().NoDBPath());
    EXPECT_FALSE(QFileInfo::exists(DatabaseFile()));
    EXPECT_EQ(m_prompts->Asked.size(), 1);
}

TEST_F(StartUp, AFolderThatCannotHoldTheDatabaseShowsWhyAndAsksAgain) {
    WriteWholeFile(DataDir() + QStringLiteral("/plain-file"), "x");
    ExtFiles().SetDBFolder(DataDir() + QStringLiteral("/plain-file/sub"));
    ExtFiles().SetLogFolder(DataDir());
    QueueDialogScript(FinishWizard(DataDir()));
    m_prompts->YesNo = {true, true};
    Start();
    const QStringList asked = m_prompts->Transcript();
    ASSERT_EQ(asked.size(), 3) << asked.join(QLatin1Char('\n')).toStdString();
    EXPECT_TRUE(asked[1].startsWith(QStringLiteral("error: The file Vandor.dat cannot be opened.\n\n")));
    EXPECT_TRUE(asked[1].contains(QStringLiteral("plain-file"))) << "the reason names the folder";
    EXPECT_EQ(QFileInfo(DatabaseFile()).size(), 4);
}

TEST_F(StartUp, ADatabaseThatAnotherCopyWritesIsRefusedWithTheReason) {
    WriteIni();
    TkvxStreamFile other;
    other.Open(DatabaseFile(), false);
    QueueDialogScript(CancelWizard());
    m_window = std::make_unique<TfrmMain>();
    EXPECT_FALSE(m_window->FormCreate());
    ASSERT_EQ(m_prompts->Asked.size(), 1);
    EXPECT_TRUE(
        m_prompts->Asked[0].Text.contains(QStringLiteral("is opened for writing by another process")));
    other.Close();
}

TEST_F(StartUp, ALogThatCannotBeCreatedLetsGoOfTheDatabaseAndAsksAgain) {
    WriteWholeFile(DataDir() + QStringLiteral("/plain-file"), "x");
    ExtFiles().SetDBFolder(DataDir());
    ExtFiles().SetLogFolder(DataDir() + QStringLiteral("/plain-file/logs"));
    QueueDialogScript(CancelWizard());
    m_prompts->YesNo = {true};
    m_window = std::make_unique<TfrmMain>();
    EXPECT_FALSE(m_window->FormCreate());
    ASSERT_EQ(m_prompts->Asked.size(), 2);
    EXPECT_TRUE(m_prompts->Asked[1].Text.startsWith(
        QStringLiteral("The file ") +
        QDir::toNativeSeparators(DataDir() + QStringLiteral("/plain-file/logs/vdrLog.txt"))));
    TkvxStreamFile again;
    EXPECT_NO_THROW(again.Open(DatabaseFile(), false)) << "the database was closed again";
}

TEST_F(StartUp, TheBannerNamesTheProgramTheSystemAndBothFiles) {
    WriteIni();
    MakeDatabase([] {});
    Start();
    const QStringList lines = LogLines();
    ASSERT_GE(lines.size(), 9);
    const QString stars(40, QLatin1Char('*'));
    EXPECT_EQ(lines[0], stars);
    EXPECT_TRUE(
        QRegularExpression(QStringLiteral("^Vandor \\d+\\.\\d+\\.\\d+\\.\\d+$")).match(lines[1]).hasMatch())
        << lines[1].toStdString();
    EXPECT_TRUE(lines[2].startsWith(QStringLiteral("Not Supported "))) << lines[2].toStdString();
    EXPECT_TRUE(QRegularExpression(
                    QStringLiteral("^Web Browser component \\(QTextBrowser - 6\\.\\d+\\.\\d+\\) available$"))
                    .match(lines[3])
                    .hasMatch())
        << lines[3].toStdString();
    EXPECT_TRUE(lines[4].startsWith(QStringLiteral("QNetworkInformation"))) << lines[4].toStdString();
    EXPECT_EQ(lines[5], QStringLiteral("DB path - ") + DatabaseFile());
    EXPECT_EQ(lines[6], QStringLiteral("Log path - ") + DataDir() + QStringLiteral("/vdrLog.txt"));
    EXPECT_EQ(lines[7], stars);
    EXPECT_EQ(lines[8], QStringLiteral("Building UI tree"));
}

TEST_F(StartUp, TablesThatCannotBeReadAreNamedInOneWarningAndShownEmpty) {
    WriteIni();
    MakeDatabase([] {
        AddCar(2004, QStringLiteral("Ford"), QStringLiteral("Taurus"));
        Maint().StoreEvent(MakeEvent(0, 0));
        Maint().Save();
    });
    DamageBlock(DatabaseFile(), QStringLiteral("TvdrCars"));
    DamageBlock(DatabaseFile(), QStringLiteral("TvdrMaint"));
    Start();
    // The events load behind the window; the warning waits for them, and
    // comes by itself once they are in.
    EXPECT_TRUE(m_prompts->Transcript().isEmpty());
    QElapsedTimer waited;
    waited.start();
    while (m_prompts->Transcript().isEmpty() && waited.elapsed() < 10000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    EXPECT_EQ(m_prompts->Transcript(),
              QStringList({"warning: These tables of the database could not be read, so Vandor shows them "
                           "empty:\r\n\r\nTvdrMaint (kept as TvdrMaint.damaged)\r\nTvdrCars (kept as "
                           "TvdrCars.damaged)\r\n\r\nTheir stored bytes are kept in the database and are not "
                           "written over; vandor-cli check lists them."}));
    EXPECT_EQ(Cars().Count(), 0);
    EXPECT_EQ(Maint().Count(), 0);
}

using Tree = TvdrMainWindowTest;

TEST_F(Tree, IsBuiltFromTheCarsAndOpensAsTheIniSays) {
    WriteIni();
    MakeDatabase([] {
        AddCar(2004, QStringLiteral("Ford"), QStringLiteral("Taurus"));
        AddCar(1999, QStringLiteral("Audi"), QStringLiteral("A4"));
    });
    TfrmMain &window = Start();
    QTreeWidgetItem *cars = window.Form().tvwMain->topLevelItem(0);
    EXPECT_EQ(Children(cars), QStringList({"1999 Audi A4", "2004 Ford Taurus"}))
        << "sorted by the default order";
    for (int i = 0; i < cars->childCount(); ++i) {
        EXPECT_EQ(Children(cars->child(i)), QStringList({"Maintenance", "Picture"}));
        EXPECT_TRUE(cars->child(i)->isExpanded()) << "FullExpansion opens every node";
        const TvdrTreeNodeData *data = NodeData(cars->child(i)->child(1));
        EXPECT_EQ(data->Kind, nkPicture);
        EXPECT_EQ(data->CarNbr, NodeData(cars->child(i))->CarNbr);
    }
    // Each kind has its image, the same one on every node of that kind.
    QTreeWidgetItem *repairs = window.Form().tvwMain->topLevelItem(1);
    const QList<QTreeWidgetItem *> kinds = {cars->child(0), cars->child(0)->child(0),
                                            cars->child(0)->child(1), repairs};
    for (QTreeWidgetItem *node : kinds)
        EXPECT_FALSE(node->icon(0).pixmap(16).isNull()) << node->text(0).toStdString();
    EXPECT_NE(kinds[1]->icon(0).pixmap(16).toImage(), kinds[2]->icon(0).pixmap(16).toImage());
    EXPECT_EQ(cars->child(1)->child(1)->icon(0).pixmap(16).toImage(), kinds[2]->icon(0).pixmap(16).toImage());
    EXPECT_EQ(window.Form().tvwMain->currentItem(), cars);
    Stop();

    QSettings(ExtFiles().IniFileName(), QSettings::IniFormat)
        .setValue(QStringLiteral("Options/InitialTreeState"), QStringLiteral("expandCARSonly"));
    TfrmMain &again = Start();
    cars = again.Form().tvwMain->topLevelItem(0);
    EXPECT_TRUE(cars->isExpanded());
    EXPECT_FALSE(cars->child(0)->isExpanded());
    EXPECT_FALSE(cars->child(1)->isExpanded());
}

TEST_F(Tree, EachNodeKindSetsTheCommandsOnTheMenuAndTheToolbarAlike) {
    WriteIni();
    MakeDatabase([] { AddCar(2004, QStringLiteral("Ford"), QStringLiteral("Taurus")); });
    TfrmMain &window = Start();
    Ui::TfrmMain &ui = window.Form();
    struct TExpected {
        const char *node;
        const char *insert;
        bool insertOn;
        const char *remove;
        bool removeOn;
        bool filter, deleteUnused, udf, print;
        const char *caption;
    };
    const TExpected table[] = {
        {"Cars", "Insert car", true, "Delete", false, false, false, false, false, "Vandor"},
        {"2004 Ford Taurus", "Insert", false, "Delete car", true, false, false, true, true,
         "Vandor - [ 2004 Ford Taurus ]"},
        {"Maintenance", "Insert maintenance event...", true, "Delete maintenance event", true, true, false,
         false, true, "Vandor - [ 2004 Ford Taurus ]"},
        {"Picture", "Insert picture...", true, "Delete picture", false, false, false, false, true,
         "Vandor - [ 2004 Ford Taurus ]"},
        {"Repair descriptions", "Insert repair description...", true, "Delete repair description", true,
         false, true, false, true, "Vandor"},
    };
    for (const TExpected &row : table) {
        SCOPED_TRACE(row.node);
        window.SelectNode(Node(QString::fromLatin1(row.node)));
        EXPECT_EQ(ui.mmiInsert->text(), QString::fromLatin1(row.insert));
        EXPECT_EQ(ui.mmiInsert->isEnabled(), row.insertOn);
        EXPECT_EQ(ui.mmiDelete->text(), QString::fromLatin1(row.remove));
        EXPECT_EQ(ui.mmiDelete->isEnabled(), row.removeOn);
        EXPECT_EQ(ui.mmiFilter->isVisible(), row.filter);
        EXPECT_EQ(ui.mmiCancelFilter->isVisible(), row.filter);
        EXPECT_FALSE(ui.mmiCancelFilter->isEnabled());
        EXPECT_EQ(ui.mmiDeleteUnused->isVisible(), row.deleteUnused);
        EXPECT_EQ(ui.mmiUDF->isVisible(), row.udf);
        EXPECT_EQ(ui.mmiPrint->isEnabled(), row.print);
        EXPECT_EQ(ui.tbPrintPreview->isEnabled(), row.print);
        EXPECT_EQ(window.windowTitle(), QString::fromLatin1(row.caption));
        // The toolbar follows the menu.
        EXPECT_EQ(ui.tbInsert->toolTip(), QString::fromLatin1(row.insert));
        EXPECT_EQ(ui.tbInsert->isEnabled(), row.insertOn);
        EXPECT_EQ(ui.tbDelete->toolTip(), QString::fromLatin1(row.remove));
        EXPECT_EQ(ui.tbDelete->isEnabled(), row.removeOn);
        EXPECT_EQ(ui.tbFilter->isEnabled(), row.filter);
        EXPECT_FALSE(ui.tbCancelFilter->isEnabled());
        EXPECT_TRUE(ui.tbFilter->isVisible() || !window.isVisible());
    }
    // A command whose state changes later still drags its button along.
    ui.mmiDelete->setEnabled(false);
    EXPECT_FALSE(ui.tbDelete->isEnabled());
}

using Commands = TvdrMainWindowTest;

TEST_F(Commands, InsertOnTheCarsNodeAddsANewCarLastSelectedAndOpen) {
    WriteIni();
    MakeDatabase([] { AddCar(2004, QStringLiteral("Ford"), QStringLiteral("Taurus")); });
    TfrmMain &window = Start();
    window.mmiInsertClick();
    QTreeWidgetItem *cars = window.Form().tvwMain->topLevelItem(0);
    EXPECT_EQ(Children(cars), QStringList({"2004 Ford Taurus", "New car"}));
    QTreeWidgetItem *added = cars->child(1);
    EXPECT_EQ(window.Form().tvwMain->currentItem(), added);
    EXPECT_TRUE(added->isExpanded());
    EXPECT_EQ(Children(added), QStringList({"Maintenance", "Picture"}));
    EXPECT_EQ(Cars().Count(), 2);
    TkvxStreamFile reader;
    reader.Open(DatabaseFile(), true);
    EXPECT_TRUE(QString::fromLatin1(reader.ReadStream(QStringLiteral("TvdrCars")))
                    .contains(QStringLiteral("0000001=")))
        << "the new car is in the file at once";

    window.mmiInsertClick();
    EXPECT_EQ(Cars().Count(), 2) << "Insert does nothing on a car node";
}

TEST_F(Commands, APictureIsInsertedAndClearedOnItsNode) {
    WriteIni();
    qint32 carNbr = -1;
    MakeDatabase([&] { carNbr = AddCar(2004, QStringLiteral("Ford"), QStringLiteral("Taurus")); });
    const QString jpeg = DataDir() + QStringLiteral("/Car.JPEG");
    WriteWholeFile(jpeg, MakeJpeg(64, 48));
    const QString fake = DataDir() + QStringLiteral("/fake.jpg");
    WriteWholeFile(fake, "not a picture at all");
    TfrmMain &window = Start();
    Ui::TfrmMain &ui = window.Form();
    window.SelectNode(Node(QStringLiteral("Picture")));
    auto *view = dynamic_cast<TfraPicture *>(window.CurrentView());
    ASSERT_NE(view, nullptr);
    EXPECT_TRUE(view->Form().imgNoPicAvail->isVisibleTo(view));
    EXPECT_TRUE(ui.tbInsert->isEnabled());
    EXPECT_FALSE(ui.tbDelete->isEnabled());

    m_prompts->Files = {QString(), fake, jpeg};
    window.mmiInsertClick();
    EXPECT_FALSE(Cars().HasPicture(carNbr)) << "a cancelled dialog changes nothing";
    EXPECT_THROW(window.mmiInsertClick(), std::exception);
    EXPECT_FALSE(Cars().HasPicture(carNbr)) << "a file that is no picture is not stored";
    EXPECT_TRUE(m_prompts->Asked[0].Detail.startsWith(QStringLiteral("Pictures (*.bmp *.jpg *.jpeg);;")));
    window.mmiInsertClick();
    EXPECT_EQ(Cars().PictureExtension(carNbr), QStringLiteral("jpg"));
    EXPECT_TRUE(view->Form().imgCar->isVisibleTo(view));
    EXPECT_EQ(view->Form().imgCar->Image().size(), QSize(64, 48));
    EXPECT_FALSE(ui.mmiInsert->isEnabled());
    EXPECT_FALSE(ui.tbInsert->isEnabled());
    EXPECT_TRUE(ui.tbDelete->isEnabled());

    m_prompts->YesNo = {false, true};
    window.mmiDeleteClick();
    EXPECT_TRUE(Cars().HasPicture(carNbr)) << "No keeps the picture";
    window.mmiDeleteClick();
    EXPECT_EQ(m_prompts->Asked.last().Text, QStringLiteral("Delete the picture of 2004 Ford Taurus?"));
    EXPECT_FALSE(Cars().HasPicture(carNbr));
    EXPECT_FALSE(window.Database()->Toc().Exists(TvdrPicture::StreamIdOf(carNbr)));
    EXPECT_TRUE(view->Form().imgNoPicAvail->isVisibleTo(view));
    EXPECT_TRUE(ui.tbInsert->isEnabled());
    EXPECT_FALSE(ui.tbDelete->isEnabled());
}

TEST_F(Commands, APictureThatDoesNotDecodeShowsItsErrorAndTheNoPictureImage) {
    WriteIni();
    qint32 carNbr = -1;
    MakeDatabase([&] {
        carNbr = AddCar(2004, QStringLiteral("Ford"), QStringLiteral("Taurus"));
        TvdrCarRec rec = Cars().CarRec(carNbr);
        rec.SetPictureExtension(QStringLiteral("bmp"));
        Cars().StoreCarRec(rec);
        Cars().Save();
    });
    TfrmMain &window = Start();
    EXPECT_THROW(window.SelectNode(Node(QStringLiteral("Picture"))), EvdrError);
    auto *view = dynamic_cast<TfraPicture *>(window.CurrentView());
    ASSERT_NE(view, nullptr);
    EXPECT_TRUE(view->Form().imgNoPicAvail->isVisibleTo(view));
    EXPECT_FALSE(window.Form().mmiInsert->isEnabled()) << "the commands are set all the same";
    EXPECT_TRUE(window.Form().tbDelete->isEnabled());
}

TEST_F(Commands, DeletingACarRemovesItsWholeHistoryAndShowsTheCarsNode) {
    WriteIni();
    qint32 kept = -1;
    qint32 gone = -1;
    const QString jpeg = DataDir() + QStringLiteral("/car.jpg");
    WriteWholeFile(jpeg, MakeJpeg(8, 8));
    MakeDatabase([&] {
        kept = AddCar(2001, QStringLiteral("Audi"), QStringLiteral("A4"));
        gone = AddCar(2004, QStringLiteral("Ford"), QStringLiteral("Taurus"));
        for (qint32 car : {kept, gone}) {
            Maint().StoreEvent(MakeEvent(car, 0));
            Maint().Save();
            MaintNotes().AddNote(car, 0, QStringLiteral("note"));
            MaintNotes().Save();
            MaintRepairs().AddLink(car, 0, 0);
            MaintRepairs().Save();
            CarsUDF().SetCarValue(car, 0, QStringLiteral("value"));
            CarsUDF().Save();
        }
        InsertCarPicture(gone, jpeg);
    });
    TfrmMain &window = Start();
    window.SelectNode(Node(QStringLiteral("2004 Ford Taurus")));
    m_prompts->YesNo = {false, true};
    window.mmiDeleteClick();
    EXPECT_TRUE(Cars().HasCar(gone));
    window.mmiDeleteClick();
    EXPECT_EQ(m_prompts->Asked.last().Text,
              QStringLiteral(
                  "Delete the car 2004 Ford Taurus?\r\n\r\nIts maintenance events, their repairs and notes, "
                  "its user-defined values and its picture are deleted too."));
    EXPECT_FALSE(Cars().HasCar(gone));
    EXPECT_TRUE(Cars().HasCar(kept));
    EXPECT_EQ(MaintNotes().GetNote(gone, 0), QString());
    EXPECT_EQ(MaintNotes().GetNote(kept, 0), QStringLiteral("note"));
    EXPECT_FALSE(MaintRepairs().HasRepair(gone, 0, 0));
    EXPECT_TRUE(MaintRepairs().HasRepair(kept, 0, 0));
    EXPECT_EQ(CarsUDF().CarValue(gone, 0), QString());
    EXPECT_EQ(CarsUDF().CarValue(kept, 0), QStringLiteral("value"));
    EXPECT_FALSE(Maint().HasEvent(gone, 0));
    EXPECT_FALSE(window.Database()->Toc().Exists(TvdrPicture::StreamIdOf(gone)));
    EXPECT_EQ(Children(window.Form().tvwMain->topLevelItem(0)), QStringList({"2001 Audi A4"}));
    EXPECT_EQ(window.Form().tvwMain->currentItem(), window.Form().tvwMain->topLevelItem(0));
    EXPECT_EQ(window.SelectedNodeData()->Kind, nkCarsRoot);
}

TEST_F(StartUp, AMissingOrDamagedLanguageFileEndsTheProgramWithABuiltInMessage) {
    const QString language = ProgramDir() + QStringLiteral("/vdrLang.dat");
    const QByteArray good = ReadWholeFile(language);
    WriteWholeFile(language, QByteArray());
    m_window = std::make_unique<TfrmMain>();
    EXPECT_FALSE(m_window->FormCreate());
    ASSERT_EQ(m_prompts->Asked.size(), 1);
    EXPECT_TRUE(m_prompts->Asked[0].Text.startsWith(QStringLiteral("The language file ") + language))
        << m_prompts->Asked[0].Text.toStdString();
    m_window.reset();

    WriteWholeFile(language, good);
    const QString path = language;
    DamageBlock(path, QStringLiteral("TkvxLang"));
    m_window = std::make_unique<TfrmMain>();
    EXPECT_FALSE(m_window->FormCreate());
    ASSERT_EQ(m_prompts->Asked.size(), 2);
    EXPECT_TRUE(m_prompts->Asked[1].Text.contains(QStringLiteral("cannot be opened")));
    EXPECT_FALSE(QFileInfo::exists(DatabaseFile())) << "nothing else happened";
    m_window.reset();
    WriteWholeFile(language, good);
}

TEST_F(Commands, ACarViewsEditsReachTheFileBeforeShutDownAndTheTreeResorts) {
    WriteIni();
    MakeDatabase([] {
        AddCar(2001, QStringLiteral("Audi"), QStringLiteral("A4"));
        AddCar(2004, QStringLiteral("Ford"), QStringLiteral("Taurus"));
    });
    TfrmMain &window = Start();
    window.SelectNode(Node(QStringLiteral("2001 Audi A4")));
    auto *view = dynamic_cast<TfraCars *>(window.CurrentView());
    ASSERT_NE(view, nullptr);
    view->Form().nedYear->selectAll();
    QTest::keyClicks(view->Form().nedYear, QStringLiteral("2009"));
    EXPECT_EQ(window.Form().tvwMain->currentItem()->text(0), QStringLiteral("2009 Audi A4"))
        << "the label follows";
    window.SelectNode(Node(QStringLiteral("Repair descriptions")));
    EXPECT_EQ(Children(window.Form().tvwMain->topLevelItem(0)),
              QStringList({"2004 Ford Taurus", "2009 Audi A4"}))
        << "leaving the changed car re-sorts the tree";

    window.SelectNode(Node(QStringLiteral("2004 Ford Taurus")));
    view = dynamic_cast<TfraCars *>(window.CurrentView());
    QTest::keyClicks(view->Form().edtModel, QStringLiteral(" GL"));
    Stop();
    TkvxStreamFile reader;
    reader.Open(DatabaseFile(), true);
    const QString cars = QString::fromLatin1(reader.ReadStream(QStringLiteral("TvdrCars")));
    EXPECT_TRUE(cars.contains(QStringLiteral("Taurus GL")))
        << "pending edits are written before the file closes";
    EXPECT_TRUE(cars.contains(QStringLiteral("2009\tAudi")));
}

TEST_F(Commands, DeletingACarWithPendingEditsDoesNotWriteItBack) {
    TfraCars &view = StartInTheCarView();
    QTest::keyClicks(view.Form().edtMake, QStringLiteral("x"));
    m_prompts->YesNo = {true};
    m_window->mmiDeleteClick();
    EXPECT_EQ(Cars().Count(), 0);
    Stop();
    MakeDatabase([] { EXPECT_EQ(Cars().Count(), 0); });
}

TEST_F(Commands, NewUserDefinedFieldsShowInTheOpenCarViewAndKeepItsTyping) {
    TfraCars &carView = StartInTheCarView();
    TfraCars *view = &carView;
    TfrmMain &window = *m_window;
    QTest::keyClicks(view->Form().edtModel, QStringLiteral(" GL"));
    m_prompts->Inputs = {QStringLiteral("Color")};
    QueueDialogScript([](QDialog &dialog) {
        auto &udf = static_cast<TfrmUDF &>(dialog);
        udf.spbAddClick();
        udf.btnOKClick();
    });
    window.mmiUDFClick();
    ASSERT_EQ(view->Form().sgrUDF->rowCount(), 1);
    EXPECT_EQ(view->Form().sgrUDF->item(0, 0)->text(), QStringLiteral("Color"));
    EXPECT_EQ(view->Form().edtModel->text(), QStringLiteral("Taurus GL")) << "the typing stays";
    const QStringList log = LogLines();
    EXPECT_TRUE(log.contains(QStringLiteral("Show UDF dialog")));
    EXPECT_TRUE(log.contains(QStringLiteral("UDF applied")));
}

TEST_F(Commands, FilterAndCancelFilterOnAMaintenanceNodeSwitchEachOther) {
    WriteIni();
    MakeDatabase([] {
        const qint32 car = AddCar(2004, QStringLiteral("Ford"), QStringLiteral("Taurus"));
        Maint().StoreEvent(MakeEvent(car, 0, QDate(2004, 1, 1), 1000, 10));
        Maint().StoreEvent(MakeEvent(car, 1, QDate(2005, 1, 1), 2000, 20));
        Maint().Save();
    });
    TfrmMain &window = Start();
    Ui::TfrmMain &ui = window.Form();
    window.SelectNode(Node(QStringLiteral("Maintenance")));
    ASSERT_NE(dynamic_cast<TfraMaint *>(window.CurrentView()), nullptr);
    QueueDialogScript([](QDialog &dialog) { static_cast<TfrmMaintFilter &>(dialog).btnCancelClick(); });
    window.mmiFilterClick();
    EXPECT_FALSE(ui.mmiCancelFilter->isEnabled()) << "a cancelled filter dialog";
    QueueDialogScript([](QDialog &dialog) {
        auto &filter = static_cast<TfrmMaintFilter &>(dialog);
        filter.Form().pgcFilter->setCurrentIndex(TfrmMaintFilter::pgMileage);
        filter.btnOKClick();
    });
    window.mmiFilterClick();
    EXPECT_TRUE(ui.mmiCancelFilter->isEnabled());
    EXPECT_TRUE(ui.tbCancelFilter->isEnabled());
    window.mmiCancelFilterClick();
    EXPECT_FALSE(ui.mmiCancelFilter->isEnabled());
    EXPECT_FALSE(ui.tbCancelFilter->isEnabled());
    const QStringList log = LogLines();
    EXPECT_EQ(log.count(QStringLiteral("Show filter dialog")), 2);
    EXPECT_EQ(log.count(QStringLiteral("Filter applied")), 1);
    EXPECT_EQ(log.count(QStringLiteral("Filter canceled")), 1);
}

#include "frRepairs.h"
#include "fmRepairs.h"

#include "kvxLang.h"
#include "kvxLangApply.h"
#include "ui_fmRepairs.h"
#include "ui_frRepairs.h"
#include "vdrCars.h"
#include "vdrFormDriver.h"
#include "vdrHelpTopic.h"
#include "vdrLog.h"
#include "vdrMaintEvents.h"
#include "vdrMaintRepairs.h"
#include "vdrModal.h"
#include "vdrOptions.h"
#include "vdrRepairs.h"
#include "vdrScriptedPrompts.h"
#include "vdrTestDatabase.h"

#include <QComboBox>
#include <QLineEdit>

#include <gtest/gtest.h>

namespace {

QString Text(const char *key) {
    return Lang().GetText(QLatin1String(key));
}

void AddEvent(qint32 carNbr, const QList<qint32> &repairNbrs) {
    TvdrMaintEntry entry;
    entry.CarNbr = carNbr;
    entry.Date = QDate(2004, 3, 15);
    entry.RepairNbrs = repairNbrs;
    SaveMaintEvent(entry);
}

QStringList ComboItems(const QComboBox *combo) {
    QStringList items;
    for (int i = 0; i < combo->count(); ++i)
        items.append(combo->itemText(i));
    return items;
}

// A database with the log on, scripted prompts, and the view shown with
// three descriptions: Brakes (0), Air filter (1), Wipers (2).
class RepairsTest : public testing::Test {
protected:
    void SetUp() override {
        Log().SetPath(m_db.Folder());
        Log().SetEnabled(true);
        for (const char *description : {"Brakes", "Air filter", "Wipers"})
            Repairs().AddRepair(QLatin1String(description));
        Repairs().Save();
    }
    void TearDown() override {
        ExpectEveryPlannedDialogShown();
        Log().SetEnabled(false);
    }

    // Shown, as the main window sets it up.
    std::unique_ptr<TfraRepairs> OpenView() {
        auto view = std::make_unique<TfraRepairs>();
        view->resize(400, 300);
        view->show();
        view->SetSortImages(m_images);
        view->LoadRepairs();
        return view;
    }

    // The repair table as stored in the file.
    QString StoredRepairs() {
        m_db.Reopen();
        return Repairs().Text();
    }

    TvdrTestDatabase m_db;
    TvdrPromptsScript m_prompts;
    const QList<QIcon> m_images = TestSortImages();
};

using RepairsView = RepairsTest;
using RepairDialog = RepairsTest;

} // namespace

TEST_F(RepairsView, ListsTheDescriptionsInTheKeptDirectionAndTheHeaderTogglesIt) {
    std::unique_ptr<TfraRepairs> view = OpenView();
    QTreeWidget *list = view->Form().lvwRepairs;
    EXPECT_EQ(LogMessages(), QStringList({"TfraRepairs initializing"}));
    EXPECT_EQ(Captions(list), QStringList({"Air filter", "Brakes", "Wipers"})) << "no option: ascending";
    EXPECT_EQ(RowNumbers(list), QList<qint32>({1, 0, 2}));
    EXPECT_EQ(SelectedCaption(list), QStringLiteral("Air filter"));
    EXPECT_EQ(ShownSortImage(list, m_images), 0);

    ClickHeader(list);
    EXPECT_EQ(Captions(list), QStringList({"Wipers", "Brakes", "Air filter"}));
    EXPECT_EQ(ShownSortImage(list, m_images), 1);
    EXPECT_EQ(SelectedCaption(list), QStringLiteral("Wipers")) << "the first row after a refill";
    ClickHeader(list);
    EXPECT_EQ(Captions(list), QStringList({"Air filter", "Brakes", "Wipers"}))
        << "two clicks give the order back";
    EXPECT_EQ(ShownSortImage(list, m_images), 0);
    ClickHeader(list);
    view->CloseView();
    view.reset();

    m_db.Reopen();
    EXPECT_EQ(Options().GetValue(QLatin1String(vdrOptionKeys::RepairsViewOrder)), QStringLiteral("1"))
        << "written and saved when the view closes";
    Repairs().BuildOrder(false);
    view = OpenView();
    EXPECT_EQ(Captions(view->Form().lvwRepairs), QStringList({"Wipers", "Brakes", "Air filter"}));
    EXPECT_EQ(ShownSortImage(view->Form().lvwRepairs, m_images), 1);
}

TEST_F(RepairsView, AnEmptyTableShowsAnEmptyListAndDeleteDoesNothing) {
    Repairs().Clear();
    Repairs().Save();
    std::unique_ptr<TfraRepairs> view = OpenView();
    EXPECT_EQ(view->Form().lvwRepairs->topLevelItemCount(), 0);
    EXPECT_EQ(view->SelectedRepairNbr(), -1);
    view->DeleteSelectedRepair();
    view->lvwRepairsKeyPress();
    ClickHeader(view->Form().lvwRepairs);
    EXPECT_EQ(view->SelectedRepairNbr(), -1);
    EXPECT_TRUE(m_prompts->Asked.isEmpty());
}

TEST_F(RepairsView, EnterAndDoubleClickChangeTheSelectedDescription) {
    std::unique_ptr<TfraRepairs> view = OpenView();
    QTreeWidget *list = view->Form().lvwRepairs;
    SelectRow(list, FindRow(list, 0));
    QueueDialogScript([](QDialog &dialog) {
        auto &form = static_cast<TfrmRepairs &>(dialog);
        EXPECT_EQ(form.Mode(), TfrmRepairs::rmModify);
        EXPECT_EQ(form.windowTitle(), Text("CP-RepairDescriptionModify"));
        EXPECT_EQ(form.Form().cboRepair->currentText(), QStringLiteral("Brakes"));
        EXPECT_EQ(ComboItems(form.Form().cboRepair), QStringList({"Air filter", "Brakes", "Wipers"}));
        form.Form().cboRepair->setEditText(QStringLiteral("  Wheel bearings "));
        form.btnOKClick();
    });
    QTest::keyClick(list, Qt::Key_Return);
    EXPECT_EQ(Captions(list), QStringList({"Air filter", "Wheel bearings", "Wipers"})) << "sorted anew";
    EXPECT_EQ(SelectedCaption(list), QStringLiteral("Wheel bearings"));
    EXPECT_EQ(Repairs().Count(), 3) << "changed in place";

    // Cancelled, nothing is written; double-clicked, the clicked row opens.
    const QString before = StoredRepairs();
    QueueDialogScript([](QDialog &dialog) {
        auto &form = static_cast<TfrmRepairs &>(dialog);
        EXPECT_EQ(form.Form().cboRepair->currentText(), QStringLiteral("Wipers"));
        form.Form().cboRepair->setEditText(QStringLiteral("Anything"));
        form.btnCancelClick();
    });
    DoubleClickRow(list, FindRow(list, 2));
    EXPECT_EQ(StoredRepairs(), before);
    EXPECT_EQ(Repairs().Description(0), QStringLiteral("Wheel bearings"));
    EXPECT_TRUE(m_prompts->Asked.isEmpty());

    // Only the letter case changed, typed and confirmed with Enter.
    QueueDialogScript([](QDialog &dialog) {
        QComboBox *combo = static_cast<TfrmRepairs &>(dialog).Form().cboRepair;
        combo->lineEdit()->selectAll();
        QTest::keyClicks(combo, QStringLiteral("WIPERS"));
        QTest::keyClick(combo, Qt::Key_Return);
    });
    QTest::keyClick(list, Qt::Key_Return);
    EXPECT_EQ(StoredRepairs(),
              QStringLiteral("0000000=Wheel bearings\r\n0000001=Air filter\r\n0000002=WIPERS\r\n"));

    // Without a selected row Enter opens nothing.
    SelectRow(list, nullptr);
    QTest::keyClick(list, Qt::Key_Return);
    EXPECT_EQ(PendingDialogScripts(), 0);
}

TEST_F(RepairsView, ADescriptionInUseIsRefusedWithItsCarsListedOnceEach) {
    const qint32 taurus = StoreCar(2004, QStringLiteral("Ford"), QStringLiteral("Taurus"));
    const qint32 beetle = StoreCar(1972, QStringLiteral("VW"), QStringLiteral("Beetle"));
    AddEvent(taurus, {0});
    AddEvent(taurus, {0, 2});
    AddEvent(beetle, {0});
    std::unique_ptr<TfraRepairs> view = OpenView();
    QTreeWidget *list = view->Form().lvwRepairs;
    SelectRow(list, FindRow(list, 0));
    const QString before = StoredRepairs();

    view->DeleteSelectedRepair();
    ASSERT_EQ(m_prompts->Transcript(),
              QStringList({"info: " + Text("IM-RepairInUsePart1") +
                           "\r\t1972 VW Beetle\r\t2004 Ford Taurus\r\r" + Text("IM-RepairInUsePart2")}));
    EXPECT_EQ(StoredRepairs(), before);
    EXPECT_EQ(list->topLevelItemCount(), 3);
}

TEST_F(RepairsView, AnUnusedDescriptionIsDeletedOnlyOnYes) {
    std::unique_ptr<TfraRepairs> view = OpenView();
    QTreeWidget *list = view->Form().lvwRepairs;
    SelectRow(list, FindRow(list, 0));
    const QString before = StoredRepairs();
    m_prompts->YesNo = {false};
    view->DeleteSelectedRepair();
    EXPECT_EQ(m_prompts->Transcript(),
              QStringList({"question: " +
                           Lang().FormatText(QStringLiteral("QM-Delete"), {QStringLiteral("Brakes")})}));
    EXPECT_EQ(StoredRepairs(), before);
    EXPECT_EQ(list->topLevelItemCount(), 3);

    m_prompts->YesNo = {true};
    view->DeleteSelectedRepair();
    EXPECT_EQ(Captions(list), QStringList({"Air filter", "Wipers"}));
    EXPECT_EQ(SelectedCaption(list), QStringLiteral("Wipers")) << "the row that took the deleted one's place";
    EXPECT_EQ(StoredRepairs(), QStringLiteral("0000001=Air filter\r\n0000002=Wipers\r\n"));

    m_prompts->YesNo = {true, true};
    view->DeleteSelectedRepair();
    EXPECT_EQ(SelectedCaption(list), QStringLiteral("Air filter")) << "the last row gone, the one before it";
    view->DeleteSelectedRepair();
    EXPECT_EQ(list->topLevelItemCount(), 0);
    EXPECT_EQ(view->SelectedRepairNbr(), -1) << "the only row gone, nothing is selected";
    EXPECT_EQ(StoredRepairs(), QString());
}

TEST_F(RepairsView, DeleteUnusedRemovesEveryUnlinkedDescriptionAndReloads) {
    AddEvent(StoreCar(2004, QStringLiteral("Ford"), QStringLiteral("Taurus")), {2});
    std::unique_ptr<TfraRepairs> view = OpenView();
    const QString before = StoredRepairs();

    m_prompts->YesNo = {false};
    view->DeleteUnusedRepairs();
    EXPECT_EQ(m_prompts->Transcript(), QStringList({"question: " + Text("QM-DeleteUnused")}));
    EXPECT_EQ(StoredRepairs(), before);
    EXPECT_EQ(LogMessages(), QStringList({"TfraRepairs initializing", "delete unused repairs?"}));

    m_prompts->YesNo = {true};
    view->DeleteUnusedRepairs();
    EXPECT_EQ(Captions(view->Form().lvwRepairs), QStringList({"Wipers"}));
    EXPECT_EQ(SelectedCaption(view->Form().lvwRepairs), QStringLiteral("Wipers"));
    EXPECT_EQ(StoredRepairs(), QStringLiteral("0000002=Wipers\r\n"));

    m_prompts->YesNo = {true};
    view->DeleteUnusedRepairs();
    EXPECT_EQ(Captions(view->Form().lvwRepairs), QStringList({"Wipers"})) << "nothing unused: only reloaded";
    EXPECT_EQ(LogMessages(),
              QStringList({"TfraRepairs initializing", "delete unused repairs?", "delete unused repairs?",
                           "deleting unused repairs", "TfraRepairs initializing", "delete unused repairs?",
                           "deleting unused repairs", "TfraRepairs initializing"}));
}

TEST_F(RepairDialog, AddRefusesABlankDescriptionAndStoresEvenAnEqualOne) {
    QueueDialogScript([this](QDialog &dialog) {
        auto &form = static_cast<TfrmRepairs &>(dialog);
        EXPECT_EQ(form.windowTitle(), Text("CP-RepairDescriptionAdd"));
        EXPECT_EQ(form.Form().cboRepair->currentText(), QString());
        form.Form().cboRepair->setEditText(QStringLiteral(" \t "));
        form.btnOKClick();
        EXPECT_EQ(m_prompts->Transcript(), QStringList({"warning: " + Text("WM-RepairDescriptionIsBlank")}));
        EXPECT_TRUE(form.isVisible()) << "the dialog stays open";
        EXPECT_EQ(form.Form().cboRepair->currentText(), QStringLiteral(" \t "));
        EXPECT_EQ(Repairs().Count(), 3);
        form.Form().cboRepair->setEditText(QStringLiteral("brakes"));
        form.btnOKClick();
    });
    qint32 repairNbr = -1;
    EXPECT_TRUE(TfrmRepairs::ExecuteAdd(repairNbr));
    EXPECT_EQ(repairNbr, 3) << "a second description equal to Brakes, with its own number";
    EXPECT_EQ(StoredRepairs(), QStringLiteral("0000000=Brakes\r\n0000001=Air filter\r\n0000002=Wipers\r\n"
                                              "0000003=brakes\r\n"));

    // Typed and confirmed with Enter; blanks around the text are not stored.
    QueueDialogScript([](QDialog &dialog) {
        auto &form = static_cast<TfrmRepairs &>(dialog);
        QTest::keyClicks(form.Form().cboRepair, QStringLiteral("  Spark plugs  "));
        QTest::keyClick(form.Form().cboRepair, Qt::Key_Return);
    });
    EXPECT_TRUE(TfrmRepairs::ExecuteAdd(repairNbr));
    EXPECT_EQ(repairNbr, 4);
    EXPECT_EQ(Repairs().Get(4), QStringLiteral("0000004=Spark plugs"));

    const QString before = StoredRepairs();
    QueueDialogScript([](QDialog &dialog) {
        static_cast<TfrmRepairs &>(dialog).Form().cboRepair->setEditText(QStringLiteral("Tyres"));
        QTest::keyClick(&dialog, Qt::Key_Escape);
    });
    repairNbr = 17;
    EXPECT_FALSE(TfrmRepairs::ExecuteAdd(repairNbr));
    EXPECT_EQ(repairNbr, 17);
    EXPECT_EQ(StoredRepairs(), before);
}

TEST_F(RepairDialog, SelectReusesADescriptionTypedInAnyLetterCaseOrMakesANewOne) {
    Repairs().AddRepair(QStringLiteral("BRAKES"));
    Repairs().Save();
    const QString before = StoredRepairs();
    QueueDialogScript([](QDialog &dialog) {
        auto &form = static_cast<TfrmRepairs &>(dialog);
        EXPECT_EQ(form.windowTitle(), Text("CP-RepairDescriptionSelect"));
        EXPECT_EQ(form.Form().cboRepair->currentText(), QString()) << "no preset";
        EXPECT_EQ(ComboItems(form.Form().cboRepair), QStringList({"Air filter", "Brakes", "Wipers"}))
            << "each text once, ascending";
        form.Form().cboRepair->setEditText(QStringLiteral("wIPERS"));
        form.btnOKClick();
    });
    qint32 repairNbr = -1;
    EXPECT_TRUE(TfrmRepairs::ExecuteSelect(repairNbr));
    EXPECT_EQ(repairNbr, 2);
    EXPECT_EQ(StoredRepairs(), before) << "an existing description is not added again";

    // Picked from the drop-down, with a preset.
    QueueDialogScript([](QDialog &dialog) {
        auto &form = static_cast<TfrmRepairs &>(dialog);
        EXPECT_EQ(form.Form().cboRepair->currentText(), QStringLiteral("Wipers"));
        form.Form().cboRepair->setCurrentIndex(0);
        form.btnOKClick();
    });
    EXPECT_TRUE(TfrmRepairs::ExecuteSelect(repairNbr));
    EXPECT_EQ(repairNbr, 1);

    QueueDialogScript([](QDialog &dialog) {
        auto &form = static_cast<TfrmRepairs &>(dialog);
        form.Form().cboRepair->setEditText(QStringLiteral("Tyres"));
        form.btnOKClick();
    });
    EXPECT_TRUE(TfrmRepairs::ExecuteSelect(repairNbr));
    EXPECT_EQ(repairNbr, 4);
    EXPECT_EQ(StoredRepairs(), before + QStringLiteral("0000004=Tyres\r\n")) << "a new one is made and saved";

    QueueDialogScript([](QDialog &dialog) {
        auto &form = static_cast<TfrmRepairs &>(dialog);
        form.Form().cboRepair->setEditText(QStringLiteral("Exhaust"));
        form.btnCancelClick();
    });
    EXPECT_FALSE(TfrmRepairs::ExecuteSelect(repairNbr));
    EXPECT_EQ(repairNbr, 4);
    EXPECT_EQ(Repairs().FindRepair(QStringLiteral("Exhaust")), -1);
}

TEST_F(RepairDialog, KeepsItsPlacementAndHasATextForEveryDesignedCaption) {
    Options().SetValue(QLatin1String(vdrOptionKeys::RepairsDialog), QStringLiteral("0 120 80 140 420"));
    {
        TfrmRepairs dialog(TfrmRepairs::rmAdd, -1);
        EXPECT_EQ(dialog.size(), QSize(420, 140));
        EXPECT_EQ(MissingWindowTexts(&dialog), QStringList());
        EXPECT_EQ(HelpTopicAt(dialog.Form().cboRepair), vdrHelpTopics::RepairDialog);
        EXPECT_EQ(dialog.Form().lblRepair->text(), Text("frmRepairs.lblRepair.Caption"));
        dialog.resize(450, 150);
    }
    m_db.Reopen();
    EXPECT_TRUE(
        Options().GetValue(QLatin1String(vdrOptionKeys::RepairsDialog)).endsWith(QLatin1String(" 150 450")))
        << "stored and saved when the dialog is destroyed";
    TfraRepairs view;
    view.LoadRepairs();
    EXPECT_EQ(MissingWindowTexts(&view), QStringList());
    EXPECT_EQ(HelpTopicAt(view.Form().lvwRepairs), vdrHelpTopics::RepairsView);
}

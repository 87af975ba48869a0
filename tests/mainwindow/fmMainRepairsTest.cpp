#include "fmRepairs.h"
#include "frRepairs.h"
#include "ui_fmMain.h"
#include "ui_fmRepairs.h"
#include "ui_frRepairs.h"
#include "vdrMainWindowFixture.h"
#include "vdrModal.h"
#include "vdrOptions.h"
#include "vdrRepairs.h"

#include <QComboBox>
#include <QTreeWidget>

using RepairsNode = TvdrMainWindowTest;

TEST_F(RepairsNode, ShowsTheViewAndItsCommandsReachIt) {
    WriteIni();
    MakeDatabase([] {
        Repairs().AddRepair(QStringLiteral("Wipers"));
        Repairs().AddRepair(QStringLiteral("Brakes"));
        Repairs().Save();
    });
    TfrmMain &window = Start();
    window.SelectNode(Node(QStringLiteral("Repair descriptions")));
    auto *view = dynamic_cast<TfraRepairs *>(window.CurrentView());
    ASSERT_NE(view, nullptr);
    QTreeWidget *list = view->Form().lvwRepairs;
    ASSERT_EQ(list->topLevelItemCount(), 2);
    EXPECT_EQ(list->topLevelItem(0)->text(0), QStringLiteral("Brakes"));
    EXPECT_FALSE(list->headerItem()->icon(0).isNull()) << "the main window's sort images";

    QueueDialogScript([](QDialog &dialog) {
        static_cast<TfrmRepairs &>(dialog).Form().cboRepair->setEditText(QStringLiteral("Air filter"));
        static_cast<TfrmRepairs &>(dialog).btnOKClick();
    });
    window.Form().mmiInsert->trigger();
    ASSERT_EQ(list->topLevelItemCount(), 3);
    EXPECT_EQ(list->currentItem()->text(0), QStringLiteral("Air filter"))
        << "the new description is selected";

    m_prompts->YesNo = {true};
    window.Form().mmiDelete->trigger();
    EXPECT_EQ(Repairs().FindRepair(QStringLiteral("Air filter")), -1);

    m_prompts->YesNo = {true};
    window.Form().mmiDeleteUnused->trigger();
    EXPECT_EQ(Repairs().Count(), 0);
    EXPECT_EQ(list->topLevelItemCount(), 0);
    EXPECT_EQ(PendingDialogScripts(), 0);

    // The direction chosen is written when the view closes.
    Repairs().AddRepair(QStringLiteral("Tyres"));
    view->lvwRepairsColumnClick();
    window.SelectNode(Node(QStringLiteral("Cars")));
    EXPECT_EQ(Options().GetValue(QLatin1String(vdrOptionKeys::RepairsViewOrder)), QStringLiteral("1"));
}

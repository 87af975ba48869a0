#include "fmUDF.h"

#include "kvxLangApply.h"
#include "ui_fmUDF.h"
#include "vdrCarsUDF.h"
#include "vdrHelpTopic.h"
#include "vdrModal.h"
#include "vdrOptions.h"
#include "vdrOrderedList.h"
#include "vdrScriptedPrompts.h"
#include "vdrSortOrder.h"
#include "vdrSortOrderList.h"
#include "vdrTestDatabase.h"
#include "vdrUDF.h"

#include <QApplication>
#include <QTest>

#include <gtest/gtest.h>

namespace {

class UdfDialog : public testing::Test {
protected:
    void SetUp() override {
        // Plate (0) and Tyres (1) swapped in the display order; Colour (2).
        UDF().AddUdf(1, QStringLiteral("Plate"));
        UDF().AddUdf(0, QStringLiteral("Tyres"));
        UDF().AddUdf(2, QStringLiteral("Colour"));
        for (qint32 udfNbr : {0, 1, 2}) {
            CarsUDF().SetCarValue(5, udfNbr, QStringLiteral("car 5, field %1").arg(udfNbr));
            CarsUDF().SetCarValue(6, udfNbr, QStringLiteral("car 6, field %1").arg(udfNbr));
        }
        TvdrSortOrderRec byTyres;
        byTyres.SetName(QStringLiteral("By tyres"));
        byTyres.AddSortField(1, TvdrSortOrderField::UserDefined, 0);
        byTyres.AddSortField(TvdrSortOrderField::Year, TvdrSortOrderField::BuiltIn, 0);
        SortOrder().AddSortOrder(byTyres);
        UDF().Save();
        CarsUDF().Save();
        SortOrder().Save();
    }
    void TearDown() override {
        EXPECT_EQ(PendingDialogScripts(), 0);
        ClearDialogScripts();
    }

    // What every table holds, as the next start reads it.
    QStringList Stored() {
        m_db.Reopen();
        UDF().SortByNumber();
        return {UDF().Text(), CarsUDF().Text(), SortOrder().Text()};
    }

    static QStringList Names(const TfrmUDF &dialog) {
        QStringList names;
        for (const TvdrUdfEntry &entry : dialog.Entries())
            names.append(entry.Name);
        return names;
    }
    static int Selected(const TfrmUDF &dialog) { return vdrOrderedList::SelectedRow(dialog.Form().lbxUDF); }
    static void Select(TfrmUDF &dialog, int row) { vdrOrderedList::SelectRow(dialog.Form().lbxUDF, row); }

    TvdrTestDatabase m_db;
    TvdrPromptsScript m_prompts;
};

} // namespace

TEST_F(UdfDialog, ShowsTheFieldsInTheirOrderWithTheFirstSelected) {
    QueueDialogScript([](QDialog &shown) {
        auto &dialog = static_cast<TfrmUDF &>(shown);
        EXPECT_EQ(Names(dialog), QStringList({"Tyres", "Plate", "Colour"}));
        EXPECT_EQ(dialog.Entries().at(1).UdfNbr, 0);
        EXPECT_EQ(Selected(dialog), 0);
    });
    EXPECT_FALSE(ExecuteUDF()) << "a script that leaves the dialog open cancels it";
}

TEST_F(UdfDialog, OKWritesRemovalsThenPositionsAndNewFields) {
    m_prompts->YesNo = {true};
    m_prompts->Inputs = {QStringLiteral("  Insurance  "), QStringLiteral("Registration")};
    QueueDialogScript([](QDialog &shown) {
        auto &dialog = static_cast<TfrmUDF &>(shown);
        dialog.spbDeleteClick(); // Tyres
        dialog.spbAddClick();    // Insurance, last
        Select(dialog, 2);
        dialog.spbUpClick();
        dialog.spbUpClick();
        EXPECT_EQ(Selected(dialog), 0) << "the moved entry stays selected";
        Select(dialog, 1);
        dialog.spbChangeClick(); // Plate becomes Registration
        EXPECT_EQ(Names(dialog), QStringList({"Insurance", "Registration", "Colour"}));
        dialog.btnOKClick();
    });
    ASSERT_TRUE(ExecuteUDF());
    EXPECT_EQ(
        m_prompts->Transcript(),
        QStringList({"question: Remove the selected field?\r\n\r\nWhen you confirm the dialog with OK, the "
                     "value of this field is deleted from every car.",
                     "input: Add a user-defined field", "input: Change a user-defined field"}));
    EXPECT_EQ(m_prompts->Asked[1].Detail, QStringLiteral("Field name:"));

    const QStringList stored = Stored();
    // The new field takes the number freed a moment ago, and no old value.
    EXPECT_EQ(stored[0], QStringLiteral("0000000\t0000001\tRegistration\r\n"
                                        "0000001\t0000000\tInsurance\r\n"
                                        "0000002\t0000002\tColour\r\n"));
    EXPECT_EQ(CarsUDF().CarValue(5, 1), QString());
    EXPECT_EQ(CarsUDF().CarValue(6, 1), QString());
    EXPECT_EQ(CarsUDF().CarValue(6, 0), QStringLiteral("car 6, field 0")) << "renaming keeps the values";
    EXPECT_EQ(CarsUDF().Count(), 4);
    ASSERT_EQ(SortOrder().Count(), 1);
    EXPECT_EQ(SortOrder().Get(0), QStringLiteral("By tyres=0\t0|0|0"))
        << "the deleted field left the sort order";
}

TEST_F(UdfDialog, AFieldAddedAndDeletedAgainOnlyRenumbersTheOthers) {
    UDF().UpdateUdf(2, 7, QStringLiteral("Colour"));
    UDF().Save();
    m_prompts->YesNo = {true};
    m_prompts->Inputs = {QStringLiteral("Scratch")};
    QueueDialogScript([](QDialog &shown) {
        auto &dialog = static_cast<TfrmUDF &>(shown);
        dialog.spbAddClick();
        Select(dialog, 3);
        dialog.spbDeleteClick();
        EXPECT_EQ(Selected(dialog), 0) << "the first entry is selected after a deletion";
        EXPECT_EQ(dialog.Removed().at(0).UdfNbr, -1);
        dialog.btnOKClick();
    });
    const QStringList before = Stored();
    ASSERT_TRUE(ExecuteUDF());
    const QStringList after = Stored();
    EXPECT_EQ(after[0], QStringLiteral("0000000\t0000001\tPlate\r\n"
                                       "0000001\t0000000\tTyres\r\n"
                                       "0000002\t0000002\tColour\r\n"));
    EXPECT_EQ(after[1], before[1]);
    EXPECT_EQ(after[2], before[2]);
}

TEST_F(UdfDialog, CancelEscapeAndClosingTheWindowWriteNothing) {
    const QStringList before = Stored();
    const std::function<void(TfrmUDF &)> endings[] = {
        [](TfrmUDF &dialog) { dialog.btnCancelClick(); },
        [](TfrmUDF &dialog) { QTest::keyClick(dialog.Form().lbxUDF, Qt::Key_Escape); },
        [](TfrmUDF &dialog) { dialog.close(); },
    };
    for (const auto &end : endings) {
        m_prompts->YesNo = {true};
        m_prompts->Inputs = {QStringLiteral("New"), QStringLiteral("Renamed")};
        QueueDialogScript([&end](QDialog &shown) {
            auto &dialog = static_cast<TfrmUDF &>(shown);
            dialog.spbDeleteClick();
            dialog.spbAddClick();
            dialog.spbChangeClick();
            dialog.spbDownClick();
            end(dialog);
            EXPECT_FALSE(dialog.isVisible());
        });
        EXPECT_FALSE(ExecuteUDF());
        EXPECT_EQ(Stored(), before);
    }
}

TEST_F(UdfDialog, ListCommandsAtTheEndsOrWithoutASelectionDoNothing) {
    QueueDialogScript([this](QDialog &shown) {
        auto &dialog = static_cast<TfrmUDF &>(shown);
        dialog.spbUpClick();
        EXPECT_EQ(Names(dialog), QStringList({"Tyres", "Plate", "Colour"}));
        Select(dialog, 2);
        dialog.spbDownClick();
        EXPECT_EQ(Names(dialog), QStringList({"Tyres", "Plate", "Colour"}));
        EXPECT_EQ(Selected(dialog), 2);

        dialog.Form().lbxUDF->clearSelection();
        dialog.spbUpClick();
        dialog.spbDownClick();
        dialog.spbChangeClick();
        dialog.spbDeleteClick();
        EXPECT_EQ(Names(dialog), QStringList({"Tyres", "Plate", "Colour"}));
        EXPECT_TRUE(m_prompts->Asked.isEmpty()) << "nothing is asked about no field";

        // No to the question, a cancelled input box: nothing changes.
        Select(dialog, 1);
        m_prompts->YesNo = {false};
        dialog.spbDeleteClick();
        m_prompts->InputAccepted = false;
        m_prompts->Inputs = {QStringLiteral("ignored"), QStringLiteral("ignored")};
        dialog.spbChangeClick();
        dialog.spbAddClick();
        EXPECT_EQ(Names(dialog), QStringList({"Tyres", "Plate", "Colour"}));
        EXPECT_TRUE(dialog.Removed().isEmpty());
        dialog.btnOKClick();
    });
    ASSERT_TRUE(ExecuteUDF());
    UDF().SortBySortOrder();
    EXPECT_EQ(UDF().NameAt(0), QStringLiteral("Tyres"));
}

TEST_F(UdfDialog, ANameTheRowCouldNotKeepIsRefusedAndAskedForAgain) {
    m_prompts->Inputs = {QStringLiteral("Tyre\tsize"), QString::fromUtf8("\u0141ada code"),
                         QStringLiteral("Tyre size"), QStringLiteral("Line\nbreak")};
    QueueDialogScript([this](QDialog &shown) {
        auto &dialog = static_cast<TfrmUDF &>(shown);
        dialog.spbAddClick();
        EXPECT_EQ(Names(dialog), QStringList({"Tyres", "Plate", "Colour", "Tyre size"}));
        m_prompts->InputAccepted = false;
        dialog.spbChangeClick(); // refused, then cancelled
        EXPECT_EQ(Names(dialog).constFirst(), QStringLiteral("Tyres"));
        dialog.btnOKClick();
    });
    ASSERT_TRUE(ExecuteUDF());
    const QString warning =
        QStringLiteral("warning: This field name cannot be stored: it holds a tab, a line break "
                       "or a character that Vandor cannot store. Please enter another name.");
    EXPECT_EQ(
        m_prompts->Transcript(),
        QStringList({"input: Add a user-defined field", warning, "input: Add a user-defined field", warning,
                     "input: Add a user-defined field", "input: Change a user-defined field"}));
    EXPECT_EQ(UDF().FindUdf(QStringLiteral("Tyre size")), 3);
}

TEST_F(UdfDialog, DoubleClickChangesAndTheKeyboardReachesEveryCommand) {
    m_prompts->Inputs = {QStringLiteral("Tyre size")};
    QueueDialogScript([](QDialog &shown) {
        auto &dialog = static_cast<TfrmUDF &>(shown);
        QListWidget *list = dialog.Form().lbxUDF;
        const QRect second = list->visualItemRect(list->item(1));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, second.center());
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, second.center());
        EXPECT_EQ(Names(dialog), QStringList({"Tyres", "Tyre size", "Colour"}));

        list->setFocus();
        QTest::keyClick(list, Qt::Key_Down);
        EXPECT_EQ(Selected(dialog), 2);
        // Tab to the Up button and press it with the space bar.
        const QList<QWidget *> order{dialog.Form().spbAdd, dialog.Form().spbChange, dialog.Form().spbDelete,
                                     dialog.Form().spbUp};
        for (QWidget *next : order) {
            QTest::keyClick(dialog.focusWidget(), Qt::Key_Tab);
            ASSERT_EQ(dialog.focusWidget(), next);
        }
        QTest::keyClick(dialog.Form().spbUp, Qt::Key_Space);
        EXPECT_EQ(Names(dialog), QStringList({"Tyres", "Colour", "Tyre size"}));
        // Enter in the list is the default button: OK.
        list->setFocus();
        QTest::keyClick(list, Qt::Key_Return);
        EXPECT_FALSE(dialog.isVisible());
    });
    ASSERT_TRUE(ExecuteUDF());
    UDF().SortBySortOrder();
    EXPECT_EQ(UDF().NameAt(1), QStringLiteral("Colour"));
    EXPECT_EQ(UDF().NameAt(2), QStringLiteral("Tyre size"));
}

TEST_F(UdfDialog, TextsHelpTopicAndPlacementOfTheWindow) {
    QRect shownAt;
    {
        TfrmUDF dialog;
        EXPECT_EQ(MissingWindowTexts(&dialog), QStringList());
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("User-defined fields"));
        EXPECT_EQ(dialog.Form().spbUp->toolTip(), QStringLiteral("Move field up in order"));
        EXPECT_FALSE(dialog.Form().spbDown->icon().isNull());
        EXPECT_EQ(HelpTopicAt(dialog.Form().lbxUDF), vdrHelpTopics::UdfDialog);
        dialog.show();
        dialog.setGeometry(dialog.geometry().translated(7, 9).adjusted(0, 0, 30, 40));
        shownAt = dialog.geometry();
    }
    Options().SetDefault(QString());
    EXPECT_FALSE(Options().GetValue(QStringLiteral("TfrmUDF")).isEmpty());
    m_db.Reopen();
    TfrmUDF again;
    EXPECT_EQ(again.size(), shownAt.size()) << "the options table was saved with the placement";
}

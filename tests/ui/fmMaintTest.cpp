#include "fmMaint.h"
#include "fmRepairs.h"

#include "kvxLang.h"
#include "kvxLangApply.h"
#include "kvxStreamFile.h"
#include "ui_fmMaint.h"
#include "ui_fmRepairs.h"
#include "vdrDateEdit.h"
#include "vdrDateTime.h"
#include "vdrFormDriver.h"
#include "vdrHelpTopic.h"
#include "vdrMaint.h"
#include "vdrMaintEvents.h"
#include "vdrMaintNotes.h"
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

TfrmMaint &AsMaint(QDialog &dialog) {
    return static_cast<TfrmMaint &>(dialog);
}

// The repair description dialog, when it opens next, takes `text` and OK.
void PlanRepairChoice(const QString &text, const QString &expectedPreset = QString()) {
    QueueDialogScript([text, expectedPreset](QDialog &dialog) {
        auto &form = static_cast<TfrmRepairs &>(dialog);
        EXPECT_EQ(form.Mode(), TfrmRepairs::rmSelect);
        EXPECT_EQ(form.Form().cboRepair->currentText(), expectedPreset);
        form.Form().cboRepair->setEditText(text);
        form.btnOKClick();
    });
}

void PlanRepairCancel() {
    QueueDialogScript([](QDialog &dialog) { static_cast<TfrmRepairs &>(dialog).btnCancelClick(); });
}

// Car 3 with the descriptions Brakes (0), Air filter (1) and Wipers (2), a
// fixed clock, scripted prompts.
class MaintDialog : public testing::Test {
protected:
    void SetUp() override {
        vdrDateTime::SetClock([] { return QDateTime(QDate(2024, 5, 17), QTime(14, 30)); });
        for (const char *description : {"Brakes", "Air filter", "Wipers"})
            Repairs().AddRepair(QLatin1String(description));
        Repairs().Save();
    }
    void TearDown() override {
        ExpectEveryPlannedDialogShown();
        vdrDateTime::SetClock(nullptr);
    }

    // Event 0 of car 3: 15 March 2004, 1000 miles, 99.95, Brakes and Wipers,
    // a note of two lines.
    void StoreEvent() {
        TvdrMaintEntry entry;
        entry.CarNbr = kCar;
        entry.Date = QDate(2004, 3, 15);
        entry.Mileage = 1000;
        entry.Cost = 99.95;
        entry.RepairNbrs = {2, 0};
        entry.Note = QStringLiteral("first\r\nsecond");
        SaveMaintEvent(entry);
    }

    // The three tables an event lives in, as stored in the file.
    QString StoredEvents() {
        m_db.Reopen();
        return Maint().Text() + QStringLiteral("|") + MaintRepairs().Text() + QStringLiteral("|") +
               MaintNotes().Text() + QStringLiteral("|") + Repairs().Text();
    }

    static constexpr qint32 kCar = 3;
    TvdrTestDatabase m_db;
    TvdrPromptsScript m_prompts;
    const QList<QIcon> m_images = TestSortImages();
};

} // namespace

TEST_F(MaintDialog, AddStartsAtTodayWithZerosAndOKAtOnceStoresThat) {
    QueueDialogScript([this](QDialog &dialog) {
        Ui::TfrmMaint &ui = AsMaint(dialog).Form();
        EXPECT_EQ(dialog.windowTitle(), Text("CP-MaintAdd"));
        EXPECT_EQ(ui.dedDate->Date(), QDate(2024, 5, 17));
        EXPECT_EQ(ui.nedMileage->text(), QStringLiteral("0"));
        EXPECT_EQ(ui.nedCost->text(), QStringLiteral("0.00"));
        EXPECT_EQ(ui.lvwRepairs->topLevelItemCount(), 0);
        EXPECT_EQ(ui.mmoNote->toPlainText(), QString());
        EXPECT_EQ(ShownSortImage(ui.lvwRepairs, m_images), 0);
        AsMaint(dialog).btnOKClick();
    });
    qint32 maintNbr = -1;
    EXPECT_TRUE(TfrmMaint::ExecuteAdd(kCar, maintNbr, m_images));
    EXPECT_EQ(maintNbr, 0) << "the car's first event";
    const QString today = QString::number(vdrDateTime::DayNumberOf(QDate(2024, 5, 17)));
    EXPECT_EQ(StoredEvents(), "0000003\t0000000=" + today + "\t0\t0\r\n|||" + Repairs().Text())
        << "no links and no note";

    // Numbers follow the car's highest one, whatever was deleted before it.
    for (qint32 next : {1, 2}) {
        QueueDialogScript([](QDialog &dialog) { AsMaint(dialog).btnOKClick(); });
        EXPECT_TRUE(TfrmMaint::ExecuteAdd(kCar, maintNbr, m_images));
        EXPECT_EQ(maintNbr, next);
    }
    DeleteMaintEvent(kCar, 1);
    QueueDialogScript([](QDialog &dialog) { AsMaint(dialog).btnOKClick(); });
    EXPECT_TRUE(TfrmMaint::ExecuteAdd(kCar, maintNbr, m_images));
    EXPECT_EQ(maintNbr, 3);
    QueueDialogScript([](QDialog &dialog) { AsMaint(dialog).btnOKClick(); });
    EXPECT_TRUE(TfrmMaint::ExecuteAdd(kCar + 1, maintNbr, m_images));
    EXPECT_EQ(maintNbr, 0) << "another car counts on its own";

    const QString before = StoredEvents();
    QueueDialogScript([](QDialog &dialog) {
        QTest::keyClicks(AsMaint(dialog).Form().nedMileage, QStringLiteral("500"));
        QTest::keyClick(&dialog, Qt::Key_Escape);
    });
    EXPECT_FALSE(TfrmMaint::ExecuteAdd(kCar, maintNbr, m_images));
    EXPECT_EQ(maintNbr, -1);
    EXPECT_EQ(StoredEvents(), before);
}

TEST_F(MaintDialog, OKStoresWhatWasTypedWithItsRepairsAndNote) {
    QueueDialogScript([](QDialog &dialog) {
        TfrmMaint &form = AsMaint(dialog);
        Ui::TfrmMaint &ui = form.Form();
        ui.dedDate->Edit()->selectAll();
        QTest::keyClicks(ui.dedDate->Edit(), QStringLiteral("3/15/04"));
        QTest::keyClicks(ui.nedMileage, QStringLiteral("x1234y5"));
        ui.nedCost->clear();
        QTest::keyClicks(ui.nedCost, QStringLiteral("45.5.0"));
        PlanRepairChoice(QStringLiteral("Wipers"));
        form.bbnAddClick();
        PlanRepairChoice(QStringLiteral("Oil change"));
        form.bbnAddClick();
        EXPECT_EQ(SelectedCaption(ui.lvwRepairs), QStringLiteral("Oil change")) << "the new row is selected";
        PlanRepairChoice(QStringLiteral("wipers"));
        form.bbnAddClick();
        PlanRepairCancel();
        form.bbnAddClick();
        EXPECT_EQ(Captions(ui.lvwRepairs), QStringList({"Wipers", "Oil change", "Wipers"}))
            << "appended, the same description twice";
        ui.mmoNote->insertPlainText(QStringLiteral("Tab\tfront"));
        QTest::keyClick(ui.mmoNote, Qt::Key_Return);
        QTest::keyClicks(ui.mmoNote, QStringLiteral("C:\\new"));
        // Enter in the note is a line break; in the number edits it is OK.
        QTest::keyClick(ui.nedCost, Qt::Key_Return);
    });
    qint32 maintNbr = -1;
    EXPECT_TRUE(TfrmMaint::ExecuteAdd(kCar, maintNbr, m_images));
    EXPECT_EQ(maintNbr, 0);

    m_db.Reopen();
    EXPECT_EQ(Maint().Text(), QStringLiteral("0000003\t0000000=731655\t12345\t45.5\r\n"));
    EXPECT_EQ(MaintRepairs().Text(),
              QStringLiteral("0000003\t0000000\t0000002\r\n0000003\t0000000\t0000003\r\n"))
        << "each link once";
    EXPECT_EQ(Repairs().Description(3), QStringLiteral("Oil change")) << "made by the choice";
    EXPECT_EQ(MaintNotes().GetNote(kCar, 0), QStringLiteral("Tab\tfront\r\nC:\\new"))
        << "the note reads back as typed, backslash and all";
}

TEST_F(MaintDialog, ModifyShowsTheEventAndCancelLeavesEveryTableAsItWas) {
    StoreEvent();
    const QString before = StoredEvents();
    QueueDialogScript([this](QDialog &dialog) {
        TfrmMaint &form = AsMaint(dialog);
        Ui::TfrmMaint &ui = form.Form();
        EXPECT_EQ(dialog.windowTitle(), Text("CP-MaintModify"));
        EXPECT_EQ(ui.dedDate->Date(), QDate(2004, 3, 15));
        EXPECT_EQ(ui.nedMileage->text(), QStringLiteral("1000"));
        EXPECT_EQ(ui.nedCost->text(), QStringLiteral("99.95"));
        EXPECT_EQ(Captions(ui.lvwRepairs), QStringList({"Brakes", "Wipers"}));
        EXPECT_EQ(RowNumbers(ui.lvwRepairs), QList<qint32>({0, 2}));
        EXPECT_EQ(ui.mmoNote->toPlainText(), QStringLiteral("first\nsecond"));

        SelectRow(ui.lvwRepairs, ui.lvwRepairs->topLevelItem(0));
        m_prompts->YesNo = {false, true};
        form.bbnDeleteClick();
        EXPECT_EQ(ui.lvwRepairs->topLevelItemCount(), 2) << "No keeps the row";
        form.bbnDeleteClick();
        EXPECT_EQ(m_prompts->Transcript(),
                  QStringList(2, "question: " + Lang().FormatText(QStringLiteral("QM-Delete"),
                                                                  {QStringLiteral("Brakes")})));
        EXPECT_EQ(Captions(ui.lvwRepairs), QStringList({"Wipers"}));
        EXPECT_EQ(SelectedCaption(ui.lvwRepairs), QStringLiteral("Wipers"));
        PlanRepairChoice(QStringLiteral("Air filter"));
        form.bbnAddClick();
        ui.nedMileage->setText(QStringLiteral("2000"));
        ui.mmoNote->clear();
        form.btnCancelClick();
    });
    EXPECT_FALSE(TfrmMaint::ExecuteModify(kCar, 0, m_images));
    EXPECT_EQ(StoredEvents(), before);

    // Closing the window is a Cancel too.
    QueueDialogScript([](QDialog &dialog) {
        AsMaint(dialog).Form().nedCost->setText(QStringLiteral("1"));
        dialog.close();
    });
    EXPECT_FALSE(TfrmMaint::ExecuteModify(kCar, 0, m_images));
    EXPECT_EQ(StoredEvents(), before);
}

TEST_F(MaintDialog, ChangingARepairRowStoresTheNewLinkAndAnEmptyNoteRemovesTheNote) {
    StoreEvent();
    QueueDialogScript([](QDialog &dialog) {
        TfrmMaint &form = AsMaint(dialog);
        QTreeWidget *list = form.Form().lvwRepairs;
        SelectRow(list, FindRow(list, 0));
        PlanRepairChoice(QStringLiteral("Air filter"), QStringLiteral("Brakes"));
        QTest::keyClick(list, Qt::Key_Return);
        EXPECT_TRUE(dialog.isVisible()) << "Enter in the list is not OK";
        EXPECT_EQ(Captions(list), QStringList({"Air filter", "Wipers"}));
        EXPECT_EQ(RowNumbers(list), QList<qint32>({1, 2}));

        PlanRepairCancel();
        DoubleClickRow(list, FindRow(list, 2));
        EXPECT_EQ(Captions(list), QStringList({"Air filter", "Wipers"}))
            << "a cancelled choice changes nothing";
        SelectRow(list, nullptr);
        QTest::keyClick(list, Qt::Key_Return);
        form.Form().mmoNote->clear();
        form.btnOKClick();
    });
    EXPECT_TRUE(TfrmMaint::ExecuteModify(kCar, 0, m_images));
    m_db.Reopen();
    EXPECT_EQ(Maint().Text(), QStringLiteral("0000003\t0000000=731655\t1000\t99.95\r\n"))
        << "unchanged fields";
    EXPECT_EQ(MaintRepairs().Text(),
              QStringLiteral("0000003\t0000000\t0000001\r\n0000003\t0000000\t0000002\r\n"));
    EXPECT_EQ(MaintNotes().Text(), QString());

    // A note of line breaks alone is a note.
    QueueDialogScript([](QDialog &dialog) {
        AsMaint(dialog).Form().mmoNote->setPlainText(QStringLiteral("\n\n"));
        AsMaint(dialog).btnOKClick();
    });
    EXPECT_TRUE(TfrmMaint::ExecuteModify(kCar, 0, m_images));
    m_db.Reopen();
    EXPECT_EQ(MaintNotes().Text(), QStringLiteral("0000003\t0000000\t\\n\\n\r\n"));
}

TEST_F(MaintDialog, OKAgainAfterAFailedSaveRewritesTheSameNewEvent) {
    TvdrTempFolder other;
    const QString otherFile = other.File(QStringLiteral("Other.dat"));
    {
        TkvxStreamFile created;
        created.Open(otherFile, false);
        created.Close();
    }
    TkvxStreamFile readOnly;
    readOnly.Open(otherFile, true);
    QueueDialogScript([this, &readOnly](QDialog &dialog) {
        // The event row is saved, then saving its links fails.
        MaintRepairs().SetStreamFile(&readOnly);
        EXPECT_NE(ErrorMessageOf([&dialog] { AsMaint(dialog).btnOKClick(); }), "(no error)");
        EXPECT_TRUE(dialog.isVisible()) << "the dialog stays open";
        MaintRepairs().SetStreamFile(&m_db.Db());
        AsMaint(dialog).btnOKClick();
    });
    qint32 maintNbr = -1;
    EXPECT_TRUE(TfrmMaint::ExecuteAdd(kCar, maintNbr, m_images));
    EXPECT_EQ(maintNbr, 0);
    m_db.Reopen();
    EXPECT_EQ(Maint().Count(), 1) << "one event, not a second one for the second OK";
}

TEST_F(MaintDialog, AMileagePastTheIntegerRangeIsStoredAsZero) {
    QueueDialogScript([](QDialog &dialog) {
        QTest::keyClicks(AsMaint(dialog).Form().nedMileage, QStringLiteral("4294967296"));
        AsMaint(dialog).btnOKClick();
    });
    qint32 maintNbr = -1;
    EXPECT_TRUE(TfrmMaint::ExecuteAdd(kCar, maintNbr, m_images));
    EXPECT_EQ(Maint().FindEvent(kCar, 0)->Mileage, 0);
}

TEST_F(MaintDialog, HasATextForEveryDesignedCaption) {
    TfrmMaint dialog(kCar, -1, m_images);
    EXPECT_EQ(MissingWindowTexts(&dialog), QStringList());
    EXPECT_EQ(HelpTopicAt(dialog.Form().mmoNote), vdrHelpTopics::MaintDialog);
    EXPECT_EQ(dialog.Form().lblCost->text(), Text("frmMaint.lblCost.Caption"));
}

TEST_F(MaintDialog, TheRepairsDirectionTogglesByTheHeaderAndIsKeptInItsOwnOption) {
    StoreEvent();
    Options().SetValue(QLatin1String(vdrOptionKeys::MaintDialogRepairsOrder), QStringLiteral("1"));
    Options().SetValue(QLatin1String(vdrOptionKeys::MaintViewRepairsOrder), QStringLiteral("0"));
    Options().SetValue(QLatin1String(vdrOptionKeys::MaintDialog), QStringLiteral("0 100 60 420 480"));
    QueueDialogScript([this](QDialog &dialog) {
        TfrmMaint &form = AsMaint(dialog);
        QTreeWidget *list = form.Form().lvwRepairs;
        EXPECT_EQ(dialog.size(), QSize(480, 420));
        EXPECT_EQ(Captions(list), QStringList({"Wipers", "Brakes"}));
        EXPECT_EQ(ShownSortImage(list, m_images), 1);
        SelectRow(list, FindRow(list, 0));
        ClickHeader(list);
        EXPECT_EQ(Captions(list), QStringList({"Brakes", "Wipers"}));
        EXPECT_EQ(ShownSortImage(list, m_images), 0);
        EXPECT_EQ(SelectedCaption(list), QStringLiteral("Brakes")) << "the selection stays";
        form.btnCancelClick();
    });
    EXPECT_FALSE(TfrmMaint::ExecuteModify(kCar, 0, m_images));
    m_db.Reopen();
    EXPECT_EQ(Options().GetValue(QLatin1String(vdrOptionKeys::MaintDialogRepairsOrder)), QStringLiteral("0"));
    EXPECT_EQ(Options().GetValue(QLatin1String(vdrOptionKeys::MaintViewRepairsOrder)), QStringLiteral("0"))
        << "the maintenance view's own direction is another option";
    EXPECT_TRUE(
        Options().GetValue(QLatin1String(vdrOptionKeys::MaintDialog)).startsWith(QLatin1String("0 ")));
}

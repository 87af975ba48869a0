#include "frMaint.h"

#include "ui_fmMaintFilter.h"
#include "ui_frMaint.h"

#include "fmMaintFilter.h"
#include "kvxLangApply.h"
#include "vdrFormatSettings.h"
#include "vdrHelpTopic.h"
#include "vdrLog.h"
#include "vdrMaint.h"
#include "vdrMaintFilter.h"
#include "vdrMaintNotes.h"
#include "vdrMaintRepairs.h"
#include "vdrMaintSortedList.h"
#include "vdrModal.h"
#include "vdrOptions.h"
#include "vdrRepairs.h"
#include "vdrScriptedPrompts.h"
#include "vdrTestDatabase.h"

#include <QHeaderView>
#include <QPainter>
#include <QPixmap>
#include <QTest>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <memory>

namespace {

QList<QIcon> SortImages() {
    QList<QIcon> images;
    for (const QColor &colour : {QColor(Qt::darkGreen), QColor(Qt::darkRed)}) {
        QPixmap image(12, 12);
        image.fill(colour);
        images.append(QIcon(image));
    }
    return images;
}

class MaintViewTest : public testing::Test {
protected:
    void SetUp() override { ClearDialogScripts(); }
    void TearDown() override {
        ClearDialogScripts();
        TvdrFormatSettings::SetCurrent(TvdrFormatSettings::PointLocale());
    }

    static void AddEvent(qint32 car, qint32 maint, const QDate &date, qint32 mileage, double cost) {
        Maint().StoreEvent(MakeEvent(car, maint, date, mileage, cost));
        Maint().Save();
    }
    // Car 1: four events; 1 has two repairs and a note.
    static void FourEvents() {
        AddEvent(1, 0, QDate(2004, 3, 15), 12000, 45.5);
        AddEvent(1, 1, QDate(2004, 1, 2), 9000, 1234.5);
        AddEvent(1, 2, QDate(2005, 6, 30), 20000, 0);
        AddEvent(1, 3, QDate(2003, 11, 1), 1500, 80);
        AddEvent(2, 0, QDate(2004, 1, 1), 7, 99); // another car's
        const qint32 wipers = Repairs().AddRepair(QStringLiteral("Wipers"));
        const qint32 brakes = Repairs().AddRepair(QStringLiteral("brakes"));
        Repairs().AddRepair(QStringLiteral("Oil change"));
        MaintRepairs().AddLink(1, 1, wipers);
        MaintRepairs().AddLink(1, 1, brakes);
        MaintRepairs().AddLink(1, 2, wipers);
        MaintNotes().AddNote(1, 1, QStringLiteral("first line\r\nsecond line"));
        Repairs().Save();
        MaintRepairs().Save();
        MaintNotes().Save();
    }

    std::unique_ptr<TfraMaint> Open(qint32 car) {
        auto view = std::make_unique<TfraMaint>();
        view->resize(600, 400);
        view->show();
        view->SetSortImages(m_images);
        view->LoadMaint(car);
        return view;
    }

    // "date | mileage | cost" per row, top to bottom.
    static QStringList Rows(const TfraMaint &view) {
        QStringList rows;
        QTreeWidget *list = view.Form().lvwMaint;
        for (int i = 0; i < list->topLevelItemCount(); ++i) {
            const QTreeWidgetItem *row = list->topLevelItem(i);
            rows.append(row->text(1) + " | " + row->text(2) + " | " + row->text(3));
        }
        return rows;
    }
    static QList<qint32> Numbers(const TfraMaint &view) {
        QList<qint32> numbers;
        QTreeWidget *list = view.Form().lvwMaint;
        for (int i = 0; i < list->topLevelItemCount(); ++i)
            numbers.append(list->topLevelItem(i)->data(0, Qt::UserRole).toInt());
        return numbers;
    }
    static QString Total(const TfraMaint &view) { return view.Form().stbTotalsPanel1->text(); }
    static QStringList RepairRows(const TfraMaint &view) {
        QStringList repairs;
        QTreeWidget *list = view.Form().lvwRepairs;
        for (int i = 0; i < list->topLevelItemCount(); ++i)
            repairs.append(list->topLevelItem(i)->text(0));
        return repairs;
    }
    // Which header shows which image: "-" none, "0" or "1" by image.
    QString HeaderImages(QTreeWidget *list) const {
        QString images;
        for (int i = 0; i < list->columnCount(); ++i) {
            const qint64 key = list->headerItem()->icon(i).cacheKey();
            images += key == m_images[0].cacheKey() ? "0" : key == m_images[1].cacheKey() ? "1" : "-";
        }
        return images;
    }
    static void Select(TfraMaint &view, int row) {
        view.Form().lvwMaint->setCurrentItem(view.Form().lvwMaint->topLevelItem(row));
    }
    static QString Option(const char *key) {
        Options().SetDefault(QStringLiteral("(none)"));
        return Options().GetValue(QLatin1String(key));
    }
    // Chooses mileages from entry `from` to entry `to` in the filter dialog.
    static void QueueMileageFilter(int from, int to, bool ok = true) {
        QueueDialogScript([=](QDialog &dialog) {
            auto &filter = static_cast<TfrmMaintFilter &>(dialog);
            filter.Form().pgcFilter->setCurrentIndex(TfrmMaintFilter::pgMileage);
            filter.Form().cboFromMileage->setCurrentIndex(from);
            filter.Form().cboToMileage->setCurrentIndex(to);
            ok ? filter.btnOKClick() : filter.btnCancelClick();
        });
    }

    TvdrTestDatabase m_db;
    TvdrPromptsScript m_prompts;
    QList<QIcon> m_images = SortImages();
};

} // namespace

TEST_F(MaintViewTest, ACarWithoutEventsShowsAnEmptyListAZeroTotalAndTheViewsTexts) {
    {
        TfraMaint designed;
        EXPECT_EQ(MissingWindowTexts(&designed), QStringList());
    }
    TvdrTempFolder logFolder;
    Log().SetPath(logFolder.Path());
    Log().SetEnabled(true);
    const std::unique_ptr<TfraMaint> view = Open(4);
    Log().SetEnabled(false);
    Log().SetPath(QString());
    EXPECT_TRUE(QString::fromLatin1(ReadWholeFile(logFolder.File(QStringLiteral("vdrLog.txt"))))
                    .contains(QLatin1String("\tTfraMaint initializing\r\n")));

    EXPECT_EQ(Rows(*view), QStringList());
    EXPECT_EQ(Total(*view), QStringLiteral("$0.00"));
    EXPECT_EQ(RepairRows(*view), QStringList());
    EXPECT_EQ(view->SelectedMaintNbr(), -1);
    EXPECT_EQ(view->objectName(), QStringLiteral("fraMaint"));
    EXPECT_EQ(HelpTopicAt(view->Form().lvwMaint), vdrHelpTopics::MaintView);
    EXPECT_EQ(view->Form().lvwMaint->headerItem()->text(2), QStringLiteral("Mileage"));
    EXPECT_EQ(HeaderImages(view->Form().lvwMaint), QStringLiteral("-0--")) << "by date ascending by default";
    EXPECT_EQ(HeaderImages(view->Form().lvwRepairs), QStringLiteral("0"));
}

TEST_F(MaintViewTest, RowsAndTotalFollowTheUsersFormats) {
    AddEvent(1, 0, QDate(2004, 3, 15), 1234567, 1234.5);
    AddEvent(1, 1, QDate(2004, 3, 16), -1500, 0.25);
    std::unique_ptr<TfraMaint> view = Open(1);
    EXPECT_EQ(Rows(*view), QStringList({"3/15/2004 | 1,234,567 | $1,234.50", "3/16/2004 | -1,500 | $0.25"}));
    EXPECT_EQ(Total(*view), QStringLiteral("$1,234.75"));
    EXPECT_EQ(view->SelectedMaintNbr(), 0) << "the first row is selected";

    TvdrFormatSettings::SetCurrent(TvdrFormatSettings::CommaLocale());
    view = Open(1);
    EXPECT_EQ(Rows(*view),
              QStringList({"15.03.2004 | 1.234.567 | 1.234,50 \u20AC", "16.03.2004 | -1.500 | 0,25 \u20AC"}));
    EXPECT_EQ(Total(*view), QStringLiteral("1.234,75 \u20AC"));
}

TEST_F(MaintViewTest, AColumnClickSortsAscendingAndASecondOneTurnsTheDirection) {
    FourEvents();
    const std::unique_ptr<TfraMaint> view = Open(1);
    QTreeWidget *list = view->Form().lvwMaint;
    EXPECT_EQ(Numbers(*view), QList<qint32>({3, 1, 0, 2})) << "by date";
    Select(*view, 2);

    QTest::mouseClick(list->header()->viewport(), Qt::LeftButton, {},
                      QPoint(list->header()->sectionViewportPosition(1) + 5, 5));
    EXPECT_EQ(Numbers(*view), QList<qint32>({2, 0, 1, 3})) << "Date clicked again: descending";
    EXPECT_EQ(HeaderImages(list), QStringLiteral("-1--"));
    EXPECT_EQ(view->SelectedMaintNbr(), 2) << "the selection is not kept: the first row";

    view->lvwMaintColumnClick(3);
    EXPECT_EQ(Numbers(*view), QList<qint32>({2, 0, 3, 1})) << "Cost: ascending";
    EXPECT_EQ(HeaderImages(list), QStringLiteral("---0"));
    view->lvwMaintColumnClick(0);
    EXPECT_EQ(Numbers(*view), QList<qint32>({1, 3, 0, 2})) << "the blank column means cost too";
    EXPECT_EQ(HeaderImages(list), QStringLiteral("---1"));
    view->lvwMaintColumnClick(2);
    view->lvwMaintColumnClick(2);
    EXPECT_EQ(Numbers(*view), QList<qint32>({2, 0, 1, 3})) << "Mileage twice: highest first";
    EXPECT_EQ(HeaderImages(list), QStringLiteral("--1-"));
    EXPECT_EQ(Total(*view), QStringLiteral("$1,360.00"));
}

TEST_F(MaintViewTest, SortChoicesCarryOverToTheNextViewAndTheNextRun) {
    FourEvents();
    AddEvent(2, 1, QDate(2001, 1, 1), 50, 1);
    {
        std::unique_ptr<TfraMaint> view = Open(1);
        view->lvwMaintColumnClick(2);
        view->lvwMaintColumnClick(2);
        view->lvwRepairsColumnClick(0);
        view->CloseView();
    }
    EXPECT_EQ(Option(vdrOptionKeys::MaintSortColumn), QStringLiteral("1"));
    EXPECT_EQ(Option(vdrOptionKeys::MaintSortOrder), QStringLiteral("1"));
    EXPECT_EQ(Option(vdrOptionKeys::MaintViewRepairsOrder), QStringLiteral("1"));

    std::unique_ptr<TfraMaint> view = Open(2);
    EXPECT_EQ(Numbers(*view), QList<qint32>({1, 0})) << "the other car's view: mileage descending";
    EXPECT_EQ(view->RepairsDirection(), 1);
    view->CloseView();
    view.reset();

    m_db.Reopen();
    view = Open(1);
    EXPECT_EQ(Numbers(*view), QList<qint32>({2, 0, 1, 3}));
    EXPECT_EQ(HeaderImages(view->Form().lvwMaint), QStringLiteral("--1-"));
    Select(*view, 2);
    EXPECT_EQ(RepairRows(*view), QStringList({"Wipers", "brakes"})) << "descending, letter case ignored";
    EXPECT_EQ(HeaderImages(view->Form().lvwRepairs), QStringLiteral("1"));

    // Options that are not what the view writes read as what the list does.
    Options().SetValue(QLatin1String(vdrOptionKeys::MaintSortColumn), QStringLiteral("7"));
    Options().SetValue(QLatin1String(vdrOptionKeys::MaintSortOrder), QStringLiteral("x"));
    view = Open(1);
    EXPECT_EQ(Numbers(*view), QList<qint32>({2, 0, 3, 1})) << "any other column sorts by cost, ascending";
    EXPECT_EQ(HeaderImages(view->Form().lvwMaint), QStringLiteral("---0"));
}

TEST_F(MaintViewTest, TheSelectedEventShowsItsRepairsAndNoteAndAnEmptyListShowsNone) {
    FourEvents();
    const std::unique_ptr<TfraMaint> view = Open(1);
    EXPECT_EQ(view->SelectedMaintNbr(), 3);
    EXPECT_EQ(RepairRows(*view), QStringList());
    EXPECT_EQ(view->Form().mmoNote->toPlainText(), QString());

    QTest::keyClick(view->Form().lvwMaint, Qt::Key_Down);
    EXPECT_EQ(view->SelectedMaintNbr(), 1);
    EXPECT_EQ(RepairRows(*view), QStringList({"brakes", "Wipers"}));
    EXPECT_EQ(view->Form().lvwRepairs->topLevelItem(0)->data(0, Qt::UserRole).toInt(), 1);
    EXPECT_EQ(view->Form().mmoNote->toPlainText(), QStringLiteral("first line\nsecond line"));
    view->lvwRepairsColumnClick(0);
    EXPECT_EQ(RepairRows(*view), QStringList({"Wipers", "brakes"}));
    EXPECT_EQ(HeaderImages(view->Form().lvwRepairs), QStringLiteral("1"));

    QueueMileageFilter(3, 0); // From after To: nothing passes
    ASSERT_TRUE(view->ExecuteFilter());
    EXPECT_EQ(Rows(*view), QStringList());
    EXPECT_EQ(Total(*view), QStringLiteral("$0.00"));
    EXPECT_EQ(RepairRows(*view), QStringList()) << "no repairs of an event that is not listed";
    EXPECT_EQ(view->Form().mmoNote->toPlainText(), QString());
}

TEST_F(MaintViewTest, DeletingSelectsTheFollowingRowThePreviousAtTheEndAndNoneWhenEmpty) {
    FourEvents();
    const std::unique_ptr<TfraMaint> view = Open(1);
    EXPECT_EQ(Numbers(*view), QList<qint32>({3, 1, 0, 2}));

    m_prompts->YesNo = {false};
    Select(*view, 1);
    view->DeleteSelectedMaint(1);
    EXPECT_EQ(m_prompts->Transcript(),
              QStringList({"question: Delete the maintenance event of 1/2/2004 with its repairs and note?"}));
    EXPECT_EQ(Numbers(*view), QList<qint32>({3, 1, 0, 2})) << "No changes nothing";
    EXPECT_TRUE(Maint().HasEvent(1, 1));

    m_prompts->YesNo = {true};
    view->DeleteSelectedMaint(1);
    EXPECT_EQ(Numbers(*view), QList<qint32>({3, 0, 2}));
    EXPECT_EQ(view->SelectedMaintNbr(), 0) << "the row that followed";
    EXPECT_EQ(Total(*view), QStringLiteral("$125.50"));

    m_prompts->YesNo = {true};
    Select(*view, 2);
    view->DeleteSelectedMaint(1);
    EXPECT_EQ(view->SelectedMaintNbr(), 0) << "the new last row";

    m_prompts->YesNo = {true, true};
    view->DeleteSelectedMaint(1);
    view->DeleteSelectedMaint(1);
    EXPECT_EQ(Numbers(*view), QList<qint32>());
    EXPECT_EQ(view->SelectedMaintNbr(), -1);
    const int asked = m_prompts->Asked.size();
    view->DeleteSelectedMaint(1);
    EXPECT_EQ(m_prompts->Asked.size(), asked) << "nothing selected: nothing asked";

    // Every table was saved: the next run sees car 2's event alone, and the
    // wipers' description is left without links.
    m_db.Reopen();
    EXPECT_EQ(Maint().Count(), 1);
    EXPECT_TRUE(Maint().HasEvent(2, 0));
    EXPECT_EQ(MaintRepairs().Count(), 0);
    EXPECT_EQ(MaintNotes().Count(), 0);
    EXPECT_EQ(Repairs().Count(), 3) << "descriptions stay";
}

TEST_F(MaintViewTest, AFilterNarrowsTheListAndTheTotalUntilItIsCancelled) {
    FourEvents();
    const std::unique_ptr<TfraMaint> view = Open(1);

    QueueMileageFilter(1, 2, false);
    EXPECT_FALSE(view->ExecuteFilter()) << "cancelled";
    EXPECT_EQ(Numbers(*view), QList<qint32>({3, 1, 0, 2}));
    EXPECT_NE(dynamic_cast<const TvdrNullFilter *>(view->PrintSource().Filter), nullptr);

    QueueMileageFilter(1, 2); // 9,000 to 12,000
    ASSERT_TRUE(view->ExecuteFilter());
    EXPECT_EQ(Numbers(*view), QList<qint32>({1, 0}));
    EXPECT_EQ(Total(*view), QStringLiteral("$1,280.00")) << "only the events shown";
    EXPECT_EQ(view->SelectedMaintNbr(), 1);

    // The dialog offers every event's values again, not only those shown.
    int offered = 0;
    QueueDialogScript([&](QDialog &dialog) {
        offered = static_cast<TfrmMaintFilter &>(dialog).Form().cboFromMileage->count();
    });
    EXPECT_FALSE(view->ExecuteFilter());
    EXPECT_EQ(offered, 4);
    EXPECT_EQ(Numbers(*view), QList<qint32>({1, 0})) << "a cancelled dialog keeps the filter";

    view->lvwMaintColumnClick(3);
    EXPECT_EQ(Numbers(*view), QList<qint32>({0, 1})) << "the filter outlives a new sort";
    const TfraMaint::TPrintSource source = view->PrintSource();
    EXPECT_EQ(source.CarNbr, 1);
    ASSERT_NE(source.SortedList, nullptr);
    EXPECT_EQ(source.SortedList->Count(), 4) << "the report gets all events and the filter";
    EXPECT_NE(dynamic_cast<const TvdrMileageFilter *>(source.Filter), nullptr);

    view->CancelFilter();
    EXPECT_EQ(Numbers(*view), QList<qint32>({2, 0, 3, 1}));
    EXPECT_EQ(Total(*view), QStringLiteral("$1,360.00"));
}

TEST_F(MaintViewTest, EnterAndDoubleClickOpenTheSelectedEventAndAConfirmedChangeStaysSelected) {
    FourEvents();
    const std::unique_ptr<TfraMaint> view = Open(1);
    QList<std::pair<qint32, qint32>> opened;
    bool confirm = true;
    view->SetModifyEvent([&](qint32 car, qint32 maint) {
        opened.append({car, maint});
        // The dialog moves the event to the end of the date order.
        TvdrMaintRec *event = Maint().FindEvent(car, maint);
        event->SetDate(QDate(2009, 1, 1));
        Maint().StoreEvent(*event);
        Maint().Save();
        return confirm;
    });
    QTreeWidget *list = view->Form().lvwMaint;
    list->setFocus();
    Select(*view, 1);
    QTest::keyClick(list, Qt::Key_Return);
    ASSERT_EQ(opened.size(), 1);
    EXPECT_EQ(opened[0], std::make_pair(1, 1));
    EXPECT_EQ(Numbers(*view), QList<qint32>({3, 0, 2, 1}));
    EXPECT_EQ(view->SelectedMaintNbr(), 1) << "the changed event stays selected";
    EXPECT_EQ(list->currentItem(), list->topLevelItem(3));

    confirm = false;
    Select(*view, 0);
    const QRect cell = list->visualItemRect(list->topLevelItem(0));
    // A double click as the window system sends it: press, release, double click.
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, cell.center());
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, cell.center());
    ASSERT_EQ(opened.size(), 2);
    EXPECT_EQ(opened[1], std::make_pair(1, 3));
    EXPECT_EQ(Numbers(*view), QList<qint32>({3, 0, 2, 1})) << "a cancelled dialog refreshes nothing";

    view->ShowAddedMaint(1, 2);
    EXPECT_EQ(Numbers(*view), QList<qint32>({0, 2, 1, 3}));
    EXPECT_EQ(view->SelectedMaintNbr(), 2) << "an added event is selected";
    list->clearSelection();
    QTest::keyClick(list, Qt::Key_Enter);
    EXPECT_EQ(opened.size(), 2) << "nothing selected: nothing opens";
}

TEST_F(MaintViewTest, TheTotalStandsUnderTheCostColumn) {
    FourEvents();
    const std::unique_ptr<TfraMaint> view = Open(1);
    view->resize(700, 500);
    QCoreApplication::processEvents();
    QTreeWidget *list = view->Form().lvwMaint;
    const int w = list->viewport()->width();
    EXPECT_EQ(list->columnWidth(0), 0);
    EXPECT_EQ(list->columnWidth(1), w / 3);
    EXPECT_EQ(list->columnWidth(2), w / 3);
    EXPECT_EQ(list->columnWidth(3), w - 2 * (w / 3));
    QLabel *total = view->Form().stbTotalsPanel1;
    const int costLeft =
        list->viewport()->mapTo(view.get(), QPoint(list->header()->sectionViewportPosition(3), 0)).x();
    EXPECT_EQ(total->mapTo(view.get(), QPoint(0, 0)).x(), costLeft);
    EXPECT_EQ(total->width(), list->columnWidth(3));
    EXPECT_EQ(view->Form().lvwRepairs->columnWidth(0), view->Form().lvwRepairs->viewport()->width());
}

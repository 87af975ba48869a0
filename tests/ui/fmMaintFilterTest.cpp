#include "fmMaintFilter.h"

#include "ui_fmMaintFilter.h"

#include "kvxLangApply.h"
#include "vdrDateTime.h"
#include "vdrFormatSettings.h"
#include "vdrHelpTopic.h"
#include "vdrMaint.h"
#include "vdrMaintFilter.h"
#include "vdrMaintRepairs.h"
#include "vdrMaintSortedList.h"
#include "vdrModal.h"
#include "vdrOptions.h"
#include "vdrRepairs.h"
#include "vdrScriptedPrompts.h"
#include "vdrTestDatabase.h"
#include "vdrWindowRoutines.h"

#include <QAbstractItemView>
#include <QImage>
#include <QPainter>
#include <QTabBar>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

class MaintFilterTest : public testing::Test {
protected:
    void SetUp() override { ClearDialogScripts(); }
    void TearDown() override {
        ClearDialogScripts();
        TvdrFormatSettings::SetCurrent(TvdrFormatSettings::PointLocale());
    }

    // Car 1: three events on two days; the costs of two show alike.
    static void ThreeEvents() {
        Maint().StoreEvent(MakeEvent(1, 0, QDate(2004, 5, 2), 12345, 10.004));
        Maint().StoreEvent(MakeEvent(1, 1, QDate(2004, 1, 9), 800, 250));
        Maint().StoreEvent(MakeEvent(1, 2, QDate(2004, 5, 2), 30000, 10.001));
        Maint().StoreEvent(MakeEvent(2, 0, QDate(1990, 1, 1), 1, 1)); // another car's
        Maint().Save();
    }
    static std::unique_ptr<TvdrMaintSortedList> List(qint32 car = 1) {
        return Maint().SortedList(car, TvdrMaintSortedList::ByCost, TvdrMaintSortedList::Descending);
    }
    static QStringList Items(const QComboBox *combo) {
        QStringList items;
        for (int i = 0; i < combo->count(); ++i)
            items.append(combo->itemText(i));
        return items;
    }
    static QString Option(const char *key) {
        Options().SetDefault(QStringLiteral("(none)"));
        return Options().GetValue(QLatin1String(key));
    }
    // Runs the dialog over car 1 with `script`; the filter it built or null.
    static std::unique_ptr<TvdrMaintFilter> Run(const std::function<void(TfrmMaintFilter &)> &script,
                                                bool *confirmed = nullptr) {
        const auto list = List();
        QueueDialogScript([&](QDialog &dialog) { script(static_cast<TfrmMaintFilter &>(dialog)); });
        std::unique_ptr<TvdrMaintFilter> filter;
        const bool ok = ExecuteFilter(*list, filter);
        EXPECT_EQ(ok, filter != nullptr);
        if (confirmed)
            *confirmed = ok;
        return filter;
    }
    static double Day(int y, int m, int d) {
        return vdrDateTime::ValueOf(QDateTime(QDate(y, m, d), QTime(0, 0)));
    }

    TvdrTestDatabase m_db;
    TvdrPromptsScript m_prompts;
};

} // namespace

TEST_F(MaintFilterTest, TheListsHoldEachShownValueOnceWithTheWholeRangePreset) {
    ThreeEvents();
    Repairs().AddRepair(QStringLiteral("Wipers"));
    const qint32 brakes = Repairs().AddRepair(QStringLiteral("brakes"));
    Repairs().AddRepair(QStringLiteral("Oil change"));
    Repairs().BuildOrder(true);
    TvdrFormatSettings::SetCurrent(TvdrFormatSettings::CommaLocale());
    {
        const auto list = List();
        TfrmMaintFilter designed(*list);
        EXPECT_EQ(MissingWindowTexts(&designed), QStringList());
    }
    Run([&](TfrmMaintFilter &dialog) {
        const Ui::TfrmMaintFilter &ui = dialog.Form();
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Filter by..."));
        EXPECT_EQ(ui.pgcFilter->tabText(TfrmMaintFilter::pgMileage), QStringLiteral("Mileage"));
        EXPECT_EQ(HelpTopicAt(ui.cboRepair), vdrHelpTopics::FilterDialog);

        EXPECT_EQ(Items(ui.cboFromDate), QStringList({"09.01.2004", "02.05.2004"}));
        EXPECT_EQ(Items(ui.cboToDate), Items(ui.cboFromDate));
        EXPECT_EQ(ui.cboFromDate->currentIndex(), 0);
        EXPECT_EQ(ui.cboToDate->currentIndex(), 1);
        EXPECT_EQ(Items(ui.cboFromMileage), QStringList({"800", "12,345", "30,000"}))
            << "commas in every locale";
        EXPECT_EQ(ui.cboToMileage->currentText(), QStringLiteral("30,000"));
        EXPECT_EQ(Items(ui.cboFromCost), QStringList({"10,00", "250,00"})) << "10.001 and 10.004 show alike";
        EXPECT_EQ(ui.cboFromCost->currentIndex(), 0);
        EXPECT_EQ(ui.cboToCost->currentIndex(), 1);
        EXPECT_EQ(Items(ui.cboRepair), QStringList({"brakes", "Oil change", "Wipers"}));
        EXPECT_EQ(ui.cboRepair->currentData().toInt(), brakes);
        dialog.btnCancelClick();
    });
    EXPECT_FALSE(Repairs().Descending()) << "the repair order is left ascending";
}

TEST_F(MaintFilterTest, OKBuildsTheFilterOfTheActivePageFromTheChosenEntries) {
    ThreeEvents();
    Repairs().AddRepair(QStringLiteral("Wipers"));
    const qint32 brakes = Repairs().AddRepair(QStringLiteral("Brakes"));
    MaintRepairs().AddLink(1, 2, brakes);

    std::unique_ptr<TvdrMaintFilter> filter = Run([](TfrmMaintFilter &dialog) {
        EXPECT_EQ(dialog.PageIndex(), TfrmMaintFilter::pgRepair) << "the first page at first";
        dialog.btnOKClick();
    });
    const auto *repair = dynamic_cast<const TvdrRepairFilter *>(filter.get());
    ASSERT_NE(repair, nullptr);
    EXPECT_EQ(repair->RepairNbr, brakes);

    filter = Run([](TfrmMaintFilter &dialog) {
        dialog.Form().pgcFilter->setCurrentIndex(TfrmMaintFilter::pgDate);
        QTest::keyClick(dialog.Form().cboFromDate, Qt::Key_Down); // From the later day too
        dialog.btnOKClick();
    });
    const auto *date = dynamic_cast<const TvdrDateFilter *>(filter.get());
    ASSERT_NE(date, nullptr);
    EXPECT_EQ(date->FromDate, Day(2004, 5, 2));
    EXPECT_EQ(date->ToDate, Day(2004, 5, 2)) << "one day: that day's events";

    filter = Run([](TfrmMaintFilter &dialog) {
        EXPECT_EQ(dialog.PageIndex(), TfrmMaintFilter::pgDate) << "the page used last";
        dialog.Form().pgcFilter->setCurrentIndex(TfrmMaintFilter::pgMileage);
        QTest::keyClick(dialog.Form().cboToMileage, Qt::Key_Up);
        dialog.btnOKClick();
    });
    const auto *mileage = dynamic_cast<const TvdrMileageFilter *>(filter.get());
    ASSERT_NE(mileage, nullptr);
    EXPECT_EQ(mileage->FromMileage, 800);
    EXPECT_EQ(mileage->ToMileage, 12345);

    filter = Run([](TfrmMaintFilter &dialog) {
        dialog.Form().pgcFilter->setCurrentIndex(TfrmMaintFilter::pgCost);
        QTest::keyClick(dialog.Form().cboToCost, Qt::Key_Up);
        dialog.btnOKClick();
    });
    const auto *cost = dynamic_cast<const TvdrCostFilter *>(filter.get());
    ASSERT_NE(cost, nullptr);
    EXPECT_DOUBLE_EQ(cost->FromCost, 10.001) << "every cost that shows as 10.00";
    EXPECT_DOUBLE_EQ(cost->ToCost, 10.004);

    filter = Run([](TfrmMaintFilter &dialog) {
        dialog.Form().pgcFilter->setCurrentIndex(TfrmMaintFilter::pgMileage);
        dialog.Form().cboFromMileage->setCurrentIndex(2);
        dialog.Form().cboToMileage->setCurrentIndex(0);
        dialog.btnOKClick();
    });
    ASSERT_NE(dynamic_cast<const TvdrMileageFilter *>(filter.get()), nullptr)
        << "From after To is not refused";
    EXPECT_EQ(m_prompts->Asked.size(), 0);
}

TEST_F(MaintFilterTest, CancelEscAndClosingBuildNothingAndOnlyThePageAndPlacementAreStored) {
    ThreeEvents();
    bool confirmed = true;
    const std::function<void(TfrmMaintFilter &)> cancels[] = {
        [](TfrmMaintFilter &dialog) { dialog.btnCancelClick(); },
        [](TfrmMaintFilter &dialog) { QTest::mouseClick(dialog.Form().btnCancel, Qt::LeftButton); },
        [](TfrmMaintFilter &dialog) {
            dialog.Form().pgcFilter->setCurrentIndex(TfrmMaintFilter::pgCost);
            QTest::keyClick(dialog.Form().cboFromCost, Qt::Key_Escape);
        },
        [](TfrmMaintFilter &dialog) { dialog.close(); },
    };
    for (const auto &cancel : cancels) {
        EXPECT_EQ(Run(cancel, &confirmed), nullptr);
        EXPECT_FALSE(confirmed);
    }
    EXPECT_EQ(Option(vdrOptionKeys::MaintFilterPage), QStringLiteral("3"));
    EXPECT_NE(Option(vdrOptionKeys::MaintFilterDialog), QStringLiteral("(none)"));
    EXPECT_EQ(Maint().Count(), 4);

    // The page comes back in the next run of the program, and so does a
    // moved dialog.
    Run([](TfrmMaintFilter &dialog) { dialog.move(40, 30); });
    const QString placement = Option(vdrOptionKeys::MaintFilterDialog);
    m_db.Reopen();
    const auto list = List();
    TfrmMaintFilter dialog(*list);
    EXPECT_EQ(dialog.PageIndex(), TfrmMaintFilter::pgCost);
    EXPECT_EQ(GetPlacement(&dialog), placement);
}

TEST_F(MaintFilterTest, OKOnAPageWithNothingToChooseIsRefusedAndTheDialogStays) {
    // A car without events, and no repair descriptions.
    for (int page = TfrmMaintFilter::pgRepair; page <= TfrmMaintFilter::pgCost; ++page) {
        bool stayed = false;
        bool confirmed = true;
        EXPECT_EQ(Run(
                      [&](TfrmMaintFilter &dialog) {
                          dialog.Form().pgcFilter->setCurrentIndex(page);
                          QTest::keyClick(dialog.focusWidget(), Qt::Key_Return); // the default button
                          stayed = dialog.isVisible();
                      },
                      &confirmed),
                  nullptr)
            << page;
        EXPECT_TRUE(stayed) << page;
        EXPECT_FALSE(confirmed) << page;
    }
    ASSERT_EQ(m_prompts->Asked.size(), 4);
    EXPECT_EQ(m_prompts->Asked[0].Kind, QStringLiteral("warning"));
    EXPECT_TRUE(
        m_prompts->Asked[0].Text.startsWith(QStringLiteral("There is nothing to choose on this page")));

    // With events the range pages work while the Repair page still refuses.
    ThreeEvents();
    EXPECT_NE(Run([](TfrmMaintFilter &dialog) {
                  dialog.Form().pgcFilter->setCurrentIndex(TfrmMaintFilter::pgCost);
                  QTest::keyClick(dialog.Form().cboToCost, Qt::Key_Return);
              }),
              nullptr);
    EXPECT_EQ(Run([](TfrmMaintFilter &dialog) {
                  dialog.Form().pgcFilter->setCurrentIndex(TfrmMaintFilter::pgRepair);
                  dialog.btnOKClick();
              }),
              nullptr);
    EXPECT_EQ(m_prompts->Asked.size(), 5);
}

TEST_F(MaintFilterTest, TheKeyboardReachesTheListsOfThePageAndNeverThePageTabs) {
    ThreeEvents();
    const auto list = List();
    TfrmMaintFilter dialog(*list);
    dialog.Form().pgcFilter->setCurrentIndex(TfrmMaintFilter::pgMileage);
    dialog.show();
    QApplication::setActiveWindow(&dialog);
    const Ui::TfrmMaintFilter &ui = dialog.Form();
    EXPECT_EQ(dialog.focusWidget(), ui.cboFromMileage) << "the first list of the page has the focus";
    EXPECT_EQ(ui.pgcFilter->tabBar()->focusPolicy(), Qt::NoFocus);

    QStringList order;
    QWidget *widget = ui.cboFromMileage;
    for (int i = 0; i < 4; ++i) {
        widget = widget->nextInFocusChain();
        while (!(widget->isVisible() && widget->isEnabled() && (widget->focusPolicy() & Qt::TabFocus)))
            widget = widget->nextInFocusChain();
        order.append(widget->objectName());
    }
    EXPECT_EQ(order, QStringList({"cboToMileage", "btnOK", "btnCancel", "cboFromMileage"}));

    QTest::keyClick(ui.cboFromMileage, Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(dialog.PageIndex(), TfrmMaintFilter::pgCost) << "Ctrl+Tab turns the page";
    EXPECT_EQ(dialog.focusWidget(), ui.cboFromCost);
    QTest::keyClick(ui.cboFromCost, Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(dialog.PageIndex(), TfrmMaintFilter::pgRepair) << "round to the first page";
    QTest::keyClick(ui.cboRepair, Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(dialog.PageIndex(), TfrmMaintFilter::pgCost) << "and back";
}

TEST_F(MaintFilterTest, RangeEntriesAreDrawnRightAlignedThreePixelsBeforeTheEdge) {
    ThreeEvents();
    const auto list = List();
    TfrmMaintFilter dialog(*list);
    dialog.FormShow();
    QComboBox *combo = dialog.Form().cboFromMileage;
    EXPECT_EQ(combo->view()->sizeHintForRow(0), 16) << "entries are 16 pixels high";

    QPalette palette = combo->palette();
    palette.setColor(QPalette::Base, Qt::white);
    palette.setColor(QPalette::Text, Qt::black);
    palette.setColor(QPalette::Highlight, Qt::blue);
    combo->setPalette(palette);
    QImage image(120, 16, QImage::Format_RGB32);
    image.fill(Qt::red);
    const auto inkColumns = [&image](QRgb background) {
        int first = -1;
        int last = -1;
        for (int x = 0; x < image.width(); ++x)
            for (int y = 0; y < image.height(); ++y)
                if (image.pixel(x, y) != background) {
                    first = first < 0 ? x : first;
                    last = x;
                }
        return std::make_pair(first, last);
    };
    {
        QPainter painter(&image);
        TfrmMaintFilter::ComboDrawItem(combo, &painter, QRect(0, 0, 120, 16), 2, false);
    }
    const auto [first, last] = inkColumns(QColor(Qt::white).rgb());
    EXPECT_GT(first, 60) << "right-aligned, not at the left";
    EXPECT_GE(last, 120 - 3 - 3);
    EXPECT_LE(last, 120 - 3 - 1) << "3 pixels stay free on the right";
    {
        QPainter painter(&image);
        TfrmMaintFilter::ComboDrawItem(combo, &painter, QRect(0, 0, 120, 16), 2, true);
    }
    EXPECT_EQ(image.pixel(0, 0), QColor(Qt::blue).rgb()) << "a selected entry on the highlight";
}

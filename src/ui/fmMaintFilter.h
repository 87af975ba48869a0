#pragma once

#include "vdrMaintFilterValues.h"

#include <QComboBox>
#include <QDialog>

#include <memory>

class QPainter;
class TvdrMaintFilter;
class TvdrMaintSortedList;
namespace Ui {
class TfrmMaintFilter;
}

// A range list of the filter dialog: the dialog draws its entries
// (ComboDrawItem); the closed list shows the chosen one right-aligned too.
class TvdrRangeCombo : public QComboBox {
public:
    explicit TvdrRangeCombo(QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;
};

// "Filter by...": one page per way to narrow a car's maintenance list
// (repair description, date, mileage, cost), the ranges chosen from the
// values the car's events have. On OK the active page builds one filter.
// Restores its placement and last page when created and stores both
// (saving the options table) when destroyed.
class TfrmMaintFilter : public QDialog {
public:
    enum TPage { pgRepair = 0, pgDate = 1, pgMileage = 2, pgCost = 3 };

    // `sortedList` holds all of the car's events and must outlive the dialog.
    explicit TfrmMaintFilter(TvdrMaintSortedList &sortedList, QWidget *parent = nullptr);
    ~TfrmMaintFilter() override;

    void FormShow();
    // Builds the active page's filter and closes with OK; a page with
    // nothing to choose is refused with a warning and the dialog stays.
    void btnOKClick();
    void btnCancelClick();
    // Fills `rect` with the background and draws entry `index`'s text at
    // the top, right-aligned 3 pixels before the right edge, clipped.
    static void ComboDrawItem(const QComboBox *combo, QPainter *painter, const QRect &rect, int index,
                              bool selected);

    // The filter built on OK; the caller owns it. Null otherwise.
    std::unique_ptr<TvdrMaintFilter> TakeFilter() { return std::move(m_filter); }
    const TvdrMaintFilterValues &Values() const { return m_values; }
    int PageIndex() const;

    Ui::TfrmMaintFilter &Form() const { return *m_ui; }

protected:
    void showEvent(QShowEvent *event) override;

private:
    void FillRange(QComboBox *from, QComboBox *to, const TvdrFilterValues &values);
    void FocusPage();

    std::unique_ptr<Ui::TfrmMaintFilter> m_ui;
    TvdrMaintSortedList &m_sortedList;
    TvdrMaintFilterValues m_values;
    std::unique_ptr<TvdrMaintFilter> m_filter;
    bool m_shown = false;
};

// Shows the dialog over the car's events; true with `filter` set (the
// caller owns it) when the user confirmed with OK, else false and `filter`
// left alone.
bool ExecuteFilter(TvdrMaintSortedList &sortedList, std::unique_ptr<TvdrMaintFilter> &filter,
                   QWidget *parent = nullptr);

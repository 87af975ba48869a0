#pragma once

#include "vdrFrame.h"
#include "vdrListItem.h"

#include <QIcon>
#include <QList>

#include <functional>
#include <memory>

class TvdrMaintFilter;
class TvdrMaintSortedList;
namespace Ui {
class TfraMaint;
}

// The view of a car's maintenance node: the car's events that pass the
// current filter, sorted by the column the user picked, with their total
// cost below; the repairs and note of the selected event. Sort column, sort
// direction and repairs direction carry over to the next view through the
// options table; the filter starts as the null filter in every view.
//
// Owns its sorted list and its filter.
class TfraMaint : public TvdrFrame {
public:
    using TModifyEvent = std::function<bool(qint32 carNbr, qint32 maintNbr)>;

    // What the maintenance report prints, borrowed from the view: valid
    // until the view refreshes or closes.
    struct TPrintSource {
        qint32 CarNbr = 0;
        TvdrMaintSortedList *SortedList = nullptr;
        quint8 RepairsDirection = 0;
        const TvdrMaintFilter *Filter = nullptr;
    };

    explicit TfraMaint(QWidget *parent = nullptr);
    ~TfraMaint() override;

    // Images 0 (ascending) and 1 (descending) for the column headers.
    void SetSortImages(const QList<QIcon> &images);
    void LoadMaint(qint32 carNbr);
    // `selectMaintNbr` -1 selects the first row; so does a number not shown.
    void RefreshMaintList(qint32 carNbr, qint32 selectMaintNbr, quint8 descending, quint8 column);
    void ShowAddedMaint(qint32 carNbr, qint32 maintNbr);
    // Asks first; selects the row that took the deleted one's place.
    void DeleteSelectedMaint(qint32 carNbr);
    // True when the user confirmed a new filter.
    bool ExecuteFilter();
    void CancelFilter();
    // Opens an event in the maintenance entry dialog; true when the user
    // confirmed it. Enter and double-click on an event call it.
    void SetModifyEvent(TModifyEvent modify) { m_modifyEvent = std::move(modify); }
    // Writes the sort choices to the options table and saves it.
    void CloseView() override;

    TPrintSource PrintSource() const;
    quint8 RepairsDirection() const { return m_repairsDirection; }
    void SetRepairsDirection(quint8 direction);
    // The MaintNbr of the selected row; -1 when none is.
    qint32 SelectedMaintNbr() const;

    // Handlers.
    void lvwMaintColumnClick(int column);
    void lvwMaintChange();
    void lvwMaintDblClick();
    void lvwMaintKeyPress(int key);
    void lvwRepairsColumnClick(int column);
    int lvwRepairsCompare(const TvdrListItem &item1, const TvdrListItem &item2) const;
    void FrameResize();

    Ui::TfraMaint &Form() const { return *m_ui; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    quint8 SortColumn() const;
    quint8 SortDirection() const;
    void OpenSelectedEvent();
    void FillRepairs();

    std::unique_ptr<Ui::TfraMaint> m_ui;
    qint32 m_carNbr = 0;
    std::unique_ptr<TvdrMaintSortedList> m_list;
    std::unique_ptr<TvdrMaintFilter> m_filter;
    quint8 m_repairsDirection = 0;
    TvdrListItems m_repairs;
    QList<QIcon> m_sortImages;
    TModifyEvent m_modifyEvent;
};

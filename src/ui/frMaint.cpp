#include "frMaint.h"

#include "ui_frMaint.h"

#include "fmMaintFilter.h"
#include "kvxLang.h"
#include "kvxLangApply.h"
#include "vdrApplication.h"
#include "vdrCompareText.h"
#include "vdrDateTime.h"
#include "vdrFormatSettings.h"
#include "vdrHelpTopic.h"
#include "vdrLog.h"
#include "vdrMaint.h"
#include "vdrMaintEvents.h"
#include "vdrMaintFilter.h"
#include "vdrMaintNotes.h"
#include "vdrMaintRepairs.h"
#include "vdrMaintSortedList.h"
#include "vdrOptions.h"
#include "vdrReportList.h"
#include "vdrWindowRoutines.h"

#include <QHeaderView>
#include <QKeyEvent>

#include <algorithm>
#include <vector>

namespace {

enum TMaintColumn { colBlank = 0, colDate = 1, colMileage = 2, colCost = 3 };

// A missing option reads as 0, and so does one that is not a whole number.
int IntOption(const char *key) {
    Options().SetDefault(0);
    return Options().Field(QLatin1String(key)).AsInteger();
}

// The sorted list sorts any column but date and mileage by cost, and any
// direction but 1 ascending; the header image must say the same.
quint8 SortColumnOf(int value) {
    return value == TvdrMaintSortedList::ByDate || value == TvdrMaintSortedList::ByMileage
               ? quint8(value)
               : quint8(TvdrMaintSortedList::ByCost);
}

quint8 DirectionOf(int value) {
    return value == TvdrMaintSortedList::Descending ? quint8(TvdrMaintSortedList::Descending)
                                                    : quint8(TvdrMaintSortedList::Ascending);
}

// The short date, and the time only when it is not midnight (an event
// without a valid date reads as now).
QString DateTimeText(double value) {
    const QDateTime moment = vdrDateTime::DateTimeOf(value);
    QString text = TvdrFormatSettings::Current().ShortDate(moment.date());
    if (moment.time() != QTime(0, 0))
        text += QLatin1Char(' ') + moment.time().toString(QStringLiteral("HH:mm:ss"));
    return text;
}

// A row of the event list. It keeps its event and formats a cell only when
// the list asks for it, so filling a long list costs no formatting of rows
// that are never shown.
class TEventRow : public QTreeWidgetItem {
public:
    explicit TEventRow(const TvdrMaintRec &event) : QTreeWidgetItem(UserType), m_event(event) {}

    QVariant data(int column, int role) const override {
        if (role == Qt::UserRole && column == colBlank)
            return m_event.MaintNbr;
        if (role != Qt::DisplayRole)
            return QTreeWidgetItem::data(column, role);
        const TvdrFormatSettings &format = TvdrFormatSettings::Current();
        switch (column) {
        case colDate:
            return format.ShortDate(vdrDateTime::DateOfDayNumber(m_event.Date));
        case colMileage:
            return format.Grouped(m_event.Mileage);
        case colCost:
            return format.Currency(m_event.Cost);
        default:
            return QString();
        }
    }

private:
    TvdrMaintRec m_event; // its date settled by the sorted list
};

} // namespace

TfraMaint::TfraMaint(QWidget *parent)
    : TvdrFrame(parent, vdrHelpTopics::MaintView), m_ui(std::make_unique<Ui::TfraMaint>()),
      m_filter(std::make_unique<TvdrNullFilter>()) {
    m_ui->setupUi(this);
    Ui::TfraMaint &ui = *m_ui;
    SetUpReportList(ui.lvwMaint, {colDate, colMileage, colCost});
    SetUpReportList(ui.lvwRepairs);
    ui.lvwMaint->header()->setSectionResizeMode(colBlank, QHeaderView::Fixed);
    ui.splMaint->setStretchFactor(0, 3);
    ui.splMaint->setStretchFactor(1, 2);
    ui.lvwRepairs->header()->setStretchLastSection(true);

    connect(ui.lvwMaint->header(), &QHeaderView::sectionClicked, this,
            [this](int column) { RunGuarded([this, column] { lvwMaintColumnClick(column); }); });
    connect(ui.lvwMaint, &QTreeWidget::itemSelectionChanged, this,
            [this] { RunGuarded([this] { lvwMaintChange(); }); });
    connect(ui.lvwMaint, &QTreeWidget::itemDoubleClicked, this,
            [this] { RunGuarded([this] { lvwMaintDblClick(); }); });
    connect(ui.lvwRepairs->header(), &QHeaderView::sectionClicked, this,
            [this](int column) { RunGuarded([this, column] { lvwRepairsColumnClick(column); }); });
    ui.lvwMaint->installEventFilter(this);
    ui.lvwMaint->viewport()->installEventFilter(this);
    ui.lvwRepairs->viewport()->installEventFilter(this);
    ui.stbTotals->installEventFilter(this);
    ui.stbTotals->setFixedHeight(ui.stbTotalsPanel1->sizeHint().height() + 4);
}

TfraMaint::~TfraMaint() = default;

bool TfraMaint::eventFilter(QObject *watched, QEvent *event) {
    Ui::TfraMaint &ui = *m_ui;
    if (event->type() == QEvent::Resize &&
        (watched == ui.lvwMaint->viewport() || watched == ui.lvwRepairs->viewport() ||
         watched == ui.stbTotals)) {
        FrameResize();
    } else if (watched == ui.lvwMaint && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            RunGuarded([this, key] { lvwMaintKeyPress(key); });
            return true;
        }
    }
    return TvdrFrame::eventFilter(watched, event);
}

void TfraMaint::SetSortImages(const QList<QIcon> &images) {
    m_sortImages = images;
    if (m_list)
        ShowSortImage(m_ui->lvwMaint, SortColumn() + 1, m_sortImages, SortDirection());
    ShowSortImage(m_ui->lvwRepairs, 0, m_sortImages, m_repairsDirection);
}

void TfraMaint::LoadMaint(qint32 carNbr) {
    Log().Write(QStringLiteral("TfraMaint initializing"));
    ApplyToFrame(this);
    m_carNbr = carNbr;
    m_filter = std::make_unique<TvdrNullFilter>();
    const quint8 column = SortColumnOf(IntOption(vdrOptionKeys::MaintSortColumn));
    const quint8 direction = DirectionOf(IntOption(vdrOptionKeys::MaintSortOrder));
    RefreshMaintList(carNbr, -1, direction, column);
    SetRepairsDirection(DirectionOf(IntOption(vdrOptionKeys::MaintViewRepairsOrder)));
    FrameResize();
}

void TfraMaint::RefreshMaintList(qint32 carNbr, qint32 selectMaintNbr, quint8 descending, quint8 column) {
    QTreeWidget *list = m_ui->lvwMaint;
    m_list.reset();
    m_list = Maint().SortedList(carNbr, column, descending);

    std::vector<std::unique_ptr<QTreeWidgetItem>> made;
    made.reserve(std::size_t(m_list->Count()));
    double total = 0.0;
    for (int i = 0; i < m_list->Count(); ++i) {
        TvdrMaintRec &event = m_list->Items(i);
        if (!m_filter->Matches(event))
            continue;
        made.push_back(std::make_unique<TEventRow>(event));
        total += event.Cost;
    }
    QList<QTreeWidgetItem *> rows;
    rows.reserve(qsizetype(made.size()));
    for (std::unique_ptr<QTreeWidgetItem> &row : made)
        rows.append(row.release());
    {
        // The rows go in at once while the list neither paints nor reports
        // each selection step; the final selection is reported below.
        const QSignalBlocker blocker(list);
        list->setUpdatesEnabled(false);
        list->clear();
        list->addTopLevelItems(rows);
        QTreeWidgetItem *selected = list->topLevelItem(0);
        if (selectMaintNbr != -1) {
            for (QTreeWidgetItem *row : std::as_const(rows)) {
                if (row->data(colBlank, Qt::UserRole).toInt() == selectMaintNbr) {
                    selected = row;
                    break;
                }
            }
        }
        if (selected) {
            list->setCurrentItem(selected);
            list->scrollToItem(selected);
        }
        list->setUpdatesEnabled(true);
    }
    m_ui->stbTotalsPanel1->setText(TvdrFormatSettings::Current().Currency(total));
    ShowSortImage(list, SortColumn() + 1, m_sortImages, SortDirection());
    lvwMaintChange();
}

void TfraMaint::ShowAddedMaint(qint32 carNbr, qint32 maintNbr) {
    RefreshMaintList(carNbr, maintNbr, SortDirection(), SortColumn());
}

void TfraMaint::DeleteSelectedMaint(qint32 carNbr) {
    QTreeWidget *list = m_ui->lvwMaint;
    const QList<QTreeWidgetItem *> selected = list->selectedItems();
    if (selected.isEmpty())
        return;
    const qint32 maintNbr = selected.first()->data(colBlank, Qt::UserRole).toInt();
    TvdrMaintRec *event = Maint().FindEvent(carNbr, maintNbr);
    if (!event)
        return;
    const int row = list->indexOfTopLevelItem(selected.first());
    const int count = list->topLevelItemCount();
    qint32 next = -1;
    if (count > 1) {
        QTreeWidgetItem *neighbour = list->topLevelItem(row == count - 1 ? row - 1 : row + 1);
        next = neighbour->data(colBlank, Qt::UserRole).toInt();
    }
    if (AnsweredNo(Lang().FormatText(QStringLiteral("QM-DeleteMaint"), {DateTimeText(event->GetDateTime())})))
        return;
    DeleteMaintEvent(carNbr, maintNbr);
    RefreshMaintList(carNbr, next, SortDirection(), SortColumn());
}

bool TfraMaint::ExecuteFilter() {
    if (!m_list)
        return false;
    std::unique_ptr<TvdrMaintFilter> filter;
    if (!::ExecuteFilter(*m_list, filter, this) || !filter)
        return false;
    m_filter = std::move(filter);
    RefreshMaintList(m_carNbr, -1, SortDirection(), SortColumn());
    return true;
}

void TfraMaint::CancelFilter() {
    m_filter = std::make_unique<TvdrNullFilter>();
    RefreshMaintList(m_carNbr, -1, SortDirection(), SortColumn());
}

void TfraMaint::CloseView() {
    if (!m_list)
        return;
    Options().SetValue(QLatin1String(vdrOptionKeys::MaintSortColumn), QString::number(SortColumn()));
    Options().SetValue(QLatin1String(vdrOptionKeys::MaintSortOrder), QString::number(SortDirection()));
    Options().SetValue(QLatin1String(vdrOptionKeys::MaintViewRepairsOrder),
                       QString::number(m_repairsDirection));
    Options().Save();
}

TfraMaint::TPrintSource TfraMaint::PrintSource() const {
    return {m_carNbr, m_list.get(), m_repairsDirection, m_filter.get()};
}

quint8 TfraMaint::SortColumn() const {
    return m_list ? SortColumnOf(m_list->SortColumn()) : quint8(TvdrMaintSortedList::ByDate);
}

quint8 TfraMaint::SortDirection() const {
    return m_list ? DirectionOf(m_list->SortDirection()) : quint8(TvdrMaintSortedList::Ascending);
}

qint32 TfraMaint::SelectedMaintNbr() const {
    const QList<QTreeWidgetItem *> selected = m_ui->lvwMaint->selectedItems();
    return selected.isEmpty() ? -1 : selected.first()->data(colBlank, Qt::UserRole).toInt();
}

void TfraMaint::lvwMaintColumnClick(int column) {
    const quint8 sortColumn = column == colDate      ? quint8(TvdrMaintSortedList::ByDate)
                              : column == colMileage ? quint8(TvdrMaintSortedList::ByMileage)
                                                     : quint8(TvdrMaintSortedList::ByCost);
    const bool toggle = sortColumn == SortColumn() && SortDirection() == TvdrMaintSortedList::Ascending;
    RefreshMaintList(m_carNbr, -1,
                     toggle ? quint8(TvdrMaintSortedList::Descending)
                            : quint8(TvdrMaintSortedList::Ascending),
                     sortColumn);
}

void TfraMaint::lvwMaintChange() {
    const qint32 maintNbr = SelectedMaintNbr();
    // Without a selected event (an empty list) nothing of a former one stays.
    m_repairs.clear();
    if (maintNbr >= 0)
        MaintRepairs().ListEventRepairs(m_carNbr, maintNbr, m_repairs);
    FillRepairs();
    QString note = maintNbr >= 0 ? MaintNotes().GetNote(m_carNbr, maintNbr) : QString();
    note.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    m_ui->mmoNote->setPlainText(note);
}

void TfraMaint::lvwMaintDblClick() {
    OpenSelectedEvent();
}

void TfraMaint::lvwMaintKeyPress(int key) {
    if (key == Qt::Key_Return || key == Qt::Key_Enter)
        OpenSelectedEvent();
}

void TfraMaint::OpenSelectedEvent() {
    const qint32 maintNbr = SelectedMaintNbr();
    if (maintNbr < 0 || !m_modifyEvent)
        return;
    if (m_modifyEvent(m_carNbr, maintNbr))
        RefreshMaintList(m_carNbr, maintNbr, SortDirection(), SortColumn());
}

void TfraMaint::lvwRepairsColumnClick(int) {
    SetRepairsDirection(m_repairsDirection == TvdrMaintSortedList::Descending
                            ? quint8(TvdrMaintSortedList::Ascending)
                            : quint8(TvdrMaintSortedList::Descending));
}

int TfraMaint::lvwRepairsCompare(const TvdrListItem &item1, const TvdrListItem &item2) const {
    const int result = CompareText(item1.Caption, item2.Caption);
    return m_repairsDirection == TvdrMaintSortedList::Descending ? -result : result;
}

void TfraMaint::SetRepairsDirection(quint8 direction) {
    m_repairsDirection = DirectionOf(direction);
    ShowSortImage(m_ui->lvwRepairs, 0, m_sortImages, m_repairsDirection);
    FillRepairs();
}

void TfraMaint::FillRepairs() {
    std::stable_sort(
        m_repairs.begin(), m_repairs.end(),
        [this](const TvdrListItem &a, const TvdrListItem &b) { return lvwRepairsCompare(a, b) < 0; });
    QTreeWidget *list = m_ui->lvwRepairs;
    list->clear();
    for (const TvdrListItem &repair : std::as_const(m_repairs)) {
        auto *row = new QTreeWidgetItem(list, QStringList{repair.Caption});
        row->setData(0, Qt::UserRole, repair.Data);
    }
}

void TfraMaint::FrameResize() {
    Ui::TfraMaint &ui = *m_ui;
    const int w = ui.lvwMaint->viewport()->width();
    const int t = w / 3;
    QHeaderView *header = ui.lvwMaint->header();
    header->resizeSection(colBlank, 0);
    header->resizeSection(colDate, t);
    header->resizeSection(colMileage, t);
    header->resizeSection(colCost, w - 2 * t);
    ui.lvwRepairs->header()->resizeSection(0, ui.lvwRepairs->viewport()->width());
    // The total stands under the costs: the list's frame is added to the
    // first panel, the last takes what is left (the scroll bar's room).
    const int first = ui.lvwMaint->frameWidth() + 2 * t;
    const int height = ui.stbTotals->height();
    ui.stbTotalsPanel0->setGeometry(0, 0, first, height);
    ui.stbTotalsPanel1->setGeometry(first, 0, w - 2 * t, height);
    ui.stbTotalsPanel2->setGeometry(first + w - 2 * t, 0,
                                    qMax(0, ui.stbTotals->width() - first - (w - 2 * t)), height);
}

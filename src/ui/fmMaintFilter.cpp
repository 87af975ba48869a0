#include "fmMaintFilter.h"

#include "ui_fmMaintFilter.h"

#include "kvxLang.h"
#include "kvxLangApply.h"
#include "vdrApplication.h"
#include "vdrHelpTopic.h"
#include "vdrMaintFilter.h"
#include "vdrMaintSortedList.h"
#include "vdrModal.h"
#include "vdrOptions.h"
#include "vdrRepairs.h"
#include "vdrWindowRoutines.h"

#include <QAbstractItemDelegate>
#include <QAbstractItemView>
#include <QPainter>
#include <QShortcut>
#include <QStyleOptionComboBox>
#include <QStylePainter>
#include <QTabBar>

namespace {

constexpr int kEntryHeight = 16;

// Draws the drop-down entries of a range list through the dialog.
class TRangeDelegate : public QAbstractItemDelegate {
public:
    explicit TRangeDelegate(QComboBox *combo) : QAbstractItemDelegate(combo), m_combo(combo) {}

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override {
        TfrmMaintFilter::ComboDrawItem(m_combo, painter, option.rect, index.row(),
                                       option.state.testFlag(QStyle::State_Selected));
    }
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override {
        return {option.fontMetrics.horizontalAdvance(index.data().toString()) + 6, kEntryHeight};
    }

private:
    QComboBox *m_combo;
};

} // namespace

TvdrRangeCombo::TvdrRangeCombo(QWidget *parent) : QComboBox(parent) {
    setItemDelegate(new TRangeDelegate(this));
}

void TvdrRangeCombo::paintEvent(QPaintEvent *) {
    QStylePainter painter(this);
    QStyleOptionComboBox option;
    initStyleOption(&option);
    option.textAlignment = Qt::AlignRight | Qt::AlignVCenter;
    painter.drawComplexControl(QStyle::CC_ComboBox, option);
    painter.drawControl(QStyle::CE_ComboBoxLabel, option);
}

TfrmMaintFilter::TfrmMaintFilter(TvdrMaintSortedList &sortedList, QWidget *parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::TfrmMaintFilter>()), m_sortedList(sortedList) {
    m_ui->setupUi(this);
    SetHelpTopic(this, vdrHelpTopics::FilterDialog);
    m_ui->pgcFilter->tabBar()->setFocusPolicy(Qt::NoFocus);
    connect(m_ui->btnOK, &QPushButton::clicked, this, [this] { RunGuarded([this] { btnOKClick(); }); });
    connect(m_ui->btnCancel, &QPushButton::clicked, this,
            [this] { RunGuarded([this] { btnCancelClick(); }); });
    connect(m_ui->pgcFilter, &QTabWidget::currentChanged, this,
            [this] { RunGuarded([this] { FocusPage(); }); });
    // Ctrl+Tab turns the pages from wherever the focus is, as the page tabs
    // themselves take no focus.
    const auto turn = [this](int step) {
        const int count = m_ui->pgcFilter->count();
        m_ui->pgcFilter->setCurrentIndex((PageIndex() + step + count) % count);
    };
    connect(new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Tab), this), &QShortcut::activated, this,
            [turn] { RunGuarded([turn] { turn(1); }); });
    connect(new QShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab), this), &QShortcut::activated,
            this, [turn] { RunGuarded([turn] { turn(-1); }); });
    Options().SetDefault(QString());
    SetPlacement(this, Options().GetValue(QLatin1String(vdrOptionKeys::MaintFilterDialog)));
    // A page index that is no page leaves the first page shown.
    Options().SetDefault(0);
    m_ui->pgcFilter->setCurrentIndex(
        Options().Field(QLatin1String(vdrOptionKeys::MaintFilterPage)).AsInteger());
    ApplyToForm(this);
}

TfrmMaintFilter::~TfrmMaintFilter() {
    try {
        Options().SetValue(QLatin1String(vdrOptionKeys::MaintFilterPage), QString::number(PageIndex()));
        Options().SetValue(QLatin1String(vdrOptionKeys::MaintFilterDialog), GetPlacement(this));
        Options().Save();
    } catch (...) {
        // A dialog that closes cannot report: page and placement are niceties.
    }
}

int TfrmMaintFilter::PageIndex() const {
    return m_ui->pgcFilter->currentIndex();
}

void TfrmMaintFilter::showEvent(QShowEvent *event) {
    QDialog::showEvent(event);
    if (!m_shown) {
        m_shown = true;
        FormShow();
    }
}

void TfrmMaintFilter::FormShow() {
    Ui::TfrmMaintFilter &ui = *m_ui;
    m_values = TvdrMaintFilterValues::Of(m_sortedList);
    FillRange(ui.cboFromDate, ui.cboToDate, m_values.Dates);
    FillRange(ui.cboFromMileage, ui.cboToMileage, m_values.Mileages);
    FillRange(ui.cboFromCost, ui.cboToCost, m_values.Costs);

    TvdrRepairs &repairs = Repairs();
    repairs.BuildOrder(false);
    ui.cboRepair->clear();
    for (int p = 0; p < repairs.OrderCount(); ++p) {
        const qint32 repairNbr = repairs.RepairNbrAt(p);
        ui.cboRepair->addItem(repairs.Description(repairNbr), repairNbr);
    }
    ui.cboRepair->setCurrentIndex(ui.cboRepair->count() > 0 ? 0 : -1);
    FocusPage();
}

void TfrmMaintFilter::FillRange(QComboBox *from, QComboBox *to, const TvdrFilterValues &values) {
    for (QComboBox *combo : {from, to}) {
        combo->clear();
        for (const TvdrFilterValue &value : values)
            combo->addItem(value.Text);
    }
    from->setCurrentIndex(values.empty() ? -1 : 0);
    to->setCurrentIndex(int(values.size()) - 1);
}

void TfrmMaintFilter::FocusPage() {
    Ui::TfrmMaintFilter &ui = *m_ui;
    QWidget *first[] = {ui.cboRepair, ui.cboFromDate, ui.cboFromMileage, ui.cboFromCost};
    const int page = PageIndex();
    if (page >= 0 && page < 4)
        first[page]->setFocus();
}

void TfrmMaintFilter::btnOKClick() {
    Ui::TfrmMaintFilter &ui = *m_ui;
    const int page = PageIndex();
    if (page == pgRepair) {
        if (ui.cboRepair->currentIndex() >= 0)
            m_filter = std::make_unique<TvdrRepairFilter>(ui.cboRepair->currentData().toInt());
    } else {
        QComboBox *from = page == pgDate      ? ui.cboFromDate
                          : page == pgMileage ? ui.cboFromMileage
                                              : ui.cboFromCost;
        QComboBox *to = page == pgDate ? ui.cboToDate : page == pgMileage ? ui.cboToMileage : ui.cboToCost;
        const TvdrFilterValues &values = page == pgDate      ? m_values.Dates
                                         : page == pgMileage ? m_values.Mileages
                                                             : m_values.Costs;
        const int f = from->currentIndex();
        const int t = to->currentIndex();
        if (f >= 0 && t >= 0 && f < int(values.size()) && t < int(values.size()))
            m_filter = RangeFilter(TvdrRangePage(page), values[std::size_t(f)], values[std::size_t(t)]);
    }
    if (!m_filter) {
        ShowWarning(Lang().GetText(QStringLiteral("WM-FilterNothingToChoose")));
        FocusPage();
        return;
    }
    accept();
}

void TfrmMaintFilter::btnCancelClick() {
    reject();
}

void TfrmMaintFilter::ComboDrawItem(const QComboBox *combo, QPainter *painter, const QRect &rect, int index,
                                    bool selected) {
    const QPalette &palette = combo->palette();
    painter->save();
    painter->setClipRect(rect);
    painter->fillRect(rect, palette.brush(selected ? QPalette::Highlight : QPalette::Base));
    painter->setPen(palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
    painter->setFont(combo->font());
    const QString text = combo->itemText(index);
    const QFontMetrics metrics(combo->font());
    const int x = rect.left() + rect.width() - metrics.horizontalAdvance(text) - 3;
    painter->drawText(QRect(x, rect.top(), rect.right() - x + 1, rect.height()), Qt::AlignLeft | Qt::AlignTop,
                      text);
    painter->restore();
}

bool ExecuteFilter(TvdrMaintSortedList &sortedList, std::unique_ptr<TvdrMaintFilter> &filter,
                   QWidget *parent) {
    TfrmMaintFilter dialog(sortedList, parent);
    if (RunModal(dialog) != QDialog::Accepted)
        return false;
    std::unique_ptr<TvdrMaintFilter> built = dialog.TakeFilter();
    if (!built)
        return false;
    filter = std::move(built);
    return true;
}

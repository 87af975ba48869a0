#include "frRepairs.h"

#include "fmRepairs.h"
#include "kvxLang.h"
#include "kvxLangApply.h"
#include "ui_frRepairs.h"
#include "vdrApplication.h"
#include "vdrHelpTopic.h"
#include "vdrListView.h"
#include "vdrLog.h"
#include "vdrOptions.h"
#include "vdrRepairs.h"
#include "vdrWindowRoutines.h"

#include <QHeaderView>

TfraRepairs::TfraRepairs(QWidget *parent)
    : TvdrFrame(parent, vdrHelpTopics::RepairsView), m_ui(std::make_unique<Ui::TfraRepairs>()) {
    m_ui->setupUi(this);
    QTreeWidget *list = m_ui->lvwRepairs;
    SetUpListView(list);
    connect(list, &QTreeWidget::itemDoubleClicked, this,
            [this] { RunGuarded([this] { lvwRepairsDblClick(); }); });
    connect(list->header(), &QHeaderView::sectionClicked, this,
            [this] { RunGuarded([this] { lvwRepairsColumnClick(); }); });
    OnEnterKey(list, [this] { lvwRepairsKeyPress(); });
}

TfraRepairs::~TfraRepairs() = default;

void TfraRepairs::SetSortImages(const QList<QIcon> &images) {
    m_sortImages = images;
}

void TfraRepairs::LoadRepairs() {
    Log().Write(QStringLiteral("TfraRepairs initializing"));
    ApplyToFrame(this);
    Options().SetDefault(QStringLiteral("0"));
    const bool descending =
        Options().GetValue(QLatin1String(vdrOptionKeys::RepairsViewOrder)) == QLatin1String("1");
    Repairs().BuildOrder(descending);
    FillList();
    if (m_ui->lvwRepairs->topLevelItemCount() > 0)
        SelectRow(m_ui->lvwRepairs, m_ui->lvwRepairs->topLevelItem(0));
}

void TfraRepairs::FillList() {
    const TvdrRepairs &repairs = Repairs();
    QList<QTreeWidgetItem *> rows;
    rows.reserve(repairs.OrderCount());
    for (int position = 0; position < repairs.OrderCount(); ++position) {
        const qint32 repairNbr = repairs.RepairNbrAt(position);
        rows.append(NewRow(repairs.Description(repairNbr), repairNbr));
    }
    ShowSortImage(m_ui->lvwRepairs, 0, m_sortImages, repairs.Descending());
    ReplaceRows(m_ui->lvwRepairs, rows);
}

void TfraRepairs::ShowAddedRepair(qint32 repairNbr) {
    Repairs().BuildOrder(Repairs().Descending());
    FillList();
    QTreeWidgetItem *row = FindRow(m_ui->lvwRepairs, repairNbr);
    SelectRow(m_ui->lvwRepairs, row);
    if (row)
        m_ui->lvwRepairs->setFocus();
}

void TfraRepairs::DeleteSelectedRepair() {
    QTreeWidgetItem *row = SelectedRow(m_ui->lvwRepairs);
    if (!row)
        return;
    const qint32 repairNbr = RowNumber(row);
    const QString inUse = RepairInUseText(repairNbr);
    if (!inUse.isEmpty()) {
        ShowInfo(inUse);
        return;
    }
    if (AnsweredNo(Lang().FormatText(QStringLiteral("QM-Delete"), {row->text(0)})))
        return;
    Repairs().RemoveRepair(repairNbr);
    Repairs().Save();
    delete row;
    SelectRow(m_ui->lvwRepairs, m_ui->lvwRepairs->currentItem());
}

void TfraRepairs::DeleteUnusedRepairs() {
    Log().Write(QStringLiteral("delete unused repairs?"));
    if (AnsweredNo(Lang().GetText(QStringLiteral("QM-DeleteUnused"))))
        return;
    Log().Write(QStringLiteral("deleting unused repairs"));
    Repairs().RemoveUnlinked();
    Repairs().Save();
    LoadRepairs();
}

void TfraRepairs::CloseView() {
    Options().SetValue(QLatin1String(vdrOptionKeys::RepairsViewOrder),
                       Repairs().Descending() ? QStringLiteral("1") : QStringLiteral("0"));
    Options().Save();
}

void TfraRepairs::lvwRepairsDblClick() {
    ModifySelected();
}

void TfraRepairs::lvwRepairsKeyPress() {
    ModifySelected();
}

void TfraRepairs::lvwRepairsColumnClick() {
    Repairs().BuildOrder(!Repairs().Descending());
    FillList();
    QTreeWidget *list = m_ui->lvwRepairs;
    if (!list->currentItem() && list->topLevelItemCount() > 0)
        SelectRow(list, list->topLevelItem(0));
}

qint32 TfraRepairs::SelectedRepairNbr() const {
    QTreeWidgetItem *row = SelectedRow(m_ui->lvwRepairs);
    return row ? RowNumber(row) : -1;
}

void TfraRepairs::ModifySelected() {
    const qint32 repairNbr = SelectedRepairNbr();
    if (repairNbr < 0)
        return;
    if (TfrmRepairs::ExecuteModify(repairNbr, this))
        ShowAddedRepair(repairNbr);
}

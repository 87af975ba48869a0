#include "fmMaint.h"

#include "fmRepairs.h"
#include "kvxLang.h"
#include "ui_fmMaint.h"
#include "vdrApplication.h"
#include "vdrCmRtn.h"
#include "vdrDateTime.h"
#include "vdrHelpTopic.h"
#include "vdrIcons.h"
#include "vdrListView.h"
#include "vdrMaint.h"
#include "vdrMaintEvents.h"
#include "vdrMaintNotes.h"
#include "vdrMaintRepairs.h"
#include "vdrModal.h"
#include "vdrOptions.h"
#include "vdrRepairs.h"
#include "vdrWindowRoutines.h"

#include <QHeaderView>

#include <limits>

TfrmMaint::TfrmMaint(qint32 carNbr, qint32 maintNbr, const QList<QIcon> &images, QWidget *parent)
    : TvdrDialog(vdrOptionKeys::MaintDialog, vdrHelpTopics::MaintDialog, parent),
      m_ui(std::make_unique<Ui::TfrmMaint>()), m_images(images), m_carNbr(carNbr), m_maintNbr(maintNbr),
      m_addMode(maintNbr < 0) {
    m_ui->setupUi(this);
    ApplyIconFiles(this);
    m_ui->nedMileage->SetAllowDecimals(false);
    m_ui->nedCost->SetAllowDecimals(true);
    QTreeWidget *list = m_ui->lvwRepairs;
    SetUpListView(list);
    const auto guarded = [this](void (TfrmMaint::*handler)()) {
        return [this, handler] { RunGuarded([this, handler] { (this->*handler)(); }); };
    };
    connect(m_ui->btnOK, &QPushButton::clicked, this, guarded(&TfrmMaint::btnOKClick));
    connect(m_ui->btnCancel, &QPushButton::clicked, this, &TfrmMaint::btnCancelClick);
    connect(m_ui->bbnAdd, &QPushButton::clicked, this, guarded(&TfrmMaint::bbnAddClick));
    connect(m_ui->bbnDelete, &QPushButton::clicked, this, guarded(&TfrmMaint::bbnDeleteClick));
    connect(list, &QTreeWidget::itemDoubleClicked, this, guarded(&TfrmMaint::lvwRepairsDblClick));
    connect(list->header(), &QHeaderView::sectionClicked, this, guarded(&TfrmMaint::lvwRepairsColumnClick));
    OnEnterKey(list, [this] { lvwRepairsKeyPress(); });

    Options().SetDefault(QStringLiteral("0"));
    const QString direction = Options().GetValue(QLatin1String(vdrOptionKeys::MaintDialogRepairsOrder));
    m_repairsDirection = direction == QLatin1String("1") ? 1 : 0;
    FormCreate();
}

// TvdrDialog saves the options table after this.
TfrmMaint::~TfrmMaint() {
    Options().SetValue(QLatin1String(vdrOptionKeys::MaintDialogRepairsOrder),
                       QString::number(m_repairsDirection));
}

bool TfrmMaint::ExecuteAdd(qint32 carNbr, qint32 &maintNbr, const QList<QIcon> &images, QWidget *parent) {
    TfrmMaint dialog(carNbr, -1, images, parent);
    const bool confirmed = RunModal(dialog) == QDialog::Accepted;
    maintNbr = confirmed ? dialog.MaintNbr() : -1;
    return confirmed;
}

bool TfrmMaint::ExecuteModify(qint32 carNbr, qint32 maintNbr, const QList<QIcon> &images, QWidget *parent) {
    TfrmMaint dialog(carNbr, maintNbr, images, parent);
    return RunModal(dialog) == QDialog::Accepted;
}

void TfrmMaint::FormShow() {
    Ui::TfrmMaint &ui = *m_ui;
    if (m_addMode) {
        setWindowTitle(Lang().GetText(QStringLiteral("CP-MaintAdd")));
        ui.dedDate->SetDate(vdrDateTime::Now().date());
        ui.nedMileage->SetIntValue(0);
        ui.nedCost->SetFloatValue(0);
        ui.lvwRepairs->clear();
        ui.mmoNote->clear();
    } else {
        setWindowTitle(Lang().GetText(QStringLiteral("CP-MaintModify")));
        if (TvdrMaintRec *event = Maint().FindEvent(m_carNbr, m_maintNbr)) {
            ui.dedDate->SetDate(event->GetDate());
            ui.nedMileage->SetIntValue(event->Mileage);
            ui.nedCost->SetFloatValue(event->Cost);
        }
        TvdrListItems repairs;
        MaintRepairs().ListEventRepairs(m_carNbr, m_maintNbr, repairs);
        ReplaceRows(ui.lvwRepairs, repairs);
        ui.mmoNote->setPlainText(
            MaintNotes().GetNote(m_carNbr, m_maintNbr).replace(QLatin1String("\r\n"), QLatin1String("\n")));
    }
    SetRepairsDirection(m_repairsDirection);
    ui.dedDate->setFocus();
}

void TfrmMaint::SetRepairsDirection(int direction) {
    m_repairsDirection = direction == 1 ? 1 : 0;
    ShowSortImage(m_ui->lvwRepairs, 0, m_images, m_repairsDirection == 1);
    SortRowsByCaption(m_ui->lvwRepairs, m_repairsDirection == 1);
}

void TfrmMaint::btnOKClick() {
    Ui::TfrmMaint &ui = *m_ui;
    // The number is taken once: should a save below fail, OK again rewrites
    // the same event instead of adding a second one.
    if (m_maintNbr < 0)
        m_maintNbr = Maint().NextMaintNbr(m_carNbr);
    TvdrMaintEntry entry;
    entry.CarNbr = m_carNbr;
    entry.MaintNbr = m_maintNbr;
    entry.Date = ui.dedDate->Date();
    // A mileage past the 32-bit range is no number the table can hold.
    const qint64 mileage = ui.nedMileage->GetIntValue();
    entry.Mileage =
        mileage < std::numeric_limits<qint32>::min() || mileage > std::numeric_limits<qint32>::max()
            ? 0
            : qint32(mileage);
    entry.Cost = ui.nedCost->GetFloatValue();
    for (int i = 0; i < ui.lvwRepairs->topLevelItemCount(); ++i)
        entry.RepairNbrs.append(RowNumber(ui.lvwRepairs->topLevelItem(i)));
    // In stored form, so that a backslash the user typed before an n or a t
    // stays that text instead of turning into a line break or a tab.
    entry.Note = TvdrCmRtn::EscapeText(ui.mmoNote->toPlainText());
    SaveMaintEvent(entry);
    accept();
}

void TfrmMaint::btnCancelClick() {
    reject();
}

void TfrmMaint::bbnAddClick() {
    qint32 repairNbr = -1;
    if (!TfrmRepairs::ExecuteSelect(repairNbr, this))
        return;
    QTreeWidgetItem *row = NewRow(Repairs().Description(repairNbr), repairNbr);
    m_ui->lvwRepairs->addTopLevelItem(row);
    SelectRow(m_ui->lvwRepairs, row);
    m_ui->lvwRepairs->setFocus();
}

void TfrmMaint::bbnDeleteClick() {
    QTreeWidgetItem *row = SelectedRow(m_ui->lvwRepairs);
    if (!row)
        return;
    if (AnsweredNo(Lang().FormatText(QStringLiteral("QM-Delete"), {row->text(0)})))
        return;
    delete row;
    SelectRow(m_ui->lvwRepairs, m_ui->lvwRepairs->currentItem());
}

void TfrmMaint::lvwRepairsDblClick() {
    ChangeSelectedRepair();
}

void TfrmMaint::lvwRepairsKeyPress() {
    ChangeSelectedRepair();
}

void TfrmMaint::lvwRepairsColumnClick() {
    SetRepairsDirection(1 - m_repairsDirection);
}

void TfrmMaint::ChangeSelectedRepair() {
    QTreeWidgetItem *row = SelectedRow(m_ui->lvwRepairs);
    if (!row)
        return;
    qint32 repairNbr = RowNumber(row);
    if (!TfrmRepairs::ExecuteSelect(repairNbr, this))
        return;
    SetRow(row, Repairs().Description(repairNbr), repairNbr);
}

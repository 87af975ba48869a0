#include "fmSortTreeEditor.h"

#include "fmSortOrderFieldSelector.h"
#include "kvxLang.h"
#include "ui_fmSortTreeEditor.h"
#include "vdrHelpTopic.h"
#include "vdrIcons.h"
#include "vdrModal.h"
#include "vdrOptions.h"
#include "vdrOrderedList.h"
#include "vdrSortOrder.h"
#include "vdrSortOrderList.h"
#include "vdrWindowRoutines.h"

namespace {

// An entry of the list: the name shown, and the copy of the sort order it
// owns.
class TSortOrderItem : public QListWidgetItem {
public:
    explicit TSortOrderItem(const TvdrSortOrderRec &rec)
        : QListWidgetItem(rec.SortOrderName, nullptr, UserType), Rec(rec.Clone()) {}
    TvdrSortOrderRec Rec;
};

} // namespace

TfrmSortTreeEditor::TfrmSortTreeEditor(QWidget *parent)
    : TvdrDialog(vdrOptionKeys::SortTreeEditor, vdrHelpTopics::SortOrderEditor, parent),
      m_ui(std::make_unique<Ui::TfrmSortTreeEditor>()) {
    m_ui->setupUi(this);
    ApplyIconFiles(this);
    vdrOrderedList::SetUp(m_ui->lbxItems);
    vdrOrderedList::Connect(this, m_ui->lbxItems, *m_ui);
    FormCreate();
}

TfrmSortTreeEditor::~TfrmSortTreeEditor() = default;

void TfrmSortTreeEditor::FormShow() {
    m_ui->lbxItems->clear();
    const std::unique_ptr<TvdrSortOrderList> list = SortOrder().SortOrderList();
    for (int i = 0; i < list->Count(); ++i)
        AddEntry(*list->Items(i));
    m_ui->lbxItems->setFocus();
}

void TfrmSortTreeEditor::AddEntry(const TvdrSortOrderRec &rec) {
    m_ui->lbxItems->addItem(new TSortOrderItem(rec));
}

TvdrSortOrderRec *TfrmSortTreeEditor::RecordAt(int row) const {
    QListWidgetItem *item = m_ui->lbxItems->item(row);
    return item && item->type() == QListWidgetItem::UserType ? &static_cast<TSortOrderItem *>(item)->Rec
                                                             : nullptr;
}

QStringList TfrmSortTreeEditor::NamesBesides(int row) const {
    QStringList names;
    for (int i = 0; i < m_ui->lbxItems->count(); ++i)
        if (i != row)
            names.append(RecordAt(i)->SortOrderName);
    return names;
}

void TfrmSortTreeEditor::spbAddClick() {
    TvdrSortOrderRec rec;
    if (!TfrmSortOrderFieldEditor::ExecuteAdd(rec, NamesBesides(-1), this))
        return;
    AddEntry(rec);
    vdrOrderedList::SelectRow(m_ui->lbxItems, m_ui->lbxItems->count() - 1);
}

void TfrmSortTreeEditor::spbChangeClick() {
    const int row = vdrOrderedList::SelectedRow(m_ui->lbxItems);
    if (row < 0)
        return;
    TvdrSortOrderRec &rec = *RecordAt(row);
    if (TfrmSortOrderFieldEditor::ExecuteModify(rec, NamesBesides(row), this))
        m_ui->lbxItems->item(row)->setText(rec.SortOrderName);
}

void TfrmSortTreeEditor::spbDeleteClick() {
    const int row = vdrOrderedList::SelectedRow(m_ui->lbxItems);
    if (row < 0 ||
        AnsweredNo(Lang().FormatText(QStringLiteral("QM-DeleteSortOrder"), {RecordAt(row)->SortOrderName})))
        return;
    vdrOrderedList::TakeSelected(m_ui->lbxItems);
}

void TfrmSortTreeEditor::spbUpClick() {
    vdrOrderedList::MoveSelectedUp(m_ui->lbxItems);
}

void TfrmSortTreeEditor::spbDownClick() {
    vdrOrderedList::MoveSelectedDown(m_ui->lbxItems);
}

void TfrmSortTreeEditor::btnOKClick() {
    TvdrSortOrder &table = SortOrder();
    table.Clear();
    for (int p = 0; p < m_ui->lbxItems->count(); ++p) {
        TvdrSortOrderRec &rec = *RecordAt(p);
        rec.SortOrderNbr = p;
        table.AddSortOrder(rec);
    }
    table.Save();
    accept();
}

void TfrmSortTreeEditor::btnCancelClick() {
    reject();
}

bool ExecuteSortTreeEditor(QWidget *parent) {
    TfrmSortTreeEditor dialog(parent);
    return RunModal(dialog) == QDialog::Accepted;
}

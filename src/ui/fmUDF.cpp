#include "fmUDF.h"

#include "kvxLang.h"
#include "ui_fmUDF.h"
#include "vdrHelpTopic.h"
#include "vdrIcons.h"
#include "vdrModal.h"
#include "vdrOptions.h"
#include "vdrOrderedList.h"
#include "vdrStrUtils.h"
#include "vdrUDF.h"
#include "vdrWindowRoutines.h"

namespace {

// The entry's UdfNbr, -1 for a field added in the dialog.
constexpr int UdfNbrRole = Qt::UserRole;

QString Text(const char *key) {
    return Lang().GetText(QLatin1String(key));
}

} // namespace

TfrmUDF::TfrmUDF(QWidget *parent)
    : TvdrDialog(vdrOptionKeys::UdfDialog, vdrHelpTopics::UdfDialog, parent),
      m_ui(std::make_unique<Ui::TfrmUDF>()) {
    m_ui->setupUi(this);
    ApplyIconFiles(this);
    vdrOrderedList::SetUp(m_ui->lbxUDF);
    vdrOrderedList::Connect(this, m_ui->lbxUDF, *m_ui);
    FormCreate();
}

TfrmUDF::~TfrmUDF() = default;

void TfrmUDF::FormShow() {
    m_ui->lbxUDF->clear();
    m_removed.clear();
    UDF().SortBySortOrder();
    for (int i = 0; i < UDF().Count(); ++i)
        AddEntry({UDF().UdfNbrAt(i), UDF().NameAt(i)});
    vdrOrderedList::SelectRow(m_ui->lbxUDF, 0);
    m_ui->lbxUDF->setFocus();
}

void TfrmUDF::AddEntry(const TvdrUdfEntry &entry) {
    auto *item = new QListWidgetItem(entry.Name, m_ui->lbxUDF);
    item->setData(UdfNbrRole, entry.UdfNbr);
}

bool TfrmUDF::AskName(const QString &captionKey, QString &name) {
    QString text = name;
    for (;;) {
        bool accepted = false;
        text = InputBox(Lang().GetText(captionKey), Text("IQ-UDF"), text, &accepted);
        if (!accepted)
            return false;
        if (TvdrUDF::IsStorableName(text)) {
            name = Trim(text);
            return true;
        }
        ShowWarning(Text("WM-UDFNameNotStorable"));
    }
}

void TfrmUDF::spbAddClick() {
    QString name;
    if (!AskName(QStringLiteral("IQ-UDFAdd"), name))
        return;
    AddEntry({-1, name});
}

void TfrmUDF::spbChangeClick() {
    const int row = vdrOrderedList::SelectedRow(m_ui->lbxUDF);
    if (row < 0)
        return;
    QListWidgetItem *item = m_ui->lbxUDF->item(row);
    QString name = item->text();
    if (AskName(QStringLiteral("IQ-UDFModify"), name))
        item->setText(name);
}

void TfrmUDF::spbDeleteClick() {
    // Asked only about a selected field: the question names "the selected
    // field".
    if (vdrOrderedList::SelectedRow(m_ui->lbxUDF) < 0 || AnsweredNo(Text("QM-DeleteUDF")))
        return;
    const std::unique_ptr<QListWidgetItem> item = vdrOrderedList::TakeSelected(m_ui->lbxUDF);
    m_removed.append({item->data(UdfNbrRole).toInt(), item->text()});
}

void TfrmUDF::spbUpClick() {
    vdrOrderedList::MoveSelectedUp(m_ui->lbxUDF);
}

void TfrmUDF::spbDownClick() {
    vdrOrderedList::MoveSelectedDown(m_ui->lbxUDF);
}

QList<TvdrUdfEntry> TfrmUDF::Entries() const {
    QList<TvdrUdfEntry> entries;
    for (int i = 0; i < m_ui->lbxUDF->count(); ++i) {
        const QListWidgetItem *item = m_ui->lbxUDF->item(i);
        entries.append({item->data(UdfNbrRole).toInt(), item->text()});
    }
    return entries;
}

void TfrmUDF::btnOKClick() {
    QList<qint32> deleted;
    for (const TvdrUdfEntry &entry : m_removed)
        if (entry.UdfNbr >= 0) // a field added and deleted again names none
            deleted.append(entry.UdfNbr);
    ApplyUdfChanges(deleted, Entries());
    accept();
}

void TfrmUDF::btnCancelClick() {
    reject();
}

bool ExecuteUDF(QWidget *parent) {
    TfrmUDF dialog(parent);
    return RunModal(dialog) == QDialog::Accepted;
}

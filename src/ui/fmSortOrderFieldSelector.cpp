#include "fmSortOrderFieldSelector.h"

#include "kvxControlGrid.h"
#include "kvxLang.h"
#include "ui_fmSortOrderFieldSelector.h"
#include "vdrApplication.h"
#include "vdrCodePage.h"
#include "vdrCodePageInput.h"
#include "vdrCompareText.h"
#include "vdrHelpTopic.h"
#include "vdrIcons.h"
#include "vdrModal.h"
#include "vdrOptions.h"
#include "vdrStrUtils.h"
#include "vdrUDF.h"
#include "vdrWindowRoutines.h"

#include <QComboBox>
#include <QRegularExpression>
#include <QScrollArea>
#include <QScrollBar>

#include <algorithm>

namespace {

QString Text(const char *key) {
    return Lang().GetText(QLatin1String(key));
}

// A label's caption as a list entry: without its mnemonic marks.
QString WithoutMnemonic(const QString &caption) {
    // "&&" stands for one "&": its first mark goes, the second stays.
    return QString(caption).remove(QRegularExpression(QStringLiteral("&(?!&)")));
}

QStringList LinesOf(const QString &text) {
    if (text.isEmpty())
        return {};
    return text.split(QRegularExpression(QStringLiteral("\r\n|\n")));
}

} // namespace

TfrmSortOrderFieldEditor::TfrmSortOrderFieldEditor(TvdrSortOrderRec *rec, const QStringList &otherNames,
                                                   QWidget *parent)
    : TvdrDialog(vdrOptionKeys::SortOrderFieldEditor, vdrHelpTopics::SortOrderEditor, parent),
      m_ui(std::make_unique<Ui::TfrmSortOrderFieldEditor>()), m_rec(rec ? rec : &m_newRec),
      m_addMode(rec == nullptr), m_otherNames(otherNames) {
    m_ui->setupUi(this);
    ApplyIconFiles(this);
    RefuseUnstorableText(m_ui->edtName);
    const auto guarded = [this](void (TfrmSortOrderFieldEditor::*handler)()) {
        return [this, handler] { RunGuarded([this, handler] { (this->*handler)(); }); };
    };
    connect(m_ui->spbAdd, &QToolButton::clicked, this, guarded(&TfrmSortOrderFieldEditor::spbAddClick));
    connect(m_ui->spbDelete, &QToolButton::clicked, this, guarded(&TfrmSortOrderFieldEditor::spbDeleteClick));
    connect(m_ui->btnOK, &QPushButton::clicked, this, guarded(&TfrmSortOrderFieldEditor::btnOKClick));
    connect(m_ui->btnCancel, &QPushButton::clicked, this, &TfrmSortOrderFieldEditor::btnCancelClick);
    FormCreate();
}

TfrmSortOrderFieldEditor::~TfrmSortOrderFieldEditor() = default;

bool TfrmSortOrderFieldEditor::ExecuteAdd(TvdrSortOrderRec &newRec, const QStringList &otherNames,
                                          QWidget *parent) {
    TfrmSortOrderFieldEditor dialog(nullptr, otherNames, parent);
    if (RunModal(dialog) != QDialog::Accepted)
        return false;
    newRec = dialog.Record();
    return true;
}

bool TfrmSortOrderFieldEditor::ExecuteModify(TvdrSortOrderRec &rec, const QStringList &otherNames,
                                             QWidget *parent) {
    TfrmSortOrderFieldEditor dialog(&rec, otherNames, parent);
    return RunModal(dialog) == QDialog::Accepted;
}

TkvxControlGrid &TfrmSortOrderFieldEditor::Grid() const {
    return *m_ui->sgrFields;
}

void TfrmSortOrderFieldEditor::FillLists() {
    TkvxControlGrid &grid = Grid();
    grid.ListDirections() = LinesOf(Text("SortOrderDirectionsList"));
    TkvxSelectionList &fields = grid.ListFields();
    fields.Clear();
    const std::pair<const char *, qint32> builtIn[] = {
        {"fraCars.lblYear.Caption", TvdrSortOrderField::Year},
        {"fraCars.lblMake.Caption", TvdrSortOrderField::Make},
        {"fraCars.lblModel.Caption", TvdrSortOrderField::Model}};
    for (const auto &[key, fieldNbr] : builtIn)
        fields.Add(WithoutMnemonic(Text(key)), std::make_unique<TkvxSelectionRec>(
                                                   TkvxSelectionRec{fieldNbr, TvdrSortOrderField::BuiltIn}));
    UDF().SortBySortOrder();
    for (int i = 0; i < UDF().Count(); ++i)
        fields.Add(UDF().NameAt(i), std::make_unique<TkvxSelectionRec>(TkvxSelectionRec{
                                        UDF().UdfNbrAt(i), TvdrSortOrderField::UserDefined}));
}

void TfrmSortOrderFieldEditor::AddFieldRow(int field, int direction) {
    TkvxControlRow *row = Grid().AddRow();
    row->FieldCombo()->setCurrentIndex(field);
    row->DirectionCombo()->setCurrentIndex(direction);
}

int TfrmSortOrderFieldEditor::FieldEntryOf(const TvdrSortOrderField &field) const {
    if (!field.IsUserDefined())
        return field.FieldNbr == TvdrSortOrderField::Year   ? 0
               : field.FieldNbr == TvdrSortOrderField::Make ? 1
                                                            : 2; // any other number sorts by Model
    // By number, not by name: two fields may share a name. A field that no
    // longer exists shows no entry and is not stored again.
    const TkvxSelectionList &fields = Grid().ListFields();
    for (int i = 0; i < fields.Count(); ++i) {
        const TkvxSelectionRec *sel = fields.Objects(i);
        if (sel && sel->FieldKind == TvdrSortOrderField::UserDefined && sel->FieldNbr == field.FieldNbr)
            return i;
    }
    return -1;
}

int TfrmSortOrderFieldEditor::DirectionEntryOf(const TvdrSortOrderField &field) const {
    const int count = int(Grid().ListDirections().size());
    if (count == 0)
        return -1;
    // Any non-zero direction sorts descending.
    return std::min(int(field.Direction), count - 1);
}

void TfrmSortOrderFieldEditor::FormShow() {
    FillLists();
    const QString caption = Text(m_addMode ? "CP-SortOrderAdd" : "CP-SortOrderModify");
    if (!caption.isEmpty())
        setWindowTitle(caption);
    if (m_addMode) {
        m_ui->edtName->clear();
        AddFieldRow(0, Grid().ListDirections().isEmpty() ? -1 : 0);
    } else {
        m_ui->edtName->setText(m_rec->SortOrderName);
        for (int i = 0; i < m_rec->SortFieldCount(); ++i) {
            const TvdrSortOrderField &field = *m_rec->SortFieldAt(i);
            AddFieldRow(FieldEntryOf(field), DirectionEntryOf(field));
        }
        // Each row scrolled itself into view: show the first again.
        Grid().RowArea()->verticalScrollBar()->setValue(0);
    }
    m_ui->edtName->setFocus();
}

void TfrmSortOrderFieldEditor::spbAddClick() {
    AddFieldRow(0, Grid().ListDirections().isEmpty() ? -1 : 0);
    Grid().Row(Grid().RowCount() - 1)->FieldCombo()->setFocus();
}

void TfrmSortOrderFieldEditor::spbDeleteClick() {
    TkvxControlGrid &grid = Grid();
    TkvxControlRow *row = grid.RowOf(focusWidget());
    if (!row)
        return;
    const int index = grid.IndexOfRow(row);
    grid.DeleteRow(row);
    // The focus goes to the row that took the removed one's place.
    if (TkvxControlRow *next = grid.Row(std::min(index, grid.RowCount() - 1)))
        next->FieldCombo()->setFocus();
}

bool TfrmSortOrderFieldEditor::CheckName(const QString &name) {
    QString warning;
    if (name.isEmpty())
        warning = Text("WM-SortOrderNameBlank");
    else if (!TvdrSortOrderRec::IsStorableName(name) || !vdrCodePage::CanEncode(name))
        warning = Text("WM-SortOrderNameNotStorable");
    else if (std::any_of(m_otherNames.begin(), m_otherNames.end(),
                         [&name](const QString &other) { return SameText(Trim(other), name); }))
        warning = Lang().FormatText(QStringLiteral("WM-SortOrderNameInUse"), {name});
    if (warning.isEmpty())
        return true;
    ShowWarning(warning);
    m_ui->edtName->setFocus();
    m_ui->edtName->selectAll();
    return false;
}

void TfrmSortOrderFieldEditor::btnOKClick() {
    const QString name = Trim(m_ui->edtName->text());
    if (!CheckName(name))
        return;
    m_rec->SetName(name);
    m_rec->ClearSortFields();
    const TkvxControlGrid &grid = Grid();
    for (int i = 0; i < grid.RowCount(); ++i) {
        const TkvxControlRow *row = grid.Row(i);
        const TkvxSelectionRec *sel = grid.ListFields().Objects(row->FieldCombo()->currentIndex());
        if (!sel)
            continue; // a row without a field stores nothing
        const int direction = std::max(0, row->DirectionCombo()->currentIndex());
        m_rec->AddSortField(sel->FieldNbr, quint8(sel->FieldKind), quint8(direction));
    }
    accept();
}

void TfrmSortOrderFieldEditor::btnCancelClick() {
    reject();
}

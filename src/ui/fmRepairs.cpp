#include "fmRepairs.h"

#include "kvxLang.h"
#include "ui_fmRepairs.h"
#include "vdrApplication.h"
#include "vdrCodePageInput.h"
#include "vdrHelpTopic.h"
#include "vdrModal.h"
#include "vdrOptions.h"
#include "vdrRepairs.h"
#include "vdrStrUtils.h"
#include "vdrWindowRoutines.h"

#include <QCompleter>
#include <QLineEdit>

TfrmRepairs::TfrmRepairs(TMode mode, qint32 repairNbr, QWidget *parent)
    : TvdrDialog(vdrOptionKeys::RepairsDialog, vdrHelpTopics::RepairDialog, parent),
      m_ui(std::make_unique<Ui::TfrmRepairs>()), m_mode(mode), m_repairNbr(repairNbr) {
    m_ui->setupUi(this);
    RefuseUnstorableText(m_ui->cboRepair->lineEdit());
    // Leaving the text or pressing Enter would otherwise replace it by an
    // entry equal to it but for letter case, and a description's case alone
    // could never be changed.
    m_ui->cboRepair->completer()->setCaseSensitivity(Qt::CaseSensitive);
    connect(m_ui->btnOK, &QPushButton::clicked, this, [this] { RunGuarded([this] { btnOKClick(); }); });
    connect(m_ui->btnCancel, &QPushButton::clicked, this, &TfrmRepairs::btnCancelClick);
    FormCreate();
}

TfrmRepairs::~TfrmRepairs() = default;

bool TfrmRepairs::ExecuteAdd(qint32 &repairNbr, QWidget *parent) {
    TfrmRepairs dialog(rmAdd, -1, parent);
    if (RunModal(dialog) != QDialog::Accepted)
        return false;
    repairNbr = dialog.RepairNbr();
    return true;
}

bool TfrmRepairs::ExecuteModify(qint32 repairNbr, QWidget *parent) {
    TfrmRepairs dialog(rmModify, repairNbr, parent);
    return RunModal(dialog) == QDialog::Accepted;
}

bool TfrmRepairs::ExecuteSelect(qint32 &repairNbr, QWidget *parent) {
    TfrmRepairs dialog(rmSelect, repairNbr, parent);
    if (RunModal(dialog) != QDialog::Accepted)
        return false;
    repairNbr = dialog.RepairNbr();
    return true;
}

void TfrmRepairs::FormShow() {
    QStringList descriptions;
    Repairs().GetDescriptions(descriptions);
    m_ui->cboRepair->clear();
    m_ui->cboRepair->addItems(descriptions);
    const char *caption = m_mode == rmAdd      ? "CP-RepairDescriptionAdd"
                          : m_mode == rmModify ? "CP-RepairDescriptionModify"
                                               : "CP-RepairDescriptionSelect";
    setWindowTitle(Lang().GetText(QLatin1String(caption)));
    m_ui->cboRepair->setEditText(m_mode == rmAdd ? QString() : Repairs().Description(m_repairNbr));
    m_ui->cboRepair->lineEdit()->selectAll();
    m_ui->cboRepair->setFocus();
}

void TfrmRepairs::btnOKClick() {
    // What is stored is what every list shows: the text without the blanks
    // around it, so a description picked from the drop-down finds its row.
    const QString text = Trim(m_ui->cboRepair->currentText());
    if (text.isEmpty()) {
        ShowWarning(Lang().GetText(QStringLiteral("WM-RepairDescriptionIsBlank")));
        m_ui->cboRepair->setFocus();
        return;
    }
    switch (m_mode) {
    case rmAdd:
        m_repairNbr = Repairs().AddRepair(text);
        Repairs().Save();
        break;
    case rmModify:
        Repairs().RepairField(m_repairNbr).SetAsString(text);
        Repairs().Save();
        break;
    case rmSelect:
        m_repairNbr = SelectRepair(text);
        break;
    }
    accept();
}

void TfrmRepairs::btnCancelClick() {
    reject();
}

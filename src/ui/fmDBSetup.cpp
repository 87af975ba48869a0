#include "fmDBSetup.h"

#include "kvxLang.h"
#include "ui_fmDBSetup.h"
#include "vdrExtFiles.h"
#include "vdrHelpTopic.h"
#include "vdrIcons.h"
#include "vdrModal.h"
#include "vdrOptions.h"
#include "vdrWindowRoutines.h"

#include <QDir>
#include <QFileInfo>

TfrmDBSetup::TfrmDBSetup(const QString &dbFolder, const QString &logFolder, QWidget *parent)
    : TvdrDialog(vdrOptionKeys::DBSetup, vdrHelpTopics::Locations, parent),
      m_ui(std::make_unique<Ui::TfrmDBSetup>()), m_dbFolder(dbFolder), m_logFolder(logFolder) {
    m_ui->setupUi(this);
    ApplyIconFiles(this);
    connect(m_ui->btnBack, &QPushButton::clicked, this, &TfrmDBSetup::btnBackClick);
    connect(m_ui->btnNext, &QPushButton::clicked, this, &TfrmDBSetup::btnNextClick);
    connect(m_ui->btnCancel, &QPushButton::clicked, this, &TfrmDBSetup::btnCancelClick);
    connect(m_ui->spbDBFolder, &QToolButton::clicked, this, &TfrmDBSetup::spbDBFolderClick);
    connect(m_ui->spbLogLocation, &QToolButton::clicked, this, &TfrmDBSetup::spbLogLocationClick);
    // The descriptions read as text on the dialog, not as edit fields.
    for (QPlainTextEdit *memo : {m_ui->mmoDBDesc, m_ui->mmoLogDesc}) {
        QPalette palette = memo->palette();
        palette.setColor(QPalette::Base, palette.color(QPalette::Window));
        memo->setPalette(palette);
    }
    FormCreate();
}

TfrmDBSetup::~TfrmDBSetup() = default;

QString TfrmDBSetup::DBFolder() const {
    return m_ui->edtDBFolder->text();
}

QString TfrmDBSetup::LogFolder() const {
    return m_ui->edtLogLocation->text();
}

int TfrmDBSetup::PageIndex() const {
    return m_ui->nbkPages->currentIndex();
}

void TfrmDBSetup::FormShow() {
    m_ui->edtDBFolder->setText(m_dbFolder);
    m_ui->edtLogLocation->setText(m_logFolder);
    btnBackClick();
}

void TfrmDBSetup::btnBackClick() {
    m_ui->nbkPages->setCurrentIndex(0);
    m_ui->btnBack->setEnabled(false);
    m_ui->btnNext->setText(Lang().GetText(QStringLiteral("frmDBSetup.btnNext.Caption")));
    m_ui->edtDBFolder->setFocus();
}

void TfrmDBSetup::btnNextClick() {
    if (PageIndex() == 0) {
        if (m_ui->edtDBFolder->text().isEmpty()) {
            ShowWarning(Lang().GetText(QStringLiteral("WM-DBPathNeeded")));
            m_ui->edtDBFolder->setFocus();
            return;
        }
        m_ui->nbkPages->setCurrentIndex(1);
        m_ui->btnBack->setEnabled(true);
        m_ui->btnNext->setText(Lang().GetText(QStringLiteral("frmDBSetup.btnFinish.Caption")));
        m_ui->edtLogLocation->setFocus();
        return;
    }
    if (m_ui->edtLogLocation->text().isEmpty()) {
        ShowWarning(Lang().GetText(QStringLiteral("WM-LogPathNeeded")));
        m_ui->edtLogLocation->setFocus();
        return;
    }
    accept();
}

void TfrmDBSetup::btnCancelClick() {
    reject();
}

void TfrmDBSetup::spbDBFolderClick() {
    const QString folder =
        BrowseFolder(Lang().GetText(QStringLiteral("DT-LocationDB")), ExtFiles().DBFolder());
    if (!folder.isEmpty())
        m_ui->edtDBFolder->setText(QDir::toNativeSeparators(folder));
}

void TfrmDBSetup::spbLogLocationClick() {
    const QString typed = m_ui->edtLogLocation->text();
    const QString start = !typed.isEmpty() && QFileInfo(typed).isDir() ? typed : ExtFiles().LogFolder();
    const QString folder = BrowseFolder(Lang().GetText(QStringLiteral("DT-LocationLog")), start);
    if (!folder.isEmpty())
        m_ui->edtLogLocation->setText(QDir::toNativeSeparators(folder));
}

bool RunLocations(QString &dbFolder, QString &logFolder, QWidget *parent) {
    TfrmDBSetup wizard(dbFolder, logFolder, parent);
    if (RunModal(wizard) != QDialog::Accepted)
        return false;
    dbFolder = wizard.DBFolder();
    logFolder = wizard.LogFolder();
    return true;
}

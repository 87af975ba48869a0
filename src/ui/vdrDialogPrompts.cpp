#include "vdrDialogPrompts.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QMessageBox>
#include <QUrl>

namespace {

QWidget *Owner() {
    return QApplication::activeModalWidget() ? QApplication::activeModalWidget()
                                             : QApplication::activeWindow();
}

QString Title() {
    return QApplication::applicationDisplayName();
}

// Texts keep the language file's CR LF line breaks; a box wants LF alone.
QString Shown(QString text) {
    return text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
}

} // namespace

bool TvdrDialogPrompts::AskYesNo(const QString &message) {
    QMessageBox box(QMessageBox::Question, Title(), Shown(message), QMessageBox::Yes | QMessageBox::No,
                    Owner());
    box.setDefaultButton(QMessageBox::Yes);
    box.setEscapeButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

void TvdrDialogPrompts::Message(TKind kind, const QString &message) {
    const QMessageBox::Icon icon = kind == TKind::Error     ? QMessageBox::Critical
                                   : kind == TKind::Warning ? QMessageBox::Warning
                                                            : QMessageBox::Information;
    QMessageBox box(icon, Title(), Shown(message), QMessageBox::Ok, Owner());
    box.exec();
}

QString TvdrDialogPrompts::InputBox(const QString &caption, const QString &prompt, const QString &text,
                                    bool &accepted) {
    QInputDialog dialog(Owner());
    dialog.setWindowTitle(caption);
    dialog.setLabelText(Shown(prompt));
    dialog.setTextValue(text);
    accepted = dialog.exec() == QDialog::Accepted;
    return accepted ? dialog.textValue() : text;
}

QString TvdrDialogPrompts::BrowseFolder(const QString &caption, const QString &folder) {
    return QFileDialog::getExistingDirectory(Owner(), caption, folder, QFileDialog::ShowDirsOnly);
}

QString TvdrDialogPrompts::OpenFile(const QString &title, const QString &filter, const QString &folder) {
    QFileDialog dialog(Owner(), title, folder, filter);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setSizeGripEnabled(true);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().constFirst();
}

QString TvdrDialogPrompts::SaveFile(const QString &title, const QString &filter, const QString &fileName) {
    QFileDialog dialog(Owner(), title, fileName, filter);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setSizeGripEnabled(true);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().constFirst();
}

void TvdrDialogPrompts::ShellOpen(const QString &target) {
    const QFileInfo file(target);
    QDesktopServices::openUrl(file.exists() ? QUrl::fromLocalFile(file.absoluteFilePath())
                                            : QUrl::fromUserInput(target));
}

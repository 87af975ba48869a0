#pragma once

#include "vdrFrame.h"

#include <QPointer>
#include <QString>

#include <memory>

class QLabel;
class QNetworkAccessManager;
class QNetworkReply;
class QTextBrowser;
class QUrl;

namespace Ui {
class TfraAbout;
}

// The about page, the view of the Cars node: the program's name, copyright,
// build, file date and size, the maker's web and mail addresses and the
// freeware note. With the version-check address of the .ini and an online
// computer it shows the maker's answer to the program's identity instead.
//
// Nothing that goes wrong while a page is built or fetched is shown: it is
// written to the log and the page stays as far as it got.
class TfraAbout : public TvdrFrame {
public:
    explicit TfraAbout(QWidget *parent = nullptr);
    ~TfraAbout() override;

    // Chooses and builds the page: the plain page without an HTML view, the
    // offline page without a network backend, a connection or an address,
    // else the online page.
    void Setup();

    // Hands a clicked address to the desktop; a mail address (an "@" and no
    // scheme) gets "mailto:" in front.
    void LaunchURL(const QString &text);

    // Shows the offline page while `address` is fetched, then the answer
    // when it is an HTTP 200. A view destroyed meanwhile drops the request.
    void Navigate(const QUrl &address);

    // Seams for tests: the addresses shown (the build's by default) and how
    // long the fetch may go without data (10 s).
    void SetMakerAddresses(const QString &web, const QString &mail);
    void SetFetchTimeout(int milliseconds) { m_fetchTimeout = milliseconds; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void BuildOnlinePage(const QString &page);
    void BuildOfflinePage();
    void BuildPlainPage();
    QString OfflineDocument();
    QTextBrowser *Browser();
    QLabel *AddPlainLabel(const QString &text);

    void VersionCheckFinished();
    void BrowserAnchorClicked(const QUrl &url);
    // LaunchURL for a click: an error is shown, as the general error display
    // would, without crossing the event loop.
    void LaunchClicked(const QString &text);

    std::unique_ptr<Ui::TfraAbout> m_ui;
    QString m_webAddress;
    QString m_mailAddress;
    int m_fetchTimeout = 10000;
    QTextBrowser *m_browser = nullptr;
    QLabel *m_webLink = nullptr;
    QLabel *m_mailLink = nullptr;
    QNetworkAccessManager *m_network = nullptr;
    QPointer<QNetworkReply> m_reply;
};

// The version-check address: `page` followed by "?nm=&cr=&bmj=&bmn=&brl=&bbd=
// &dt=&sz=" (appended with "&" when `page` has a query already), every value
// percent-encoded, so blanks, "&" and "+" reach the site unchanged. The four
// build numbers are the dot-separated words of `fileVersion`.
QUrl VersionCheckAddress(const QString &page, const QString &productName, const QString &copyright,
                         const QString &fileVersion, const QString &fileDate, const QString &fileSize);

#include "frAbout.h"

#include "ui_frAbout.h"

#include "kvxLangApply.h"
#include "kvxVersInfo.h"
#include "vdrBuildInfo.h"
#include "vdrError.h"
#include "vdrExtFiles.h"
#include "vdrHelpTopic.h"
#include "vdrInet.h"
#include "vdrLog.h"
#include "vdrStrUtils.h"
#include "vdrWindowRoutines.h"

#include <QFontDatabase>
#include <QMouseEvent>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QRegularExpression>
#include <QStringDecoder>
#include <QTextBrowser>

namespace {

const QString kProductName = QStringLiteral("ProductName");
const QString kCopyright = QStringLiteral("LegalCopyright");
const QString kFileVersion = QStringLiteral("FileVersion");

// Failures of a page are written to the log and go no further; a log that
// cannot be written leaves nothing else to tell.
void LogError(const QString &message) {
    try {
        Log().Write(message);
    } catch (...) {
    }
}

template <class TAction> void Logged(TAction action) {
    try {
        action();
    } catch (const std::exception &error) {
        LogError(QString::fromUtf8(error.what()));
    }
}

// A label's designed (or translated) text with its value in place of "%s".
QString Filled(const QLabel *label, const QString &value) {
    QString text = label->text();
    return text.replace(QLatin1String("%s"), value);
}

QFont PageFont(int pointSize, bool bold = false) {
    QFont font;
    font.setFamilies(
        {QStringLiteral("Verdana"), QFontDatabase::systemFont(QFontDatabase::GeneralFont).family()});
    font.setStyleHint(QFont::SansSerif);
    font.setPointSize(pointSize);
    font.setBold(bold);
    return font;
}

void Place(QLabel *label, int top, const QFont &font) {
    label->setFont(font);
    label->move(12, top);
    label->adjustSize();
    label->show();
}

bool HasScheme(const QString &text) {
    static const QRegularExpression scheme(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]*:"));
    return scheme.match(text).hasMatch();
}

QString PageText(const QByteArray &body, const QString &contentType) {
    static const QRegularExpression charset(QStringLiteral("charset\\s*=\\s*\"?([A-Za-z0-9._:-]+)"),
                                            QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = charset.match(contentType);
    if (match.hasMatch()) {
        QStringDecoder decoder(match.captured(1).toLatin1().constData());
        if (decoder.isValid())
            return decoder(body);
    }
    QStringDecoder html = QStringDecoder::decoderForHtml(body);
    return html.isValid() ? QString(html(body)) : QString::fromUtf8(body);
}

} // namespace

QUrl VersionCheckAddress(const QString &page, const QString &productName, const QString &copyright,
                         const QString &fileVersion, const QString &fileDate, const QString &fileSize) {
    const QString dot = QStringLiteral(".");
    const std::pair<const char *, QString> items[] = {
        {"nm", productName},
        {"cr", copyright},
        {"bmj", ExtractWord(1, fileVersion, dot)},
        {"bmn", ExtractWord(2, fileVersion, dot)},
        {"brl", ExtractWord(3, fileVersion, dot)},
        {"bbd", ExtractWord(4, fileVersion, dot)},
        {"dt", fileDate},
        {"sz", fileSize},
    };
    QStringList query;
    QUrl address(page);
    if (address.hasQuery())
        query.append(address.query(QUrl::FullyEncoded));
    for (const auto &[name, value] : items)
        query.append(QLatin1String(name) + QLatin1Char('=') +
                     QString::fromLatin1(QUrl::toPercentEncoding(value)));
    address.setQuery(query.join(QLatin1Char('&')), QUrl::StrictMode);
    return address;
}

TfraAbout::TfraAbout(QWidget *parent)
    : TvdrFrame(parent, vdrHelpTopics::Contents), m_ui(std::make_unique<Ui::TfraAbout>()),
      m_webAddress(QStringLiteral(VANDOR_WEB_ADDRESS)), m_mailAddress(QStringLiteral(VANDOR_MAIL_ADDRESS)) {
    m_ui->setupUi(this);
    m_ui->pnlPlain->hide();
}

TfraAbout::~TfraAbout() {
    // The children, the pending reply among them, die after this object's
    // own part: the reply must not call into it any more.
    if (m_reply)
        m_reply->disconnect(this);
}

void TfraAbout::SetMakerAddresses(const QString &web, const QString &mail) {
    m_webAddress = web;
    m_mailAddress = mail;
}

void TfraAbout::Setup() {
    Log().Write(QStringLiteral("TfraAbout initializing"));
    ApplyToFrame(this);
    TvdrInet &inet = Inet();
    QString browserVersion;
    if (!inet.WebBrowserAvailable(browserVersion)) {
        Log().Write(QStringLiteral("Building non-html version"));
        Logged([this] { BuildPlainPage(); });
    } else if (!inet.IsAvailable()) {
        Log().Write(QStringLiteral("internet connection is offline (assumed)"));
        Logged([this] { BuildOfflinePage(); });
    } else if (const QString page = ExtFiles().VersionCheckURL(); !page.isEmpty() && inet.IsConnected()) {
        Log().Write(QStringLiteral("internet connection is online"));
        Logged([this, page] { BuildOnlinePage(page); });
    } else {
        // Without an address the connection is not even asked about: the
        // program stays off the network, as if it were offline.
        Log().Write(QStringLiteral("internet connection is offline"));
        Logged([this] { BuildOfflinePage(); });
    }
}

void TfraAbout::BuildOnlinePage(const QString &page) {
    const int flags = Inet().ConnectionFlags();
    if (flags & TvdrInet::cfModem)
        Log().Write(QStringLiteral("modem connection"));
    else if (flags & TvdrInet::cfLan)
        Log().Write(QStringLiteral("LAN connection"));
    else if (flags & TvdrInet::cfProxy)
        Log().Write(QStringLiteral("proxy connection"));
    TkvxVersInfo &vers = VersInfo();
    vers.SetFileName(TkvxVersInfo::ProgramFile());
    Navigate(VersionCheckAddress(page, vers.StringValue(kProductName), vers.StringValue(kCopyright),
                                 vers.StringValue(kFileVersion), vers.FileDateText(), vers.FileSizeText()));
}

void TfraAbout::Navigate(const QUrl &address) {
    Log().Write(QStringLiteral("running web page - ") + QString::fromLatin1(address.toEncoded()));
    Browser()->setHtml(OfflineDocument());
    if (m_reply) {
        m_reply->disconnect(this);
        m_reply->abort();
        m_reply->deleteLater();
    }
    if (!m_network)
        m_network = new QNetworkAccessManager(this);
    QNetworkRequest request(address);
    request.setTransferTimeout(m_fetchTimeout);
    m_reply = m_network->get(request);
    connect(m_reply, &QNetworkReply::finished, this, &TfraAbout::VersionCheckFinished);
}

void TfraAbout::VersionCheckFinished() {
    QNetworkReply *reply = m_reply;
    m_reply = nullptr;
    if (!reply)
        return;
    reply->deleteLater();
    Logged([this, reply] {
        const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        if (reply->error() == QNetworkReply::OperationCanceledError ||
            reply->error() == QNetworkReply::TimeoutError)
            throw EvdrError(QStringLiteral("no answer from %1 within %2 seconds")
                                .arg(reply->url().host())
                                .arg(m_fetchTimeout / 1000.0));
        if (reply->error() != QNetworkReply::NoError)
            throw EvdrError(reply->errorString());
        if (status != 200)
            throw EvdrError(QStringLiteral("HTTP status %1 from %2").arg(status).arg(reply->url().host()));
        const QString page =
            PageText(reply->readAll(), reply->header(QNetworkRequest::ContentTypeHeader).toString());
        m_browser->document()->setBaseUrl(reply->url());
        m_browser->setHtml(page);
    });
}

QString TfraAbout::OfflineDocument() {
    TkvxVersInfo &vers = VersInfo();
    vers.SetFileName(TkvxVersInfo::ProgramFile());
    const auto html = [](const QString &text) { return text.toHtmlEscaped(); };
    QString document = QStringLiteral(
        "<html><head><style>"
        "body { background-color: #ffffff; }"
        "p { font-family: Verdana, sans-serif; color: #444444; font-size: 12px; margin-top: 0px;"
        " margin-bottom: 12px; }"
        "p.small { font-size: 11px; }"
        // Qt keeps its own size for <h1>; a paragraph takes the 15 px.
        "p.heading { font-size: 15px; font-weight: bold; margin-bottom: 8px; }"
        "a { color: #0000ff; text-decoration: underline; font-weight: bold; }"
        "</style></head><body>");
    document += QStringLiteral("<p class=\"heading\">%1</p>").arg(html(vers.StringValue(kProductName)));
    document += QStringLiteral("<p class=\"small\">%1<br>%2<br>%3<br>%4</p>")
                    .arg(html(vers.StringValue(kCopyright)),
                         html(Filled(m_ui->lblBuild, vers.StringValue(kFileVersion))),
                         html(Filled(m_ui->lblFileDate, vers.FileDateText())),
                         html(Filled(m_ui->lblFileSize, vers.FileSizeText())));
    if (!m_webAddress.isEmpty())
        document += QStringLiteral("<p class=\"small\">%1<br><a href=\"%2\">%2</a></p>")
                        .arg(html(m_ui->lblVisit->text()), html(m_webAddress));
    if (!m_mailAddress.isEmpty())
        document += QStringLiteral("<p class=\"small\">%1<br><a href=\"mailto:%2\">%2</a></p>")
                        .arg(html(m_ui->lblSendTo->text()), html(m_mailAddress));
    const QStringList note = {m_ui->lblFreeware1->text(), m_ui->lblFreeware2->text(),
                              m_ui->lblFreeware3->text(), m_ui->lblFreeware4->text()};
    document += QStringLiteral("<p>%1</p></body></html>").arg(html(note.join(QLatin1Char(' '))));
    return document;
}

void TfraAbout::BuildOfflinePage() {
    const QString document = OfflineDocument();
    Log().Write(QStringLiteral("running offline web page"));
    Browser()->setHtml(document);
}

QTextBrowser *TfraAbout::Browser() {
    if (!m_browser) {
        m_browser = new QTextBrowser(this);
        m_browser->setOpenLinks(false);
        m_browser->setFrameShape(QFrame::NoFrame);
        m_browser->document()->setDocumentMargin(12);
        connect(m_browser, &QTextBrowser::anchorClicked, this, &TfraAbout::BrowserAnchorClicked);
        m_ui->layAbout->addWidget(m_browser);
        m_ui->pnlPlain->hide();
    }
    return m_browser;
}

void TfraAbout::BrowserAnchorClicked(const QUrl &url) {
    const QUrl target = m_browser->document()->baseUrl().resolved(url);
    const QString scheme = target.scheme().toLower();
    // A fetched page must not make the desktop open local files or programs.
    if (!scheme.isEmpty() && scheme != QLatin1String("http") && scheme != QLatin1String("https") &&
        scheme != QLatin1String("mailto"))
        return;
    LaunchClicked(target.toString());
}

QLabel *TfraAbout::AddPlainLabel(const QString &text) {
    auto *label = new QLabel(text, m_ui->pnlPlain);
    label->setTextFormat(Qt::PlainText);
    return label;
}

void TfraAbout::BuildPlainPage() {
    TkvxVersInfo &vers = VersInfo();
    vers.SetFileName(TkvxVersInfo::ProgramFile());
    QWidget *page = m_ui->pnlPlain;
    QPalette white = page->palette();
    white.setColor(QPalette::Window, Qt::white);
    white.setColor(QPalette::WindowText, Qt::black);
    page->setPalette(white);
    page->setAutoFillBackground(true);

    Place(AddPlainLabel(vers.StringValue(kProductName)), 12, PageFont(14, true));
    Place(AddPlainLabel(vers.StringValue(kCopyright)), 48, PageFont(8));
    m_ui->lblBuild->setText(Filled(m_ui->lblBuild, vers.StringValue(kFileVersion)));
    Place(m_ui->lblBuild, 66, PageFont(8));
    m_ui->lblFileDate->setText(Filled(m_ui->lblFileDate, vers.FileDateText()));
    Place(m_ui->lblFileDate, 84, PageFont(8));
    m_ui->lblFileSize->setText(Filled(m_ui->lblFileSize, vers.FileSizeText()));
    Place(m_ui->lblFileSize, 102, PageFont(8));

    const auto link = [this](const QString &address, int top) {
        QLabel *label = AddPlainLabel(address);
        QPalette navy = label->palette();
        navy.setColor(QPalette::WindowText, QColor(0, 0, 0x80));
        label->setPalette(navy);
        label->setCursor(Qt::PointingHandCursor);
        label->installEventFilter(this);
        QFont font = PageFont(9);
        font.setUnderline(true);
        Place(label, top, font);
        return label;
    };
    // A left-out block takes its space with it, so the page has no hole.
    int top = 136;
    m_ui->lblVisit->setVisible(!m_webAddress.isEmpty());
    if (!m_webAddress.isEmpty()) {
        Place(m_ui->lblVisit, top, PageFont(9));
        m_webLink = link(m_webAddress, top + 16);
        top += 44;
    }
    m_ui->lblSendTo->setVisible(!m_mailAddress.isEmpty());
    if (!m_mailAddress.isEmpty()) {
        Place(m_ui->lblSendTo, top, PageFont(9));
        m_mailLink = link(m_mailAddress, top + 16);
        top += 52;
    }
    Place(m_ui->lblFreeware1, top, PageFont(10));
    Place(m_ui->lblFreeware2, top + 18, PageFont(10));
    Place(m_ui->lblFreeware3, top + 36, PageFont(10));
    Place(m_ui->lblFreeware4, top + 54, PageFont(10));
    page->show();
}

bool TfraAbout::eventFilter(QObject *watched, QEvent *event) {
    if (event->type() == QEvent::MouseButtonRelease && (watched == m_webLink || watched == m_mailLink) &&
        static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
        LaunchClicked(static_cast<QLabel *>(watched)->text());
        return true;
    }
    return TvdrFrame::eventFilter(watched, event);
}

void TfraAbout::LaunchClicked(const QString &text) {
    try {
        LaunchURL(text);
    } catch (const std::exception &error) {
        ShowError(QString::fromUtf8(error.what()));
    }
}

void TfraAbout::LaunchURL(const QString &text) {
    // An address with a scheme (a web address with user info, a "mailto:"
    // already) stays as it is.
    const QString target =
        text.contains(QLatin1Char('@')) && !HasScheme(text) ? QStringLiteral("mailto:") + text : text;
    Log().Write(QStringLiteral("Launching URL - ") + target);
    ShellOpen(target);
}

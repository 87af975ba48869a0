#include "frAbout.h"

#include "kvxLangApply.h"
#include "vdrBuildInfo.h"
#include "vdrFormatSettings.h"
#include "vdrInet.h"
#include "vdrLog.h"
#include "vdrProgramFolder.h"
#include "vdrScriptedPrompts.h"
#include "vdrTestDatabase.h"
#include "vdrTestSupport.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QMouseEvent>
#include <QNetworkAccessManager>
#include <QSettings>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTextBrowser>
#include <QUrl>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

using TQuery = QList<std::pair<QString, QString>>;

// Runs the event loop until `done` holds; the limit only keeps a broken
// build from hanging.
bool WaitUntil(const std::function<bool()> &done) {
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < 10000)
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    return done();
}

// A web site on 127.0.0.1: keeps the last request's query as sent and
// answers with `answer`, or says nothing while `answer` is empty.
class TLocalSite {
public:
    explicit TLocalSite(const QByteArray &status = QByteArray(), const QByteArray &body = QByteArray()) {
        if (!status.isEmpty())
            m_answer = "HTTP/1.1 " + status +
                       "\r\nContent-Type: text/html; charset=utf-8\r\nContent-Length: " +
                       QByteArray::number(body.size()) + "\r\nConnection: close\r\n\r\n" + body;
        EXPECT_TRUE(m_server.listen(QHostAddress::LocalHost));
        QObject::connect(&m_server, &QTcpServer::newConnection, [this] {
            QTcpSocket *socket = m_server.nextPendingConnection();
            ++Connections;
            auto request = std::make_shared<QByteArray>();
            QObject::connect(socket, &QTcpSocket::readyRead, socket, [this, socket, request] {
                *request += socket->readAll();
                if (!request->contains("\r\n\r\n"))
                    return;
                const QByteArray target = request->left(request->indexOf(" HTTP/"));
                Query = target.mid(target.indexOf('?') + 1);
                if (!m_answer.isEmpty())
                    socket->write(m_answer);
            });
        });
    }
    QString Page() const {
        return QStringLiteral("http://127.0.0.1:%1/vdrVer.php").arg(m_server.serverPort());
    }

    QByteArray Query;
    int Connections = 0;

private:
    QTcpServer m_server;
    QByteArray m_answer;
};

TQuery Decoded(const QByteArray &query) {
    TQuery items;
    for (const QByteArray &item : query.split('&')) {
        const int equals = item.indexOf('=');
        items.append(
            {QString::fromLatin1(item.left(equals)), QUrl::fromPercentEncoding(item.mid(equals + 1))});
    }
    return items;
}

QLabel *LabelAt(QWidget *view, int top) {
    for (QLabel *label : view->findChildren<QLabel *>())
        if (!label->isHidden() && label->y() == top)
            return label;
    return nullptr;
}

QString BrowserText(QWidget *view) {
    auto *browser = view->findChild<QTextBrowser *>();
    return browser ? browser->toPlainText() : QString();
}

const QString kWeb = QStringLiteral("https://vandor.example.org/");
const QString kMail = QStringLiteral("owner@vandor.example.org");
const QString kBuildLine = QStringLiteral("Build: " VANDOR_FILE_VERSION);

// Every case: the program (and so its .ini) in a temporary folder, the log
// on, scripted prompts, the built language texts, and a network that is
// there and online with a LAN unless a case says otherwise.
class AboutTest : public testing::Test {
protected:
    void SetUp() override {
        SetProgramFolder(m_program.Path());
        SetProgramName(QStringLiteral("Vandor"));
        Log().SetPath(m_logFolder.Path());
        RestartLog();
        LoadBuiltLanguage();
        TvdrFormatSettings::SetCurrent(TvdrFormatSettings::PointLocale());
        Network(true, true, TvdrInet::cfLan);
    }
    void TearDown() override {
        Inet().SetFakeNetwork(std::nullopt);
        Inet().SetWebBrowserMissing(false);
        Log().SetEnabled(false);
        Log().SetPath(QString());
        SetProgramFolder(QString());
        SetProgramName(QString());
    }

    static void RestartLog() {
        Log().SetEnabled(false);
        Log().SetEnabled(true);
    }
    static void Network(bool available, bool online, int flags) {
        TvdrInet::TFakeNetwork fake;
        fake.Available = available;
        fake.LoadError = QStringLiteral("no backend");
        fake.Online = online;
        fake.Flags = flags;
        Inet().SetFakeNetwork(fake);
    }
    void SetCheckAddress(const QString &address) {
        QSettings(m_program.File(QStringLiteral("Vandor.ini")), QSettings::IniFormat)
            .setValue(QStringLiteral("Internet/VersionCheckURL"), address);
    }
    // The messages of the log so far, without time and thread.
    QStringList LogLines() const { return LogMessages(); }

    TvdrTempFolder m_program;
    TvdrTempFolder m_logFolder;
    TvdrPromptsScript m_prompts;
};

} // namespace

TEST_F(AboutTest, TheIdentityReachesTheSiteInOrderEncodedAndDecodesBackExactly) {
    TLocalSite site("200 OK", "<p>seen</p>");
    const QString name = QStringLiteral("Van & dor+");
    const QString copyright = QStringLiteral("(c) A+B & C = D; 100% \u00A9");
    const QString date = QStringLiteral("2024-Jan-02 03:04:05");
    TfraAbout view;
    view.Navigate(VersionCheckAddress(site.Page(), name, copyright, QStringLiteral("1.2.3.45"), date,
                                      QStringLiteral("1,234,567")));
    ASSERT_TRUE(WaitUntil([&] { return !site.Query.isEmpty(); }));
    EXPECT_FALSE(site.Query.contains(' ') || site.Query.contains('+')) << site.Query.toStdString();
    const TQuery expected = {{"nm", name}, {"cr", copyright}, {"bmj", "1"}, {"bmn", "2"},
                             {"brl", "3"}, {"bbd", "45"},     {"dt", date}, {"sz", "1,234,567"}};
    EXPECT_EQ(Decoded(site.Query), expected);
    EXPECT_EQ(LogLines(), QStringList({"running web page - " + site.Page() + "?" + site.Query}));

    // A page with a query of its own keeps it in front.
    EXPECT_EQ(
        VersionCheckAddress("http://h/v.php?lang=en", "V", "C", "2.0", "d", "0").query(QUrl::FullyEncoded),
        QStringLiteral("lang=en&nm=V&cr=C&bmj=2&bmn=0&brl=&bbd=&dt=d&sz=0"));
}

TEST_F(AboutTest, OnlineTheProgramsBuildIsSentAndTheAnswerShown) {
    TLocalSite site("200 OK", "<p>Version 9.9 is out: <a href=\"/get\">get it</a> \xE2\x9C\x93</p>");
    SetCheckAddress(site.Page());
    TfraAbout view;
    view.Setup();
    EXPECT_TRUE(BrowserText(&view).contains(kBuildLine)) << "the offline page stands in meanwhile";
    ASSERT_TRUE(WaitUntil([&] { return BrowserText(&view).contains(QStringLiteral("Version 9.9 is out")); }));
    EXPECT_TRUE(BrowserText(&view).contains(QStringLiteral("\u2713"))) << "decoded as the answer says";
    EXPECT_EQ(LogLines(),
              QStringList({"TfraAbout initializing", "internet connection is online", "LAN connection",
                           "running web page - " + site.Page() + "?" + site.Query}));
    const TQuery query = Decoded(site.Query);
    ASSERT_EQ(query.size(), 8);
    EXPECT_EQ(query[0].second, QStringLiteral(VANDOR_PRODUCT_NAME));
    EXPECT_EQ(query[1].second, QString::fromUtf8(VANDOR_LEGAL_COPYRIGHT));
    EXPECT_EQ(QStringList({query[2].second, query[3].second, query[4].second, query[5].second}).join('.'),
              QStringLiteral(VANDOR_FILE_VERSION));

    // The answer's links resolve against it; one to a local file is refused.
    auto *browser = view.findChild<QTextBrowser *>();
    Q_EMIT browser->anchorClicked(QUrl(QStringLiteral("/get")));
    Q_EMIT browser->anchorClicked(QUrl(QStringLiteral("file:///etc/passwd")));
    EXPECT_EQ(m_prompts->Transcript(), QStringList({"open: " + site.Page().replace("vdrVer.php", "get")}));

    // Only the first kind of connection is logged.
    const std::pair<int, QStringList> kinds[] = {{TvdrInet::cfModem | TvdrInet::cfLan, {"modem connection"}},
                                                 {TvdrInet::cfProxy, {"proxy connection"}},
                                                 {0, {}}};
    for (const auto &[flags, kind] : kinds) {
        RestartLog();
        Network(true, true, flags);
        TfraAbout other;
        other.Setup();
        EXPECT_EQ(LogLines().mid(2, LogLines().size() - 3), kind) << flags;
    }
}

TEST_F(AboutTest, OfflineWithoutBackendOrWithoutAddressNothingIsFetched) {
    TLocalSite site("200 OK", "<p>not to be asked</p>");
    struct TCase {
        bool Available;
        bool Online;
        QString Address;
        QString Line;
    };
    const TCase cases[] = {
        {false, true, site.Page(), QStringLiteral("internet connection is offline (assumed)")},
        {true, false, site.Page(), QStringLiteral("internet connection is offline")},
        {true, true, QString(), QStringLiteral("internet connection is offline")}};
    for (const TCase &test : cases) {
        RestartLog();
        Network(test.Available, test.Online, TvdrInet::cfLan);
        SetCheckAddress(test.Address);
        TfraAbout view;
        view.Setup();
        QApplication::processEvents();
        EXPECT_EQ(LogLines(), QStringList({"TfraAbout initializing", test.Line, "running offline web page"}));
        EXPECT_EQ(view.findChild<QNetworkAccessManager *>(), nullptr) << test.Line.toStdString();
    }
    EXPECT_EQ(site.Connections, 0);
}

TEST_F(AboutTest, TheOfflinePageHoldsTheIdentityAndTheAddressesThereAre) {
    Network(false, false, 0);
    TfraAbout bare;
    bare.SetMakerAddresses(QString(), QString());
    bare.Setup();
    const QStringList lines = BrowserText(&bare).split(QLatin1Char('\n'));
    ASSERT_EQ(lines.size(), 6) << BrowserText(&bare).toStdString();
    EXPECT_EQ(lines.mid(0, 3),
              QStringList({VANDOR_PRODUCT_NAME, QString::fromUtf8(VANDOR_LEGAL_COPYRIGHT), kBuildLine}));
    EXPECT_TRUE(lines[3].startsWith(QStringLiteral("Date Time: 20"))) << lines[3].toStdString();
    EXPECT_NE(lines[4], QStringLiteral("File Size: 0"));
    EXPECT_TRUE(lines[5].startsWith(QStringLiteral("Vandor is freeware")));

    TfraAbout full;
    full.SetMakerAddresses(kWeb, kMail);
    full.Setup();
    EXPECT_TRUE(BrowserText(&full).contains("Visit the web site\n" + kWeb +
                                            "\nSend questions, comments to\n" + kMail));
    auto *browser = full.findChild<QTextBrowser *>();
    EXPECT_TRUE(browser->toHtml().contains("href=\"mailto:" + kMail + "\""));
    Q_EMIT browser->anchorClicked(QUrl(kWeb));
    Q_EMIT browser->anchorClicked(QUrl("mailto:" + kMail));
    EXPECT_EQ(m_prompts->Transcript(), QStringList({"open: " + kWeb, "open: mailto:" + kMail}));
}

TEST_F(AboutTest, FailedFetchesAreLoggedNotShownAndTheOfflinePageStays) {
    TLocalSite missing("404 Not Found", "<p>no such page</p>");
    TLocalSite silent;
    TLocalSite empty("204 No Content");
    QString closedPage = TLocalSite().Page();
    const std::pair<QString, QString> cases[] = {
        {missing.Page(), QStringLiteral("server replied: Not Found")},
        {silent.Page(), QStringLiteral("no answer from 127.0.0.1 within 0.3 seconds")},
        {empty.Page(), QStringLiteral("HTTP status 204 from 127.0.0.1")},
        {closedPage, QStringLiteral("refused")}};
    for (const auto &[page, problem] : cases) {
        RestartLog();
        TfraAbout view;
        view.SetFetchTimeout(300);
        view.Navigate(QUrl(page));
        ASSERT_TRUE(WaitUntil([&] { return LogLines().size() == 2; })) << page.toStdString();
        EXPECT_TRUE(LogLines()[1].contains(problem)) << LogLines()[1].toStdString();
        EXPECT_TRUE(BrowserText(&view).contains(kBuildLine));
    }
    EXPECT_EQ(m_prompts->Asked.size(), 0);

    // A view closed while its site is silent is not called back, not even
    // past the fetch timeout.
    SetCheckAddress(silent.Page());
    silent.Query.clear();
    auto view = std::make_unique<TfraAbout>();
    view->SetFetchTimeout(300);
    view->Setup();
    ASSERT_TRUE(WaitUntil([&] { return !silent.Query.isEmpty(); }));
    const QStringList before = LogLines();
    view.reset();
    QElapsedTimer timer;
    timer.start();
    WaitUntil([&] { return timer.elapsed() > 600; });
    EXPECT_EQ(LogLines(), before);
}

TEST_F(AboutTest, ThePlainPagePutsItsLabelsAtTheirPlacesAndItsLinksOpen) {
    Inet().SetWebBrowserMissing(true);
    TfraAbout view;
    view.SetMakerAddresses(kWeb, kMail);
    view.Setup();
    EXPECT_EQ(LogLines(), QStringList({"TfraAbout initializing", "Building non-html version"}));
    EXPECT_EQ(view.findChild<QTextBrowser *>(), nullptr);
    EXPECT_EQ(view.findChild<QWidget *>(QStringLiteral("pnlPlain"))->palette().color(QPalette::Window),
              QColor(Qt::white));

    const std::tuple<int, int, QString> rows[] = {{12, 14, VANDOR_PRODUCT_NAME},
                                                  {48, 8, QString::fromUtf8(VANDOR_LEGAL_COPYRIGHT)},
                                                  {66, 8, kBuildLine},
                                                  {84, 8, "Date Time: 20"},
                                                  {102, 8, "File Size: "},
                                                  {136, 9, "Visit the web site"},
                                                  {152, 9, kWeb},
                                                  {180, 9, "Send questions, comments to"},
                                                  {196, 9, kMail},
                                                  {232, 10, "Vandor is freeware"},
                                                  {250, 10, "to "},
                                                  {268, 10, "If "},
                                                  {286, 10, "contribution "}};
    for (const auto &[top, points, text] : rows) {
        QLabel *label = LabelAt(&view, top);
        ASSERT_NE(label, nullptr) << top;
        EXPECT_EQ(label->x(), 12) << top;
        EXPECT_TRUE(label->text().startsWith(text)) << label->text().toStdString();
        EXPECT_EQ(label->font().pointSize(), points) << top;
        EXPECT_EQ(label->font().bold(), top == 12) << top;
        EXPECT_EQ(label->font().underline(), top == 152 || top == 196) << top;
        EXPECT_GE(label->width(), label->sizeHint().width()) << "cut off: " << top;
    }
    for (QLabel *link : {LabelAt(&view, 152), LabelAt(&view, 196)}) {
        EXPECT_EQ(link->palette().color(QPalette::WindowText), QColor(0, 0, 0x80));
        EXPECT_EQ(link->cursor().shape(), Qt::PointingHandCursor);
    }
    for (int top : {152, 196, 136}) {
        QMouseEvent release(QEvent::MouseButtonRelease, QPointF(2, 2), QPointF(2, 2), Qt::LeftButton,
                            Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(LabelAt(&view, top), &release);
    }
    EXPECT_EQ(m_prompts->Transcript(), QStringList({"open: " + kWeb, "open: mailto:" + kMail}));

    // A missing address leaves out its block; the blocks below move up.
    TfraAbout noWeb;
    noWeb.SetMakerAddresses(QString(), kMail);
    noWeb.Setup();
    EXPECT_EQ(LabelAt(&noWeb, 152)->text(), kMail);
    EXPECT_TRUE(LabelAt(&noWeb, 188)->text().startsWith(QStringLiteral("Vandor is freeware")));
    TfraAbout bare;
    bare.SetMakerAddresses(QString(), QString());
    bare.Setup();
    EXPECT_TRUE(LabelAt(&bare, 136)->text().startsWith(QStringLiteral("Vandor is freeware")));
}

TEST_F(AboutTest, MailAddressesGetMailtoAndEverythingElseOpensAsItIs) {
    TfraAbout view;
    for (const char *text : {"owner@example.org", "https://example.org/a?b=1&c=2", "mailto:owner@example.org",
                             "https://user@example.org/", "www.example.org"})
        view.LaunchURL(QString::fromLatin1(text));
    EXPECT_EQ(m_prompts->Transcript(),
              QStringList({"open: mailto:owner@example.org", "open: https://example.org/a?b=1&c=2",
                           "open: mailto:owner@example.org", "open: https://user@example.org/",
                           "open: www.example.org"}));
    EXPECT_EQ(LogLines().constFirst(), QStringLiteral("Launching URL - mailto:owner@example.org"));
}

TEST_F(AboutTest, EveryDesignedTextHasALanguageText) {
    Network(false, false, 0);
    TfraAbout offline;
    offline.SetMakerAddresses(kWeb, kMail);
    offline.Setup();
    EXPECT_EQ(MissingWindowTexts(&offline), QStringList());

    Inet().SetWebBrowserMissing(true);
    TfraAbout plain;
    plain.SetMakerAddresses(kWeb, kMail);
    plain.Setup();
    EXPECT_EQ(MissingWindowTexts(&plain), QStringList());
    EXPECT_EQ(plain.objectName(), QStringLiteral("fraAbout"));
}

#include "vdrInet.h"

#include "vdrExtFiles.h"
#include "vdrSingleton.h"

#include <QNetworkInformation>
#include <QNetworkProxyFactory>
#include <QUrl>

namespace {

// Asks only about the one address the program fetches: proxy rules may
// differ per host, and without an address there is nothing to fetch.
bool ProxyConfigured() {
    const QString address = ExtFiles().VersionCheckURL();
    if (address.isEmpty())
        return false;
    const QList<QNetworkProxy> proxies =
        QNetworkProxyFactory::systemProxyForQuery(QNetworkProxyQuery(QUrl(address)));
    for (const QNetworkProxy &proxy : proxies)
        if (proxy.type() != QNetworkProxy::NoProxy && proxy.type() != QNetworkProxy::DefaultProxy)
            return true;
    return false;
}

} // namespace

TvdrInet::TvdrInet() {
    TvdrSingleton<TvdrInet>::CheckCreation("iNet");
}

TvdrInet &Inet() {
    return TvdrSingleton<TvdrInet>::Instance();
}

void TvdrInet::LoadBackend() {
    if (m_loadTried)
        return;
    m_loadTried = true;
    m_loaded = QNetworkInformation::loadDefaultBackend() ||
               QNetworkInformation::loadBackendByFeatures(QNetworkInformation::Feature::Reachability);
    if (m_loaded)
        return;
    const QStringList backends = QNetworkInformation::availableBackends();
    m_loadError = backends.isEmpty()
                      ? QStringLiteral("no network information backend is installed")
                      : QStringLiteral("none of the network information backends (%1) could be loaded")
                            .arg(backends.join(QStringLiteral(", ")));
}

bool TvdrInet::IsAvailable() {
    if (m_fake)
        return m_fake->Available;
    LoadBackend();
    return m_loaded;
}

QString TvdrInet::LoadError() {
    if (m_fake)
        return m_fake->Available ? QString() : m_fake->LoadError;
    LoadBackend();
    return m_loadError;
}

bool TvdrInet::IsConnected() {
    if (m_fake) {
        m_flags = m_fake->Available ? m_fake->Flags : 0;
        return m_fake->Available && m_fake->Online;
    }
    m_flags = 0;
    if (!IsAvailable())
        return false;
    const QNetworkInformation *info = QNetworkInformation::instance();
    switch (info->transportMedium()) {
    case QNetworkInformation::TransportMedium::Ethernet:
    case QNetworkInformation::TransportMedium::WiFi:
        m_flags |= cfLan;
        break;
    case QNetworkInformation::TransportMedium::Cellular:
        m_flags |= cfModem;
        break;
    default:
        break;
    }
    if (ProxyConfigured())
        m_flags |= cfProxy;
    return info->reachability() == QNetworkInformation::Reachability::Online;
}

bool TvdrInet::WebBrowserAvailable(QString &version) const {
    version = m_browserMissing ? QStringLiteral("N/A") : QString::fromLatin1(qVersion());
    return !m_browserMissing;
}

void TvdrInet::SetFakeNetwork(std::optional<TFakeNetwork> fake) {
    m_fake = std::move(fake);
    m_flags = 0;
}

QString BrowserBannerLine() {
    QString version;
    const bool available = Inet().WebBrowserAvailable(version);
    return QStringLiteral("Web Browser component (QTextBrowser - %1) %2")
        .arg(version, available ? QStringLiteral("available") : QStringLiteral("NOT available"));
}

QString InetBannerLine() {
    TvdrInet &inet = Inet();
    return inet.IsAvailable() ? QStringLiteral("QNetworkInformation available")
                              : QStringLiteral("QNetworkInformation - ") + inet.LoadError();
}

#pragma once

#include <QString>

#include <optional>

// Whether and how the computer reaches the internet, from Qt's network
// information backend, and the component that shows HTML pages.
//
// The backend is loaded on the first question, not at creation, so a test
// that fakes the network first never loads it.
//
// One per process: reach it through Inet().
class TvdrInet {
public:
    enum TConnectionFlag { cfModem = 1, cfLan = 2, cfProxy = 4 };

    // What a test makes the service report instead of asking the system.
    struct TFakeNetwork {
        bool Available = true;
        QString LoadError;
        bool Online = false;
        int Flags = 0;
    };

    TvdrInet();

    // A network information backend could be loaded; otherwise LoadError()
    // holds a one-line reason.
    bool IsAvailable();
    QString LoadError();

    // Only Online counts: Site and Local reach an intranet or the local
    // network at most, and the one use of a connection here is the maker's
    // web site. Sets ConnectionFlags() from the same answer.
    bool IsConnected();
    // From the last IsConnected(): cfModem for a cellular link, cfLan for
    // Ethernet and WiFi, cfProxy when the system names a proxy for the
    // version-check address.
    int ConnectionFlags() const { return m_flags; }

    // The HTML view is QTextBrowser, part of the widgets library: always
    // there. `version` := Qt's version, "N/A" when a test made it missing.
    bool WebBrowserAvailable(QString &version) const;

    // Seams for tests; std::nullopt puts the system back.
    void SetFakeNetwork(std::optional<TFakeNetwork> fake);
    void SetWebBrowserMissing(bool missing) { m_browserMissing = missing; }

private:
    void LoadBackend();

    bool m_loadTried = false;
    bool m_loaded = false;
    QString m_loadError;
    int m_flags = 0;
    std::optional<TFakeNetwork> m_fake;
    bool m_browserMissing = false;
};

TvdrInet &Inet();

// The start-up banner's lines: "Web Browser component (QTextBrowser -
// <version>) available" (or "NOT available"), and "QNetworkInformation
// available" or "QNetworkInformation - " + LoadError().
QString BrowserBannerLine();
QString InetBannerLine();

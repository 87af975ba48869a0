#include "vdrInet.h"

#include "vdrTestSupport.h"

#include <gtest/gtest.h>

namespace {

class InetTest : public testing::Test {
protected:
    void TearDown() override {
        Inet().SetFakeNetwork(std::nullopt);
        Inet().SetWebBrowserMissing(false);
    }
};

} // namespace

TEST_F(InetTest, BannerLinesNameTheComponentsAndWhyOneIsMissing) {
    EXPECT_EQ(ErrorMessageOf([] { TvdrInet second; }), "use iNet accessor function");
    EXPECT_EQ(BrowserBannerLine(),
              QStringLiteral("Web Browser component (QTextBrowser - %1) available").arg(qVersion()));
    Inet().SetWebBrowserMissing(true);
    EXPECT_EQ(BrowserBannerLine(),
              QStringLiteral("Web Browser component (QTextBrowser - N/A) NOT available"));

    TvdrInet::TFakeNetwork fake;
    Inet().SetFakeNetwork(fake);
    EXPECT_EQ(InetBannerLine(), QStringLiteral("QNetworkInformation available"));
    fake.Available = false;
    fake.LoadError = QStringLiteral("no network information backend is installed");
    Inet().SetFakeNetwork(fake);
    EXPECT_EQ(InetBannerLine(),
              QStringLiteral("QNetworkInformation - no network information backend is installed"));
}

TEST_F(InetTest, TheConnectionQuerySetsTheFlagsOfItsAnswer) {
    TvdrInet::TFakeNetwork fake;
    fake.Online = true;
    fake.Flags = TvdrInet::cfModem | TvdrInet::cfProxy;
    Inet().SetFakeNetwork(fake);
    EXPECT_EQ(Inet().ConnectionFlags(), 0) << "nothing asked yet";
    EXPECT_TRUE(Inet().IsConnected());
    EXPECT_EQ(Inet().ConnectionFlags(), TvdrInet::cfModem | TvdrInet::cfProxy);
    // Without a backend nothing is connected, whatever else was faked.
    fake.Available = false;
    Inet().SetFakeNetwork(fake);
    EXPECT_FALSE(Inet().IsConnected());
    EXPECT_EQ(Inet().ConnectionFlags(), 0);

    // Whatever this machine has: a backend loaded, or a reason why not.
    Inet().SetFakeNetwork(std::nullopt);
    EXPECT_EQ(Inet().IsAvailable(), Inet().LoadError().isEmpty());
}

#include "fmMain.h"
#include "vdrApplication.h"
#include "vdrFormatSettings.h"
#include "vdrInstanceGuard.h"
#include "vdrQuitSignals.h"

#include <QLocale>

int main(int argc, char *argv[]) {
    TvdrApplication app(argc, argv);
    // Before any window: a second copy hands its command line to the running
    // one and ends without a message.
    TvdrInstanceGuard guard;
    if (!guard.Claim())
        return 0;
    TvdrFormatSettings::SetCurrent(TvdrFormatSettings::FromLocale(QLocale::system()));
    TfrmMain window;
    if (!window.FormCreate())
        return 1;
    window.SetOnClosed([] { QApplication::quit(); });
    // Ended by the session or a terminal: close as the user would.
    const TvdrQuitSignals quitSignals([&window] { window.close(); });
    window.show();
    return app.exec();
}

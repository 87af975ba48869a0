#include "fmMain.h"
#include "vdrApplication.h"
#include "vdrFormatSettings.h"

#include <QLocale>

int main(int argc, char *argv[]) {
    TvdrApplication app(argc, argv);
    TvdrFormatSettings::SetCurrent(TvdrFormatSettings::FromLocale(QLocale::system()));
    TfrmMain window;
    if (!window.FormCreate())
        return 1;
    window.SetOnClosed([] { QApplication::quit(); });
    window.show();
    return app.exec();
}

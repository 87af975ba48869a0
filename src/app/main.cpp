#include "vdrApplication.h"
#include "vdrInstanceGuard.h"

int main(int argc, char *argv[]) {
    TvdrApplication app(argc, argv);
    // Before any window: a second copy hands its command line to the running
    // one and ends without a message.
    TvdrInstanceGuard guard;
    if (!guard.Claim())
        return 0;
    return 0;
}

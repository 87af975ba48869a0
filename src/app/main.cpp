#include "vdrApplication.h"

int main(int argc, char *argv[]) {
    TvdrApplication app(argc, argv);
    return 0;
}

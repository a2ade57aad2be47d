// SPDX-License-Identifier: MIT
// velmix_icongen SIZE FILE: the program's icon as a PNG, for the installed
// icon theme. A build tool, not installed.

#include "app/appicon.h"

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv)
{
    const int size = argc == 3 ? std::atoi(argv[1]) : 0;
    if (size < 16 || size > 1024) {
        std::fprintf(stderr, "usage: velmix_icongen SIZE FILE (SIZE 16 to 1024)\n");
        return 2;
    }
    if (!velmix::AppIconImage(size).save(QString::fromLocal8Bit(argv[2]), "PNG")) {
        std::fprintf(stderr, "velmix_icongen: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}

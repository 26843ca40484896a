// SPDX-License-Identifier: GPL-3.0-or-later
// vornik: the desktop program.
#include "vornik_app.h"

int main(int argc, char** argv) {
    return vornik::RunVornik(argc, argv);
}

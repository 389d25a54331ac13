/* What the C programs driven through the library share: a check that counts
 * failures and says which, and entering the data folder named on the command
 * line. */
#ifndef TARVO_TESTS_C_CHECKS_H
#define TARVO_TESTS_C_CHECKS_H

#include <stdio.h>
#include <unistd.h>

static int failures = 0;

static void check(int condition, const char *what) {
    if (!condition) {
        fprintf(stderr, "failed: %s\n", what);
        ++failures;
    }
}

/* Enters DATA-FOLDER, the program's one argument; 0 when it could not. */
static int enterDataFolder(int argc, char **argv) {
    if (argc == 2 && chdir(argv[1]) == 0) return 1;
    fprintf(stderr, "usage: %s DATA-FOLDER\n", argc > 0 ? argv[0] : "test");
    return 0;
}

#endif

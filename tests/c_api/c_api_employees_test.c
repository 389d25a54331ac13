/* The employee selection called from C in a host without windows of its own:
 * MOL_S runs the selection list (answered by the window driver, steps in
 * TEST_DRIVE) and returns the picked employee's code, or 0 when it was closed. */
#include "dostup.h"

#include <stdio.h>
#include <unistd.h>

int main(int argc, char **argv) {
    int failures = 0;
    uint16_t code;
    if (argc != 2 || chdir(argv[1]) != 0) {
        fprintf(stderr, "usage: c_api_employees_test DATA-FOLDER\n");
        return 2;
    }
    DOSTUP_INITDLL();

    /* TEST_DRIVE: "select 1;close" */
    code = MOL_S();
    if (code != 7) {
        fprintf(stderr, "failed: MOL_S picks employee 7, got %u\n", (unsigned)code);
        ++failures;
    }
    code = MOL_S();
    if (code != 0) {
        fprintf(stderr, "failed: MOL_S closed gives 0, got %u\n", (unsigned)code);
        ++failures;
    }
    PUTMOLLOG("Test");
    PUTMOLLOG(NULL); /* never crashes */
    return failures == 0 ? 0 : 1;
}

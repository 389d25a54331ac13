/* The library's input aids called from C in a host without windows of its own:
 * PUTHLIST remembers values, and the selection calls run their lists (answered
 * by the window driver linked into this program, steps in TEST_DRIVE) and give
 * "expression|name", "|", the value or an empty text. */
#include "dostup.h"

#include <stdio.h>
#include <string.h>
#include <unistd.h>

static int failures = 0;

static void check_text(const char *got, const char *expected, const char *what) {
    if (got == NULL || strcmp(got, expected) != 0) {
        fprintf(stderr, "failed: %s: got \"%s\", expected \"%s\"\n", what, got ? got : "(null)", expected);
        ++failures;
    }
}

int main(int argc, char **argv) {
    char copy[256];
    if (argc != 2 || chdir(argv[1]) != 0) {
        fprintf(stderr, "usage: c_api_screens_test DATA-FOLDER\n");
        return 2;
    }
    DOSTUP_INITDLL();

    PUTHLIST("MOL:LNAME", "Petrov", NULL);
    PUTHLIST("MOL:LNAME", "Sidorov", "Second");
    PUTHLIST("MOL:LNAME", "Petrov", "again"); /* already remembered: nothing */
    PUTHLIST(NULL, NULL, NULL);               /* never crashes */

    /* TEST_DRIVE: "select 1;close;select 2;close" */
    strncpy(copy, FILTER_S("MOL_t"), sizeof copy - 1);
    copy[sizeof copy - 1] = 0;
    check_text(copy, "mol:SCode>0|Working", "FILTER_S picks the first filter");
    check_text(FILTER_S("MOL_t"), "|", "FILTER_S closed");
    check_text(HLIST_S("MOL:LNAME"), "Sidorov", "HLIST_S picks the second value");
    check_text(HLIST_S("mol:lname"), "", "HLIST_S closed");

    if (failures == 0) printf("dostup screens from C: ok\n");
    return failures == 0 ? 0 : 1;
}

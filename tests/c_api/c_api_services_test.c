/* The rights check, the employee look-ups and UPPERSTR called from C, in a data
 * folder the library prepared (named on the command line). */
#include "c_checks.h"
#include "dostup.h"

#include <stdio.h>
#include <string.h>
#include <unistd.h>


int main(int argc, char **argv) {
    int16_t category = 3;
    char text[12];
    const char *name;
    char copy[81];

    if (!enterDataFolder(argc, argv)) return 2;
    DOSTUP_INITDLL();

    check(DOSTOBJ("Valut", &category) == 136, "delete and print give 136");
    check(DOSTOBJ("Valut", NULL) == 0, "nobody logged in: category 0 has no row");
    g_SCode = 7;
    check(GETMOL_KATEG(7) == 3, "category of employee 7");
    check(DOSTOBJ("VALUT", NULL) == 136, "the logged-in operator's category");

    name = GETMOL_SNAME(7);
    strncpy(copy, name, sizeof copy - 1);
    copy[sizeof copy - 1] = 0;
    /* "Петров И.С." in code page 1251 */
    check(strcmp(copy, "\xCF\xE5\xF2\xF0\xEE\xE2 \xC8.\xD1.") == 0, "surname with initials");
    check(strcmp(GETMOL_SNAME(404), "  .") == 0, "an unknown employee");

    /* "абв xyz" in code page 1251 */
    memcpy(text, "\xE0\xE1\xE2 xyz", 8);
    UPPERSTR(text, 7);
    check(memcmp(text, "\xC0\xC1\xC2 XYZ", 7) == 0, "UPPERSTR");

    if (failures == 0) printf("dostup services from C: ok\n");
    return failures == 0 ? 0 : 1;
}

/* The library's screens called by a C program on a machine with no display:
 * each screen ends as cancelled (nothing selected) instead of ending the
 * program, and a staff document still prints to a PDF, readable by its owner
 * alone. Run with DISPLAY, WAYLAND_DISPLAY and QT_QPA_PLATFORM unset. */
#include "c_checks.h"
#include "dostup.h"

#include <stdio.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>


int main(int argc, char **argv) {
    if (!enterDataFolder(argc, argv)) return 2;
    DOSTUP_INITDLL();
    g_SCode = 7;

    check(MOL_S() == 0, "MOL_S selects nobody");
    MOL_T();
    KATMOL_T();
    OBJECT_T();
    check(FILTER_S("MOL_t") != NULL, "FILTER_S answers");
    check(HLIST_S("MOL:LNAME") != NULL, "HLIST_S answers");
    C_DOS("/P=MOL_T");
    C_DOS("");

    unlink("staff.pdf");
    check(DOSTUP_PRINTPDF("Staff", 0, "staff.pdf") > 0, "the staff list prints without a display");
    struct stat written;
    check(stat("staff.pdf", &written) == 0 && written.st_size > 1000, "the PDF is written");
    check((written.st_mode & 0777) == 0600, "the PDF is its owner's alone");
    check(MOL_S() == 0, "after printing, screens still end as cancelled");

    if (failures == 0) printf("screens without a display: ok\n");
    return failures == 0 ? 0 : 1;
}

/* The dispatcher called from C, as another program of the suite calls it: "/S="
 * names the operator the caller vouches for and "/P=" the screen to run. The
 * window driver linked in (steps in TEST_DRIVE) closes the employee list and
 * answers the message of an unknown procedure. */
#include "c_checks.h"
#include "dostup.h"

#include <stdio.h>
#include <string.h>
#include <unistd.h>

extern int test_drive_messages;
extern char test_drive_last_message[512];
extern int test_drive_windows;


int main(int argc, char **argv) {
    if (!enterDataFolder(argc, argv)) return 2;
    DOSTUP_INITDLL();

    /* TEST_DRIVE: "close" for the employee list */
    C_DOS("/S=12 /P=MOL_T");
    check(g_SCode == 12, "/S=12 makes employee 12 the operator without a password");
    check(test_drive_windows == 1, "/P=MOL_T opened the employee list");
    check(test_drive_messages == 0, "the employee list opened without a message");

    C_DOS("/P=ABC");
    check(test_drive_messages == 1, "an unknown procedure is reported once");
    check(strncmp(test_drive_last_message, "Нет процедуры: ABC", strlen("Нет процедуры: ABC")) == 0,
          "the message names the procedure");
    check(test_drive_windows == 1, "an unknown procedure opens no list");
    check(g_SCode == 12, "a command without /S= keeps the operator");

    if (failures == 0) printf("dispatcher from C: ok\n");
    return failures == 0 ? 0 : 1;
}

/* Binds libdostup.so from C: initialises it and reads the names it exports. */
#include "dostup.h"

#include <stdio.h>
#include <string.h>

static int failures = 0;

static void expect_padded(const char *what, const char *global, size_t size, const char *want) {
    size_t n = strlen(want);
    size_t i;
    int ok = n <= size && memcmp(global, want, n) == 0;
    for (i = n; ok && i < size; ++i)
        if (global[i] != ' ') ok = 0;
    if (!ok) {
        fprintf(stderr, "%s: expected \"%s\" padded to %u bytes\n", what, want, (unsigned)size);
        ++failures;
    }
}

static void expect_text(const char *what, const char *global, const char *want) {
    if (strcmp(global, want) != 0) {
        fprintf(stderr, "%s: expected \"%s\", got \"%s\"\n", what, want, global);
        ++failures;
    }
}

int main(void) {
    DOSTUP_INITDLL();
    expect_text("g_IniFileName", g_IniFileName, ".\\Dostup.INI");
    expect_text("g_BasePath", g_BasePath, ".\\Dat\\");
    expect_padded("MOL_spr", MOL_spr, sizeof MOL_spr, ".\\Dat\\MOL");
    expect_padded("MolLOG_spr", MolLOG_spr, sizeof MolLOG_spr, ".\\Dat\\MolLog");
    expect_padded("Dostup_spr", Dostup_spr, sizeof Dostup_spr, ".\\Dat\\Dostup");
    expect_text("HistList_spr", HistList_spr, ".\\Dat\\HistList");
    if (sizeof g_IniFileName != 121 || sizeof G_Form1 != 81 || sizeof G_FilterStr != 201 ||
        sizeof MOL_spr != 80 || sizeof HistList_spr != 81) {
        fprintf(stderr, "declared sizes differ\n");
        ++failures;
    }

    /* The host writes the shared globals in place. */
    GlobalRequest = 2;
    g_SCode = 7;
    if (GlobalRequest != 2 || g_SCode != 7) ++failures;

    if (failures == 0) printf("dostup C interface: ok\n");
    return failures == 0 ? 0 : 1;
}

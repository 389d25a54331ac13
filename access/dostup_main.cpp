// The staff console launcher of the access library: initialises the library and
// hands its command line to the dispatcher once the console is available; for now
// it initialises the library and exits.
#include "access/dostup.h"

int main() {
    DOSTUP_INITDLL();
    return 0;
}

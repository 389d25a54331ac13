// DOSTUP_SAMPLESTAFF: the library's half of the sample data, for a host's
// command line.
#include "access/dostup.h"
#include "demo/staff/staff_writer.h"

extern "C" {

DOSTUP_API int32_t DOSTUP_SAMPLESTAFF(void) { return demo::writeSampleStaff(); }

}  // extern "C"

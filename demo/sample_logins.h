// The employees of the sample data who can log in: an administrator whose
// category no ban touches, and two operators whose categories carry some bans.
// The library writes them; the program names them when it has written the data.
#pragma once

#include <cstdint>
#include <vector>

namespace demo {

struct SampleLogin {
    std::uint16_t employee;  // MOL:SCODE, typed as "Код:" in the login window
    const char* login;       // MOL:LOGIN
    const char* password;    // MOL:PASSWORD
};

// The administrator first: the change-log entries of the sample data are his.
const std::vector<SampleLogin>& sampleLogins();

}  // namespace demo

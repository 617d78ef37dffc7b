// The password's rule, in one place: the data key is the password's hex
// digest taken four times, and the profile stores one step further, five
// times, so that the stored digest is the key's own digest.
#pragma once

#include <string>

namespace dayledger {

// The key that enciphers the user's schedule files (40 lowercase hex
// characters), for a password in CP949 bytes.
std::string DataKeyOf(const std::string& password);
// The digest the profile stores for the password.
std::string StoredDigestOf(const std::string& password);

}  // namespace dayledger

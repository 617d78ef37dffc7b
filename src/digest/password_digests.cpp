// The data key and the stored digest of a password.
#include "digest/password_digests.h"

#include "digest/sha1.h"

namespace dayledger {

namespace {
constexpr int kKeySteps = 4;
}  // namespace

std::string DataKeyOf(const std::string& password) {
  return IteratedHexDigest(password, kKeySteps);
}

std::string StoredDigestOf(const std::string& password) { return HexDigest(DataKeyOf(password)); }

}  // namespace dayledger

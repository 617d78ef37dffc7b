// Lays out the demo installation: `dayledger-make-demo DIR`, or, for the
// checks and the benchmark, one with the users named:
// `dayledger-make-demo DIR NAME:VERSION[:PASSWORD[:ENTRIES_A_MONTH]]...`.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>
#include <vector>

#include "demo/installation_builder.h"
#include "floor/version_steps.h"

int main(int argc, char* argv[]) {
  // A folder is never taken from an option ("--help").
  if (argc < 2 || argv[1][0] == '-') {
    std::fprintf(stderr, "usage: dayledger-make-demo DIR [NAME:VERSION[:PASSWORD[:ENTRIES]]...]\n");
    return 2;
  }
  try {
    using dayledger::demo::UserSpec;
    dayledger::demo::InstallationBuilder builder(argv[1]);
    builder.WriteTemplates();
    std::vector<UserSpec> users = {
        {"kim", "10000", "", 3, 2, 1},
        {"홍길동", "10100", "", 2, 1, 1},
        {"lee", "10200", "dayledger", 2, 2, 2},
        // Already at the version the tool leads to.
        {"park", dayledger::VersionChain::Standard().target(), "", 0, 1, 0},
    };
    if (argc > 2) users.clear();
    for (int i = 2; i < argc; ++i) {
      std::vector<std::string> fields;
      const std::string described = argv[i];
      for (size_t at = 0; at <= described.size();) {
        const size_t colon = std::min(described.find(':', at), described.size());
        fields.push_back(described.substr(at, colon - at));
        at = colon + 1;
      }
      if (fields.size() < 2 || fields.size() > 4) {
        std::fprintf(stderr, "dayledger-make-demo: %s is not NAME:VERSION[:PASSWORD[:ENTRIES]]\n",
                     argv[i]);
        return 2;
      }
      UserSpec user{fields[0], fields[1], fields.size() > 2 ? fields[2] : ""};
      if (fields.size() > 3) user.entries_per_month = std::atoi(fields[3].c_str());
      users.push_back(user);
    }
    std::vector<std::string> names;
    for (const UserSpec& user : users) {
      builder.WriteUser(user);
      names.push_back(user.name);
    }
    builder.WriteUserList(names);
  } catch (const std::exception& error) {
    std::fprintf(stderr, "dayledger-make-demo: %s\n", error.what());
    return 1;
  }
  return 0;
}

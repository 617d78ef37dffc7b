// Lays out the demo installation: `dayledger-make-demo DIR`, or, for the
// checks, one with the users named: `dayledger-make-demo DIR NAME:VERSION[:PASSWORD]...`.
#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "demo/installation_builder.h"

int main(int argc, char* argv[]) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: dayledger-make-demo DIR [NAME:VERSION[:PASSWORD]...]\n");
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
        {"park", "10300", "", 0, 1, 0},
    };
    if (argc > 2) users.clear();
    for (int i = 2; i < argc; ++i) {
      const std::string spec = argv[i];
      const size_t first = spec.find(':');
      const size_t second = spec.find(':', first + 1);
      if (first == std::string::npos) {
        std::fprintf(stderr, "dayledger-make-demo: %s is not NAME:VERSION[:PASSWORD]\n", argv[i]);
        return 2;
      }
      users.push_back({spec.substr(0, first), spec.substr(first + 1, second - first - 1),
                       second == std::string::npos ? "" : spec.substr(second + 1)});
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

// Lays out the demo installation: `dayledger-make-demo DIR`.
#include <cstdio>
#include <exception>

#include "demo/installation_builder.h"

int main(int argc, char* argv[]) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: dayledger-make-demo DIR\n");
    return 2;
  }
  try {
    using dayledger::demo::UserSpec;
    dayledger::demo::InstallationBuilder builder(argv[1]);
    builder.WriteTemplates();
    const UserSpec users[] = {
        {"kim", "10000", "", 3, 2, 1},
        {"홍길동", "10100", "", 2, 1, 1},
        {"lee", "10200", "dayledger", 2, 2, 2},
        {"park", "10300", "", 0, 1, 0},
    };
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

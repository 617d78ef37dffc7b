#!/bin/sh
# Fails when a C++ file strays from .clang-format; `clang-format -i` mends it.
set -eu
cd "$(dirname "$0")/.."
tools/install-packages.sh format
git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run --Werror

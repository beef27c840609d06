#!/usr/bin/env bash
# Fails when a C++ source differs from the project's clang-format style.
cd "$(dirname "$0")/.."
git ls-files -co --exclude-standard -- '*.cpp' '*.h' | grep -v '^build/' | xargs -r clang-format --dry-run --Werror

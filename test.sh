#!/usr/bin/env bash
# Builds and runs every test; then builds again with AddressSanitizer and
# UndefinedBehaviorSanitizer and runs every test once more; checks that the Release build a user
# makes compiles, and fuzzes the INI reader for a while. Exits non-zero when anything fails.
# Warnings are errors in every build here (a user's own build only shows them).
set -uo pipefail
cd "$(dirname "$0")"
./tools/install-dependencies.sh || exit 1

jobs=$(nproc 2>/dev/null || echo 2)
status=0

echo "== Build and test =="
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTAVREL_WERROR=ON >/dev/null &&
  cmake --build build -j "$jobs" &&
  ctest --test-dir build --output-on-failure -j "$jobs" || status=1

# A parameterised test without a name generator is listed by index ("…/0"): its name says nothing.
unnamed=$(ctest --test-dir build -N | grep -E 'Test +#[0-9]+: .*/[0-9]+$' || true)
if [ -n "$unnamed" ]; then
  echo "Parameterised tests need readable names (a name generator in INSTANTIATE_TEST_SUITE_P):"
  echo "$unnamed"
  status=1
fi

echo "== Release build (as a user builds it) =="
cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release -DTAVREL_WERROR=ON >/dev/null &&
  cmake --build build-release -j "$jobs" &&
  ctest --test-dir build-release --output-on-failure -R '^(IniParseTest|NumberTextTest)' || status=1

echo "== Build and test with AddressSanitizer and UndefinedBehaviorSanitizer =="
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export LSAN_OPTIONS=suppressions=$PWD/tests/support/lsan.supp:print_suppressions=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
cmake -S . -B build-sanitize -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTAVREL_SANITIZE=ON \
  -DTAVREL_BENCHMARKS=OFF -DTAVREL_WERROR=ON >/dev/null &&
  cmake --build build-sanitize -j "$jobs" &&
  ctest --test-dir build-sanitize --output-on-failure -j "$jobs" || status=1

echo "== Fuzzing the INI reader for ${TAVREL_FUZZ_SECONDS:=20} s =="
# New inputs go to a working corpus in the build folder; the seeds in fuzz/corpus stay as they are.
mkdir -p build-fuzz/corpus
if CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DTAVREL_FUZZ=ON -DTAVREL_BENCHMARKS=OFF \
  -DTAVREL_WERROR=ON >/dev/null && cmake --build build-fuzz --target ini_reader_fuzz; then
  if build-fuzz/fuzz/ini_reader_fuzz -dict=fuzz/ini.dict -max_total_time="$TAVREL_FUZZ_SECONDS" \
    -timeout=10 -artifact_prefix=build-fuzz/ build-fuzz/corpus fuzz/corpus \
    >build-fuzz/fuzz.log 2>&1; then
    grep -E '^Done [0-9]+ runs' build-fuzz/fuzz.log || true
  else
    tail -n 40 build-fuzz/fuzz.log
    echo "The INI fuzzer found a failing input (saved in build-fuzz/; full log build-fuzz/fuzz.log)."
    status=1
  fi
else
  status=1
fi

if [ $status -eq 0 ]; then
  echo "All tests passed, with and without sanitizers; the Release build compiles; fuzzing found nothing."
fi
exit $status

#!/usr/bin/env bash
# A language file in GBK without a byte-order mark, read on a system whose ANSI code
# page is 936: runs that win test in a prefix of its own set up as Simplified Chinese.
#   language_gbk_test.sh RUN_DIR EXE TESTBIN
set -euo pipefail
run=$1 testbin=$3
# shellcheck disable=SC1091
. "$run/env"
template=${VX_WINE_TEMPLATE:-$(dirname "$run")/wine-template}
prefix="$run/gbk-prefix"
log="$run/gbk-test.log"
rm -rf "$prefix"
cp -a "$template" "$prefix"
export WINEPREFIX=$prefix
# Its own wine server, stopped on every way out (never the session's).
trap 'WINEPREFIX="$prefix" wineserver -k 2>/dev/null || true; rm -rf "$prefix"' EXIT

# Wine takes the system locale, and with it the ANSI code page, from the Unix locale;
# the registry value is what a Chinese Windows holds.
zh=(env LC_ALL=zh_CN.UTF-8 LANG=zh_CN.UTF-8)
"${zh[@]}" wine reg add 'HKLM\System\CurrentControlSet\Control\Nls\CodePage' /v ACP /t REG_SZ /d 936 /f >"$log" 2>&1
status=0
(cd "$testbin" && "${zh[@]}" wine ./vx_win_tests.exe --gtest_filter='LanguageTest.GbkFileWithoutMarkDecodesInCodePage936') \
    >>"$log" 2>&1 </dev/null || status=$?
grep -E '^\[|Failure|Expected|Which is|code page' "$log" || true
grep -q 'SKIPPED' "$log" && { echo "FAIL: the prefix did not get code page 936" >&2; exit 1; }
grep -q '\[  PASSED  \] 1 test' "$log" || { echo "FAIL: the GBK test did not pass (status $status)" >&2; exit 1; }

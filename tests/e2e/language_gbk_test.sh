# A language file in GBK without a byte-order mark, read on a system whose ANSI code
# page is 936: runs that win test in a prefix of its own set up as Simplified Chinese.
. "$(dirname "$0")/lib.sh"
prefix="$WORK/gbk-prefix"
cp -a "${VX_WINE_TEMPLATE:-$(dirname "$RUN_DIR")/wine-template}" "$prefix"
export WINEPREFIX=$prefix
# Its own wine server, stopped on every way out (never the session's).
on_exit "WINEPREFIX='$prefix' wineserver -k"
# Wine takes the system locale, and with it the ANSI code page, from the Unix locale;
# the registry value is what a Chinese Windows holds.
zh=(env LC_ALL=zh_CN.UTF-8 LANG=zh_CN.UTF-8)
"${zh[@]}" wine reg add 'HKLM\System\CurrentControlSet\Control\Nls\CodePage' /v ACP /t REG_SZ /d 936 /f >/dev/null 2>&1
log=$(cd "$TESTBIN" && "${zh[@]}" wine ./vx_win_tests.exe \
    --gtest_filter='LanguageTest.GbkFileWithoutMarkDecodesInCodePage936' 2>&1 </dev/null) || true
grep -E '^\[|Failure|Expected|Which is|code page' <<<"$log" || true
grep -q 'SKIPPED' <<<"$log" && fail "the prefix did not get code page 936"
grep -q '\[  PASSED  \] 1 test' <<<"$log" || fail "the GBK test did not pass"

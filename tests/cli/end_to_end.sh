#!/usr/bin/env bash
# The CLI as a user runs it: plain and JSON output, standard input, exit statuses, bad input.
set -u
cli=${QIVARA_CLI:?set QIVARA_CLI to the qivara-balancer-cli binary}
passed=0
failed=0
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

check() {  # name, expected, actual
    if [ "$2" == "$3" ]; then
        passed=$((passed + 1))
    else
        failed=$((failed + 1))
        printf 'FAIL %s\n  expected: %q\n  actual:   %q\n' "$1" "$2" "$3"
    fi
}

run() {  # runs the CLI; stdout in $out, stderr in $err, status in $status
    "$cli" "$@" >"$tmp/out" 2>"$tmp/err"
    status=$?
    out=$(cat "$tmp/out")
    err=$(cat "$tmp/err")
}

run 'MnO2+KBr+H2SO4=MnSO4+KHSO4+Br2+H2O'
check "plain result" "MnO2+2KBr+3H2SO4=MnSO4+2KHSO4+Br2+2H2O" "$out"
check "plain status" 0 "$status"

run --coefficients 'MnO2+KBr+H2SO4=MnSO4+KHSO4+Br2+H2O'
check "coefficients" "1,2,3,1,2,1,2" "$out"

run --limit 8 --results 10 'H2+O2=H2O+H2O2'
check "two results" "3H2+2O2=2H2O+H2O2　8H2+5O2=6H2O+2H2O2" "$out"

run --limit 8 'Cu+HNO3=Cu(NO3)2+NO+H2O'
check "copper" "3Cu+8HNO3=3Cu(NO3)2+2NO+4H2O" "$out"

run 'H2=O2'
check "elements stdout empty" "" "$out"
check "elements stderr" "警告: 元素种类不守恒！" "$err"
check "elements status" 1 "$status"

run 'H2O=H2O2'
check "no result stderr" "信息: 处理完毕，没有找到配平结果。
可以尝试设置更高的系数上限。" "$err"
check "no result status" 1 "$status"

run --json 'H2+O2=H2O'
check "json summary" '{"equation":"H2+O2=H2O","kind":"Summary","kind_value":4,"title":"信息","icon":64,"message":"Qivara配平器以替您处理完毕，共有1种配平结果，感谢您使用Qivara科技软件,更多应用型软件请访问Qivara科技https://www.qivara.example。","result":"2H2+O2=2H2O","solutions":[[2,1,2]]}' "$out"

run --json 'H2O'
check "json unrecognised" '{"equation":"H2O","kind":"Unrecognised","kind_value":1,"title":"错误","icon":16,"message":"无法识别待配平方程式！","result":"","solutions":[]}' "$out"

run --json 'H2O=H2O2'
check "json no result" '{"equation":"H2O=H2O2","kind":"NoResult","kind_value":3,"title":"信息","icon":64,"message":"处理完毕，没有找到配平结果。\r\n可以尝试设置更高的系数上限。","result":"","solutions":[]}' "$out"

run --json --limit 5 --results 16 'H0=H0'
check "json solutions in order" '"solutions":[[1,1],[3,2],[2,3],[5,4],[4,5]]}' "${out##*,\"result\":\"H0=H0　3H0=2H0　2H0=3H0　5H0=4H0　4H0=5H0\",}"

# Standard input, one equation per line, CR dropped, an empty line is an equation too.
printf 'H2+O2=H2O\r\n\nO2=O3\n' | "$cli" --limit 3 >"$tmp/out" 2>"$tmp/err"
status=$?
check "stdin lines" "2H2+O2=2H2O

3O2=2O3" "$(cat "$tmp/out")"
check "stdin status with one failure" 1 "$status"
check "stdin stderr" "错误: 无法识别待配平方程式！" "$(cat "$tmp/err")"

# Limit texts are read as the job reads the boxes.
run --limit '' 'H2+O2=H2O'
check "empty limit is 0" 1 "$status"
run --limit '１６' 'H2+O2=H2O'
check "full-width limit" "2H2+O2=2H2O" "$out"
run --limit 99999999999 --results -5 'H2+O2=H2O'
check "absurd limits" "2H2+O2=2H2O" "$out"

# --timeout stops one equation (huge search, millions of records to go) and the next one goes on.
run --timeout 0.2 --limit 2147483647 --results 2147483647 'H2+H4+H6=H8+H10' 'H2+O2=H2O'
check "timeout status" 3 "$status"
check "timeout output" "
2H2+O2=2H2O" "$out"
check "timeout message" "qivara-balancer-cli: stopped after the --timeout of 0.2 s: H2+H4+H6=H8+H10" "$err"

# Out of memory abandons one equation (a thousand species a side, under a 60 MB address-space
# cap) and the next one goes on. Where the cap cannot start the CLI at all (sanitizers reserve
# terabytes, wine its own), there is nothing to check.
if (ulimit -v 60000 && "$cli" --version >/dev/null 2>&1); then
    huge=$(seq 1 1000 | sed 's/^/H/' | paste -sd+)=$(seq 2 1001 | sed 's/^/H/' | paste -sd+)
    ulimit_run() { (ulimit -v 60000 && run "$@" && printf '%s\n' "$status" >"$tmp/status"); status=$(cat "$tmp/status"); out=$(cat "$tmp/out"); err=$(cat "$tmp/err"); }
    ulimit_run "$huge" 'H2+O2=H2O'
    check "out of memory status" 4 "$status"
    check "out of memory output" "
2H2+O2=2H2O" "$out"
    check "out of memory message" "qivara-balancer-cli: out of memory, equation abandoned: $huge" "$err"
else
    echo "out of memory: not checked here (the CLI does not start under a 60 MB address-space cap)"
fi

# Usage errors and help.
run --limit
check "usage status" 2 "$status"
case "$err" in *usage:*) check "usage text" ok ok ;; *) check "usage text" "usage" "$err" ;; esac
run --bogus H2=H2
check "unknown option" 2 "$status"
run --help
check "help status" 0 "$status"
case "$out" in usage:*) check "help text" ok ok ;; *) check "help text" "usage" "$out" ;; esac
run --version H2=H2
check "version" "qivara-balancer-cli $QIVARA_VERSION" "$out"

# Bad input never crashes: binary bytes, invalid UTF-8, a 1 MiB line, a NUL byte.
printf 'H2\xff\xfe=H2\n\x00\x01\x02\n' | "$cli" --json >"$tmp/out" 2>"$tmp/err"
status=$?
check "binary status" 1 "$status"
check "binary lines" 2 "$(wc -l <"$tmp/out")"
check "binary kinds" "Unrecognised Unrecognised" "$(grep -o '"kind":"[A-Za-z]*"' "$tmp/out" | cut -d'"' -f4 | tr '\n' ' ' | sed 's/ $//')"
head -c 1048576 /dev/zero | tr '\0' 'H' >"$tmp/big"
printf '=H\n' >>"$tmp/big"
"$cli" --json --limit 1 <"$tmp/big" >"$tmp/out" 2>"$tmp/err"
check "huge line kind" '"kind":"NoResult"' "$(grep -o '"kind":"[A-Za-z]*"' "$tmp/out")"

# The default engine at the largest limit; the literal enumeration gives the same at limit 50.
run --coefficients --limit 2147483647 --results 16 'MnO2+KBr+H2SO4=MnSO4+KHSO4+Br2+H2O' 'H2+O2=H2O+H2O2'
check "largest limits answer at once" "1,2,3,1,2,1,2
3,2,2,1　8,5,6,2　11,7,8,3　14,9,10,4　17,11,12,5　20,13,14,6　23,15,16,7　26,17,18,8　29,19,20,9　32,21,22,10　35,23,24,11　38,25,26,12　41,27,28,13　44,29,30,14　47,31,32,15　50,33,34,16" "$out"

run --engine reference --limit 8 --results 10 --coefficients 'H2+O2=H2O+H2O2'
check "reference engine" "3,2,2,1　8,5,6,2" "$out"

run --engine slow 'H2+O2=H2O'
check "unknown engine status" 2 "$status"

big_groups=$(for i in $(seq 1 20000); do printf '(H)2'; done)
# 80,000 characters, longer than a Windows command line may be: through standard input.
run --json --limit 1 <<<"${big_groups}=H"
check "many groups" '"kind":"NoResult"' "$(grep -o '"kind":"[A-Za-z]*"' <<<"$out")"
run --json '(H)2147483647=H'
check "expansion bound" '"kind":"Unrecognised"' "$(grep -o '"kind":"[A-Za-z]*"' <<<"$out")"

# The extended language (--syntax extended): the examples a user types, as the user reads them.
extended() {  # name, equation, expected result line
    run --syntax extended --limit 64 "$2"
    check "extended $1" "$3" "$out"
}
extended "ions" 'MnO₄⁻+Fe²⁺+H⁺=Mn²⁺+Fe³⁺+H₂O' 'MnO₄⁻+5Fe²⁺+8H⁺=Mn²⁺+5Fe³⁺+4H₂O'
extended "electrons" 'Cr2O7^2-+H^++e^-=Cr^3++H2O' 'Cr2O7^2-+14H^++6e^-=2Cr^3++7H2O'
extended "hydrate" 'CuSO4·5H2O=△=CuSO4+H2O' 'CuSO4·5H2O=△=CuSO4+5H2O'
extended "condition after arrow" 'N2+H2⇌(高温高压,催化剂)NH3' 'N2+3H2⇌(高温高压,催化剂)2NH3'
extended "full-width" 'Ｃａ（ＯＨ）２＋ＣＯ２＝ＣａＣＯ３↓＋Ｈ２Ｏ' 'Ca(OH)2+CO2=CaCO3↓+H2O'
extended "gas mark" 'KMnO4=△=K2MnO4+MnO2+O2↑' '2KMnO4=△=K2MnO4+MnO2+O2↑'
extended "spaces" 'H2 + O2 = H2O' '2H2+O2=2H2O'
extended "ion sum" 'Fe^3++e^-=Fe^2+' 'Fe^3++e^-=Fe^2+'
run --syntax extended --limit 64 '2H2+O2=点燃=2H2O'
check "extended coefficient" '2H2+O2=点燃=2H2O' "$out"
check "extended coefficient note" '注意: H2前的系数2不参与配平，已忽略
注意: H2O前的系数2不参与配平，已忽略' "$err"
run --syntax extended --limit 300 --coefficients 'K4[Fe(CN)6]+KMnO4+H2SO4=KHSO4+Fe2(SO4)3+MnSO4+HNO3+CO2+H2O'
check "extended nested brackets" "10,122,299,162,5,122,60,60,188" "$out"
run --syntax extended --json 'Cu + Fe3+ = Cu2+ + Fe2+'
check "extended json refusal" '{"equation":"Cu + Fe3+ = Cu2+ + Fe2+","kind":"Unrecognised","kind_value":1,"title":"错误","icon":16,"message":"无法识别待配平方程式！\r\n第9个字符：加号前后缺少物质：离子的电荷请写作Fe^3+，或用上标","result":"","solutions":[],"error_position":9,"error_hint":"加号前后缺少物质：离子的电荷请写作Fe^3+，或用上标"}' "$out"
run --syntax extended --json '2H2+O2=2H2O'
check "extended json notes" '[[2,1,2]],"notes":["H2前的系数2不参与配平，已忽略","H2O前的系数2不参与配平，已忽略"]}' "${out#*\"solutions\":}"
run --syntax extended 'MnO4-+H^+=Mn^2++H2O'
check "extended plain refusal" "错误: 无法识别待配平方程式！
第5个字符：数字后的负号有歧义：请写作MnO4^-、SO4^2-，或用上标" "$err"
run --syntax spec 'H2 + O2 = H2O'
check "--syntax spec reads the default language" "错误: 无法识别待配平方程式！" "$err"
run --syntax other 'H2=H2'
check "unknown syntax status" 2 "$status"

echo "cli end to end: $passed passed, $failed failed"
[ "$failed" -eq 0 ]

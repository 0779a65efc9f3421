#!/usr/bin/env bash
# The shipped program as built, without running it: a 32-bit GUI program that
# needs no MinGW DLL, small, without libstdc++'s verbose terminate handler and
# demangler, and with LeanThrow replacing all of libstdc++'s functexcept.o.
#   program_check.sh LUMIVANE_EXE OBJDUMP NM LIBSTDCXX_A LEANTHROW_OBJ
set -uo pipefail
exe=$1 objdump=$2 nm=$3 libstdcxx=$4 lean=$5
kMaxBytes=$((240 * 1024))
failed=0
fail() { echo "FAIL: $*"; failed=1; }
headers="$("$objdump" -p "$exe")"
grep -q '^Magic.*(PE32)$' <<<"$headers" || fail "not a PE32 (32-bit) program"
grep -q '^Subsystem.*(Windows GUI)$' <<<"$headers" || fail "not a GUI program"
dlls="$(sed -n 's/^\tDLL Name: //p' <<<"$headers")"
foreign="$(grep -viE '^(kernel32|user32|gdi32|advapi32|shell32|shlwapi|ole32|oleaut32|comctl32|comdlg32|msvcrt)\.dll$' <<<"$dlls")"
[ -z "$foreign" ] || fail "imports DLLs that are not Windows' own: $foreign"
size=$(stat -c %s "$exe")
[ "$size" -le "$kMaxBytes" ] || fail "$size bytes, more than $kMaxBytes"
text="$("${objdump%objdump}strings" -a "$exe")"  # the strings of the same binutils
grep -q 'terminate called after throwing' <<<"$text" && fail "carries libstdc++'s verbose terminate handler"
grep -qE 'anonymous namespace|vtable for' <<<"$text" && fail "carries libstdc++'s demangler"
family="$(grep -E '^St[0-9]+(logic|domain|invalid|length|out_of|runtime|range|overflow|underflow)_' <<<"$text")"
[ -z "$family" ] || fail "names libstdc++'s $(echo $family): its handlers miss LeanThrow's exceptions"
functions() { awk '$2 == "T" { print $3 }' | sort; }
theirs="$("$nm" -g --defined-only "$libstdcxx" 2>/dev/null | sed -n '/^functexcept.o:$/,/^$/p' | functions)"
[ -n "$theirs" ] || fail "no functexcept.o in $libstdcxx"
missing="$(comm -23 <(echo "$theirs") <("$nm" -g --defined-only "$lean" | functions))"
[ -z "$missing" ] || fail "LeanThrow leaves out libstdc++'s $(echo $missing)"
[ "$failed" = 0 ] && echo "lumivane.exe: PE32, GUI, imports $(echo $dlls), $size bytes"
exit "$failed"

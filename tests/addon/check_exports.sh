#!/bin/sh
# The built library is of the build's architecture, exports exactly the five
# entries by undecorated name and imports system libraries only (the C and C++
# runtimes are linked in).
#   check_exports.sh DLL OBJDUMP FORMAT   (FORMAT: pei-i386 or pei-x86-64)
set -u
dll="$1"
objdump="$2"
format="$3"
dump="$("$objdump" -p "$dll")" || { echo "cannot read $dll"; exit 1; }
status=0

if ! printf '%s\n' "$dump" | grep -q "file format $format\$"; then
    echo "not a $format file: $(printf '%s\n' "$dump" | grep -m1 'file format')"
    status=1
fi

exports="$(printf '%s\n' "$dump" | sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' |
    sed -n 's/^[[:space:]]*\[ *[0-9]*\] \(.*\)$/\1/p' | sort | tr '\n' ' ')"
expected="DllCanUnloadNow DllGetClassObject DllRegisterServer DllUnregisterServer M2DllRegisterAddOn "
if [ "$exports" != "$expected" ]; then
    echo "exports: '$exports'"
    echo "expected: '$expected'"
    status=1
fi

imports="$(printf '%s\n' "$dump" | sed -n 's/^[[:space:]]*DLL Name: //p' | tr 'a-z' 'A-Z' | sort -u)"
[ -n "$imports" ] || { echo "no import table found"; status=1; }
for name in $imports; do
    case "$name" in
        KERNEL32.DLL|USER32.DLL|GDI32.DLL|ADVAPI32.DLL|OLE32.DLL|OLEAUT32.DLL|COMCTL32.DLL|MSVCRT.DLL|SHELL32.DLL|VERSION.DLL) ;;
        *) echo "imports a non-system library: $name"; status=1 ;;
    esac
done
[ "$status" -eq 0 ] && echo "exports: $exports" && echo "imports:" $imports
exit "$status"

#!/bin/sh
# The built library exports exactly the five entries by undecorated name and
# imports system libraries only (the C and C++ runtimes are linked in).
set -u
dll="$1"
objdump="${OBJDUMP:-i686-w64-mingw32-objdump}"
dump="$("$objdump" -p "$dll")" || { echo "cannot read $dll"; exit 1; }
status=0

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

#!/usr/bin/env bash
# A PostScript printer that writes its pages to a file, added to the Wine prefix in
# $WINEPREFIX with registry entries only (and made the default), and taken away again.
#   print_printer.sh add NAME OUT_PS | remove NAME
# Wine's spooler opens a printer only when its key names a Datatype: without it
# OpenPrinter fails with ERROR_INVALID_PRINTER_NAME, PrintDlg(PD_RETURNDEFAULT)
# reports PDERR_NODEFAULTPRN, and the printer is listed yet cannot be used.
set -euo pipefail
: "${WINEPREFIX:?source the session env first}"
action=$1 name=$2
driver_key="HKLM\\System\\CurrentControlSet\\Control\\Print\\Environments\\Windows x64\\Drivers\\Version-3\\$name"
printer_key="HKLM\\System\\CurrentControlSet\\Control\\Print\\Printers\\$name"
windows_key='HKCU\Software\Microsoft\Windows NT\CurrentVersion\Windows'
spooler_key='HKCU\Software\Wine\Printing\Spooler'
drivers="$WINEPREFIX/drive_c/windows/system32/spool/drivers/x64/3"
ppd="vx-$(echo "$name" | tr -c 'A-Za-z0-9\n' '_').ppd"
reg() { wine reg "$@" >/dev/null 2>&1; }

if [ "$action" = remove ]; then
    for key in "$printer_key" "$driver_key"; do reg delete "$key" /f || true; done
    reg delete "$windows_key" /v device /f || true
    reg delete "$spooler_key" /v LPT1: /f || true
    rm -f "$drivers/$ppd"
    exit 0
fi
[ "$action" = add ] || { echo "usage: $0 add NAME OUT_PS | remove NAME" >&2; exit 2; }
lib=$(dirname "$(find /usr/lib /usr/lib64 -name winspool.drv -path '*x86_64-windows*' 2>/dev/null | head -n 1)")
mkdir -p "$drivers"
[ -f "$drivers/wineps.drv" ] || cp "$lib/wineps.drv" "$drivers/"
# Wine's generic PPD lives inside winspool.drv as a plain string.
python3 - "$lib/winspool.drv" "$drivers/$ppd" <<'PY'
import sys
data = open(sys.argv[1], 'rb').read()
start = data.index(b'*PPD-Adobe')
open(sys.argv[2], 'wb').write(data[start:data.index(b'\0', start)])
PY
for value in "Driver=wineps.drv" "Configuration File=wineps.drv" "Data File=$ppd" "Datatype=RAW"; do
    reg add "$driver_key" /v "${value%%=*}" /t REG_SZ /d "${value#*=}" /f
done
reg add "$driver_key" /v Version /t REG_DWORD /d 3 /f
for value in "Name=$name" "Port=LPT1:" "Print Processor=WinPrint" "Printer Driver=$name" "Datatype=RAW"; do
    reg add "$printer_key" /v "${value%%=*}" /t REG_SZ /d "${value#*=}" /f
done
reg add "$printer_key" /v Attributes /t REG_DWORD /d 0x40 /f
reg add "$windows_key" /v device /t REG_SZ /d "$name,wineps.drv,LPT1:" /f
# The port is sent to a file by Wine's spooler.
reg add "$spooler_key" /v LPT1: /t REG_SZ /d "$3" /f

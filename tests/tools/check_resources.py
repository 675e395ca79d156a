#!/usr/bin/env python3
"""The executable carries its manifest (common controls 6, per-monitor-v2 DPI with
the true/pm fallback, asInvoker) and a version resource naming Vellumox 2.30."""
import sys

data = open(sys.argv[1], "rb").read()
failures = []
for needle in [b'name="Microsoft.Windows.Common-Controls" version="6.0.0.0"', b"PerMonitorV2", b"true/pm",
               b'level="asInvoker"']:
    if needle not in data:
        failures.append("manifest lacks " + needle.decode())
for key, value in [("ProductName", "Vellumox"), ("ProductVersion", "2.30"), ("FileVersion", "2.30")]:
    pair = (key + "\0").encode("utf-16-le")
    at = data.find(pair)
    if at < 0:
        failures.append("version resource lacks " + key)
        continue
    rest = data[at + len(pair):at + len(pair) + 64]
    if (value + "\0").encode("utf-16-le") not in rest:
        failures.append(f"{key} is not {value}")
for f in failures:
    print("FAIL:", f)
print("resources ok" if not failures else f"{len(failures)} problems")
sys.exit(1 if failures else 0)

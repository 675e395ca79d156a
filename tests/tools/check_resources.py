#!/usr/bin/env python3
"""The executable carries its manifest (common controls 6, per-monitor-v2 DPI with
the true/pm fallback, asInvoker) and a version resource naming Vellumox 2.30."""
import sys

data = open(sys.argv[1], "rb").read()
wide = lambda text: (text + "\0").encode("utf-16-le")
manifest = [b'name="Microsoft.Windows.Common-Controls" version="6.0.0.0"', b"PerMonitorV2", b"true/pm", b'level="asInvoker"']
version = [("ProductName", "Vellumox"), ("ProductVersion", "2.30"), ("FileVersion", "2.30")]
# A version value follows its key within a few bytes of padding.
missing = [n.decode() for n in manifest if n not in data] + [
    f"{k}={v}" for k, v in version if data.find(wide(k)) < 0 or wide(v) not in data[data.find(wide(k)):][:len(wide(k)) + 64]]
print("resources ok" if not missing else "missing: " + ", ".join(missing))
sys.exit(1 if missing else 0)

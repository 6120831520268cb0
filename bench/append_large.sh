#!/bin/sh
# Appending two pages to a PDF of about 1 GB, and refusing a file of 1 GB that is not a PDF:
# wall time and peak memory of each, with the framework's append calls (bench/appendbench).
#
#   bench/append_large.sh [build folder, default build/release] [size in MiB, default 1024]
set -eu
build=${1:-build/release}
size=${2:-1024}
bench=$build/bench/appendbench
[ -x "$bench" ] || { echo "build $bench first (cmake --build --preset release --target appendbench)" >&2; exit 2; }
work=$(mktemp -d)
trap '[ -n "${KEEP:-}" ] || rm -rf "$work"' EXIT

# A PDF of one page drawing 16 MiB images (stored as they are), to reach the size.
python3 - "$work/big.pdf" "$size" <<'PY'
import os, sys
path, mib = sys.argv[1], int(sys.argv[2])
count, side = max(1, mib // 16), 2048
block = os.urandom(1 << 20)
with open(path, "wb") as f:
    offsets = []
    def obj(body):
        offsets.append(f.tell())
        f.write(b"%d 0 obj\n" % len(offsets) + body + b"\nendobj\n")
    f.write(b"%PDF-1.5\n")
    obj(b"<< /Type /Catalog /Pages 2 0 R >>")
    names = b" ".join(b"/Im%d %d 0 R" % (i, 5 + i) for i in range(count))
    obj(b"<< /Type /Pages /Kids [3 0 R] /Count 1 >>")
    obj(b"<< /Type /Page /Parent 2 0 R /MediaBox [0 0 612 792] /Resources << /XObject << " + names + b" >> >> /Contents 4 0 R >>")
    content = b"".join(b"q 612 0 0 792 0 0 cm /Im%d Do Q\n" % i for i in range(count))
    obj(b"<< /Length %d >>\nstream\n" % len(content) + content + b"\nendstream")
    for i in range(count):
        offsets.append(f.tell())
        f.write(b"%d 0 obj\n<< /Type /XObject /Subtype /Image /Width %d /Height %d /ColorSpace /DeviceGray"
                b" /BitsPerComponent 8 /Length %d >>\nstream\n" % (len(offsets), side, side * 4, side * side * 4))
        for _ in range(16):
            f.write(block)
        f.write(b"\nendstream\nendobj\n")
    xref = f.tell()
    f.write(b"xref\n0 %d\n0000000000 65535 f \n" % (len(offsets) + 1))
    for o in offsets:
        f.write(b"%010d 00000 n \n" % o)
    f.write(b"trailer\n<< /Size %d /Root 1 0 R >>\nstartxref\n%d\n%%%%EOF\n" % (len(offsets) + 1, xref))
PY
cp "$work/big.pdf" "$work/pages.pdf.src"
# The pages to append: a small PDF of two pages.
python3 - "$work/pages.pdf" <<'PY'
import sys
objs = [b"<< /Type /Catalog /Pages 2 0 R >>", b"<< /Type /Pages /Kids [3 0 R 4 0 R] /Count 2 >>",
        b"<< /Type /Page /Parent 2 0 R /MediaBox [0 0 200 100] >>", b"<< /Type /Page /Parent 2 0 R /MediaBox [0 0 100 200] >>"]
out, offsets = bytearray(b"%PDF-1.4\n"), []
for i, body in enumerate(objs):
    offsets.append(len(out))
    out += b"%d 0 obj\n" % (i + 1) + body + b"\nendobj\n"
xref = len(out)
out += b"xref\n0 %d\n0000000000 65535 f \n" % (len(objs) + 1)
for o in offsets:
    out += b"%010d 00000 n \n" % o
out += b"trailer\n<< /Size %d /Root 1 0 R >>\nstartxref\n%d\n%%%%EOF\n" % (len(objs) + 1, xref)
open(sys.argv[1], "wb").write(out)
PY
rm -f "$work/pages.pdf.src"
head -c "$((size * 1024 * 1024))" /dev/zero | tr '\0' 'Z' > "$work/notpdf.pdf"

run() {
  label=$1
  shift
  /usr/bin/time -f "%e %M" -o "$work/time" "$@" >/dev/null 2>&1 || true
  read -r seconds kib <<END
$(tail -n 1 "$work/time")
END
  echo "$label: $seconds s, $((kib / 1024)) MiB peak"
}
echo "target $(du -m "$work/big.pdf" | cut -f1) MiB"
run "append two pages" "$bench" "$work/big.pdf" "$work/pages.pdf"
qpdf --check "$work/big.pdf" >/dev/null 2>&1 && echo "result: qpdf --check passes" || echo "result: qpdf --check FAILS"
run "refuse a file that is not a PDF" "$bench" "$work/notpdf.pdf" "$work/pages.pdf"

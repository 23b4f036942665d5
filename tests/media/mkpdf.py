#!/usr/bin/env python3
"""Write a minimal, valid one-page PDF (Helvetica text, correct xref) without any PDF library.
usage: mkpdf.py [--locked] [--pages N] OUT.pdf "line one" "line two" ...  (Title = first line)
--locked adds a standard security handler whose user password is not empty, so
readers cannot open the document without it; --pages repeats the page N times."""
import os, sys
args = sys.argv[1:]
locked = "--locked" in args
if locked: args.remove("--locked")
pages = 1
if "--pages" in args:
    i = args.index("--pages"); pages = int(args[i + 1]); del args[i:i + 2]
out, lines = args[0], args[1:] or ["Hello Quorvane"]
esc = lambda s: s.replace("\\", "\\\\").replace("(", "\\(").replace(")", "\\)")
content = "BT /F1 24 Tf 72 720 Td 30 TL\n" + "".join(f"({esc(l)}) Tj T*\n" for l in lines) + "ET\n"
page = "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 612 792] /Resources << /Font << /F1 4 0 R >> >> /Contents 5 0 R >>"
kids = " ".join(f"{7 + k} 0 R" for k in range(pages - 1))
objs = [
    "<< /Type /Catalog /Pages 2 0 R >>",
    f"<< /Type /Pages /Kids [3 0 R {kids}] /Count {pages} >>",
    page,
    "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica /Encoding /WinAnsiEncoding >>",
    f"<< /Length {len(content.encode('latin-1'))} >>\nstream\n{content}endstream",
    f"<< /Title ({esc(lines[0])}) /Author (Quorvane fixtures) >>",
] + [page] * (pages - 1)
extra = ""
if locked:
    hexs = lambda b: "<" + b.hex() + ">"
    objs.append(f"<< /Filter /Standard /V 1 /R 2 /O {hexs(os.urandom(32))} /U {hexs(os.urandom(32))} /P -4 >>")
    extra = f" /Encrypt {len(objs)} 0 R /ID [{hexs(os.urandom(16))} {hexs(os.urandom(16))}]"
buf = bytearray(b"%PDF-1.4\n%\xe2\xe3\xcf\xd3\n")
offs = []
for i, o in enumerate(objs, 1):
    offs.append(len(buf))
    buf += f"{i} 0 obj\n{o}\nendobj\n".encode("latin-1")
xref = len(buf)
buf += f"xref\n0 {len(objs)+1}\n0000000000 65535 f \n".encode()
buf += "".join(f"{o:010d} 00000 n \n" for o in offs).encode()
buf += f"trailer\n<< /Size {len(objs)+1} /Root 1 0 R /Info 6 0 R{extra} >>\nstartxref\n{xref}\n%%EOF\n".encode()
open(out, "wb").write(buf)

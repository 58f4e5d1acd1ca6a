# A second, independent model of the export formats, kept apart from the C++ code, that
# works out the expected bytes of the golden files here: python3 expected_model.py .
# Inputs: job.wkj, coords.dat and codes.txt are hand-written; their values are mirrored below.
import math, sys
from decimal import Decimal, getcontext, ROUND_HALF_EVEN
getcontext().prec = 60
OUT = sys.argv[1]

USFT = Decimal("3.280833333333333"); INTFT = Decimal("3.280839895013122")
USFT_M = Decimal("0.30480060960121924975"); INTFT_M = Decimal("0.3048")

def fix4(d):  # d: Decimal exact value
    q = d.quantize(Decimal("0.0001"), rounding=ROUND_HALF_EVEN)
    # near-tie check
    r = (d * 10000) % 1
    if abs(r - Decimal("0.5")) < Decimal("1e-9"):
        print("NEAR TIE", d, file=sys.stderr)
    s = format(q, "f")
    return s

def D(m, unit):  # metres (float) -> text
    x = Decimal(m)
    if unit == 1: x = x * USFT
    elif unit == 2: x = x * INTFT
    return fix4(x)

def readD(t, unit):  # text -> metres float
    x = Decimal(t)
    if unit == 1: x = x * USFT_M
    elif unit == 2: x = x * INTFT_M
    return float(x)

def A(deg, unit):
    if unit == 0:
        neg = not (deg >= 0)
        x = -deg if neg else deg
        s = int(Decimal(x) * 3600 + Decimal("0.5"))
        return ("-" if neg else "") + "%d.%02d%02d" % (s // 3600, (s % 3600) // 60, s % 60)
    if unit == 1: return fix4(Decimal(deg) * 3600 / 3240)
    return fix4(Decimal(deg) * 3600 / Decimal("202.5"))

def ASec(deg):
    x = Decimal(deg) * 3600
    return str(int(x + Decimal("0.5")) if x >= 0 else -int(-x + Decimal("0.5")))

def kw(k): return k.ljust(8)
def nm(n): return n if n else "NONAME"

# ---- the job, as records after loading and merging (values as the parser would hold them)
def sec(s): return s / 3600.0
recs = [
 dict(k="STA", name="ST1", code="STN", ih=1.5, X=1000.0, Y=2000.0, Z=50.0),
 dict(k="BS", name="BK1", th=1.6, hz=sec(0), v=sec(324000), sd=120.5, bs=True, bN=2050.0, bE=1100.0, bZ=51.2),
 dict(k="SD", name="P7", code="WALL", th=1.5, hz=sec(324000), v=sec(318600), sd=25.123),
 dict(k="SC", name="P8", code="TREE", th=1.3, N=2020.0, E=1010.0, Z=49.5, obs=True, hz=sec(162000), v=sec(327600), sd=22.361),
 dict(k="SA", name="P9", code="", th=1.2, hz=sec(648000), v=sec(324000)),
 dict(k="SC", name="P10", code="", th=0.0, N=3000.0, E=-5.0, Z=0.0, obs=True, hz=sec(1000000), v=sec(300000), sd=100.0),
 dict(k="SC", name="P11", code="CURB", th=2.0, N=2030.25, E=1020.5, Z=48.75, obs=False),
 dict(k="BKB", name="BK2", a1=sec(0), a2=sec(1234567)),
 dict(k="NOTE", text="check; done"),
 dict(k="BS", name="SCX", th=1.0, hz=sec(90), v=sec(324001), sd=50.0, bs=False),
]
JOB, INST = "DEMO", "GTS-7"

def csv_row(r, au, du):
    d = lambda x: D(x, du); a = lambda x: A(x, au)
    k = r["k"]
    if k == "STA": return ",".join(["STA", nm(r["name"]), d(r["ih"]), r["code"], d(r["X"]), d(r["Y"]), d(r["Z"])])
    if k == "BS":
        tail = [d(r["bE"]), d(r["bN"]), d(r["bZ"])] if r["bs"] else ["", "", ""]
        return ",".join(["SC", nm(r["name"]), d(r["th"]), "", a(r["hz"]), a(r["v"]), d(r["sd"])] + tail)
    if k == "SA": return ",".join(["SC", nm(r["name"]), d(r["th"]), r["code"], a(r["hz"]), a(r["v"]), "", "", "", ""])
    if k == "SD": return ",".join(["SC", nm(r["name"]), d(r["th"]), r["code"], a(r["hz"]), a(r["v"]), d(r["sd"]), "", "", ""])
    if k == "SC":
        obs = [a(r["hz"]), a(r["v"]), d(r["sd"])] if r["obs"] else ["", "", ""]
        return ",".join(["SC", nm(r["name"]), d(r["th"]), r["code"]] + obs + [d(r["E"]), d(r["N"]), d(r["Z"])])
    return ""

def points_of(rs):
    pts = []
    for r in rs:
        if r["k"] == "STA": pts.append((r["name"], r["code"], r["Y"], r["X"], r["Z"]))
        elif r["k"] == "BS" and r["bs"]: pts.append((r["name"], "", r["bN"], r["bE"], r["bZ"]))
        elif r["k"] == "SC": pts.append((r["name"], r["code"], r["N"], r["E"], r["Z"]))
    return pts

def point_row(p, layout, du):
    name, code, n, e, z = p
    if layout == "cass": return ",".join([nm(name), code, D(e, du), D(n, du), D(z, du)])
    return ",".join([nm(name), D(e, du), D(n, du), D(z, du), code])

def dxf(pts):
    m = lambda x: D(x, 0)
    L = []
    if pts:
        mn = [min(p[i] for p in pts) for i in (2, 3, 4)]; mx = [max(p[i] for p in pts) for i in (2, 3, 4)]
    else:
        mn = mx = [0.0, 0.0, 0.0]
    L += ["0", "SECTION", "2", "HEADER", "9", "$EXTMIN", "10", m(mn[0]), "20", m(mn[1]), "30", m(mn[2]),
          "9", "$EXTMAX", "10", m(mx[0]), "20", m(mx[1]), "30", m(mx[2]), "0", "ENDSEC", "0", "SECTION", "2", "ENTITIES"]
    for name, code, n, e, z in pts:
        desc = code if code.strip() else " "
        for layer, dy, text in (("PNTNO", 1, nm(name)), ("PNTELEV", 2, m(z)), ("PNTDESC", 3, desc)):
            L += ["0", "TEXT", "8", layer, "10", m(n + 1), "20", m(e - dy), "40", "0.8", "1", text]
        L += ["0", "POINT", "8", "0", "62", "1", "10", m(n), "20", m(e), "30", m(z)]
    L += ["0", "ENDSEC", "0", "EOF"]
    return L

def fmt_record(r, a, d):  # list of lines, keyword-line record formatting
    k = r["k"]
    if k == "STA": return [kw("STA") + ",".join([nm(r["name"]), d(r["ih"]), r["code"]]), kw("XYZ") + ",".join([d(r["X"]), d(r["Y"]), d(r["Z"])])]
    if k == "BS":
        L = [kw("BS") + ",".join([nm(r["name"]), d(r["th"])]), kw("HVD") + ",".join([a(r["hz"]), a(r["v"]), d(r["sd"])])]
        if r["bs"]: L += [kw("SC") + ",".join([nm(r["name"]), d(r["th"]), "BSS"]), kw("ENZ") + ",".join([d(r["bE"]), d(r["bN"]), d(r["bZ"])])]
        return L
    if k == "BKB": return [kw("BKB") + ",".join([nm(r["name"]), a(r["a1"]), a(r["a2"])])]
    if k == "SA": return [kw("SA") + ",".join([nm(r["name"]), d(r["th"]), r["code"]]), kw("HV") + ",".join([a(r["hz"]), a(r["v"])])]
    if k == "SD": return [kw("SD") + ",".join([nm(r["name"]), d(r["th"]), r["code"]]), kw("HVD") + ",".join([a(r["hz"]), a(r["v"]), d(r["sd"])])]
    if k == "SC":
        L = [kw("SC") + ",".join([nm(r["name"]), d(r["th"]), r["code"]])]
        if r["obs"]: L.append(kw("HVD") + ",".join([a(r["hz"]), a(r["v"]), d(r["sd"])]))
        L.append(kw("ENZ") + ",".join([d(r["E"]), d(r["N"]), d(r["Z"])]))
        return L
    if k == "NOTE": return [kw("NOTE") + r["text"]]

def gts_map(text):
    if len(text) <= 8: return text
    k = text[:8].rstrip(); rest = text[8:]
    if k == "STA": return kw("STN") + rest
    if k == "SA": return kw("SS") + rest
    if k == "BS": return kw("BS") + rest.replace("HVD", "SD ").replace("SC", "SS").replace("ENZ", "XYZ")
    if k == "SD": return kw("SS") + rest.replace("HVD", "SD ")
    if k == "SC": return kw("SS") + rest.replace("HVD", "SD ").replace("ENZ", "XYZ")
    return text

def hd_line(r, a, d, K, scale):
    R = 6370000.0
    z = r["v"] * 3.141592653 / 180
    p = abs(r["sd"] * math.sin(z)); q = r["sd"] * math.cos(z)
    h = p - ((2 - K) / (2 * R)) * q * p
    if 0.9 < scale < 1.1: h = h * scale
    v = q + ((1 - K) / (2 * R)) * p * p
    return kw("HD") + ",".join([a(r["hz"]), d(h), d(v)])

def hd_record(r, a, d, K, scale):
    k = r["k"]
    if k == "STA": return [kw("STN") + ",".join([nm(r["name"]), d(r["ih"]), r["code"]]), kw("XYZ") + ",".join([d(r["X"]), d(r["Y"]), d(r["Z"])])]
    if k == "BS":
        L = [kw("BS") + ",".join([nm(r["name"]), d(r["th"])]), hd_line(r, a, d, K, scale)]
        if r["bs"]: L += [kw("SS") + ",".join([nm(r["name"]), d(r["th"]), "BSS"]), kw("XYZ") + ",".join([d(r["bE"]), d(r["bN"]), d(r["bZ"])])]
        return L
    if k == "BKB": return [kw("BKB") + ",".join([nm(r["name"]), a(r["a1"]), a(r["a2"])])]
    if k == "SA": return [kw("SS") + ",".join([nm(r["name"]), d(r["th"]), r["code"]]), kw("HV") + ",".join([a(r["hz"]), a(r["v"])])]
    if k == "SD": return [kw("SS") + ",".join([nm(r["name"]), d(r["th"]), r["code"]]), hd_line(r, a, d, K, scale)]
    if k == "SC":
        L = [kw("SS") + ",".join([nm(r["name"]), d(r["th"]), r["code"]])]
        if r["obs"]: L.append(hd_line(r, a, d, K, scale))
        return L + [kw("XYZ") + ",".join([d(r["E"]), d(r["N"]), d(r["Z"])])]

def gts7(rs, au, du, K, scale, obs_only, hd):
    a = lambda x: A(x, au); d = lambda x: D(x, du)
    L = [kw("JOB") + JOB + ",", kw("INST") + INST, kw("UNITS") + ("M" if du == 0 else "F") + "," + ("G" if au == 1 else "D")]
    for r in rs:
        r = dict(r)
        if r["k"] == "NOTE": continue
        if obs_only:
            if r["k"] == "SC":
                if not r["obs"]: continue
                r = dict(k="SD", name=r["name"], code=r["code"], th=r["th"], hz=r["hz"], v=r["v"], sd=r["sd"])
            elif r["k"] == "BS": r["bs"] = False
        lines = hd_record(r, a, d, K, scale) if hd else [gts_map("|".join(fmt_record(r, a, d)))]
        for piece in "|".join(lines).split("|"): L.append(piece.strip(" \t"))
    return L

def wkj(rs):
    a = ASec; d = lambda x: D(x, 0)
    L = [kw("JOB") + JOB, kw("INST") + INST]
    for r in rs: L += [x.strip() for x in fmt_record(r, a, d)]
    return L

def write(name, lines):
    open(OUT + "/" + name, "wb").write("".join(l + "\r\n" for l in lines).encode("latin-1"))

for tag, au, du, K, scale in (("dms_m", 0, 0, 0.0, 1.0), ("gon_intft", 1, 2, 0.14, 0.95)):
    write(f"job.{tag}.csv", [csv_row(r, au, du) for r in recs])
    pts = points_of(recs)
    write(f"job.{tag}.cass.dat", [point_row(p, "cass", du) for p in pts])
    write(f"job.{tag}.gts7coord.txt", [point_row(p, "gts7", du) for p in pts])
    write(f"job.{tag}.dxf", dxf(pts))
    write(f"job.{tag}.hd.gt7", gts7(recs, au, du, K, scale, True, True))
    write(f"job.{tag}.sd.gt7", gts7(recs, au, du, K, scale, True, False))
    write(f"job.{tag}.all.gt7", gts7(recs, au, du, K, scale, False, False))
write("job.wkj.expected", wkj(recs))

raw = [("P1", "T1", "10.5", "20.5", "3.0"), ("P2", "", "1000.1234", "2000.5678", "-1.25"),
       ("P3", "WALL", "-5", "3000", "0"), ("PT4", "T4", "123456.7891", "654321.0123", "99.9999")]
for tag, du in (("m", 0), ("usft", 1)):
    pts = [(n, c, readD(N, du), readD(E, du), readD(Z, du)) for n, c, E, N, Z in raw]
    write(f"coords.{tag}.cass.dat", [point_row(p, "cass", du) for p in pts])
    write(f"coords.{tag}.gts7coord.txt", [point_row(p, "gts7", du) for p in pts])
    write(f"coords.{tag}.dxf", dxf(pts))
write("codes.expected.txt", ["T1", "", "WALL", "TREE   "])

# An independent model of the polar reduction of a job's shots, kept apart from the C++
# code, that works out the expected bytes of the sample job's golden files here:
#   python3 expected_shots.py .
# It reads samples/sample.wkj itself (a minimal keyword reader, enough for that file), joins
# BS with its BSS shot as the loader does, orients each station by the bearing to its
# backsight point minus the angle measured to it, and reduces every SD shot and every SC
# shot with an observation with the curvature-and-refraction formula of the GTS-7 export.
import math, os, sys
from decimal import Decimal, ROUND_HALF_EVEN

OUT = sys.argv[1]
SAMPLE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "..", "samples", "sample.wkj")
R = 6370000.0
INTFT = Decimal("3.280839895013122")


def fix4(x, foot=False):
    d = Decimal(x) * (INTFT if foot else 1)
    if abs((d * 10000) % 1 - Decimal("0.5")) < Decimal("1e-7"):
        print("NEAR TIE", d, file=sys.stderr)
    return format(d.quantize(Decimal("0.0001"), rounding=ROUND_HALF_EVEN), "f")


def field(text):  # names with a blank, comma or quote are quoted, as the point rows do
    if any(c in ',"' or ord(c) <= 32 for c in text):
        return '"' + text.replace('"', '""') + '"'
    return text


def records():
    rs = []
    for line in open(SAMPLE, encoding="latin-1").read().splitlines():
        key, fields = line[:8].strip(), [f.strip() for f in line[8:].split(",")]
        if key in ("JOB", "INST", "NOTE", "BKB"):
            continue
        if key in ("STA", "BS", "SA", "SD", "SC"):
            rs.append(dict(k=key, name=fields[0], th=float(fields[1]), code=fields[2] if len(fields) > 2 else ""))
            continue
        r = rs[-1]
        if key in ("HVD", "HV"):
            r["hz"], r["v"] = int(fields[0]) / 3600.0, int(fields[1]) / 3600.0
            if key == "HVD":
                r["sd"] = float(fields[2])
        elif key == "XYZ":
            r["E"], r["N"], r["Z"] = map(float, fields)
        elif key == "ENZ":
            r["E"], r["N"], r["Z"] = map(float, fields)
        elif key == "NEZ":
            r["N"], r["E"], r["Z"] = map(float, fields)
    merged = []
    for r in rs:
        prev = merged[-1] if merged else None
        if r["k"] == "SC" and r["code"] == "BSS" and prev and prev["k"] == "BS" and prev["name"] == r["name"]:
            prev.update(bN=r["N"], bE=r["E"], bZ=r["Z"])
            continue
        merged.append(r)
    return merged


def reduce(rs, K, scale):
    """Per record index: (name, code, N, E, Z, station) of a reduced shot."""
    out, st = {}, None
    for i, r in enumerate(rs):
        if r["k"] == "STA":
            st = dict(r, ori=None)
        elif r["k"] == "BS" and st is not None:
            st["ori"] = None
            if "bN" in r:
                bearing = math.degrees(math.atan2(r["bE"] - st["E"], r["bN"] - st["N"])) % 360.0
                st["ori"] = bearing - r["hz"]
        elif r["k"] in ("SD", "SC") and "sd" in r and st is not None and st["ori"] is not None:
            z = r["v"] * 3.141592653 / 180
            p, q = abs(r["sd"] * math.sin(z)), r["sd"] * math.cos(z)
            h = p - ((2 - K) / (2 * R)) * q * p
            if 0.9 < scale < 1.1:
                h *= scale
            dz = q + ((1 - K) / (2 * R)) * p * p
            a = math.radians(st["ori"] + r["hz"])
            out[i] = (r["name"], r["code"], st["N"] + h * math.cos(a), st["E"] + h * math.sin(a),
                      st["Z"] + st["th"] + dz - r["th"], st["name"])
    return out


def points(rs, K, scale):
    reduced, pts = reduce(rs, K, scale), []
    for i, r in enumerate(rs):
        if r["k"] in ("STA", "SC"):
            pts.append((r["name"], r["code"], r["N"], r["E"], r["Z"]))
        elif r["k"] == "BS" and "bN" in r:
            pts.append((r["name"], "", r["bN"], r["bE"], r["bZ"]))
        elif r["k"] == "SD" and i in reduced:
            pts.append(reduced[i][:5])
    return pts


def write(name, lines, end="\r\n"):
    open(os.path.join(OUT, name), "wb").write("".join(l + end for l in lines).encode("latin-1"))


rs = records()
write("sample.shots.m.cass.dat",
      [",".join([field(n), field(c), fix4(e), fix4(nn), fix4(z)]) for n, c, nn, e, z in points(rs, 0.0, 1.0)])
write("sample.shots.intft.gts7coord.txt",
      [",".join([field(n), fix4(e, True), fix4(nn, True), fix4(z, True), field(c)]) for n, c, nn, e, z in points(rs, 0.14, 0.95)])

reduced = reduce(rs, 0.0, 1.0)
rows = ["Residuals, stored minus computed, in Meter", "Point name\tCode\tStation\tdN\tdE\tdZ\tLargest"]
skipped = {"none": 0, "dist": 0, "ori": 0}
for i, r in enumerate(rs):
    if r["k"] == "SA":
        skipped["dist"] += 1
    elif r["k"] in ("SD", "SC") and "sd" in r and i not in reduced:
        skipped["ori"] += 1
    if r["k"] != "SC" or "sd" not in r:
        continue
    if i in reduced:
        d = [r["N"] - reduced[i][2], r["E"] - reduced[i][3], r["Z"] - reduced[i][4]]
        rows.append("\t".join([r["name"], r["code"], reduced[i][5]] + [fix4(x) for x in d] + [fix4(max(map(abs, d)))]))
    else:
        rows.append("\t".join([r["name"], r["code"], "", "", "", "", "not reduced, at a station without backsight coordinates"]))
rows.append("Shots reduced: %d; not reduced: %d (%d without distance, %d at a station without backsight coordinates)"
            % (len(reduced), skipped["dist"] + skipped["ori"], skipped["dist"], skipped["ori"]))
write("sample.residuals.m.txt", rows, "\n")

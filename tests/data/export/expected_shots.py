# An independent model of the polar reduction of a job's shots, kept apart from the C++
# code, that works out the expected bytes of the golden files here:
#   python3 expected_shots.py .
# It reads samples/sample.wkj itself (a minimal keyword reader, enough for that file), joins
# BS with its BSS shot as the loader does, orients each station by the bearing to its
# backsight point minus the angle measured to it, and reduces every SD shot and every SC
# shot with an observation with the curvature-and-refraction formula of the GTS-7 export.
#
# It also makes a job of its own from known truth, faces.wkj: two set-ups, shots read in
# face I, in face II and in both, the second set-up with a collimation error of 25" and an
# index error of 8". Face II readings (zenith above 180) are turned to face I; each face is
# oriented by its own backsight when there is one; a target read in both faces gives the
# mean of its two reduced faces (this model averages the two reduced points, which agrees
# with reducing the mean readings far below 0.1 mm). The script checks itself against the
# truth and writes the coordinates and the station check report the program must give.
import math, os, sys
from decimal import Decimal, ROUND_HALF_EVEN

OUT = sys.argv[1]
HERE = os.path.dirname(os.path.abspath(__file__))
SAMPLE = os.path.join(HERE, "..", "..", "..", "samples", "sample.wkj")
R = 6370000.0
PI = 3.141592653  # the instrument's own, in the slope formula only
INTFT = Decimal("3.280839895013122")
near_ties = 0


def near_tie(x, step):
    # The program and this model compute in different ways; a value within a hair of a
    # rounding boundary could round either way, so the data must keep clear of them.
    global near_ties
    if abs((Decimal(x) / step) % 1 - Decimal("0.5")) < Decimal("0.02"):
        print("NEAR TIE", x, file=sys.stderr)
        near_ties += 1


def fix4(x, foot=False):
    d = Decimal(x) * (INTFT if foot else 1)
    near_tie(d, Decimal("0.0001"))
    return format(d.quantize(Decimal("0.0001"), rounding=ROUND_HALF_EVEN), "f")


def unsigned_zero(text):  # reports never write "-0.0000"
    return text[1:] if text.startswith("-") and set(text[1:]) <= set("0.") else text


def dms(deg):
    neg = not deg >= 0
    x = Decimal(-deg if neg else deg) * 3600
    near_tie(x, Decimal(1))
    s = int(x + Decimal("0.5"))
    return unsigned_zero(("-" if neg else "") + "%d.%02d%02d" % (s // 3600, (s % 3600) // 60, s % 60))


def field(text):  # names with a blank, comma or quote are quoted, as the point rows do
    if any(c in ',"' or ord(c) <= 32 for c in text):
        return '"' + text.replace('"', '""') + '"'
    return text


def records(path):
    rs = []
    for line in open(path, encoding="latin-1").read().splitlines():
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


def face_one(hz, v):
    """(horizontal, zenith, face II) as face I would have read them."""
    if v > 180:
        return (hz + 180) % 360, 360 - v, True
    return hz, v, False


def slope(sd, v, K, scale):
    z = v * PI / 180
    p, q = abs(sd * math.sin(z)), sd * math.cos(z)
    h = p - ((2 - K) / (2 * R)) * q * p
    if 0.9 < scale < 1.1:
        h *= scale
    return h, q + ((1 - K) / (2 * R)) * p * p


def bearing(n0, e0, n1, e1):
    return math.degrees(math.atan2(e1 - e0, n1 - n0)) % 360.0


def half_turn(d):  # a difference of directions, -180 up to 180
    d %= 360.0
    return d - 360.0 if d > 180 else d


def reduce(rs, K, scale):
    """Per record index of a reduced shot: dict(name, code, N, E, Z, station, face2, hz, v, sd, th).
    Also the orientations per BS record index."""
    out, orients, st = {}, {}, None
    for i, r in enumerate(rs):
        if r["k"] == "STA":
            st = dict(r, index=i, ori={}, last_bs=None)
        elif r["k"] == "BS" and st is not None:
            hz, v, two = face_one(r["hz"], r["v"])
            last = st["last_bs"]
            other_face_of_same = last is not None and last["face2"] != two and last["name"] == r["name"] and "bN" in r
            if not other_face_of_same:
                st["ori"] = {}
            if "bN" in r:
                b = bearing(st["N"], st["E"], r["bN"], r["bE"])
                st["ori"][two] = b - hz
                orients[i] = dict(station=st["index"], face2=two, bearing=b, read=r["hz"], corr=(b - hz) % 360,
                                  measured=slope(r["sd"], v, K, scale)[0] if r["sd"] > 0 else None,
                                  computed=math.hypot(r["bN"] - st["N"], r["bE"] - st["E"]))
            else:
                st["ori"] = {}
                orients[i] = dict(station=st["index"], face2=two, bearing=None)
            st["last_bs"] = dict(name=r["name"], face2=two)
        elif r["k"] in ("SD", "SC") and "sd" in r and r["sd"] > 0 and st is not None:
            hz, v, two = face_one(r["hz"], r["v"])
            ori = st["ori"].get(two, st["ori"].get(not two))
            if ori is None:
                continue
            h, dz = slope(r["sd"], v, K, scale)
            a = math.radians(ori + hz)
            out[i] = dict(name=r["name"], code=r["code"], N=st["N"] + h * math.cos(a), E=st["E"] + h * math.sin(a),
                          Z=st["Z"] + st["th"] + dz - r["th"], station=st["index"], face2=two, hz=hz, v=v,
                          sd=r["sd"], th=r["th"])
    return out, orients


def face_pairs(rs, reduced):
    """Targets read in both faces at one set-up: (first, second) record indexes, shots and BS."""
    pairs, station, open_reads, last_bs = [], None, [], None
    for i, r in enumerate(rs):
        if r["k"] == "STA":
            station, open_reads, last_bs = i, [], None
        elif r["k"] == "BS" and station is not None:
            two = face_one(r["hz"], r["v"])[2]
            if last_bs is not None and last_bs[1] != two and rs[last_bs[0]]["name"] == r["name"]:
                pairs.append((last_bs[0], i))
                last_bs = None
            else:
                last_bs = (i, two)
        elif i in reduced:
            s = reduced[i]
            match = [j for j in open_reads if reduced[j]["name"] == s["name"] and reduced[j]["th"] == s["th"]
                     and reduced[j]["face2"] != s["face2"]]
            if match:
                open_reads.remove(match[0])
                pairs.append((match[0], i))
            else:
                open_reads.append(i)
    return pairs


def differences(rs, a, b):
    """Collimation and index (degrees) and the slope distance face I minus face II."""
    one, two = (a, b) if not face_one(rs[a]["hz"], rs[a]["v"])[2] else (b, a)
    h1, v1, _ = face_one(rs[one]["hz"], rs[one]["v"])
    h2, v2, _ = face_one(rs[two]["hz"], rs[two]["v"])
    d = rs[one]["sd"] - rs[two]["sd"] if rs[one]["sd"] > 0 and rs[two]["sd"] > 0 else None
    return half_turn(h1 - h2) / 2, (v1 - v2) / 2, d, two


def points(rs, K, scale):
    reduced, _ = reduce(rs, K, scale)
    # A pair gives its mean at its first record, unless one of the two is an SC shot whose
    # stored coordinates stand for the target.
    mean_at, paired = {}, set()
    for a, b in face_pairs(rs, reduced):
        paired |= {a, b}
        if rs[a]["k"] != "SC" and rs[b]["k"] != "SC":
            mean_at[a] = b
    pts = []
    for i, r in enumerate(rs):
        if r["k"] in ("STA", "SC"):
            pts.append((r["name"], r["code"], r["N"], r["E"], r["Z"]))
        elif r["k"] == "BS" and "bN" in r:
            pts.append((r["name"], "", r["bN"], r["bE"], r["bZ"]))
        elif r["k"] == "SD" and i in mean_at:
            p, q = reduced[i], reduced[mean_at[i]]
            pts.append((r["name"], r["code"], (p["N"] + q["N"]) / 2, (p["E"] + q["E"]) / 2, (p["Z"] + q["Z"]) / 2))
        elif r["k"] == "SD" and i in reduced and i not in paired:
            p = reduced[i]
            pts.append((p["name"], p["code"], p["N"], p["E"], p["Z"]))
    return pts


def write(name, lines, end="\r\n"):
    open(os.path.join(OUT, name), "wb").write("".join(l + end for l in lines).encode("latin-1"))


def cass(pts):
    return [",".join([field(n), field(c), fix4(e), fix4(nn), fix4(z)]) for n, c, nn, e, z in pts]


# ---- the sample job
rs = records(SAMPLE)
write("sample.shots.m.cass.dat", cass(points(rs, 0.0, 1.0)))
write("sample.shots.intft.gts7coord.txt",
      [",".join([field(n), fix4(e, True), fix4(nn, True), fix4(z, True), field(c)]) for n, c, nn, e, z in points(rs, 0.14, 0.95)])

reduced, _ = reduce(rs, 0.0, 1.0)
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
        d = [r["N"] - reduced[i]["N"], r["E"] - reduced[i]["E"], r["Z"] - reduced[i]["Z"]]
        rows.append("\t".join([r["name"], r["code"], rs[reduced[i]["station"]]["name"]] + [unsigned_zero(fix4(x)) for x in d]
                              + [fix4(max(map(abs, d)))]))
    else:
        rows.append("\t".join([r["name"], r["code"], "", "", "", "", "not reduced, at a station without backsight coordinates"]))
rows.append("Shots reduced: %d; not reduced: %d (%d without distance, %d at a station without backsight coordinates)"
            % (len(reduced), skipped["dist"] + skipped["ori"], skipped["dist"], skipped["ori"]))
write("sample.residuals.m.txt", rows, "\n")


# ---- a job made from known truth, read in both faces
K, SCALE = 0.14, 0.9996
TRUTH = {  # north, east, elevation
    "ST1": (5000.0, 3000.0, 120.0), "BK1": (5086.6025, 3050.0, 121.0),
    "P1": (5021.123, 3031.456, 119.234), "P2": (4978.5563, 3012.3417, 120.8761),
    "P3": (4990.0012, 2975.5023, 119.5004), "P4": (5030.0, 2985.0, 121.2),
    "ST2": (5040.0, 3060.0, 119.8),
    "P5": (5055.5, 3085.25, 118.9), "P6": (5012.0, 3071.0, 120.3), "P7": (5061.0, 3049.0, 121.1),
}
SETUPS = [  # station, instrument height, circle reading of north, collimation and index (arc seconds), readings
    ("ST1", 1.55, 12.3456, 0, 0, [
        # (kind, name, code, target height, face, slope distance added, stored coordinates off by north metres)
        ("BS", "BK1", "", 1.6, 1, 0, 0),
        ("SD", "P1", "CURB", 1.3, 1, 0, 0), ("SD", "P1", "CURB", 1.3, 2, 0, 0),
        ("SD", "P2", "WALL", 1.3, 2, 0, 0),
        ("SC", "P3", "TREE", 1.8, 2, 0, 0),
        ("SC", "P4", "MARK", 1.3, 1, 0, 0.035)]),
    ("ST2", 1.52, 301.7, 25, 8, [
        ("BS", "ST1", "", 1.7, 1, 0, 0), ("BS", "ST1", "", 1.7, 2, 0, 0),
        ("SD", "P5", "CURB", 1.4, 1, 0, 0), ("SD", "P5", "CURB", 1.4, 2, 0, 0),
        ("SD", "P6", "POLE", 1.3, 1, 0.015, 0), ("SD", "P6", "POLE", 1.3, 2, -0.015, 0),
        ("SC", "P7", "LAMP", 1.5, 2, 0, 0)]),
]


def observe(station, ih, target, th, add=0.0):
    """Zenith (degrees as the instrument reads them) and slope distance that reduce to target."""
    (n0, e0, z0), (n1, e1, z1) = TRUTH[station], TRUTH[target]
    grid, dz = math.hypot(n1 - n0, e1 - e0), z1 + th - z0 - ih
    p, q = grid / SCALE, dz
    for _ in range(50):  # the reduction's corrections are tiny: a fixed point in a few steps
        p = grid / SCALE + ((2 - K) / (2 * R)) * q * p
        q = dz - ((1 - K) / (2 * R)) * p * p
    return math.atan2(p, q) * 180 / PI, math.hypot(p, q) + add


def seconds(deg):
    return int(round(deg % 360 * 3600)) % 1296000


def faces_job():
    f4 = lambda x: "%.4f" % x
    lines = ["JOB     FACES", "INST    GENERATED"]
    for station, ih, north, c, i, reads in SETUPS:
        n, e, z = TRUTH[station]
        lines += ["STA     %s,%s,STN" % (station, f4(ih)), "XYZ     %s,%s,%s" % (f4(e), f4(n), f4(z))]
        for kind, name, code, th, face, add, off in reads:
            zen, sd = observe(station, ih, name, th, add)
            hz = bearing(n, e, TRUTH[name][0], TRUTH[name][1]) - north + c / 3600 / math.sin(math.radians(zen))
            v = zen + i / 3600
            if face == 2:
                hz, v = hz + 180 - 2 * c / 3600 / math.sin(math.radians(zen)), 360 - zen + i / 3600
            hvd = "HVD     %d,%d,%s" % (seconds(hz), seconds(v), f4(sd))
            tn, te, tz = TRUTH[name]
            enz = "ENZ     %s,%s,%s" % (f4(te), f4(tn + off), f4(tz))
            if kind == "BS":
                lines += ["BS      %s,%s" % (name, f4(th)), hvd, "SC      %s,%s,BSS" % (name, f4(th)), enz]
            elif kind == "SD":
                lines += ["SD      %s,%s,%s" % (name, f4(th), code), hvd]
            else:
                lines += ["SC      %s,%s,%s" % (name, f4(th), code), hvd, enz]
    return lines


def check_report(rs, K, scale, length=0.02, angle=20.0):
    reduced, orients = reduce(rs, K, scale)
    pairs = face_pairs(rs, reduced)
    lines = ["Station check: lengths in Meter, angles in DMS, K %.2f, grid scale %s; warnings past %s for lengths and "
             "%s for angles" % (K, format(Decimal(str(scale)).normalize(), "f"), fix4(length), dms(angle / 3600))]
    L = lambda x: unsigned_zero(fix4(x))
    face_name = lambda two: "face II" if two else "face I"
    for s, st in enumerate(rs):
        if st["k"] != "STA":
            continue
        end = next((j for j in range(s + 1, len(rs)) if rs[j]["k"] == "STA"), len(rs))
        here = range(s, end)
        lines.append("Station " + st["name"])
        warnings = []
        for i in here:
            if i in orients:
                o = orients[i]
                if o["bearing"] is None:
                    lines.append("  Backsight %s, %s: no usable coordinates; the station is not oriented"
                                 % (rs[i]["name"], face_name(o["face2"])))
                else:
                    lines.append("  Backsight %s, %s: bearing %s, angle read %s, orientation correction %s"
                                 % (rs[i]["name"], face_name(o["face2"]), dms(o["bearing"]), dms(o["read"]), dms(o["corr"])))
        for i in here:
            o = orients.get(i)
            if o and o["bearing"] is not None and o["measured"] is not None:
                d = o["measured"] - o["computed"]
                lines.append("  Backsight %s: horizontal distance measured %s, computed %s, difference %s"
                             % (rs[i]["name"], L(o["measured"]), L(o["computed"]), L(d)))
                if abs(d) > length:
                    warnings.append("  Warning: %s: backsight distance difference %s passes the limit %s" % (rs[i]["name"], L(d), L(length)))
        for i in here:
            r = rs[i]
            if r["k"] != "SC" or "sd" not in r:
                continue
            if i not in reduced:
                lines.append("  Residual %s: not reduced, %s" % (r["name"], "no distance" if r["sd"] <= 0 else "the station is not oriented"))
                continue
            d = [r["N"] - reduced[i]["N"], r["E"] - reduced[i]["E"], r["Z"] - reduced[i]["Z"]]
            big = max(map(abs, d))
            lines.append("  Residual %s: dN %s, dE %s, dZ %s, largest %s" % (r["name"], L(d[0]), L(d[1]), L(d[2]), L(big)))
            if big > length:
                warnings.append("  Warning: %s: residual %s passes the limit %s" % (r["name"], L(big), L(length)))
        for a, b in sorted((p for p in pairs if p[1] in here), key=lambda p: p[1]):
            col, idx, dist, two = differences(rs, a, b)
            name = rs[two]["name"]
            if dist is None:
                lines.append("  Faces %s: collimation %s, index %s" % (name, dms(col), dms(idx)))
            else:
                lines.append("  Faces %s: collimation %s, index %s, distance difference %s" % (name, dms(col), dms(idx), L(dist)))
            for what, value, limit, text in (("collimation", col, angle / 3600, dms), ("index", idx, angle / 3600, dms),
                                             ("face distance difference", dist, length, L)):
                if value is not None and abs(value) > limit:
                    warnings.append("  Warning: %s: %s %s passes the limit %s" % (name, what, text(value), text(limit)))
        lines += warnings
    return lines


job = faces_job()
write("faces.wkj", job)
fs = records(os.path.join(OUT, "faces.wkj"))

# Must hold: both faces of a target agree within 1 mm, means land on the truth whatever the
# instrument's errors, and a face-II-only shot lands on the truth; here all to 0.1 mm, as
# close as readings in whole seconds and tenths of a millimetre allow.
reduced, _ = reduce(fs, K, SCALE)
by_name = {}
for i, s in reduced.items():
    by_name.setdefault((s["name"], fs[s["station"]]["name"]), []).append(s)
def off(p, name):
    return max(abs(p[0] - TRUTH[name][0]), abs(p[1] - TRUTH[name][1]), abs(p[2] - TRUTH[name][2]))
one, two = by_name[("P1", "ST1")]
assert not one["face2"] and two["face2"]
assert max(abs(one[k] - two[k]) for k in "NEZ") < 0.001
assert off((one["N"], one["E"], one["Z"]), "P1") < 0.0001 and off((two["N"], two["E"], two["Z"]), "P1") < 0.0001
p2 = by_name[("P2", "ST1")][0]
assert p2["face2"] and off((p2["N"], p2["E"], p2["Z"]), "P2") < 0.0001
pts = {p[0]: p for p in points(fs, K, SCALE)}
for name in ("P1", "P5", "P6"):
    assert off(pts[name][2:], name) < 0.0001, (name, off(pts[name][2:], name))
# ... while one face alone at the second set-up is off by the index error (8" over 30 m).
p5 = by_name[("P5", "ST2")][0]
assert off((p5["N"], p5["E"], p5["Z"]), "P5") > 0.0008

write("faces.shots.cass.dat", cass(points(fs, K, SCALE)))
write("faces.check.txt", check_report(fs, K, SCALE), "\n")
if near_ties:
    sys.exit("%d values lie too close to a rounding boundary" % near_ties)

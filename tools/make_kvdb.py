#!/usr/bin/env python3
"""Writes data/kvdb.csv, Korvel's starter material and tool database.

The file is written exactly as the program writes it (so that loading and saving it gives the
same bytes); its sources are documented here instead.

Cutting speeds and feeds follow public handbook values:
  - HSS drills, centre drills, taps and countersinks: the speed and feed tables of
    Machinery's Handbook (speeds for high-speed-steel tools by material class; drill feed per
    revolution growing with the diameter).
  - Solid-carbide end mills and thread mills, indexable face mills, engraving tools: the
    general cutting-speed and feed-per-tooth ranges for ISO 513 groups P, M, K and N as given
    in machining handbooks, at their conservative end for a small machining centre.
Spindle speed n = Vc * 1000 / (pi * D), limited to the 12000 rpm of the shipped machine;
table feed F = n * teeth * feed per tooth; drill feed = n * feed per revolution; tapping feed
= n * pitch.
"""
import math
import pathlib

MAX_RPM = 12000

# name, group code (tenths)
MATERIALS = [
    ("ST37-2", 11), ("S235JR", 11), ("S355J2", 11), ("C15", 11), ("DC01", 11),
    ("11SMN30", 12), ("11SMNPB30", 12),
    ("C45", 13), ("C45E", 13), ("42CRMO4", 13), ("16MNCR5", 13),
    ("42CRMO4 QT", 14), ("34CRNIMO6", 14),
    ("X155CRVMO12-1", 15), ("40CRMNMO7", 15),
    ("X20CR13", 21), ("X6CR17", 21),
    ("X5CRNI18-10", 22), ("X2CRNIMO17-12-2", 22), ("X8CRNIS18-9", 22),
    ("X2CRNIMON22-5-3", 23),
    ("EN-GJL-250", 31), ("EN-GJS-400-15", 32),
    ("ALMG3", 41), ("ALMGSI1", 41), ("ALZNMGCU1.5", 41), ("ALCUMGPB", 41),
    ("ALSI10MG", 42),
    ("CUZN39PB3", 51), ("CUSN8", 52), ("CUAL10NI5FE4", 52), ("CU-ETP", 53),
    ("POM", 61), ("PA6", 61), ("PE-HD", 61), ("PP", 61), ("PTFE", 61),
    ("PMMA", 62), ("PC", 62),
    ("TI6AL4V", 71),
]

# Cutting data are given for these groups (steel, stainless, cast iron, aluminium, brass,
# plastics).
GROUPS = [11, 13, 22, 31, 41, 51, 61]

# Cutting speed Vc in m/min per group, per tool family.
VC = {
    "hss_drill":   {11: 30, 13: 22, 22: 10, 31: 25, 41: 80, 51: 60, 61: 40},
    "hss_center":  {11: 20, 13: 16, 22: 8, 31: 18, 41: 60, 51: 45, 61: 30},
    "hss_tap":     {11: 10, 13: 8, 22: 4, 31: 10, 41: 20, 51: 15, 61: 15},
    "hss_csink":   {11: 20, 13: 15, 22: 8, 31: 18, 41: 60, 51: 45, 61: 40},
    "carbide":     {11: 120, 13: 100, 22: 70, 31: 110, 41: 300, 51: 200, 61: 250},
    "thread_mill": {11: 100, 13: 80, 22: 50, 31: 90, 41: 200, 51: 150, 61: 150},
    "face_mill":   {11: 200, 13: 160, 22: 140, 31: 150, 41: 600, 51: 300, 61: 400},
}
# Feed factors per group relative to steel; depth factors for milling.
FEED = {11: 1.0, 13: 0.85, 22: 0.7, 31: 1.0, 41: 1.5, 51: 1.3, 61: 1.5}
DEPTH = {11: 0.5, 13: 0.4, 22: 0.3, 31: 0.5, 41: 1.0, 51: 0.8, 61: 1.0}

CENTER, DRILL, TAP, THREAD_MILL, END_ROUGH, END_FINE, FACE_ROUGH, FACE_FINE, CSINK, ENGRAVER = (
    1, 2, 3, 4, 5, 6, 7, 8, 9, 10)


def rpm(vc, d):
    return min(MAX_RPM, int(round(vc * 1000 / (math.pi * d))))


def tools():
    """(name, type, dia, dia2, length, flutes, pitch, description)"""
    t = []
    t.append(("CENTER DRILL 3.15", CENTER, 3.15, 0, 8, 2, 0, "DIN 333 A 3.15 HSS"))
    t.append(("NC SPOT DRILL 10", CENTER, 10, 0, 25, 2, 0, "90 deg spot drill HSS-Co"))
    tap_drills = [1.6, 2.05, 2.5, 2.9, 3.3, 4.2, 5.0, 6.8, 8.5, 10.2]
    common = [3, 4, 6, 8, 10, 12, 14, 16]
    for d in sorted(set(tap_drills + common)):
        name = "DRILL %g" % d
        t.append((name, DRILL, d, 0, round(10 * d + 10), 2, 0, "DIN 338 HSS-Co"))
    for size, pitch in [(3, 0.5), (4, 0.7), (5, 0.8), (6, 1.0), (8, 1.25), (10, 1.5),
                        (12, 1.75)]:
        t.append(("TAP M%d" % size, TAP, size, 0, 3 * size + 8, 3, pitch,
                  "Machine tap HSS-E spiral flute"))
    # The second diameter is the smallest hole the mill enters: the 8.5 mm core hole of an M10.
    t.append(("THREAD MILL D8 P1.5", THREAD_MILL, 8, 8.5, 20, 3, 1.5,
              "Solid carbide for M10 and larger"))
    for d in [3, 4, 6, 8, 10, 12, 16, 20]:
        t.append(("END MILL R%g" % d, END_ROUGH, d, 0, 3 * d, 4 if d >= 6 else 3, 0,
                  "Solid carbide roughing centre cutting"))
    for d in [2, 3, 4, 6, 8, 10, 12, 16, 20]:
        t.append(("END MILL F%g" % d, END_FINE, d, 0, 3 * d, 4 if d >= 4 else 2, 0,
                  "Solid carbide finishing"))
    t.append(("FACE MILL 50", FACE_ROUGH, 50, 20, 40, 5, 0, "45 deg indexable face mill"))
    t.append(("COUNTERSINK 90 D12.4", CSINK, 12.4, 2.0, 5.2, 3, 0, "90 deg HSS countersink"))
    t.append(("ENGRAVER 0.5", ENGRAVER, 0.5, 0, 40, 1, 0, "Carbide V-bit 60 deg 0.5 tip"))
    return t


def drill_feed(d):
    """Feed per revolution of an HSS drill in steel, mm."""
    return round(0.012 * d + 0.02, 3)


def cutting_data(tool, group):
    name, kind, d, d2, length, z, pitch, text = tool
    f = FEED[group]
    if kind in (CENTER, DRILL):
        n = rpm(VC["hss_center" if kind == CENTER else "hss_drill"][group], d)
        return n, 0, 0, round(n * drill_feed(d) * f * (0.6 if kind == CENTER else 1)), 0
    if kind == TAP:
        n = rpm(VC["hss_tap"][group], d)
        return n, 0, 0, round(n * pitch, 1), 0
    if kind == THREAD_MILL:
        n = rpm(VC["thread_mill"][group], d)
        return n, round(n * z * 0.04 * f), round(0.6 * pitch, 2), 0, 0
    if kind == END_ROUGH:
        n = rpm(VC["carbide"][group], d)
        fxy = round(n * z * (0.004 * d + 0.01) * f)
        return n, fxy, 0, round(fxy * 0.3), round(DEPTH[group] * d, 2)
    if kind == END_FINE:
        n = rpm(VC["carbide"][group] * 1.2, d)
        return n, round(n * z * (0.0025 * d + 0.006) * f), round(min(0.5, 0.05 * d), 2), 0, 0
    if kind in (FACE_ROUGH, FACE_FINE):
        n = rpm(VC["face_mill"][group], d)
        return n, round(n * z * 0.12 * f), 0, 0, round(3 * DEPTH[group] * 1.5, 2)
    if kind == CSINK:
        n = rpm(VC["hss_csink"][group], d)
        return n, round(n * z * 0.03 * f), 0, round(n * 0.05 * f), 0
    if kind == ENGRAVER:
        return MAX_RPM, round(400 * f), 0, round(60 * f), 0
    raise ValueError(kind)


def main():
    out = []
    out.append("# KORVEL VERSION 2.05 MATERIAL AND TOOL DATABASE FILE\n")
    out.append("# DO NOT EDIT!\n#\n# Section 1: Opening\n")
    out.append("$127 MM\n")
    out.append("#\n# Section 2: Materials\n")
    for name, group in MATERIALS:
        out.append("$133\t%s\t%d\n" % (name.replace(" ", "_"), group))
    out.append("#\n# Section 2: Tools - Geometry data\n")
    all_tools = tools()
    for name, kind, d, d2, length, z, pitch, text in all_tools:
        line = "$131\t%s\t%d\t%f\t%f\t%f\t%d\t%f" % (name.replace(" ", "_"), kind, d, d2,
                                                     length, z, pitch)
        if text:
            line += "\t" + text.replace(" ", "_")
        out.append(line + "\n")
    out.append("#\n# Section 3: Tools - Milling data\n")
    for tool in all_tools:
        for group in GROUPS:
            n, fxy, cxy, fz, cz = cutting_data(tool, group)
            out.append("$132\t%s\t%d\t%d\t%f\t%f\t%f\t%f\t0.00\n" % (
                tool[0].replace(" ", "_"), group, n, fxy, cxy, fz, cz))
    out.append("#\n# Section 4: Closing\n$128\n")
    target = pathlib.Path(__file__).resolve().parent.parent / "data" / "kvdb.csv"
    target.write_text("".join(out))
    print("%s: %d materials, %d tools, %d cutting-data records" % (
        target, len(MATERIALS), len(all_tools), len(all_tools) * len(GROUPS)))


if __name__ == "__main__":
    main()

#!/usr/bin/env python3
"""Writes the seed inputs of every fuzz target into fuzz/corpus/<target>/.

Each seed is a small valid file of its kind, named seed-*; earlier seed-* files are replaced.
The regression-* inputs (those that once found a fault) are left alone, except the ones whose
bytes are known here, which are written again so that they stay as they were found.

    python3 fuzz/make-seeds.py
"""

import pathlib
import struct
import zlib

CORPUS = pathlib.Path(__file__).resolve().parent / "corpus"

written = {}


def put(target, name, data):
    if isinstance(data, str):
        data = data.encode("utf-8")
    written.setdefault(target, {})[name] = data


def le(fmt, *values):
    return struct.pack("<" + fmt, *values)


def be(fmt, *values):
    return struct.pack(">" + fmt, *values)


# --- Text ------------------------------------------------------------------------------------

for i, text in enumerate([
        "#FF8000", "0x000080FF", "0xFF8000", "$000080FF", "&H000080FF&", "#F80", "255 128 0",
        "RGB(255, 128, 0)", "RGB(100.00% 50.20% 0.00%)", "30 100 100", "HSV(30, 100, 100)",
        "0 50 100 0", "CMYK(0, 50, 100, 0)", "#ff8000", "  #FF8000  ", "$FF8000", "&HFF8000",
        "0x80FF"]):
    put("color_text", f"seed-{i:02}", text)

for i, text in enumerate(["f00", "ff8000", "#FF8000", "#f80", "red", "Navy", "  teal ",
                          "#12345", "rgb(1,2,3)", ""]):
    put("code_box", f"seed-{i:02}", text)

for i, text in enumerate([
        "#f80", "#ff800080", "rgb(255 128 0)", "rgba(255, 128, 0, 0.5)", "rgb(100% 50% 0% / 50%)",
        "hsl(30deg 100% 50%)", "hsla(0.5turn, 50%, 50%, 1)", "hwb(30 0% 0%)",
        "lab(67.05 42.83 74.03)", "lch(67.05 85.53 59.94)", "oklab(73.2% 0.0834 0.1494)",
        "oklch(70% 0.1 200)", "oklch(70% none 3.1rad / 25%)", "color(srgb 1 0.5 0)",
        "color(display-p3 0.9 0.55 0.2)", "rebeccapurple", "transparent", "hsl(200grad 1e2% 5e1%)"]):
    put("css_color", f"seed-{i:02}", text)

for i, text in enumerate(["Alt+X", "Ctrl+Shift+F12", "Win+Num +", "Ctrl+Alt+Del", "Shift+Space",
                          "Alt+Num *", "Ctrl+Alt+Shift+Win+Pause", "Strg+Umschalt+A", "F1",
                          "Ctrl+PgDn", "Alt+Print", "Ctrl++"]):
    put("hot_key", f"seed-{i:02}", text)

put("settings_file", "seed-00",
    "[Software\\Qelvo\\Chromint]\n"
    "\"WindowLeft\"=dword:000002b6\n"
    "\"LastOpenImageDir\"=\"/home/ann/Pictures\"\n"
    "\n"
    "[Software\\Qelvo\\Chromint\\Favourites]\n"
    "\"Name \\\"one\\\"\"=\"tab\\there, line\\nbreak, back\\\\slash, byte \\xff\"\n"
    "\"Count\"=dword:00000003\n"
    "; end of settings\n")
put("settings_file", "seed-01", "[Software\\Qelvo\\Chromint]\n; end of settings\n")
put("settings_file", "seed-02", "[Software\\Qelvo\\Chromint]\n\"Cut\"=dword:0000\n")

put("palette_jasc", "seed-00", "JASC-PAL\r\n0100\r\n3\r\n255 0 0\r\n0 255 0\r\n0 0 255\r\n")
put("palette_jasc", "seed-01", "JASC-PAL\n0100\n256\n" + "".join(
    f"{i} {i} {i}\n" for i in range(256)))
put("palette_jasc", "seed-02", "JASC-PAL\r\n0100\r\n2\r\n12 34\r\n1 2 x\r\n")

put("palette_gpl", "seed-00",
    "GIMP Palette\nName: Chromint favourites\nColumns: 0\n#\n"
    "  0   0   0\tFavourite 1\n255 128   7\tFavourite 2\n 10 200  30\tGrün\n")
put("palette_gpl", "seed-01",
    "GIMP Palette\r\nName: Inkscape default\r\nColumns: 3\r\n# hand-made\r\n\r\n"
    "  0   0   0\tBlack (#000000)\r\n\t128\t0\t0\tMaroon\r\n300  -5 51\r\n 51 102 153\r\n#\r\n")
put("palette_gpl", "seed-02", "\ufeffGIMP Palette\n12 34\nred green blue\n")

put("palette_css", "seed-00", ":root {\n  --color-1: #000000;\n  --color-2: #ff8007;\n}\n")
put("palette_css", "seed-01",
    "/* brand; --not: red; */\n:root {\n  --brand: #336699;\n"
    "  --accent: rgb(255 128 0) !important;\n  --danger:red;\n  --space: 4px;\n"
    "  --label: \"a; --fake: blue\";\n  color: green;\n}\n"
    "@media (prefers-color-scheme: dark) {\n  :root { --brand: hsl(0 0% 20%) }\n}\n")
put("palette_css", "seed-02",
    ".x{--a:lab(54.29 80.8 69.89);--b:oklch(62.8% 0.2577 29.23);--c:var(--a);"
    "--d:rgba(1,2,3,.5);--e:#F80;--f:color(display-p3 1 0 0);--g:hwb(120 0% 0%)}")

put("palette_hex", "seed-00", "000000\nffffff\nff8007\n0a0b0c\n")
put("palette_hex", "seed-01", "; paint.net Palette File\r\n;Colors: 3\r\nFFFF0000\r\nFF00FF00\r\n"
    "800000FF\r\n")
put("palette_hex", "seed-02", "# reds\n#Reds\n#ff0000\n#F80\n#ff000080\n\n  #0000ff  Blue sky  \n")

# --- Palettes in bytes -----------------------------------------------------------------------

aco_records = [(0, 0xFFFF, 0x8000, 0, 0), (1, 0x4000, 0xFFFF, 0xFFFF, 0),
               (2, 0, 0x8000, 0xFFFF, 0), (7, 5000, 1000, 0xFF00, 0), (8, 5000, 0, 0, 0)]


def aco_v1(records):
    return be("HH", 1, len(records)) + b"".join(be("5H", *r) for r in records)


def aco_v2(records, names):
    out = be("HH", 2, len(records))
    for r, name in zip(records, names):
        out += be("5H", *r) + be("I", len(name) + 1) + name.encode("utf-16-be") + b"\0\0"
    return out


names = ["Orange", "Grün", "Blue", "Lab", "Grey"]
put("palette_aco", "seed-00", aco_v1(aco_records))
put("palette_aco", "seed-01", aco_v1(aco_records) + aco_v2(aco_records, names))
put("palette_aco", "seed-02", aco_v2(aco_records[:2], names[:2]))

put("palette_act", "seed-00", bytes(i * 3 % 256 for i in range(768)))
put("palette_act", "seed-01", bytes(range(256)) * 3 + be("HH", 16, 3))
put("palette_act", "seed-02", bytes(48))


def ase_block(kind, payload):
    return be("HI", kind, len(payload)) + payload


def ase_name(name):
    return be("H", len(name) + 1) + name.encode("utf-16-be") + b"\0\0"


def ase_colour(name, model, values, kind=2):
    return ase_block(1, ase_name(name) + model + be(f"{len(values)}f", *values) + be("H", kind))


def ase(blocks):
    return b"ASEF" + be("HHI", 1, 0, len(blocks)) + b"".join(blocks)


put("palette_ase", "seed-00", ase([ase_colour("Favourite 1", b"RGB ", (1, 0.5, 0)),
                                   ase_colour("", b"RGB ", (0, 0, 0))]))
put("palette_ase", "seed-01", ase([
    ase_block(0xC001, ase_name("Brand")), ase_colour("Cyan ink", b"CMYK", (1, 0, 0, 0), 1),
    ase_colour("Lab red", b"LAB ", (0.5429, 80.81, 69.89)), ase_block(0xC002, b""),
    ase_colour("Grey", b"Gray", (0.5,), 0)]))
put("palette_ase", "seed-02", ase([ase_colour("Grün", b"RGB ", (0.2, -1, 7))])[:-3])

# --- Photoshop -------------------------------------------------------------------------------


def pack_bits(row):
    out = b""
    i = 0
    while i < len(row):
        run = 1
        while i + run < len(row) and run < 128 and row[i + run] == row[i]:
            run += 1
        if run > 1:
            out += bytes([(1 - run) & 0xFF, row[i]])
        else:
            out += bytes([0, row[i]])
        i += run
    return out


def psd(mode, depth, planes, width=4, height=2, compression=0, large=False, colour=b"",
        merged_alpha=False):
    out = b"8BPS" + be("H", 2 if large else 1) + bytes(6) + be("H", len(planes))
    out += be("IIHH", height, width, depth, mode)
    out += be("I", len(colour)) + colour + be("I", 0)
    size = "Q" if large else "I"
    if merged_alpha:
        out += be(size, (8 if large else 4) + 2) + be(size, 2) + be("h", -1)
    else:
        out += be(size, 0)
    out += be("H", compression)
    if compression == 0:
        return out + b"".join(planes)
    row_bytes = len(planes[0]) // height
    counts = b""
    packed = b""
    for p in planes:
        for y in range(height):
            row = pack_bits(p[y * row_bytes:(y + 1) * row_bytes])
            counts += be("I" if large else "H", len(row))
            packed += row
    return out + counts + packed


def plane(top, bottom, width=4):
    return bytes([top]) * width + bytes([bottom]) * width


def wide(p):
    return bytes(b for c in p for b in (c, c))


rgb = [plane(255, 0), plane(0, 0), plane(0, 255)]
indexed = bytearray(768)
indexed[1] = 0xFF
indexed[512 + 2] = 0xFF
psd_seeds = {
    "rgb-raw.psd": psd(3, 8, rgb),
    "rgb-packbits.psd": psd(3, 8, rgb, compression=1),
    "rgb-alpha.psd": psd(3, 8, rgb + [plane(128, 255)], merged_alpha=True),
    "grey16.psd": psd(1, 16, [wide(plane(200, 50))]),
    "indexed.psd": psd(2, 8, [plane(1, 2)], colour=bytes(indexed)),
    "bitmap.psd": psd(0, 1, [bytes([0xF0, 0x0F])], width=8, height=2),
    "cmyk.psd": psd(4, 8, rgb + [plane(255, 255)], compression=1),
    "duotone.psd": psd(8, 8, [plane(10, 20)], colour=b"duotone data"),
    "large.psb": psd(3, 8, rgb, compression=1, large=True),
}
for name, data in psd_seeds.items():
    put("picture_psd", "seed-" + name, data)
# The 26-byte header whose sizes (4294967295 wide, 4294967288 high) overflowed the size check.
psd_overflow = b"8BPS" + be("H", 1) + bytes(6) + be("HIIHH", 3, 0xFFFFFFF8, 0xFFFFFFFF, 8, 3)
put("picture_psd", "regression-size-overflow.psd", psd_overflow)

# --- Paint Shop Pro --------------------------------------------------------------------------

PSP_HEAD = b"Paint Shop Pro Image File\n\x1a" + bytes(5) + le("HH", 6, 0)


def psp_block(block_id, data):
    return b"~BK\0" + le("HI", block_id, len(data)) + data


def psp_chunk(fields):
    return le("I", 4 + len(fields)) + fields


def psp_pack(samples, compression):
    if compression == 2:
        return zlib.compress(samples, 9)
    if compression == 0:
        return samples
    out = b""
    i = 0
    while i < len(samples):
        run = 1
        while i + run < len(samples) and run < 127 and samples[i + run] == samples[i]:
            run += 1
        out += bytes([128 + run, samples[i]])
        i += run
    return out


def psp_channel(samples, compression, bitmap_type, channel_type):
    data = psp_pack(samples, compression)
    info = le("IIHH", len(data), len(samples), bitmap_type, channel_type)
    return psp_block(5, psp_chunk(info) + data)


def psp_attributes(width, height, depth, compression, greyscale=False):
    fields = le("II", width, height) + bytes(8) + b"\0" + le("HHHI", compression, depth, 1,
                                                             1 << 24 if depth == 24 else 256)
    fields += bytes([1 if greyscale else 0]) + le("IIHI", 0, 0, 1, 1)
    return psp_block(0, psp_chunk(fields))


def psp_composite(width, height, depth, compression, channels, palette=b""):
    fields = le("IIHHHIH", width, height, depth, compression, 1, 0, 0)
    inner = psp_chunk(fields)
    if palette:
        inner += psp_block(2, psp_chunk(le("I", len(palette) // 4)) + palette)
    inner += channels
    return psp_block(16, psp_chunk(le("I", 1)) + psp_block(17, inner))


def psp_layer(width, height, channels, count):
    layer = le("H", 5) + b"Layer" + b"\1"
    for _ in range(2):
        layer += le("iiii", 0, 0, width, height)
    layer += bytes([255, 0, 1, 0, 0]) + bytes(32) + bytes(3) + le("H", 0)
    bitmap = psp_chunk(le("HH", count - 1, count))
    return psp_block(4, psp_chunk(layer) + bitmap + channels)


def psp_rgb(compression):
    return (psp_channel(plane(255, 0), compression, 0, 1) +
            psp_channel(plane(0, 0), compression, 0, 2) +
            psp_channel(plane(0, 255), compression, 0, 3))


psp_seeds = {}
for compression, label in ((0, "raw"), (1, "rle"), (2, "lz77")):
    psp_seeds[f"composite-{label}.psp"] = (
        PSP_HEAD + psp_attributes(4, 2, 24, compression) +
        psp_composite(4, 2, 24, compression, psp_rgb(compression)))
palette = le("4B", 0, 0, 0, 0) + le("4B", 0, 0, 255, 0) + le("4B", 255, 0, 0, 0)
psp_seeds["composite-palette.psp"] = (
    PSP_HEAD + psp_attributes(4, 2, 8, 1) +
    psp_composite(4, 2, 8, 1, psp_channel(plane(1, 2), 1, 0, 0), palette))
psp_seeds["layer-grey-mask.psp"] = (
    PSP_HEAD + psp_attributes(4, 2, 8, 2, greyscale=True) +
    psp_block(3, psp_layer(4, 2, psp_channel(plane(200, 50), 2, 0, 0) +
                           psp_channel(plane(255, 0), 2, 1, 0), 2)))
psp_seeds["layer-rgb.psp"] = (
    PSP_HEAD + psp_attributes(4, 2, 24, 0) + psp_block(3, psp_layer(4, 2, psp_rgb(0), 4)))
for name, data in psp_seeds.items():
    put("picture_psp", "seed-" + name, data)
# A 20000 × 20000 canvas with an empty layer bank, which once took 1.6 GB as it loaded.
psp_empty_canvas = PSP_HEAD + psp_attributes(20000, 20000, 8, 0, greyscale=True) + psp_block(3, b"")
put("picture_psp", "regression-canvas-without-layers.psp", psp_empty_canvas)

# --- Autodesk Animator -----------------------------------------------------------------------


def animator_pic(width=4, height=2):
    head = le("HHHHHBBI", 0x9119, width, height, 0, 0, 8, 0, width * height) + bytes(16)
    colours = bytearray(768)
    colours[3] = 63
    colours[6 + 2] = 63
    return head + bytes(colours) + plane(1, 2)


def animator_pro_pic(width=4, height=2, bits=8):
    colours = bytearray(768)
    colours[3] = 0xFF
    colours[6 + 2] = 0xFF
    blocks = le("IHH", 6 + 2 + 768, 0, 0) + bytes(colours)
    if bits == 8:
        blocks += le("IH", 6 + 8, 1) + plane(1, 2)
    else:
        blocks = le("IH", 6 + 4, 2) + bytes([0xA0, 0, 0x50, 0])
    head = le("IHHHHHI", 64 + len(blocks), 0x9500, width, height, 0, 0, 0) + bytes([bits])
    return head + bytes(45) + blocks


put("picture_animator", "seed-animator.pic", animator_pic())
put("picture_animator", "seed-animator-pro.pic", animator_pro_pic())
put("picture_animator", "seed-animator-pro-mask.msk", animator_pro_pic(4, 2, 1))

# --- Other pictures, for the loader ----------------------------------------------------------


def png_chunk(kind, data):
    return be("I", len(data)) + kind + data + be("I", zlib.crc32(kind + data))


def png(width=4, height=2, alpha=False):
    raw = b""
    for y in range(height):
        pixel = (255, 0, 0) if y == 0 else (0, 0, 255)
        raw += b"\0" + bytes(pixel + ((128,) if alpha else ())) * width
    return (b"\x89PNG\r\n\x1a\n" +
            png_chunk(b"IHDR", be("IIBBBBB", width, height, 8, 6 if alpha else 2, 0, 0, 0)) +
            png_chunk(b"IDAT", zlib.compress(raw)) + png_chunk(b"IEND", b""))


def jpeg_grey():
    """An 8 × 8 mid-grey baseline JPEG: every coefficient zero, with one-code Huffman tables."""
    out = b"\xFF\xD8"
    out += b"\xFF\xDB" + be("H", 67) + b"\x00" + bytes([1] * 64)
    out += b"\xFF\xC0" + be("HBHHB", 11, 8, 8, 8, 1) + bytes([1, 0x11, 0])
    for table_class in (0x00, 0x10):
        out += b"\xFF\xC4" + be("H", 20) + bytes([table_class, 1] + [0] * 15 + [0])
    out += b"\xFF\xDA" + be("HB", 8, 1) + bytes([1, 0x00, 0, 63, 0])
    return out + b"\x3F\xFF\xD9"


def bmp(width=4, height=2):
    rows = b""
    for y in range(height):
        pixel = (255, 0, 0) if y == 1 else (0, 0, 255)  # bottom row first, BGR
        rows += bytes(pixel) * width
        rows += bytes(-len(bytes(pixel) * width) % 4)
    head = le("IiiHHIIiiII", 40, width, height, 1, 24, 0, len(rows), 2835, 2835, 0, 0)
    return b"BM" + le("IHHI", 14 + 40 + len(rows), 0, 0, 54) + head + rows


def targa():
    out = bytes([0, 0, 2]) + bytes(5) + le("HHHH", 0, 0, 4, 2) + bytes([32, 0x28])
    for colour in ((0, 0, 255, 128), (255, 0, 0, 255)):
        out += bytes(colour) * 4
    return out


def pcx():
    head = bytes([10, 5, 1, 8]) + le("HHHH", 0, 0, 3, 1) + le("HH", 72, 72) + bytes(48)
    head += bytes([0, 3]) + le("HH", 4, 1) + bytes(58)
    body = b""
    for value in ((255, 0, 0), (0, 0, 255)):
        for channel in value:
            body += bytes([0xC4, channel])
    return head + body


def sgi():
    head = be("HBBHHHH", 474, 0, 1, 3, 4, 2, 3) + be("ii", 0, 255) + bytes(4)
    head += b"seed".ljust(80, b"\0") + be("i", 0) + bytes(404)
    pixels = b""
    for channel in range(3):
        for y in range(2):
            pixels += bytes([(0, 0, 255)[channel] if y == 0 else (255, 0, 0)[channel]]) * 4
    return head + pixels


GIF = bytes.fromhex("474946383961010001008000" "00ffffff0000002c00000000010001000002024401003b")
PPM = b"P6\n4 2\n255\n" + bytes((255, 0, 0)) * 4 + bytes((0, 0, 255)) * 4
PGM = b"P2\n4 2\n255\n0 64 128 255\n255 128 64 0\n"
PBM = b"P4\n8 2\n\xF0\x0F"
XBM = (b"#define s_width 8\n#define s_height 2\n"
       b"static unsigned char s_bits[] = { 0xf0, 0x0f };\n")
XPM = (b"/* XPM */\nstatic char *s[] = {\n\"4 2 2 1\",\n\"r c #FF0000\",\n\"b c #0000FF\",\n"
       b"\"rrrr\",\n\"bbbb\"\n};\n")
SVG = (b"<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"4\" height=\"2\">"
       b"<rect width=\"4\" height=\"1\" fill=\"red\"/></svg>\n")
ICO = le("HHH", 0, 1, 1) + le("BBBBHHII", 4, 2, 0, 0, 1, 32, 40 + 32 + 8, 22)
ICO += le("IiiHHIIiiII", 40, 4, 4, 1, 32, 0, 0, 0, 0, 0, 0) + bytes((255, 0, 0, 255)) * 8
ICO += bytes(8)
CUT = le("HHH", 4, 2, 0) + le("H", 3) + bytes([0x84, 255, 0]) + le("H", 3) + bytes([0x84, 0, 0])

# The loader's input: the index of the name's ending (the Endings table of picture_loader.cpp,
# in the same order), then the file.
ENDINGS = ["png", "PNG", "jpg", "JPG", "jpeg", "bmp", "dib", "rle", "tga", "vst", "icb", "vda",
           "win", "pcx", "pcc", "scr", "sgi", "rgb", "rgba", "bw", "rla", "rpf", "pcd", "cut",
           "wmf", "emf", "psd", "pdd", "psb", "cel", "pic", "psp", "gif", "ico", "cur", "tif",
           "ppm", "pgm", "pbm", "xpm", "xbm", "webp", "svg", "dat"]
loader = {
    "png": png(), "PNG": png(alpha=True), "jpg": jpeg_grey(), "JPG": jpeg_grey(), "bmp": bmp(),
    "tga": targa(), "pcx": pcx(), "sgi": sgi(), "cut": CUT, "emf": le("II", 1, 108) + bytes(8),
    "psd": psd_seeds["rgb-packbits.psd"], "psb": psd_seeds["large.psb"],
    "pdd": psd_seeds["large.psb"],
    "pic": animator_pic(), "cel": animator_pro_pic(), "psp": psp_seeds["composite-lz77.psp"],
    "gif": GIF, "ico": ICO, "ppm": PPM, "pgm": PGM, "pbm": PBM, "xpm": XPM, "xbm": XBM,
    "svg": SVG, "dat": PPM,
}
for ending, data in loader.items():
    put("picture_loader", f"seed-{ending}", bytes([ENDINGS.index(ending)]) + data)
put("picture_loader", "regression-size-overflow.psd",
    bytes([ENDINGS.index("psd")]) + psd_overflow)
put("picture_loader", "regression-canvas-without-layers.psp",
    bytes([ENDINGS.index("psp")]) + psp_empty_canvas)

# --- Wallpaper settings ----------------------------------------------------------------------

for i, text in enumerate(["'zoom'\n", "\"file:///home/ann/it's.png\"\n", "'a\\'b\\\\c'", "''",
                          "uint32 5", "@ms 'x'"]):
    put("wallpaper_gvariant", f"seed-{i:02}", text)
for i, text in enumerate([
        "'file:///home/ann/My%20Pictures/sea%20view.jpg'\n'zoom'\n",
        "'/usr/share/backgrounds/mate/nature/Wood.jpg'\n'stretched'",
        "'file:///home/ann/%C3%A9t%C3%A9.png'\n'wallpaper'", "'file:///w.png'\n'none'",
        "'https://example.org/w.png'\n'scaled'", "No such key “picture-uri”\n"]):
    put("wallpaper_gsettings", f"seed-{i:02}", text)
put("wallpaper_kde", "seed-00",
    "[Containments][2]\nactivityId=\nformfactor=2\nplugin=org.kde.panel\n\n"
    "[Containments][1]\nactivityId=5c4b\nplugin=org.kde.plasma.folder\n"
    "wallpaperplugin=org.kde.image\n\n"
    "[Containments][1][Wallpaper][org.kde.image][General]\n"
    "FillMode=1\nImage=file:///home/ann/Bilder/Berg%20See.jpg\nSlidePaths=/usr/share/wallpapers/\n")
put("wallpaper_kde", "seed-01",
    "[Containments][3][Wallpaper][org.kde.image][General]\r\n"
    "FillMode=6\r\nImage[$e]=file:///home/ann/w.png\r\n")
put("wallpaper_xfce", "seed-00",
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n\n"
    "<channel name=\"xfce4-desktop\" version=\"1.0\">\n"
    "  <property name=\"backdrop\" type=\"empty\">\n"
    "    <property name=\"screen0\" type=\"empty\">\n"
    "      <property name=\"monitorVirtual-1\" type=\"empty\">\n"
    "        <property name=\"workspace0\" type=\"empty\">\n"
    "          <property name=\"color-style\" type=\"int\" value=\"0\"/>\n"
    "          <property name=\"image-style\" type=\"int\" value=\"4\"/>\n"
    "          <property name=\"last-image\" type=\"string\" "
    "value=\"/home/ann/Sea &amp; Sky.jpg\"/>\n"
    "        </property>\n      </property>\n    </property>\n  </property>\n</channel>\n")
put("wallpaper_pcmanfm", "seed-00",
    "[*]\nwallpaper_mode=tile\nwallpaper_common=0\nwallpapers_configured=2\n"
    "wallpaper0=/home/ann/one.png\nwallpaper1=/home/ann/two.png\n")
put("wallpaper_pcmanfm", "seed-01",
    "[Behavior]\nSingleClick=false\n\n[Desktop]\nBgColor=#2e3436\n"
    "Wallpaper=\"/home/ann/My Pictures/a;b.png\"\nWallpaperMode=fit\n")
put("wallpaper_feh", "seed-00",
    "#!/bin/sh\nfeh --no-fehbg --bg-center '/home/ann/My Pictures/Ann'\\''s.png' \n")
put("wallpaper_feh", "seed-01", "feh  --bg-scale \"/home/ann/a \\\"b\\\".png\"\n")
put("wallpaper_feh", "seed-02",
    "#!/bin/sh\n/usr/bin/feh --no-fehbg --image-bg 'black' --bg-max '/l.png' '/r.png' \n")
put("wallpaper_nitrogen", "seed-00",
    "[xin_0]\nfile=/left.png\nmode=1\nbgcolor=#000000\n\n"
    "[xin_1]\nfile=/right.png\nmode=2\nbgcolor=#000000\n")
put("wallpaper_nitrogen", "seed-01", "[:0.0]\nfile=/home/ann/Pictures/forest path.jpg\nmode=5\n")

# --- Out -------------------------------------------------------------------------------------

total = 0
for target, files in sorted(written.items()):
    folder = CORPUS / target
    folder.mkdir(parents=True, exist_ok=True)
    for old in folder.glob("seed-*"):
        old.unlink()
    for name, data in files.items():
        (folder / name).write_bytes(data)
        total += len(data)
    print(f"{target}: {len(files)} inputs")
print(f"{sum(len(f) for f in written.values())} inputs, {total} bytes")

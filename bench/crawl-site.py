#!/usr/bin/env python3
# The crawl benchmarks' site (bench/crawl.sh, bench/crawlgui.sh): FOLDERS folders
# of 100 pages under ROOT. Prints the number of files, of pages and of images
# named only in style sheets.
#
# Folder dF holds pages p0..p99.html, style.css, img/pK.gif|png (one image of
# its own per page) and bg/b0..b9.png (named only by style.css). shared/ holds
# a pool of images that 70% of the pages also show. Links of p0 and p1..p9 make
# a tree (index -> p0 -> p1..p9 -> p10..p99) so that every page is within
# depth 3 of the index; the other pages link 5-10 pages at random, written as
# "pK.html", "../dF/pK.html" or "/dF/pK.html".
#
# Usage: crawl-site.py ROOT FOLDERS
import os, random, struct, sys, zlib

root, folders = sys.argv[1], int(sys.argv[2])
pages = 100
pool = folders * 50
css_images = 10
rng = random.Random(20240611)
words = ("lark crawl mirror page folder image style sheet link anchor host server "
         "request answer header body project task queue depth filter store index "
         "title paragraph text word river stone field garden window letter "
         "morning evening summer winter number").split()
paragraphs = [" ".join(rng.choice(words) for _ in range(rng.randint(40, 120)))
              for _ in range(400)]
files = 0

def write(path, data):
    global files
    full = os.path.join(root, path)
    os.makedirs(os.path.dirname(full), exist_ok=True)
    with open(full, "wb") as out:
        out.write(data if isinstance(data, bytes) else data.encode())
    files += 1

def gif(name):
    # A 1x1 GIF with a comment block that makes every file distinct.
    note = (name + " " + "x" * rng.randint(100, 600)).encode()[:255]
    return (b"GIF89a\x01\x00\x01\x00\x80\x00\x00\x00\x00\x00\xff\xff\xff"
            + b"\x21\xfe" + bytes([len(note)]) + note + b"\x00"
            + b"\x2c\x00\x00\x00\x00\x01\x00\x01\x00\x00\x02\x02\x44\x01\x00\x3b")

def png(name):
    def chunk(kind, data):
        return (struct.pack(">I", len(data)) + kind + data
                + struct.pack(">I", zlib.crc32(kind + data) & 0xffffffff))
    text = b"Comment\x00" + (name + " " + "y" * rng.randint(100, 600)).encode()
    return (b"\x89PNG\r\n\x1a\n"
            + chunk(b"IHDR", struct.pack(">IIBBBBB", 1, 1, 8, 0, 0, 0, 0))
            + chunk(b"tEXt", text)
            + chunk(b"IDAT", zlib.compress(b"\x00\x00"))
            + chunk(b"IEND", b""))

def image(path):
    write(path, gif(path) if path.endswith(".gif") else png(path))

def page_text():
    size, parts = rng.randint(2000, 6000), []
    while sum(len(p) for p in parts) < size:
        parts.append("<p>" + rng.choice(paragraphs) + "</p>\n")
    return "".join(parts)

def random_link(f):
    kind, g, k = rng.randrange(3), rng.randrange(folders), rng.randrange(pages)
    if kind == 0:
        return f"p{k}.html"
    if kind == 1:
        return f"../d{g}/p{k}.html"
    return f"/d{g}/p{k}.html"

for j in range(pool):
    image(f"shared/s{j}.{'png' if j % 2 else 'gif'}")

seq = 0
for f in range(folders):
    rules = []
    for k in range(css_images):
        image(f"d{f}/bg/b{k}.png")
        quote = ("", '"', "'")[k % 3]
        rules.append(f".c{k} {{ background: #eee url({quote}bg/b{k}.png{quote}) no-repeat; }}")
    write(f"d{f}/style.css", "body { font-family: serif; }\n" + "\n".join(rules) + "\n")
    for p in range(pages):
        n = f * pages + p
        if p == 0:
            links = [f"p{k}.html" for k in range(1, 10)] + [random_link(f)]
        elif p < 10:
            links = [f"p{k}.html" for k in range(10 * p, 10 * p + 10)]
        else:
            links = [random_link(f) for _ in range(rng.randint(5, 10))]
        own = f"img/p{p}.{'gif' if n % 2 else 'png'}"
        image(f"d{f}/{own}")
        images = [own]
        if n % 10 < 7:
            j = seq % pool
            seq += 1
            images.append((f"/shared/s{j}." if n % 3 else f"../shared/s{j}.") + ("png" if j % 2 else "gif"))
        sheet = "style.css" if n % 2 else f"/d{f}/style.css"
        body = [f"<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\">\n<title>Folder {f} page {p}</title>\n",
                f"<link rel=\"stylesheet\" href=\"{sheet}\"></head>\n<body class=\"c{p % css_images}\">\n",
                f"<h1>Folder {f}, page {p}</h1>\n"]
        text = page_text()
        cut = len(text) // 2
        body.append(text[:cut])
        body += [f"<img src=\"{src}\" alt=\"picture {i}\">\n" for i, src in enumerate(images)]
        body.append("<ul>\n" + "".join(f"<li><a href=\"{href}\">link {i}</a></li>\n"
                                       for i, href in enumerate(links)) + "</ul>\n")
        body.append(text[cut:])
        body.append("</body></html>\n")
        write(f"d{f}/p{p}.html", "".join(body))

write("index.html", "<!DOCTYPE html>\n<html><head><title>Crawl benchmark</title></head><body>\n<ul>\n"
      + "".join(f"<li><a href=\"{'/' if f % 2 else ''}d{f}/p0.html\">folder {f}</a></li>\n" for f in range(folders))
      + "</ul>\n</body></html>\n")
print(files, folders * pages + 1, folders * css_images)

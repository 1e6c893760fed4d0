#!/usr/bin/env bash
# Builds the small valid seed files of the fuzz corpora (ImageMagick, Python's sqlite3 and
# a built dist/ folder); the malformed ones are copies of the test fixtures. Run once when a
# corpus is started; the corpora are committed.
set -euo pipefail
cd "$(dirname "$0")"
dist=${1:-../../build/dist}
data=../imaging/engine/data
c=corpus
mkdir -p $c/{bmp,png,jpeg,gif,tiff,fileinfo,imagefield,document,settings,addon}

cp $data/*.bmp $data/malformed/*.bmp $c/bmp/
convert -size 5x3 gradient:red-blue BMP3:$c/bmp/rgb24.bmp
convert -size 5x3 gradient:red-blue -type palette -colors 16 BMP3:$c/bmp/pal4.bmp
convert -size 5x3 gradient:red-blue -type palette BMP3:$c/bmp/pal8.bmp
convert -size 9x3 pattern:checkerboard -monochrome BMP3:$c/bmp/mono.bmp
convert -size 5x3 gradient:red-blue -alpha on BMP:$c/bmp/rgba32.bmp
convert -size 5x3 gradient:red-blue BMP2:$c/bmp/os2.bmp

cp $data/malformed/*.png $c/png/
convert -size 5x3 gradient:red-blue PNG24:$c/png/rgb.png
convert -size 5x3 gradient:red-blue -alpha on PNG32:$c/png/rgba.png
convert -size 5x3 gradient: -depth 16 PNG48:$c/png/rgb16.png
convert -size 5x3 gradient:red-blue -type palette PNG8:$c/png/pal.png
convert -size 9x3 pattern:checkerboard -monochrome $c/png/mono.png
convert -size 6x6 gradient:red-blue -interlace PNG $c/png/interlaced.png

cp $data/malformed/*.jpg $c/jpeg/
convert -size 16x8 gradient:red-blue -quality 80 $c/jpeg/rgb.jpg
convert -size 16x8 gradient: -colorspace Gray $c/jpeg/grey.jpg
convert -size 16x8 gradient:red-blue -interlace JPEG $c/jpeg/progressive.jpg
convert -size 16x8 gradient:red-blue -sampling-factor 1x1 $c/jpeg/s444.jpg

cp $data/*.gif $data/malformed/*.gif $c/gif/
convert -size 5x3 gradient:red-blue $c/gif/still.gif

cp $data/malformed/*.tif $c/tiff/
convert -size 5x3 gradient:red-blue -compress none $c/tiff/rgb.tif
convert -size 5x3 gradient:red-blue -compress lzw -endian MSB $c/tiff/lzw-be.tif
convert -size 16x8 gradient:red-blue -compress jpeg $c/tiff/jpeg.tif
convert -size 9x3 pattern:checkerboard -monochrome -compress group4 $c/tiff/g4.tif
convert -size 5x3 gradient:red-blue \( -size 4x2 xc:green \) -compress none $c/tiff/pages.tif

cp $c/bmp/os2.bmp $c/png/rgb.png $c/jpeg/rgb.jpg $c/gif/still.gif $c/tiff/pages.tif \
   $data/malformed/random.bin $c/fileinfo/
cp $c/png/rgb.png $c/png/pal.png $c/png/mono.png $c/png/rgba.png $c/png/rgb16.png $c/imagefield/

cp ../../data/ravoze.ini $c/settings/ravoze.ini
printf '[Option Select]\r\nrinkaku=1\r\n[Temp]\r\ncount=3\r\n' > $c/settings/small.ini
printf '[A]\nx=1\n[a]\nX=2\n;comment\n=\n[\n' > $c/settings/odd.ini

python3 - "$c/document" <<'PY'
import struct, sys
out = sys.argv[1]
def slots(size):
    b = b''
    for k in range(1, 23):
        fileno = 1 if k in (3, 6, 7, 9, 10, 11, 12, 13, 14, 19) else 0
        rec = struct.pack('<10hi2h', fileno, 100, 90, 100, 90, 40, 30, 0, 0, 0, 0, 0, 0)
        b += rec[:size]
    return b
line = '"",0,"",0,#FALSE#,#FALSE#,#FALSE#,#FALSE#,0,0,0,0,0,0,0,0,0,0,#FALSE#\r\n'
cap = '"山田 ""太郎""","r"n"u{1F600}",7,"ＭＳ Ｐゴシック",14,#TRUE#,#FALSE#,#TRUE#,#FALSE#,255,-1,0,0,0,0,120,30,-2,250,#TRUE#\r\n'
for name, doc, comp in [
    ('new', slots(28), (cap + line * 4).encode('cp932', 'replace')),
    ('old528', slots(24), (line * 5).encode()),
    ('nocompanion', slots(28), b''),
    ('damaged', slots(28)[:300], b'"unterminated\r\n'),
]:
    with open(f'{out}/{name}', 'wb') as f:
        f.write(struct.pack('<H', len(doc)) + doc + comp)
PY

cp "$dist/addon_hats.mdb" $c/addon/hats.mdb
python3 - "$dist/addon_hats.mdb" "$c/addon" <<'PY'
import shutil, sqlite3, sys
src, out = sys.argv[1], sys.argv[2]
small = f'{out}/blank-only.mdb'
shutil.copy(src, small)
db = sqlite3.connect(small)
db.execute('DELETE FROM people WHERE PictureID <> 0')
db.commit(); db.execute('VACUUM'); db.close()
one = f'{out}/one-part.mdb'
shutil.copy(src, one)
db = sqlite3.connect(one)
db.execute('DELETE FROM people WHERE PictureID <> 0 AND FileNo <> (SELECT MIN(FileNo) FROM people WHERE PictureID <> 0)')
db.commit(); db.execute('VACUUM'); db.close()
data = open(one, 'rb').read()
open(f'{out}/truncated.mdb', 'wb').write(data[:len(data) // 2])
PY

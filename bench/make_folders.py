#!/usr/bin/env python3
# make_folders.py DIR COUNT...: in DIR, one folder per COUNT, named by it, of
# that many empty files: nine in ten pictures with mixed-case extensions, the
# tenth a text file. Under Wine each new file costs a case-insensitive search
# of its folder, so 100,000 take most of an hour there and seconds here.
import os
import sys

extensions = [".jpg", ".JPEG", ".png", ".Bmp", ".gif", ".JPG", ".jpeg", ".PNG", ".bmp"]
for count in map(int, sys.argv[2:]):
    folder = os.path.join(sys.argv[1], str(count))
    os.mkdir(folder)
    for i in range(count):
        extension = ".txt" if i % 10 == 0 else extensions[i % len(extensions)]
        open(os.path.join(folder, "picture %d%s" % (i, extension)), "w").close()

"""Prints where this interpreter finds modules installed under a prefix.

Debian's lib/python3/dist-packages for the /usr prefix, as its own packages
have them; the default scheme's folder when it lies under the prefix
(/usr/local on Debian); else the usual lib/pythonX.Y/site-packages.
"""
import os
import sys
import sysconfig

prefix = os.path.normpath(sys.argv[1])
where = {"base": prefix, "platbase": prefix}
if prefix == "/usr" and "deb_system" in sysconfig.get_scheme_names():
    path = sysconfig.get_path("platlib", "deb_system", where)
else:
    path = sysconfig.get_path("platlib")
    if not path.startswith(prefix + os.sep):
        path = sysconfig.get_path("platlib", "posix_prefix", where)
print(path, end="")

#!/usr/bin/env python3
"""Rewrites a .tar.gz, .zip or .deb so that its bytes depend on its contents alone: entries in
name order, owned by root, modes 755 for folders and programs and 644 for other files, every
time set to EPOCH, and gzip headers without a name or a time (as gzip -n writes them). A .deb
keeps its members' order, which dpkg prescribes; the tarballs inside it are rewritten.

    normalize_archive.py ARCHIVE EPOCH
"""
import gzip
import io
import sys
import tarfile
import time
import zipfile


def mode_of(mode, is_dir):
    return 0o755 if is_dir or mode & 0o111 else 0o644


def normalized_tar_gz(packed, epoch):
    with tarfile.open(fileobj=io.BytesIO(packed), mode="r:gz") as old:
        # Each folder comes once, however many parts of the install made it.
        members = {m.name: (m, old.extractfile(m).read() if m.isfile() else None)
                   for m in reversed(old.getmembers())}.values()
    raw = io.BytesIO()
    with tarfile.open(fileobj=raw, mode="w", format=tarfile.GNU_FORMAT) as new:
        for member, data in sorted(members, key=lambda pair: pair[0].name):
            member.mtime = epoch
            member.uid = member.gid = 0
            member.uname = member.gname = "root"
            member.mode = mode_of(member.mode, member.isdir())
            new.addfile(member, io.BytesIO(data) if data is not None else None)
    out = io.BytesIO()
    with gzip.GzipFile(filename="", mode="wb", fileobj=out, compresslevel=9, mtime=0) as packed:
        packed.write(raw.getvalue())
    return out.getvalue()


def normalize_tar(path, epoch):
    with open(path, "rb") as f:
        packed = f.read()
    with open(path, "wb") as f:
        f.write(normalized_tar_gz(packed, epoch))


def normalize_deb(path, epoch):
    """An ar archive: a global header, then each member's 60-byte header and its data, padded
    to an even length."""
    with open(path, "rb") as f:
        data = f.read()
    out, at = [data[:8]], 8
    while at < len(data):
        header, size = data[at:at + 60], int(data[at + 48:at + 58])
        name, body = header[:16], data[at + 60:at + 60 + size]
        at += 60 + size + size % 2
        if name.strip().rstrip(b"/").endswith(b".tar.gz"):
            body = normalized_tar_gz(body, epoch)
        fields = b"%-12d%-6d%-6d%-8o%-10d`\n" % (epoch, 0, 0, 0o100644, len(body))
        out += [name, fields, body, b"\n" if len(body) % 2 else b""]
    with open(path, "wb") as f:
        f.write(b"".join(out))


def normalize_zip(path, epoch):
    with zipfile.ZipFile(path) as old:
        entries = [(info, old.read(info)) for info in old.infolist()]
    stamp = time.gmtime(epoch)[:6]
    with zipfile.ZipFile(path, "w") as new:
        for info, data in sorted(entries, key=lambda pair: pair[0].filename):
            is_dir = info.filename.endswith("/")
            entry = zipfile.ZipInfo(info.filename, date_time=stamp)
            entry.create_system = 3  # Unix, so the mode below counts
            entry.external_attr = (mode_of(info.external_attr >> 16, is_dir)
                                   | (0o040000 if is_dir else 0o100000)) << 16
            entry.compress_type = zipfile.ZIP_STORED if is_dir else zipfile.ZIP_DEFLATED
            new.writestr(entry, data, compresslevel=9)


def main():
    path, epoch = sys.argv[1], int(sys.argv[2])
    if path.endswith(".zip"):
        normalize_zip(path, epoch)
    elif path.endswith(".deb"):
        normalize_deb(path, epoch)
    else:
        normalize_tar(path, epoch)


if __name__ == "__main__":
    main()

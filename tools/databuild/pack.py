"""The data pack "Data.DCP": a ZIP file whose members use "/" separators."""

import zipfile


def write_pack(path, members):
    """members: (game name with "\\" separators, bytes) pairs, in order.

    Each folder gets an entry of its own ahead of its first file, so the game
    can list folders in the pack as it does on disk."""
    with zipfile.ZipFile(path, "w", compression=zipfile.ZIP_DEFLATED) as pack:
        folders = set()
        for name, data in members:
            parts = name.replace("\\", "/").split("/")[:-1]
            for depth in range(1, len(parts) + 1):
                folder = "/".join(parts[:depth]) + "/"
                if folder not in folders:
                    folders.add(folder)
                    pack.writestr(zipfile.ZipInfo(folder, date_time=(2026, 1, 1, 0, 0, 0)), b"")
            info = zipfile.ZipInfo(name.replace("\\", "/"), date_time=(2026, 1, 1, 0, 0, 0))
            info.compress_type = zipfile.ZIP_DEFLATED
            pack.writestr(info, data)

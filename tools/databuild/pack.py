"""The data pack "Data.DCP": a ZIP file whose members use "/" separators."""

import zipfile


def write_pack(path, members):
    """members: (game name with "\\" separators, bytes) pairs, in order."""
    with zipfile.ZipFile(path, "w", compression=zipfile.ZIP_DEFLATED) as pack:
        for name, data in members:
            info = zipfile.ZipInfo(name.replace("\\", "/"), date_time=(2026, 1, 1, 0, 0, 0))
            info.compress_type = zipfile.ZIP_DEFLATED
            pack.writestr(info, data)

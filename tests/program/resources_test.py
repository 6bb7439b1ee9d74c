"""The manifest and the version resource, read back from the built program file as Windows reads them.

Usage: python3 resources_test.py PROGRAM.exe VERSION (the project's version, as "1.2.3").
"""
import struct
import sys
import unittest
import xml.etree.ElementTree as ElementTree

RT_VERSION, RT_MANIFEST = 16, 24
PROGRAM, VERSION = None, None


def resources(path):
    """{(type id, name id): data} of a PE file (32 or 64 bits), the first language of each."""
    with open(path, "rb") as f:
        data = f.read()
    header = struct.unpack_from("<I", data, 0x3C)[0]
    if data[header:header + 4] != b"PE\0\0":
        raise ValueError(path + " is not a PE file")
    section_count, optional_size = struct.unpack_from("<2xH12xH", data, header + 4)
    optional = header + 24
    is_64 = struct.unpack_from("<H", data, optional)[0] == 0x20B
    resource_rva = struct.unpack_from("<I", data, optional + (112 if is_64 else 96) + 2 * 8)[0]
    sections = [struct.unpack_from("<IIII", data, optional + optional_size + 40 * i + 8)
                for i in range(section_count)]

    def offset(rva):
        for virtual_size, address, raw_size, raw in sections:
            if address <= rva < address + max(virtual_size, raw_size):
                return raw + rva - address
        raise ValueError("address %#x is in no section" % rva)

    base = offset(resource_rva)

    def entries(directory):  # (id, offset of the entry's target), names and ids alike
        named, ids = struct.unpack_from("<HH", data, base + directory + 12)
        for i in range(named + ids):
            name, target = struct.unpack_from("<II", data, base + directory + 16 + 8 * i)
            yield name, target & 0x7FFFFFFF

    found = {}
    for type_id, names in entries(0):
        for name_id, languages in entries(names):
            leaf = next(entries(languages))[1]
            rva, size = struct.unpack_from("<II", data, base + leaf)
            found[(type_id, name_id)] = data[offset(rva):offset(rva) + size]
    return found


def version_tree(block):
    """(key, value, children) of a VS_VERSIONINFO node: text values as str, binary ones as bytes."""
    length, value_length, is_text = struct.unpack_from("<HHH", block)
    end = 6
    while block[end:end + 2] != b"\0\0":
        end += 2
    key = block[6:end].decode("utf-16-le")
    value_start = (end + 2 + 3) & ~3
    value_end = value_start + value_length * (2 if is_text else 1)  # text lengths count UTF-16 units
    value = block[value_start:value_end]
    if is_text:
        value = value.decode("utf-16-le").split("\0")[0]
    children, child = [], (value_end + 3) & ~3
    while child < length:
        children.append(version_tree(block[child:]))
        child += (struct.unpack_from("<H", block, child)[0] + 3) & ~3
    return key, value, children


class ProgramResources(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.found = resources(PROGRAM)

    def test_manifest_runs_as_invoker_on_every_windows_and_scales_text_sharp(self):
        root = ElementTree.fromstring(self.found[(RT_MANIFEST, 1)])
        asm1, asm3 = "{urn:schemas-microsoft-com:asm.v1}", "{urn:schemas-microsoft-com:asm.v3}"
        compatibility = "{urn:schemas-microsoft-com:compatibility.v1}"
        self.assertEqual((root.tag, root.get("manifestVersion")), (asm1 + "assembly", "1.0"))
        levels = root.findall(f"{asm3}trustInfo/{asm3}security/{asm3}requestedPrivileges/"
                              f"{asm3}requestedExecutionLevel")
        self.assertEqual([(level.get("level"), level.get("uiAccess")) for level in levels], [("asInvoker", "false")])
        systems = root.findall(f"{compatibility}compatibility/{compatibility}application/{compatibility}supportedOS")
        self.assertEqual(sorted(system.get("Id") for system in systems), sorted([
            "{e2011457-1546-43c5-a5fe-008deee3d3f0}",  # Vista
            "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}",  # 7
            "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}",  # 8
            "{1f676c76-80e1-4239-95bb-83d0f6d0da78}",  # 8.1
            "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}",  # 10 and 11
        ]))
        settings = root.findall(f"{asm3}application/{asm3}windowsSettings/*")
        self.assertEqual([(s.tag, s.text) for s in settings],
                         [("{http://schemas.microsoft.com/SMI/2017/WindowsSettings}gdiScaling", "true")])
        # Classic controls and no DPI awareness: neither a dependency (common controls 6) nor any dpiAware.
        names = {element.tag.split("}")[-1] for element in root.iter()}
        self.assertFalse(names & {"dependency", "dependentAssembly", "dpiAware", "dpiAwareness"})

    def test_version_resource_names_the_program_in_polish_with_the_projects_version(self):
        key, fixed, children = version_tree(self.found[(RT_VERSION, 1)])
        self.assertEqual(key, "VS_VERSION_INFO")
        signature, _, file_ms, file_ls, product_ms, product_ls = struct.unpack_from("<6I", fixed)
        self.assertEqual(signature, 0xFEEF04BD)
        major, minor, patch = (int(part) for part in VERSION.split("."))
        numbers = ((major << 16) | minor, patch << 16)
        self.assertEqual(((file_ms, file_ls), (product_ms, product_ls)), (numbers, numbers))

        blocks = {node[0]: node[2] for node in children}
        self.assertEqual(sorted(blocks), ["StringFileInfo", "VarFileInfo"])
        self.assertEqual([table[0] for table in blocks["StringFileInfo"]], ["041504E2"])
        strings = {name: value for name, value, _ in blocks["StringFileInfo"][0][2]}
        self.assertEqual(strings, {
            "CompanyName": "ZoT Software",
            "FileDescription": "Katalog programów Tamo CD",
            "FileVersion": VERSION,
            "InternalName": "tamo_cd",
            "OriginalFilename": "tamo_cd.exe",
            "ProductName": "Tamo CD",
            "ProductVersion": VERSION,
        })
        translations = [value for name, value, _ in blocks["VarFileInfo"] if name == "Translation"]
        self.assertEqual(translations, [struct.pack("<HH", 0x0415, 1250)])


if __name__ == "__main__":
    PROGRAM, VERSION = sys.argv[1], sys.argv[2]
    unittest.main(argv=sys.argv[:1])

#!/usr/bin/env python3
"""Finds a class, struct, union or enum name that the given static libraries
define in two different ways (a One Definition Rule violation: the linker keeps
one type's inline code for the other's objects).

Reads each library's debug information with readelf and compares, per fully
qualified name, the size, declaration line, data members, bases and
enumerators. Names local to an unnamed namespace or a function, and names
built from lambdas or such local types, are skipped. Libraries without type
information fail the check rather than pass it unseen; --self-test first checks
that two small libraries defining one struct in two ways are found.

usage: check-one-definition.py [--self-test COMPILER] LIBRARY...
exit status: 0 when every name has one definition, 1 otherwise or on error.
"""
import collections
import multiprocessing
import os
import subprocess
import sys
import tempfile

TYPE_TAGS = {"DW_TAG_structure_type", "DW_TAG_class_type", "DW_TAG_union_type",
             "DW_TAG_enumeration_type"}
SCOPE_TAGS = TYPE_TAGS | {"DW_TAG_namespace"}
PART_TAGS = {"DW_TAG_member", "DW_TAG_inheritance", "DW_TAG_enumerator"}
HIDING_TAGS = {"DW_TAG_subprogram", "DW_TAG_lexical_block", "DW_TAG_inlined_subroutine"}
KEPT_ATTRIBUTES = {"DW_AT_name", "DW_AT_byte_size", "DW_AT_decl_line", "DW_AT_declaration",
                   "DW_AT_data_member_location", "DW_AT_const_value", "DW_AT_external"}


def attribute_value(text):
    """The value without readelf's note of its form: "(strp) (offset: 0x1f): name" gives "name"."""
    text = text.strip()
    while text.startswith("("):
        end = text.find(")")
        if end < 0:
            break
        text = text[end + 1:].lstrip(":").strip()
    return text


def entries(library):
    """Yields (depth, tag, attributes) for each debug entry of |library|."""
    # awk passes on only the entries that hold or scope a type, and the attributes
    # of those that shape one: most of the output, read far faster than Python would.
    shaping = "|".join(sorted(SCOPE_TAGS | PART_TAGS))
    scoping = "|".join(sorted(SCOPE_TAGS | PART_TAGS | HIDING_TAGS))
    kept = "|".join(sorted(KEPT_ATTRIBUTES))
    program = (
        "/^ <[0-9]+><[0-9a-f]+>: Abbrev Number: [1-9]/ {"
        " shape = $0 ~ /\\((%s)\\)$/; if ($0 ~ /\\((%s)\\)$/) print; next }"
        " /^  Compilation Unit/ { shape = 0; print; next }"
        " shape && /(%s)[ :]/ { print }" % (shaping, scoping, kept))
    reader = subprocess.Popen(["readelf", "--wide", "--debug-dump=info", library],
                              stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
    process = subprocess.Popen(["awk", program], stdin=reader.stdout, stdout=subprocess.PIPE,
                               text=True, errors="replace", bufsize=1 << 20)
    reader.stdout.close()
    depth, tag, attributes = None, None, None
    for line in process.stdout:
        if line.startswith(" <"):
            if tag is not None:
                yield depth, tag, attributes
            depth = int(line[2:line.index(">")])
            tag = line[line.rfind("(") + 1:line.rfind(")")]
            attributes = {}
        elif line.startswith("  Compilation Unit"):
            if tag is not None:
                yield depth, tag, attributes
            tag = None
        elif tag is not None:
            name, _, value = line[line.index("DW_AT_"):].partition(":")
            attributes[name.strip()] = attribute_value(value)
    if tag is not None:
        yield depth, tag, attributes
    process.wait()
    if reader.wait() != 0:
        raise RuntimeError("readelf failed on " + library)


def number(text, size=8):
    """|text| as a number whatever form it was written in (0x10000, 65536, -257
    for 0xfffffeff in |size| bytes); other text as it is."""
    try:
        return int(text, 0) % (1 << (8 * size))
    except ValueError:
        return text


def names_unnamed_type(name):
    """Whether |name| involves a lambda or a type of an unnamed namespace, which
    the debug information names alike though each is a type of its own."""
    return "<lambda" in name or "{anonymous}" in name or "<unnamed" in name


def definitions(library):
    """Maps each qualified type name that |library| defines to its set of shapes."""
    found = {}
    scopes = []  # (depth, name or None when the scope hides its names)
    current = None  # (depth, qualified name, parts, size in bytes)

    def finish():
        if current is not None:
            found.setdefault(current[1], set()).add(tuple(current[2]))

    for depth, tag, attributes in entries(library):
        if current is not None and depth <= current[0]:
            finish()
            current = None
        while scopes and scopes[-1][0] >= depth:
            scopes.pop()
        if current is not None:
            if depth == current[0] + 1 and tag in PART_TAGS:
                current[2].append((tag[7:], attributes.get("DW_AT_name", ""),
                                   number(attributes.get("DW_AT_data_member_location", "")),
                                   number(attributes.get("DW_AT_const_value", ""), current[3]),
                                   attributes.get("DW_AT_external", "")))
        hidden = any(name is None for _, name in scopes)
        name = attributes.get("DW_AT_name")
        if tag in SCOPE_TAGS:
            scopes.append((depth, None if name is None and tag == "DW_TAG_namespace" else name))
        elif depth >= 1:
            scopes.append((depth, None))  # a function or block: its types are its own
        if tag in TYPE_TAGS and name and not hidden and current is None \
                and "DW_AT_declaration" not in attributes and not names_unnamed_type(name):
            qualified = "::".join([n for _, n in scopes[:-1] if n] + [name])
            shape = [("size", attributes.get("DW_AT_byte_size", "")),
                     ("line", attributes.get("DW_AT_decl_line", ""))]
            size = number(attributes.get("DW_AT_byte_size", ""))
            current = (depth, qualified, shape, size if isinstance(size, int) else 8)
    finish()
    return found


def violations(libraries):
    """Maps each name defined in more than one way to {shape: library names}; None
    when the libraries hold no type information."""
    shapes = collections.defaultdict(lambda: collections.defaultdict(set))
    with multiprocessing.Pool() as pool:
        found = pool.map(definitions, libraries)
    for library, library_definitions in zip(libraries, found):
        for name, library_shapes in library_definitions.items():
            for shape in library_shapes:
                shapes[name][shape].add(os.path.basename(library))
    if not shapes:
        return None
    return {name: by_shape for name, by_shape in shapes.items() if len(by_shape) > 1}


def describe(shape):
    size, line = shape[0][1], shape[1][1]
    parts = ", ".join(part[1] for part in shape[2:] if part[1])
    return "size %s, line %s: %s" % (size or "?", line or "?", parts or "(no members)")


SELF_TEST_SOURCES = {
    "first": "#include <vector>\nstruct odr_probe { int values[12]; };\n"
             "int first() { std::vector<odr_probe> v(3); return int(v.size()); }\n",
    "second": "#include <string>\n#include <vector>\nstruct odr_probe { std::string name; };\n"
              "int second() { std::vector<odr_probe> v(2); return int(v.size()); }\n",
}


def self_test(compiler):
    with tempfile.TemporaryDirectory() as folder:
        libraries = []
        for name, source in SELF_TEST_SOURCES.items():
            path = os.path.join(folder, name)
            with open(path + ".cpp", "w") as file:
                file.write(source)
            subprocess.run([compiler, "-std=c++17", "-g", "-O2", "-c", path + ".cpp", "-o", path + ".o"],
                           check=True)
            subprocess.run(["ar", "rcs", path + ".a", path + ".o"], check=True)
            libraries.append(path + ".a")
        return "odr_probe" in (violations(libraries) or {})


def main(arguments):
    if arguments[:1] == ["--self-test"]:
        if len(arguments) < 2 or not self_test(arguments[1]):
            print("the check does not see a name defined in two ways: no type information?")
            return 1
        arguments = arguments[2:]
    found = violations(arguments)
    if found is None:
        print("no type information in the libraries: build them with -g")
        return 1
    for name in sorted(found):
        print("%s is defined in more than one way:" % name)
        for shape, libraries in sorted(found[name].items()):
            print("  %s  in %s" % (describe(shape), ", ".join(sorted(libraries))))
    print("%d static libraries, %d names defined in more than one way" % (len(arguments), len(found)))
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))

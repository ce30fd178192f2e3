#pragma once

#include <QStringList>

// Names of the symbols a shared library of this machine's ELF class offers to
// others: defined, global, weak or unique, in its dynamic symbol table. Empty
// when the file cannot be read or is not such a library.
QStringList elf_exported_symbols(const QString &path);

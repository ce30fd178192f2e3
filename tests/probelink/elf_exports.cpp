#include "elf_exports.h"

#include <QFile>

#include <cstring>
#include <elf.h>
#include <link.h>

namespace {

constexpr unsigned char kNativeClass = sizeof(void *) == 8 ? ELFCLASS64 : ELFCLASS32;

// A copy of the record at |offset|, when the file holds it whole.
template <typename T>
bool record_at(const QByteArray &file, quint64 offset, T *record)
{
    if (offset > quint64(file.size()) || quint64(file.size()) - offset < sizeof(T))
        return false;
    std::memcpy(record, file.constData() + offset, sizeof(T));
    return true;
}

bool section(const QByteArray &file, const ElfW(Ehdr) &header, quint64 index, ElfW(Shdr) *out)
{
    return index < header.e_shnum && header.e_shentsize == sizeof(ElfW(Shdr))
        && record_at(file, header.e_shoff + index * sizeof(ElfW(Shdr)), out);
}

QString name_at(const QByteArray &file, const ElfW(Shdr) &strings, quint64 offset)
{
    if (offset >= strings.sh_size || strings.sh_offset > quint64(file.size())
        || quint64(file.size()) - strings.sh_offset < strings.sh_size)
        return QString();
    const char *start = file.constData() + strings.sh_offset + offset;
    return QString::fromLatin1(start, int(qstrnlen(start, uint(strings.sh_size - offset))));
}

} // namespace

QStringList elf_exported_symbols(const QString &path)
{
    QFile library(path);
    if (!library.open(QIODevice::ReadOnly))
        return {};
    const QByteArray file = library.readAll();
    ElfW(Ehdr) header;
    if (!record_at(file, 0, &header) || std::memcmp(header.e_ident, ELFMAG, SELFMAG) != 0
        || header.e_ident[EI_CLASS] != kNativeClass)
        return {};
    QStringList names;
    for (quint64 i = 0; i < header.e_shnum; ++i) {
        ElfW(Shdr) symbols, strings;
        if (!section(file, header, i, &symbols) || symbols.sh_type != SHT_DYNSYM
            || !section(file, header, symbols.sh_link, &strings))
            continue;
        for (quint64 offset = 0; offset + sizeof(ElfW(Sym)) <= symbols.sh_size; offset += sizeof(ElfW(Sym))) {
            ElfW(Sym) symbol;
            if (!record_at(file, symbols.sh_offset + offset, &symbol))
                break;
            const int binding = ELF64_ST_BIND(symbol.st_info); // the same in both classes
            if (symbol.st_shndx != SHN_UNDEF && (binding == STB_GLOBAL || binding == STB_WEAK || binding == STB_GNU_UNIQUE))
                names << name_at(file, strings, symbol.st_name);
        }
    }
    return names;
}

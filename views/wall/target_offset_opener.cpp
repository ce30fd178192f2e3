#include "views/wall/target_offset_opener.h"

namespace {

target_offset_opener &installed()
{
    static target_offset_opener opener;
    return opener;
}

} // namespace

void set_target_offset_opener(target_offset_opener opener) { installed() = std::move(opener); }

void open_target_offset_editor(int layout_index, QWidget *parent)
{
    if (installed())
        installed()(layout_index, parent);
}

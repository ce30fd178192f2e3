#include "app/services/library_loader.h"

#include <QFile>

#include <dlfcn.h>

bool load_library_functions(void **handle, const QString &fileName,
                            std::initializer_list<library_function> functions)
{
    *handle = dlopen(QFile::encodeName(fileName).constData(), RTLD_NOW | RTLD_LOCAL);
    if (!*handle)
        return false;
    for (const library_function &function : functions) {
        void *address = dlsym(*handle, function.name);
        if (!address)
            return false;
        function.assign(function.slot, address);
    }
    return true;
}

void unload_library(void **handle)
{
    if (*handle)
        dlclose(*handle);
    *handle = nullptr;
}

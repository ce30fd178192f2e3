#pragma once

#include <QString>

#include <initializer_list>

// Binding a sensor maker's shared library by function name: the one place
// that loads, binds and unloads shared libraries.

// One function to bind: where the address goes, and the exported name.
struct library_function {
    void *slot;
    void (*assign)(void *slot, void *address);
    const char *name;
};

// A library_function that stores the address of |name| in |pointer|.
template <typename Function> library_function library_symbol(Function *&pointer, const char *name)
{
    return {&pointer,
            [](void *slot, void *address) {
                *static_cast<Function **>(slot) = reinterpret_cast<Function *>(address);
            },
            name};
}

// Loads |fileName| (searched like any shared library when it holds no
// slash) into |*handle| and binds |functions| in order. False when the
// library cannot be loaded (|*handle| null) or at the first missing name;
// the library then stays loaded and the pointers bound so far stay set.
bool load_library_functions(void **handle, const QString &fileName,
                            std::initializer_list<library_function> functions);

// Unloads a library loaded by load_library_functions and nulls |*handle|;
// nothing for a null handle.
void unload_library(void **handle);

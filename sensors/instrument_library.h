#pragma once

#include "app/services/folders.h"
#include "app/services/library_loader.h"
#include "sensors/sensor_kinds.h"

#include <QString>

#include <initializer_list>

// The instrument makers' measurement libraries, bound at run time. Each
// driver names its library by the maker's Windows file name; the table of
// sensor kinds (sensor_kinds.h) maps it to the Linux shared object that
// stands in for it, looked up in the
// program's folder, or in $TESSALINE_SENSOR_LIBRARY_DIR when that is set
// (tests and the simulated instruments). A library that is missing, or
// lacks one entry point, leaves its driver closed.

// Files the PL-series probe server needs beside it; only their presence is
// checked.
constexpr instrument_library_name kPlLinkModule {"Linkmod.dll", "liblinkmod.so"};
constexpr instrument_library_name kPlProbelink {"probelink.dll", "libprobelink.so"};

// The shared object's file name for a maker's library name or a companion
// file (compared without regard to case); empty for a name the tables do not
// know.
QString instrument_library_file_name(const QString &windowsName);

// Where the instrument libraries are looked up.
QString instrument_library_folder();

// The full path of the stand-in for |windowsName|; empty when unknown.
QString instrument_library_path(const QString &windowsName);

// True when the folder of the instrument libraries lists the stand-in for
// |windowsName| (compared without regard to case).
bool instrument_library_present(const QString &windowsName);

// One loaded instrument library; unloads on destruction.
class instrument_library
{
public:
    instrument_library() = default;
    ~instrument_library();
    instrument_library(const instrument_library &) = delete;
    instrument_library &operator=(const instrument_library &) = delete;

    // Loads the stand-in for |windowsName| and binds |functions|. False, with
    // the library unloaded, when it is missing or lacks a name; pointers
    // bound before the missing one are then left set, so callers reset them.
    bool load(const QString &windowsName, std::initializer_list<library_function> functions);
    bool isLoaded() const { return m_handle != nullptr; }
    void unload();

private:
    void *m_handle = nullptr;
};

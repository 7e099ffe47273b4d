#pragma once
// Reading one of the program's own files (the settings file, the tally file) whole, safely: only a
// regular file is opened (a symbolic link to one is fine), so a FIFO, a device or a socket put in
// its place can neither block the program nor make it act; and a file above the caller's cap is
// not read at all, so a huge file cannot take the memory.
#include <cstddef>
#include <string>

namespace plimb {

struct RegularFileRead {
    enum class Status {
        Read,       // `bytes` holds the whole file
        Missing,    // no file of that name (a dangling link or a missing folder included)
        NotRegular, // a folder, FIFO, device or socket: never opened
        TooLarge,   // more than the cap: not read
        Failed,     // could not be opened or read; `error` holds the errno value
    };
    Status status = Status::Missing;
    std::string bytes;
    int error = 0;
};

// Reads the file at `path` if it is a regular file of at most `maxBytes` bytes. The type is looked
// at before opening and again on the opened descriptor (opened without blocking), so a file
// swapped for a FIFO in between is still refused.
RegularFileRead readRegularFile(const std::string& path, std::size_t maxBytes);

} // namespace plimb
